#include "platform/isolated_run.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

TEST(IsolatedRunTest, PassesMessagesAndReportsHowTheChildEnded) {
  enum Ending { kWaits, kCrashes };
  struct Case {
    Ending ending;
    bool stop_on_first;
    int idle_calls_before_stop;  // -1: never stop when idle
    long code;
    const char* error_part;
  };
  const Case cases[] = {{kWaits, true, -1, kIsolatedStopped, ""},
                        {kCrashes, false, -1, kIsolatedDied, "signal"},
                        {kWaits, false, -1, kIsolatedDied, "answering"},
                        {kWaits, false, 1, kIsolatedStopped, ""}};
  const std::vector<std::string> fields = {"12", std::string("a\0:\n", 4)};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ending << " " << c.stop_on_first);
    auto work = [&](const ChildMessageSender& send) {
      for (int i = 0; i < 2 && c.idle_calls_before_stop < 0; ++i) send({'P', fields});
      if (c.ending == kWaits) pause();
      if (c.ending == kCrashes) raise(SIGSEGV);
    };
    size_t received = 0;
    auto receive = [&](const ChildMessage& message) {
      EXPECT_EQ(fields, message.fields);
      return ++received < (c.stop_on_first ? 1u : 9u);
    };
    int idle_calls = 0;
    const Status end = RunIsolated(
        work, receive, [&] { return ++idle_calls != c.idle_calls_before_stop; }, 3);
    EXPECT_EQ(c.code, end.code());
    EXPECT_EQ(received, c.idle_calls_before_stop < 0 ? (c.stop_on_first ? 1u : 2u) : 0u);
    EXPECT_NE(std::string::npos, end.message().find(c.error_part)) << end.message();
  }
}
