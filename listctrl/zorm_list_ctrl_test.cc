#include "listctrl/zorm_list_ctrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include "listctrl/list_geometry.h"
#include "listctrl/numbered_list_test.h"
#include "platform/profile.h"
#include "tests/gui/gui_test_runner.h"
#include "tests/support/test_env.h"

namespace {

uint32_t Rgb(const wxColour& colour) {
  return uint32_t(colour.Red()) << 16 | colour.Green() << 8 | colour.Blue();
}

class ListCtrlTest : public testing::Test {
 protected:
  void TearDown() override { frame_->Destroy(); }

  wxFrame* frame_ = new wxFrame(nullptr, wxID_ANY, "List", wxPoint(0, 0), wxSize(520, 420));
  wxPanel* panel_ = new wxPanel(frame_);
};

TEST_F(ListCtrlTest, ScreenShowsTheEmptyNoticeThenShadingHighlightAndTotalsLine) {
  frame_->Show();
  ASSERT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
  ScopedTestHome home;
  for (long style : {wxLC_REPORT, wxLC_REPORT | wxLC_VIRTUAL}) {
    SCOPED_TRACE(style);
    auto* list = new NumberedList(panel_, style);
    list->SetAlternateShading(true);
    list->SetHighlightedColumn(2);
    list->SetTotalsLine(true);
    wxImage shot;
    const auto take = [&] {
      list->Refresh();
      list->Update();
      Settle();
      shot = Screenshot(home.path() + "/list.png");
      ASSERT_TRUE(shot.IsOk());
    };
    const auto colour = [&](wxPoint p) {  // p in the list's client coordinates
      p = list->ClientToScreen(p);
      return uint32_t(shot.GetRed(p.x, p.y) << 16 | shot.GetGreen(p.x, p.y) << 8 |
                      shot.GetBlue(p.x, p.y));
    };
    take();
    // The band: outlined in black and filled with the menu colour, between white.
    const wxSize client = list->GetClientSize();
    const int header = list->GetHeader().GetWindow()->GetClientSize().y;
    const ListRect band = ComputeEmptyNoticeBand({0, 0, client.x, client.y}, header).band;
    const int mid = (band.top + band.bottom) / 2;
    const std::pair<wxPoint, uint32_t> probes[] = {
        {{client.x / 2, band.top}, 0},
        {{client.x - 31, mid}, 0},
        {{36, mid}, Rgb(wxSystemSettings::GetColour(wxSYS_COLOUR_MENU))},
        {{25, mid}, 0xFFFFFF}};
    for (const auto& [at, expected] : probes)
      EXPECT_EQ(expected, colour(at)) << at.x << "," << at.y;
    int dark = 0;  // the notice's text across the middle of the band
    for (int x = 40; x < client.x - 40; ++x) dark += colour(wxPoint(x, mid)) < 0x404040;
    EXPECT_GT(dark, 10);

    if (list->IsVirtual())
      list->SetItemCount(5);
    else
      for (long row = 0; row < 5; ++row) list->InsertItem(row, "Item");
    take();
    EXPECT_EQ(0xFFFFFFu, colour(probes[1].first)) << "no notice once a row exists";
    // One cell of each colour; which cell takes which is the cell style's rule.
    const std::tuple<long, int, uint32_t> cases[] = {
        {0, 0, 0xD2DCD2}, {3, 1, 0xFFFFFF}, {3, 2, 0xF5F5F5}};  // row, column, colour
    for (const auto& [row, column, expected] : cases) {
      wxRect row_rect, cell;
      list->GetItemRect(row, row_rect);
      list->GetSubItemRect(row, column, cell);
      EXPECT_EQ(expected, colour(wxPoint(cell.GetRight() - 8, row_rect.y + row_rect.height / 2)))
          << row << "," << column;
    }
    // The totals line: black across the top of the last row (item rectangles of a
    // list with a header lie one pixel below the rows as drawn).
    wxRect last;
    list->GetItemRect(4, last);
    int black = 0;
    for (int x = 0; x < last.width; ++x) black += colour(wxPoint(x, last.y - 1)) == 0;
    EXPECT_GT(black, last.width * 9 / 10);
    list->Destroy();
  }
}

TEST_F(ListCtrlTest, AutoSizingFitsUnlockedColumnsAsTheListItselfWould) {
  wxImageList images(16, 16, true, 1);
  images.Add(wxBitmap(16, 16));
  // A long list is fitted to its widest row wherever it is: as the list itself
  // fits that row alone.
  for (long rows : {0L, 40L, 999L, 40000L}) {
    auto* list = new NumberedList(panel_, wxLC_REPORT | wxLC_VIRTUAL, 18);
    auto* widest = rows < 40000 ? list : new NumberedList(panel_, wxLC_REPORT | wxLC_VIRTUAL, 18, 20000);
    list->SetItemCount(rows);
    widest->SetItemCount(rows < 40000 ? rows : 1);
    if (rows == 40) list->SetImageList(&images, wxIMAGE_LIST_SMALL);
    std::vector<int> fitting;
    for (int column = 0; column < 18; ++column) {
      widest->SetColumnWidth(column, wxLIST_AUTOSIZE_USEHEADER);
      fitting.push_back(widest->GetColumnWidth(column));
      list->SetColumnWidth(column, 30);
    }
    if (widest != list) widest->Destroy();
    list->LockColumnWidth(3);
    list->LockColumnWidth(16);  // beyond the lockable columns: ignored
    list->AutoSizeColumns();
    for (int column = 0; column < 18; ++column)
      EXPECT_EQ(column == 3 || column >= 16 ? 30 : fitting[column], list->GetColumnWidth(column))
          << rows << " rows, column " << column;
    list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    list->Destroy();
  }
}

// Rows that fail while the list draws them: the error is shown once the drawing
// is over, and the list goes on.
TEST_F(ListCtrlTest, RowsFailingWhileDrawnAreReportedAndTheListGoesOn) {
  struct FailingList : NumberedList {
    using NumberedList::NumberedList;
    wxString GetCellText(long item, long column) const override {
      if (failing) throw std::invalid_argument("Invalid argument: no row " + std::to_string(item));
      return NumberedList::GetCellText(item, column);
    }
    bool failing = true;
  };
  struct Boxes : wxModalDialogHook {
    int Enter(wxDialog* dialog) override {
      auto* box = dynamic_cast<wxMessageDialogBase*>(dialog);  // the only kind expected
      shown.push_back((dialog->GetTitle() + "|" + box->GetMessage()).utf8_string() + "|" +
                      std::to_string(box->GetMessageDialogStyle() & wxICON_MASK));
      list->failing = false;
      return wxID_OK;
    }
    void Exit(wxDialog*) override {}
    FailingList* list = nullptr;
    std::vector<std::string> shown;
  } boxes;
  boxes.list = new FailingList(panel_);
  boxes.list->SetItemCount(3);
  boxes.Register();
  frame_->Show();
  ASSERT_TRUE(WaitFor([&] { return !boxes.shown.empty(); }));
  Settle();
  boxes.Unregister();
  EXPECT_EQ(boxes.shown, std::vector<std::string>{ProfileApplicationName() +
                                                  "|Invalid argument: no row 0|" +
                                                  std::to_string(wxICON_ERROR)});
}

}  // namespace
