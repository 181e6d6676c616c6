// The vendor's site exactly as shipped: serve.sh with tools/vendor/lighttpd.conf.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/e2e/vendor_site.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/http_fetch.h"
#include "tests/support/test_env.h"

namespace {

TEST(VendorServeTest, ShippedConfigurationServesBothPrograms) {
  ScopedTestHome home;
  int port;
  {
    CannedHttpServer probe(CannedHttpServer::Mode::kSilent);
    port = probe.port();
  }
  std::string source = ProjectSourceDir(), binary = ProjectBinaryDir();
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);  // its own group, so the server and the script stop together
    if (freopen("/dev/null", "w", stdout) == nullptr) _exit(126);
    execl((source + "/tools/vendor/serve.sh").c_str(), "serve.sh", binary.c_str(),
          std::to_string(port).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(pid, pid);
  std::string base = "http://127.0.0.1:" + std::to_string(port);
  HttpResult feed;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  do {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    feed = HttpGet(base + "/cgi/changelog.cgi?Module=LEDGER");
  } while (feed.status == 0 && std::chrono::steady_clock::now() < deadline);

  HttpRequest check;
  check.url = base + "/version.cgi";
  check.user_agent = "Calvaro Upgrade Utility/2021-6-5 (Linux build 6.1.0 x64)";
  HttpResult version = HttpFetch(check);
  HttpResult other = HttpGet(base + "/cgi/other.cgi");

  kill(-pid, SIGTERM);
  int status;
  waitpid(pid, &status, 0);

  EXPECT_EQ(feed.status, 200) << feed.error;
  EXPECT_NE(feed.body.find("<title>E210 Period close</title>"), std::string::npos) << feed.body;
  EXPECT_EQ(version.status, 302);
  EXPECT_EQ(version.Header("Location"),
            "http://downloads.morvend.com/calvaro-upgrade/2022-03-14/calvaro-upgrade.msi");
  EXPECT_EQ(other.status, 404);
}

}  // namespace
