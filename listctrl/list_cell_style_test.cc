#include "listctrl/list_cell_style.h"

#include <gtest/gtest.h>

#include "listctrl/list_geometry.h"

TEST(ListCellStyleTest, CellColoursAndFontsFollowTheSettings) {
  enum : unsigned { kShade = 1, kTotals = 2, kFonts = 4, kHasColumnFont = 8 };
  using enum ListCellFont;
  const std::tuple<const char*, unsigned, int, long, uint32_t, ListCellFont> cases[] = {
      // settings on, highlighted column, row (of 6), background, font of column 1
      {"shading on: row 0 shaded", kShade, -2, 0, 0xD2DCD2, kUnchanged},
      {"shading on: row 3 white", kShade, -2, 3, 0xFFFFFF, kUnchanged},
      {"highlighted column", 0, 1, 3, 0xF5F5F5, kUnchanged},
      {"other column highlighted", 0, 0, 3, 0xFFFFFF, kUnchanged},
      {"shaded row wins over the highlight", kShade, 1, 2, 0xD2DCD2, kUnchanged},
      {"totals row is not highlighted", kTotals, 1, 5, 0xFFFFFF, kUnchanged},
      {"row above the totals row is", kTotals, 1, 4, 0xF5F5F5, kUnchanged},
      {"last row without totals line is", 0, 1, 5, 0xF5F5F5, kUnchanged},
      {"column with its font", kFonts | kHasColumnFont, -2, 1, 0xFFFFFF, kColumnFont},
      {"column without one", kFonts, -2, 1, 0xFFFFFF, kDefaultCellFont},
  };
  for (const auto& [what, on, highlighted, row, background, font] : cases) {
    const ListDrawDecision decision =
        DecideListDraw({bool(on & kShade), bool(on & kTotals), highlighted, bool(on & kFonts)},
                       {ListDrawStage::kSubItemPrePaint, row, 6, 1, bool(on & kHasColumnFont)});
    EXPECT_EQ(background, decision.background) << what;
    EXPECT_EQ(0x000000u, decision.text_colour) << what;
    EXPECT_EQ(font, decision.font) << what;
  }
}

TEST(ListCellStyleTest, TotalsLineOnlyAboveAVisibleLastRowInReportView) {
  const std::tuple<const char*, bool, long, long, int, bool, bool> cases[] = {
      // totals line on, row, row count, row top, report view, line drawn
      {"last row", true, 4, 5, 100, true, true},
      {"line off", false, 4, 5, 100, true, false},
      {"not the last row", true, 3, 5, 100, true, false},
      {"row at the very top", true, 4, 5, 0, true, false},
      {"not report view", true, 4, 5, 100, false, false},
      {"single row below a header", true, 0, 1, 26, true, true},
  };
  for (const auto& [what, totals, row, count, top, report, drawn] : cases)
    EXPECT_EQ(drawn, DrawsTotalsLine(totals, row, count, top, report)) << what;
}

TEST(ListGeometryTest, EmptyNoticeBandIsCentredBelowTheHeader) {
  const std::tuple<const char*, ListRect, int, ListRect, ListRect> cases[] = {
      // client rectangle, header height, band, text
      // 400 x 300 with a 25-pixel header: 275 below it, h/2 = 137, inflate by -117.
      {"header, odd height", {0, 0, 400, 300}, 25, {30, 142, 370, 183}, {30, 154, 370, 171}},
      {"no header, even height", {0, 0, 400, 300}, 0, {30, 130, 370, 170}, {30, 142, 370, 158}},
      {"offset client", {10, 20, 210, 120}, 0, {40, 50, 180, 90}, {40, 62, 180, 78}},
      // Shorter than the band: it grows past the area instead.
      {"tiny list", {0, 0, 100, 10}, 0, {30, -15, 70, 25}, {30, -3, 70, 13}},
  };
  for (const auto& [what, client, header, band, text] : cases) {
    const EmptyNoticeBand notice = ComputeEmptyNoticeBand(client, header);
    EXPECT_EQ(band, notice.band) << what;
    EXPECT_EQ(text, notice.text) << what;
  }
  const ListRect list{10, 50, 310, 250};  // and the strips above and below a list
  EXPECT_EQ((ListRect{10, 27, 310, 47}), StripAboveList(list));
  EXPECT_EQ((ListRect{10, 250, 310, 270}), StripBelowList(list));
}

TEST(ListGeometryTest, DraggedRowsScrollNearTheTopOrBottomEdge) {
  // y in rows 200 pixels high, rows 20 high; the step
  const std::pair<int, int> cases[] = {{-1, 0}, {0, -1}, {19, -1}, {20, 0}, {179, 0}, {180, 1}, {199, 1}, {200, 0}};
  for (const auto& [y, step] : cases) EXPECT_EQ(step, DragScrollStep(y, 200, 20)) << y;
}
