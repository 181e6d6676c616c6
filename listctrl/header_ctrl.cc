#include "listctrl/header_ctrl.h"

#include <wx/listctrl.h>
#include <wx/window.h>

CZORMHeaderCtrl::~CZORMHeaderCtrl() { Detach(); }

bool CZORMHeaderCtrl::Attach(wxWindow* header) {
  if (header == nullptr || m_pHeader != nullptr) return false;
  header->PushEventHandler(this);
  m_pHeader = header;
  Bind(wxEVT_LEFT_DOWN, &CZORMHeaderCtrl::OnLeftDown, this);
  Bind(wxEVT_PAINT, &CZORMHeaderCtrl::OnPaint, this);
  return true;
}

void CZORMHeaderCtrl::Detach() {
  if (m_pHeader == nullptr) return;
  Unbind(wxEVT_LEFT_DOWN, &CZORMHeaderCtrl::OnLeftDown, this);
  Unbind(wxEVT_PAINT, &CZORMHeaderCtrl::OnPaint, this);
  m_pHeader->RemoveEventHandler(this);
  m_pHeader = nullptr;
}

int CZORMHeaderCtrl::ItemAt(const wxListCtrl& list, int x) {
  int left = -list.CalcUnscrolledPosition(wxPoint(0, 0)).x;
  const int count = list.GetColumnCount();
  for (int order = 0; order < count; ++order) {
    const int column = list.GetColumnIndexFromOrder(order);
    const int width = list.GetColumnWidth(column);
    if (x >= left && x < left + width) return column;
    left += width;
  }
  return -1;
}

void CZORMHeaderCtrl::OnLeftDown(wxMouseEvent& event) {
  if (const auto* list = dynamic_cast<const wxListCtrl*>(m_pHeader->GetParent()))
    m_nLastItemPressed = ItemAt(*list, event.GetX());
  event.Skip();  // clicks and resizing work as in a plain header
}

void CZORMHeaderCtrl::OnPaint(wxPaintEvent& event) {
  event.Skip();
  if (m_painted) m_painted();
}
