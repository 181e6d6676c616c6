#include "listctrl/list_footer.h"

#include <wx/dc.h>
#include <wx/settings.h>

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

bool CZORMListFooter::Create(wxWindow* parent, CZORMListFooterSource* list, wxWindowID id) {
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
      figure = m_pList->GetFooterRowCount();
      break;
    case 1:
      figure = m_pList->GetFooterSelectedCount();
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
