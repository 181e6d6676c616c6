#include "platform/ole_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "tests/support/scoped_time_zone.h"
#include "tests/support/test_env.h"
#include "util/clock.h"

namespace {

const double kHour = 1.0 / 24, kSecond = 1.0 / 86400;
const auto kUs = DateOrder::kMonthDayYear;
const auto kUk = DateOrder::kDayMonthYear;
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
      {" 05 Jul 2021 12:00:00", 44382.5},
      {"7/5/2021 18:00", 44382 + 18 * kHour},
      {"6:30 PM", 18.5 * kHour},
      {"Monday, July 05, 2021", 44382},
      {"SEPT 30 1999", 36433},
      {"Jul 2021", 44378},
      {"5 jUl 2021 9:30 pM", 44382 + 21.5 * kHour},
      // More words than a date needs: the time straddles the point where the tokens
      // no longer fit on the stack, or lies wholly beyond it.
      {"mon mon mon mon mon mon mon mon mon mon mon mon Jul 5 2021 9:30:15 PM",
       44382 + 21.5 * kHour + 15 * kSecond},
      {"Mon Tue Wed Thu Fri Sat Sun Mon Tue Wed Thu Fri Sat Sun Mon Tue 7/5/2021 6:30 AM",
       44382 + 6.5 * kHour},
      {"7/5/2021 6:30:15 am", 44382 + 6.5 * kHour + 15 * kSecond},
      {"12:00 AM", 0},
      {"12:15 pm", 12.25 * kHour},
      {"23:59:59", 1 - kSecond},
      {"1/1/30", 10959},
      {"13/5/2021", 44329},
      {"2/29/2024", 45351},
      {"12/31/9999 23:59:59", 2958466 - kSecond},
      {"1/1/100", -657434},
      {"Jul 5", 45112},
      {"7/5", 45053, DateParseResult::kOk, kUk},
      {"5 July 10:00", 45112 + 10 * kHour},
      {"5/7/2021", 44382, DateParseResult::kOk, kUk},
      {"5.7.21 18:00", 44382 + 18 * kHour, DateParseResult::kOk, kUk},
      {"21/7/5", 44382, DateParseResult::kOk, DateOrder::kYearMonthDay},
      {"", 0, kMismatch},
      {"Monday", 0, kMismatch},
      {"2021", 0, kMismatch},
      {" 05 Jul 2021 12:00:00 +", 0, kMismatch},
      {"2/29/2021", 0, kMismatch},
      {"13/13/2021", 0, kMismatch},
      {"Jul 0 2021", 0, kMismatch},
      {"25:00", 0, kMismatch},
      {"13:00 PM", 0, kMismatch},
      {"6:30 7:30", 0, kMismatch},
      {"J\xc3\xbcl 5 2021", 0, kMismatch},
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
  ScopedTestHome home;
  home.SetEnv("LC_ALL", "C");  // the user's order: month first
  EXPECT_EQ(ParseOleDate("7/5/2021"), OleDate(44382.0));
}

TEST(DateOrderTest, FollowsTheLocalesDatePattern) {
  struct Case {
    const char* pattern;
    DateOrder order;
  };
  const Case cases[] = {{"%m/%d/%y", kUs},
                        {"%d/%m/%Y", kUk},
                        {"%d.%m.%Y", kUk},
                        {"%Y-%m-%d", DateOrder::kYearMonthDay},
                        {"%F", DateOrder::kYearMonthDay},
                        {"%e %B %Y", kUk},
                        {"%Od/%Om/%Ey", kUk},
                        {"%y/%m/%d", DateOrder::kYearMonthDay},
                        {"", kUs},
                        {"%d%", kUs},
                        {"%%d %m %Y", kUs}};
  for (const Case& c : cases) EXPECT_EQ(DateOrderFromPattern(c.pattern), c.order) << c.pattern;
}

TEST(OleDateFormatTest, FormatsFieldsStatusesAndRangeEnds) {
  struct Case {
    OleDate date;
    std::string pattern;
    const char* text;
  };
  const Case cases[] = {
      {OleDate(44382.0), "%A, %B %d, %Y", "Monday, July 05, 2021"},
      {OleDate(44382.0, OleDate::Status::kNull), "%Y", ""},
      {OleDate(44382.0, OleDate::Status::kInvalid), "%Y", "Invalid DateTime"},
      {OleDate(-1.25), "%Y-%m-%d %H:%M:%S", "1899-12-29 06:00:00"},
      {OleDate(44382.0 + 18.5 / 24), "%H:%M:%S %p", "18:30:00 PM"},
      {OleDate(44382.99999999), "%Y-%m-%d %H:%M:%S", "2021-07-06 00:00:00"},
      {OleDate(43890.0), "%j %b %d", "060 Feb 29"},
      {OleDate(-657434.0), "%d/%m/%Y", "01/01/100"},
      {OleDate(2958465.5), "%Y-%m-%d %H:%M", "9999-12-31 12:00"},
      {OleDate(2958465.99999999), "%Y", "Invalid DateTime"},
      {OleDate(NAN), "%Y", "Invalid DateTime"},
      {OleDate(44382.0), std::string(255, 'x'), std::string(255, 'x').c_str()},
      {OleDate(44382.0), std::string(300, 'x'), ""},  // longer than the buffer
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.date.Format(c.pattern.c_str()), c.text) << c.date.days() << " " << c.pattern;
}

// Every few hundred days across the whole range, the calendar fields agree with the C
// library's UTC calendar and lead back to the same day count.
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
  const int bad[][6] = {{99, 12, 31, 0, 0, 0},  {10000, 1, 1, 0, 0, 0}, {2021, 13, 1, 0, 0, 0},
                        {2021, 4, 31, 0, 0, 0}, {2021, 1, 1, 24, 0, 0}, {2021, 1, 1, 0, 0, 60}};
  for (const auto& b : bad)
    EXPECT_EQ(OleDate::FromParts(b[0], b[1], b[2], b[3], b[4], b[5]),
              OleDate(0.0, OleDate::Status::kInvalid))
        << b[0] << "-" << b[1] << "-" << b[2] << " " << b[3] << ":" << b[5];
}

TEST(OleDateTest, LocalTimeAtWholeSeconds) {
  ScopedFixedTime fixed(1625486400);  // 2021-07-05 12:00:00 UTC
  struct Case {
    const char* zone;
    time_t when;
    double days;
  };
  const Case cases[] = {
      {"EST5EDT,M3.2.0,M11.1.0", 1625486400 + 59, 44382 + 8 * kHour + 59 * kSecond},
      {"UTC", -2209161600 - 86400 + 6 * 3600, -1.25},
  };
  for (const Case& c : cases) {
    ScopedTimeZone zone(c.zone);
    EXPECT_NEAR(OleDate::FromTimeT(c.when).days(), c.days, 1e-9) << c.zone << " " << c.when;
  }
  ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
  EXPECT_NEAR(OleDate::Now().days(), 44382 + 8 * kHour, 1e-9);  // 08:00 in New York
}

TEST(OleDateAgeTest, WholeDaysWithHalfSecondRounding) {
  const double now = 44382.5;  // 2021-07-05 12:00
  struct Case {
    double now, built;
    int64_t days;
  };
  const Case cases[] = {
      {now, now - 36 * kHour, 1},
      {now, now - 12 * kHour, 0},
      {now, now - 1.0 + 1e-9, 1},     // a hair short of a whole day
      {now, now - 1.0 + kSecond, 0},  // 23:59:59
      {now, now + 36 * kHour, -1},
      // 29 December 1899 18:00 is six hours before 30 December: less than a day
      // before noon of the 30th, though the plain difference is 2.25.
      {0.5, -1.75, 0},
      {-1.25, -2.75, 0},  // 29 Dec 06:00 after 28 Dec 18:00
      {-1.75, -2.25, 1},  // 29 Dec 18:00 after 28 Dec 06:00
      {NAN, 0.0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OleDateAgeInDays(OleDate(c.now), OleDate(c.built)), c.days)
        << c.now << " " << c.built;
}

}  // namespace
