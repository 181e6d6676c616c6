#include "framework/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "tests/support/canned_http_server.h"
#include "tests/support/test_env.h"

TEST(UpdateCheckTest, UserAgentNamesTitleZeroBasedBuildDateAndPlatform) {
  PlatformDescription platform = {};
  strcpy(platform.release, "build 6.1.0");
  strcpy(platform.machine, "x64");
  const char* const cases[][3] = {
      {"Jul  5 2021", "Debian GNU/Linux 12", "C/2021-6-5 (Debian GNU/Linux 12 build 6.1.0 x64)"},
      {"Dec 31 1999", "", "C/1999-11-31 ( build 6.1.0 x64)"},
      {"not a date", "Linux", "C/1900-0-0 (Linux build 6.1.0 x64)"},
      {"Mar", "Linux", "C/1900-2-0 (Linux build 6.1.0 x64)"},
  };
  for (const auto& [build_date, sysname, agent] : cases) {
    strcpy(platform.sysname, sysname);
    EXPECT_EQ(agent, UpdateCheckUserAgent("C", build_date, platform)) << build_date;
  }
}

TEST(UpdateCheckTest, OnlyAnExactLocationLineOfA302Counts) {
  const std::tuple<long, const char*, std::optional<std::string>> cases[] = {
      {302, "HTTP/1.1 302 Found\r\nLocation: http://x/new.msi\r\nServer: s\r\n\r\n",
       "http://x/new.msi"},
      {302, "HTTP/1.1 302 Found\r\nLocation: \r\n\r\n", ""},
      {302, "HTTP/1.1 302 Found\r\nLocation:  two spaces\r\n\r\n", " two spaces"},
      {302, "HTTP/1.1 302 Found\r\nlocation: http://x/new.msi\r\n\r\n", std::nullopt},
      {302, "HTTP/1.1 302 Found\r\nLocation:http://x/new.msi\r\n\r\n", std::nullopt},
      {302, "HTTP/1.1 302 Found\nLocation: http://x/new.msi\n\n", std::nullopt},
      {302, "HTTP/1.1 302 Found\r\nLocation: http://x/new.msi", std::nullopt},
      {301, "HTTP/1.1 301 Moved\r\nLocation: http://x/new.msi\r\n\r\n", std::nullopt},
      {200, "HTTP/1.1 200 OK\r\nLocation: http://x/new.msi\r\n\r\n", std::nullopt},
  };
  for (const auto& [status, headers, location] : cases)
    EXPECT_EQ(location, UpgradeLocationOf(status, headers)) << headers;
}

// A bound on how long a start can be held, not a speed goal: each phase gives up
// after 1.5 s, so a server that accepts and then never answers costs about that.
TEST(UpdateCheckTest, ServerThatNeverAnswersHoldsTheStartOnlyBriefly) {
  ScopedTestHome home;
  CannedHttpServer silent(CannedHttpServer::Mode::kSilent);
  home.SetEnv("ZORMUPDATESERVER", silent.host_port().c_str());
  std::string url;
  const auto start = std::chrono::steady_clock::now();
  CheckForUpdate("Calvaro Upgrade Utility", "Jul  5 2021", &url);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ("", url);
  EXPECT_GE(elapsed, std::chrono::milliseconds(1400));
  EXPECT_LT(elapsed, std::chrono::milliseconds(3 * 1500 + 2000));
}
