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

TEST(VendorSiteTest, ServesTheHistoryAndRedirectsOnlyToANewerReleaseOfTheSameProgram) {
  const int port = CannedHttpServer(CannedHttpServer::Mode::kSilent).port();  // now free
  const std::string base = "http://127.0.0.1:" + std::to_string(port);
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);  // its own group, so the server and the script stop together
    if (freopen("/dev/null", "w", stdout) == nullptr) _exit(126);
    execl((ProjectSourceDir() + "/tools/vendor/serve.sh").c_str(), "serve.sh",
          ProjectBinaryDir().c_str(), std::to_string(port).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(pid, pid);
  const std::string ledger = base + "/cgi/changelog.cgi?Module=LEDGER";
  HttpResult feed;
  for (int tries = 0; tries < 100 && feed.status == 0; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    feed = HttpGet(ledger);
  }
  const std::string newest =
      "http://downloads.morvend.com/calvaro-upgrade/2022-03-14/calvaro-upgrade.msi";
  struct Case {
    std::string path, agent;
    long status;
    std::string location;
  } const kCases[] = {
      {"/cgi/changelog.cgi?Module=NOPE", "", 404, ""},
      {"/cgi/changelog.cgi?Module=abc", "", 404, ""},
      {"/cgi/changelog.cgi?Module=ABC'%20OR%20'1'='1", "", 404, ""},
      {"/cgi/changelog.cgi", "", 404, ""},
      {"/cgi/other.cgi", "", 404, ""},
      {"/version.cgi", "Calvaro Upgrade Utility/2021-6-5 (Debian GNU/Linux build 6.1 x64)", 302,
       newest},
      {"/version.cgi", "Calvaro Upgrade Utility/2022-2-13 (x y z)", 302, newest},
      {"/version.cgi", "Calvaro Upgrade Utility/2022-2-14 (x y z)", 200, ""},
      {"/version.cgi", "calvaro upgrade utility/2021-6-5 (x y z)", 200, ""},
      {"/version.cgi", "A/B Tool/2021-6-5 (x y z)", 200, ""},
      {"/version.cgi", "curl/7.88.1", 400, ""},
  };
  for (const Case& c : kCases) {
    HttpResult result = HttpFetch({base + c.path, "GET", "", {}, c.agent});
    EXPECT_EQ(result.status, c.status) << c.path << " " << c.agent;
    EXPECT_EQ(result.Header("Location"), c.location) << c.path << " " << c.agent;
    EXPECT_EQ(result.body.find("<rss"), std::string::npos) << c.path;
  }
  kill(-pid, SIGTERM);
  waitpid(pid, nullptr, 0);

  EXPECT_EQ(feed.status, 200) << feed.error;
  EXPECT_EQ(feed.Header("Content-Type"), "application/rss+xml; charset=UTF-8");
  EXPECT_EQ(
      feed.body,
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\">\n<channel>\n"
      "<title>Calvaro Ledger change history</title>\n<link>" +
          ledger +
          "</link>\n<description>Changes to the general ledger &amp; its reports</description>\n"
          "<item>\n<title>E210 Period close</title>\n"
          "<description>Closing a period checks open batches first</description>\n"
          "<pubDate>Tue, 02 Mar 2021 10:15:00 GMT</pubDate>\n</item>\n</channel>\n</rss>\n");
}

}  // namespace
