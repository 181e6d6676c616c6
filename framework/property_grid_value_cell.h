// How the value cell of a CZORMPropertyGridProperty is painted and edited: the
// cell is filled with the row's back colour and its text drawn in the row's text
// colour; the editor is either wxPropertyGrid's own text editor or, when the row
// asks for an edit style, a plain text control with that style, and in both cases
// accepts no more characters than the row's length limit.
#pragma once

#include <wx/colour.h>
#include <wx/propgrid/editors.h>
#include <wx/propgrid/property.h>

// The settings of a row that its value cell is drawn and edited with. The row
// (CZORMPropertyGridProperty) has them as its own members through this base; the
// cell reads them here and needs to know nothing else of the row.
class CZORMPropertyGridCellLook {
 public:
  virtual ~CZORMPropertyGridCellLook() = default;

  // With editing not allowed the grid opens no editor for the row.
  bool IsAllowEdit() const { return m_bAllowEdit; }

  // When not 0, the editor is a plain text control with this wxTextCtrl style.
  long m_dwEditStyle = 0;
  wxColour m_clrText = *wxBLACK;  // colour of the value text
  wxColour m_clrBack = *wxWHITE;  // fill of the value cell
  // Most characters the editor accepts; kNoMaxLength means no limit.
  static constexpr int kNoMaxLength = 0x7FFFFFFF;
  int m_nMaxLength = kNoMaxLength;

 protected:
  bool m_bAllowEdit = true;
};

class CZORMPropertyGridValueRenderer : public wxPGDefaultRenderer {
 public:
  bool Render(wxDC& dc, const wxRect& rect, const wxPropertyGrid* grid, wxPGProperty* property,
              int column, int item, int flags) const override;

  // The one renderer all rows share (wxPropertyGrid does not take it over).
  static CZORMPropertyGridValueRenderer* Get();
};

class CZORMPropertyGridTextEditor : public wxPGTextCtrlEditor {
 public:
  wxPGWindowList CreateControls(wxPropertyGrid* grid, wxPGProperty* property, const wxPoint& pos,
                                const wxSize& size) const override;
  wxString GetName() const override;

  // The editor, registered with wxPropertyGrid on first use (which owns it).
  static const wxPGEditor* Get();
};
