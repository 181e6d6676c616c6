#include "listctrl/column_order.h"

#include <gtest/gtest.h>

namespace {

TEST(ColumnOrderTest, MovesAColumnToItsNewPlace) {
  struct Case {
    std::vector<int> order;
    int from, to;
    std::vector<int> moved;
  };
  const Case kCases[] = {
      {{0, 1, 2, 3}, 0, 2, {1, 2, 0, 3}},  {{0, 1, 2, 3}, 3, 0, {3, 0, 1, 2}},
      {{2, 0, 1}, 1, 2, {2, 1, 0}},        {{0, 1, 2}, 1, 3, {0, 1, 2}},
      {{0, 1, 2}, -1, 0, {0, 1, 2}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.from << "->" << c.to);
    EXPECT_EQ(c.moved, MoveInOrder(c.order, c.from, c.to));
  }
}

TEST(ColumnOrderTest, TellsTheColumnUnderAPressOrDrop) {
  struct Case {
    int x;
    int pressed;  // -1: on a resize border or outside
    int dropped;
  };
  const std::vector<int> widths = {100, 50, 80};  // right edges 100, 150, 230
  const Case kCases[] = {
      {-5, -1, 0}, {0, 0, 0},    {96, 0, 0},    {97, -1, 0},  {103, -1, 1}, {104, 1, 1},
      {149, -1, 1}, {160, 2, 2}, {226, 2, 2},   {229, -1, 2}, {400, -1, 2},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(c.pressed, PressedPosition(widths, c.x, 4));
    EXPECT_EQ(c.dropped, DropPosition(widths, c.x));
  }
}

TEST(ColumnOrderTest, AcceptsOnlyOrdersNamingEachColumnOnce) {
  struct Case {
    std::vector<int> order;
    int count;
    bool valid;
  };
  const Case kCases[] = {{{1, 0, 2}, 3, true},   {{0, 0, 2}, 3, false}, {{0, 1}, 3, false},
                         {{0, 1, 3}, 3, false},  {{-1, 0, 1}, 3, false}, {{}, 0, true}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.order));
    EXPECT_EQ(c.valid, IsColumnOrder(c.order, c.count));
  }
}

}  // namespace
