#include "listctrl/zorm_list_ctrl.h"

#include <wx/control.h>
#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

#include "listctrl/list_geometry.h"

namespace {

const char kEmptyListNotice[] = "There are no items to display in this list.";

// Corner ellipses of the notice band are 10 by 10 pixels.
constexpr double kNoticeCornerRadius = 5;

wxColour ToColour(uint32_t rgb) {
  return wxColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// What a user does in the row window that may change the selection.
const wxEventType kRowWindowInput[] = {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN, wxEVT_MIDDLE_DOWN,
                                       wxEVT_LEFT_DCLICK, wxEVT_KEY_DOWN};

bool HasWindow(const wxWindow& window) { return window.GetHandle() != nullptr; }

// Writes `text` into `box` line by line, breaking between words where a line would
// grow wider than the box, each line centred. Nothing is clipped: a word wider than
// the box stands on a line of its own.
void DrawWrappedCentred(wxDC& dc, const wxString& text, const wxRect& box) {
  wxArrayString lines;
  wxString line;
  for (const wxString& word : wxSplit(text, ' ', 0)) {
    const wxString longer = line.empty() ? word : line + ' ' + word;
    if (!line.empty() && dc.GetTextExtent(longer).x > box.width) {
      lines.push_back(line);
      line = word;
    } else {
      line = longer;
    }
  }
  if (!line.empty()) lines.push_back(line);

  int y = box.y;
  for (const wxString& each : lines) {
    const wxSize extent = dc.GetTextExtent(each);
    dc.DrawText(each, box.x + (box.width - extent.x) / 2, y);
    y += extent.y;
  }
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CZORMListCtrl, wxListCtrl)
  EVT_SIZE(CZORMListCtrl::OnSize)
  EVT_MOVE(CZORMListCtrl::OnMove)
  EVT_SHOW(CZORMListCtrl::OnShow)
  EVT_LIST_ITEM_SELECTED(wxID_ANY, CZORMListCtrl::OnItemChanged)
  EVT_LIST_ITEM_DESELECTED(wxID_ANY, CZORMListCtrl::OnItemChanged)
  EVT_LIST_ITEM_FOCUSED(wxID_ANY, CZORMListCtrl::OnItemChanged)
  EVT_LIST_INSERT_ITEM(wxID_ANY, CZORMListCtrl::OnItemChanged)
  EVT_LIST_DELETE_ITEM(wxID_ANY, CZORMListCtrl::OnItemChanged)
  EVT_LIST_DELETE_ALL_ITEMS(wxID_ANY, CZORMListCtrl::OnItemChanged)
  EVT_KEY_DOWN(CZORMListCtrl::OnKeyDown)
  EVT_CONTEXT_MENU(CZORMListCtrl::OnContextMenu)
  EVT_LIST_BEGIN_DRAG(wxID_ANY, CZORMListCtrl::OnBeginDrag)
wxEND_EVENT_TABLE()
    // clang-format on

    CZORMListCtrl::CZORMListCtrl() = default;

CZORMListCtrl::CZORMListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size, long style) {
  Create(parent, id, pos, size, style);
}

CZORMListCtrl::~CZORMListCtrl() {
  StopDrag();
  SaveListState();  // while the columns are still there
  UnbindMainWindow();
  UnbindEditing();
  m_wndHeader.Detach();
  if (m_pWndAbove != nullptr) {
    wxWindow* above = m_pWndAbove;
    above->Unbind(wxEVT_DESTROY, &CZORMListCtrl::OnWindowAboveDestroyed, this);
    m_pWndAbove = nullptr;
    delete above;
  }
}

bool CZORMListCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                           long style) {
  if (!wxListCtrl::Create(parent, id, pos, size, style)) return false;
  // Cells are written black on white whatever the desktop's theme.
  SetTextColour(*wxBLACK);
  SetBackgroundColour(*wxWHITE);
  if (m_bGridLines) SetGridLines(true);
  AttachHeader();
  m_wndHeader.SetColumnMovedCallback([this](int from, int to) { MoveColumn(from, to); });
  m_dragScroll.SetOwner(this);
  Bind(wxEVT_TIMER, &CZORMListCtrl::OnDragScrollTimer, this, m_dragScroll.GetId());
  BindMainWindow();
  return true;
}

int CZORMListCtrl::GetColumnCount() const {
  return InReportView() ? wxListCtrl::GetColumnCount() : 0;
}

void CZORMListCtrl::AutoSizeColumns() {
  const int count = GetColumnCount();
  for (int position = 0; position < count; ++position) {
    const int column = GetColumnIndexFromOrder(position);
    if (column >= kLockableColumns || m_bLockedWidths[size_t(column)]) continue;
    if (IsVirtual())
      SetColumnWidth(position, FittingVirtualColumnWidth(position));
    else
      SetColumnWidth(position, wxLIST_AUTOSIZE_USEHEADER);
  }
}

void CZORMListCtrl::SetGridLines(bool on) {
  m_bGridLines = on;
  if (GetMainWindow() == nullptr) return;  // applied by Create
  const long rules = wxLC_HRULES | wxLC_VRULES;
  const long style = GetWindowStyleFlag();
  SetWindowStyleFlag(on ? style | rules : style & ~rules);
}

void CZORMListCtrl::SetColumnFont(unsigned column, wxFont* font) {
  if (font == nullptr)
    m_mapColumnFonts.erase(column);
  else
    m_mapColumnFonts[column] = font;
}

wxFont* CZORMListCtrl::GetColumnFont(unsigned column) const {
  const auto found = m_mapColumnFonts.find(column);
  return found == m_mapColumnFonts.end() ? nullptr : found->second;
}

void CZORMListCtrl::LockColumnWidth(int column, bool locked) {
  if (column >= 0 && column < kLockableColumns) m_bLockedWidths[column] = locked;
}

bool CZORMListCtrl::IsColumnWidthLocked(int column) const {
  return column >= 0 && column < kLockableColumns && m_bLockedWidths[column];
}

void CZORMListCtrl::SetWindowAbove(wxWindow* window) {
  if (window == m_pWndAbove) return;
  if (m_pWndAbove != nullptr) {
    m_pWndAbove->Unbind(wxEVT_DESTROY, &CZORMListCtrl::OnWindowAboveDestroyed, this);
    delete m_pWndAbove;
  }
  m_pWndAbove = window;
  if (window != nullptr) {
    window->Bind(wxEVT_DESTROY, &CZORMListCtrl::OnWindowAboveDestroyed, this);
    LayOutCompanions();
  }
}

void CZORMListCtrl::LayOutCompanions() {
  if (GetParent() == nullptr) return;
  const wxRect rect = GetRect();
  const ListRect list{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
  if (m_pWndAbove != nullptr && HasWindow(*m_pWndAbove)) {
    const ListRect above = StripAboveList(list);
    m_pWndAbove->SetSize(above.left, above.top, above.Width(), above.Height());
    m_pWndAbove->Refresh();
  }
  if (HasWindow(m_wndFooter)) {
    const ListRect below = StripBelowList(list);
    m_wndFooter.SetSize(below.left, below.top, below.Width(), below.Height());
    m_wndFooter.Refresh();
  }
}

void CZORMListCtrl::ExcludeColumnFromExport(unsigned column, bool excluded) {
  if (excluded)
    m_mapExportExclude[column] = 1;
  else
    m_mapExportExclude.erase(column);
}

bool CZORMListCtrl::IsColumnExcludedFromExport(unsigned column) const {
  return m_mapExportExclude.count(column) != 0;
}

uint32_t CZORMListCtrl::GetColumnReportFlags(unsigned column) const {
  const auto found = m_mapColumnReportFlags.find(column);
  return found == m_mapColumnReportFlags.end() ? 0 : found->second;
}

ListDrawSettings CZORMListCtrl::GetDrawSettings() const {
  ListDrawSettings settings;
  settings.alternate_shading = m_bAlternateShading;
  settings.totals_line = m_bTotalsLine;
  settings.highlighted_column = m_nHighlightedColumn;
  settings.has_column_fonts = !m_mapColumnFonts.empty();
  return settings;
}

void CZORMListCtrl::SetWindowStyleFlag(long style) {
  // The generic list may destroy its header window here; nothing of ours may stay on it.
  m_wndHeader.Detach();
  wxListCtrl::SetWindowStyleFlag(style);
  AttachHeader();
}

wxItemAttr* CZORMListCtrl::OnGetItemAttr(long item) const {
  if (m_bSettingSelection) return nullptr;
  const ListDrawDecision decision = DecideCell(item, 0);
  return SharedAttr(decision.text_colour, wxNullColour, CellFont(decision.font, 0));
}

wxItemAttr* CZORMListCtrl::OnGetItemColumnAttr(long item, long column) const {
  if (m_bSettingSelection) return nullptr;
  const ListDrawDecision decision = DecideCell(item, column);
  return SharedAttr(decision.text_colour, ToColour(decision.background),
                    CellFont(decision.font, column));
}

ListDrawDecision CZORMListCtrl::DecideCell(long row, long position) const {
  const int column = GetColumnIndexFromOrder(int(position));
  ListDrawTarget target;
  target.stage = ListDrawStage::kSubItemPrePaint;
  target.row = row;
  target.item_count = GetItemCount();
  target.column = column;
  target.column_has_font = GetColumnFont(static_cast<unsigned>(column)) != nullptr;
  return DecideListDraw(GetDrawSettings(), target);
}

wxFont CZORMListCtrl::CellFont(ListCellFont choice, long position) const {
  switch (choice) {
    case ListCellFont::kColumnFont: {
      const wxFont* font = GetColumnFont(unsigned(GetColumnIndexFromOrder(int(position))));
      return font != nullptr ? *font : wxNullFont;
    }
    case ListCellFont::kDefaultCellFont:
      return m_fontDefaultCell;
    case ListCellFont::kUnchanged:
      break;
  }
  return wxNullFont;
}

wxItemAttr* CZORMListCtrl::SharedAttr(uint32_t text, const wxColour& background,
                                      const wxFont& font) const {
  const wxColour text_colour = ToColour(text);
  for (const auto& attr : m_sharedAttrs) {
    if (attr->GetTextColour() != text_colour) continue;
    if (attr->HasBackgroundColour() != background.IsOk()) continue;
    if (background.IsOk() && attr->GetBackgroundColour() != background) continue;
    if (attr->HasFont() != font.IsOk()) continue;
    if (font.IsOk() && !(attr->GetFont() == font)) continue;
    return attr.get();
  }
  m_sharedAttrs.push_back(std::make_unique<wxItemAttr>(text_colour, background, font));
  return m_sharedAttrs.back().get();
}

wxWindow* CZORMListCtrl::GetMainWindow() const { return GetTargetWindow(); }

wxWindow* CZORMListCtrl::FindHeaderWindow() const {
  if (m_headerWin == nullptr) return nullptr;
  // The header's own class is private to wxWidgets; find it among the children.
  for (wxWindow* child : GetChildren()) {
    if (static_cast<const void*>(child) == static_cast<const void*>(m_headerWin)) return child;
  }
  return nullptr;
}

void CZORMListCtrl::AttachHeader() {
  if (m_wndHeader.GetWindow() == nullptr) m_wndHeader.Attach(FindHeaderWindow());
}

void CZORMListCtrl::BindMainWindow() {
  wxWindow* main = GetMainWindow();
  if (main == nullptr || main == m_pMainWindowBound) return;
  UnbindMainWindow();
  main->Bind(wxEVT_PAINT, &CZORMListCtrl::OnMainWindowPaint, this);
  for (wxEventType input : kRowWindowInput) main->Bind(input, &CZORMListCtrl::OnRowWindowInput, this);
  m_pMainWindowBound = main;
}

void CZORMListCtrl::UnbindMainWindow() {
  if (m_pMainWindowBound == nullptr) return;
  m_pMainWindowBound->Unbind(wxEVT_PAINT, &CZORMListCtrl::OnMainWindowPaint, this);
  for (wxEventType input : kRowWindowInput)
    m_pMainWindowBound->Unbind(input, &CZORMListCtrl::OnRowWindowInput, this);
  m_pMainWindowBound = nullptr;
}

void CZORMListCtrl::OnMainWindowPaint(wxPaintEvent& event) {
  if (m_bInDefaultPaint) {  // the list's own painting, run from below
    event.Skip();
    return;
  }
  wxWindow* main = m_pMainWindowBound;
  RefreshFooter();
  SetPlainRowFonts();
  {
    wxPaintDC dc(main);
    PaintCellBackgrounds(dc);
  }
  // The rows go over the backgrounds; rows without a background of their own leave
  // them showing.
  m_bInDefaultPaint = true;
  wxPaintEvent rows(event);
  main->ProcessWindowEventLocally(rows);
  m_bInDefaultPaint = false;

  wxPaintDC dc(main);
  PaintCellFonts(dc);
  PaintTotalsLine(dc);
  PaintEmptyNotice(dc);
  PaintDropHighlight(dc);
}

bool CZORMListCtrl::RowRectInRowWindow(long row, wxRect* rect) const {
  if (!GetItemRect(row, *rect)) return false;
  // Row rectangles come in the list's coordinates, one pixel lower than drawn when
  // there is a header; cells are drawn in the row window's.
  rect->Offset(-m_pMainWindowBound->GetPosition());
  if (HasHeader()) rect->y -= 1;
  return true;
}

bool CZORMListCtrl::VisibleRows(long* first, long* last) const {
  const long count = GetItemCount();
  if (!InReportView() || count <= 0) return false;
  *first = std::max(0L, GetTopItem());
  *last = std::min(count - 1, *first + GetCountPerPage() + 1);
  return *first <= *last;
}

wxFont CZORMListCtrl::RowFont(long row) const {
  const wxFont font = CellFont(DecideCell(row, 0).font, 0);
  return font.IsOk() ? font : GetFont();
}

void CZORMListCtrl::PaintCellBackgrounds(wxDC& dc) {
  long first = 0, last = -1;
  if (!VisibleRows(&first, &last)) return;
  const int columns = GetColumnCount();

  dc.SetPen(*wxTRANSPARENT_PEN);
  for (long row = first; row <= last; ++row) {
    wxRect row_rect;
    if (!RowRectInRowWindow(row, &row_rect)) continue;
    for (int column = 0; column < columns; ++column) {
      const ListDrawDecision decision = DecideCell(row, column);
      if (decision.background == kListBackground) continue;
      wxRect cell;
      if (!GetSubItemRect(row, column, cell)) continue;
      dc.SetBrush(wxBrush(ToColour(decision.background)));
      dc.DrawRectangle(cell.x, row_rect.y, cell.width, row_rect.height);
    }
  }
}

void CZORMListCtrl::SetPlainRowFonts() {
  long first = 0, last = -1;
  if (IsVirtual() || m_mapColumnFonts.empty() || !VisibleRows(&first, &last)) return;
  // Only a changed font is set: setting one repaints the row.
  for (long row = first; row <= last; ++row) {
    const wxFont font = RowFont(row);
    if (!(GetItemFont(row) == font)) SetItemFont(row, font);
  }
}

void CZORMListCtrl::PaintCellFonts(wxDC& dc) {
  long first = 0, last = -1;
  if (m_mapColumnFonts.empty() || !VisibleRows(&first, &last)) return;
  const int columns = GetColumnCount();
  for (long row = first; row <= last; ++row) {
    wxRect row_rect;
    if (!RowRectInRowWindow(row, &row_rect)) continue;
    const wxFont row_font = RowFont(row);
    for (int column = 1; column < columns; ++column) {
      wxFont font = CellFont(DecideCell(row, column).font, column);
      if (!font.IsOk()) font = GetFont();
      if (font == row_font) continue;
      wxRect cell;
      if (!GetSubItemRect(row, column, cell)) continue;
      dc.SetFont(font);
      PaintCellText(dc, row, column, wxRect(cell.x, row_rect.y, cell.width, row_rect.height));
    }
  }
}

// Paints one cell over what the list drew for it: its background, then its text in
// the font already selected, placed as the list places a cell's text.
void CZORMListCtrl::PaintCellText(wxDC& dc, long row, int column, const wxRect& cell) {
  wxRect fill = cell;
  if (HasFlag(wxLC_VRULES)) fill.width -= 1;  // keep the rules
  if (HasFlag(wxLC_HRULES)) fill.height -= 1;
  const bool selected = GetItemState(row, wxLIST_STATE_SELECTED) != 0;
  if (selected) {
    int flags = wxCONTROL_SELECTED;
    if (m_pMainWindowBound->HasFocus()) flags |= wxCONTROL_FOCUSED;
    wxRendererNative::Get().DrawItemSelectionRect(m_pMainWindowBound, dc, fill, flags);
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT));
  } else {
    const ListDrawDecision decision = DecideCell(row, column);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToColour(decision.background)));
    dc.DrawRectangle(fill);
    dc.SetTextForeground(ToColour(decision.text_colour));
  }

  // The list leaves 2 pixels before a cell's text and 8 pixels for its end.
  const int x = cell.x + 2;
  const int width = cell.width - 8;
  if (width <= 0) return;
  wxString text = GetItemText(row, column);
  text.Replace("\n", " ");
  text = wxControl::Ellipsize(text, dc, wxELLIPSIZE_END, width, wxELLIPSIZE_FLAGS_NONE);
  const wxSize extent = dc.GetTextExtent(text);
  wxListItem column_info;
  column_info.SetMask(wxLIST_MASK_FORMAT);
  GetColumn(column, column_info);
  int left = x;
  if (column_info.GetAlign() == wxLIST_FORMAT_RIGHT) left = x + width - extent.x;
  if (column_info.GetAlign() == wxLIST_FORMAT_CENTRE) left = x + (width - extent.x) / 2;
  wxDCClipper clip(dc, x, cell.y, width, cell.height);
  dc.DrawText(text, left, cell.y + cell.height / 2 - (extent.y + 1) / 2);
}

void CZORMListCtrl::PaintTotalsLine(wxDC& dc) {
  const long count = GetItemCount();
  if (!m_bTotalsLine || count <= 0) return;
  const long last = count - 1;
  wxRect rect;
  if (!GetItemRect(last, rect)) return;
  if (!DrawsTotalsLine(m_bTotalsLine, last, count, rect.y, InReportView())) return;
  RowRectInRowWindow(last, &rect);
  dc.SetPen(*wxBLACK_PEN);
  dc.DrawLine(0, rect.y, rect.x + rect.width, rect.y);
}

void CZORMListCtrl::PaintEmptyNotice(wxDC& dc) {
  if (GetItemCount() > 0) return;
  const wxWindow* header = FindHeaderWindow();
  const wxSize client = GetClientSize();
  const EmptyNoticeBand notice = ComputeEmptyNoticeBand(
      ListRect{0, 0, client.x, client.y}, header != nullptr ? header->GetClientSize().y : 0);
  // The band is placed in the list's client area; the row window sits below the header.
  const wxPoint origin = m_pMainWindowBound->GetPosition();
  const auto in_rows = [&](const ListRect& r) {
    return wxRect(r.left - origin.x, r.top - origin.y, r.Width(), r.Height());
  };
  const wxColour menu = wxSystemSettings::GetColour(wxSYS_COLOUR_MENU);
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(wxBrush(menu));
  dc.DrawRoundedRectangle(in_rows(notice.band), kNoticeCornerRadius);
  dc.SetFont(wxSystemSettings::GetFont(wxSYS_ANSI_VAR_FONT));
  dc.SetTextForeground(*wxBLACK);
  dc.SetTextBackground(menu);
  DrawWrappedCentred(dc, kEmptyListNotice, in_rows(notice.text));
}

void CZORMListCtrl::OnSize(wxSizeEvent& event) {
  event.Skip();
  LayOutCompanions();
}

void CZORMListCtrl::OnMove(wxMoveEvent& event) {
  event.Skip();
  LayOutCompanions();
}

void CZORMListCtrl::OnShow(wxShowEvent& event) {
  event.Skip();
  if (HasWindow(m_wndFooter)) m_wndFooter.Show(event.IsShown());
}

void CZORMListCtrl::OnItemChanged(wxListEvent& event) {
  event.Skip();
  const wxEventType type = event.GetEventType();
  if (type == wxEVT_LIST_ITEM_SELECTED || type == wxEVT_LIST_ITEM_DESELECTED ||
      type == wxEVT_LIST_DELETE_ALL_ITEMS)
    ForgetSelection();
  RefreshFooter();
}

void CZORMListCtrl::OnWindowAboveDestroyed(wxWindowDestroyEvent& event) {
  event.Skip();
  if (event.GetEventObject() == m_pWndAbove) m_pWndAbove = nullptr;
}

void CZORMListCtrl::RefreshFooter() {
  if (HasWindow(m_wndFooter)) m_wndFooter.Refresh();
}
