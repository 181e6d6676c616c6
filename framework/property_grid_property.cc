#include "framework/property_grid_property.h"

#include <wx/propgrid/propgrid.h>

#include "framework/property_grid_value_cell.h"

namespace {

constexpr const char* kFalseText = "False";
constexpr const char* kTrueText = "True";

}  // namespace

CZORMPropertyGridProperty::CZORMPropertyGridProperty(const wxString& name, const wxVariant& value,
                                                     const wxString& description, uintptr_t data)
    : wxPropertyCategory(name), m_strDescription(description), m_dwData(data) {
  SetParentalType(wxPG_PROP_PROPERTY);
  if (value.GetType() == "bool") {
    m_choices.Add(kFalseText);
    m_choices.Add(kTrueText);
  }
  SetValue(value);
}

CZORMPropertyGridProperty::CZORMPropertyGridProperty(const wxString& group_name, uintptr_t data,
                                                     bool is_value_list)
    : wxPropertyCategory(group_name), m_dwData(data), m_bIsValueList(is_value_list) {}

CZORMPropertyGridProperty::~CZORMPropertyGridProperty() {
  for (CZORMPropertyGridProperty* child : m_pendingSubItems) delete child;
}

void CZORMPropertyGridProperty::AllowEdit(bool allow) {
  m_bAllowEdit = allow;
  // A row without an editor can still be selected, unlike a disabled one.
  ChangeFlag(wxPG_PROP_NOEDITOR, !allow);
}

bool CZORMPropertyGridProperty::AddSubItem(CZORMPropertyGridProperty* child) {
  if (!child || child == this || child->GetParent() || child->GetParentState()) return false;
  if (wxPropertyGrid* grid = GetGrid()) {
    grid->AppendIn(this, child);
    child->AttachPendingSubItems();
  } else {
    // wxPropertyGrid only accepts children of a group once the group is in it.
    m_pendingSubItems.push_back(child);
  }
  return true;
}

void CZORMPropertyGridProperty::AttachPendingSubItems() {
  wxPropertyGrid* grid = GetGrid();
  if (!grid) return;
  std::vector<CZORMPropertyGridProperty*> pending;
  pending.swap(m_pendingSubItems);
  for (CZORMPropertyGridProperty* child : pending) {
    grid->AppendIn(this, child);
    child->AttachPendingSubItems();
  }
}

void CZORMPropertyGridProperty::ResetOriginalValue() {
  SetValue(m_varOriginal);
  SetModifiedStatus(false);
}

bool CZORMPropertyGridProperty::HoldsBoolean() const { return m_value.GetType() == "bool"; }

wxString CZORMPropertyGridProperty::ValueToString(wxVariant& value, int arg_flags) const {
  if (IsGroup()) return wxPropertyCategory::ValueToString(value, arg_flags);
  if (value.IsNull()) return wxString();
  if (value.GetType() == "bool") return value.GetBool() ? kTrueText : kFalseText;
  if (value.GetType() == "string") return value.GetString();
  return value.MakeString();
}

wxString CZORMPropertyGridProperty::GetValueAsString(int arg_flags) const {
  if (IsGroup()) return wxPropertyCategory::GetValueAsString(arg_flags);
  // Also for a row outside any grid, which wxPropertyGrid's version refuses.
  wxVariant value = m_value;
  return ValueToString(value, arg_flags);
}

bool CZORMPropertyGridProperty::StringToValue(wxVariant& variant, const wxString& text,
                                              int arg_flags) const {
  if (HoldsBoolean()) {
    const bool on = text.CmpNoCase(kTrueText) == 0 || text == "1";
    if (variant.GetType() == "bool" && variant.GetBool() == on) return false;
    variant = on;
    return true;
  }
  if (variant.GetType() == "string" && variant.GetString() == text) return false;
  variant = text;
  return true;
}

bool CZORMPropertyGridProperty::IntToValue(wxVariant& variant, int number, int arg_flags) const {
  if (!HoldsBoolean()) return false;
  const bool on = number != 0;
  if (variant.GetType() == "bool" && variant.GetBool() == on) return false;
  variant = on;
  return true;
}

int CZORMPropertyGridProperty::GetChoiceSelection() const {
  if (!HoldsBoolean()) return -1;
  return m_value.GetBool() ? 1 : 0;
}

const wxPGEditor* CZORMPropertyGridProperty::DoGetEditorClass() const {
  if (IsGroup()) return wxPGEditor_TextCtrl;
  // Our text editor also stands for "no editor" (see CreateControls), even for a
  // boolean that would otherwise get its True/False choice.
  if (HoldsBoolean() && m_bAllowEdit) return wxPGEditor_Choice;
  return CZORMPropertyGridTextEditor::Get();
}

wxPGCellRenderer* CZORMPropertyGridProperty::GetCellRenderer(int column) const {
  if (column == 1 && !IsGroup()) return CZORMPropertyGridValueRenderer::Get();
  return wxPropertyCategory::GetCellRenderer(column);
}

void CZORMPropertyGridProperty::OnSetValue() {
  if (!m_bUserChange) m_varOriginal = m_value;
}
