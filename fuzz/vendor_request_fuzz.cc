// What the vendor's CGI programs read from a request that the report writer's
// request reader (fuzzed on its own) does not: the user agent, and the texts they
// write back, both from anyone on the network.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/vendor_site/update_check_agent.h"
#include "tools/vendor_site/rss_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
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
