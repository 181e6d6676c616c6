// What the vendor's CGI programs read from a request: the query string and the
// user agent, both from anyone on the network.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/vendor/cgi_request.h"
#include "tools/vendor/rss_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ModuleOfQuery(text);
  if (auto agent = ParseUpdateCheckAgent(text))
    if (agent->built.size() != 10) __builtin_trap();
  std::string escaped = XmlEscape(text);
  if (escaped.find('<') != std::string::npos) __builtin_trap();
  Rfc822Date(text);
  return 0;
}
