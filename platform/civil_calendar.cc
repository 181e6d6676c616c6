#include "platform/civil_calendar.h"

namespace {

// 30 December 1899 counted from 1 March of year 0 in 400-year eras (the
// days-from-civil method of H. Hinnant), so that day counts start at the OLE epoch.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2;
  int64_t era = (year >= 0 ? year : year - 399) / 400;
  int64_t year_of_era = year - era * 400;
  int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era;
}

const int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);

}  // namespace

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

int64_t OleDayFromCivil(int year, int month, int day) {
  return DaysFromCivil(year, month, day) - kOleEpoch;
}

CivilDate CivilFromOleDay(int64_t ole_day) {
  int64_t days = ole_day + kOleEpoch;
  int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  int64_t day_of_era = days - era * 146097;
  int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  int64_t shifted_month = (5 * day_of_year + 2) / 153;
  int day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  int month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  int64_t year = year_of_era + era * 400 + (month <= 2);
  return {static_cast<int>(year), month, day};
}

int WeekdayOfOleDay(int64_t day) {
  // Day 0 was a Saturday.
  int64_t weekday = (day + 6) % 7;
  return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}
