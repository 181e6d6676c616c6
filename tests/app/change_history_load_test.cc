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

// Each entry as "title|E or F|date".
Entries Load(const std::string& module, bool early, std::string* error) {
  if (early) StartChangeHistoryLoad(module);
  CRSS rss;
  try {
    LoadChangeHistory(module, &rss);
  } catch (const InternetError& e) {
    *error = e.what();
  } catch (const std::invalid_argument&) {
    *error = "not read";
  }
  Entries entries;
  for (const CRSSItem& item : rss.m_items)
    entries.push_back(item.m_strTitle + (item.m_nType ? "|E|" : "|F|") +
                      item.m_dtDate.Format("%Y-%m-%d %H:%M"));
  return entries;
}

TEST(ChangelogUrlTest, InsertsTheModuleUnencodedExceptWhatNoUrlCarries) {
  ScopedTestHome home;
  home.SetEnv("ZORMVENDORSERVER", "vendor.test:8080");
  struct Case {
    std::string module, query;
  } const kCases[] = {
      {"A&B", "A&B"},
      {"A B", "A%20B"},
      {"50%+x=y/z?", "50%+x=y/z?"},
      {"tab\there\r\n", "tab%09here%0D%0A"},
      {std::string("nul\0del\x7F", 8), "nul%00del%7F"},
      {"A#1", "A%231"},
      {"Z\xC3\xBCrich", "Z\xC3\xBCrich"},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(ChangelogUrl(c.module),
              "http://vendor.test:8080/cgi/changelog.cgi?Module=" + c.query);
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
    EXPECT_EQ(Load("ABC", false, &error), abc);
    EXPECT_EQ(Load("LEDGER", false, &error), Entries{"E210 Period close|E|2021-03-02 10:15"});
    EXPECT_EQ(error, "");
    EndChangeHistoryLoad();
  }
}

TEST(ChangeHistoryLoadTest, ErrorsArriveWhenTheLoadIsTakenWithTheEntriesBeforeThem) {
  ScopedTestHome home;
  const std::string item =
      "<item><title>E1</title><pubDate>Mon, 05 Jul 2021 12:00:00 GMT</pubDate></item>";
  CannedHttpServer truncating(CannedHttpServer::Mode::kAnswer,
                              "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n<rss><channel>");
  CannedHttpServer error_page(
      CannedHttpServer::Mode::kAnswer,
      "HTTP/1.1 500 Internal Server Error\r\n\r\n<html><h1>500</h1></html>");
  CannedHttpServer feed(CannedHttpServer::Mode::kAnswer,
                        "HTTP/1.1 200 OK\r\n\r\n<rss><channel>" + item + "</channel></rss>");
  CannedHttpServer moved(
      CannedHttpServer::Mode::kAnswer,
      "HTTP/1.1 302 Found\r\nLocation: http://" + feed.host_port() + "/\r\n\r\n");
  // The second item's date is not one: the first stays, unclassified.
  CannedHttpServer broken(
      CannedHttpServer::Mode::kAnswer,
      "HTTP/1.1 200 OK\r\n\r\n<rss><channel>" + item +
          "<item><title>F2</title><pubDate>Mon</pubDate></item></channel></rss>");
  struct Case {
    std::string server;
    std::string error;  // InternetError's text before the address, or "not read"
    Entries entries;
  } const kCases[] = {
      {"127.0.0.1:1", "A connection with the server could not be established", {}},
      {"no-such-host.invalid", "The server name could not be resolved", {}},
      {truncating.host_port(),
       "The connection with the server was terminated before the answer was complete",
       {}},
      {error_page.host_port(), "", {}},
      {moved.host_port(), "", {"E1|E|2021-07-05 12:00"}},
      {broken.host_port(), "not read", {"E1|F|2021-07-05 12:00"}},
  };
  for (const Case& c : kCases) {
    home.SetEnv("ZORMVENDORSERVER", c.server.c_str());
    const std::string url = " (http://" + c.server + "/cgi/changelog.cgi?Module=ABC)";
    for (bool early : {false, true}) {
      SCOPED_TRACE(c.server + (early ? " early" : ""));
      std::string error;
      EXPECT_EQ(Load("ABC", early, &error), c.entries);
      EXPECT_EQ(error, c.error.empty() || c.error == "not read" ? c.error : c.error + url);
    }
  }
  EndChangeHistoryLoad();
}

}  // namespace
