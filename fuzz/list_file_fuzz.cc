// List files are whatever the user points zormlist at: the parser must not crash,
// every row it returns must have one cell per column, a refusal must say why, and
// a file it accepts, written back, must read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/zormlist/list_file.h"

namespace {

std::string Join(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) line += (i ? "|" : "") + cells[i];
  return line + "\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ListFile file;
  const Status parsed = ParseListFile(text, "fuzz.txt", &file);
  if (!parsed.ok()) {
    if (parsed.message().empty() || !file.columns.empty() || !file.rows.empty()) abort();
    return 0;
  }
  if (file.columns.empty()) abort();
  // The mark is written back because a second one would otherwise lose the first.
  std::string written = "\xEF\xBB\xBF" + Join(file.columns);
  for (const auto& row : file.rows) {
    if (row.size() != file.columns.size()) abort();
    written += Join(row);
  }
  ListFile again;
  if (!ParseListFile(written, "fuzz.txt", &again).ok()) abort();
  if (again.columns != file.columns || again.rows != file.rows) abort();
  return 0;
}
