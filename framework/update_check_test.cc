#include "framework/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "tests/e2e/vendor_site.h"
#include "tests/support/canned_http_server.h"
#include "tests/support/test_env.h"

namespace {

PlatformDescription SamplePlatform(const char* sysname) {
  PlatformDescription platform = {};
  strcpy(platform.sysname, sysname);
  strcpy(platform.nodename, "desk7");
  strcpy(platform.release, "build 6.1.0");
  strcpy(platform.version, "6.01");
  strcpy(platform.machine, "x64");
  return platform;
}

TEST(UpdateCheckUserAgentTest, NamesTitleZeroBasedBuildDateAndPlatform) {
  struct {
    const char* build_date;
    const char* sysname;
    const char* agent;
  } cases[] = {
      {"Jul  5 2021", "Debian GNU/Linux 12", "Calvaro/2021-6-5 (Debian GNU/Linux 12 build 6.1.0 x64)"},
      {"Jan 15 2021", "Linux", "Calvaro/2021-0-15 (Linux build 6.1.0 x64)"},
      {"Dec 31 1999", "Linux", "Calvaro/1999-11-31 (Linux build 6.1.0 x64)"},
      {"Jul  5 2021", "", "Calvaro/2021-6-5 ( build 6.1.0 x64)"},
      {"not a date", "Linux", "Calvaro/1900-0-0 (Linux build 6.1.0 x64)"},
      {"Mar", "Linux", "Calvaro/1900-2-0 (Linux build 6.1.0 x64)"},
      {"", "Linux", "Calvaro/1900-0-0 (Linux build 6.1.0 x64)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UpdateCheckUserAgent("Calvaro", c.build_date, SamplePlatform(c.sysname)), c.agent)
        << c.build_date;
}

TEST(UpgradeLocationOfTest, OnlyAnExactLocationLineOfA302Counts) {
  struct {
    long status;
    const char* headers;
    std::optional<std::string> location;
  } cases[] = {
      {302, "HTTP/1.1 302 Found\r\nLocation: http://x/new.msi\r\nServer: s\r\n\r\n",
       "http://x/new.msi"},
      {302, "HTTP/1.1 302 Found\r\nLocation: \r\n\r\n", ""},
      {302, "HTTP/1.1 302 Found\r\nLocation:  two spaces\r\n\r\n", " two spaces"},
      {302, "HTTP/1.1 302 Found\r\nlocation: http://x/new.msi\r\n\r\n", std::nullopt},
      {302, "HTTP/1.1 302 Found\r\nLOCATION: http://x/new.msi\r\n\r\n", std::nullopt},
      {302, "HTTP/1.1 302 Found\r\nLocation:http://x/new.msi\r\n\r\n", std::nullopt},
      {302, "HTTP/1.1 302 Found\nLocation: http://x/new.msi\n\n", std::nullopt},
      {301, "HTTP/1.1 301 Moved\r\nLocation: http://x/new.msi\r\n\r\n", std::nullopt},
      {200, "HTTP/1.1 200 OK\r\nLocation: http://x/new.msi\r\n\r\n", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UpgradeLocationOf(c.status, c.headers), c.location) << c.headers;
}

// Whether one line of `log` holds both texts.
bool LogHasLine(const std::string& log, const std::string& first, const std::string& second) {
  size_t start = 0;
  while (start < log.size()) {
    size_t end = log.find('\n', start);
    if (end == std::string::npos) end = log.size();
    std::string line = log.substr(start, end - start);
    if (line.find(first) != std::string::npos && line.find(second) != std::string::npos)
      return true;
    start = end + 1;
  }
  return false;
}

class CheckForUpdateTest : public testing::Test {
 protected:
  void PointAt(const std::string& host_port) {
    home_.SetEnv("ZORMUPDATESERVER", host_port.c_str());
  }
  ScopedTestHome home_;
};

TEST_F(CheckForUpdateTest, StoresTheLocationTheUpdateServerNames) {
  VendorSite site({true, "", {}});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  PointAt(site.host_port());

  std::string url;
  CheckForUpdate("Calvaro Upgrade Utility", "Jan 15 2021", &url);
  EXPECT_EQ(url, "http://downloads.morvend.com/calvaro-upgrade/2022-03-14/calvaro-upgrade.msi");

  std::string current = "kept";
  CheckForUpdate("Calvaro Upgrade Utility", "Dec 31 2022", &current);
  EXPECT_EQ(current, "kept");

  // The server saw the month counted from 0, the platform texts and no redirect.
  PlatformDescription platform;
  DescribePlatform(&platform);
  std::string tail = std::string(" (") + platform.sysname + " " + platform.release + " " +
                     platform.machine + ")";
  std::string january = "\"Calvaro Upgrade Utility/2021-0-15" + tail + "\"";
  std::string december = "\"Calvaro Upgrade Utility/2022-11-31" + tail + "\"";
  ASSERT_TRUE(site.server().AccessLogContains(december)) << site.server().AccessLog();
  EXPECT_TRUE(LogHasLine(site.server().AccessLog(), "\"GET /version.cgi HTTP/1.1\" 302 ", january))
      << site.server().AccessLog();
  EXPECT_TRUE(LogHasLine(site.server().AccessLog(), "\"GET /version.cgi HTTP/1.1\" 200 ", december))
      << site.server().AccessLog();
  EXPECT_EQ(site.server().AccessLog().find("downloads"), std::string::npos);
}

TEST_F(CheckForUpdateTest, OtherAnswersLeaveTheLocationAlone) {
  const char* answers[] = {
      "HTTP/1.1 302 Found\r\nlocation: http://x/new.msi\r\nContent-Length: 0\r\n\r\n",
      "HTTP/1.1 301 Moved Permanently\r\nLocation: http://x/new.msi\r\nContent-Length: 0\r\n\r\n",
      "HTTP/1.1 200 OK\r\nLocation: http://x/new.msi\r\nContent-Length: 5\r\n\r\nhello",
      "HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n",
      "HTTP/1.1 302 Found\r\nLocation: http://x/new.msi",  // cut off before the line end
      "garbage\r\n\r\n",
  };
  for (const char* answer : answers) {
    CannedHttpServer server(CannedHttpServer::Mode::kAnswer, answer);
    PointAt(server.host_port());
    std::string url = "before";
    CheckForUpdate("Calvaro Upgrade Utility", "Jul  5 2021", &url);
    EXPECT_EQ(url, "before") << answer;
    EXPECT_EQ(server.LastRequest().rfind("GET /version.cgi HTTP/1.1\r\n", 0), 0u) << answer;
  }
}

TEST_F(CheckForUpdateTest, UnreachableServerIsSilent) {
  int closed_port;
  {
    CannedHttpServer probe(CannedHttpServer::Mode::kSilent);
    closed_port = probe.port();
  }
  PointAt("127.0.0.1:" + std::to_string(closed_port));
  std::string url;
  CheckForUpdate("Calvaro Upgrade Utility", "Jul  5 2021", &url);
  EXPECT_EQ(url, "");
}

// A bound on how long a start can be held, not a speed goal: each phase gives up
// after 1.5 s, so a server that accepts and then never answers costs about that.
TEST_F(CheckForUpdateTest, ServerThatNeverAnswersHoldsTheStartOnlyBriefly) {
  for (auto mode : {CannedHttpServer::Mode::kSilent, CannedHttpServer::Mode::kReadThenSilent}) {
    CannedHttpServer silent(mode);
    PointAt(silent.host_port());
    std::string url;
    auto start = std::chrono::steady_clock::now();
    CheckForUpdate("Calvaro Upgrade Utility", "Jul  5 2021", &url);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(url, "");
    EXPECT_GE(elapsed, std::chrono::milliseconds(1400));
    EXPECT_LT(elapsed, std::chrono::milliseconds(3 * 1500 + 2000));
  }
}

}  // namespace
