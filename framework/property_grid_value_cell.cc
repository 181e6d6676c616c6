#include "framework/property_grid_value_cell.h"

#include <wx/dc.h>
#include <wx/propgrid/propgrid.h>
#include <wx/textctrl.h>


bool CZORMPropertyGridValueRenderer::Render(wxDC& dc, const wxRect& rect,
                                            const wxPropertyGrid* grid, wxPGProperty* property,
                                            int column, int item, int flags) const {
  auto* row = dynamic_cast<const CZORMPropertyGridCellLook*>(property);
  // Inside an editor control or its drop-down list the control paints the background.
  if (!row || property->IsCategory() || column != 1 || (flags & (Control | ChoicePopup)))
    return wxPGDefaultRenderer::Render(dc, rect, grid, property, column, item, flags);

  // The row's colours hold whether or not it is selected; the default drawing then
  // keeps the brush and text colour set here.
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(row->m_clrBack));
  dc.SetTextForeground(row->m_clrText);
  return wxPGDefaultRenderer::Render(dc, rect, grid, property, column, item,
                                     flags | DontUseCellColours);
}

CZORMPropertyGridValueRenderer* CZORMPropertyGridValueRenderer::Get() {
  static CZORMPropertyGridValueRenderer renderer;
  return &renderer;
}

wxPGWindowList CZORMPropertyGridTextEditor::CreateControls(wxPropertyGrid* grid,
                                                           wxPGProperty* property,
                                                           const wxPoint& pos,
                                                           const wxSize& size) const {
  auto* row = dynamic_cast<const CZORMPropertyGridCellLook*>(property);
  if (!row) return wxPGTextCtrlEditor::CreateControls(grid, property, pos, size);
  if (!row->IsAllowEdit()) return wxPGWindowList(nullptr);

  wxWindow* control = nullptr;
  if (row->m_dwEditStyle != 0) {
    control = grid->GenerateEditorTextCtrl(pos, size,
                                           property->GetValueAsString(wxPG_EDITABLE_VALUE),
                                           nullptr, static_cast<int>(row->m_dwEditStyle));
  } else {
    control = wxPGTextCtrlEditor::CreateControls(grid, property, pos, size).m_primary;
  }
  auto* text = dynamic_cast<wxTextCtrl*>(control);
  if (text && row->m_nMaxLength != CZORMPropertyGridCellLook::kNoMaxLength)
    text->SetMaxLength(static_cast<unsigned long>(row->m_nMaxLength));
  return wxPGWindowList(control);
}

wxString CZORMPropertyGridTextEditor::GetName() const { return "ZORMTextCtrl"; }

const wxPGEditor* CZORMPropertyGridTextEditor::Get() {
  static const wxPGEditor* editor =
      wxPropertyGrid::RegisterEditorClass(new CZORMPropertyGridTextEditor());
  return editor;
}
