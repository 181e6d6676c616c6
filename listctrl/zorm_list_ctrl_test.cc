#include "listctrl/zorm_list_ctrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include "listctrl/list_geometry.h"
#include "tests/gui/gui_helpers.h"
#include "tests/support/test_env.h"

namespace {

uint32_t Rgb(const wxColour& colour) {
  return (uint32_t(colour.Red()) << 16) | (uint32_t(colour.Green()) << 8) | colour.Blue();
}

// A virtual list whose rows say where they are; texts grow longer down the list.
class NumberedList : public CZORMListCtrl {
 public:
  NumberedList(wxWindow* parent, long style)
      : CZORMListCtrl(parent, wxID_ANY, wxPoint(20, 60), wxSize(420, 240), style) {}
  using CZORMListCtrl::OnGetItemAttr;
  using CZORMListCtrl::OnGetItemColumnAttr;

 protected:
  wxString OnGetItemText(long item, long column) const override {
    return wxString::Format("R%ld C%ld", item, column) + wxString('W', (item * 7 + column) % 23);
  }
  int OnGetItemImage(long item) const override { return item % 3 == 0 ? 0 : -1; }
};

// A window that tells when it is deleted.
class WatchedWindow : public wxWindow {
 public:
  WatchedWindow(wxWindow* parent, bool* deleted) : wxWindow(parent, wxID_ANY), deleted_(deleted) {}
  ~WatchedWindow() override { *deleted_ = true; }

 private:
  bool* deleted_;
};

class ListCtrlTest : public testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "List", wxPoint(0, 0), wxSize(520, 420));
    panel_ = new wxPanel(frame_);
  }
  void TearDown() override {
    frame_->Destroy();
    wxYield();
  }

  NumberedList* MakeList(long style = wxLC_REPORT | wxLC_VIRTUAL, int columns = 3) {
    auto* list = new NumberedList(panel_, style);
    for (int column = 0; column < columns; ++column)
      list->AppendColumn(wxString::Format("Column %d", column), wxLIST_FORMAT_LEFT, 120);
    return list;
  }

  // The screen with `list` shown and repainted.
  wxImage ShotOf(NumberedList* list, const std::string& name) {
    frame_->Show();
    EXPECT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
    list->Refresh();
    list->Update();
    Settle();
    return Screenshot(home_.path() + "/listctrl_" + name + ".png");
  }

  ScopedTestHome home_;
  // Here, not in a test's body: windows report to them while the frame goes away.
  bool deleted_[2] = {false, false};
  wxFrame* frame_ = nullptr;
  wxPanel* panel_ = nullptr;
};

TEST_F(ListCtrlTest, VirtualRowsAnswerTheDrawingRulesAsAttributes) {
  NumberedList* list = MakeList();
  list->SetItemCount(6);
  list->SetAlternateShading(true);
  list->SetHighlightedColumn(1);
  list->SetTotalsLine(true);
  const struct Case {
    long row, column;
    uint32_t background;
  } cases[] = {{0, 1, 0xD2DCD2}, {1, 0, 0xFFFFFF}, {3, 1, 0xF5F5F5}, {5, 1, 0xFFFFFF}};
  for (const Case& c : cases) {
    const wxItemAttr* attr = list->OnGetItemColumnAttr(c.row, c.column);
    EXPECT_EQ(c.background, Rgb(attr->GetBackgroundColour())) << c.row << "," << c.column;
    EXPECT_EQ(0x000000u, Rgb(attr->GetTextColour())) << c.row << "," << c.column;
  }
  // A whole row carries the text colour only: its backgrounds are painted per cell.
  EXPECT_FALSE(list->OnGetItemAttr(0)->HasBackgroundColour());

  wxFont bold(wxFontInfo(13).Bold()), plain(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE));
  list->SetDefaultCellFont(plain);
  list->SetColumnFont(1, &bold);
  EXPECT_TRUE(list->OnGetItemColumnAttr(3, 1)->GetFont() == bold);
  EXPECT_TRUE(list->OnGetItemColumnAttr(3, 2)->GetFont() == plain);
  EXPECT_TRUE(list->OnGetItemAttr(3)->GetFont() == plain);
  list->SetColumnFont(1, nullptr);
  EXPECT_FALSE(list->OnGetItemColumnAttr(3, 2)->HasFont());
}

TEST_F(ListCtrlTest, ScreenShowsTheEmptyNoticeThenShadingHighlightAndTotalsLine) {
  NumberedList* list = MakeList(wxLC_REPORT);
  list->SetAlternateShading(true);
  list->SetHighlightedColumn(2);
  list->SetTotalsLine(true);
  wxImage empty = ShotOf(list, "empty");
  ASSERT_TRUE(empty.IsOk());
  const auto colour = [&](const wxImage& image, wxPoint p) {
    p = list->ClientToScreen(p);
    return uint32_t(image.GetRed(p.x, p.y) << 16 | image.GetGreen(p.x, p.y) << 8 |
                    image.GetBlue(p.x, p.y));
  };
  // The band: outlined in black and filled with the menu colour, between white.
  const wxSize client = list->GetClientSize();
  const ListRect band = ComputeEmptyNoticeBand({0, 0, client.x, client.y},
                                               list->GetHeader().GetWindow()->GetClientSize().y).band;
  const int mid = (band.top + band.bottom) / 2;
  const uint32_t menu = Rgb(wxSystemSettings::GetColour(wxSYS_COLOUR_MENU));
  const struct Probe {
    const char* what;
    wxPoint at;  // in the list's client coordinates
    uint32_t empty;
  } probes[] = {
      {"top edge", {client.x / 2, band.top}, 0x000000},
      {"bottom edge", {client.x / 2, band.bottom - 1}, 0x000000},
      {"left edge", {30, mid}, 0x000000},
      {"right edge", {client.x - 31, mid}, 0x000000},
      {"inside", {36, mid}, menu},
      {"left of the band", {25, mid}, 0xFFFFFF},
  };
  for (const Probe& probe : probes) EXPECT_EQ(probe.empty, colour(empty, probe.at)) << probe.what;
  int dark = 0;  // the notice's text across the middle of the band
  for (int x = 40; x < client.x - 40; ++x) dark += colour(empty, wxPoint(x, mid)) < 0x404040;
  EXPECT_GT(dark, 10);

  for (long row = 0; row < 5; ++row) {
    list->InsertItem(row, "Item");
    for (int column = 1; column < 3; ++column) list->SetItem(row, column, "Item");
  }
  wxImage rows = ShotOf(list, "rows");
  ASSERT_TRUE(rows.IsOk());
  EXPECT_EQ(0xFFFFFFu, colour(rows, probes[3].at)) << "no notice once a row exists";
  const auto cell = [&](long row, int column) {
    wxRect row_rect, cell_rect;
    list->GetItemRect(row, row_rect);
    list->GetSubItemRect(row, column, cell_rect);
    return wxPoint(cell_rect.GetRight() - 8, row_rect.y + row_rect.height / 2);
  };
  const struct Case {
    long row;
    int column;
    uint32_t colour;
  } cases[] = {{0, 0, 0xD2DCD2}, {2, 1, 0xD2DCD2}, {3, 1, 0xFFFFFF}, {3, 2, 0xF5F5F5}, {4, 2, 0xD2DCD2}};
  for (const Case& c : cases)
    EXPECT_EQ(c.colour, colour(rows, cell(c.row, c.column))) << c.row << "," << c.column;
  // The totals line: black across the top of the last row (item rectangles of a list
  // with a header lie one pixel below the rows as drawn), not above the one before.
  wxRect last, before_last;
  list->GetItemRect(4, last);
  list->GetItemRect(3, before_last);
  int black = 0;
  for (int x = 0; x < last.width; ++x) black += colour(rows, wxPoint(x, last.y - 1)) == 0;
  EXPECT_GT(black, last.width * 9 / 10);
  EXPECT_EQ(0xFFFFFFu, colour(rows, wxPoint(100, before_last.y - 1)));
}

TEST_F(ListCtrlTest, AutoSizeColumnsFitsTheFirstSixteenUnlessLocked) {
  NumberedList* list = MakeList(wxLC_REPORT | wxLC_VIRTUAL, 20);
  list->SetItemCount(3);
  for (int column = 0; column < 20; ++column) list->SetColumnWidth(column, 30);
  list->LockColumnWidth(3);
  list->LockColumnWidth(16);  // beyond the lockable columns: ignored
  EXPECT_FALSE(list->IsColumnWidthLocked(16));
  list->AutoSizeColumns();
  for (int column = 0; column < 20; ++column) {
    if (column == 3 || column >= 16)
      EXPECT_EQ(30, list->GetColumnWidth(column)) << "column " << column;
    else
      EXPECT_GT(list->GetColumnWidth(column), 60) << "column " << column;
  }
}

TEST_F(ListCtrlTest, VirtualAutoSizingMatchesTheListsOwn) {
  wxImageList images(16, 16, true, 1);
  images.Add(wxBitmap(16, 16));
  for (long rows : {0L, 40L, 999L}) {
    for (bool with_images : {false, true}) {
      NumberedList* list = MakeList(wxLC_REPORT | wxLC_VIRTUAL, 0);
      list->SetItemCount(rows);
      if (with_images) list->SetImageList(&images, wxIMAGE_LIST_SMALL);
      list->AppendColumn("T", wxLIST_FORMAT_LEFT, 30);
      list->AppendColumn("A heading wider than most of its cells", wxLIST_FORMAT_LEFT, 30);
      for (int column = 0; column < 2; ++column) {
        const int ours = list->FittingVirtualColumnWidth(column);
        list->SetColumnWidth(column, wxLIST_AUTOSIZE_USEHEADER);
        EXPECT_EQ(list->GetColumnWidth(column), ours)
            << rows << " rows, images " << with_images << ", column " << column;
      }
      list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
      list->Destroy();
    }
  }
}

TEST_F(ListCtrlTest, ColumnsAndHeaderFollowTheView) {
  NumberedList* report = MakeList();
  ASSERT_NE(nullptr, report->GetHeader().GetWindow());
  EXPECT_EQ(&report->GetHeader(), report->GetHeader().GetWindow()->GetEventHandler());
  EXPECT_EQ(nullptr, MakeList(wxLC_ICON, 0)->GetHeader().GetWindow());
  // Switching the header off and on replaces its window; the member follows.
  report->SetSingleStyle(wxLC_NO_HEADER, true);
  EXPECT_EQ(nullptr, report->GetHeader().GetWindow());
  report->SetSingleStyle(wxLC_NO_HEADER, false);
  EXPECT_NE(nullptr, report->GetHeader().GetWindow());
  report->SetGridLines(true);
  EXPECT_TRUE(report->HasFlag(wxLC_HRULES) && report->HasFlag(wxLC_VRULES));
  report->SetGridLines(false);
  EXPECT_FALSE(report->HasFlag(wxLC_HRULES) || report->HasFlag(wxLC_VRULES));
  EXPECT_EQ(3, report->GetColumnCount());
  report->SetSingleStyle(wxLC_LIST, true);
  EXPECT_EQ(0, report->GetColumnCount());
}

TEST_F(ListCtrlTest, FooterAndWindowAboveFollowTheList) {
  NumberedList* list = MakeList();
  list->SetWindowAbove(new WatchedWindow(panel_, &deleted_[0]));
  ASSERT_TRUE(list->GetFooter().Create(panel_, list, wxID_ANY));
  frame_->Show();
  for (const wxRect& rect : {wxRect(20, 60, 420, 240), wxRect(40, 80, 300, 150)}) {
    list->SetSize(rect);
    Settle();
    EXPECT_EQ(wxRect(rect.x, rect.GetBottom() + 1, rect.width, 20), list->GetFooter().GetRect());
    EXPECT_EQ(wxRect(rect.x, rect.y - 23, rect.width, 20), list->GetWindowAbove()->GetRect());
  }
  list->Hide();
  EXPECT_FALSE(list->GetFooter().IsShown());
  list->Show();
  EXPECT_TRUE(list->GetFooter().IsShown());

  // The list owns the window above: a new one replaces and deletes the old; one
  // destroyed elsewhere is forgotten.
  auto* second = new WatchedWindow(panel_, &deleted_[1]);
  list->SetWindowAbove(second);
  EXPECT_TRUE(deleted_[0]);
  second->Destroy();
  EXPECT_TRUE(deleted_[1]);
  EXPECT_EQ(nullptr, list->GetWindowAbove());
}

}  // namespace
