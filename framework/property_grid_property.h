// One row of the framework's property grid: either a value (a name, a value that is
// text or a boolean, a description kept with it) or a group that holds other rows.
//
// A value row paints its value cell in its own colours, may use a plain text editor
// with a style of its own and a length limit, may refuse to be left empty by the
// user, and, when its value is a boolean, shows or hides its dependent rows as the
// user switches it. The grid (CZORMPropertyGridCtrl) carries out the reactions to
// the user's changes; the row only holds the settings.
//
// GUI thread only. Once added to a grid (or to a group), a row is owned by it.
#pragma once

#include <wx/propgrid/property.h>

#include "framework/property_grid_value_cell.h"

#include <cstdint>
#include <vector>

class CZORMPropertyGridCtrl;

// Groups and values share one class, as the grid's users expect. wxPropertyGrid
// treats every row flagged as a category as a wxPropertyCategory, so the class
// derives from it; a value row switches itself back to an ordinary property.
class CZORMPropertyGridProperty : public wxPropertyCategory, public CZORMPropertyGridCellLook {
 public:
  // A value row. `value` is a string (the usual case) or a boolean; `data` is the
  // caller's own (see GetData()). The description is kept, never displayed.
  CZORMPropertyGridProperty(const wxString& name, const wxVariant& value,
                            const wxString& description = wxString(), uintptr_t data = 0);
  // The same for a description written as a literal, which would otherwise read as
  // the group constructor's value-list flag.
  CZORMPropertyGridProperty(const wxString& name, const wxVariant& value, const char* description,
                            uintptr_t data = 0)
      : CZORMPropertyGridProperty(name, value, wxString(description), data) {}
  // A group row. A value-list group (one that shows its children's values joined in
  // its own value cell) is not supported: `is_value_list` is kept for the callers'
  // sake and the group behaves as a plain group.
  explicit CZORMPropertyGridProperty(const wxString& group_name, uintptr_t data = 0,
                                     bool is_value_list = false);
  ~CZORMPropertyGridProperty() override;

  CZORMPropertyGridProperty(const CZORMPropertyGridProperty&) = delete;
  CZORMPropertyGridProperty& operator=(const CZORMPropertyGridProperty&) = delete;

  bool IsGroup() const { return IsCategory(); }
  bool IsValueList() const { return m_bIsValueList; }
  uintptr_t GetData() const { return m_dwData; }
  // The description given at construction (never shown by the grid).
  wxString GetDescription() const { return m_strDescription; }

  // With editing not allowed the grid opens no editor for this row; it can still be
  // selected.
  void AllowEdit(bool allow = true);

  // Adds `child` below this row and takes it over. Works before and after this row
  // is in a grid: children added before wait here and enter the grid with it.
  // Returns false (and does not take `child`) for a null child or one that already
  // has a parent.
  bool AddSubItem(CZORMPropertyGridProperty* child);

  // The value the row had before the user's edits: the value set by the program
  // (at construction or later through SetValue); user edits do not change it.
  wxVariant GetOriginalValue() const { return m_varOriginal; }
  // Puts the original value back and clears the row's "modified" mark.
  void ResetOriginalValue();

  // Setters of the settings below. The members stay public so that the grid and
  // the program's dialogs can read them directly.
  void SetEditStyle(long style) { m_dwEditStyle = style; }
  void AddDependent(CZORMPropertyGridProperty* dependent) { m_dependents.push_back(dependent); }
  void SetValueTextColour(const wxColour& colour) { m_clrText = colour; }
  void SetValueBackColour(const wxColour& colour) { m_clrBack = colour; }
  void SetRevertIfEmpty(bool revert) { m_bRevertIfEmpty = revert; }
  void SetMaxLength(int max_length) { m_nMaxLength = max_length; }

  // The edit style, colours and length limit are members of CZORMPropertyGridCellLook.
  // Rows shown while this row's boolean value is true and hidden while it is false,
  // in this order. Not owned.
  std::vector<CZORMPropertyGridProperty*> m_dependents;
  // An edit that leaves the value empty is undone, if the original value was not empty.
  bool m_bRevertIfEmpty = false;

  // wxPGProperty
  wxString ValueToString(wxVariant& value, int arg_flags = 0) const override;
  wxString GetValueAsString(int arg_flags = 0) const override;
  bool StringToValue(wxVariant& variant, const wxString& text, int arg_flags = 0) const override;
  bool IntToValue(wxVariant& variant, int number, int arg_flags = 0) const override;
  int GetChoiceSelection() const override;
  const wxPGEditor* DoGetEditorClass() const override;
  wxPGCellRenderer* GetCellRenderer(int column) const override;
  void OnSetValue() override;

 private:
  friend class CZORMPropertyGridCtrl;

  bool HoldsBoolean() const;
  // Moves the children that waited for this row to enter a grid into that grid.
  void AttachPendingSubItems();

  wxString m_strDescription;
  uintptr_t m_dwData = 0;
  bool m_bIsValueList = false;
  wxVariant m_varOriginal;
  // Set by the grid while it stores a value the user entered, so that the original
  // value stays what the program set.
  bool m_bUserChange = false;
  std::vector<CZORMPropertyGridProperty*> m_pendingSubItems;  // owned until attached
};
