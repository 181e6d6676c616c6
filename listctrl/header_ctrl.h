// CZORMHeaderCtrl: the list's own hold on its column header. The list attaches it to
// the header window it creates, where it sees the header's events before the header
// does, the way a subclassed window would. It keeps only that attachment.
#pragma once

#include <wx/event.h>

class wxWindow;

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

 private:
  wxWindow* m_pHeader = nullptr;
};
