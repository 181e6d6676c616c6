#include "app/change_history_text.h"

#include <charconv>
#include <ctime>

const char* ChangeTypeText(const CRSSItem& item) {
  return item.m_nType != 0 ? "Enhancement" : "Fix";
}

std::string ChangeDateText(const CRSSItem& item) { return item.m_dtDate.Format("%Y-%m-%d"); }

std::string_view ChangeDateText(const CRSSItem& item, char (&buffer)[kChangeDateBufferSize]) {
  const OleDate& date = item.m_dtDate;
  if (date.status() == OleDate::Status::kNull) return {};
  struct tm parts;
  if (!date.IsValid() || !date.ToParts(&parts)) return "Invalid DateTime";
  // As strftime writes "%Y-%m-%d": the year unpadded (100 to 9999), the month
  // and the day in two digits.
  char* end = std::to_chars(buffer, buffer + 4, parts.tm_year + 1900).ptr;
  for (const int two_digits : {parts.tm_mon + 1, parts.tm_mday}) {
    *end++ = '-';
    *end++ = char('0' + two_digits / 10);
    *end++ = char('0' + two_digits % 10);
  }
  return {buffer, size_t(end - buffer)};
}

std::string ChangeHistoryCellText(const CRSSItem& item, int column) {
  switch (column) {
    case kChangeType:
      return ChangeTypeText(item);
    case kChangeDate:
      return ChangeDateText(item);
    case kChangeDescription:
      return item.m_strDescription;
    default:
      return std::string();
  }
}
