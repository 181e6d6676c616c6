#include "platform/isolated_run.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "platform/child_messages.h"

TEST(ChildMessagesTest, AnyBytesPassWhateverWayThePipeCutsThem) {
  const std::vector<ChildMessage> messages = {
      {'S', {"/tmp/staging folder"}},
      {'P', {"0", "123456789"}},
      {'R', {"0", "", std::string("a\0b:c\n7:", 8), "{6B3F1D2A}"}},
      {'X', {}},
  };
  std::string bytes;
  for (const ChildMessage& message : messages) bytes += EncodeChildMessage(message);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    ChildMessageDecoder decoder;
    std::vector<ChildMessage> received;
    ChildMessage message;
    decoder.Append(bytes.data(), cut);
    while (decoder.Next(&message)) received.push_back(message);
    decoder.Append(bytes.data() + cut, bytes.size() - cut);
    while (decoder.Next(&message)) received.push_back(message);
    ASSERT_EQ(messages.size(), received.size()) << cut;
    for (size_t i = 0; i < messages.size(); ++i) {
      EXPECT_EQ(messages[i].type, received[i].type);
      EXPECT_EQ(messages[i].fields, received[i].fields);
    }
    EXPECT_FALSE(decoder.pending());
    EXPECT_FALSE(decoder.broken());
  }
}

TEST(ChildMessagesTest, BytesThatAreNotMessagesBreakTheDecoder) {
  for (const char* bytes : {"Sx:", "S1:a:b", "S01:1:a", "S:", "S1:1234567890123:x", "P2:1:05:ab"}) {
    ChildMessageDecoder decoder;
    decoder.Append(bytes, strlen(bytes));
    ChildMessage message;
    bool got = decoder.Next(&message);
    if (std::string(bytes) == "P2:1:05:ab") {  // incomplete, not broken
      EXPECT_FALSE(got);
      EXPECT_FALSE(decoder.broken());
      EXPECT_TRUE(decoder.pending());
    } else {
      EXPECT_FALSE(got) << bytes;
      EXPECT_TRUE(decoder.broken()) << bytes;
    }
  }
}

TEST(IsolatedRunTest, ReportsHowTheChildEnded) {
  struct Case {
    const char* what;
    std::function<void(const ChildMessageSender&)> work;
    bool stop_on_first;
    int idle_calls_before_stop;  // -1: never stop when idle
    IsolatedEnd end;
    size_t messages;
    const char* error_part;
  };
  const Case cases[] = {
      {"finishes",
       [](const ChildMessageSender& send) {
         send({'P', {"1", "2"}});
         send({'R', {"0", ""}});
       },
       false, -1, IsolatedEnd::kFinished, 2, ""},
      {"stopped",
       [](const ChildMessageSender& send) {
         send({'P', {"1", "2"}});
         pause();
       },
       true, -1, IsolatedEnd::kStopped, 1, ""},
      {"crashes",
       [](const ChildMessageSender& send) {
         send({'P', {"1", "2"}});
         raise(SIGSEGV);
       },
       false, -1, IsolatedEnd::kDied, 1, "signal"},
      {"fails", [](const ChildMessageSender&) { _exit(7); }, false, -1, IsolatedEnd::kDied, 0,
       "status 7"},
      {"hangs", [](const ChildMessageSender&) { pause(); }, false, -1, IsolatedEnd::kDied, 0,
       "answering"},
      {"cancelled while quiet", [](const ChildMessageSender&) { pause(); }, false, 1,
       IsolatedEnd::kStopped, 0, ""},
  };
  for (const Case& c : cases) {
    std::vector<ChildMessage> received;
    std::string error;
    int idle_calls = 0;
    IsolatedEnd end = RunIsolated(
        c.work,
        [&](const ChildMessage& message) {
          received.push_back(message);
          return !c.stop_on_first;
        },
        [&] { return ++idle_calls != c.idle_calls_before_stop; }, 3, &error);
    EXPECT_EQ(c.end, end) << c.what;
    EXPECT_EQ(c.messages, received.size()) << c.what;
    EXPECT_NE(std::string::npos, error.find(c.error_part)) << c.what << ": " << error;
  }
}
