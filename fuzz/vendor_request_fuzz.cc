// What the vendor's CGI programs read from a request: the query string and the
// user agent, both from anyone on the network.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/vendor/cgi_request.h"
#include "tools/vendor/rss_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ModuleOfQuery(text);
  if (auto agent = ParseUpdateCheckAgent(text))
    if (agent->built.size() != 10) __builtin_trap();
  std::string escaped = XmlEscape(text);
  if (escaped.find('<') != std::string::npos) __builtin_trap();
  // Stored stamps take a direct path; it must say what strptime says.
  char direct[kRfc822DateCapacity], general[kRfc822DateCapacity];
  size_t direct_length = FormatRfc822Date(text, direct);
  size_t general_length = FormatRfc822DateByStrptime(text, general);
  if (std::string_view(direct, direct_length) != std::string_view(general, general_length))
    __builtin_trap();
  return 0;
}
