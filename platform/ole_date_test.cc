#include "platform/ole_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "tests/support/test_env.h"
#include "util/clock.h"

namespace {

struct Expected {
  int year, month, day, hour, minute, second;
};

// Sets TZ for the life of the object and puts the old zone back after.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    const char* old = getenv("TZ");
    if (old != nullptr) saved_ = old;
    had_ = old != nullptr;
    Set(zone);
  }
  ~ScopedTimeZone() {
    if (had_) {
      Set(saved_.c_str());
    } else {
      unsetenv("TZ");
      tzset();
    }
  }
  void Set(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }

 private:
  std::string saved_;
  bool had_ = false;
};

OleDate At(const Expected& e) {
  return OleDate::FromParts(e.year, e.month, e.day, e.hour, e.minute, e.second);
}

struct ParseCase {
  const char* text;
  DateOrder order;
  Expected expected;
};

TEST(OleDateParseTest, ReadsCommonDateAndTimeForms) {
  const auto kUs = DateOrder::kMonthDayYear;
  const auto kUk = DateOrder::kDayMonthYear;
  const auto kIso = DateOrder::kYearMonthDay;
  const ParseCase cases[] = {
      {"Jul  5 2021", kUs, {2021, 7, 5, 0, 0, 0}},
      {"July 5, 2021", kUs, {2021, 7, 5, 0, 0, 0}},
      {" 05 Jul 2021 12:00:00", kUs, {2021, 7, 5, 12, 0, 0}},
      {"7/5/2021 18:00", kUs, {2021, 7, 5, 18, 0, 0}},
      {"2021-07-05", kUs, {2021, 7, 5, 0, 0, 0}},
      {"6:30 PM", kUs, {1899, 12, 30, 18, 30, 0}},
      {"Monday, July 05, 2021", kUs, {2021, 7, 5, 0, 0, 0}},
      {"mon jul 5 2021", kUs, {2021, 7, 5, 0, 0, 0}},
      {"SEPT 30 1999", kUs, {1999, 9, 30, 0, 0, 0}},
      {"2021 Jul 5", kUs, {2021, 7, 5, 0, 0, 0}},
      {"Jul 2021", kUs, {2021, 7, 1, 0, 0, 0}},
      {"5 Jul 21", kUs, {2021, 7, 5, 0, 0, 0}},
      {"5 jUl 2021 9:30 pM", kUs, {2021, 7, 5, 21, 30, 0}},
      // Texts of more words than a date needs: the time straddles the point where
      // the tokens no longer fit on the stack, or lies wholly beyond it.
      {"mon mon mon mon mon mon mon mon mon mon mon mon Jul 5 2021 9:30:15 PM", kUs,
       {2021, 7, 5, 21, 30, 15}},
      {"mon mon mon mon mon mon mon mon mon mon mon mon mon mon Jul 5 2021 9:30:15", kUs,
       {2021, 7, 5, 9, 30, 15}},
      {"Mon Tue Wed Thu Fri Sat Sun Mon Tue Wed Thu Fri Sat Sun Mon Tue 7/5/2021 6:30 AM", kUs,
       {2021, 7, 5, 6, 30, 0}},
      {"18:00 7/5/2021", kUs, {2021, 7, 5, 18, 0, 0}},
      {"7/5/2021 6:30:15 am", kUs, {2021, 7, 5, 6, 30, 15}},
      {"7/5/2021 6:30PM", kUs, {2021, 7, 5, 18, 30, 0}},
      {"12:00 AM", kUs, {1899, 12, 30, 0, 0, 0}},
      {"12:15 pm", kUs, {1899, 12, 30, 12, 15, 0}},
      {"5 PM", kUs, {1899, 12, 30, 17, 0, 0}},
      {"23:59:59", kUs, {1899, 12, 30, 23, 59, 59}},
      {"5/7/21", kUs, {2021, 5, 7, 0, 0, 0}},
      {"1/1/29", kUs, {2029, 1, 1, 0, 0, 0}},
      {"1/1/30", kUs, {1930, 1, 1, 0, 0, 0}},
      {"13/5/2021", kUs, {2021, 5, 13, 0, 0, 0}},
      {"2/29/2024", kUs, {2024, 2, 29, 0, 0, 0}},
      {"12/31/9999 23:59:59", kUs, {9999, 12, 31, 23, 59, 59}},
      {"1/1/100", kUs, {100, 1, 1, 0, 0, 0}},
      {"5/7/2021", kUk, {2021, 7, 5, 0, 0, 0}},
      {"5.7.21 18:00", kUk, {2021, 7, 5, 18, 0, 0}},
      {"5/13/2021", kUk, {2021, 5, 13, 0, 0, 0}},
      {"2021-07-05", kUk, {2021, 7, 5, 0, 0, 0}},
      {"21/7/5", kIso, {2021, 7, 5, 0, 0, 0}},
      {"7/2021", kUs, {2021, 7, 1, 0, 0, 0}},
  };
  for (const ParseCase& c : cases) {
    OleDate date(123.0, OleDate::Status::kNull);
    EXPECT_EQ(ParseOleDate(c.text, c.order, &date), DateParseResult::kOk) << c.text;
    EXPECT_EQ(date, At(c.expected)) << c.text;
  }
}

TEST(OleDateParseTest, DayAndMonthWithoutYearMeanTheCurrentYear) {
  ScopedTimeZone zone("UTC");
  ScopedFixedTime fixed(1700000000);  // November 2023
  const ParseCase cases[] = {
      {"Jul 5", DateOrder::kMonthDayYear, {2023, 7, 5, 0, 0, 0}},
      {"7/5", DateOrder::kMonthDayYear, {2023, 7, 5, 0, 0, 0}},
      {"7/5", DateOrder::kDayMonthYear, {2023, 5, 7, 0, 0, 0}},
      {"5 July 10:00", DateOrder::kMonthDayYear, {2023, 7, 5, 10, 0, 0}},
  };
  for (const ParseCase& c : cases) {
    OleDate date;
    EXPECT_EQ(ParseOleDate(c.text, c.order, &date), DateParseResult::kOk) << c.text;
    EXPECT_EQ(date, At(c.expected)) << c.text;
  }
}

TEST(OleDateParseTest, RejectsWhatIsNotADateWithTheRightValue) {
  struct Case {
    const char* text;
    DateParseResult result;
  };
  const Case cases[] = {
      {" 05 Jul 2021 12:00:00 +", DateParseResult::kTypeMismatch},
      {"abc", DateParseResult::kTypeMismatch},
      {"", DateParseResult::kTypeMismatch},
      {"  , ", DateParseResult::kTypeMismatch},
      {"Monday", DateParseResult::kTypeMismatch},
      {"July", DateParseResult::kTypeMismatch},
      {"2021", DateParseResult::kTypeMismatch},
      {"PM", DateParseResult::kTypeMismatch},
      {"2/30/2021", DateParseResult::kTypeMismatch},
      {"2/29/2021", DateParseResult::kTypeMismatch},
      {"13/13/2021", DateParseResult::kTypeMismatch},
      {"0/5/2021", DateParseResult::kTypeMismatch},
      {"Jul 0 2021", DateParseResult::kTypeMismatch},
      {"25:00", DateParseResult::kTypeMismatch},
      {"12:60", DateParseResult::kTypeMismatch},
      {"13:00 PM", DateParseResult::kTypeMismatch},
      {"6:30 7:30", DateParseResult::kTypeMismatch},
      {"1/2/3/4", DateParseResult::kTypeMismatch},
      {"Jul Aug 5 2021", DateParseResult::kTypeMismatch},
      {"12:", DateParseResult::kTypeMismatch},
      {":30", DateParseResult::kTypeMismatch},
      {"1:2:3:4", DateParseResult::kTypeMismatch},
      {"7/5/2021 pm", DateParseResult::kTypeMismatch},
      {"J\xc3\xbcl 5 2021", DateParseResult::kTypeMismatch},
      {"Jul 5 2021\xff", DateParseResult::kTypeMismatch},
      {"Jul 5 2021 Z", DateParseResult::kTypeMismatch},
      {"1/1/10000", DateParseResult::kOverflow},
      {"Jul 5 12021", DateParseResult::kOverflow},
      {"99999999999999999999-01-01", DateParseResult::kOverflow},
      {"1/1/0050", DateParseResult::kOverflow},
      {"Septembers 5 2021", DateParseResult::kTypeMismatch},
      {"5 Wednesdays 2021", DateParseResult::kTypeMismatch},
      {"mon mon mon mon mon mon mon mon mon mon mon mon mon mon mon mon mon 5 Jul 2021 x",
       DateParseResult::kTypeMismatch},
      {"mon mon mon mon mon mon mon mon mon mon mon mon mon mon mon 5 Jul 2021 9:30:",
       DateParseResult::kTypeMismatch},
  };
  for (const Case& c : cases) {
    OleDate date(5.0);
    EXPECT_EQ(ParseOleDate(c.text, DateOrder::kMonthDayYear, &date), c.result) << c.text;
    double expected_value = c.result == DateParseResult::kOverflow ? -1.0 : 0.0;
    EXPECT_EQ(date, OleDate(expected_value, OleDate::Status::kInvalid)) << c.text;
  }
}

TEST(OleDateParseTest, KnownDayCountsAndTheUsersOrder) {
  ScopedTestHome home;
  home.SetEnv("LC_ALL", "C");
  EXPECT_EQ(ParseOleDate("2021-07-05"), OleDate(44382.0));
  EXPECT_EQ(ParseOleDate("7/5/2021"), OleDate(44382.0));  // C locale: month first
  EXPECT_DOUBLE_EQ(ParseOleDate("6:30 PM").days(), 18.5 / 24);
  EXPECT_EQ(ParseOleDate("12/29/1899 6:00"), OleDate(-1.25));
  EXPECT_EQ(ParseOleDate("1/1/10000"), OleDate(-1.0, OleDate::Status::kInvalid));
  EXPECT_EQ(ParseOleDate("abc"), OleDate(0.0, OleDate::Status::kInvalid));
}

TEST(DateOrderTest, FollowsTheLocalesDatePattern) {
  struct Case {
    const char* pattern;
    DateOrder order;
  };
  const Case cases[] = {
      {"%m/%d/%y", DateOrder::kMonthDayYear}, {"%d/%m/%Y", DateOrder::kDayMonthYear},
      {"%d.%m.%Y", DateOrder::kDayMonthYear}, {"%Y-%m-%d", DateOrder::kYearMonthDay},
      {"%F", DateOrder::kYearMonthDay},       {"%D", DateOrder::kMonthDayYear},
      {"%e %B %Y", DateOrder::kDayMonthYear}, {"%Od/%Om/%Ey", DateOrder::kDayMonthYear},
      {"%y/%m/%d", DateOrder::kYearMonthDay}, {"%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d", DateOrder::kYearMonthDay},
      {"", DateOrder::kMonthDayYear},         {"%H:%M", DateOrder::kMonthDayYear},
      {"%d%", DateOrder::kMonthDayYear},      {"%%d %m %Y", DateOrder::kMonthDayYear},
  };
  for (const Case& c : cases) EXPECT_EQ(DateOrderFromPattern(c.pattern), c.order) << c.pattern;
}

TEST(OleDateFormatTest, FormatsFieldsStatusesAndRangeEnds) {
  struct Case {
    OleDate date;
    const char* pattern;
    const char* text;
  };
  const Case cases[] = {
      {OleDate(44382.0), "%A, %B %d, %Y", "Monday, July 05, 2021"},
      {OleDate(0.0), "%A, %B %d, %Y", "Saturday, December 30, 1899"},
      {OleDate(44382.0, OleDate::Status::kNull), "%Y", ""},
      {OleDate(44382.0, OleDate::Status::kInvalid), "%Y", "Invalid DateTime"},
      {OleDate(-1.25), "%Y-%m-%d %H:%M:%S", "1899-12-29 06:00:00"},
      {OleDate(-0.5), "%Y-%m-%d %H:%M", "1899-12-30 12:00"},
      {OleDate(44382.0 + 18.5 / 24), "%H:%M:%S %p", "18:30:00 PM"},
      {OleDate(44382.0 + 0.4 / 86400), "%H:%M:%S", "00:00:00"},
      {OleDate(44382.99999999), "%Y-%m-%d %H:%M:%S", "2021-07-06 00:00:00"},
      {OleDate(44561.0), "%j %a %w", "365 Fri 5"},
      {OleDate(43890.0), "%j %b %d", "060 Feb 29"},
      {OleDate(-657434.0), "%d/%m/%Y", "01/01/100"},
      {OleDate(2958465.5), "%Y-%m-%d %H:%M", "9999-12-31 12:00"},
      {OleDate(2958465.99999999), "%Y", "Invalid DateTime"},
      {OleDate(2958466.0), "%Y", "Invalid DateTime"},
      {OleDate(-657435.0), "%Y", "Invalid DateTime"},
      {OleDate(NAN), "%Y", "Invalid DateTime"},
      {OleDate(INFINITY), "%Y", "Invalid DateTime"},
      {OleDate(44382.0), "", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.date.Format(c.pattern), c.text) << c.date.days() << " " << c.pattern;
}

TEST(OleDateFormatTest, TextLongerThanTheBufferIsEmpty) {
  std::string pattern(300, 'x');
  EXPECT_EQ(OleDate(44382.0).Format(pattern.c_str()), "");
  std::string fits(255, 'x');
  EXPECT_EQ(OleDate(44382.0).Format(fits.c_str()), fits);
}

// Every few hundred days across the whole range, the calendar fields agree with the C
// library's UTC calendar and lead back to the same day count.
TEST(OleDateCalendarTest, AgreesWithTheCLibraryAcrossTheRange) {
  for (int64_t day = -657434; day <= 2958465; day += 397) {
    struct tm ours;
    ASSERT_TRUE(OleDate(static_cast<double>(day)).ToParts(&ours)) << day;
    time_t when = static_cast<time_t>(day - 25569) * 86400;
    struct tm theirs;
    ASSERT_NE(gmtime_r(&when, &theirs), nullptr);
    ASSERT_EQ(ours.tm_year, theirs.tm_year) << day;
    ASSERT_EQ(ours.tm_mon, theirs.tm_mon) << day;
    ASSERT_EQ(ours.tm_mday, theirs.tm_mday) << day;
    ASSERT_EQ(ours.tm_wday, theirs.tm_wday) << day;
    ASSERT_EQ(ours.tm_yday, theirs.tm_yday) << day;
    OleDate back = OleDate::FromParts(ours.tm_year + 1900, ours.tm_mon + 1, ours.tm_mday, 7, 8, 9);
    ASSERT_DOUBLE_EQ(std::trunc(back.days()), static_cast<double>(day));
    struct tm again;
    ASSERT_TRUE(back.ToParts(&again));
    ASSERT_EQ(again.tm_hour * 3600 + again.tm_min * 60 + again.tm_sec, 7 * 3600 + 8 * 60 + 9);
  }
}

TEST(OleDateTest, FromPartsRejectsFieldsOutOfRange) {
  const Expected bad[] = {{99, 12, 31, 0, 0, 0}, {10000, 1, 1, 0, 0, 0}, {2021, 0, 1, 0, 0, 0},
                          {2021, 13, 1, 0, 0, 0}, {2021, 4, 31, 0, 0, 0}, {2021, 1, 1, 24, 0, 0},
                          {2021, 1, 1, 0, 60, 0}, {2021, 1, 1, 0, 0, 60}, {2021, 1, 1, -1, 0, 0}};
  for (const Expected& e : bad)
    EXPECT_EQ(At(e), OleDate(0.0, OleDate::Status::kInvalid)) << e.year << "-" << e.month;
}

TEST(OleDateTest, LocalTimeAtWholeSeconds) {
  ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
  ScopedFixedTime fixed(1625486400);  // 2021-07-05 12:00:00 UTC, 08:00 in New York
  EXPECT_DOUBLE_EQ(OleDate::Now().days(), 44382.0 + 8.0 / 24);
  EXPECT_TRUE(OleDate::Now().IsValid());
  EXPECT_DOUBLE_EQ(OleDate::FromTimeT(1625486400 + 59).days(), 44382.0 + (8 * 3600 + 59) / 86400.0);
  zone.Set("UTC");
  EXPECT_DOUBLE_EQ(OleDate::FromTimeT(0).days(), 25569.0);
  EXPECT_DOUBLE_EQ(OleDate::FromTimeT(-2209161600 - 86400 + 6 * 3600).days(), -1.25);
}

TEST(OleDateAgeTest, WholeDaysWithHalfSecondRounding) {
  const double now = OleDate::FromParts(2021, 7, 5, 12, 0, 0).days();
  const double hour = 1.0 / 24;
  const double second = 1.0 / 86400;
  struct Case {
    double now, built;
    int64_t days;
  };
  const Case cases[] = {
      {now, now, 0},
      {now, now - 36 * hour, 1},
      {now, now - 12 * hour, 0},
      {now, now - 1.0 + 1e-9, 1},  // a hair short of a whole day
      {now, now - 1.0 + second, 0},  // 23:59:59
      {now, now + 36 * hour, -1},
      {now, now - 152.0, 152},
      {now, 44382.0, 0},
      {now, 0.0, 44382},
      {now, -1.0, 44383},
      // 29 December 1899 18:00 is six hours before 30 December: less than a day
      // before noon of the 30th, though the plain difference is 2.25.
      {0.5, -1.75, 0},
      {1.25, -1.75, 1},
      {-1.25, -2.75, 0},  // 29 Dec 06:00 after 28 Dec 18:00
      {-1.75, -2.25, 1},  // 29 Dec 18:00 after 28 Dec 06:00
      {-1.0 * second / 4, 0.0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OleDateAgeInDays(OleDate(c.now), OleDate(c.built)), c.days) << c.now << " " << c.built;
  EXPECT_EQ(OleDateAgeInDays(OleDate(NAN), OleDate(0.0)), 0);
}

}  // namespace
