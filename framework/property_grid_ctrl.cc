#include "framework/property_grid_ctrl.h"

#include "framework/property_grid_property.h"

namespace {

// Clears a flag when it goes out of scope.
struct FlagScope {
  bool* flag;
  ~FlagScope() {
    if (flag) *flag = false;
  }
};

}  // namespace

CZORMPropertyGridCtrl::CZORMPropertyGridCtrl() = default;

CZORMPropertyGridCtrl::CZORMPropertyGridCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                             const wxSize& size, long style) {
  Create(parent, id, pos, size, style);
}

bool CZORMPropertyGridCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                   const wxSize& size, long style) {
  if (!wxPropertyGrid::Create(parent, id, pos, size, style)) return false;
  Bind(wxEVT_SIZE, &CZORMPropertyGridCtrl::OnSize, this);
  AdjustLayout();
  return true;
}

int CZORMPropertyGridCtrl::AddProperty(CZORMPropertyGridProperty* prop, bool redraw,
                                       bool adjust_layout) {
  if (!prop || prop->GetParent() || prop->GetParentState()) return -1;
  // At the top level even after a group (Append() would put it in the last group).
  Insert(GetRoot(), -1, prop);
  prop->AttachPendingSubItems();
  if (adjust_layout) AdjustLayout();
  if (redraw) Refresh();
  return static_cast<int>(prop->GetIndexInParent());
}

void CZORMPropertyGridCtrl::AdjustLayout() {
  SetSplitterPosition(m_nNameWidth);
  RecalculateVirtualSize();
}

void CZORMPropertyGridCtrl::OnSize(wxSizeEvent& event) {
  // wxPropertyGrid's own resizing first (it may move the divider), then ours.
  OnResize(event);
  AdjustLayout();
}

bool CZORMPropertyGridCtrl::DoPropertyChanged(wxPGProperty* p, unsigned int sel_flags) {
  auto* row = dynamic_cast<CZORMPropertyGridProperty*>(p);
  // Only a row whose own value changed; a composed parent is wxPropertyGrid's alone.
  if (row && m_chgInfo_changedProperty != p) row = nullptr;

  if (row && MustRevert(*row, m_chgInfo_pendingValue)) {
    row->ResetOriginalValue();
    if (GetSelection() == row) RefreshEditor();
    DrawItem(row);
    return true;
  }

  // While the user's value is stored, the row's original value stays the program's.
  FlagScope user_change{row ? &row->m_bUserChange : nullptr};
  if (row) row->m_bUserChange = true;
  // The parent and the dependents read the new value, so it is stored before them;
  // wxPropertyGrid's own handling stores the same value again, marks the row as
  // changed by the user (bold) and tells the owner.
  if (row) row->SetValue(m_chgInfo_pendingValue, &m_chgInfo_valueList, 0);
  NotifyParent(p);
  if (row) ShowDependents(*row);
  return wxPropertyGrid::DoPropertyChanged(p, sel_flags);
}

bool CZORMPropertyGridCtrl::MustRevert(const CZORMPropertyGridProperty& prop,
                                       const wxVariant& pending) {
  if (!prop.m_bRevertIfEmpty) return false;
  wxVariant new_value = pending;
  wxVariant original = prop.m_varOriginal;
  return prop.ValueToString(new_value).empty() && !prop.ValueToString(original).empty();
}

void CZORMPropertyGridCtrl::NotifyParent(wxPGProperty* p) {
  wxWindow* parent = GetParent();
  if (m_nNotifyMessage == wxEVT_NULL || !parent) return;
  wxCommandEvent event(m_nNotifyMessage, GetId());
  event.SetEventObject(this);
  event.SetClientData(p);
  parent->GetEventHandler()->SafelyProcessEvent(event);
}

void CZORMPropertyGridCtrl::ShowDependents(const CZORMPropertyGridProperty& prop) {
  if (prop.m_dependents.empty()) return;
  wxVariant value = prop.GetValue();
  bool on = false;  // also for a value that does not read as a boolean
  if (!value.IsNull()) value.Convert(&on);
  for (CZORMPropertyGridProperty* dependent : prop.m_dependents) {
    if (!dependent || dependent->GetGrid() != this) continue;
    HideProperty(dependent, !on);
    AdjustLayout();
  }
}
