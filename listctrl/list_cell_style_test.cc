#include "listctrl/list_cell_style.h"

#include <gtest/gtest.h>

#include "listctrl/list_geometry.h"

namespace {

constexpr ListDrawStage kCell = ListDrawStage::kSubItemPrePaint;

// Settings and target of one drawing decision, written as one row of a table.
struct Draw {
  bool shading, totals;
  int highlighted;
  bool fonts;
  ListDrawStage stage;
  long row;
  int column;
  bool column_has_font = false;

  ListDrawDecision Decide() const {
    return DecideListDraw({shading, totals, highlighted, fonts},
                          {stage, row, /*item_count=*/6, column, column_has_font});
  }
};

TEST(ListCellStyleTest, CellColoursFollowShadingHighlightAndTotalsRow) {
  const struct Case {
    const char* what;
    Draw draw;
    uint32_t background;
  } cases[] = {
      {"shading off", {false, false, -2, false, kCell, 0, 0}, 0xFFFFFF},
      {"shading on: row 0 shaded", {true, false, -2, false, kCell, 0, 0}, 0xD2DCD2},
      {"shading on: row 4 shaded", {true, false, -2, false, kCell, 4, 2}, 0xD2DCD2},
      {"shading on: row 3 white", {true, false, -2, false, kCell, 3, 1}, 0xFFFFFF},
      {"highlighted column", {false, false, 1, false, kCell, 3, 1}, 0xF5F5F5},
      {"other column", {false, false, 1, false, kCell, 3, 2}, 0xFFFFFF},
      {"shaded row wins over the highlight", {true, false, 1, false, kCell, 2, 1}, 0xD2DCD2},
      {"highlight on an unshaded row", {true, false, 1, false, kCell, 3, 1}, 0xF5F5F5},
      {"totals row is not highlighted", {false, true, 1, false, kCell, 5, 1}, 0xFFFFFF},
      {"row above the totals row is", {false, true, 1, false, kCell, 4, 1}, 0xF5F5F5},
      {"last row without totals line is", {false, false, 1, false, kCell, 5, 1}, 0xF5F5F5},
      {"shaded totals row stays shaded", {true, true, 0, false, kCell, 4, 0}, 0xD2DCD2},
  };
  for (const Case& c : cases) {
    const ListDrawDecision decision = c.draw.Decide();
    EXPECT_EQ(c.background, decision.background) << c.what;
    EXPECT_EQ(0x000000u, decision.text_colour) << c.what;
  }
}

TEST(ListCellStyleTest, FlagsAndFontsPerStage) {
  const struct Case {
    const char* what;
    Draw draw;
    unsigned flags;
    ListCellFont font;
  } cases[] = {
      {"prepaint asks for rows", {false, false, -2, false, ListDrawStage::kPrePaint, 0, 0}, 0x20,
       ListCellFont::kUnchanged},
      {"row asks for cells", {false, false, -2, true, ListDrawStage::kItemPrePaint, 3, 0, true},
       0x20, ListCellFont::kUnchanged},
      {"totals line asks for post-paint", {false, true, -2, false, ListDrawStage::kItemPrePaint, 1, 0},
       0x30, ListCellFont::kUnchanged},
      {"post-paint with totals line", {false, true, -2, false, ListDrawStage::kItemPostPaint, 5, 0},
       0x10, ListCellFont::kUnchanged},
      {"shaded cell", {true, false, -2, false, kCell, 2, 0}, 0x20, ListCellFont::kUnchanged},
      {"unshaded cell", {true, false, -2, false, kCell, 1, 0}, 0, ListCellFont::kUnchanged},
      {"other stage, shaded row", {true, false, -2, false, ListDrawStage::kOther, 0, 0}, 0x20,
       ListCellFont::kUnchanged},
      {"other stage, nothing on", {false, false, -2, false, ListDrawStage::kOther, 1, 0}, 0,
       ListCellFont::kUnchanged},
      {"column with its font", {false, false, -2, true, kCell, 1, 2, true}, 0x02,
       ListCellFont::kColumnFont},
      {"column without: default cell font", {false, false, -2, true, kCell, 1, 2}, 0x02,
       ListCellFont::kDefaultCellFont},
  };
  for (const Case& c : cases) {
    const ListDrawDecision decision = c.draw.Decide();
    EXPECT_EQ(c.flags, decision.flags) << c.what;
    EXPECT_EQ(c.font, decision.font) << c.what;
  }
}

TEST(ListCellStyleTest, TotalsLineOnlyAboveAVisibleLastRowInReportView) {
  const struct Case {
    const char* what;
    bool totals;
    long row, count;
    int top;
    bool report, drawn;
  } cases[] = {
      {"last row", true, 4, 5, 100, true, true},
      {"line off", false, 4, 5, 100, true, false},
      {"not the last row", true, 3, 5, 100, true, false},
      {"row at the very top", true, 4, 5, 0, true, false},
      {"not report view", true, 4, 5, 100, false, false},
      {"single row below a header", true, 0, 1, 26, true, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.drawn, DrawsTotalsLine(c.totals, c.row, c.count, c.top, c.report)) << c.what;
}

TEST(ListGeometryTest, EmptyNoticeBandIsCentredBelowTheHeader) {
  const struct Case {
    const char* what;
    ListRect client;
    int header;
    ListRect band, text;
  } cases[] = {
      // 400 x 300 with a 25-pixel header: 275 below it, h/2 = 137, inflate by -117.
      {"header, odd height", {0, 0, 400, 300}, 25, {30, 142, 370, 183}, {30, 154, 370, 171}},
      {"no header, even height", {0, 0, 400, 300}, 0, {30, 130, 370, 170}, {30, 142, 370, 158}},
      {"offset client", {10, 20, 210, 120}, 0, {40, 50, 180, 90}, {40, 62, 180, 78}},
      // Shorter than the band: it grows past the area instead.
      {"tiny list", {0, 0, 100, 10}, 0, {30, -15, 70, 25}, {30, -3, 70, 13}},
  };
  for (const Case& c : cases) {
    const EmptyNoticeBand notice = ComputeEmptyNoticeBand(c.client, c.header);
    EXPECT_EQ(c.band, notice.band) << c.what;
    EXPECT_EQ(c.text, notice.text) << c.what;
  }
}

TEST(ListGeometryTest, StripsSitAboveAndBelowTheList) {
  const ListRect list{10, 50, 310, 250};
  EXPECT_EQ((ListRect{10, 27, 310, 47}), StripAboveList(list));
  EXPECT_EQ((ListRect{10, 250, 310, 270}), StripBelowList(list));
}

}  // namespace
