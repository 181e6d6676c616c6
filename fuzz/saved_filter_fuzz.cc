// Saved filters and the column order come from a settings file a user can edit: the
// decoders must not crash, and what they accept must survive being saved again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "listctrl/filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Filters of columns the list has, without backquotes, come back as they were.
  ZORMFilterMap filters;
  for (const auto& [column, pattern] : DecodeFilterText(text)) {
    if (column >= 0 && pattern.find('`') == std::string::npos && !pattern.empty())
      filters[unsigned(column)].pattern = pattern;
  }
  ZORMFilterMap again;
  for (const auto& [column, pattern] : DecodeFilterText(EncodeFilters(filters)))
    again[unsigned(column)].pattern = pattern;
  if (EncodeFilters(again) != EncodeFilters(filters)) abort();

  for (int columns : {0, 3, 40}) {
    const std::vector<int> order = ParseColumnOrder(text, columns);
    if (!order.empty() && ParseColumnOrder(FormatColumnOrder(order), columns) != order) abort();
  }
  return 0;
}
