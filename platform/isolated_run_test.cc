#include "platform/isolated_run.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

TEST(IsolatedRunTest, ReportsHowTheChildEnded) {
  enum Ending { kReturns, kWaits, kCrashes, kExits7 };
  struct Case {
    int sends;  // progress messages before the ending
    Ending ending;
    bool stop_on_first;
    int idle_calls_before_stop;  // -1: never stop when idle
    IsolatedEnd end;
    const char* error_part;
  };
  const Case cases[] = {
      {2, kReturns, false, -1, IsolatedEnd::kFinished, ""},
      {2, kWaits, true, -1, IsolatedEnd::kStopped, ""},
      {1, kCrashes, false, -1, IsolatedEnd::kDied, "signal"},
      {0, kExits7, false, -1, IsolatedEnd::kDied, "status 7"},
      {0, kWaits, false, -1, IsolatedEnd::kDied, "answering"},
      {0, kWaits, false, 1, IsolatedEnd::kStopped, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ending << " after " << c.sends);
    auto work = [&](const ChildMessageSender& send) {
      for (int i = 0; i < c.sends; ++i) send({'P', {std::to_string(i), std::string("a\0:\n", 4)}});
      if (c.ending == kWaits) pause();
      if (c.ending == kCrashes) raise(SIGSEGV);
      if (c.ending == kExits7) _exit(7);
    };
    std::vector<ChildMessage> received;
    auto receive = [&](const ChildMessage& message) {
      received.push_back(message);
      return !c.stop_on_first;
    };
    int idle_calls = 0;
    std::string error;
    EXPECT_EQ(c.end, RunIsolated(
                         work, receive, [&] { return ++idle_calls != c.idle_calls_before_stop; }, 3,
                         &error));
    ASSERT_EQ(received.size(), c.stop_on_first ? 1 : size_t(c.sends));
    for (size_t i = 0; i < received.size(); ++i)
      EXPECT_EQ(received[i].fields,
                (std::vector<std::string>{std::to_string(i), std::string("a\0:\n", 4)}));
    EXPECT_NE(std::string::npos, error.find(c.error_part)) << error;
  }
}
