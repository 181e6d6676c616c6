#include "app/rss_list_ctrl.h"

#include <algorithm>
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

std::string_view CRSSListCtrl::GetCellTextUtf8(long item, long column, std::string* buffer) const {
  // Fitting the columns asks for every row, so the usual texts come straight
  // from the entry: the type, the date, the description cut where the buffer
  // would cut it. The rest goes the way of every cell request.
  if (item >= 0 && static_cast<size_t>(item) < m_rss.m_rows.size()) {
    const CRSSItem& entry = *m_rss.m_rows[item];
    if (column == kChangeType) return ChangeTypeText(entry);
    if (column == kChangeDescription)
      return {entry.m_strDescription.data(), CutLength(entry.m_strDescription, kTextBufferSize)};
    if (column == kChangeDate) {
      char date[kChangeDateBufferSize];
      return *buffer = ChangeDateText(entry, date);
    }
  }
  buffer->resize(kTextBufferSize);
  CRSSDispInfo info;
  info.mask = CRSSDispInfo::kText;
  info.item = item;
  info.subItem = column;
  info.pszText = buffer->data();
  info.cchTextMax = kTextBufferSize;
  OnGetDispInfo(info);
  return buffer->c_str();
}

wxString CRSSListCtrl::GetCellText(long item, long column) const {
  std::string buffer;
  const std::string_view text = GetCellTextUtf8(item, column, &buffer);
  return wxString::FromUTF8(text.data(), text.size());
}

int CRSSListCtrl::OnGetItemImage(long item) const {
  CRSSDispInfo info;
  info.mask = CRSSDispInfo::kImage;
  info.item = item;
  OnGetDispInfo(info);
  return info.iImage;
}
