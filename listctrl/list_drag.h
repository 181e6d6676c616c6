// Row dragging in a CZORMListCtrl: what the list keeps about a drag, the event it
// sends its owner when the rows are dropped, and where the drag image goes.
//
// The user drags the selected rows with the left button. The list shows one image
// made of the visible selected rows next to the pointer, marks the row under the
// pointer as the drop row and, on release, sends the drop event to the window the
// owner named. The event carries the list; its drag state says where the drag
// started, which row was last marked and which window the pointer was over.
//
// Everything runs on the user-interface thread.
#pragma once

#include <wx/event.h>
#include <wx/imaglist.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "listctrl/list_geometry.h"

class CZORMListCtrl;
class wxWindow;

// The list's drag member.
struct ZORMListCtrlDragState {
  uint32_t source_row = 0;  // row on which the drag started
  int32_t drop_row = 0;     // row last marked as drop row; -1 from a drag's start: none
  std::unique_ptr<wxImageList> drag_image;   // replaced at each drag's start
  wxWindow* window_under_pointer = nullptr;  // at the last move or at the drop
  wxWindow* drop_notify_window = nullptr;    // receives the drop event
  wxEventType drop_event = wxEVT_NULL;       // wxEVT_NULL: no drop event
  bool drop_on_self = true;                  // rows of the same list can be drop rows
  bool dragging = false;                     // from a drag's start to the release
};

// Sent when dragged rows are dropped, with the type the owner chose (normally
// wxEVT_ZORM_LIST_DROP). The drag state stays in the list for the receiver.
class CZORMListDropEvent : public wxEvent {
 public:
  CZORMListDropEvent(wxEventType type, CZORMListCtrl* list);

  // The list the rows were dragged from; valid while the event is handled.
  CZORMListCtrl* GetList() const { return m_pList; }

  wxEvent* Clone() const override { return new CZORMListDropEvent(*this); }

 private:
  CZORMListCtrl* m_pList;
};

wxDECLARE_EVENT(wxEVT_ZORM_LIST_DROP, CZORMListDropEvent);

// The drag image's rectangle: the union of the rows `rows` (each in the list's
// client coordinates), each cut to [0, width_limit) horizontally. An empty
// rectangle when `rows` is empty or every row lies outside that band.
ListRect DragImageBounds(const std::vector<ListRect>& rows, int width_limit);
