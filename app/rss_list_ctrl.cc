#include "app/rss_list_ctrl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/change_history_text.h"

CRSSListCtrl::~CRSSListCtrl() = default;

namespace {

// How much of `text` fits `capacity` bytes with a terminator, ending on a whole
// character.
size_t CutLength(const std::string& text, size_t capacity) {
  size_t length = std::min(text.size(), capacity - 1);
  // Never end inside a character: back off over continuation bytes.
  while (length > 0 && length < text.size() &&
         (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
    --length;
  return length;
}

}  // namespace

void CopyTextCut(const std::string& text, char* buffer, size_t capacity) {
  if (capacity == 0) return;
  const size_t length = CutLength(text, capacity);
  memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

void CRSSListCtrl::OnGetDispInfo(CRSSDispInfo& info) const {
  if (info.item < 0 || static_cast<size_t>(info.item) >= m_rss.m_rows.size())
    throw std::invalid_argument("Invalid argument: the change history has no row " +
                                std::to_string(info.item) + ".");
  const CRSSItem& entry = *m_rss.m_rows[info.item];
  if (info.mask & CRSSDispInfo::kText) {
    CopyTextCut(ChangeHistoryCellText(entry, static_cast<int>(info.subItem)), info.pszText,
                info.cchTextMax);
  }
  if (info.mask & CRSSDispInfo::kImage) info.iImage = entry.m_nType != 0 ? 1 : 0;
}

wxString CRSSListCtrl::GetCellText(long item, long column) const {
  // Fitting the columns asks for every row, so the usual texts are made here
  // directly: the type, a valid date, a description cut where the buffer would
  // cut it. The rest goes the way of every cell request.
  if (item >= 0 && static_cast<size_t>(item) < m_rss.m_rows.size()) {
    const CRSSItem& entry = *m_rss.m_rows[item];
    if (column == kChangeType) return wxString::FromAscii(ChangeTypeText(entry));
    if (column == kChangeDescription)
      return wxString::FromUTF8(entry.m_strDescription.data(),
                                CutLength(entry.m_strDescription, kTextBufferSize));
    struct tm parts;
    if (column == kChangeDate && entry.m_dtDate.IsValid() && entry.m_dtDate.ToParts(&parts)) {
      char date[32];  // as "%Y-%m-%d" writes it
      snprintf(date, sizeof date, "%d-%02d-%02d", parts.tm_year + 1900, parts.tm_mon + 1,
               parts.tm_mday);
      return wxString::FromAscii(date);
    }
  }
  char buffer[kTextBufferSize];
  CRSSDispInfo info;
  info.mask = CRSSDispInfo::kText;
  info.item = item;
  info.subItem = column;
  info.pszText = buffer;
  info.cchTextMax = sizeof buffer;
  OnGetDispInfo(info);
  return wxString::FromUTF8(buffer);
}

int CRSSListCtrl::OnGetItemImage(long item) const {
  CRSSDispInfo info;
  info.mask = CRSSDispInfo::kImage;
  info.item = item;
  OnGetDispInfo(info);
  return info.iImage;
}
