#include "tools/zormlist/zormlist_frame.h"

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include <cstdlib>

#include "listctrl/filter_bar.h"
#include "tests/gui/dialog_script.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

// Opens the sample and returns the texts of its filter boxes, then the parts it shows.
std::vector<std::string> OpenSample(CZormListFrame** frame) {
  const std::string path = std::string(getenv("ZORM_SOURCE_DIR")) + "/tools/zormlist/sample-parts.txt";
  ListFile file;
  EXPECT_TRUE(ReadListFile(path, &file).ok());
  *frame = new CZormListFrame(path, std::move(file));
  CListFileCtrl& list = (*frame)->GetList();
  std::vector<std::string> shown(5);
  for (int column = 0; column < 5; ++column) list.GetFilterBar()->GetText(column, &shown[column]);
  for (long item = 0; item < list.GetItemCount(); ++item) shown.push_back(list.GetCellText(item, 0).utf8_string());
  const wxArrayInt order = list.GetColumnsOrder();
  for (int column : order) shown.push_back(std::to_string(column));
  return shown;
}

TEST(ZormListFrameTest, RowsFollowTheFiltersWhichSurviveClosingAndReopeningWithTheColumnOrder) {
  ScopedTestHome home;
  CZormListFrame* frame = nullptr;
  EXPECT_EQ(5u + 25u + 5u, OpenSample(&frame).size());
  frame->GetList().MoveColumn(3, 0);
  frame->GetList().SetFilterText(0, "@(EL|PN)-*");
  frame->GetList().SetFilterText(3, "?(1)?");
  DialogScript script({{"mine"}, {"", "mine"}});  // saved, then made the default
  frame->GetList().SaveFilter();
  frame->GetList().RestoreFilter();
  frame->GetList().ClearFilters();  // the default comes back, not the last filters
  delete frame;
  const std::vector<std::string> shown = {"@(EL|PN)-*", "", "", "?(1)?", "", "EL-3004", "PN-6003",
                                         "3", "0", "1", "2", "4"};
  EXPECT_EQ(shown, OpenSample(&frame));  // quantities 18 and 12
  delete frame;
}

// The description, moved to the front, edited in its box: Enter writes it into the
// row, Escape leaves the row as it was.
TEST(ZormListFrameTest, AnEditIsWrittenIntoTheRowOnlyWhenCommitted) {
  const struct Case {
    const char *typed, *key, *description;
  } kCases[] = {{"Bolt", "Return", "Bolt"}, {"Nut", "Escape", "Hex nut M8, class 8"}, {"Pin", "Return", "Pin"}};
  ScopedTestHome home;
  CZormListFrame* frame = nullptr;
  OpenSample(&frame);
  frame->Show();
  ASSERT_TRUE(WaitFor([&] { return frame->IsShownOnScreen(); }));
  CListFileCtrl& list = frame->GetList();
  list.MoveColumn(1, 0);
  wxUIActionSimulator sim;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.typed);
    const long row = &c - kCases;  // a row apart each time, so no click makes a double click
    wxRect cell;
    list.GetSubItemRect(row, 0, cell);
    sim.MouseMove(list.ClientToScreen(wxPoint(cell.x + 20, cell.y + cell.height / 2)));
    Settle();
    sim.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return list.GetTextEditor().HasFocus(); }));
    const std::string keys = std::string("xdotool key ctrl+a type ") + c.typed;
    ASSERT_EQ(0, std::system((keys + " && xdotool key " + c.key).c_str()));
    ASSERT_TRUE(WaitFor([&] { return !list.GetTextEditor().IsShown(); }));
    EXPECT_EQ(c.description, list.GetFile().rows[list.FileRowOf(row)][1]);
  }
  delete frame;
}

}  // namespace
