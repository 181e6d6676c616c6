// The default server text comes from the command line or the environment.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/server_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<ServerUrl> url =
      ParseServerUrl(std::string(reinterpret_cast<const char*>(data), size));
  if (url && url->host.empty()) __builtin_trap();
  return 0;
}
