// Relative date expressions of the report variables ("m-1" is the last day of last
// month, "*" today) and the packed date word they produce. Every read of the
// current time goes through CurrentTime(); dates are local dates in the process's
// time zone (TZ). Safe to call from any thread (no static state).
#pragma once

#include <cstdint>

// A date packed into 32 bits: bits 31 and 30 set, the day in bits 29 to 24, the
// month (1 to 12) in bits 23 to 16 and the year in bits 15 to 0. It is kept in memory
// least significant byte first on every host, so that files and other programs see the
// same four bytes (4 March 2021 is E5 07 03 C4).
struct DateWord {
  unsigned char bytes[4];
};

// The mark of a date word (bits 31 and 30).
constexpr uint32_t kDateWordMark = 0xC0000000u;

// Packs day, month and year (each cut to its field) into `word`.
void MakeDateWord(unsigned day, unsigned month, unsigned year, DateWord* word);
// Stores a plain 32-bit value (a date word's value or a 32-bit time) into `word`.
void StoreDateWordValue(uint32_t value, DateWord* word);
// The 32-bit value held in `word`.
uint32_t DateWordValue(const DateWord& word);

// Reads a date expression. Returns true and fills `word` when `text` matches one of the
// forms below (tried in this order with fnmatch, so a backslash quotes the next
// character); returns false and leaves `word` alone otherwise. Numbers are decimal
// with an optional sign and fraction, truncated to whole numbers. D is an optional
// day offset right after the last number.
//   "????\-??\-??*"      year-month-day (any one character between), then D
//   "[12][0-9][0-9][0-9]" 1 January of that year
//   "M[-+]*"  first day of the current month moved by N months, then D
//   "m[-+]*"  last day of the current month moved by N months, then D
//   "Y[-+]*"  1 January of the current year moved by N years, then D
//   "y[-+]*"  31 December of the current year moved by N years, then D
//   "W[-+]*"  the Sunday that begins the current week moved by N weeks, then D
//   "\*[-+]*" today moved by N days
//   "\*"      today
// "Today" changes at 01:00 local time, not at midnight, so that a report run just
// after midnight still belongs to the day before. Out-of-range fields roll over
// (2021-02-30 is 2 March 2021).
bool ParseDateExpression(const char* text, DateWord* word);

// The time that `word` stands for: for a date word, 01:00:01 local standard time
// (daylight-saving flag cleared) on that day; for any other non-zero value, the value
// taken as a 32-bit time moved to 01:00:01 local time on its day; 0 for 0.
int64_t DateWordToTime(const DateWord& word);
