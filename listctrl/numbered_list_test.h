// A list for the list control's GUI tests.
#pragma once

#include "listctrl/zorm_list_ctrl.h"
#include "util/utf8.h"

// A list in a frame; when virtual, its rows say where they are and grow longer down the list,
// an image on every third row; row 20,000 is the longest by far, ending in accented Latin, CJK
// or bytes not UTF-8 by column. Odd columns answer UTF-8 themselves; rows start at row `first`.
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
    return wxString::FromUTF8(PrintableUtf8(Utf8Text(item, column)));
  }
  std::string_view GetCellTextUtf8(long item, long column, std::string* buffer) const override {
    return column % 2 ? *buffer = Utf8Text(item, column)
                      : CZORMListCtrl::GetCellTextUtf8(item, column, buffer);
  }
  std::string Utf8Text(long item, long column) const {
    item += first_;
    const char* const kEnds[] = {" Caf\u00e9 \u0141\u00f3d\u017a", " \u6771\u4eac", " \xC3( \xFF"};
    return "R" + std::to_string(item) + " C" + std::to_string(column) +
           std::string(size_t((item * 7 + column) % 23 + (item == 20000 ? 30 : 0)), 'W') +
           (item == 20000 ? kEnds[column % 3] : "");
  }
  int OnGetItemImage(long item) const override { return (item + first_) % 3 == 0 ? 0 : -1; }

 private:
  long first_;
};
