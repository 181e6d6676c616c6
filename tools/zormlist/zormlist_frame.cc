#include "tools/zormlist/zormlist_frame.h"

#include <gtk/gtk.h>
#include <wx/msgdlg.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "framework/menu_resource.h"

namespace {

constexpr char kProgramName[] = "zormlist";
// The strip the list keeps its footer in, directly under itself.
constexpr int kFooterHeight = 20;

// wx has no accessibility names on GTK, and the generic list is otherwise mute to a
// screen reader; name both GTK widgets of a window, since the focus lands on the
// inner one.
void SetAccessibleName(wxWindow* window, const wxString& name, const wxString& description) {
  for (GtkWidget* widget : {window->m_widget, window->m_wxwindow}) {
    if (widget == nullptr) continue;
    AtkObject* accessible = gtk_widget_get_accessible(widget);
    if (accessible == nullptr) continue;
    atk_object_set_name(accessible, name.utf8_str());
    atk_object_set_description(accessible, description.utf8_str());
  }
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
  SetItemCount(static_cast<long>(m_file.rows.size()));
  AutoSizeColumns();
  Refresh();
}

wxString CListFileCtrl::OnGetItemText(long item, long column) const {
  if (item < 0 || column < 0 || static_cast<size_t>(item) >= m_file.rows.size()) return {};
  const std::vector<std::string>& cells = m_file.rows[static_cast<size_t>(item)];
  if (static_cast<size_t>(column) >= cells.size()) return {};
  return wxString::FromUTF8(cells[static_cast<size_t>(column)]);
}

CZormListFrame::CZormListFrame(const std::string& path, ListFile file)
    : wxFrame(nullptr, wxID_ANY,
              wxString::Format("%s - %s", kProgramName,
                               wxString::FromUTF8(std::filesystem::path(path).filename().string())),
              wxDefaultPosition, wxSize(900, 600)),
      m_strPath(path) {
  m_wndList.Create(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                   wxLC_REPORT | wxLC_VIRTUAL);
  m_wndList.SetAlternateShading(true);
  m_wndList.GetFooter().Create(this, &m_wndList, wxID_ANY);
  m_wndList.SetContextMenu(kZormListMenuResource, 0);
  m_wndList.SetListMenu(kListCommandsMenuResource);
  // Registry name "zormlist": the list's saved state (filters) will live under it
  // once the list can be given one.
  m_wndList.ShowFile(std::move(file));
  NameListForAccessibility();
  Bind(wxEVT_SIZE, &CZormListFrame::OnSize, this);
  Bind(wxEVT_MENU, &CZormListFrame::OnReload, this, XRCID("zormlist_reload"));
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
  NameListForAccessibility();
}

void CZormListFrame::NameListForAccessibility() {
  const wxString name = wxString::FromUTF8(std::filesystem::path(m_strPath).filename().string());
  const wxString description = wxString::Format("%d rows, %d columns", m_wndList.GetItemCount(),
                                                m_wndList.GetColumnCount());
  SetAccessibleName(&m_wndList, name, description);
  if (wxWindow* rows = m_wndList.GetTargetWindow(); rows && rows != &m_wndList) {
    SetAccessibleName(rows, name, description);
  }
}

void CZormListFrame::OnSize(wxSizeEvent& event) {
  const wxSize client = GetClientSize();
  m_wndList.SetSize(0, 0, client.x, std::max(0, client.y - kFooterHeight));
  event.Skip();
}

void CZormListFrame::OnReload(wxCommandEvent&) { ReloadFile(); }
