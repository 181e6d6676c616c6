// The vendor's programs as lighttpd runs them, read back over HTTP.
#include <gtest/gtest.h>

#include "tests/e2e/vendor_site.h"
#include "tests/support/http_fetch.h"

namespace {

TEST(VendorSiteTest, ServesTheHistoryAndRedirectsOnlyToANewerReleaseOfTheSameProgram) {
  VendorSite site({true, "INSERT INTO module VALUES ('AB&', 'AB and', 'Both');", {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  const std::string base = site.server().base_url(), ledger = "/cgi/changelog.cgi?Module=LEDGER";
  const std::string newest =
      "http://downloads.morvend.com/calvaro-upgrade/2022-03-14/calvaro-upgrade.msi";
  struct Case {
    std::string path, agent;
    long status;
    std::string location;
  } const kCases[] = {
      {ledger, "", 200, ""},
      {"/cgi/changelog.cgi?x=1&Module=AB%26&Module=NOPE", "", 200, ""},  // the first, decoded
      {"/cgi/changelog.cgi?Module=AB&", "", 404, ""},
      {"/cgi/changelog.cgi?Module=LEDGER&X", "", 200, ""},  // an ampersand always splits
      {"/cgi/changelog.cgi?Module=ledger", "", 404, ""},
      {"/cgi/changelog.cgi?Module=ABC'%20OR%20'1'='1", "", 404, ""},
      {"/version.cgi", "Calvaro Upgrade Utility/2021-6-5 (Debian GNU/Linux build 6.1 x64)", 302,
       newest},
      {"/version.cgi", "Calvaro Upgrade Utility/2022-2-13 (x y z)", 302, newest},
      {"/version.cgi", "Calvaro Upgrade Utility/2022-2-14 (x y z)", 200, ""},
      {"/version.cgi", "calvaro upgrade utility/2021-6-5 (x y z)", 200, ""},
      {"/version.cgi", "curl/7.88.1", 400, ""},
  };
  for (const Case& c : kCases) {
    HttpResult result = HttpFetch({base + c.path, "GET", "", {}, c.agent});
    EXPECT_EQ(result.status, c.status) << c.path << " " << c.agent;
    EXPECT_EQ(result.Header("Location"), c.location) << c.path << " " << c.agent;
  }
  HttpResult feed = HttpFetch({base + ledger});
  EXPECT_EQ(feed.Header("Content-Type"), "application/rss+xml; charset=UTF-8");
  EXPECT_EQ(
      feed.body,
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\">\n<channel>\n"
      "<title>Calvaro Ledger change history</title>\n<link>http://" +
          site.host_port() + ledger +
          "</link>\n<description>Changes to the general ledger &amp; its reports</description>\n"
          "<item>\n<title>E210 Period close</title>\n"
          "<description>Closing a period checks open batches first</description>\n"
          "<pubDate>Tue, 02 Mar 2021 10:15:00 GMT</pubDate>\n</item>\n</channel>\n</rss>\n");

  // A database that cannot be read is a 500 that shows none of the server's files.
  VendorSite broken({true, "DROP TABLE module;", {}});
  ASSERT_TRUE(broken.Start(&error)) << error;
  const std::pair<std::string, std::string> kBroken[] = {
      {ledger, ""}, {"/version.cgi", "Calvaro Upgrade Utility/2021-6-5 (x y z)"}};
  for (const auto& [path, agent] : kBroken) {
    HttpResult result = HttpFetch({broken.server().base_url() + path, "GET", "", {}, agent});
    EXPECT_EQ(result.status, 500) << path;
    EXPECT_EQ(result.body, "The release database cannot be read.\n") << path;
  }
}

}  // namespace
