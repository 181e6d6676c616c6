#include "framework/update_check.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <thread>

#include "platform/http_client.h"

#ifndef ZORM_UPDATE_SERVER_DEFAULT
#define ZORM_UPDATE_SERVER_DEFAULT "update.morvend.com"
#endif

namespace {
constexpr int kPhaseTimeoutMs = 1500;
}

std::string UpdateServer() {
  const char* server = getenv("ZORMUPDATESERVER");
  return server != nullptr && *server != '\0' ? server : ZORM_UPDATE_SERVER_DEFAULT;
}

std::string UpdateCheckUserAgent(const std::string& app_title, const std::string& build_date,
                                 const PlatformDescription& platform) {
  struct tm built = {};
  // A text that only partly matches keeps what was split before the mismatch.
  strptime(build_date.c_str(), "%b %d %Y", &built);
  char dates[64];
  snprintf(dates, sizeof dates, "/%u-%u-%u (", static_cast<unsigned>(built.tm_year + 1900),
           static_cast<unsigned>(built.tm_mon), static_cast<unsigned>(built.tm_mday));
  return app_title + dates + platform.sysname + " " + platform.release + " " +
         platform.machine + ")";
}

std::optional<std::string> UpgradeLocationOf(long status, const std::string& raw_headers) {
  if (status != 302) return std::nullopt;
  static const std::string kLocation = "Location: ";
  size_t start = raw_headers.find(kLocation);
  if (start == std::string::npos) return std::nullopt;
  start += kLocation.size();
  size_t end = raw_headers.find('\r', start);
  if (end == std::string::npos) return std::nullopt;
  return raw_headers.substr(start, end - start);
}

void CheckForUpdate(const std::string& app_title, const std::string& build_date,
                    std::string* upgrade_url) {
  PlatformDescription platform;
  DescribePlatform(&platform);
  HttpGetOptions options;
  options.user_agent = UpdateCheckUserAgent(app_title, build_date, platform);
  options.follow_redirects = false;
  options.read_body = false;
  options.phase_timeout_ms = kPhaseTimeoutMs;
  HttpGetResult answer = HttpGet("http://" + UpdateServer() + "/version.cgi", options);
  if (!answer.outcome.ok()) return;  // no network, no server, too slow: no newer release known
  if (auto location = UpgradeLocationOf(answer.status, answer.raw_headers))
    *upgrade_url = *location;
}

namespace {

struct EarlyCheck {
  std::string title, build_date, upgrade_url;
  std::thread worker;
};
std::unique_ptr<EarlyCheck> g_early;

}  // namespace

void StartUpdateCheck(const std::string& app_title, const std::string& build_date) {
  if (g_early) return;
  g_early = std::make_unique<EarlyCheck>();
  EarlyCheck* check = g_early.get();
  check->title = app_title;
  check->build_date = build_date;
  check->worker = std::thread(
      [check] { CheckForUpdate(check->title, check->build_date, &check->upgrade_url); });
}

bool TakeUpdateCheck(const std::string& app_title, const std::string& build_date,
                     std::string* upgrade_url) {
  if (!g_early || g_early->title != app_title || g_early->build_date != build_date) return false;
  std::unique_ptr<EarlyCheck> check = std::move(g_early);
  check->worker.join();
  if (!check->upgrade_url.empty()) *upgrade_url = check->upgrade_url;
  return true;
}

void EndUpdateCheck() {
  if (!g_early) return;
  g_early->worker.join();
  g_early.reset();
}
