#include "util/lock_ops.h"

int LockInit(LockedCounter* record) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  // Critical sections may be entered again by the thread that holds them.
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&record->lock, &attributes);
  pthread_mutexattr_destroy(&attributes);
  record->counter = 0;
  return 1;
}

int LockDelete(LockedCounter* record) {
  pthread_mutex_destroy(&record->lock);
  return 1;
}

int LockEnter(LockedCounter* record) {
  pthread_mutex_lock(&record->lock);
  return 1;
}

int LockLeave(LockedCounter* record) {
  pthread_mutex_unlock(&record->lock);
  return 1;
}

uint32_t LockedAdd(LockedCounter* record, uint32_t amount) {
  LockEnter(record);
  uint32_t value = record->counter += amount;
  LockLeave(record);
  return value;
}
