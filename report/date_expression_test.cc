#include "report/date_expression.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/scoped_time_zone.h"
#include "util/clock.h"

namespace {

// Thursday 4 March 2021, 12:00 in Berlin.
constexpr time_t kThursdayNoon = 1614855600;

// The date an expression gives, as "YYYY-MM-DD", or "fails".
std::string DateOf(const char* expression) {
  DateWord word;
  if (!ParseDateExpression(expression, &word)) return "fails";
  uint32_t value = DateWordValue(word);
  if ((value & kDateWordMark) != kDateWordMark) return "not a date word";
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02u", value & 0xFFFF, (value >> 16) & 0xFF,
           (value >> 24) & 0x3F);
  return text;
}

struct Case {
  const char* expression;
  const char* date;
};

void ExpectDates(time_t now, const std::vector<Case>& cases) {
  ScopedFixedTime clock(now);
  for (const Case& c : cases) EXPECT_EQ(DateOf(c.expression), c.date) << c.expression << " at " << now;
}

TEST(DateExpressionTest, FormsOnThursdayFourthOfMarch2021AtNoon) {
  ScopedTimeZone zone("Europe/Berlin");
  ExpectDates(kThursdayNoon, {
      {"M+0", "2021-03-01"},        {"M-1", "2021-02-01"},        {"m-1", "2021-02-28"},
      {"m+0", "2021-03-31"},        {"M+1-1", "2021-03-31"},      {"Y+0", "2021-01-01"},
      {"y-1", "2020-12-31"},        {"y+0", "2021-12-31"},        {"W+0", "2021-02-28"},
      {"W+1", "2021-03-07"},        {"W-1+3", "2021-02-24"},      {"2021-03-04+7", "2021-03-11"},
      {"2021", "2021-01-01"},       {"*-1", "2021-03-03"},        {"*+1", "2021-03-05"},
      {"*", "2021-03-04"},          {"M+", "2021-03-01"},         {"M+1.9", "2021-04-01"},
      {"*+1.9", "2021-03-05"},      {"M-3", "2020-12-01"},        {"m+11", "2022-02-28"},
      {"2021-02-30", "2021-03-02"}, {"2021-13-01", "2022-01-01"}, {"2021-03-4+1", "2021-03-05"},
      {"2021-03-04-4", "2021-02-28"}, {"1999-12-31+1", "2000-01-01"}, {"2021-00-10", "2020-12-10"},
  });
}

TEST(DateExpressionTest, TextsThatMatchNoFormFail) {
  ScopedTimeZone zone("Europe/Berlin");
  ExpectDates(kThursdayNoon, {
      {"", "fails"},     {"x", "fails"},     {"M", "fails"},       {"m1", "fails"},
      {"*x", "fails"},   {"**", "fails"},    {"3000", "fails"},    {"0999", "fails"},
      {"20211", "fails"}, {"2021-03-0", "fails"}, {"+1", "fails"}, {"today", "fails"},
      {"w+1", "fails"},  {" *", "fails"},
  });
}

TEST(DateExpressionTest, TodayChangesAtOneInTheMorning) {
  ScopedTimeZone zone("Europe/Berlin");
  ExpectDates(1614814200, {{"*", "2021-03-03"}, {"*-1", "2021-03-02"}, {"M+0", "2021-03-01"}});  // 00:30
  ExpectDates(1614817800, {{"*", "2021-03-04"}, {"*-1", "2021-03-03"}});  // 01:30
  // The calendar forms use the date of the clock: at 00:30 on 1 March it is March.
  ExpectDates(1614555000, {{"*", "2021-02-28"}, {"M+0", "2021-03-01"}, {"m-1", "2021-02-28"}});
}

TEST(DateExpressionTest, MonthAndYearRollOver) {
  ScopedTimeZone zone("Europe/Berlin");
  ExpectDates(1610708400, {  // Friday 15 January 2021, noon
      {"M-1", "2020-12-01"}, {"m-1", "2020-12-31"}, {"*-15", "2020-12-31"},
      {"W+0", "2021-01-10"}, {"W-2", "2020-12-27"}, {"Y-1", "2020-01-01"}});
  ExpectDates(1640948400, {  // Friday 31 December 2021, noon
      {"M+1", "2022-01-01"}, {"*+1", "2022-01-01"}, {"m+1", "2022-01-31"},
      {"W+0", "2021-12-26"}, {"W+1", "2022-01-02"}, {"y+0", "2021-12-31"}});
  ExpectDates(1710500400, {{"m-1", "2024-02-29"}, {"2024-02-30", "2024-03-01"}});  // leap year
}

TEST(DateExpressionTest, DaylightSavingChangesInBerlin) {
  ScopedTimeZone zone("Europe/Berlin");
  // Clocks go forward on Sunday 28 March 2021.
  ExpectDates(1616925600, {  // 28 March, 12:00 summer time
      {"*", "2021-03-28"}, {"*-1", "2021-03-27"}, {"*+1", "2021-03-29"},
      {"2021-03-27+1", "2021-03-28"}, {"2021-03-28+1", "2021-03-29"}, {"2021-03-29-1", "2021-03-28"},
      {"W+0", "2021-03-28"}, {"W-1", "2021-03-21"}, {"m+0", "2021-03-31"}});
  ExpectDates(1616891400, {{"*", "2021-03-28"}});  // 01:30, before the change
  ExpectDates(1616895000, {{"*", "2021-03-28"}});  // 03:30, after it
  ExpectDates(1616970600, {{"*", "2021-03-28"}, {"*+1", "2021-03-29"}});  // 29 March, 00:30
  // Clocks go back on Sunday 31 October 2021.
  ExpectDates(1635678000, {  // 31 October, 12:00 standard time
      {"*", "2021-10-31"}, {"*-1", "2021-10-30"}, {"*+1", "2021-11-01"},
      {"2021-10-30+1", "2021-10-31"}, {"2021-10-31+1", "2021-11-01"}, {"2021-10-31-1", "2021-10-30"},
      {"2021-10-29+2", "2021-10-31"}, {"m-1", "2021-09-30"}, {"W+0", "2021-10-31"}});
  ExpectDates(1635633000, {{"*", "2021-10-30"}});  // 31 October, 00:30 summer time
  ExpectDates(1635640200, {{"*", "2021-10-31"}});  // 02:30 summer time, the first of two
  ExpectDates(1635723000, {{"*", "2021-10-31"}});  // 1 November, 00:30
}

TEST(DateExpressionTest, DateWordKeepsLeastSignificantByteFirst) {
  DateWord word;
  MakeDateWord(4, 3, 2021, &word);
  const unsigned char expected[4] = {0xE5, 0x07, 0x03, 0xC4};
  EXPECT_EQ(memcmp(word.bytes, expected, 4), 0);
  EXPECT_EQ(DateWordValue(word), 0xC40307E5u);

  ScopedTimeZone zone("Europe/Berlin");
  ScopedFixedTime clock(kThursdayNoon);
  DateWord parsed;
  ASSERT_TRUE(ParseDateExpression("2021-03-04", &parsed));
  EXPECT_EQ(memcmp(parsed.bytes, expected, 4), 0);
  ASSERT_TRUE(ParseDateExpression("*", &parsed));
  EXPECT_EQ(memcmp(parsed.bytes, expected, 4), 0);
}

TEST(DateExpressionTest, DateWordToTimeGivesOneOClockStandardTime) {
  ScopedTimeZone zone("Europe/Berlin");
  struct {
    uint32_t value;
    int64_t time;
  } cases[] = {
      {0xC40307E5u, 1614816001},  // 4 March 2021 -> 01:00:01 CET
      {0xC10707E5u, 1625097601},  // 1 July 2021 -> 02:00:01 CEST (standard time 01:00:01)
      {1614859200u, 1614816001},  // a time on 4 March, 13:00 -> 01:00:01 that day
      {1625133600u, 1625094001},  // a summer time, 1 July 12:00 -> 01:00:01 CEST that day
      {0, 0},
  };
  for (const auto& c : cases) {
    DateWord word;
    StoreDateWordValue(c.value, &word);
    EXPECT_EQ(DateWordToTime(word), c.time) << std::hex << c.value;
  }
}

}  // namespace
