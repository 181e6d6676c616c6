// The framework's property grid: a wxPropertyGrid that keeps its name column at a
// fixed width, paints value cells in each row's own colours, and reacts to the
// user's changes of CZORMPropertyGridProperty rows: a row that must not be left
// empty gets its original value back, the parent may be told of each accepted
// change, and a boolean row shows or hides its dependent rows.
//
// Layout: no header, no description area, rows in categorised order, changed values
// in bold. GUI thread only. The grid owns the rows added to it.
#pragma once

#include <wx/propgrid/propgrid.h>

class CZORMPropertyGridProperty;

class CZORMPropertyGridCtrl : public wxPropertyGrid {
 public:
  // Changed values in bold, categorised order; a plain wxPropertyGrid has neither
  // header nor description area.
  static constexpr long kDefaultStyle = wxPG_BOLD_MODIFIED | wxPG_DEFAULT_STYLE | wxBORDER_SIMPLE;
  static constexpr int kDefaultNameWidth = 180;

  CZORMPropertyGridCtrl();
  CZORMPropertyGridCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                        const wxSize& size = wxDefaultSize, long style = kDefaultStyle);
  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = kDefaultStyle);

  CZORMPropertyGridCtrl(const CZORMPropertyGridCtrl&) = delete;
  CZORMPropertyGridCtrl& operator=(const CZORMPropertyGridCtrl&) = delete;

  // Adds `prop` (a value or a group, with any sub-items it already has) at the top
  // level and takes it over. `redraw` repaints the grid, `adjust_layout` runs
  // AdjustLayout(). Returns the row's index among the top-level rows, or -1 (and
  // does not take it) when `prop` is null or already in a grid.
  int AddProperty(CZORMPropertyGridProperty* prop, bool redraw = true, bool adjust_layout = true);

  // Puts the name column back to m_nNameWidth pixels and recomputes the layout.
  // Runs on every resize and after each added row, so a divider the user dragged
  // lasts until then.
  void AdjustLayout();

  void SetNameWidth(int width) { m_nNameWidth = width; }
  void SetNotifyMessage(wxEventType type) { m_nNotifyMessage = type; }

  // Width of the name column in pixels.
  int m_nNameWidth = kDefaultNameWidth;
  // When not 0 (wxEVT_NULL), every accepted change of a row is also sent to the
  // parent window, synchronously, as a wxCommandEvent of this type whose client
  // data is the changed wxPGProperty* and whose event object is this grid.
  wxEventType m_nNotifyMessage = wxEVT_NULL;

 protected:
  // The user changed a row's value (from its editor or through
  // ChangePropertyValue()).
  bool DoPropertyChanged(wxPGProperty* p, unsigned int sel_flags = 0) override;

 private:
  void Init();
  void OnSize(wxSizeEvent& event);
  // True when the change of `prop` to `pending` must be undone.
  static bool MustRevert(const CZORMPropertyGridProperty& prop, const wxVariant& pending);
  void NotifyParent(wxPGProperty* p);
  void ShowDependents(const CZORMPropertyGridProperty& prop);
};
