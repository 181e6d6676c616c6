// Saved filters and the column order come from a settings file a user can edit: the
// decoders must not crash, and what they accept must survive being saved again.
#include <cstdlib>

#include "listctrl/filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ZORMFilterMap filters;  // what a list can hold comes back as it was
  for (const auto& [column, pattern] : DecodeFilterText(text)) {
    if (column >= 0 && pattern.find('`') == std::string::npos && !pattern.empty())
      filters[unsigned(column)].pattern = pattern;
  }
  std::vector<std::pair<int, std::string>> kept;
  for (const auto& [column, filter] : filters) kept.emplace_back(int(column), filter.pattern);
  if (DecodeFilterText(EncodeFilters(filters)) != kept) abort();

  for (int columns : {0, 3, 40}) {
    const std::vector<int> order = ParseColumnOrder(text, columns);
    if (!order.empty() && ParseColumnOrder(FormatColumnOrder(order), columns) != order) abort();
  }
  return 0;
}
