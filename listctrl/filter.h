// Column filters of a list and their saved form. A filter is the pattern a user
// typed into a column's filter box and the fnmatch options it is matched with; the
// list keeps one per filtered column and its owner applies them to the rows.
//
// Saved filters are kept as text in the list's settings section, which a user may
// edit by hand, so the decoder takes any text without failing. Pure functions
// without wx; safe on any thread.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CZORMListCtrl;

struct CZORMFilter {
  // The longest pattern a filter box holds, in bytes.
  static constexpr size_t kMaxPattern = 1023;
  // fnmatch options, with glibc's bit values: extended patterns such as !(...)
  // always; letters without regard to case when ZORMFILTERNOCASE is set.
  static constexpr uint32_t kExtMatch = 0x20;
  static constexpr uint32_t kCaseFold = 0x10;

  // A filter with the options the environment asks for now.
  CZORMFilter();

  // Takes the text of `list`'s filter box for `column` as the pattern, cut to
  // kMaxPattern bytes (between characters); a list without a filter bar, or a
  // column without a box, leaves the pattern as it was.
  void ReadFilterText(const CZORMListCtrl& list, int column);

  std::string pattern;  // never empty in a list's filter map
  uint32_t flags;
};

using ZORMFilterMap = std::map<unsigned, CZORMFilter>;

// `text` cut to at most `limit` bytes without splitting a UTF-8 character.
std::string CutToBytes(std::string_view text, size_t limit);

// The saved form of `filters`: "`L<column>`R<pattern>" for each, in map order.
std::string EncodeFilters(const ZORMFilterMap& filters);

// The (column, pattern) pairs of a saved filter, in the order they were written.
// Tokens run between backquotes; empty ones are skipped. 'L' sets the column (its
// leading decimal number, 0 when it has none; 0 before the first 'L'), 'R' gives
// the pattern for the current column, other tokens are ignored. A column that does
// not fit in an int comes back as -1, so callers skip it with the other columns
// that do not exist.
std::vector<std::pair<int, std::string>> DecodeFilterText(std::string_view text);

// The column order as saved: each entry followed by a comma ("0,2,1,").
std::string FormatColumnOrder(const std::vector<int>& order);
// The saved column order for a list of `columns` columns; empty when `text` is not
// a complete order of exactly those columns (damaged, or saved for other columns).
std::vector<int> ParseColumnOrder(std::string_view text, int columns);

// Whether `cells` pass every filter: each filtered column's cell matches its
// pattern with fnmatch; a column beyond the cells counts as an empty cell.
bool RowPassesFilters(const std::vector<std::string>& cells, const ZORMFilterMap& filters);
