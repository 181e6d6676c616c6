// In-place editing: a click on a cell of a column with a registered editor shows
// the editor over the cell; Enter, a click into the list or scrolling the rows
// ends the edit, Escape cancels it. The list tells the owner when an edit begins
// and when it ends without being cancelled; the value stays in the editor.
//
// Editors live in the row window, above the rows: a child of the list itself would
// be drawn under the row window. Scrolling moves the row window's children, so an
// editor that outlives a scroll is put back where it was placed.
#include <wx/settings.h>

#include <algorithm>

#include "framework/accessible_name.h"
#include "listctrl/list_edit_event.h"
#include "listctrl/zorm_list_ctrl.h"

namespace {

const wxEventTypeTag<wxScrollWinEvent> kScrollEvents[] = {
    wxEVT_SCROLLWIN_TOP,      wxEVT_SCROLLWIN_BOTTOM,     wxEVT_SCROLLWIN_LINEUP,
    wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP,     wxEVT_SCROLLWIN_PAGEDOWN,
    wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE};

// A date picker is taller than a row: it grows by this much above and below.
constexpr int kDateEditorGrowth = 3;

bool IsWithin(const wxWindow* window, const wxWindow* ancestor) {
  for (; window != nullptr; window = window->GetParent())
    if (window == ancestor) return true;
  return false;
}

}  // namespace

void CZORMListCtrl::RegisterEditor(unsigned column, const ZORMListCtrlEditItem& item) {
  m_mapEditItems[column] = item;
  BindEditing();
}

void CZORMListCtrl::BindEditing() {
  wxWindow* rows = GetMainWindow();
  if (rows == nullptr || rows == m_pEditingBound) return;
  UnbindEditing();
  rows->Bind(wxEVT_LEFT_DOWN, &CZORMListCtrl::OnEditMouseDown, this);
  rows->Bind(wxEVT_LEFT_UP, &CZORMListCtrl::OnEditMouseUp, this);
  rows->Bind(wxEVT_MOUSEWHEEL, &CZORMListCtrl::OnEditWheel, this);
  // The scroll bars are the list's own; its rows window is what they scroll.
  for (const auto& type : kScrollEvents) Bind(type, &CZORMListCtrl::OnEditScroll, this);
  Bind(wxEVT_MOUSEWHEEL, &CZORMListCtrl::OnEditWheel, this);
  Bind(wxEVT_LIST_END_LABEL_EDIT, &CZORMListCtrl::OnEndLabelEdit, this);
  Bind(wxEVT_CHAR_HOOK, &CZORMListCtrl::OnEditCharHook, this);
  m_pEditingBound = rows;
}

void CZORMListCtrl::UnbindEditing() {
  if (m_pEditingBound == nullptr) return;
  wxWindow* rows = m_pEditingBound;
  rows->Unbind(wxEVT_LEFT_DOWN, &CZORMListCtrl::OnEditMouseDown, this);
  rows->Unbind(wxEVT_LEFT_UP, &CZORMListCtrl::OnEditMouseUp, this);
  rows->Unbind(wxEVT_MOUSEWHEEL, &CZORMListCtrl::OnEditWheel, this);
  for (const auto& type : kScrollEvents) Unbind(type, &CZORMListCtrl::OnEditScroll, this);
  Unbind(wxEVT_MOUSEWHEEL, &CZORMListCtrl::OnEditWheel, this);
  Unbind(wxEVT_LIST_END_LABEL_EDIT, &CZORMListCtrl::OnEndLabelEdit, this);
  Unbind(wxEVT_CHAR_HOOK, &CZORMListCtrl::OnEditCharHook, this);
  m_pEditingBound = nullptr;
}

void CZORMListCtrl::OnEditMouseDown(wxMouseEvent& event) {
  event.Skip();
  m_ptClickDown = event.GetPosition();
}

void CZORMListCtrl::OnEditMouseUp(wxMouseEvent& event) {
  event.Skip();
  const wxPoint down = m_ptClickDown;
  m_ptClickDown = wxPoint(-1, -1);
  // A press that moved as far as a drag is not a click.
  const wxPoint moved = event.GetPosition() - down;
  if (down.x < 0 || std::abs(moved.x) > wxSystemSettings::GetMetric(wxSYS_DRAG_X) ||
      std::abs(moved.y) > wxSystemSettings::GetMetric(wxSYS_DRAG_Y))
    return;
  int flags = 0;
  const long row = HitTest(event.GetPosition(), flags);
  const int column = ColumnAt(row, event.GetPosition());
  // After the list's own handling of the click, which takes the focus.
  CallAfter([this, row, column] { StartEdit(row, column); });
}

int CZORMListCtrl::ColumnAt(long row, const wxPoint& in_rows) const {
  // The generic list's hit test does not tell the column.
  if (row < 0) return -1;
  const wxPoint at = ScreenToClient(GetMainWindow()->ClientToScreen(in_rows));
  for (int column = 0; column < GetColumnCount(); ++column) {
    wxRect cell;
    if (GetSubItemRect(row, column, cell) && at.x >= cell.x && at.x < cell.GetRight() + 1)
      return column;
  }
  return -1;
}

void CZORMListCtrl::StartEdit(long row, int position) {
  m_bEditCancelled = false;
  if (row < 0 || position < 0) return;
  const int column = GetColumnIndexFromOrder(position);
  if (m_pCurrentEditor != nullptr) EndEdit(m_pCurrentEditor);
  const auto found = m_mapEditItems.find(static_cast<unsigned>(column));
  if (column < 0 || found == m_mapEditItems.end() || found->second.editor == nullptr) return;
  const ZORMListCtrlEditItem& item = found->second;
  wxWindow* editor = item.editor;
  m_pCurrentEditor = editor;

  wxRect rect;
  GetSubItemRect(row, position, rect);
  if (auto* box = dynamic_cast<wxTextCtrl*>(editor)) {
    m_strTextBeforeEdit = GetItemText(row, position).utf8_string();
    box->ChangeValue(wxString::FromUTF8(m_strTextBeforeEdit));
  }
  if (dynamic_cast<wxDatePickerCtrl*>(editor) != nullptr)
    rect.Inflate(0, kDateEditorGrowth);
  m_nEditRow = row;
  m_nEditColumn = column;
  SendEditEvent(item, item.begin);
  if (m_pCurrentEditor != editor) return;  // the receiver ended it

  wxWindow* rows = GetMainWindow();
  if (editor->GetParent() != rows) editor->Reparent(rows);
  if (auto* combo = dynamic_cast<wxComboBox*>(editor)) {
    // A GTK combo box is no smaller than its entry and button; its drop-down
    // sizes itself to its entries, so the editor keeps to the row.
    rect.width = std::max(rect.width, combo->GetBestSize().x);
  }
  m_rectEditor = rect;
  editor->SetSize(wxRect(rows->ScreenToClient(ClientToScreen(rect.GetPosition())), rect.GetSize()));
  SetAccessibleName(editor, wxString::FromUTF8(GetColumnHeaderText(position)));
  editor->Show();
  editor->Refresh();
  editor->SetFocus();
}

bool CZORMListCtrl::EndEdit(wxWindow* editor) {
  m_pCurrentEditor = nullptr;
  editor->Hide();
  if (wxWindow* rows = GetMainWindow()) rows->SetFocus();
  m_bEditCancelled = false;
  if (auto* box = dynamic_cast<wxTextCtrl*>(editor))
    m_bEditCancelled = box->GetValue().utf8_string() == m_strTextBeforeEdit;
  if (m_bEditCancelled) return true;
  const auto found = m_mapEditItems.find(static_cast<unsigned>(m_nEditColumn));
  if (found != m_mapEditItems.end()) SendEditEvent(found->second, found->second.end);
  return true;
}

void CZORMListCtrl::CancelEdit() {
  m_bEditCancelled = true;
  if (m_pCurrentEditor != nullptr) m_pCurrentEditor->Hide();
  m_pCurrentEditor = nullptr;
  if (wxWindow* rows = GetMainWindow()) rows->SetFocus();
}

void CZORMListCtrl::SendEditEvent(const ZORMListCtrlEditItem& item, wxEventType type) {
  wxWindow* target = item.notify != nullptr ? item.notify : GetParent();
  if (type == wxEVT_NULL || target == nullptr) return;
  CZORMListEditEvent event(type, m_nEditRow, m_nEditColumn);
  event.SetEventObject(this);
  target->GetEventHandler()->ProcessEvent(event);
}

void CZORMListCtrl::OnEndLabelEdit(wxListEvent& event) {
  // Only the ending of an edit this list runs; the list's own label editing, if
  // any, goes on as usual.
  auto* editor = static_cast<wxWindow*>(event.GetClientData());
  if (editor == nullptr || event.GetEventObject() != this) {
    event.Skip();
    return;
  }
  if (editor != m_pCurrentEditor) return;
  if (event.IsEditCancelled())
    CancelEdit();
  else if (!m_bEditCancelled)
    EndEdit(editor);
}

void CZORMListCtrl::OnEditCharHook(wxKeyEvent& event) {
  // Editors other than the list's own end on Enter and Escape here.
  const int key = event.GetKeyCode();
  const wxWindow* focus = FindFocus();
  wxWindow* editor = nullptr;
  for (const auto& [column, item] : m_mapEditItems)
    if (item.editor != nullptr && IsWithin(focus, item.editor)) editor = item.editor;
  if (editor == nullptr || (key != WXK_RETURN && key != WXK_NUMPAD_ENTER && key != WXK_ESCAPE)) {
    event.Skip();
    return;
  }
  if (key == WXK_ESCAPE)
    CancelEdit();
  else
    EndEdit(editor);
}

void CZORMListCtrl::OnEditWheel(wxMouseEvent& event) {
  event.Skip();
  // The rows scroll, but the wheel does not end an edit; what it scrolls is
  // reported as scroll events before the next idle time.
  m_bWheelScrolling = true;
  CallAfter([this] {
    m_bWheelScrolling = false;
    KeepEditorInPlace();
  });
}

void CZORMListCtrl::OnEditScroll(wxScrollWinEvent& event) {
  event.Skip();
  if (m_pCurrentEditor == nullptr) return;
  if (event.GetOrientation() == wxVERTICAL && !m_bWheelScrolling) {
    EndEdit(m_pCurrentEditor);
    return;
  }
  CallAfter([this] { KeepEditorInPlace(); });
}

void CZORMListCtrl::KeepEditorInPlace() {
  wxWindow* rows = GetMainWindow();
  if (m_pCurrentEditor == nullptr || rows == nullptr) return;
  m_pCurrentEditor->Move(rows->ScreenToClient(ClientToScreen(m_rectEditor.GetPosition())));
}
