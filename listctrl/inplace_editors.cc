#include "listctrl/inplace_editors.h"

#include <wx/listctrl.h>

void CZORMInplaceEnding::HookEnding(wxWindow* self) {
  m_pSelf = self;
  // Key presses in the editor's inner windows (the combo's entry, the date
  // picker's parts) reach it here too, before any of them handles the key.
  self->Bind(wxEVT_CHAR_HOOK, &CZORMInplaceEnding::OnCharHook, this);
  self->Bind(wxEVT_KILL_FOCUS, &CZORMInplaceEnding::OnKillFocus, this);
}

void CZORMInplaceEnding::OnCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      m_nCancel = 1;
      EndEditing();
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      EndEditing();
      return;
    default:
      event.Skip();
  }
}

void CZORMInplaceEnding::OnKillFocus(wxFocusEvent& event) {
  event.Skip();
  // The window that takes the focus is known only once it has it.
  m_pSelf->CallAfter([this] {
    if (m_pSelf->IsShown() && IsInList(wxWindow::FindFocus())) EndEditing();
  });
}

wxWindow* CZORMInplaceEnding::GetList() const {
  // The list keeps its editors in its row window.
  for (wxWindow* window = m_pSelf->GetParent(); window != nullptr; window = window->GetParent())
    if (dynamic_cast<wxListCtrl*>(window) != nullptr) return window;
  return m_pSelf->GetParent();
}

bool CZORMInplaceEnding::IsInList(const wxWindow* focus) const {
  const wxWindow* list = GetList();
  for (const wxWindow* window = focus; window != nullptr; window = window->GetParent()) {
    if (window == m_pSelf) return false;
    if (window == list) return true;
  }
  return false;
}

void CZORMInplaceEnding::EndEditing() {
  wxWindow* list = GetList();
  const bool cancelled = m_nCancel != 0;
  m_nCancel = 0;
  if (list == nullptr) return;
  wxListEvent end(wxEVT_LIST_END_LABEL_EDIT, list->GetId());
  end.SetEventObject(list);
  end.SetEditCanceled(cancelled);
  end.SetClientData(m_pSelf);
  list->GetEventHandler()->ProcessEvent(end);
}

bool CZORMListCtrl_Edit::Create(wxWindow* rows, wxWindowID id) {
  // Hidden from the start: the list shows it over a cell.
  wxTextCtrl::Hide();
  if (!wxTextCtrl::Create(rows, id, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxTE_PROCESS_ENTER, wxDefaultValidator, "CZORMListCtrl_Edit"))
    return false;
  HookEnding(this);
  return true;
}

bool CZORMListCtrl_Combo::Create(wxWindow* rows, wxWindowID id) {
  wxComboBox::Hide();
  if (!wxComboBox::Create(rows, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                          wxTE_PROCESS_ENTER, wxDefaultValidator, "CZORMListCtrl_Combo"))
    return false;
  HookEnding(this);
  Bind(wxEVT_COMBOBOX_DROPDOWN, &CZORMListCtrl_Combo::OnDropDown, this);
  Bind(wxEVT_COMBOBOX_CLOSEUP, &CZORMListCtrl_Combo::OnCloseUp, this);
  return true;
}

void CZORMListCtrl_Combo::OnDropDown(wxCommandEvent& event) {
  event.Skip();
  m_strShownAtDropDown = GetValue();
}

void CZORMListCtrl_Combo::OnCloseUp(wxCommandEvent& event) {
  event.Skip();
  // A choice made in the drop-down may be reported before or after it closes;
  // look once both have happened.
  CallAfter([this] {
    if (IsShown() && GetValue() == m_strShownAtDropDown) EndEditing();
  });
}

bool CZORMListCtrl_Checkbox::Create(wxWindow* rows, wxWindowID id) {
  wxCheckBox::Hide();
  if (!wxCheckBox::Create(rows, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                          wxDefaultValidator, "CZORMListCtrl_Checkbox"))
    return false;
  HookEnding(this);
  return true;
}

bool CZORMListCtrl_Date::Create(wxWindow* rows, wxWindowID id) {
  wxDatePickerCtrl::Hide();
  if (!wxDatePickerCtrl::Create(rows, id, wxDefaultDateTime, wxDefaultPosition, wxDefaultSize,
                                wxDP_DROPDOWN | wxDP_SHOWCENTURY, wxDefaultValidator,
                                "CZORMListCtrl_Date"))
    return false;
  HookEnding(this);
  return true;
}
