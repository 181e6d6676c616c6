#include "util/lock_ops.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(LockOpsTest, LockedAddFromSeveralThreadsLosesNoUpdateAndReentersAHeldLock) {
  LockedCounter record;
  LockInit(&record);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) LockedAdd(&record, 1);
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(1, LockEnter(&record));
  EXPECT_EQ(160005u, LockedAdd(&record, 5));  // enters again while held
  EXPECT_EQ(1, LockLeave(&record));
  EXPECT_EQ(1, LockDelete(&record));
}
