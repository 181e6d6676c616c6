#include "platform/isolated_run.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "platform/child_messages.h"

TEST(ChildMessagesTest, AnyBytesPassWhateverWayThePipeCutsThem) {
  const std::vector<ChildMessage> messages = {{'S', {"/tmp/staging folder"}},
                                              {'P', {"0", "123456789"}},
                                              {'R', {"0", "", std::string("a\0b:c\n7:", 8)}},
                                              {'X', {}}};
  std::string bytes;
  for (const ChildMessage& message : messages) bytes += EncodeChildMessage(message);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    ChildMessageDecoder decoder;
    std::vector<ChildMessage> received;
    ChildMessage message;
    for (auto [from, size] : {std::pair(size_t{0}, cut), std::pair(cut, bytes.size() - cut)}) {
      decoder.Append(bytes.data() + from, size);
      while (decoder.Next(&message)) received.push_back(message);
    }
    ASSERT_EQ(messages.size(), received.size()) << cut;
    for (size_t i = 0; i < messages.size(); ++i)
      EXPECT_EQ(std::tie(messages[i].type, messages[i].fields),
                std::tie(received[i].type, received[i].fields));
    EXPECT_FALSE(decoder.pending() || decoder.broken());
  }
}

TEST(IsolatedRunTest, ReportsHowTheChildEnded) {
  enum Ending { kReturns, kWaits, kCrashes, kExits7 };
  struct Case {
    int sends;  // progress messages before the ending
    Ending ending;
    bool stop_on_first;
    int idle_calls_before_stop;  // -1: never stop when idle
    IsolatedEnd end;
    size_t messages;
    const char* error_part;
  };
  const Case cases[] = {
      {2, kReturns, false, -1, IsolatedEnd::kFinished, 2, ""},
      {1, kWaits, true, -1, IsolatedEnd::kStopped, 1, ""},
      {1, kCrashes, false, -1, IsolatedEnd::kDied, 1, "signal"},
      {0, kExits7, false, -1, IsolatedEnd::kDied, 0, "status 7"},
      {0, kWaits, false, -1, IsolatedEnd::kDied, 0, "answering"},
      {0, kWaits, false, 1, IsolatedEnd::kStopped, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sends << " " << c.ending << " " << c.stop_on_first);
    auto work = [&](const ChildMessageSender& send) {
      for (int i = 0; i < c.sends; ++i) send({'P', {std::to_string(i)}});
      if (c.ending == kWaits) pause();
      if (c.ending == kCrashes) raise(SIGSEGV);
      if (c.ending == kExits7) _exit(7);
    };
    size_t received = 0;
    int idle_calls = 0;
    std::string error;
    auto receive = [&](const ChildMessage&) {
      ++received;
      return !c.stop_on_first;
    };
    auto idle = [&] { return ++idle_calls != c.idle_calls_before_stop; };
    EXPECT_EQ(c.end, RunIsolated(work, receive, idle, 3, &error));
    EXPECT_EQ(c.messages, received);
    EXPECT_NE(std::string::npos, error.find(c.error_part)) << error;
  }
}
