#include "tools/vendor_site/rss_text.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

// Length of the valid UTF-8 sequence at `text[i]`, or 0 when it is not one.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  size_t length;
  unsigned min;
  unsigned value;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, min = 0x80, value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, min = 0x800, value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  bool not_a_character = value == 0xFFFE || value == 0xFFFF;
  if (value < min || value > 0x10FFFF || surrogate || not_a_character) return 0;
  return length;
}

// Bytes that stand for themselves in character data: printable ASCII other
// than the escaped four, tab, line feed and carriage return.
constexpr std::array<bool, 256> kPlainBytes = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x7F; ++c) plain[c] = c != '&' && c != '<' && c != '>' && c != '"';
  plain['\t'] = plain['\n'] = plain['\r'] = true;
  return plain;
}();

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

size_t PrintDate(int weekday, const struct tm& fields, char (&out)[kRfc822DateCapacity]) {
  int length = snprintf(out, sizeof out, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[weekday],
                        fields.tm_mday, kMonths[fields.tm_mon], fields.tm_year + 1900,
                        fields.tm_hour, fields.tm_min, fields.tm_sec);
  return length > 0 && static_cast<size_t>(length) < sizeof out ? static_cast<size_t>(length) : 0;
}

// The value of `count` decimal digits at `text`, or -1 when one is not a digit.
int Digits(const char* text, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

// 0 = Sunday, for a date of the proleptic Gregorian calendar (year 0..9999).
int Weekday(int year, int month, int day) {
  static const int kMonthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  // Shifted by 400 years so that year 0 (whose January lies in year -1) stays positive.
  year += 400;
  return (year + year / 4 - year / 100 + year / 400 + kMonthOffsets[month - 1] + day) % 7;
}

// "YYYY-MM-DD HH:MM:SS" exactly, with fields in range and seconds below 60;
// false for anything else, which the strptime path then judges.
bool ParseStoredStamp(std::string_view stamp, struct tm* fields) {
  static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (stamp.size() != 19) return false;
  const char* s = stamp.data();
  if (s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':' || s[16] != ':') return false;
  int year = Digits(s, 4), month = Digits(s + 5, 2), day = Digits(s + 8, 2);
  int hour = Digits(s + 11, 2), minute = Digits(s + 14, 2), second = Digits(s + 17, 2);
  if (year < 0 || month < 1 || month > 12 || day < 1) return false;
  int month_days = kMonthDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
  if (day > month_days || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
      second > 59)
    return false;
  *fields = {};
  fields->tm_year = year - 1900;
  fields->tm_mon = month - 1;
  fields->tm_mday = day;
  fields->tm_hour = hour;
  fields->tm_min = minute;
  fields->tm_sec = second;
  fields->tm_wday = Weekday(year, month, day);
  return true;
}

}  // namespace

void AppendXmlEscaped(std::string_view text, std::string* out) {
  size_t i = 0;
  while (i < text.size()) {
    size_t run = i;
    while (run < text.size() && kPlainBytes[static_cast<unsigned char>(text[run])]) ++run;
    out->append(text.data() + i, run - i);
    i = run;
    if (i == text.size()) break;
    unsigned char c = text[i];
    size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      *out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (length > 1) {
      out->append(text.data() + i, length);
    } else if (c == '&') {
      *out += "&amp;";
    } else if (c == '<') {
      *out += "&lt;";
    } else if (c == '>') {
      *out += "&gt;";
    } else if (c == '"') {
      *out += "&quot;";
    }  // other controls have no place in XML and are dropped
    i += length;
  }
}

std::string XmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendXmlEscaped(text, &escaped);
  return escaped;
}

size_t FormatRfc822DateByStrptime(std::string_view stamp, char (&out)[kRfc822DateCapacity]) {
  std::string terminated(stamp);  // strptime reads up to the first NUL
  struct tm fields = {};
  const char* end = strptime(terminated.c_str(), "%Y-%m-%d %H:%M:%S", &fields);
  if (end == nullptr || *end != '\0') return 0;
  // The stored fields are the server's wall clock; timegm only supplies the
  // weekday and rejects impossible dates by normalising them.
  struct tm normalised = fields;
  if (timegm(&normalised) == -1 || normalised.tm_mday != fields.tm_mday ||
      normalised.tm_mon != fields.tm_mon)
    return 0;
  return PrintDate(normalised.tm_wday, fields, out);
}

size_t FormatRfc822Date(std::string_view stamp, char (&out)[kRfc822DateCapacity]) {
  struct tm fields;
  if (!ParseStoredStamp(stamp, &fields)) return FormatRfc822DateByStrptime(stamp, out);
  // "Tue, 06 Jul 2021 09:30:00 GMT", written directly: one per item of a long feed.
  char* p = out;
  auto put = [&](const char* text, size_t length) {
    memcpy(p, text, length);
    p += length;
  };
  auto put_number = [&](int value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10) p[i] = static_cast<char>('0' + value % 10);
    p += digits;
  };
  put(kDays[fields.tm_wday], 3);
  put(", ", 2);
  put_number(fields.tm_mday, 2);
  put(" ", 1);
  put(kMonths[fields.tm_mon], 3);
  put(" ", 1);
  put_number(fields.tm_year + 1900, 4);
  put(" ", 1);
  put_number(fields.tm_hour, 2);
  put(":", 1);
  put_number(fields.tm_min, 2);
  put(":", 1);
  put_number(fields.tm_sec, 2);
  put(" GMT", 4);
  return static_cast<size_t>(p - out);
}

std::string Rfc822Date(std::string_view stamp) {
  char text[kRfc822DateCapacity];
  return std::string(text, FormatRfc822Date(stamp, text));
}
