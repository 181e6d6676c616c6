// CZORMHeaderCtrl: the list's own hold on its column header. The list attaches it to
// the header window it creates, where it sees the header's events before the header
// does, the way a subclassed window would. It notes which header item the user
// pressed last and tells the list when the header was painted, which is when the
// columns' places may have changed (a width, the order, horizontal scrolling).
// A column header dragged with the left button, pressed away from the borders
// where the header resizes columns, is dropped onto the place under the pointer;
// while it is dragged, a bar in the header shows where it will go.
#pragma once

#include <wx/event.h>

#include <functional>

class wxWindow;
class wxListCtrl;

class CZORMHeaderCtrl : public wxEvtHandler {
 public:
  CZORMHeaderCtrl() = default;
  // Detaches from the header window if still attached.
  ~CZORMHeaderCtrl() override;
  CZORMHeaderCtrl(const CZORMHeaderCtrl&) = delete;
  CZORMHeaderCtrl& operator=(const CZORMHeaderCtrl&) = delete;

  // Puts this handler in front of `header`'s own handlers. Returns false, and
  // changes nothing, when `header` is null or this is already attached.
  bool Attach(wxWindow* header);

  // Takes this handler out of the header window's handlers; does nothing when not
  // attached. Must happen before the header window is destroyed.
  void Detach();

  // The header window this is attached to; null when not attached.
  wxWindow* GetWindow() const { return m_pHeader; }

  // The index of the header item the user pressed last: -1 before any press and
  // after a press outside every item.
  int GetLastItemPressed() const { return m_nLastItemPressed; }

  // The column whose header item lies at `x` in the header window of `list` (which
  // may be scrolled sideways and have its columns reordered); -1 when none does.
  static int ItemAt(const wxListCtrl& list, int x);

  // Called after each painting of the header, while attached.
  void SetPaintedCallback(std::function<void()> painted) { m_painted = std::move(painted); }

  // Called when the user drops the column shown at display position `from` onto
  // display position `to` (never equal); no header drag moves columns without it.
  void SetColumnMovedCallback(std::function<void(int from, int to)> moved) {
    m_moved = std::move(moved);
  }

  // A press this close to a column's right edge resizes the column.
  static constexpr int kResizeBorder = 4;

 private:
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnPaint(wxPaintEvent& event);
  const wxListCtrl* List() const;
  void EndColumnDrag();
  // Draws the bar where the dragged column would go with the pointer at `x`.
  void PaintDropBar(int x);

  wxWindow* m_pHeader = nullptr;
  int m_nLastItemPressed = -1;
  std::function<void()> m_painted;
  std::function<void(int, int)> m_moved;
  int m_nPressedPosition = -1;  // display position of a press that may become a drag
  int m_nPressX = 0;
  bool m_bDraggingColumn = false;
  int m_nDragX = 0;              // where the pointer is while a column is dragged
  bool m_bInHeaderPaint = false;  // the header's own painting runs
};
