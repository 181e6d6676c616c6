// List files are whatever the user points zormlist at: the parser must not crash,
// each row it returns has one cell per column, and a refusal says why.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/zormlist/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ListFile file;
  const Status parsed =
      ParseListFile(std::string_view(reinterpret_cast<const char*>(data), size), "f", &file);
  if (parsed.ok() == file.columns.empty() || parsed.ok() != parsed.message().empty()) abort();
  for (const auto& row : file.rows) {
    if (row.size() != file.columns.size()) abort();
  }
  return 0;
}
