// The vendor's site exactly as shipped, read back over HTTP: serve.sh with
// tools/vendor/lighttpd.conf running changelog.cgi and version.cgi over the
// sample release database.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/e2e/vendor_site.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/http_fetch.h"

namespace {

class VendorSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    port_ = CannedHttpServer(CannedHttpServer::Mode::kSilent).port();  // free once it is gone
    if ((pid_ = fork()) == 0) {
      setpgid(0, 0);  // its own group, so the server and the script stop together
      if (freopen("/dev/null", "w", stdout) == nullptr) _exit(126);
      execl((ProjectSourceDir() + "/tools/vendor/serve.sh").c_str(), "serve.sh",
            ProjectBinaryDir().c_str(), std::to_string(port_).c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    setpgid(pid_, pid_);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Get("/cgi/changelog.cgi?Module=ABC").status == 0 &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  static void TearDownTestSuite() {
    kill(-pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  static HttpResult Get(const std::string& path, const std::string& agent = "") {
    return HttpFetch({"http://127.0.0.1:" + std::to_string(port_) + path, "GET", "", {}, agent});
  }

  static inline int port_ = 0;
  static inline pid_t pid_ = -1;
};

TEST_F(VendorSiteTest, ChangelogServesTheModuleHistoryAsRss) {
  HttpResult ledger = Get("/cgi/changelog.cgi?Module=LEDGER");
  EXPECT_EQ(ledger.status, 200) << ledger.error;
  EXPECT_EQ(ledger.Header("Content-Type"), "application/rss+xml; charset=UTF-8");
  EXPECT_EQ(ledger.body,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\">\n<channel>\n"
            "<title>Calvaro Ledger change history</title>\n<link>http://127.0.0.1:" +
                std::to_string(port_) +
                "/cgi/changelog.cgi?Module=LEDGER</link>\n"
                "<description>Changes to the general ledger &amp; its reports</description>\n"
                "<item>\n<title>E210 Period close</title>\n"
                "<description>Closing a period checks open batches first</description>\n"
                "<pubDate>Tue, 02 Mar 2021 10:15:00 GMT</pubDate>\n</item>\n"
                "</channel>\n</rss>\n");
  for (const char* path :
       {"/cgi/changelog.cgi?Module=NOPE", "/cgi/changelog.cgi?Module=abc", "/cgi/changelog.cgi",
        "/cgi/changelog.cgi?Module=ABC'%20OR%20'1'='1", "/cgi/other.cgi"}) {
    HttpResult result = Get(path);
    EXPECT_EQ(result.status, 404) << path;
    EXPECT_EQ(result.body.find("<rss"), std::string::npos) << path;
  }
}

TEST_F(VendorSiteTest, VersionRedirectsOnlyToANewerReleaseOfTheSameProgram) {
  const std::string newest =
      "http://downloads.morvend.com/calvaro-upgrade/2022-03-14/calvaro-upgrade.msi";
  struct Case {
    const char* agent;
    long status;
    std::string location;
  } const kCases[] = {
      {"Calvaro Upgrade Utility/2021-6-5 (Debian GNU/Linux build 6.1.0 x64)", 302, newest},
      {"Calvaro Upgrade Utility/2022-2-13 (x y z)", 302, newest},
      {"Calvaro Upgrade Utility/2022-2-14 (x y z)", 200, ""},
      {"calvaro upgrade utility/2021-6-5 (x y z)", 200, ""},
      {"Some Other Tool/2021-6-5 (x y z)", 200, ""},
      {"curl/7.88.1", 400, ""},
  };
  for (const Case& c : kCases) {
    HttpResult result = Get("/version.cgi", c.agent);
    EXPECT_EQ(result.status, c.status) << c.agent;
    EXPECT_EQ(result.Header("Location"), c.location) << c.agent;
  }
}

}  // namespace
