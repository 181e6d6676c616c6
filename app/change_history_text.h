// The texts a change-history entry shows, in the dialog's list and in the
// command-line companion's report: its type, its date and its description.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/rss.h"

enum ChangeHistoryColumn { kChangeType = 0, kChangeDate = 1, kChangeDescription = 2 };

// "Enhancement" or "Fix".
const char* ChangeTypeText(const CRSSItem& item);
// The entry's date as "%Y-%m-%d"; "Invalid DateTime" when it did not parse.
std::string ChangeDateText(const CRSSItem& item);
// The same text without allocating: a view of `buffer`, which it is written
// into, or of a literal.
constexpr size_t kChangeDateBufferSize = 16;
std::string_view ChangeDateText(const CRSSItem& item, char (&buffer)[kChangeDateBufferSize]);
// The text of `column` (one of the values above); empty for any other column.
std::string ChangeHistoryCellText(const CRSSItem& item, int column);
