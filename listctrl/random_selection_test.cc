#include "listctrl/random_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(RandomSelectionTest, CountsAndErrorsOfTheInput) {
  const std::string zero = "Number of items can not be zero";
  const auto too_many = [](const char* wanted) {
    return "You can't select " + std::string(wanted) +
           " random records, because there are only 25 records in total";
  };
  const struct Case {
    const char* input;
    unsigned rows;
    std::string error;
    unsigned count;
  } kCases[] = {
      {"", 25, "Number of items can not be blank", 0},
      {"0", 25, zero, 0},
      {"abc", 25, zero, 0},
      {"-5", 25, zero, 0},
      {"%", 25, zero, 0},
      {"3%", 25, zero, 0},  // less than a row is truncated to none
      {"10%", 25, "", 2},
      {"50%", 7, "", 3},
      {"12abc", 25, "", 12},
      {" 25", 25, "", 25},
      {"30", 25, too_many("30"), 0},
      {"150%", 25, too_many("37"), 0},
      {"99999999999", 25, too_many("2147483647"), 0},
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.input);
    unsigned count = 0;
    EXPECT_EQ(test.error, ReadRandomSelectionCount(test.input, test.rows, &count));
    EXPECT_EQ(test.count, count);
  }
}

TEST(RandomSelectionTest, DrawsDistinctRowsTheSameInEveryRun) {
  const struct Case {
    unsigned rows, count;
  } kCases[] = {{1, 1}, {25, 2}, {32768, 32768}, {32769, 32769}, {1000000, 500000}, {3000000, 1}};
  for (const Case& test : kCases) {
    SCOPED_TRACE(testing::Message() << test.rows << " rows, " << test.count);
    std::srand(1);  // the state of a program that never seeds
    const std::vector<bool> first = DrawRandomRows(test.rows, test.count);
    std::srand(1);
    EXPECT_EQ(first, DrawRandomRows(test.rows, test.count));
    ASSERT_EQ(test.rows, first.size());
    EXPECT_EQ(test.count, size_t(std::count(first.begin(), first.end(), true)));
  }
  // The classic draw is rand() modulo the rows: the first pick is the first rand().
  std::srand(1);
  const unsigned expected = unsigned(std::rand()) % 1000;
  std::srand(1);
  EXPECT_TRUE(DrawRandomRows(1000, 1)[expected]);
}

}  // namespace
