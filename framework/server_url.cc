#include "framework/server_url.h"

#include <cctype>

namespace {

bool IsSchemeChar(char c) {
  return isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

std::optional<uint16_t> ParsePort(const std::string& digits) {
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  unsigned value = 0;
  for (char c : digits) {
    if (!isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 65535) return std::nullopt;
  return static_cast<uint16_t>(value);
}

}  // namespace

std::optional<ServerUrl> ParseServerUrl(const std::string& text) {
  const size_t scheme_end = text.find("://");
  if (scheme_end == std::string::npos || scheme_end == 0 ||
      !isalpha(static_cast<unsigned char>(text[0]))) {
    return std::nullopt;
  }
  for (size_t i = 0; i < scheme_end; ++i) {
    if (!IsSchemeChar(text[i])) return std::nullopt;
  }
  const size_t authority_begin = scheme_end + 3;
  const size_t authority_end = text.find_first_of("/?#", authority_begin);
  std::string authority = text.substr(authority_begin, authority_end == std::string::npos
                                                           ? std::string::npos
                                                           : authority_end - authority_begin);
  ServerUrl url;
  // The last '@' ends the user part: a password may itself hold an '@'.
  const size_t at = authority.rfind('@');
  if (at != std::string::npos) {
    const std::string user_info = authority.substr(0, at);
    const size_t colon = user_info.find(':');
    url.user = user_info.substr(0, colon);
    if (colon != std::string::npos) url.password = user_info.substr(colon + 1);
    authority.erase(0, at + 1);
  }

  std::string port_text;
  if (!authority.empty() && authority[0] == '[') {
    const size_t close = authority.find(']');
    if (close == std::string::npos) return std::nullopt;
    url.host = authority.substr(1, close - 1);
    const std::string rest = authority.substr(close + 1);
    if (!rest.empty()) {
      if (rest[0] != ':') return std::nullopt;
      port_text = rest.substr(1);
      if (port_text.empty()) return std::nullopt;
    }
  } else {
    const size_t colon = authority.rfind(':');
    url.host = authority.substr(0, colon);
    if (colon != std::string::npos) {
      port_text = authority.substr(colon + 1);
      if (port_text.empty()) return std::nullopt;
    }
  }
  if (url.host.empty()) return std::nullopt;
  if (!port_text.empty()) {
    std::optional<uint16_t> port = ParsePort(port_text);
    if (!port) return std::nullopt;
    url.port = *port;
  }
  return url;
}
