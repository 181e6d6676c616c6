#include "tools/zormlist/row_move.h"

#include <gtest/gtest.h>

TEST(RowMoveTest, MovedRowsLandBeforeTheDropRowInTheirOrder) {
  struct Case {
    std::vector<long> moved;
    long before;
    std::vector<size_t> expected;  // of the shown order 10, 11, 12, 13, 14
  };
  const Case kCases[] = {
      {{3}, 1, {10, 13, 11, 12, 14}},     // up
      {{1, 3}, 3, {10, 12, 11, 13, 14}},  // apart, dropped on one of themselves
      {{4}, 4, {10, 11, 12, 13, 14}},     // onto itself: nothing moves
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.moved) + " before " + std::to_string(c.before));
    long first = -1;
    EXPECT_EQ(c.expected, MoveRowsBefore({10, 11, 12, 13, 14}, c.moved, c.before, &first));
  }
}
