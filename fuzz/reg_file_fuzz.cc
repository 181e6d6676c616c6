// Settings files edited by hand: the reader must not crash, and a file it accepts
// must survive being written back and read again unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  RegTree tree;
  Status parsed = ParseRegFile(text, "HKEY_CURRENT_USER", &tree);
  if (!parsed.ok()) {
    if (!tree.empty() || parsed.message().empty()) abort();
    return 0;
  }
  std::string written = FormatRegFile(tree, "HKEY_CURRENT_USER");
  RegTree again;
  if (!ParseRegFile(written, "HKEY_CURRENT_USER", &again).ok() || again != tree) abort();
  if (FormatRegFile(again, "HKEY_CURRENT_USER") != written) abort();
  for (const auto& entry : tree) {
    if (!RegKeyExists(tree, entry.first)) abort();
    (void)RegChildKeyNames(tree, entry.first);
  }
  return 0;
}
