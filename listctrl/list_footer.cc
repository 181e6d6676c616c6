#include "listctrl/list_footer.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include "listctrl/zorm_list_ctrl.h"
#include "util/format_number.h"

namespace {

const char* const kPaneLabels[3] = {"Total Items", "Total Selected", "First Selection"};

// Room around the label: its box reaches 10 pixels past the text, which starts 5
// pixels in; the figure starts 20 pixels past the label's text.
constexpr int kLabelBoxExtra = 10;
constexpr int kLabelIndent = 5;
constexpr int kFigureGap = 20;

std::string Grouped(long value) {
  char buffer[32];
  return FormatNumber(static_cast<uint64_t>(value), buffer, sizeof buffer, 0);
}

}  // namespace

bool CZORMListFooter::Create(wxWindow* parent, CZORMListCtrl* list, wxWindowID id) {
  if (!wxStatusBar::Create(parent, id, 0, "CZORMListFooter")) return false;
  m_pList = list;
  const int widths[3] = {-1, kPaneWidths[1], kPaneWidths[2]};
  SetFieldsCount(3, widths);
  SetMinHeight(20);
  if (list != nullptr) list->LayOutCompanions();
  Refresh();
  return true;
}

CZORMListFooter::PaneText CZORMListFooter::GetPaneText(int pane) const {
  if (m_pList == nullptr || pane < 0 || pane > 2) return {};
  long figure = 0;
  switch (pane) {
    case 0:
      figure = m_pList->GetItemCount();
      break;
    case 1:
      figure = m_pList->GetSelectedItemCount();
      if (figure == 0) return {};
      break;
    case 2:
      figure = m_pList->GetFirstSelectedRow() + 1;
      if (figure == 0) return {};
      break;
  }
  return {kPaneLabels[pane], Grouped(figure)};
}

void CZORMListFooter::DrawField(wxDC& dc, int pane, int) {
  wxRect rect;
  if (GetFieldRect(pane, rect)) DrawItem(dc, pane, rect);
}

void CZORMListFooter::DrawItem(wxDC& dc, int pane, const wxRect& rect) {
  const PaneText text = GetPaneText(pane);
  if (text.label.empty()) return;
  dc.SetFont(GetFont());
  const int width = dc.GetTextExtent(text.label).x;
  const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
  dc.SetPen(wxPen(shadow));
  dc.SetBrush(wxBrush(shadow));
  dc.DrawRectangle(rect.x, rect.y, std::min(rect.width, width + kLabelBoxExtra), rect.height);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetTextForeground(*wxWHITE);
  dc.DrawText(text.label, rect.x + kLabelIndent, rect.y);
  dc.SetTextForeground(*wxBLACK);
  wxDCClipper clip(dc, rect);
  dc.DrawText(text.figure, rect.x + width + kFigureGap, rect.y);
}

long CZORMListCtrl::GetFirstSelectedRow() const {
  // Finding it by asking row after row would cost a long virtual list a moment on
  // every repaint when the selection starts far down.
  if (m_bSelectionKnown && long(m_knownSelection.size()) == GetSelectedItemCount())
    return m_knownSelection.empty() ? -1 : m_knownSelection.front();
  return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}
