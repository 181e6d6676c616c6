#include "listctrl/list_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(ListGeometryTest, EmptyNoticeBandIsCentredBelowTheHeader) {
  struct Case {
    const char* what;
    ListRect client;
    int header;
    ListRect band;
    ListRect text;
  };
  const Case cases[] = {
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
