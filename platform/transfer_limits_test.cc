#include "platform/transfer_limits.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TransferWatchTest, CutsOffSilenceAndTricklesButNotSlowWorkingAnswers) {
  using Clock = TransferWatch::Clock;
  struct Step {
    int ms;
    uint64_t received;
  };
  struct Case {
    const char* name;
    int stall_ms;
    bool connected;
    std::vector<Step> steps;
    int first_refused;  // index into steps; -1: none
  } const kCases[] = {
      {"steady", 1000, true, {{500, 200}, {1000, 400}, {1500, 600}, {2600, 900}}, -1},
      {"silent to the limit", 1000, true, {{500, 0}, {1000, 0}, {1001, 0}, {1100, 500}}, 2},
      {"trickle", 1000, true, {{400, 1}, {800, 2}, {1200, 3}, {1400, 4}}, 3},
      {"slow to begin", 1000, true, {{900, 50}, {1500, 99}, {1900, 150}, {2800, 260}}, -1},
      {"redirected", 1000, true, {{300, 80}, {600, 10}, {1300, 60}}, -1},
      {"connecting", 1000, false, {{5000, 0}}, -1},
      {"off", 0, true, {{100000, 0}}, -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TransferWatch watch({60000, c.stall_ms, 100});
    const Clock::time_point start{};
    if (c.connected) watch.Connected(start);
    int first_refused = -1;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      const bool ok = watch.Check(c.steps[i].received, start + std::chrono::milliseconds(c.steps[i].ms));
      if (!ok && first_refused < 0) first_refused = static_cast<int>(i);
      EXPECT_FALSE(ok && first_refused >= 0) << "step " << i;
    }
    EXPECT_EQ(c.first_refused, first_refused);
  }
}
