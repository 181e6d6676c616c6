#include "report/date_expression.h"

#include <fnmatch.h>

#include <cstring>
#include <ctime>

#include "util/clock.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Dates change at 01:00 local time: an hour is taken off before the date is read.
constexpr int64_t kDayStartOffset = 3600;
// Numbers beyond this are held at it, so that the calendar arithmetic below stays
// within the range of int and of a 64-bit time.
constexpr long kLargestNumber = 9999999;

// Reads a decimal number with an optional sign and fraction at `text`, truncated
// toward zero. Returns where the number ends, or `text` (and 0) when there is none.
const char* ReadNumber(const char* text, long* value) {
  const char* p = text;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  bool any_digit = false;
  long whole = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    any_digit = true;
    if (whole < kLargestNumber) whole = whole * 10 + (*p - '0');
  }
  if (*p == '.') {
    const char* fraction = p + 1;
    while (*fraction >= '0' && *fraction <= '9') ++fraction;
    if (any_digit || fraction > p + 1) {
      any_digit = true;
      p = fraction;
    }
  }
  if (!any_digit) {
    *value = 0;
    return text;
  }
  if (whole > kLargestNumber) whole = kLargestNumber;
  *value = negative ? -whole : whole;
  return p;
}

// Packs the local date of `when` into `word`; when the local time cannot be
// determined, the time itself is kept (DateWordToTime accepts both).
void StoreLocalDate(int64_t when, DateWord* word) {
  time_t seconds = static_cast<time_t>(when);
  struct tm local;
  if (localtime_r(&seconds, &local) == nullptr) {
    StoreDateWordValue(static_cast<uint32_t>(when), word);
    return;
  }
  MakeDateWord(static_cast<unsigned>(local.tm_mday), static_cast<unsigned>(local.tm_mon + 1),
               static_cast<unsigned>(local.tm_year + 1900), word);
}

// The base date of an expression with a day offset, plus D days: the day offset is
// read at `rest`.
void StoreWithDayOffset(const DateWord& base, const char* rest, DateWord* word) {
  long days = 0;
  ReadNumber(rest, &days);
  StoreLocalDate(DateWordToTime(base) + days * kSecondsPerDay - kDayStartOffset, word);
}

// Normalises a calendar date whose fields may be out of range (month 13, day 0) the
// way mktime does, without touching time zones: calendar arithmetic is the same in
// every zone.
void StoreCalendarDate(long year, long month0, long day, DateWord* word) {
  struct tm date = {};
  date.tm_year = static_cast<int>(year - 1900);
  date.tm_mon = static_cast<int>(month0);
  date.tm_mday = static_cast<int>(day);
  date.tm_hour = 12;
  time_t normalised = timegm(&date);
  struct tm result;
  // Noon never normalises to -1, so -1 can only mean failure.
  if (normalised == static_cast<time_t>(-1)) {
    StoreDateWordValue(static_cast<uint32_t>(CurrentTime()), word);
    return;
  }
  gmtime_r(&normalised, &result);
  MakeDateWord(static_cast<unsigned>(result.tm_mday), static_cast<unsigned>(result.tm_mon + 1),
               static_cast<unsigned>(result.tm_year + 1900), word);
}

// The forms relative to the current date: 'M', 'm', 'Y', 'y' and 'W', each with a
// signed count N after the letter and an optional day offset after N.
void StoreRelativeDate(const char* text, DateWord* word) {
  int64_t now = CurrentTime();
  time_t seconds = static_cast<time_t>(now);
  struct tm today;
  if (localtime_r(&seconds, &today) == nullptr) {
    StoreDateWordValue(static_cast<uint32_t>(now), word);
    return;
  }
  long count = 0;
  const char* rest = ReadNumber(text + 1, &count);
  // A bare sign counts as no number; the day offset is looked for after it.
  if (rest == text + 1) ++rest;
  long year = today.tm_year + 1900L;
  long month0 = today.tm_mon;
  long day = today.tm_mday;
  switch (text[0]) {
    case 'M': month0 += count; day = 1; break;
    case 'm': month0 += count + 1; day = 0; break;  // day 0 is the last of the month before
    case 'Y': year += count; month0 = 0; day = 1; break;
    case 'y': year += count; month0 = 11; day = 31; break;
    case 'W': day += 7 * count - today.tm_wday; break;
  }
  DateWord base;
  StoreCalendarDate(year, month0, day, &base);
  StoreWithDayOffset(base, rest, word);
}

}  // namespace

void StoreDateWordValue(uint32_t value, DateWord* word) {
  for (int i = 0; i < 4; ++i) word->bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t DateWordValue(const DateWord& word) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | word.bytes[i];
  return value;
}

void MakeDateWord(unsigned day, unsigned month, unsigned year, DateWord* word) {
  StoreDateWordValue(kDateWordMark | (day & 0x3Fu) << 24 | (month & 0xFFu) << 16 | (year & 0xFFFFu),
                     word);
}

int64_t DateWordToTime(const DateWord& word) {
  uint32_t value = DateWordValue(word);
  struct tm local = {};
  if (value & 0x80000000u) {
    local.tm_mday = static_cast<int>((value >> 24) & 0x3F);
    local.tm_mon = static_cast<int>((value >> 16) & 0x0F) - 1;
    local.tm_year = static_cast<int>(value & 0xFFFF) - 1900;
    local.tm_isdst = 0;
  } else if (value != 0) {
    time_t seconds = static_cast<time_t>(value);
    if (localtime_r(&seconds, &local) == nullptr) return value;
    local.tm_isdst = -1;
  } else {
    return 0;
  }
  local.tm_hour = 1;
  local.tm_min = 0;
  local.tm_sec = 1;
  return static_cast<int64_t>(mktime(&local));
}

bool ParseDateExpression(const char* text, DateWord* word) {
  if (fnmatch("????\\-??\\-??*", text, 0) == 0) {
    long year = 0, month = 0, day = 0;
    const char* p = ReadNumber(text, &year);
    if (*p != '\0') ++p;
    p = ReadNumber(p, &month);
    if (*p != '\0') ++p;
    p = ReadNumber(p, &day);
    DateWord base;
    MakeDateWord(static_cast<unsigned>(day), static_cast<unsigned>(month),
                 static_cast<unsigned>(year), &base);
    StoreWithDayOffset(base, p, word);
    return true;
  }
  if (fnmatch("[12][0-9][0-9][0-9]", text, 0) == 0) {
    long year = 0;
    ReadNumber(text, &year);
    MakeDateWord(1, 1, static_cast<unsigned>(year), word);
    return true;
  }
  if (fnmatch("M[-+]*", text, 0) == 0 || fnmatch("m[-+]*", text, 0) == 0 ||
      fnmatch("Y[-+]*", text, 0) == 0 || fnmatch("y[-+]*", text, 0) == 0 ||
      fnmatch("W[-+]*", text, 0) == 0) {
    StoreRelativeDate(text, word);
    return true;
  }
  if (fnmatch("\\*[-+]*", text, 0) == 0) {
    long days = 0;
    ReadNumber(text + 1, &days);
    StoreLocalDate(CurrentTime() + days * kSecondsPerDay - kDayStartOffset, word);
    return true;
  }
  if (fnmatch("\\*", text, 0) == 0) {
    StoreLocalDate(CurrentTime() - kDayStartOffset, word);
    return true;
  }
  return false;
}
