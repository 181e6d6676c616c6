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

// The address in a failure's text is the one requested: the module goes in as it
// is, but for the bytes no address can carry.
TEST(ChangeHistoryLoadTest, ErrorsArriveWhenTheLoadIsTakenWithTheEntriesBeforeThem) {
  ScopedTestHome home;
  const std::string item =
      "<item><title>E1</title><pubDate>Mon, 05 Jul 2021 12:00:00 GMT</pubDate>";
  const std::string ok = "HTTP/1.1 200 OK\r\n\r\n<rss><channel>" + item + "</item>";
  using Server = CannedHttpServer;
  Server truncated(Server::Mode::kAnswer, "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n<rss>");
  Server error_page(Server::Mode::kAnswer, "HTTP/1.1 500 Oops\r\n\r\n<html>500</html>");
  Server feed(Server::Mode::kAnswer, ok + "</channel></rss>");
  Server moved(Server::Mode::kAnswer,
               "HTTP/1.1 302 Found\r\nLocation: http://" + feed.host_port() + "/\r\n\r\n");
  // The second item's date is not one: the first stays, unclassified.
  Server broken(Server::Mode::kAnswer,
                ok + "<item><title>F2</title><pubDate>Mon</pubDate></item></channel></rss>");
  const char kRefused[] = "A connection with the server could not be established";
  struct Case {
    std::string server, module, query;
    Entries entries;
    std::string error;  // InternetError's text before the address, or "not read"
  } const kCases[] = {
      {"127.0.0.1:1", "50%+x=y/z?&A B#1", "50%+x=y/z?&A%20B%231", {}, kRefused},
      {"127.0.0.1:1",
       std::string("\t\r\n\0\x7F\xC3\xBC", 7),
       "%09%0D%0A%00%7F\xC3\xBC",
       {},
       kRefused},
      {"no-such-host.invalid", "ABC", "ABC", {}, "The server name could not be resolved"},
      {truncated.host_port(),
       "ABC",
       "ABC",
       {},
       "The connection with the server was terminated before the answer was complete"},
      {error_page.host_port(), "ABC", "ABC", {}, ""},
      {moved.host_port(), "ABC", "ABC", {"E1|E|2021-07-05 12:00"}, ""},
      {broken.host_port(), "ABC", "ABC", {"E1|F|2021-07-05 12:00"}, "not read"},
  };
  for (const Case& c : kCases) {
    home.SetEnv("ZORMVENDORSERVER", c.server.c_str());
    Entries expected = c.entries;
    if (!c.error.empty())
      expected.push_back(c.error == "not read" ? c.error
                                               : c.error + " (http://" + c.server +
                                                     "/cgi/changelog.cgi?Module=" + c.query + ")");
    for (bool early : {false, true})
      EXPECT_EQ(Load(c.module, early), expected) << c.server << (early ? " early" : "");
  }
  EndChangeHistoryLoad();
}

}  // namespace
