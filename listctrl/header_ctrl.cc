#include "listctrl/header_ctrl.h"

#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/window.h>

#include <algorithm>
#include <vector>

#include "listctrl/column_order.h"

namespace {

// The widths of `list`'s columns in display order.
std::vector<int> DisplayWidths(const wxListCtrl& list) {
  std::vector<int> widths;
  for (int position = 0; position < list.GetColumnCount(); ++position)
    widths.push_back(list.GetColumnWidth(position));
  return widths;
}

// The width of the bar that shows where a dragged column goes.
constexpr int kDropBarWidth = 3;

// `x` in the header window, as a distance from the first column's left edge.
int ContentX(const wxListCtrl& list, int x) { return x + list.CalcUnscrolledPosition(wxPoint(0, 0)).x; }

}  // namespace

CZORMHeaderCtrl::~CZORMHeaderCtrl() { Detach(); }

bool CZORMHeaderCtrl::Attach(wxWindow* header) {
  if (header == nullptr || m_pHeader != nullptr) return false;
  header->PushEventHandler(this);
  m_pHeader = header;
  Bind(wxEVT_LEFT_DOWN, &CZORMHeaderCtrl::OnLeftDown, this);
  Bind(wxEVT_MOTION, &CZORMHeaderCtrl::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &CZORMHeaderCtrl::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CZORMHeaderCtrl::OnCaptureLost, this);
  Bind(wxEVT_PAINT, &CZORMHeaderCtrl::OnPaint, this);
  return true;
}

void CZORMHeaderCtrl::Detach() {
  if (m_pHeader == nullptr) return;
  EndColumnDrag();
  m_nPressedPosition = -1;
  Unbind(wxEVT_LEFT_DOWN, &CZORMHeaderCtrl::OnLeftDown, this);
  Unbind(wxEVT_MOTION, &CZORMHeaderCtrl::OnMotion, this);
  Unbind(wxEVT_LEFT_UP, &CZORMHeaderCtrl::OnLeftUp, this);
  Unbind(wxEVT_MOUSE_CAPTURE_LOST, &CZORMHeaderCtrl::OnCaptureLost, this);
  Unbind(wxEVT_PAINT, &CZORMHeaderCtrl::OnPaint, this);
  m_pHeader->RemoveEventHandler(this);
  m_pHeader = nullptr;
}

int CZORMHeaderCtrl::ItemAt(const wxListCtrl& list, int x) {
  const std::vector<int> widths = DisplayWidths(list);
  const int content_x = ContentX(list, x);
  int total = 0;
  for (int width : widths) total += width;
  if (content_x < 0 || content_x >= total) return -1;
  return list.GetColumnIndexFromOrder(DropPosition(widths, content_x));
}

const wxListCtrl* CZORMHeaderCtrl::List() const {
  return dynamic_cast<const wxListCtrl*>(m_pHeader->GetParent());
}

void CZORMHeaderCtrl::OnLeftDown(wxMouseEvent& event) {
  m_nPressedPosition = -1;
  if (const wxListCtrl* list = List()) {
    m_nLastItemPressed = ItemAt(*list, event.GetX());
    if (m_moved)
      m_nPressedPosition =
          PressedPosition(DisplayWidths(*list), ContentX(*list, event.GetX()), kResizeBorder);
  }
  m_nPressX = event.GetX();
  event.Skip();  // clicks and resizing work as in a plain header
}

void CZORMHeaderCtrl::OnMotion(wxMouseEvent& event) {
  if (m_bDraggingColumn) {  // the header's own pointer handling sits the drag out
    m_nDragX = event.GetX();
    m_pHeader->Refresh();
    return;
  }
  event.Skip();
  if (m_nPressedPosition < 0 || !event.LeftIsDown()) return;
  // A press becomes a drag once it has moved as far as the desktop's drags do.
  const int threshold = std::max(4, wxSystemSettings::GetMetric(wxSYS_DRAG_X));
  if (std::abs(event.GetX() - m_nPressX) < threshold) return;
  m_bDraggingColumn = true;
  m_nDragX = event.GetX();
  m_pHeader->Refresh();
  if (!m_pHeader->HasCapture()) m_pHeader->CaptureMouse();
  m_pHeader->SetCursor(wxCursor(wxCURSOR_HAND));
}

void CZORMHeaderCtrl::OnLeftUp(wxMouseEvent& event) {
  const int from = m_nPressedPosition;
  m_nPressedPosition = -1;
  if (!m_bDraggingColumn) {
    event.Skip();
    return;
  }
  EndColumnDrag();
  const wxListCtrl* list = List();
  if (list == nullptr) return;
  const int to = DropPosition(DisplayWidths(*list), ContentX(*list, event.GetX()));
  if (to >= 0 && to != from && m_moved) m_moved(from, to);
}

void CZORMHeaderCtrl::OnCaptureLost(wxMouseCaptureLostEvent& event) {
  if (!m_bDraggingColumn) {
    event.Skip();  // the header's own resizing lost it
    return;
  }
  m_bDraggingColumn = false;  // the capture is gone already
  m_nPressedPosition = -1;
  m_pHeader->SetCursor(wxNullCursor);
  m_pHeader->Refresh();
}

void CZORMHeaderCtrl::EndColumnDrag() {
  if (!m_bDraggingColumn) return;
  m_bDraggingColumn = false;
  if (m_pHeader->HasCapture()) m_pHeader->ReleaseMouse();
  m_pHeader->SetCursor(wxNullCursor);
  m_pHeader->Refresh();
}

void CZORMHeaderCtrl::OnPaint(wxPaintEvent& event) {
  if (!m_bDraggingColumn || m_bInHeaderPaint) {
    event.Skip();
    if (m_painted) m_painted();
    return;
  }
  // The bar goes over the header's own drawing, so that runs first.
  m_bInHeaderPaint = true;
  wxPaintEvent header(event);
  m_pHeader->ProcessWindowEventLocally(header);
  m_bInHeaderPaint = false;
  PaintDropBar(m_nDragX);
}

void CZORMHeaderCtrl::PaintDropBar(int x) {
  const wxListCtrl* list = List();
  if (list == nullptr) return;
  const std::vector<int> widths = DisplayWidths(*list);
  const int to = DropPosition(widths, ContentX(*list, x));
  if (to < 0) return;
  // Moving right the column goes after the one under the pointer, else before it.
  int edge = -list->CalcUnscrolledPosition(wxPoint(0, 0)).x;
  for (int position = 0; position < to + (to > m_nPressedPosition ? 1 : 0); ++position)
    edge += widths[size_t(position)];
  wxPaintDC dc(m_pHeader);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
  dc.DrawRectangle(std::max(0, edge - kDropBarWidth / 2), 0, kDropBarWidth,
                   m_pHeader->GetClientSize().y);
}
