#include "tools/zormlist/zormlist_frame.h"

#include <wx/msgdlg.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "framework/accessible_name.h"
#include "framework/menu_resource.h"

namespace {

constexpr char kProgramName[] = "zormlist";
// The strip the list keeps its footer in, directly under itself.
constexpr int kFooterHeight = 20;

wxString FileNameOf(const std::string& path) {
  return wxString::FromUTF8(std::filesystem::path(path).filename().string());
}

}  // namespace

void ShowListFileError(wxWindow* parent, const std::string& message) {
  wxMessageDialog box(parent, wxString::FromUTF8(message), kProgramName, wxOK | wxICON_STOP);
  box.ShowModal();
}

void CListFileCtrl::ShowFile(const ListFile& file) {
  // The columns belong to the report view; they can only be replaced there.
  const View view = GetView();
  SetView(View::kReport);
  Freeze();
  DeleteAllItems();
  DeleteAllColumns();
  for (const std::string& name : file.columns) AppendColumn(wxString::FromUTF8(name));
  for (size_t row = 0; row < file.rows.size(); ++row) {
    const std::vector<std::string>& cells = file.rows[row];
    const long item = InsertItem(long(row), cells.empty() ? wxString() : wxString::FromUTF8(cells[0]));
    for (size_t column = 1; column < cells.size(); ++column)
      SetItem(item, int(column), wxString::FromUTF8(cells[column]));
  }
  AutoSizeColumns();
  Thaw();
  SetView(view);
}

CZormListFrame::CZormListFrame(const std::string& path, ListFile file)
    : wxFrame(nullptr, wxID_ANY,
              wxString::Format("%s - %s", kProgramName, FileNameOf(path)),
              wxDefaultPosition, wxSize(900, 600)),
      m_strPath(path) {
  m_wndList.Create(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT);
  m_wndList.SetAlternateShading(true);
  m_wndList.GetFooter().Create(this, &m_wndList, wxID_ANY);
  m_wndList.SetContextMenu(kZormListMenuResource, 0);
  m_wndList.SetListMenu(kListCommandsMenuResource);
  m_wndList.SetRegistryName(kProgramName);
  m_wndList.ShowFile(file);
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
  m_wndList.ShowFile(file);
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
