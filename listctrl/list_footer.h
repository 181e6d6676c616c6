// CZORMListFooter: the strip under a CZORMListCtrl. The window that owns the list
// creates it when it wants one; from then on the list keeps it in a 20-pixel strip
// directly under itself, shows and hides it with itself and makes it repaint when
// the rows change. It draws nothing of its own: a plain strip in the list's place.
#pragma once

#include <wx/window.h>

class CZORMListCtrl;

class CZORMListFooter : public wxWindow {
 public:
  // No window until Create.
  CZORMListFooter() = default;
  CZORMListFooter(const CZORMListFooter&) = delete;
  CZORMListFooter& operator=(const CZORMListFooter&) = delete;

  // Creates the strip as a visible child of `parent` (normally the list's parent)
  // with identifier `id` and remembers `list` (not owned), which then lays it out.
  // The list must have been created before the footer, so that the parent destroys
  // the list, and with it this footer, first. Returns false when the window could
  // not be created.
  virtual bool Create(wxWindow* parent, CZORMListCtrl* list, wxWindowID id);

  // The list the strip belongs to; null before Create.
  CZORMListCtrl* GetList() const { return m_pList; }

 private:
  CZORMListCtrl* m_pList = nullptr;
};
