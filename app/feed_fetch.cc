#include "app/feed_fetch.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/http_client.h"
#include "platform/transfer_limits.h"

#ifndef ZORM_VENDOR_SERVER_DEFAULT
#define ZORM_VENDOR_SERVER_DEFAULT "vendor.morvend.com"
#endif

std::string VendorServer() {
  const char* server = getenv("ZORMVENDORSERVER");
  return server != nullptr && *server != '\0' ? server : ZORM_VENDOR_SERVER_DEFAULT;
}

std::string ChangelogUrl(const std::string& module) {
  std::string url = "http://" + VendorServer() + "/cgi/changelog.cgi?Module=";
  for (unsigned char c : module) {
    // '#' would end the URL's query and never reach the server.
    if (c <= 0x20 || c == 0x7F || c == '#') {
      char escaped[4];
      snprintf(escaped, sizeof escaped, "%%%02X", c);
      url += escaped;
    } else {
      url += static_cast<char>(c);
    }
  }
  return url;
}

std::string FetchFeed(const std::string& module) { return FetchFeedAnswer(module).body; }

FeedAnswer FetchFeedAnswer(const std::string& module) {
  HttpGetOptions options;
  options.user_agent = program_invocation_short_name;  // the application's name
  const TransferLimits limits = CurrentTransferLimits();
  options.connect_timeout_ms = limits.connect_ms;
  options.stall_timeout_ms = limits.stall_ms;
  options.min_bytes_per_second = limits.min_bytes_per_second;
  options.max_body_bytes = kMaxFeedBytes;
  HttpGetResult result = HttpGet(ChangelogUrl(module), options);
  if (!result.outcome.ok()) throw InternetError(result.outcome.message());
  return {result.status, std::move(result.body)};
}
