// Property text of an installation: must never crash, and whatever parses must
// parse again to the same properties when written back with every value quoted.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/install_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  InstallProperties properties;
  Status parsed = ParseInstallProperties(text, &properties);
  if (!parsed.ok()) {
    if (parsed.message().empty()) abort();
    return 0;
  }
  std::string written;
  for (const auto& [name, value] : properties) {
    written += name + "=\"";
    for (char c : value) written += c == '"' ? std::string("\"\"") : std::string(1, c);
    written += "\" ";
  }
  InstallProperties again;
  if (!ParseInstallProperties(written, &again).ok() || again != properties) abort();
  return 0;
}
