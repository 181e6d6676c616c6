// Row dragging. The generic list has neither drop highlighting nor a drag image
// that shows on a GTK 3 desktop (it cannot draw onto the screen), so the list
// draws both itself: the drop row over its own painting of the rows, the image in
// a borderless popup that follows the pointer, shaped to the dragged rows.
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/popupwin.h>
#include <wx/region.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

#include "listctrl/zorm_list_ctrl.h"

CZORMListDropEvent::CZORMListDropEvent(wxEventType type, CZORMListCtrl* list)
    : wxEvent(list->GetId(), type), m_pList(list) {
  SetEventObject(list);
}

namespace {

// The colour that stands for "no image here" in the drag image.
const wxColour kMaskColour(0, 255, 0);

// Shows the drag image; the mask colour is cut out of its shape, so the gaps
// between dragged rows that are not next to each other show what lies below.
class DragImageWindow : public wxPopupWindow {
 public:
  DragImageWindow(wxWindow* parent, const wxBitmap& image)
      : wxPopupWindow(parent, wxBORDER_NONE | wxFRAME_SHAPED), m_image(image) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetSize(image.GetSize());
    SetShape(wxRegion(image));  // the image list made the mask of the mask colour
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
      wxPaintDC dc(this);
      dc.DrawBitmap(m_image, 0, 0);
    });
  }

 private:
  wxBitmap m_image;
};

// The deepest shown window of `window` that contains `screen`, leaving `skip` and
// its children out; null when `window` does not contain the point.
wxWindow* DeepestWindowAt(wxWindow* window, const wxPoint& screen, const wxWindow* skip) {
  if (window == skip || !window->IsShown() || !window->GetScreenRect().Contains(screen))
    return nullptr;
  const wxWindowList& children = window->GetChildren();
  for (auto child = children.rbegin(); child != children.rend(); ++child) {
    if ((*child)->IsTopLevel()) continue;  // searched as a top-level window
    if (wxWindow* found = DeepestWindowAt(*child, screen, skip)) return found;
  }
  return window;
}

}  // namespace

void CZORMListCtrl::SetDropNotification(wxWindow* window, wxEventType type) {
  m_dragState.drop_notify_window = window;
  m_dragState.drop_event = type;
}

std::unique_ptr<wxImageList> CZORMListCtrl::CreateSelectionDragImage(wxPoint* top_left) {
  if (GetSelectedItemCount() <= 0) return nullptr;
  const bool report = InReportView();
  const int limit = report ? GetColumnWidth(0) : GetClientSize().x;

  // Only the visible rows: the selection of a long list may run far off the page.
  const long count = GetItemCount();
  const long first = std::max(0L, GetTopItem());
  const long last = std::min(count - 1, first + GetCountPerPage() - 1);
  std::vector<long> rows;
  std::vector<ListRect> rects;
  for (long row = first; row <= last; ++row) {
    wxRect rect;
    if (GetItemState(row, wxLIST_STATE_SELECTED) == 0 || !GetItemRect(row, rect)) continue;
    rows.push_back(row);
    rects.push_back({rect.x, rect.y, rect.x + rect.width, rect.y + rect.height});
  }
  const ListRect bounds = DragImageBounds(rects, limit);
  *top_left = wxPoint(bounds.left, bounds.top);
  if (bounds.Width() <= 0 || bounds.Height() <= 0)
    return std::make_unique<wxImageList>(1, 1, true, 1);  // nothing visible: no image

  wxBitmap bitmap(bounds.Width(), bounds.Height());
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(kMaskColour));
    dc.Clear();
    // Each row as the list draws a selected row, moved to the image's corner.
    for (size_t i = 0; i < rows.size(); ++i) {
      const ListRect& row = rects[i];
      const int top = row.top - bounds.top;
      wxDCClipper clip(dc,
                       wxRect(std::max(row.left, 0) - bounds.left, top,
                              std::min(row.right, limit) - std::max(row.left, 0), row.Height()));
      const int columns = report ? GetColumnCount() : 1;
      for (int column = 0; column < columns; ++column) {
        wxRect cell(row.left, row.top, row.Width(), row.Height());
        if (report && !GetSubItemRect(rows[i], column, cell)) continue;
        if (cell.x >= limit || cell.x + cell.width <= 0) continue;
        wxFont font = CellFont(DecideCell(rows[i], column).font, column);
        dc.SetFont(font.IsOk() ? font : GetFont());
        PaintCellText(dc, rows[i], column,
                      wxRect(cell.x - bounds.left, top, cell.width, row.Height()));
      }
    }
  }
  auto images = std::make_unique<wxImageList>(bounds.Width(), bounds.Height(), true, 1);
  images->Add(bitmap, kMaskColour);
  return images;
}

void CZORMListCtrl::OnBeginDrag(wxListEvent& event) {
  wxWindow* rows = GetMainWindow();
  if (!m_bDragEnabled || m_dragState.dragging || rows == nullptr) {
    event.Skip();
    return;
  }
  if (GetSelectedItemCount() <= 0) return;  // nothing to drag
  m_dragState.source_row = static_cast<uint32_t>(std::max(0L, event.GetIndex()));
  wxPoint corner;
  m_dragState.drag_image = CreateSelectionDragImage(&corner);
  if (m_dragState.drag_image->GetImageCount() > 0) {
    m_pDragImageWindow = new DragImageWindow(this, m_dragState.drag_image->GetBitmap(0));
    m_pDragImageWindow->Move(wxGetMousePosition());
    m_pDragImageWindow->Show();
  }
  m_dragState.dragging = true;
  m_dragState.drop_row = -1;
  m_dragState.window_under_pointer = this;
  if (m_pDragEventWindow != rows) {
    // Bound for the row window's life: unbinding from within its own mouse
    // handling would upset the dispatch under way.
    m_pDragEventWindow = rows;
    rows->Bind(wxEVT_MOTION, &CZORMListCtrl::OnDragMotion, this);
    rows->Bind(wxEVT_LEFT_UP, &CZORMListCtrl::OnDragButtonUp, this);
    rows->Bind(wxEVT_MOUSE_CAPTURE_LOST, &CZORMListCtrl::OnDragCaptureLost, this);
  }
  rows->CaptureMouse();
}

wxWindow* CZORMListCtrl::WindowUnderPointer(const wxPoint& screen) const {
  wxWindow* found = nullptr;
  for (auto top = wxTopLevelWindows.rbegin(); top != wxTopLevelWindows.rend() && !found; ++top)
    found = DeepestWindowAt(*top, screen, m_pDragImageWindow);
  // The rows are drawn in a window of their own inside the list.
  if (found != nullptr && found == m_pDragEventWindow) return const_cast<CZORMListCtrl*>(this);
  return found;
}

void CZORMListCtrl::OnDragMotion(wxMouseEvent& event) {
  event.Skip();
  if (!m_dragState.dragging) return;
  const wxPoint screen = m_pDragEventWindow->ClientToScreen(event.GetPosition());
  if (m_pDragImageWindow != nullptr) m_pDragImageWindow->Move(screen);
  m_dragState.window_under_pointer = WindowUnderPointer(screen);
  if (m_dragState.window_under_pointer != this) return;
  TrackDropRow(event.GetPosition());
  if (!m_dragScroll.IsRunning() && DragScrollStepAt(event.GetPosition()) != 0)
    m_dragScroll.Start(kDragScrollMs);
}

int CZORMListCtrl::DragScrollStepAt(const wxPoint& in_rows) const {
  wxRect row;
  if (GetItemCount() <= 0 || !GetItemRect(GetTopItem(), row)) return 0;
  return DragScrollStep(in_rows.y, m_pDragEventWindow->GetClientSize().y, row.height);
}

void CZORMListCtrl::OnDragScrollTimer(wxTimerEvent&) {
  const wxPoint in_rows = m_pDragEventWindow != nullptr
                              ? m_pDragEventWindow->ScreenToClient(wxGetMousePosition())
                              : wxPoint();
  // Only while the pointer is over the list: beside it, nothing there can scroll.
  const bool over_list = m_dragState.dragging && m_dragState.window_under_pointer == this;
  const int step = over_list ? DragScrollStepAt(in_rows) : 0;
  if (step == 0) {
    m_dragScroll.Stop();
    return;
  }
  // The row just beyond the visible ones comes into view: one row's scroll.
  const long top = GetTopItem();
  const long target = step < 0 ? top - 1 : top + GetCountPerPage();
  if (target < 0 || target >= GetItemCount()) return;
  EnsureVisible(target);
  TrackDropRow(in_rows);
}

void CZORMListCtrl::TrackDropRow(const wxPoint& in_rows) {
  int flags = 0;
  const long hit = HitTest(in_rows, flags);
  if (hit >= 0 && m_dragState.drop_on_self) {
    m_dragState.drop_row = static_cast<int32_t>(hit);
    MarkDropRow(hit);
  } else if (m_nDropMark != hit) {
    MarkDropRow(-1);  // the drop row keeps its number for the receiver
  }
}

void CZORMListCtrl::OnDragButtonUp(wxMouseEvent& event) {
  event.Skip();
  if (!m_dragState.dragging) return;
  const wxPoint screen = m_pDragEventWindow->ClientToScreen(event.GetPosition());
  StopDrag();
  m_dragState.window_under_pointer = WindowUnderPointer(screen);
  Update();
  if (m_dragState.drop_notify_window != nullptr && m_dragState.drop_event != wxEVT_NULL) {
    CZORMListDropEvent drop(m_dragState.drop_event, this);
    m_dragState.drop_notify_window->GetEventHandler()->ProcessEvent(drop);
  }
}

void CZORMListCtrl::OnDragCaptureLost(wxMouseCaptureLostEvent&) { StopDrag(); }

void CZORMListCtrl::StopDrag() {
  if (!m_dragState.dragging) return;
  m_dragState.dragging = false;
  m_dragScroll.Stop();
  if (m_pDragEventWindow->HasCapture()) m_pDragEventWindow->ReleaseMouse();
  if (m_pDragImageWindow != nullptr) {
    delete m_pDragImageWindow;  // at once: a popup's Destroy waits, and the list may be going
    m_pDragImageWindow = nullptr;
  }
  MarkDropRow(-1);
}

void CZORMListCtrl::MarkDropRow(long row) {
  if (row == m_nDropMark) return;
  const long count = GetItemCount();
  if (m_nDropMark >= 0 && m_nDropMark < count) RefreshItem(m_nDropMark);
  m_nDropMark = row;
  if (row >= 0 && row < count) RefreshItem(row);
}

void CZORMListCtrl::PaintDropHighlight(wxDC& dc) {
  wxRect row;
  if (m_nDropMark < 0 || !RowRectInRowWindow(m_nDropMark, &row)) return;
  // Drawn as the desktop draws a selected row, the cells' texts on top.
  wxRendererNative::Get().DrawItemSelectionRect(m_pMainWindowBound, dc, row,
                                                wxCONTROL_SELECTED | wxCONTROL_FOCUSED);
  dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT));
  const int columns = InReportView() ? GetColumnCount() : 1;
  for (int column = 0; column < columns; ++column) {
    wxRect cell = row;
    if (InReportView() && !GetSubItemRect(m_nDropMark, column, cell)) continue;
    wxFont font = CellFont(DecideCell(m_nDropMark, column).font, column);
    dc.SetFont(font.IsOk() ? font : GetFont());
    // The list leaves 2 pixels before a cell's text and 8 pixels for its end.
    wxDCClipper clip(dc, cell.x + 2, row.y, std::max(0, cell.width - 8), row.height);
    const wxString text = GetItemText(m_nDropMark, column);
    dc.DrawText(text, cell.x + 2, row.y + row.height / 2 - (dc.GetTextExtent(text).y + 1) / 2);
  }
}
