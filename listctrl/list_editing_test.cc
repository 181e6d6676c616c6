#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdlib>

#include "listctrl/list_edit_event.h"
#include "listctrl/numbered_list_test.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

const wxEventTypeTag<CZORMListEditEvent> kBegin(wxNewEventType());
const wxEventTypeTag<CZORMListEditEvent> kEnd(wxNewEventType());

class ListEditingTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_->Show();
    ASSERT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
    list_->SetItemCount(200);
    list_->GetFooter().Create(panel_, list_, wxID_ANY);
    Settle();
  }
  void TearDown() override { frame_->Destroy(); }
  wxPoint CellOnScreen(long row, int column) {
    wxRect cell;
    list_->GetSubItemRect(row, column, cell);
    return list_->ClientToScreen(wxPoint(cell.x + 20, cell.y + cell.height / 2));
  }
  void Click(wxPoint at, int modifier = 0) {
    sim_.MouseMove(at);
    Settle();
    if (modifier != 0) sim_.KeyDown(modifier);
    sim_.MouseClick();
    if (modifier != 0) sim_.KeyUp(modifier);
    Settle();
  }

  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "List", wxPoint(0, 0), wxSize(520, 420));
  wxPanel* panel_ = new wxPanel(frame_);
  NumberedList* list_ = new NumberedList(panel_, wxLC_REPORT | wxLC_VIRTUAL, 5);
  wxUIActionSimulator sim_;
};

TEST_F(ListEditingTest, FooterCountsRowsAndSelectionAsTheyChange) {
  ScopedTestHome home;
  const auto first_selected = [&] { return list_->GetFirstSelectedRow(); };
  struct Case {
    const char* step;
    std::function<void()> act;
    std::string figures[3];
  } cases[] = {
      {"1,500 rows", [&] { list_->SetItemCount(1500); }, {"1,500", "", ""}},
      {"rows 4 and 9 clicked", [&] {
         Click(CellOnScreen(3, 1));
         Click(CellOnScreen(8, 1), WXK_CONTROL);
       }, {"1,500", "2", "4"}},
      {"inverted by the list", [&] { list_->RunListCommand('I'); }, {"1,500", "1,498", "1"}},
      {"no rows", [&] { list_->SetItemCount(0); }, {"0", "", ""}},
  };
  const char* const labels[3] = {"Total Items", "Total Selected", "First Selection"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    c.act();
    for (int pane = 0; pane < 3; ++pane) {
      const CZORMListFooter::PaneText text = list_->GetFooter().GetPaneText(pane);
      EXPECT_EQ(c.figures[pane], text.figure) << pane;
      EXPECT_EQ(c.figures[pane].empty() ? "" : labels[pane], text.label) << pane;
    }
  }
  EXPECT_EQ(-1, first_selected());

  // What the strip shows: white label text on the dark shadow colour, then a
  // black figure after a gap.
  list_->SetItemCount(1500);
  list_->GetFooter().Refresh();
  Settle();
  const wxImage shot = Screenshot(home.path() + "/footer.png");
  ASSERT_TRUE(shot.IsOk());
  wxRect pane;
  list_->GetFooter().GetFieldRect(0, pane);
  pane.SetPosition(list_->GetFooter().ClientToScreen(pane.GetPosition()));
  const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
  const auto at = [&](int x, int y) {
    return wxColour(shot.GetRed(x, y), shot.GetGreen(x, y), shot.GetBlue(x, y));
  };
  int label_width = 0;  // the shadow box along the pane's top row
  while (label_width < pane.width && at(pane.x + label_width, pane.y) == shadow) ++label_width;
  int white = 0, black_after = 0;
  for (int x = pane.x; x < pane.GetRight(); ++x) {
    for (int y = pane.y; y < pane.GetBottom(); ++y) {
      if (x < pane.x + label_width) white += at(x, y) == *wxWHITE;
      if (x > pane.x + label_width + 5) black_after += at(x, y) == *wxBLACK;
    }
  }
  EXPECT_GT(white, 20) << "the label's text";
  EXPECT_GT(label_width, 40);
  EXPECT_GT(black_after, 10) << "the figure";
}

}  // namespace
