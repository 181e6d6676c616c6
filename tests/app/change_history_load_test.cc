// Loading a module's change history, here or on the early worker thread: the
// same entries and the same errors either way, whatever the server answers.
#include "app/change_history_load.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/feed_fetch.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/test_env.h"

namespace {

using Entries = std::vector<std::string>;

// Each entry as "title|E or F|date", then the error's text, if any.
Entries Load(const std::string& module, bool early) {
  if (early) StartChangeHistoryLoad(module);
  CRSS rss;
  std::string error;
  try {
    LoadChangeHistory(module, &rss);
  } catch (const InternetError& e) {
    error = e.what();
  } catch (const std::invalid_argument&) {
    error = "not read";
  }
  Entries entries;
  for (const CRSSItem& item : rss.m_items)
    entries.push_back(item.m_strTitle + (item.m_nType ? "|E|" : "|F|") +
                      item.m_dtDate.Format("%Y-%m-%d %H:%M"));
  if (!error.empty()) entries.push_back(error);
  return entries;
}

// A failure's text names the address: the module as it is, but for what no URL carries.
TEST(ChangeHistoryLoadTest, ErrorsArriveWhenTheLoadIsTakenWithTheEntriesBeforeThem) {
  ScopedTestHome home;
  const std::string item =
      "<item><title>E1</title><pubDate>Mon, 05 Jul 2021 12:00:00 GMT</pubDate>";
  const std::string ok = "HTTP/1.1 200 OK\r\n\r\n<rss><channel>" + item + "</item>";
  using Server = CannedHttpServer;
  Server error_page(Server::Mode::kAnswer, "HTTP/1.1 500 Oops\r\n\r\n<html>500</html>");
  Server feed(Server::Mode::kAnswer, ok + "</channel></rss>");
  Server moved(Server::Mode::kAnswer,
               "HTTP/1.1 302 Found\r\nLocation: http://" + feed.host_port() + "/\r\n\r\n");
  // The second item's date is not one: the first stays, unclassified.
  Server broken(Server::Mode::kAnswer,
                ok + "<item><title>F2</title><pubDate>Mon</pubDate></item></channel></rss>");
  Server silent(Server::Mode::kSilent);
  home.SetEnv("ZORMSTALLTIMEOUTMS", "300");
  home.SetEnv("ZORMCONNECTTIMEOUTMS", "300");
  Server trickle(Server::Mode::kTrickle, ok + std::string(100000, ' '));
  Server unanswered(Server::Mode::kUnanswered);
  Server huge(Server::Mode::kAnswer,
              "HTTP/1.1 200 OK\r\n\r\n<rss>" + std::string(kMaxFeedBytes, ' ') + "</rss>");
  auto failure = [](const char* text, const std::string& server, const std::string& query) {
    return std::string(text) + " (http://" + server + "/cgi/changelog.cgi?Module=" + query + ")";
  };
  struct Case {
    std::string server;
    Entries entries;
    std::string module = "ABC";
  } const kCases[] = {
      {"127.0.0.1:1",
       {failure("A connection with the server could not be established", "127.0.0.1:1",
                "&%+=/?%20%23%09%0D%0A%00%7F\xC3\xBC")},
       std::string("&%+=/? #\t\r\n\0\x7F\xC3\xBC", 15)},
      {"bad.invalid", {failure("The server name could not be resolved", "bad.invalid", "ABC")}},
      {error_page.host_port(), {}},
      {moved.host_port(), {"E1|E|2021-07-05 12:00"}},
      {broken.host_port(), {"E1|F|2021-07-05 12:00", "not read"}},
      {silent.host_port(), {failure("The operation timed out", silent.host_port(), "ABC")}},
      {trickle.host_port(), {failure("The operation timed out", trickle.host_port(), "ABC")}},
      {unanswered.host_port(),
       {failure("The operation timed out", unanswered.host_port(), "ABC")}},
      {huge.host_port(), {failure("The answer is larger than 64 MB", huge.host_port(), "ABC")}},
  };
  for (const Case& c : kCases) {
    home.SetEnv("ZORMVENDORSERVER", c.server.c_str());
    for (bool early : {false, true})
      EXPECT_EQ(Load(c.module, early), c.entries) << c.server << (early ? " early" : "");
  }
  EndChangeHistoryLoad();
}

}  // namespace
