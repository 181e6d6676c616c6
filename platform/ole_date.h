// OleDate: a point in time as a floating day count since midnight, 30 December
// 1899, with a status. The whole part is the day, the fraction the time of day;
// below zero the day counts backwards while the time of day still counts forwards
// (-1.25 is 29 December 1899, 06:00). Values are local time without a zone.
//
// The parser reads the common English date and time forms; numbers-only dates
// follow the order of the user's LC_TIME (month/day/year when it says nothing
// else). Plain value type; all functions are safe from any thread.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

class OleDate {
 public:
  enum class Status { kValid, kInvalid, kNull };

  // 0.0 (30 December 1899, midnight), valid.
  OleDate() = default;
  explicit OleDate(double days, Status status = Status::kValid) : m_days(days), m_status(status) {}

  // The local calendar time `when` at whole seconds; 0.0 valid when the local time
  // cannot be determined.
  static OleDate FromTimeT(time_t when);
  // The current local time (through the program's clock) at whole seconds.
  static OleDate Now();
  // A calendar date and time of day; invalid (0.0) when a field is out of range or
  // the year lies outside 100..9999.
  static OleDate FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                           int second = 0);

  double days() const { return m_days; }
  Status status() const { return m_status; }
  bool IsValid() const { return m_status == Status::kValid; }

  // Splits the date into calendar fields rounded to the nearest second (tm_year,
  // tm_mon, tm_mday, tm_hour, tm_min, tm_sec, tm_wday, tm_yday; tm_isdst = -1).
  // False when the day count lies outside 1 January 100 .. 31 December 9999 or is
  // not a number. The status is not consulted.
  bool ToParts(struct tm* parts) const;

  // strftime with `pattern` into 256 characters: "" for a null date, "Invalid
  // DateTime" for an invalid one or one that cannot be split; "" when the text
  // does not fit.
  std::string Format(const char* pattern) const;

  bool operator==(const OleDate&) const = default;

 private:
  double m_days = 0.0;
  Status m_status = Status::kValid;
};

// The order of the three numbers in a numbers-only date such as 7/5/2021.
enum class DateOrder { kMonthDayYear, kDayMonthYear, kYearMonthDay };

// The order a strftime date pattern such as "%d.%m.%Y" implies; month/day/year when
// the pattern does not show one.
DateOrder DateOrderFromPattern(const char* pattern);
// The order of the user's LC_TIME (its D_FMT) as the environment sets it.
DateOrder UserDateOrder();

// The outcome of parsing a date text.
enum class DateParseResult {
  kOk,
  kTypeMismatch,  // the text is not a date: 0.0, invalid
  kOverflow,      // a date, but outside what the type holds (year > 9999): -1.0, invalid
};

// Parses `text`: month names or their three-letter abbreviations (any case), day
// names (ignored), numbers-only dates in `order`, or where that makes no date in
// year/month/day and then the other orders ("14 2 3" is 3 February 2014 in
// month/day/year order), two numbers as month and day of the current year or else
// month and year, two-digit years (00-29 are 2000-2029, 30-99 are 1930-1999), times
// h:mm or h:mm:ss with an optional AM/PM (A, P; ignored after hour 12), and a date
// with a time of day in either order. In month/day/year order dots between
// numbers separate a time ("1.05" is 01:05), so 02.01.1970 is no date there. A
// time alone lies on 30 December 1899. `*date` receives the value, 0.0 invalid or
// -1.0 invalid. Allocates nothing for texts of up to sixteen words and numbers.
DateParseResult ParseOleDate(std::string_view text, DateOrder order, OleDate* date);
// The same in the user's order; the returned date carries the outcome in its status.
OleDate ParseOleDate(std::string_view text);

// Whole days from `built` to `now`: both normalised so that dates before 1899
// count their time of day correctly, the difference rounded by half a second away
// from zero and truncated. Statuses are not consulted. Negative when `built` lies
// in the future.
int64_t OleDateAgeInDays(const OleDate& now, const OleDate& built);
