// Proleptic Gregorian calendar arithmetic on day counts, where day 0 is
// 30 December 1899 (the epoch of OleDate).
#pragma once

#include <cstdint>

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
};

// 28..31 for a valid month, 0 otherwise.
int DaysInMonth(int year, int month);
// Days from 30 December 1899 to the given date (negative before it).
int64_t OleDayFromCivil(int year, int month, int day);
// The inverse of OleDayFromCivil.
CivilDate CivilFromOleDay(int64_t day);
// 0 for Sunday .. 6 for Saturday.
int WeekdayOfOleDay(int64_t day);
