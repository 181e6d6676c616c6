#include "listctrl/list_cell_style.h"

#include <gtest/gtest.h>

namespace {

ListDrawTarget Cell(long row, int column, long item_count = 6, bool column_has_font = false) {
  ListDrawTarget target;
  target.stage = ListDrawStage::kSubItemPrePaint;
  target.row = row;
  target.column = column;
  target.item_count = item_count;
  target.column_has_font = column_has_font;
  return target;
}

ListDrawSettings Settings(bool shading, bool totals, int highlighted, bool fonts) {
  ListDrawSettings settings;
  settings.alternate_shading = shading;
  settings.totals_line = totals;
  settings.highlighted_column = highlighted;
  settings.has_column_fonts = fonts;
  return settings;
}

TEST(ListCellStyleTest, CellColoursFollowShadingHighlightAndTotalsRow) {
  struct Case {
    const char* what;
    ListDrawSettings settings;
    long row;
    int column;
    uint32_t background;
  };
  const Case cases[] = {
      {"shading off: row 0 white", Settings(false, false, -2, false), 0, 0, 0xFFFFFF},
      {"shading off: row 1 white", Settings(false, false, -2, false), 1, 0, 0xFFFFFF},
      {"shading on: row 0 shaded", Settings(true, false, -2, false), 0, 0, 0xD2DCD2},
      {"shading on: row 2 shaded", Settings(true, false, -2, false), 2, 1, 0xD2DCD2},
      {"shading on: row 4 shaded", Settings(true, false, -2, false), 4, 2, 0xD2DCD2},
      {"shading on: row 1 white", Settings(true, false, -2, false), 1, 0, 0xFFFFFF},
      {"shading on: row 3 white", Settings(true, false, -2, false), 3, 1, 0xFFFFFF},
      {"shading on: row 5 white", Settings(true, false, -2, false), 5, 2, 0xFFFFFF},
      {"highlighted column, plain row", Settings(false, false, 1, false), 3, 1, 0xF5F5F5},
      {"other column than the highlighted", Settings(false, false, 1, false), 3, 2, 0xFFFFFF},
      {"highlighted column keeps a shaded row shaded", Settings(true, false, 1, false), 2, 1,
       0xD2DCD2},
      {"highlighted column on an unshaded row", Settings(true, false, 1, false), 3, 1, 0xF5F5F5},
      {"totals row is not highlighted", Settings(false, true, 1, false), 5, 1, 0xFFFFFF},
      {"row above the totals row is", Settings(false, true, 1, false), 4, 1, 0xF5F5F5},
      {"last row without totals line is", Settings(false, false, 1, false), 5, 1, 0xF5F5F5},
      {"shaded totals row stays shaded", Settings(true, true, 0, false), 4, 0, 0xD2DCD2},
      {"-2 highlights no column", Settings(false, false, -2, false), 3, 0, 0xFFFFFF},
  };
  for (const Case& c : cases) {
    const ListDrawDecision decision = DecideListDraw(c.settings, Cell(c.row, c.column));
    EXPECT_EQ(c.background, decision.background) << c.what;
    EXPECT_EQ(0x000000u, decision.text_colour) << c.what;
  }
}

TEST(ListCellStyleTest, FlagsPerStage) {
  struct Case {
    const char* what;
    ListDrawSettings settings;
    ListDrawStage stage;
    long row;
    unsigned flags;
  };
  const Case cases[] = {
      {"prepaint asks for rows", Settings(false, false, -2, false), ListDrawStage::kPrePaint, 0,
       0x20},
      {"item prepaint asks for cells", Settings(false, false, -2, false),
       ListDrawStage::kItemPrePaint, 3, 0x20},
      {"totals line asks for post-paint", Settings(false, true, -2, false),
       ListDrawStage::kItemPrePaint, 1, 0x30},
      {"plain cell: nothing", Settings(false, false, 1, true), ListDrawStage::kSubItemPrePaint, 1,
       0x02},
      {"shaded cell", Settings(true, false, -2, false), ListDrawStage::kSubItemPrePaint, 2, 0x20},
      {"unshaded cell", Settings(true, false, -2, false), ListDrawStage::kSubItemPrePaint, 1, 0},
      {"post-paint with totals line", Settings(false, true, -2, false),
       ListDrawStage::kItemPostPaint, 5, 0x10},
      {"other stage, shaded row", Settings(true, false, -2, false), ListDrawStage::kOther, 0, 0x20},
      {"other stage, nothing on", Settings(false, false, -2, false), ListDrawStage::kOther, 1, 0},
  };
  for (const Case& c : cases) {
    ListDrawTarget target = Cell(c.row, 0);
    target.stage = c.stage;
    EXPECT_EQ(c.flags, DecideListDraw(c.settings, target).flags) << c.what;
  }
}

TEST(ListCellStyleTest, FontsOnlyOnceAColumnHasOne) {
  struct Case {
    const char* what;
    bool map_filled;
    bool column_has_font;
    ListDrawStage stage;
    ListCellFont font;
  };
  const Case cases[] = {
      {"empty map: no font", false, false, ListDrawStage::kSubItemPrePaint,
       ListCellFont::kUnchanged},
      {"column with its font", true, true, ListDrawStage::kSubItemPrePaint,
       ListCellFont::kColumnFont},
      {"column without: default cell font", true, false, ListDrawStage::kSubItemPrePaint,
       ListCellFont::kDefaultCellFont},
      {"rows get no font", true, true, ListDrawStage::kItemPrePaint, ListCellFont::kUnchanged},
  };
  for (const Case& c : cases) {
    ListDrawTarget target = Cell(1, 2, 6, c.column_has_font);
    target.stage = c.stage;
    const ListDrawDecision decision =
        DecideListDraw(Settings(false, false, -2, c.map_filled), target);
    EXPECT_EQ(c.font, decision.font) << c.what;
    EXPECT_EQ(c.font != ListCellFont::kUnchanged, (decision.flags & kListDrawNewFont) != 0)
        << c.what;
  }
}

TEST(ListCellStyleTest, TotalsLineOnlyAboveAVisibleLastRowInReportView) {
  struct Case {
    const char* what;
    bool totals;
    long row;
    long count;
    int top;
    bool report;
    bool drawn;
  };
  const Case cases[] = {
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

}  // namespace
