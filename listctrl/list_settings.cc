// The list's section in the application's profile: its column order and saved
// filters, written when the list goes and read back when its owner asks.
#include <wx/sizer.h>

#include "listctrl/filter_bar.h"
#include "listctrl/zorm_list_ctrl.h"
#include "platform/profile.h"

namespace {

// Above this many columns the column order is not kept.
constexpr int kMaxOrderedColumns = 32;

std::string Numbered(unsigned n, const char* suffix) { return std::to_string(n) + suffix; }

}  // namespace

std::string CZORMListCtrl::GetListProfileString(const char* entry, const char* default_value) const {
  return GetProfileString(("CListCtrl_" + m_strRegistryName).c_str(), entry, default_value);
}

unsigned CZORMListCtrl::GetListProfileInt(const char* entry, int default_value) const {
  return GetProfileInt(("CListCtrl_" + m_strRegistryName).c_str(), entry, default_value);
}

void CZORMListCtrl::WriteListProfileString(const char* entry, const char* value) {
  WriteProfileString(("CListCtrl_" + m_strRegistryName).c_str(), entry, value);
}

void CZORMListCtrl::WriteListProfileInt(const char* entry, int value) {
  WriteProfileInt(("CListCtrl_" + m_strRegistryName).c_str(), entry, value);
}

void CZORMListCtrl::SaveListState() {
  if (m_strRegistryName.empty()) return;
  const int columns = GetColumnCount();
  if (FindHeaderWindow() != nullptr && columns < kMaxOrderedColumns) {
    std::vector<int> order;
    for (int column = 0; column < columns; ++column) order.push_back(GetColumnIndexFromOrder(column));
    WriteListProfileString("Order", FormatColumnOrder(order).c_str());
  }
  if (!m_bSavedFiltersChanged) return;
  WriteListProfileInt("FilterTotal", int(m_mapSavedFilters.size()));
  unsigned n = 0;
  for (const auto& [name, encoded] : m_mapSavedFilters) {
    WriteListProfileString(Numbered(n, "_Name").c_str(), name.c_str());
    WriteListProfileString(Numbered(n, "_Value").c_str(), encoded.c_str());
    ++n;
  }
}

void CZORMListCtrl::LoadListState() {
  if (m_strRegistryName.empty()) return;
  // A hand-edited total may promise more filters than there are: reading stops at
  // the first one without a name (no filter is saved without one).
  const unsigned total = GetListProfileInt("FilterTotal", 0);
  for (unsigned n = 0; n < total; ++n) {
    const std::string name = GetListProfileString(Numbered(n, "_Name").c_str(), "");
    if (name.empty()) break;
    m_mapSavedFilters[name] = GetListProfileString(Numbered(n, "_Value").c_str(), "");
  }

  const std::vector<int> order = ParseColumnOrder(GetListProfileString("Order", ""), GetColumnCount());
  if (!order.empty()) SetColumnsOrder(wxArrayInt(order.begin(), order.end()));

  PlaceFilterBar();  // boxes for the columns there are now
  const auto found = m_mapSavedFilters.find(GetListProfileString("DefaultFilter", ""));
  if (found != m_mapSavedFilters.end()) ApplySavedFilter(found->second);
}
