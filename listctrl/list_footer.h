// CZORMListFooter: the three-pane strip under a CZORMListCtrl that tells how many
// rows the list holds, how many are selected and where the selection starts. The
// window that owns the list creates it when it wants one; from then on the list
// keeps it in a 20-pixel strip directly under itself, shows and hides it with
// itself and makes it repaint when the rows or the selection change.
//
// The footer keeps no counts: every repaint reads them from the list, so the
// figures are those of the moment of painting. User-interface thread only.
#pragma once

#include <wx/statusbr.h>

#include <string>

// What the footer reads from the list it belongs to, and asks of it; the list
// implements it, so the footer needs nothing else of the list.
class CZORMListFooterSource {
 public:
  virtual long GetFooterRowCount() const = 0;
  virtual long GetFooterSelectedCount() const = 0;
  // The lowest selected row; -1 when none is selected.
  virtual long GetFirstSelectedRow() const = 0;
  // Puts the companions, the footer among them, in their places beside the list.
  virtual void LayOutCompanions() = 0;

 protected:
  ~CZORMListFooterSource() = default;
};

class CZORMListFooter : public wxStatusBar {
 public:
  // Widths of the panes; the first stretches over what the others leave.
  static constexpr int kPaneWidths[3] = {100, 150, 150};

  // No window until Create.
  CZORMListFooter() = default;
  CZORMListFooter(const CZORMListFooter&) = delete;
  CZORMListFooter& operator=(const CZORMListFooter&) = delete;

  // Creates the strip as a visible child of `parent` (normally the list's parent)
  // with identifier `id`, sets up its three panes and remembers `list` (not owned),
  // which then lays it out. The list must have been created before the footer, so
  // that the parent destroys the list, and with it this footer, first. Returns
  // false, with no pane set up, when the window could not be created.
  virtual bool Create(wxWindow* parent, CZORMListFooterSource* list, wxWindowID id);

  // The list the strip belongs to; null before Create.
  CZORMListFooterSource* GetList() const { return m_pList; }

  // What pane `pane` shows now: its label and its figure, digits grouped by commas.
  // Both are empty for a pane that stays empty (no selection, or no such pane).
  struct PaneText {
    std::string label;
    std::string figure;
  };
  PaneText GetPaneText(int pane) const;

  // Paints pane `pane` into `rect` of `dc`: the label white on the dark shadow
  // colour, the figure in black after it.
  void DrawItem(wxDC& dc, int pane, const wxRect& rect);

 protected:
  void DrawField(wxDC& dc, int pane, int text_height) override;

 private:
  CZORMListFooterSource* m_pList = nullptr;
};
