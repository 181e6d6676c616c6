#include "report/date_expression.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/support/scoped_time_zone.h"
#include "util/clock.h"

namespace {

constexpr time_t kThursdayNoon = 1614855600;  // Thursday 4 March 2021, 12:00 in Berlin

// The date an expression gives, as "YYYY-MM-DD", or "fails".
std::string DateOf(const char* expression) {
  DateWord word;
  if (!ParseDateExpression(expression, &word)) return "fails";
  const uint32_t value = DateWordValue(word);
  if ((value & kDateWordMark) != kDateWordMark) return "not a date word";
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02u", value & 0xFFFF, (value >> 16) & 0xFF,
           (value >> 24) & 0x3F);
  return text;
}

TEST(DateExpressionTest, FormsGiveDatesRelativeToTheClockInBerlin) {
  ScopedTimeZone zone("Europe/Berlin");
  struct Case {
    time_t now;
    std::vector<std::pair<const char*, const char*>> dates;
  } cases[] = {
      {kThursdayNoon,
       {{"M+0", "2021-03-01"}, {"M-1", "2021-02-01"}, {"m-1", "2021-02-28"}, {"m+0", "2021-03-31"},
        {"M+1-1", "2021-03-31"}, {"Y+0", "2021-01-01"}, {"y-1", "2020-12-31"}, {"W+0",
            "2021-02-28"},
        {"W+1", "2021-03-07"}, {"W-1+3", "2021-02-24"}, {"2021-03-04+7", "2021-03-11"},
        {"2021", "2021-01-01"}, {"*-1", "2021-03-03"}, {"*", "2021-03-04"}, {"M+", "2021-03-01"},
        {"M+1.9", "2021-04-01"}, {"*+1.9", "2021-03-05"}, {"M-3", "2020-12-01"},
        {"m+11", "2022-02-28"}, {"2021-02-30", "2021-03-02"}, {"2021-13-01", "2022-01-01"},
        {"2021-03-4+1", "2021-03-05"}, {"2021-03-04-4", "2021-02-28"}, {"2021-00-10", "2020-12-10"},
        {"", "fails"}, {"M", "fails"}, {"m1", "fails"}, {"*x", "fails"}, {"**", "fails"},
        {"3000", "fails"}, {"0999", "fails"}, {"20211", "fails"}, {"2021-03-0", "fails"},
        {"+1", "fails"}, {"w+1", "fails"}, {" *", "fails"}}},
      // Today changes at one in the morning; the calendar forms use the clock's date.
      {1614814200, {{"*", "2021-03-03"}, {"*-1", "2021-03-02"}, {"M+0", "2021-03-01"}}},  // 00:30
      {1614817800, {{"*", "2021-03-04"}}},                                                  // 01:30
      {1614555000, {{"*", "2021-02-28"}, {"M+0", "2021-03-01"}, {"m-1", "2021-02-28"}}},  // 1 March
      {1710500400, {{"m-1", "2024-02-29"}, {"2024-02-30", "2024-03-01"}}},  // a leap year
      // Clocks go forward on 28 March 2021 and back on 31 October 2021.
      {1616925600, {{"*-1", "2021-03-27"}, {"2021-03-28+1", "2021-03-29"}, {"W-1", "2021-03-21"}}},
      {1616895000, {{"*", "2021-03-28"}}},                        // 03:30, after the change
      {1635678000, {{"*+1", "2021-11-01"}, {"2021-10-29+2", "2021-10-31"}, {"m-1", "2021-09-30"}}},
      {1635633000, {{"*", "2021-10-30"}}},  // 31 October, 00:30 summer time
      {1635640200, {{"*", "2021-10-31"}}},  // 02:30 summer time, the first of two
  };
  for (const Case& c : cases) {
    ScopedFixedTime clock(c.now);
    for (auto [expression, date] : c.dates) EXPECT_EQ(date, DateOf(expression)) << expression
        << " at " << c.now;
  }
}

TEST(DateExpressionTest, DateWordKeepsLeastSignificantByteFirst) {
  ScopedTimeZone zone("Europe/Berlin");
  ScopedFixedTime clock(kThursdayNoon);
  const unsigned char expected[4] = {0xE5, 0x07, 0x03, 0xC4};
  DateWord made, parsed;
  MakeDateWord(4, 3, 2021, &made);
  EXPECT_EQ(0, memcmp(made.bytes, expected, 4));
  ASSERT_TRUE(ParseDateExpression("*", &parsed));
  EXPECT_EQ(0, memcmp(parsed.bytes, expected, 4));
}

}  // namespace
