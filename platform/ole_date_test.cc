#include "platform/ole_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "tests/support/scoped_time_zone.h"
#include "util/clock.h"

const double kHour = 1.0 / 24, kSecond = 1.0 / 86400;
const auto kUs = DateOrder::kMonthDayYear;
const auto kUk = DateOrder::kDayMonthYear;
const auto kIso = DateOrder::kYearMonthDay;
const auto kMismatch = DateParseResult::kTypeMismatch;
const auto kOverflow = DateParseResult::kOverflow;

TEST(OleDateParseTest, ReadsCommonFormsAndRejectsTheRestWithTheRightValue) {
  ScopedTimeZone zone("UTC");
  ScopedFixedTime fixed(1700000000);  // November 2023, for dates without a year
  struct Case {
    const char* text;
    double days;  // the value read: 0 for a type mismatch, -1 out of range
    DateParseResult result = DateParseResult::kOk;
    DateOrder order = kUs;
  };
  const Case cases[] = {
      {"Jul  5 2021", 44382},
      {"7/5/2021 18:00", 44382 + 18 * kHour},
      {"6:30 PM", 18.5 * kHour},
      {"Monday, July 05, 2021", 44382},
      // More words than fit on the stack, the time straddling the point where they stop.
      {"mon mon mon mon mon mon mon mon mon mon mon mon Jul 5 2021 9:30:15 PM",
       44382 + 21.5 * kHour + 15 * kSecond},
      {"13/5/2021", 44329},
      {"12/31/9999 23:59:59", 2958466 - kSecond},
      {"1/1/100", -657434},
      {"Jul 5", 45112},
      {"7/5", 45053, DateParseResult::kOk, kUk},
      {"21/7/5", 44382, DateParseResult::kOk, kIso},
      // Numbers that only fit one way: the year is the one that cannot be a month or day.
      {"14 2 3", 41673},
      {"2 3 32", 11722},
      {"30 2", 10990},
      {"Feb 30", 10990},
      // A dot between numbers separates a time, next to a date in blanks.
      {"1.2 3 4", 44989 + 62 / 1440.0},
      {"1 2 3 4.5.6", 37623 + (4 * 3600 + 5 * 60 + 6) * kSecond},
      {"02.01.1970", 25570, DateParseResult::kOk, kUk},
      {"13:00 PM", 13 * kHour},
      {"0:30 p", 12.5 * kHour},
      {"", 0, kMismatch},
      {" 05 Jul 2021 12:00:00 +", 0, kMismatch},
      {"2/29/2100", 0, kMismatch},
      {"0 49", 0, kMismatch},
      {"02.01.1970", 0, kMismatch},
      {"24:00 AM", 0, kMismatch},
      {"mon mon mon mon mon mon mon mon mon mon mon mon mon mon mon 5 Jul 2021 9:30:", 0,
       kMismatch},
      {"1/1/10000", -1, kOverflow},
      {"99999999999999999999-01-01", -1, kOverflow}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    OleDate date(123.0, OleDate::Status::kNull);
    EXPECT_EQ(ParseOleDate(c.text, c.order, &date), c.result);
    EXPECT_NEAR(date.days(), c.days, 1e-9);
    EXPECT_EQ(date.status(), c.result == DateParseResult::kOk ? OleDate::Status::kValid
                                                              : OleDate::Status::kInvalid);
  }
}

TEST(DateOrderTest, FollowsTheLocalesDatePattern) {
  const std::pair<const char*, DateOrder> cases[] = {
      {"%m/%d/%y", kUs}, {"%d.%m.%Y", kUk}, {"%y/%m/%d", kIso}, {"%Od/%Om/%Ey", kUk},
      {"%F", kIso},      {"%H:%M", kUs},    {"%%d %m %Y", kUs}};
  for (const auto& [pattern, order] : cases)
    EXPECT_EQ(DateOrderFromPattern(pattern), order) << pattern;
}

// Every few hundred days, the calendar fields agree with the C library's and lead back.
TEST(OleDateCalendarTest, AgreesWithTheCLibraryAcrossTheRange) {
  for (int64_t day = -657434; day <= 2958465; day += 397) {
    SCOPED_TRACE(day);
    struct tm ours, theirs;
    ASSERT_TRUE(OleDate(static_cast<double>(day)).ToParts(&ours));
    time_t when = static_cast<time_t>(day - 25569) * 86400;
    ASSERT_NE(gmtime_r(&when, &theirs), nullptr);
    ASSERT_EQ(
        std::tie(ours.tm_year, ours.tm_mon, ours.tm_mday, ours.tm_wday, ours.tm_yday),
        std::tie(theirs.tm_year, theirs.tm_mon, theirs.tm_mday, theirs.tm_wday, theirs.tm_yday));
    OleDate back = OleDate::FromParts(ours.tm_year + 1900, ours.tm_mon + 1, ours.tm_mday, 7, 8, 9);
    ASSERT_NEAR(std::abs(back.days() - day), (7 * 3600 + 8 * 60 + 9) * kSecond, 1e-9);
  }
}

TEST(OleDateAgeTest, WholeDaysWithHalfSecondRounding) {
  const double now = 44382.5;  // 2021-07-05 12:00
  // 29 Dec 1899 18:00 (-1.75) is less than a day before noon of the 30th (0.5).
  const std::tuple<double, double, int64_t> cases[] = {
      {now, now - 1.0 + 1e-9, 1}, {now, now - 1.0 + kSecond, 0}, {0.5, -1.75, 0}, {NAN, 0.0, 0}};
  for (const auto& [today, built, days] : cases)
    EXPECT_EQ(OleDateAgeInDays(OleDate(today), OleDate(built)), days) << today << " " << built;
}
