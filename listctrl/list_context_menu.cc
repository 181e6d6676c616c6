// The list's context menu: the owner's menu resource, with the list menu's commands
// and a "Copy Column" popup appended when the list has a list menu.
#include <wx/app.h>
#include <wx/msgdlg.h>

#include <memory>

#include "framework/menu_resource.h"
#include "listctrl/menu_prepare_event.h"
#include "listctrl/zorm_list_ctrl.h"

namespace {

// The keyboard asks for the menu at (-1, -1); it then opens this far inside the
// list's top-left corner.
constexpr int kKeyboardMenuInset = 5;

// Menu texts take '&' as the mnemonic mark; a header's own '&' must stay visible.
wxString MenuText(const std::string& text) {
  wxString escaped = wxString::FromUTF8(text);
  escaped.Replace("&", "&&");
  return escaped;
}

void ShowMenuError(const char* text) {
  wxMessageDialog(nullptr, text, wxTheApp->GetAppDisplayName(), wxOK | wxICON_INFORMATION)
      .ShowModal();
}

}  // namespace

void CZORMListCtrl::SetContextMenu(unsigned menu, unsigned submenu, wxWindow* owner,
                                   wxEventType prepare, wxWindow* target) {
  m_nContextMenu = menu;
  m_nContextSubmenu = submenu;
  m_pMenuOwner = owner;
  m_menuPrepare = prepare;
  m_pMenuPrepareTarget = target;
}

std::string CZORMListCtrl::GetColumnHeaderText(int column) const {
  wxListItem item;
  item.SetMask(wxLIST_MASK_TEXT);
  if (column < 0 || column >= GetColumnCount() || !GetColumn(column, item)) return {};
  // The system reads header texts into 128 characters, its end mark included.
  return item.GetText().Left(127).utf8_string();
}

wxWindow* CZORMListCtrl::ContextMenuOwner() {
  if (m_pMenuOwner != nullptr) return m_pMenuOwner;
  return wxGetTopLevelParent(this);
}

void CZORMListCtrl::OnContextMenu(wxContextMenuEvent& event) {
  if (m_nContextMenu == 0) return;
  wxPoint point = event.GetPosition();
  if (point == wxDefaultPosition)
    point = ClientToScreen(wxPoint(kKeyboardMenuInset, kKeyboardMenuInset));

  std::unique_ptr<wxMenuBar> resource = LoadMenuResource(m_nContextMenu);
  if (!resource) {
    ShowMenuError("Unable to load menu resource");
    return;
  }
  if (m_nContextSubmenu >= resource->GetMenuCount()) {
    ShowMenuError("Unable to find submenu");
    return;
  }
  std::unique_ptr<wxMenu> popup(resource->Remove(m_nContextSubmenu));

  wxWindow* owner = ContextMenuOwner();
  if (m_menuPrepare != wxEVT_NULL) {
    CZORMMenuPrepareEvent prepare(m_menuPrepare, popup.get());
    prepare.SetEventObject(this);
    wxWindow* target = m_pMenuPrepareTarget != nullptr ? m_pMenuPrepareTarget : owner;
    target->GetEventHandler()->ProcessEvent(prepare);
  }
  AppendListMenu(popup.get());
  owner->PopupMenu(popup.get(), owner->ScreenToClient(point));
}

void CZORMListCtrl::AppendListMenu(wxMenu* popup) {
  if (m_nListMenu == 0) return;
  std::unique_ptr<wxMenuBar> listMenu = LoadMenuResource(m_nListMenu);
  if (!listMenu) return;
  m_nNextCommandId = kFirstAddedCommand;
  m_mapCommandCodes.clear();
  m_mapColumnCopy.clear();
  if (listMenu->GetMenuCount() == 0) return;

  BindAddedCommands(popup);
  popup->AppendSeparator();
  auto* columns = new wxMenu;
  BindAddedCommands(columns);
  for (int position = 0; position < GetColumnCount(); ++position) {
    columns->Append(m_nNextCommandId, MenuText(GetColumnHeaderText(position)));
    m_mapColumnCopy[m_nNextCommandId++] = GetColumnIndexFromOrder(position);
  }
  popup->AppendSubMenu(columns, "Copy Column");
  CopyListMenuItems(*listMenu->GetMenu(0), popup);
}

void CZORMListCtrl::CopyListMenuItems(const wxMenu& source, wxMenu* target) {
  const View view = GetView();
  for (const wxMenuItem* item : source.GetMenuItems()) {
    const wxString text = item->GetItemLabel();
    if (wxMenu* submenu = item->GetSubMenu()) {
      auto* copy = new wxMenu;
      BindAddedCommands(copy);
      CopyListMenuItems(*submenu, copy);
      target->AppendSubMenu(copy, text);
      continue;
    }
    if (item->IsSeparator() || text.empty()) {
      target->AppendSeparator();
      continue;
    }
    const char code = char(text.Last().GetValue());
    const bool isViewItem = code >= '1' && code <= '4';
    static constexpr View kViewOfCode[] = {View::kIcon, View::kList, View::kReport,
                                           View::kSmallIcon};
    wxMenuItem* added =
        target->Append(m_nNextCommandId, text, wxString(), isViewItem ? wxITEM_CHECK : wxITEM_NORMAL);
    if (isViewItem) added->Check(kViewOfCode[code - '1'] == view);
    m_mapCommandCodes[m_nNextCommandId++] = code;
  }
}

void CZORMListCtrl::BindAddedCommands(wxMenu* menu) {
  // The added items reach the list whoever owns the menu: a menu's own handlers
  // see its commands before the window it was shown in.
  menu->Bind(wxEVT_MENU, &CZORMListCtrl::OnAddedCommand, this, kFirstAddedCommand,
             kFirstAddedCommand + kAddedCommandCount - 1);
}

void CZORMListCtrl::OnAddedCommand(wxCommandEvent& event) {
  const int id = event.GetId();
  if (auto column = m_mapColumnCopy.find(id); column != m_mapColumnCopy.end()) {
    CopyColumn(column->second);
  } else if (auto code = m_mapCommandCodes.find(id); code != m_mapCommandCodes.end()) {
    RunListCommand(code->second);
  }
}
