// A list for the list control's GUI tests.
#pragma once

#include "listctrl/zorm_list_ctrl.h"

// A list in a frame; when virtual, its rows say where they are and grow longer down
// the list, with an image on every third row.
class NumberedList : public CZORMListCtrl {
 public:
  explicit NumberedList(wxWindow* parent, long style = wxLC_REPORT | wxLC_VIRTUAL, int columns = 3)
      : CZORMListCtrl(parent, wxID_ANY, wxPoint(20, 60), wxSize(420, 240), style) {
    for (int column = 0; column < columns; ++column)
      AppendColumn(wxString::Format("Column %d", column), wxLIST_FORMAT_LEFT, 120);
  }

 protected:
  wxString OnGetItemText(long item, long column) const override {
    return wxString::Format("R%ld C%ld", item, column) + wxString('W', (item * 7 + column) % 23);
  }
  int OnGetItemImage(long item) const override { return item % 3 == 0 ? 0 : -1; }
};
