#include "platform/ole_date.h"

#include <cmath>

#include "platform/civil_calendar.h"
#include "util/clock.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Half a second in days: absorbs the floating-point error of differences.
constexpr double kHalfSecond = 0.5 / kSecondsPerDay;
// 1 January 100 and the day after 31 December 9999, as day counts.
constexpr double kFirstDay = -657434.0;
constexpr double kPastLastDay = 2958466.0;

// Dates below zero count their time of day forwards from the day number; this
// turns them into a value on the plain number line so that they can be subtracted.
double NormaliseForSubtraction(double days) {
  if (days > -kHalfSecond) return days;
  double whole = std::ceil(days);
  return whole - (days - whole);
}

}  // namespace

OleDate OleDate::FromTimeT(time_t when) {
  struct tm local {};
  if (localtime_r(&when, &local) == nullptr) return OleDate(0.0);
  int second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second stays in its minute
  return FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                   local.tm_min, second);
}

OleDate OleDate::Now() { return FromTimeT(CurrentTime()); }

OleDate OleDate::FromParts(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59)
    return OleDate(0.0, Status::kInvalid);
  double whole = static_cast<double>(OleDayFromCivil(year, month, day));
  double time = (hour * 3600 + minute * 60 + second) / kSecondsPerDay;
  return OleDate(whole >= 0 ? whole + time : whole - time);
}

bool OleDate::ToParts(struct tm* parts) const {
  if (!std::isfinite(m_days) || m_days <= kFirstDay - 1.0 || m_days >= kPastLastDay) return false;
  double whole = std::trunc(m_days);
  long long seconds = std::llround(std::fabs(m_days - whole) * kSecondsPerDay);
  long long day = static_cast<long long>(whole);
  if (seconds >= 86400) {  // rounding reached the next midnight
    seconds -= 86400;
    ++day;
  }
  CivilDate civil = CivilFromOleDay(day);
  if (civil.year < 100 || civil.year > 9999) return false;
  *parts = {};
  parts->tm_year = civil.year - 1900;
  parts->tm_mon = civil.month - 1;
  parts->tm_mday = civil.day;
  parts->tm_hour = static_cast<int>(seconds / 3600);
  parts->tm_min = static_cast<int>(seconds / 60 % 60);
  parts->tm_sec = static_cast<int>(seconds % 60);
  parts->tm_wday = WeekdayOfOleDay(day);
  parts->tm_yday = static_cast<int>(day - OleDayFromCivil(civil.year, 1, 1));
  parts->tm_isdst = -1;
  return true;
}

std::string OleDate::Format(const char* pattern) const {
  if (m_status == Status::kNull) return "";
  struct tm parts;
  if (m_status == Status::kInvalid || !ToParts(&parts)) return "Invalid DateTime";
  char buffer[256];
  size_t length = strftime(buffer, sizeof buffer, pattern, &parts);
  return std::string(buffer, length);
}

int64_t OleDateAgeInDays(const OleDate& now, const OleDate& built) {
  double span = NormaliseForSubtraction(now.days()) - NormaliseForSubtraction(built.days());
  double rounded = span >= 0 ? span + kHalfSecond : span - kHalfSecond;
  // Keeps the conversion defined for values no calendar date produces.
  if (!std::isfinite(rounded) || std::fabs(rounded) >= 9.2e18) return 0;
  return static_cast<int64_t>(rounded);
}
