// Lock operations over a critical section, for objects that install them in their
// operation table (the report variables store does). The counter follows the
// critical section in the record so that LockedAdd can reach it from the lock.
#pragma once

#include <pthread.h>

#include <cstdint>

// A recursive critical section and the counter it guards.
struct LockedCounter {
  pthread_mutex_t lock;
  uint32_t counter;
};

// Prepares the critical section and sets the counter to 0. Returns 1.
int LockInit(LockedCounter* record);
// Releases the critical section. Returns 1.
int LockDelete(LockedCounter* record);
// Enters the critical section (a thread may enter again what it holds). Returns 1.
int LockEnter(LockedCounter* record);
// Leaves the critical section. Returns 1.
int LockLeave(LockedCounter* record);
// Adds `amount` to the counter under the lock and returns the new value.
uint32_t LockedAdd(LockedCounter* record, uint32_t amount);
