#include "listctrl/column_order.h"

#include <gtest/gtest.h>

namespace {

TEST(ColumnOrderTest, TellsTheColumnUnderAPressOrDrop) {
  const std::vector<int> widths = {100, 50, 80};  // right edges 100, 150, 230
  // x, the position pressed (-1: on a resize border or outside), the drop position
  const std::tuple<int, int, int> cases[] = {{-5, -1, 0},  {0, 0, 0},    {96, 0, 0},  {97, -1, 0},
                                             {103, -1, 1}, {104, 1, 1},  {149, -1, 1}, {160, 2, 2},
                                             {226, 2, 2},  {229, -1, 2}, {400, -1, 2}};
  for (const auto& [x, pressed, dropped] : cases) {
    EXPECT_EQ(pressed, PressedPosition(widths, x, 4)) << x;
    EXPECT_EQ(dropped, DropPosition(widths, x)) << x;
  }
}

TEST(ColumnOrderTest, AcceptsOnlyOrdersNamingEachColumnOnce) {
  const std::pair<std::vector<int>, bool> cases[] = {  // an order of 3 columns; valid
      {{1, 0, 2}, true}, {{0, 0, 2}, false}, {{0, 1}, false}, {{0, 1, 3}, false}, {{-1, 0, 1}, false}};
  for (const auto& [order, valid] : cases)
    EXPECT_EQ(valid, IsColumnOrder(order, 3)) << testing::PrintToString(order);
}

}  // namespace
