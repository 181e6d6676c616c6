// The event a list sends before it shows its context menu, so that the menu's owner
// can change the menu. Its type is the one the owner named in SetContextMenu.
#pragma once

#include <wx/event.h>
#include <wx/menu.h>

class CZORMMenuPrepareEvent : public wxEvent {
 public:
  CZORMMenuPrepareEvent(wxEventType type, wxMenu* menu) : wxEvent(0, type), m_pMenu(menu) {}

  // The menu about to be shown; valid only while the event is handled.
  wxMenu* GetMenu() const { return m_pMenu; }

  wxEvent* Clone() const override { return new CZORMMenuPrepareEvent(*this); }

 private:
  wxMenu* m_pMenu;
};
