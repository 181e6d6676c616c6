#include "tools/zormlist/zormlist_frame.h"

#include <wx/msgdlg.h>

#include <algorithm>
#include <set>
#include <filesystem>
#include <utility>

#include "framework/accessible_name.h"
#include "framework/menu_resource.h"
#include "tools/zormlist/row_move.h"
#include "platform/ole_date.h"

namespace {

constexpr char kProgramName[] = "zormlist";
// The texts a check-box column holds, and how its dates are written back.
constexpr char kChecked[] = "Yes";
constexpr char kUnchecked[] = "No";
constexpr char kDatePattern[] = "%Y-%m-%d";

const wxEventTypeTag<CZORMListEditEvent> kBeginEdit(wxNewEventType());
const wxEventTypeTag<CZORMListEditEvent> kEndEdit(wxNewEventType());

bool EndsWith(const std::string& text, char last) { return !text.empty() && text.back() == last; }

// Whether a check-box cell's text reads as checked.
bool IsCheckedText(const wxString& text) {
  const wxString lower = text.Lower().Strip(wxString::both);
  return lower == "yes" || lower == "y" || lower == "true" || lower == "1" || lower == "x";
}

// The editor of `column`, by its name and place.
wxWindow* EditorOf(CListFileCtrl& list, size_t column) {
  const std::string& name = list.GetFile().columns[column];
  if (EndsWith(name, '?')) return &list.GetCheckboxEditor();
  if (EndsWith(name, '@')) return &list.GetDateEditor();
  if (column == 0) return &list.GetComboEditor();
  return &list.GetTextEditor();
}
// The strip the list keeps its footer in, directly under itself.
constexpr int kFooterHeight = 20;

// The list tells its owner of changed filters with this event.
const wxEventTypeTag<CZORMFilterChangeEvent> kFiltersChanged(wxNewEventType());

wxString FileNameOf(const std::string& path) {
  return wxString::FromUTF8(std::filesystem::path(path).filename().string());
}

}  // namespace

void ShowListFileError(wxWindow* parent, const std::string& message) {
  wxMessageDialog box(parent, wxString::FromUTF8(message), kProgramName, wxOK | wxICON_STOP);
  box.ShowModal();
}

void CListFileCtrl::ShowFile(ListFile file) {
  SetItemCount(0);
  DeleteAllColumns();
  m_file = std::move(file);
  for (size_t column = 0; column < m_file.columns.size(); ++column) {
    AppendColumn(wxString::FromUTF8(m_file.columns[column]));
  }
  std::vector<size_t> all(m_file.rows.size());
  for (size_t row = 0; row < all.size(); ++row) all[row] = row;
  ShowRows(std::move(all));
  AutoSizeColumns();
}

void CListFileCtrl::ShowRows(std::vector<size_t> rows) {
  m_shown = std::move(rows);
  SetItemCount(static_cast<long>(m_shown.size()));
  Refresh();
}

wxString CListFileCtrl::GetCellText(long item, long column) const {
  if (item < 0 || column < 0 || static_cast<size_t>(item) >= m_shown.size()) return {};
  const std::vector<std::string>& cells = m_file.rows[m_shown[static_cast<size_t>(item)]];
  if (static_cast<size_t>(column) >= cells.size()) return {};
  return wxString::FromUTF8(cells[static_cast<size_t>(column)]);
}

CZormListFrame::CZormListFrame(const std::string& path, ListFile file)
    : wxFrame(nullptr, wxID_ANY,
              wxString::Format("%s - %s", kProgramName, FileNameOf(path)),
              wxDefaultPosition, wxSize(900, 600)),
      m_strPath(path) {
  m_wndList.Create(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                   wxLC_REPORT | wxLC_VIRTUAL);
  m_wndList.SetAlternateShading(true);
  m_wndList.GetFooter().Create(this, &m_wndList, wxID_ANY);
  m_wndList.SetContextMenu(kZormListMenuResource, 0);
  m_wndList.SetListMenu(kListCommandsMenuResource);
  m_wndList.SetRegistryName(kProgramName);
  m_wndList.ShowFile(std::move(file));
  SwitchOnFilters();
  NameListForAccessibility();
  SetUpEditors();
  Bind(wxEVT_SIZE, &CZormListFrame::OnSize, this);
  Bind(wxEVT_MENU, &CZormListFrame::OnReload, this, MenuResourceCommandId("zormlist_reload"));
  EnableRowDragging();
  m_wndList.SetFocus();
}

void CZormListFrame::ReloadFile() {
  ListFile file;
  const Status status = ReadListFile(m_strPath, &file);
  if (!status.ok()) {
    ShowListFileError(this, status.message());
    return;
  }
  m_wndList.ShowFile(std::move(file));
  ShowFilteredRows();
  SetUpEditors();
}

void CZormListFrame::NameListForAccessibility() {
  // The rows' window is the one that takes the focus; a screen reader names the
  // list after the file it shows.
  if (wxWindow* rows = m_wndList.GetTargetWindow()) {
    SetAccessibleName(rows, FileNameOf(m_strPath));
  }
}

void CZormListFrame::OnSize(wxSizeEvent& event) {
  const wxSize client = GetClientSize();
  m_wndList.SetSize(0, 0, client.x, std::max(0, client.y - kFooterHeight));
  event.Skip();
}

void CZormListFrame::OnReload(wxCommandEvent&) { ReloadFile(); }

void CZormListFrame::EnableRowDragging() {
  m_wndList.EnableDrag();
  m_wndList.SetDropNotification(this);
  Bind(wxEVT_ZORM_LIST_DROP, &CZormListFrame::OnRowsDropped, this);
}

void CZormListFrame::OnRowsDropped(CZORMListDropEvent&) {
  const ZORMListCtrlDragState& drag = m_wndList.GetDragState();
  if (drag.window_under_pointer != &m_wndList || drag.drop_row < 0) return;
  const std::vector<long> selected = m_wndList.GetSelectedRows();
  std::vector<size_t> shown(size_t(m_wndList.GetItemCount()));
  for (size_t row = 0; row < shown.size(); ++row) shown[row] = m_wndList.FileRowOf(long(row));
  long first = 0;
  m_wndList.ShowRows(MoveRowsBefore(shown, selected, drag.drop_row, &first));
  m_wndList.SetItemState(-1, 0, wxLIST_STATE_SELECTED);
  for (long row = first; row < first + long(selected.size()); ++row)
    m_wndList.SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  m_wndList.SetItemState(first, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
}

void CZormListFrame::SwitchOnFilters() {
  m_wndList.EnableFilterBar();
  m_wndList.SetFilterChangeMessage(kFiltersChanged, this);
  Bind(kFiltersChanged, &CZormListFrame::OnFiltersChanged, this);
  m_wndList.LoadListState();  // the default filter shows its rows at once
}

void CZormListFrame::OnFiltersChanged(CZORMFilterChangeEvent&) { ShowFilteredRows(); }

void CZormListFrame::ShowFilteredRows() {
  const ZORMFilterMap& filters = m_wndList.GetFilters();
  const std::vector<std::vector<std::string>>& rows = m_wndList.GetFile().rows;
  std::vector<size_t> shown;
  shown.reserve(rows.size());
  for (size_t row = 0; row < rows.size(); ++row) {
    if (RowPassesFilters(rows[row], filters)) shown.push_back(row);
  }
  m_wndList.ShowRows(std::move(shown));
}

void CZormListFrame::SetUpEditors() {
  CListFileCtrl& list = m_wndList;
  if (!m_bEditEventsBound) {
    Bind(kBeginEdit, &CZormListFrame::OnBeginEdit, this);
    Bind(kEndEdit, &CZormListFrame::OnEndEdit, this);
    m_bEditEventsBound = true;
  }
  for (size_t column = 0; column < list.GetFile().columns.size(); ++column) {
    CZORMListCtrl::ZORMListCtrlEditItem item;
    item.editor = EditorOf(list, column);
    item.notify = this;
    item.begin = kBeginEdit;
    item.end = kEndEdit;
    list.RegisterEditor(static_cast<unsigned>(column), item);
  }
}

void CZormListFrame::OnBeginEdit(CZORMListEditEvent& event) {
  CListFileCtrl& list = m_wndList;
  const int column = event.GetColumn();
  const wxString text = list.GetCellText(event.GetRow(), column);
  wxWindow* editor = list.GetCurrentEditor();
  if (editor == &list.GetComboEditor()) {
    // The column's values, each once, in order.
    std::set<std::string> values;
    for (const auto& row : list.GetFile().rows) values.insert(row[size_t(column)]);
    wxArrayString entries;
    for (const std::string& value : values) entries.push_back(wxString::FromUTF8(value));
    list.GetComboEditor().Set(entries);
    list.GetComboEditor().ChangeValue(text);
  } else if (editor == &list.GetCheckboxEditor()) {
    list.GetCheckboxEditor().SetValue(IsCheckedText(text));
  } else if (editor == &list.GetDateEditor()) {
    struct tm parts = {};
    const OleDate date = ParseOleDate(text.utf8_string());
    wxDateTime value = wxDateTime::Today();
    if (date.IsValid() && date.ToParts(&parts))
      value = wxDateTime(parts.tm_mday, wxDateTime::Month(parts.tm_mon), parts.tm_year + 1900);
    list.GetDateEditor().SetValue(value);
  }
}

void CZormListFrame::OnEndEdit(CZORMListEditEvent& event) {
  CListFileCtrl& list = m_wndList;
  const long item = event.GetRow();
  const size_t column = static_cast<size_t>(event.GetColumn());
  if (item < 0 || item >= list.GetItemCount()) return;
  std::vector<std::string>& cells = list.GetFile().rows[list.FileRowOf(item)];
  if (column >= cells.size()) return;
  const wxWindow* editor = EditorOf(list, column);
  std::string value;
  if (editor == &list.GetCheckboxEditor()) {
    value = list.GetCheckboxEditor().GetValue() ? kChecked : kUnchecked;
  } else if (editor == &list.GetDateEditor()) {
    const wxDateTime date = list.GetDateEditor().GetValue();
    value = date.IsValid() ? date.Format(kDatePattern).utf8_string() : std::string();
  } else if (editor == &list.GetComboEditor()) {
    value = list.GetComboEditor().GetValue().utf8_string();
  } else {
    value = list.GetTextEditor().GetValue().utf8_string();
  }
  cells[column] = value;
  list.RefreshItem(item);
}
