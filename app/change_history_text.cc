#include "app/change_history_text.h"

const char* ChangeTypeText(const CRSSItem& item) {
  return item.m_nType != 0 ? "Enhancement" : "Fix";
}

std::string ChangeDateText(const CRSSItem& item) { return item.m_dtDate.Format("%Y-%m-%d"); }

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
