// The event a list sends its owner when its column filters changed. Its type is the
// one the owner named in SetFilterChangeMessage; it carries no data: the owner reads
// the filters from the list (GetFilters). The event object is the list.
#pragma once

#include <wx/event.h>

class CZORMFilterChangeEvent : public wxEvent {
 public:
  explicit CZORMFilterChangeEvent(wxEventType type) : wxEvent(0, type) {}
  wxEvent* Clone() const override { return new CZORMFilterChangeEvent(*this); }
};
