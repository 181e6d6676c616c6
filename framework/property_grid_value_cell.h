// How the value cell of a CZORMPropertyGridProperty is painted and edited: the
// cell is filled with the row's back colour and its text drawn in the row's text
// colour; the editor is either wxPropertyGrid's own text editor or, when the row
// asks for an edit style, a plain text control with that style, and in both cases
// accepts no more characters than the row's length limit.
#pragma once

#include <wx/propgrid/editors.h>
#include <wx/propgrid/property.h>

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
