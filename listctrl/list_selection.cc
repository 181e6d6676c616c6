// Reading and setting the selection of many rows at once.
//
// The generic list keeps a virtual list's selection as a sorted array of rows, but
// asks it row by row with a linear search: reading a selection of k rows out of n
// costs n times k, minutes for half a million rows. So the list remembers the
// selection its own commands made and answers from that while nothing else can
// have changed it: any mouse press or key press in the row window (other than the
// list's own Ctrl+key commands), a row selected or deselected, a new row count or
// a different count of selected rows makes it read the list again.
#include <wx/window.h>

#include "listctrl/zorm_list_ctrl.h"

std::vector<long> CZORMListCtrl::GetSelectedRows() const {
  if (m_bSelectionKnown && long(m_knownSelection.size()) == GetSelectedItemCount())
    return m_knownSelection;
  std::vector<long> rows;
  rows.reserve(GetSelectedItemCount());
  for (long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
       row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
    rows.push_back(row);
  return rows;
}

void CZORMListCtrl::SelectOnly(std::vector<long> rows) {
  // The generic list reads a whole row, every cell and attribute, for each row
  // whose state is set, so rows are set one by one as few times as possible: more
  // than half of the rows are selected all at once and the others deselected.
  // Going in ascending order appends to the list's array instead of inserting.
  const long count = GetItemCount();
  m_bSettingSelection = true;
  if (long(rows.size()) * 2 <= count) {
    SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    for (long row : rows) SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  } else {
    SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    auto next = rows.begin();
    for (long row = 0; row < count; ++row) {
      if (next != rows.end() && *next == row)
        ++next;
      else
        SetItemState(row, 0, wxLIST_STATE_SELECTED);
    }
  }
  m_bSettingSelection = false;
  RememberSelection(std::move(rows));
}

void CZORMListCtrl::SelectAll() {
  SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  std::vector<long> rows(GetItemCount());
  for (long row = 0; row < long(rows.size()); ++row) rows[row] = row;
  RememberSelection(std::move(rows));
}

void CZORMListCtrl::InvertSelection() {
  const long count = GetItemCount();
  const std::vector<long> selected = GetSelectedRows();
  std::vector<long> others;
  others.reserve(count - selected.size());
  auto next = selected.begin();
  for (long row = 0; row < count; ++row) {
    if (next != selected.end() && *next == row)
      ++next;
    else
      others.push_back(row);
  }
  SelectOnly(std::move(others));
}

void CZORMListCtrl::SetItemCount(long count) {
  ForgetSelection();
  wxListCtrl::SetItemCount(count);
}

void CZORMListCtrl::RememberSelection(std::vector<long> rows) {
  // A plain list answers row by row quickly; only a virtual list needs the copy.
  if (IsVirtual()) {
    m_knownSelection = std::move(rows);
    m_bSelectionKnown = true;
  }
  RefreshFooter();
}

void CZORMListCtrl::ForgetSelection() {
  m_bSelectionKnown = false;
  m_knownSelection = {};
}

void CZORMListCtrl::OnRowWindowInput(wxEvent& event) {
  event.Skip();
  if (auto* key = dynamic_cast<wxKeyEvent*>(&event)) {
    const int code = key->GetKeyCode();
    // The list's own commands keep what they know; the generic list does not
    // change the selection on these keys.
    if (key->ControlDown() && code >= '1' && code <= 'Y') return;
  }
  ForgetSelection();
}

long CZORMListCtrl::GetFirstSelectedRow() const {
  // Finding it by asking row after row would cost a long virtual list a moment on
  // every repaint when the selection starts far down.
  if (m_bSelectionKnown && long(m_knownSelection.size()) == GetSelectedItemCount())
    return m_knownSelection.empty() ? -1 : m_knownSelection.front();
  return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}
