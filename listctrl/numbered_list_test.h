// A list for the list control's GUI tests.
#pragma once

#include "listctrl/zorm_list_ctrl.h"

// A list in a frame; when virtual, its rows say where they are and grow longer down
// the list, with an image on every third row; row 20,000 is the longest by far.
// Its rows may start at row `first`.
class NumberedList : public CZORMListCtrl {
 public:
  explicit NumberedList(wxWindow* parent, long style = wxLC_REPORT | wxLC_VIRTUAL, int columns = 3,
                        long first = 0)
      : CZORMListCtrl(parent, wxID_ANY, wxPoint(20, 60), wxSize(420, 240), style), first_(first) {
    for (int column = 0; column < columns; ++column)
      AppendColumn(wxString::Format("Column %d", column), wxLIST_FORMAT_LEFT, 120);
  }

 protected:
  wxString GetCellText(long item, long column) const override {
    item += first_;
    return wxString::Format("R%ld C%ld", item, column) +
           wxString('W', (item * 7 + column) % 23 + (item == 20000 ? 30 : 0));
  }
  int OnGetItemImage(long item) const override { return (item + first_) % 3 == 0 ? 0 : -1; }

 private:
  long first_;
};
