// The events a list sends the owner of an in-place edit: when the edit begins and
// when it ends without being cancelled. Their types are the ones the owner named
// when it registered the column's editor; both carry the edited cell.
#pragma once

#include <wx/event.h>

class CZORMListEditEvent : public wxEvent {
 public:
  CZORMListEditEvent(wxEventType type, long row, int column)
      : wxEvent(0, type), m_nRow(row), m_nColumn(column) {}

  long GetRow() const { return m_nRow; }
  int GetColumn() const { return m_nColumn; }

  wxEvent* Clone() const override { return new CZORMListEditEvent(*this); }

 private:
  long m_nRow;
  int m_nColumn;
};
