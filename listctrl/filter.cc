#include "listctrl/filter.h"

#include <fnmatch.h>

#include <cstdlib>
#include <limits>

static_assert(CZORMFilter::kExtMatch == FNM_EXTMATCH && CZORMFilter::kCaseFold == FNM_CASEFOLD,
              "the filter flags are handed to fnmatch as they are");

CZORMFilter::CZORMFilter()
    : flags(kExtMatch | (std::getenv("ZORMFILTERNOCASE") != nullptr ? kCaseFold : 0)) {}

std::string CutToBytes(std::string_view text, size_t limit) {
  if (text.size() <= limit) return std::string(text);
  size_t end = limit;
  // Step back over continuation bytes so that no character is split.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

std::string EncodeFilters(const ZORMFilterMap& filters) {
  std::string text;
  for (const auto& [column, filter] : filters) {
    text += "`L" + std::to_string(column) + "`R" + filter.pattern;
  }
  return text;
}

namespace {

// The leading decimal number of `digits` as atoi reads it, or -1 when it does not
// fit in an int (where atoi's result is undefined).
int ColumnNumber(std::string_view digits) {
  size_t at = 0;
  while (at < digits.size() && (digits[at] == ' ' || (digits[at] >= '\t' && digits[at] <= '\r')))
    ++at;
  bool negative = false;
  if (at < digits.size() && (digits[at] == '+' || digits[at] == '-')) negative = digits[at++] == '-';
  long long value = 0;
  for (; at < digits.size() && digits[at] >= '0' && digits[at] <= '9'; ++at) {
    value = value * 10 + (digits[at] - '0');
    if (value > std::numeric_limits<int>::max()) return -1;
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::vector<std::pair<int, std::string>> DecodeFilterText(std::string_view text) {
  std::vector<std::pair<int, std::string>> filters;
  int column = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('`', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view token = text.substr(start, end - start);
    start = end + 1;
    if (token.empty()) continue;
    if (token[0] == 'L') column = ColumnNumber(token.substr(1));
    if (token[0] == 'R') filters.emplace_back(column, std::string(token.substr(1)));
  }
  return filters;
}

std::string FormatColumnOrder(const std::vector<int>& order) {
  std::string text;
  for (int column : order) text += std::to_string(unsigned(column)) + ",";
  return text;
}

std::vector<int> ParseColumnOrder(std::string_view text, int columns) {
  std::vector<int> order;
  std::vector<bool> seen(size_t(std::max(columns, 0)), false);
  size_t start = 0;
  while (start < text.size()) {
    const size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) return {};  // every entry ends in a comma
    const std::string_view entry = text.substr(start, comma - start);
    start = comma + 1;
    if (entry.empty() || entry.size() > 9 ||
        entry.find_first_not_of("0123456789") != std::string_view::npos)
      return {};
    const int column = std::atoi(std::string(entry).c_str());
    if (column >= columns || seen[size_t(column)]) return {};
    seen[size_t(column)] = true;
    order.push_back(column);
  }
  if (int(order.size()) != columns) return {};
  return order;
}

bool RowPassesFilters(const std::vector<std::string>& cells, const ZORMFilterMap& filters) {
  for (const auto& [column, filter] : filters) {
    const char* cell = column < cells.size() ? cells[column].c_str() : "";
    if (fnmatch(filter.pattern.c_str(), cell, int(filter.flags)) != 0) return false;
  }
  return true;
}
