#include "util/lock_ops.h"

#include <gtest/gtest.h>

#include <thread>

TEST(LockOpsTest, LockedAddFromSeveralThreadsLosesNoUpdateAndReentersAHeldLock) {
  LockedCounter record;
  LockInit(&record);
  auto add = [&] {
    for (int i = 0; i < 50000; ++i) LockedAdd(&record, 1);
  };
  std::thread first(add), second(add);
  first.join();
  second.join();
  LockEnter(&record);
  EXPECT_EQ(100005u, LockedAdd(&record, 5));  // enters again while held
  LockLeave(&record);
  LockDelete(&record);
}
