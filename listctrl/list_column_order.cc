// Column reordering. The generic list draws its columns in the order it keeps
// them, so a moved column is moved there: its header and width, and in a plain
// list its cells. A virtual list's cells are asked for by the column's own index
// through the order instead.
#include <numeric>

#include "listctrl/column_order.h"
#include "listctrl/filter_bar.h"
#include "listctrl/zorm_list_ctrl.h"

wxArrayInt CZORMListCtrl::GetColumnsOrder() const {
  wxArrayInt orders;
  for (int position = 0; position < GetColumnCount(); ++position)
    orders.push_back(GetColumnIndexFromOrder(position));
  return orders;
}

int CZORMListCtrl::GetColumnIndexFromOrder(int position) const {
  if (position < 0 || size_t(position) >= m_columnOrder.size()) return position;
  return m_columnOrder[size_t(position)];
}

int CZORMListCtrl::GetColumnOrder(int column) const {
  const int position = PositionInOrder(m_columnOrder, column);
  return position < 0 ? column : position;
}

bool CZORMListCtrl::SetColumnsOrder(const wxArrayInt& orders) {
  const std::vector<int> wanted(orders.begin(), orders.end());
  const int count = GetColumnCount();
  if (!IsColumnOrder(wanted, count)) return false;
  std::vector<int> source(size_t(count), 0);
  bool moved = false;
  for (int position = 0; position < count; ++position) {
    source[size_t(position)] = GetColumnOrder(wanted[size_t(position)]);
    moved = moved || source[size_t(position)] != position;
  }
  if (!moved) return true;
  // The editor stands over a cell that is about to move.
  if (m_pCurrentEditor != nullptr) EndEdit(m_pCurrentEditor);
  RearrangeColumns(source);
  m_columnOrder = wanted;
  if (std::is_sorted(wanted.begin(), wanted.end())) m_columnOrder.clear();
  if (m_pFilterBar != nullptr) m_pFilterBar->FollowColumns();
  if (wxWindow* header = FindHeaderWindow()) header->Refresh();
  Refresh();
  return true;
}

void CZORMListCtrl::RearrangeColumns(const std::vector<int>& source) {
  const int count = int(source.size());
  std::vector<wxListItem> headers(source.size());
  for (int position = 0; position < count; ++position) {
    headers[size_t(position)].SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_FORMAT | wxLIST_MASK_IMAGE |
                                      wxLIST_MASK_WIDTH);
    GetColumn(position, headers[size_t(position)]);
  }
  for (int position = 0; position < count; ++position) {
    const wxListItem& header = headers[size_t(source[size_t(position)])];
    SetColumn(position, header);
    SetColumnWidth(position, header.GetWidth());
  }
  if (IsVirtual()) return;
  std::vector<wxListItem> cells(source.size());
  for (long row = 0; row < GetItemCount(); ++row) {
    for (int position = 0; position < count; ++position) {
      wxListItem& cell = cells[size_t(position)];
      cell.SetId(row);
      cell.SetColumn(position);
      cell.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_IMAGE);
      GetItem(cell);
    }
    for (int position = 0; position < count; ++position) {
      wxListItem cell = cells[size_t(source[size_t(position)])];
      cell.SetColumn(position);
      SetItem(cell);
    }
  }
}

void CZORMListCtrl::MoveColumn(int from, int to) {
  const wxArrayInt orders = GetColumnsOrder();
  const std::vector<int> moved = MoveInOrder(std::vector<int>(orders.begin(), orders.end()), from, to);
  SetColumnsOrder(wxArrayInt(moved.begin(), moved.end()));
}

void CZORMListCtrl::RestoreOwnOrder() {
  if (m_columnOrder.empty()) return;
  std::vector<int> own(m_columnOrder.size());
  std::iota(own.begin(), own.end(), 0);
  SetColumnsOrder(wxArrayInt(own.begin(), own.end()));
}

long CZORMListCtrl::DoInsertColumn(long column, const wxListItem& info) {
  RestoreOwnOrder();
  return wxListCtrl::DoInsertColumn(column, info);
}

bool CZORMListCtrl::DeleteColumn(int column) {
  RestoreOwnOrder();
  return wxListCtrl::DeleteColumn(column);
}

bool CZORMListCtrl::DeleteAllColumns() {
  m_columnOrder.clear();
  return wxListCtrl::DeleteAllColumns();
}

wxString CZORMListCtrl::GetCellText(long, long) const { return {}; }

std::string_view CZORMListCtrl::GetCellTextUtf8(long item, long column, std::string* buffer) const {
  const wxString text = GetCellText(item, column);
  *buffer = text.utf8_string();
  if (buffer->empty() && !text.empty()) buffer->assign(1, char(0xFF));
  return *buffer;
}

wxString CZORMListCtrl::OnGetItemText(long item, long column) const {
  return GetCellText(item, GetColumnIndexFromOrder(int(column)));
}

int CZORMListCtrl::OnGetItemColumnImage(long item, long column) const {
  return GetColumnIndexFromOrder(int(column)) == 0 ? OnGetItemImage(item) : -1;
}
