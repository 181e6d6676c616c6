// Loading a module's change history from the vendor's server, here or on the
// early worker thread: the same entries and the same errors either way.
#include "app/change_history_load.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/feed_fetch.h"
#include "tests/e2e/vendor_site.h"
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

TEST(ChangeHistoryLoadTest, ReadsTheVendorsHistoryWhereverTheLoadStarted) {
  ScopedTestHome home;
  VendorSite site({true, "", {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  home.SetEnv("ZORMVENDORSERVER", site.host_port().c_str());
  const Entries abc = {"E102 Faster scans|E|2021-07-06 09:30", "F311 Totals < 0|F|2021-06-28 16:05",
                       "E099 Caf\xC3\xA9 labels|E|2021-05-17 08:00",
                       "e098 Minor wording|F|2021-04-01 12:00"};
  // Modules whose load starts early; only a load for the same module is taken.
  const std::vector<std::string> kStarted[] = {{}, {"ABC"}, {"ABC", "LEDGER"}, {"LEDGER"}};
  for (const auto& started : kStarted) {
    SCOPED_TRACE(testing::PrintToString(started));
    for (const std::string& module : started) StartChangeHistoryLoad(module);
    EXPECT_EQ(Load("ABC", false), abc);
    EXPECT_EQ(Load("LEDGER", false), Entries{"E210 Period close|E|2021-03-02 10:15"});
    EndChangeHistoryLoad();
  }
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
  struct Case {
    std::string server, module;
    Entries entries;
  } const kCases[] = {
      {"127.0.0.1:1",
       "50%+x=y/z?&A B#1",
       {"A connection with the server could not be established "
        "(http://127.0.0.1:1/cgi/changelog.cgi?Module=50%+x=y/z?&A%20B%231)"}},
      {"127.0.0.1:1",
       std::string("\t\r\n\0\x7F\xC3\xBC", 7),
       {"A connection with the server could not be established "
        "(http://127.0.0.1:1/cgi/changelog.cgi?Module=%09%0D%0A%00%7F\xC3\xBC)"}},
      {"no-such-host.invalid",
       "ABC",
       {"The server name could not be resolved "
        "(http://no-such-host.invalid/cgi/changelog.cgi?Module=ABC)"}},
      {truncated.host_port(),
       "ABC",
       {"The connection with the server was terminated before the answer was complete (http://" +
        truncated.host_port() + "/cgi/changelog.cgi?Module=ABC)"}},
      {error_page.host_port(), "ABC", {}},
      {moved.host_port(), "ABC", {"E1|E|2021-07-05 12:00"}},
      {broken.host_port(), "ABC", {"E1|F|2021-07-05 12:00", "not read"}},
  };
  for (const Case& c : kCases) {
    home.SetEnv("ZORMVENDORSERVER", c.server.c_str());
    for (bool early : {false, true}) {
      EXPECT_EQ(Load(c.module, early), c.entries) << c.server << (early ? " early" : "");
    }
  }
  EndChangeHistoryLoad();
}

}  // namespace
