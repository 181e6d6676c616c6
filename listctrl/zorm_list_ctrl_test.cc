#include "listctrl/zorm_list_ctrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "listctrl/list_geometry.h"
#include "tests/gui/gui_helpers.h"
#include "tests/support/test_env.h"

namespace {

uint32_t PixelAt(const wxImage& image, wxPoint p) {
  return (uint32_t(image.GetRed(p.x, p.y)) << 16) | (uint32_t(image.GetGreen(p.x, p.y)) << 8) |
         image.GetBlue(p.x, p.y);
}

uint32_t Rgb(const wxColour& colour) {
  return (uint32_t(colour.Red()) << 16) | (uint32_t(colour.Green()) << 8) | colour.Blue();
}

// A virtual list whose rows say where they are, as the framework's lists that answer
// their own rows do.
class NumberedList : public CZORMListCtrl {
 public:
  NumberedList(wxWindow* parent, long style)
      : CZORMListCtrl(parent, wxID_ANY, wxPoint(20, 60), wxSize(420, 240), style) {}

  using CZORMListCtrl::OnGetItemAttr;
  using CZORMListCtrl::OnGetItemColumnAttr;

 protected:
  wxString OnGetItemText(long item, long column) const override {
    return wxString::Format("R%ld C%ld", item, column);
  }
};

// A window that tells when it is deleted.
class WatchedWindow : public wxWindow {
 public:
  WatchedWindow(wxWindow* parent, bool* deleted)
      : wxWindow(parent, wxID_ANY, wxPoint(0, 0), wxSize(10, 10)), m_pDeleted(deleted) {}
  ~WatchedWindow() override { *m_pDeleted = true; }

 private:
  bool* m_pDeleted;
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

  void ShowFrame() {
    frame_->Show();
    ASSERT_TRUE(WaitFor([&] { return frame_->IsShownOnScreen(); }));
    Settle();
  }

  // The screen with the list repainted first. With ZORM_KEEP_SCREENSHOT_DIR set, a
  // copy is kept there as listctrl_<name>.png for a look.
  wxImage ShotOf(NumberedList* list, const std::string& name) {
    list->Refresh();
    list->Update();
    Settle();
    const std::string file = "listctrl_" + name + ".png";
    wxImage shot = Screenshot(home_.path() + "/" + file);
    if (const char* keep = getenv("ZORM_KEEP_SCREENSHOT_DIR"))
      shot.SaveFile(std::string(keep) + "/" + file, wxBITMAP_TYPE_PNG);
    return shot;
  }

  // Screen position of a point given in the list's client coordinates.
  static wxPoint OnScreen(const NumberedList* list, wxPoint p) { return list->ClientToScreen(p); }

  ScopedTestHome home_;
  // Kept here, not in a test's body: windows may still report to them while the
  // frame goes away after the test.
  bool deleted_[2] = {false, false};
  int footer_paints_ = 0;
  wxFrame* frame_ = nullptr;
  wxPanel* panel_ = nullptr;
};

TEST_F(ListCtrlTest, VirtualRowsAnswerTheirColoursAndFonts) {
  NumberedList* list = MakeList();
  list->SetItemCount(6);
  list->SetAlternateShading(true);
  list->SetHighlightedColumn(1);
  list->SetTotalsLine(true);

  struct Case {
    long row;
    long column;
    uint32_t background;
  };
  const Case cases[] = {
      {0, 0, 0xD2DCD2}, {0, 1, 0xD2DCD2}, {1, 0, 0xFFFFFF}, {1, 1, 0xF5F5F5},
      {2, 2, 0xD2DCD2}, {3, 1, 0xF5F5F5}, {4, 1, 0xD2DCD2}, {5, 1, 0xFFFFFF},  // totals row
      {5, 0, 0xFFFFFF},
  };
  for (const Case& c : cases) {
    const wxItemAttr* attr = list->OnGetItemColumnAttr(c.row, c.column);
    ASSERT_NE(nullptr, attr);
    EXPECT_EQ(c.background, Rgb(attr->GetBackgroundColour())) << c.row << "," << c.column;
    EXPECT_EQ(0x000000u, Rgb(attr->GetTextColour())) << c.row << "," << c.column;
    EXPECT_FALSE(attr->HasFont()) << "no column has a font of its own";
  }
  // Same looks share one attribute, which stays put while the list caches rows.
  EXPECT_EQ(list->OnGetItemColumnAttr(0, 0), list->OnGetItemColumnAttr(2, 2));
  EXPECT_NE(list->OnGetItemColumnAttr(0, 0), list->OnGetItemColumnAttr(1, 0));

  // A whole row carries the text colour only: its backgrounds are painted per cell.
  const wxItemAttr* row = list->OnGetItemAttr(0);
  ASSERT_NE(nullptr, row);
  EXPECT_FALSE(row->HasBackgroundColour());
  EXPECT_EQ(0x000000u, Rgb(row->GetTextColour()));

  wxFont bold(wxFontInfo(13).Bold());
  const wxFont plain(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE));
  list->SetDefaultCellFont(plain);
  list->SetColumnFont(1, &bold);
  EXPECT_TRUE(list->OnGetItemColumnAttr(3, 1)->GetFont() == bold);
  EXPECT_TRUE(list->OnGetItemColumnAttr(3, 2)->GetFont() == plain);
  EXPECT_TRUE(list->OnGetItemAttr(3)->GetFont() == plain);
  list->SetColumnFont(1, nullptr);
  EXPECT_FALSE(list->OnGetItemColumnAttr(3, 2)->HasFont());
}

TEST_F(ListCtrlTest, AutoSizeColumnsFitsTheFirstSixteenUnlessLocked) {
  NumberedList* list = MakeList(wxLC_REPORT | wxLC_VIRTUAL, 20);
  list->SetItemCount(3);
  for (int column = 0; column < 20; ++column) {
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    item.SetText(wxString::Format("A rather long heading for column %d", column));
    list->SetColumn(column, item);
    list->SetColumnWidth(column, 30);
  }
  list->LockColumnWidth(3);
  list->LockColumnWidth(7);
  list->LockColumnWidth(16);  // beyond the lockable columns: ignored
  EXPECT_FALSE(list->IsColumnWidthLocked(16));

  list->AutoSizeColumns();

  ASSERT_EQ(20, list->GetColumnCount());
  for (int column = 0; column < 20; ++column) {
    const bool kept = column == 3 || column == 7 || column >= 16;
    if (kept)
      EXPECT_EQ(30, list->GetColumnWidth(column)) << "column " << column;
    else
      EXPECT_GT(list->GetColumnWidth(column), 100) << "column " << column;
  }
}

// A virtual list of texts of many lengths, with an image on every third row.
class VariedList : public CZORMListCtrl {
 public:
  VariedList(wxWindow* parent, long rows)
      : CZORMListCtrl(parent, wxID_ANY, wxPoint(20, 60), wxSize(460, 240),
                      wxLC_REPORT | wxLC_VIRTUAL) {
    SetItemCount(rows);
  }

 protected:
  wxString OnGetItemText(long item, long column) const override {
    const char* words[] = {"fix", "Enhancement", "WWW wide", "iii", "Caf\u00e9 Z\u00fcrich"};
    wxString text = wxString::FromUTF8(words[(item + column) % 5]);
    for (long i = 0; i < (item * 7 + column * 3) % 11; ++i) text += " more";
    return text;
  }
  int OnGetItemImage(long item) const override { return item % 3 == 0 ? 0 : -1; }
};

TEST_F(ListCtrlTest, VirtualAutoSizingMatchesTheListsOwn) {
  wxImageList images(16, 16, true, 1);
  images.Add(wxBitmap(16, 16));
  for (long rows : {0L, 1L, 40L, 999L}) {
    for (bool with_images : {false, true}) {
      auto* list = new VariedList(panel_, rows);
      if (with_images) list->SetImageList(&images, wxIMAGE_LIST_SMALL);
      list->AppendColumn("T", wxLIST_FORMAT_LEFT, 30);
      list->AppendColumn("A heading wider than most of its cells", wxLIST_FORMAT_LEFT, 30);
      list->AppendColumn("Last", wxLIST_FORMAT_LEFT, 30);
      for (int column = 0; column < 3; ++column) {
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

TEST_F(ListCtrlTest, VirtualAutoSizingOfAHugeListMeasuresBothEnds) {
  auto* list = new VariedList(panel_, 200000);
  list->AppendColumn("T", wxLIST_FORMAT_LEFT, 30);
  list->AppendColumn("Middle", wxLIST_FORMAT_LEFT, 30);
  const int narrow = list->FittingVirtualColumnWidth(0);
  EXPECT_GT(narrow, 100);  // the long texts among the first rows count
  list->AutoSizeColumns();
  EXPECT_EQ(narrow, list->GetColumnWidth(0));
}

TEST_F(ListCtrlTest, ColumnCountAndHeaderFollowTheView) {
  NumberedList* report = MakeList();
  EXPECT_EQ(3, report->GetColumnCount());
  ASSERT_NE(nullptr, report->GetHeader().GetWindow());
  EXPECT_EQ(&report->GetHeader(), report->GetHeader().GetWindow()->GetEventHandler())
      << "the header member sees the header's events first";

  NumberedList* icons = MakeList(wxLC_ICON, 0);
  EXPECT_EQ(0, icons->GetColumnCount());
  EXPECT_EQ(nullptr, icons->GetHeader().GetWindow());

  // Switching the header off and on again replaces the header window; the header
  // member lets go of the old one and holds the new one.
  report->SetSingleStyle(wxLC_NO_HEADER, true);
  EXPECT_EQ(nullptr, report->GetHeader().GetWindow());
  EXPECT_EQ(3, report->GetColumnCount());
  report->SetSingleStyle(wxLC_NO_HEADER, false);
  EXPECT_NE(nullptr, report->GetHeader().GetWindow());

  report->SetGridLines(true);
  EXPECT_TRUE(report->HasFlag(wxLC_HRULES) && report->HasFlag(wxLC_VRULES));
  EXPECT_NE(nullptr, report->GetHeader().GetWindow());
  report->SetGridLines(false);
  EXPECT_FALSE(report->HasFlag(wxLC_HRULES) || report->HasFlag(wxLC_VRULES));

  report->SetSingleStyle(wxLC_LIST, true);
  EXPECT_EQ(0, report->GetColumnCount());
}

TEST_F(ListCtrlTest, FooterAndWindowAboveFollowTheList) {
  NumberedList* list = MakeList();
  bool& above_deleted = deleted_[0];
  list->SetWindowAbove(new WatchedWindow(panel_, &above_deleted));
  ASSERT_TRUE(list->GetFooter().Create(panel_, list, wxID_ANY));
  EXPECT_EQ(list, list->GetFooter().GetList());
  ShowFrame();

  const auto expect_in_place = [&](const char* when) {
    const wxRect rect = list->GetRect();
    EXPECT_EQ(wxRect(rect.x, rect.GetBottom() + 1, rect.width, 20), list->GetFooter().GetRect())
        << when;
    EXPECT_EQ(wxRect(rect.x, rect.y - 23, rect.width, 20), list->GetWindowAbove()->GetRect())
        << when;
  };
  expect_in_place("after creation");
  EXPECT_EQ(wxRect(20, 300, 420, 20), list->GetFooter().GetRect());

  list->SetSize(40, 80, 300, 150);
  Settle();
  expect_in_place("after a resize");
  EXPECT_EQ(wxRect(40, 57, 300, 20), list->GetWindowAbove()->GetRect());

  list->Hide();
  EXPECT_FALSE(list->GetFooter().IsShown());
  list->Show();
  EXPECT_TRUE(list->GetFooter().IsShown());

  // The list owns the window above: a new one replaces and deletes the old.
  bool& second_deleted = deleted_[1];
  list->SetWindowAbove(new WatchedWindow(panel_, &second_deleted));
  EXPECT_TRUE(above_deleted);
  EXPECT_FALSE(second_deleted);
  list->Destroy();
  EXPECT_TRUE(second_deleted);
}

TEST_F(ListCtrlTest, CreatedInTwoStepsLikeInOne) {
  auto* list = new CZORMListCtrl;
  EXPECT_EQ(0, list->GetColumnCount());
  EXPECT_EQ(-2, list->GetHighlightedColumn());
  EXPECT_EQ(nullptr, list->GetHeader().GetWindow());
  ASSERT_TRUE(list->Create(panel_, wxID_ANY, wxPoint(20, 60), wxSize(420, 240), wxLC_REPORT));
  EXPECT_NE(nullptr, list->GetHeader().GetWindow());
  list->AppendColumn("Only");
  EXPECT_EQ(1, list->GetColumnCount());
}

TEST_F(ListCtrlTest, FooterRepaintsWhenRowsChange) {
  NumberedList* list = MakeList(wxLC_REPORT);
  ASSERT_TRUE(list->GetFooter().Create(panel_, list, wxID_ANY));
  int& paints = footer_paints_;
  list->GetFooter().Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  });
  ShowFrame();
  paints = 0;
  Settle();
  EXPECT_EQ(0, paints) << "nothing changed, nothing repainted";
  list->InsertItem(0, "First");
  EXPECT_TRUE(WaitFor([&] { return paints > 0; }));
}

TEST_F(ListCtrlTest, WindowAboveDestroyedElsewhereIsForgotten) {
  NumberedList* list = MakeList();
  bool& deleted = deleted_[0];
  auto* above = new WatchedWindow(panel_, &deleted);
  list->SetWindowAbove(above);
  above->Destroy();
  EXPECT_TRUE(deleted);
  EXPECT_EQ(nullptr, list->GetWindowAbove());
}

TEST_F(ListCtrlTest, EmptyListShowsTheNoticeUntilARowExists) {
  NumberedList* list = MakeList();
  ShowFrame();
  const uint32_t menu = Rgb(wxSystemSettings::GetColour(wxSYS_COLOUR_MENU));

  // The band: 40 pixels high, centred below the header, 30 pixels in from the sides,
  // outlined in black and filled with the menu colour (white on some desktops).
  const wxSize client = list->GetClientSize();
  const int header = list->GetHeader().GetWindow()->GetClientSize().y;
  const EmptyNoticeBand notice = ComputeEmptyNoticeBand({0, 0, client.x, client.y}, header);
  ASSERT_EQ(40, notice.band.Height() / 2 * 2) << "a 40-pixel band (41 for an odd height)";
  const int band_top = notice.band.top;
  const int band_bottom = notice.band.bottom - 1;
  const int centre_y = (band_top + band_bottom) / 2;
  struct Probe {
    const char* what;
    wxPoint at;  // in the list's client coordinates
    bool dark;   // black outline or text, else the fill or the list's white
  };
  const Probe empty_probes[] = {
      {"top edge", {client.x / 2, band_top}, true},
      {"bottom edge", {client.x / 2, band_bottom}, true},
      {"left edge", {30, centre_y}, true},
      {"right edge", {client.x - 31, centre_y}, true},
      {"left of the band", {25, centre_y}, false},
      {"above the band", {client.x / 2, band_top - 3}, false},
      {"below the band", {client.x / 2, band_bottom + 3}, false},
  };

  wxImage empty = ShotOf(list, "empty");
  ASSERT_TRUE(empty.IsOk());
  const auto dark_at = [&](const wxImage& image, wxPoint p) {
    return PixelAt(image, OnScreen(list, p)) < 0x404040;
  };
  for (const Probe& probe : empty_probes)
    EXPECT_EQ(probe.dark, dark_at(empty, probe.at)) << probe.what;
  EXPECT_EQ(menu, PixelAt(empty, OnScreen(list, wxPoint(36, centre_y))));
  EXPECT_EQ(0xFFFFFFu, PixelAt(empty, OnScreen(list, wxPoint(20, centre_y))));
  // The notice's text: dark pixels across the middle of the band.
  int dark = 0;
  for (int x = 40; x < client.x - 40; ++x)
    for (int y = band_top + 12; y < band_bottom - 11; ++y) dark += dark_at(empty, wxPoint(x, y));
  EXPECT_GT(dark, 50);

  list->SetItemCount(1);
  wxImage one_row = ShotOf(list, "one_row");
  ASSERT_TRUE(one_row.IsOk());
  for (const Probe& probe : empty_probes)
    EXPECT_FALSE(dark_at(one_row, probe.at)) << probe.what << " with a row";
}

TEST_F(ListCtrlTest, RowsAreShadedHighlightedAndUnderlinedOnScreen) {
  NumberedList* list = MakeList();
  list->SetItemCount(5);
  list->SetAlternateShading(true);
  list->SetHighlightedColumn(2);
  list->SetTotalsLine(true);
  list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  ShowFrame();

  // Points right of each cell's text, in the middle of the row.
  const auto cell_point = [&](long row, int column) {
    wxRect row_rect, cell;
    list->GetItemRect(row, row_rect);
    list->GetSubItemRect(row, column, cell);
    return OnScreen(list, wxPoint(cell.x + cell.width - 8, row_rect.y + row_rect.height / 2));
  };
  wxImage shot = ShotOf(list, "rows");
  ASSERT_TRUE(shot.IsOk());
  struct Case {
    long row;
    int column;
    uint32_t colour;
  };
  const Case cases[] = {
      {0, 0, 0xD2DCD2}, {2, 1, 0xD2DCD2}, {3, 1, 0xFFFFFF},
      {0, 2, 0xD2DCD2}, {3, 2, 0xF5F5F5}, {4, 2, 0xD2DCD2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.colour, PixelAt(shot, cell_point(c.row, c.column))) << c.row << "," << c.column;

  // The totals line: black across the top of the last row (item rectangles of a list
  // with a header lie one pixel below the rows as drawn).
  wxRect last;
  list->GetItemRect(4, last);
  int black = 0;
  for (int x = 0; x < last.width; ++x)
    black += PixelAt(shot, OnScreen(list, wxPoint(x, last.y - 1))) == 0x000000;
  EXPECT_GT(black, last.width * 9 / 10);
  EXPECT_EQ(0xD2DCD2u, PixelAt(shot, OnScreen(list, wxPoint(100, last.y))));
  wxRect before_last;
  list->GetItemRect(3, before_last);
  EXPECT_EQ(0xFFFFFFu, PixelAt(shot, OnScreen(list, wxPoint(100, before_last.y - 1))));

  // Shading off: every row white again.
  list->SetAlternateShading(false);
  list->SetHighlightedColumn(-2);
  wxImage plain = ShotOf(list, "rows_plain");
  for (const long row : {0, 2, 3})  // row 1 is selected
    EXPECT_EQ(0xFFFFFFu, PixelAt(plain, cell_point(row, 1))) << row;
}

// Height and width of the ink (dark pixels) inside a rectangle of the screen.
wxSize InkExtent(const wxImage& image, const wxRect& on_screen) {
  int top = -1, bottom = -1, left = -1, right = -1;
  for (int y = on_screen.y; y < on_screen.GetBottom(); ++y)
    for (int x = on_screen.x; x < on_screen.GetRight(); ++x)
      if (PixelAt(image, wxPoint(x, y)) < 0x606060) {
        if (top < 0) top = y;
        bottom = y;
        if (left < 0 || x < left) left = x;
        if (x > right) right = x;
      }
  return top < 0 ? wxSize(0, 0) : wxSize(right - left + 1, bottom - top + 1);
}

TEST_F(ListCtrlTest, ColumnsDrawTheirOwnFonts) {
  for (const long style : {long(wxLC_REPORT | wxLC_VIRTUAL), long(wxLC_REPORT)}) {
    NumberedList* list = MakeList(style);
    if (!list->IsVirtual()) {
      for (long row = 0; row < 3; ++row) {
        list->InsertItem(row, wxString::Format("R%ld C0", row));
        for (int column = 1; column < 3; ++column)
          list->SetItem(row, column, wxString::Format("R%ld C%d", row, column));
      }
    } else {
      list->SetItemCount(3);
    }
    wxFont big(wxFontInfo(13).Bold());
    list->SetDefaultCellFont(wxFontInfo(7));
    list->SetColumnFont(1, &big);
    list->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    ShowFrame();
    wxImage shot = ShotOf(list, list->IsVirtual() ? "fonts_virtual" : "fonts_plain");
    ASSERT_TRUE(shot.IsOk());

    for (long row = 0; row < 2; ++row) {
      const auto ink = [&](int column) {
        wxRect row_rect, cell;
        list->GetItemRect(row, row_rect);
        list->GetSubItemRect(row, column, cell);
        const wxPoint corner = OnScreen(list, wxPoint(cell.x, row_rect.y));
        return InkExtent(shot, wxRect(corner, wxSize(cell.width, row_rect.height)));
      };
      const wxSize small0 = ink(0), big1 = ink(1), small2 = ink(2);
      EXPECT_EQ(small0, small2) << "row " << row << ": both in the default cell font";
      EXPECT_GT(big1.y, small2.y + 3) << "row " << row;
      EXPECT_GT(big1.x, small2.x * 3 / 2) << "row " << row;
    }
    list->Destroy();
  }
}

TEST_F(ListCtrlTest, PlainListRowsAreShadedToo) {
  NumberedList* list = MakeList(wxLC_REPORT);
  for (long row = 0; row < 4; ++row) list->InsertItem(row, wxString::Format("Item %ld", row));
  list->SetAlternateShading(true);
  ShowFrame();
  wxImage shot = ShotOf(list, "plain_rows");
  ASSERT_TRUE(shot.IsOk());
  for (long row = 0; row < 4; ++row) {
    wxRect rect;
    list->GetItemRect(row, rect);
    const wxPoint p = OnScreen(list, wxPoint(110, rect.y + rect.height / 2));
    EXPECT_EQ(row % 2 == 0 ? 0xD2DCD2u : 0xFFFFFFu, PixelAt(shot, p)) << row;
  }
}

TEST_F(ListCtrlTest, ScrolledSidewaysTheHighlightStaysUnderItsColumn) {
  NumberedList* list = MakeList(wxLC_REPORT | wxLC_VIRTUAL, 3);
  for (int column = 0; column < 3; ++column) list->SetColumnWidth(column, 300);
  list->SetItemCount(4);
  list->SetHighlightedColumn(1);
  ShowFrame();
  list->Scroll(13, -1);
  Settle();
  int ppu_x = 0, ppu_y = 0;
  list->GetScrollPixelsPerUnit(&ppu_x, &ppu_y);
  const int scrolled = list->GetViewStart().x * ppu_x;
  ASSERT_GT(scrolled, 100);
  wxImage shot = ShotOf(list, "scrolled");
  ASSERT_TRUE(shot.IsOk());

  wxRect row;
  list->GetItemRect(1, row);
  const int mid = row.y + row.height / 2;
  const int column1_left = 300 - scrolled;
  EXPECT_EQ(0xFFFFFFu, PixelAt(shot, OnScreen(list, wxPoint(column1_left - 4, mid))));
  EXPECT_EQ(0xF5F5F5u, PixelAt(shot, OnScreen(list, wxPoint(column1_left + 60, mid))));
  EXPECT_EQ(0xF5F5F5u, PixelAt(shot, OnScreen(list, wxPoint(column1_left + 296, mid))));
}

}  // namespace
