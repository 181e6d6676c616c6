// The vendor's programs as lighttpd runs them, read back over HTTP.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/vendor_site.h"
#include "tests/support/http_fetch.h"
#include "tests/support/test_env.h"

namespace {

// Runs /usr/bin/python3's own XML parser over `document` and returns what the
// script prints, or "ERROR ..." when the document is not well-formed.
std::string ItemsByPython(const std::string& document) {
  ScopedTestHome home;
  std::string path = home.path() + "/feed.xml";
  WriteWholeFile(path, document);
  std::string command =
      "/usr/bin/python3 -c \"import sys, xml.etree.ElementTree as ET\n"
      "try:\n"
      "  c = ET.parse(sys.argv[1]).getroot().find('channel')\n"
      "except ET.ParseError as e:\n"
      "  print('ERROR', e); sys.exit(0)\n"
      "for i in c.findall('item'):\n"
      "  print(i.findtext('title'), '|', i.findtext('description'), '|', i.findtext('pubDate'))\n"
      "\" " + path;
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    pclose(pipe);
  }
  return output;
}

TEST(ChangelogCgiTest, ServesTheModuleHistoryNewestFirstAsWellFormedRss) {
  VendorSite site({true,
                   "INSERT INTO change (module, title, description, published) VALUES "
                   "('ABC', 'F400 Odd bytes', CAST(X'6F64642001FF2062797465730B' AS TEXT), "
                   "'2020-01-01 00:00:00');",
                   {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;

  HttpResult ledger = HttpGet(site.server().base_url() + "/cgi/changelog.cgi?Module=LEDGER");
  EXPECT_EQ(ledger.status, 200);
  EXPECT_EQ(ledger.Header("Content-Type"), "application/rss+xml; charset=UTF-8");
  EXPECT_EQ(ledger.body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\">\n<channel>\n"
            "<title>Calvaro Ledger change history</title>\n"
            "<link>http://" + site.host_port() + "/cgi/changelog.cgi?Module=LEDGER</link>\n"
            "<description>Changes to the general ledger &amp; its reports</description>\n"
            "<item>\n<title>E210 Period close</title>\n"
            "<description>Closing a period checks open batches first</description>\n"
            "<pubDate>Tue, 02 Mar 2021 10:15:00 GMT</pubDate>\n</item>\n"
            "</channel>\n</rss>\n");

  HttpResult abc = HttpGet(site.server().base_url() + "/cgi/changelog.cgi?Module=ABC&x=1");
  EXPECT_EQ(abc.status, 200);
  EXPECT_EQ(ItemsByPython(abc.body),
            "E102 Faster scans | Scanning a warehouse takes half the time it did | "
            "Tue, 06 Jul 2021 09:30:00 GMT\n"
            "F311 Totals < 0 | Negative totals no longer print as 0 & are shown in red | "
            "Mon, 28 Jun 2021 16:05:00 GMT\n"
            "E099 Caf\xC3\xA9 labels | Labels print accented names: Caf\xC3\xA9 Z\xC3\xBCrich, "
            "\xC3\x86r\xC3\xB8, \xC5\x81\xC3\xB3" "d\xC5\xBA, \xE6\x9D\xB1\xE4\xBA\xAC | "
            "Mon, 17 May 2021 08:00:00 GMT\n"
            "e098 Minor wording | Dialog texts reworded | Thu, 01 Apr 2021 12:00:00 GMT\n"
            "F400 Odd bytes | odd \xEF\xBF\xBD bytes | Wed, 01 Jan 2020 00:00:00 GMT\n");
}

TEST(ChangelogCgiTest, UnknownOrMissingModuleIsNotFound) {
  VendorSite site({true, "", {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  for (const char* query : {"?Module=NOPE", "?Module=abc", "", "?module=ABC",
                            "?Module=ABC'%20OR%20'1'='1"}) {
    HttpResult result = HttpGet(site.server().base_url() + "/cgi/changelog.cgi" + query);
    EXPECT_EQ(result.status, 404) << query;
    EXPECT_EQ(result.body.find("<rss"), std::string::npos) << query;
  }
}

TEST(VersionCgiTest, RedirectsOnlyToANewerReleaseOfTheSameProgram) {
  VendorSite site({true, "", {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  const std::string newest =
      "http://downloads.morvend.com/calvaro-upgrade/2022-03-14/calvaro-upgrade.msi";
  struct {
    const char* agent;
    long status;
    std::string location;
  } cases[] = {
      {"Calvaro Upgrade Utility/2021-6-5 (Debian GNU/Linux build 6.1.0 x64)", 302, newest},
      {"Calvaro Upgrade Utility/2020-0-1 (x y z)", 302, newest},
      {"Calvaro Upgrade Utility/2022-2-13 (x y z)", 302, newest},
      {"Calvaro Upgrade Utility/2022-2-14 (x y z)", 200, ""},
      {"Calvaro Upgrade Utility/2023-0-1 (x y z)", 200, ""},
      {"calvaro upgrade utility/2021-6-5 (x y z)", 200, ""},
      {"Some Other Tool/2021-6-5 (x y z)", 200, ""},
      {"curl/7.88.1", 400, ""},
  };
  for (const auto& c : cases) {
    HttpRequest request;
    request.url = site.server().base_url() + "/version.cgi";
    request.user_agent = c.agent;
    HttpResult result = HttpFetch(request);
    EXPECT_EQ(result.status, c.status) << c.agent;
    EXPECT_EQ(result.Header("Location"), c.location) << c.agent;
  }
}

}  // namespace
