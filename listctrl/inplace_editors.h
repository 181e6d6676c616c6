// The list's four in-place editors: an edit box, a combo box, a check box and a
// date picker that a CZORMListCtrl shows over one cell while the user changes it.
// The list places and shows them and the list's owner reads their values; the
// editors only decide when the edit ends and whether it ends by commit or cancel:
//
//   Enter ends it (commit) and Escape cancels it, both keys consumed; the focus
//   moving to the list ends it (commit), the focus moving anywhere else (another
//   window, another application) leaves the editor open; the combo's drop-down
//   closing without a new choice ends it (commit, of the value shown).
//
// Ending sends the list (the editor's nearest list ancestor) a wxEVT_LIST_END_LABEL_EDIT event
// naming the list as its object, cancelled after Escape, with the editor as client
// data. The value stays in the editor. User-interface thread only.
#pragma once

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/textctrl.h>

// The ending rules all four share. Not a window: each editor is one as well.
class CZORMInplaceEnding {
 public:
  CZORMInplaceEnding() = default;
  virtual ~CZORMInplaceEnding() = default;
  CZORMInplaceEnding(const CZORMInplaceEnding&) = delete;
  CZORMInplaceEnding& operator=(const CZORMInplaceEnding&) = delete;

 protected:
  // Installs the rules on `self`, the editor's window, once it exists.
  void HookEnding(wxWindow* self);
  // Tells the parent list that the edit ended, cancelled when the cancel flag is
  // set, and clears the flag.
  void EndEditing();

  int m_nCancel = 0;  // 1 from an Escape to the end of that edit

 private:
  void OnCharHook(wxKeyEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  // The list the editor serves: its nearest list ancestor, else its parent.
  wxWindow* GetList() const;
  // Whether `focus` is the list or one of its own windows, outside the editor.
  bool IsInList(const wxWindow* focus) const;

  wxWindow* m_pSelf = nullptr;
};

class CZORMListCtrl_Edit : public wxTextCtrl, public CZORMInplaceEnding {
 public:
  CZORMListCtrl_Edit() = default;
  // Creates the editor hidden, in the list's row window `rows`. Returns false on
  // failure.
  bool Create(wxWindow* rows, wxWindowID id = wxID_ANY);
};

class CZORMListCtrl_Combo : public wxComboBox, public CZORMInplaceEnding {
 public:
  CZORMListCtrl_Combo() = default;
  // Creates the editor hidden, in the list's row window `rows`. Returns false on
  // failure.
  bool Create(wxWindow* rows, wxWindowID id = wxID_ANY);

 private:
  void OnDropDown(wxCommandEvent& event);
  void OnCloseUp(wxCommandEvent& event);

  wxString m_strShownAtDropDown;
};

class CZORMListCtrl_Checkbox : public wxCheckBox, public CZORMInplaceEnding {
 public:
  CZORMListCtrl_Checkbox() = default;
  // Creates the editor hidden, in the list's row window `rows`. Returns false on
  // failure.
  bool Create(wxWindow* rows, wxWindowID id = wxID_ANY);
};

class CZORMListCtrl_Date : public wxDatePickerCtrl, public CZORMInplaceEnding {
 public:
  CZORMListCtrl_Date() = default;
  // Creates the editor hidden, in the list's row window `rows`. Returns false on
  // failure.
  bool Create(wxWindow* rows, wxWindowID id = wxID_ANY);
};
