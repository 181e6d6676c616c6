// The feed as the dialog loads it: FetchFeed, Read, Classify against lighttpd.
#include "app/feed_fetch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/rss.h"
#include "tests/e2e/lighttpd_server.h"
#include "tests/e2e/vendor_site.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/cgi_script.h"
#include "tests/support/test_env.h"

namespace {

TEST(ChangelogUrlTest, InsertsTheModuleUnencodedExceptWhatNoUrlCarries) {
  ScopedTestHome home;
  home.SetEnv("ZORMVENDORSERVER", "vendor.test:8080");
  struct {
    std::string module;
    std::string query;
  } cases[] = {
      {"ABC", "ABC"},
      {"A&B", "A&B"},
      {"A B", "A%20B"},
      {"50%+x=y/z?", "50%+x=y/z?"},
      {"tab\there\r\n", "tab%09here%0D%0A"},
      {std::string("nul\0del\x7F", 8), "nul%00del%7F"},
      {"A#1", "A%231"},
      {"Z\xC3\xBCrich", "Z\xC3\xBCrich"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChangelogUrl(c.module),
              "http://vendor.test:8080/cgi/changelog.cgi?Module=" + c.query);
  home.SetEnv("ZORMVENDORSERVER", nullptr);
  EXPECT_EQ(ChangelogUrl("X").rfind("http://", 0), 0u);
  EXPECT_NE(ChangelogUrl("X").find("/cgi/changelog.cgi?Module=X"), std::string::npos);
}

TEST(FetchFeedTest, ReadsAndClassifiesTheVendorsChangeHistory) {
  ScopedTestHome home;
  VendorSite site({true, "", {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  home.SetEnv("ZORMVENDORSERVER", site.host_port().c_str());

  CRSS rss;
  rss.Read(FetchFeed("ABC"));
  rss.Classify();
  struct {
    const char* title;
    int64_t type;
    const char* day;
  } expected[] = {
      {"E102 Faster scans", 1, "2021-07-06 09:30:00"},
      {"F311 Totals < 0", 0, "2021-06-28 16:05:00"},
      {"E099 Caf\xC3\xA9 labels", 1, "2021-05-17 08:00:00"},
      {"e098 Minor wording", 0, "2021-04-01 12:00:00"},
  };
  ASSERT_EQ(rss.m_items.size(), std::size(expected));
  for (size_t i = 0; i < rss.m_items.size(); ++i) {
    EXPECT_EQ(rss.m_items[i].m_strTitle, expected[i].title);
    EXPECT_EQ(rss.m_items[i].m_nType, expected[i].type) << expected[i].title;
    EXPECT_EQ(rss.m_items[i].m_dtDate.Format("%Y-%m-%d %H:%M:%S"), expected[i].day);
  }
  EXPECT_EQ(rss.m_items[1].m_strDescription,
            "Negative totals no longer print as 0 & are shown in red");

  // A module with an ampersand and a blank reaches the server unencoded but for
  // the blank; the ampersand splits the query, so the server looks up "A".
  CRSS other;
  other.Read(FetchFeed("A&B C"));
  EXPECT_TRUE(other.m_items.empty());
  EXPECT_TRUE(
      site.server().AccessLogContains("\"GET /cgi/changelog.cgi?Module=A&B%20C HTTP/1.1\" 404"))
      << site.server().AccessLog();
}

// What other servers may send instead of a feed, from a changelog.cgi that
// answers by module name.
TEST(FetchFeedTest, AnyAnswerIsReadAsABodyAndOnlyFeedsGiveEntries) {
  ScopedTestHome home;
  std::string www = home.path() + "/www", cgi = home.path() + "/cgi";
  std::filesystem::create_directories(www);
  std::filesystem::create_directories(cgi);
  const int kBigItems = 30000;
  std::string big = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>t</title>\n";
  for (int i = 0; i < kBigItems; ++i)
    big += "<item><title>" + std::string(i % 3 ? "Fix " : "E") + std::to_string(i) +
           "</title><description>" + std::string(150, 'a' + i % 26) +
           "</description><pubDate>Tue, 06 Jul 2021 09:30:00 GMT</pubDate></item>\n";
  big += "</channel></rss>\n";
  ASSERT_GT(big.size(), 5u << 20);
  ASSERT_TRUE(WriteWholeFile(www + "/big.xml", big));
  ASSERT_TRUE(WriteWholeFile(www + "/moved.xml",
                             "<rss><channel><item><title>E1</title>"
                             "<pubDate>Tue, 06 Jul 2021 09:30:00 GMT</pubDate></item>"
                             "</channel></rss>"));
  LighttpdServer server({www, cgi, {}, {}});
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;
  ASSERT_TRUE(WriteCgiScript(cgi + "/changelog.cgi",
                             "case \"$QUERY_STRING\" in\n"
                             "Module=500) printf 'Status: 500 Internal Server "
                             "Error\\r\\nContent-Type: text/html\\r\\n\\r\\n"
                             "<html><head><title>500</title></head><body><h1>Internal Server "
                             "Error</h1></body></html>' ;;\n"
                             "Module=text) printf 'Content-Type: text/plain\\r\\n\\r\\nService "
                             "unavailable, try later' ;;\n"
                             "Module=empty) printf 'Content-Type: text/plain\\r\\n\\r\\n' ;;\n"
                             "Module=big) printf 'Content-Type: text/xml\\r\\n\\r\\n'; cat '" +
                                 www +
                                 "/big.xml' ;;\n"
                                 "Module=moved) printf 'Status: 302 Found\\r\\nLocation: " +
                                 server.base_url() +
                                 "/moved.xml\\r\\n\\r\\n' ;;\n"
                                 "esac\n"));
  home.SetEnv("ZORMVENDORSERVER", server.host_port().c_str());

  for (const char* module : {"500", "text", "empty"}) {
    CRSS rss;
    rss.Read(FetchFeed(module));
    EXPECT_TRUE(rss.m_items.empty()) << module;
  }

  std::string body = FetchFeed("big");
  EXPECT_TRUE(body == big) << body.size() << " of " << big.size() << " bytes";
  CRSS rss;
  rss.Read(std::move(body));
  rss.Classify();
  ASSERT_EQ(rss.m_items.size(), static_cast<size_t>(kBigItems));
  EXPECT_EQ(rss.m_items.back().m_strTitle, "Fix " + std::to_string(kBigItems - 1));
  EXPECT_EQ(rss.m_items[kBigItems - 2].m_nType, 0);
  EXPECT_EQ(rss.m_items[kBigItems - 3].m_nType, 1);

  CRSS moved;
  moved.Read(FetchFeed("moved"));
  ASSERT_EQ(moved.m_items.size(), 1u);
  EXPECT_EQ(moved.m_items[0].m_strTitle, "E1");
}

TEST(FetchFeedTest, NoAnswerRaisesAnErrorAUserCanRead) {
  ScopedTestHome home;
  int closed_port;
  {
    CannedHttpServer probe(CannedHttpServer::Mode::kSilent);
    closed_port = probe.port();
  }
  CannedHttpServer truncating(CannedHttpServer::Mode::kAnswer,
                              "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n<rss><channel>");
  struct {
    std::string server;
    const char* message;
  } cases[] = {
      {"127.0.0.1:" + std::to_string(closed_port),
       "A connection with the server could not be established"},
      {"no-such-host.invalid", "The server name could not be resolved"},
      {truncating.host_port(),
       "The connection with the server was terminated before the answer was complete"},
  };
  for (const auto& c : cases) {
    home.SetEnv("ZORMVENDORSERVER", c.server.c_str());
    try {
      FetchFeed("ABC");
      ADD_FAILURE() << "no error for " << c.server;
    } catch (const InternetError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string(c.message) + " (http://" + c.server + "/cgi/changelog.cgi?Module=ABC)");
    }
  }
}

}  // namespace
