#include "util/lock_ops.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(LockOpsTest, LockedAddFromSeveralThreadsLosesNoUpdate) {
  LockedCounter record;
  EXPECT_EQ(1, LockInit(&record));
  constexpr int kThreads = 8, kAdds = 20000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < kAdds; ++i) LockedAdd(&record, 1);
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(uint32_t{kThreads * kAdds}, record.counter);
  EXPECT_EQ(uint32_t{kThreads * kAdds + 5}, LockedAdd(&record, 5));
  EXPECT_EQ(1, LockDelete(&record));
}

TEST(LockOpsTest, EnterIsReentrantForTheHoldingThread) {
  LockedCounter record;
  LockInit(&record);
  EXPECT_EQ(1, LockEnter(&record));
  EXPECT_EQ(7u, LockedAdd(&record, 7));  // enters again while held
  EXPECT_EQ(1, LockLeave(&record));
  LockDelete(&record);
}
