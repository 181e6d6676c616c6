// The date parser: splits the text into numbers, words and separators, picks out
// the time of day, then reads the remaining numbers and month name as a date.

#include <langinfo.h>
#include <locale.h>

#include <array>
#include <cctype>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/civil_calendar.h"
#include "platform/ole_date.h"
#include "util/clock.h"

namespace {

// No month or day name is longer than this; a longer word names nothing.
constexpr size_t kLongestName = 9;

struct Token {
  enum Kind { kNumber, kWord, kColon } kind = kNumber;
  int64_t number = 0;  // kNumber: value, capped so that it cannot overflow
  int digits = 0;      // kNumber: how many digits were written
  // kWord: lower case; empty for a word too long to be a name.
  std::string_view word() const { return std::string_view(letters, letter_count); }
  char letters[kLongestName] = {};
  size_t letter_count = 0;
};

// The tokens of one text. A date has a dozen at most and they stay on the stack
// (a feed parses one date per entry); longer texts continue on the heap.
class TokenList {
 public:
  void push_back(const Token& token) {
    if (size_ < kInline)
      inline_[size_] = token;
    else
      overflow_.push_back(token);
    ++size_;
  }
  const Token& operator[](size_t i) const {
    return i < kInline ? inline_[i] : overflow_[i - kInline];
  }
  size_t size() const { return size_; }

 private:
  static constexpr size_t kInline = 16;
  std::array<Token, kInline> inline_;
  std::vector<Token> overflow_;
  size_t size_ = 0;
};

constexpr int64_t kNumberCap = 1000000000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Splits `text`; false on a character that has no place in a date. Where dates are
// not written with dots (month-day-year order), a dot between two numbers
// separates the parts of a time, as a colon does: "1.05" is five past one.
bool Tokenize(std::string_view text, DateOrder order, TokenList* tokens) {
  const bool dots_in_times = order == DateOrder::kMonthDayYear;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '.' && dots_in_times && i > 0 && IsDigit(text[i - 1]) && i + 1 < text.size() &&
        IsDigit(text[i + 1])) {
      tokens->push_back({Token::kColon});
      ++i;
    } else if (c == ' ' || c == '\t' || c == ',' || c == '/' || c == '-' || c == '.') {
      ++i;
    } else if (c == ':') {
      tokens->push_back({Token::kColon});
      ++i;
    } else if (c >= '0' && c <= '9') {
      Token token{Token::kNumber};
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (token.number < kNumberCap) token.number = token.number * 10 + (text[i] - '0');
        ++token.digits;
        ++i;
      }
      tokens->push_back(token);
    } else if (c < 0x80 && std::isalpha(c)) {
      Token token{Token::kWord};
      size_t length = 0;
      while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80 &&
             std::isalpha(static_cast<unsigned char>(text[i]))) {
        if (length < kLongestName)
          token.letters[length] =
              static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        ++length;
        ++i;
      }
      token.letter_count = length <= kLongestName ? length : 0;
      tokens->push_back(token);
    } else {
      return false;
    }
  }
  return true;
}

const char* const kMonths[] = {"january", "february", "march",     "april",   "may",      "june",
                               "july",    "august",   "september", "october", "november", "december"};
const char* const kDays[] = {"sunday",   "monday", "tuesday", "wednesday",
                             "thursday", "friday", "saturday"};

// A full name or its first three letters; `word` is in lower case.
bool NameMatches(std::string_view word, const char* name) {
  return word == name || (word.size() == 3 && strncmp(word.data(), name, 3) == 0);
}

// 1..12, or 0 when `word` names no month.
int MonthOfWord(std::string_view word) {
  for (int i = 0; i < 12; ++i)
    if (NameMatches(word, kMonths[i])) return i + 1;
  if (word == "sept") return 9;
  return 0;
}

// "am", "pm" or their first letters.
bool IsMorning(std::string_view word) { return word == "am" || word == "a"; }
bool IsAfternoon(std::string_view word) { return word == "pm" || word == "p"; }

bool IsDayName(std::string_view word) {
  for (const char* name : kDays)
    if (NameMatches(word, name)) return true;
  return word == "tues" || word == "thur" || word == "thurs";
}

struct Number {
  int64_t value;
  int digits;
};

// The numbers of a date: three at most.
struct Numbers {
  std::array<Number, 3> at{};
  size_t size = 0;
};

struct TimeOfDay {
  int64_t hour = 0, minute = 0, second = 0;
  enum { kNone, kAm, kPm } meridiem = kNone;
};

// A number that can only be a year: more than two digits, or above 31.
bool LooksLikeYear(const Number& n) { return n.digits > 2 || n.value > 31; }

int CurrentYear() {
  time_t now = CurrentTime();
  struct tm local {};
  if (localtime_r(&now, &local) == nullptr) return 1970;
  return local.tm_year + 1900;
}

// Two-digit years fall in 1930..2029.
int64_t FullYear(const Number& n) {
  if (n.digits > 2) return n.value;
  return n.value < 30 ? 2000 + n.value : 1900 + n.value;
}

struct DateFields {
  int64_t year, month, day;
};

bool DayAndMonthFit(const DateFields& date) {
  return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= DaysInMonth(static_cast<int>(date.year), static_cast<int>(date.month));
}

// Where each of three numbers goes, as indexes of year, month and day.
struct Arrangement {
  int year, month, day;
};
constexpr Arrangement kMonthDayYear{2, 0, 1}, kDayMonthYear{2, 1, 0}, kYearMonthDay{0, 1, 2};

// Numbers that could be read several ways are read in the first arrangement that
// makes a date: the user's own order, then year-month-day, then the others. So
// in month-day-year order "14 2 3" is 3 February 2014 and "13 1 1970" 13 January.
std::optional<DateFields> ThreeNumbers(const std::array<Number, 3>& numbers, DateOrder order) {
  const Arrangement own = order == DateOrder::kDayMonthYear  ? kDayMonthYear
                          : order == DateOrder::kYearMonthDay ? kYearMonthDay
                                                              : kMonthDayYear;
  for (const Arrangement& way : {own, kYearMonthDay, kMonthDayYear, kDayMonthYear}) {
    DateFields date{FullYear(numbers[way.year]), numbers[way.month].value, numbers[way.day].value};
    if (DayAndMonthFit(date)) return date;
  }
  return std::nullopt;
}

// Two numbers are a month and a day of the current year, in the user's order
// first; failing that, a month and a year (its first day), as in "2 30" for
// February 1930.
std::optional<DateFields> TwoNumbers(const Number& a, const Number& b, DateOrder order) {
  const int64_t year = CurrentYear();
  const DateFields month_day{year, a.value, b.value}, day_month{year, b.value, a.value};
  const bool day_first = order == DateOrder::kDayMonthYear;
  for (const DateFields& date : {day_first ? day_month : month_day, day_first ? month_day : day_month})
    if (DayAndMonthFit(date)) return date;
  if (a.value >= 1 && a.value <= 12) return DateFields{FullYear(b), a.value, 1};
  if (b.value >= 1 && b.value <= 12) return DateFields{FullYear(a), b.value, 1};
  return std::nullopt;
}

// Reads the numbers and month name of the text as a date.
std::optional<DateFields> AssembleDate(const Numbers& list, int month_word, DateOrder order) {
  const std::array<Number, 3>& numbers = list.at;
  if (month_word != 0) {
    if (list.size == 1) {
      // A day of that month if it can be one, else the year.
      const DateFields day{CurrentYear(), month_word, numbers[0].value};
      if (numbers[0].digits <= 2 && DayAndMonthFit(day)) return day;
      return DateFields{FullYear(numbers[0]), month_word, 1};
    }
    if (list.size == 2) {
      const Number& first = numbers[0];
      const Number& second = numbers[1];
      if (LooksLikeYear(first)) return DateFields{FullYear(first), month_word, second.value};
      return DateFields{FullYear(second), month_word, first.value};
    }
    return std::nullopt;
  }
  if (list.size == 2) return TwoNumbers(numbers[0], numbers[1], order);
  if (list.size == 3) return ThreeNumbers(numbers, order);
  return std::nullopt;
}

}  // namespace

DateOrder DateOrderFromPattern(const char* pattern) {
  std::string order;
  for (const char* p = pattern; p != nullptr && *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    while (*p == 'E' || *p == 'O' || *p == '-' || *p == '_' || *p == '0' || *p == '^' || *p == '#')
      ++p;
    char part = 0;
    switch (*p) {
      case 'd': case 'e': part = 'd'; break;
      case 'm': case 'b': case 'B': case 'h': part = 'm'; break;
      case 'y': case 'Y': case 'C': case 'G': case 'g': part = 'y'; break;
      case 'D': order += "mdy"; break;
      case 'F': order += "ymd"; break;
      case '\0': --p; break;
      default: break;
    }
    if (part != 0 && order.find(part) == std::string::npos) order += part;
  }
  if (order.rfind("dmy", 0) == 0) return DateOrder::kDayMonthYear;
  if (order.rfind("ymd", 0) == 0) return DateOrder::kYearMonthDay;
  return DateOrder::kMonthDayYear;
}

DateOrder UserDateOrder() {
  locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return DateOrder::kMonthDayYear;
  DateOrder order = DateOrderFromPattern(nl_langinfo_l(D_FMT, user));
  freelocale(user);
  return order;
}

DateParseResult ParseOleDate(std::string_view text, DateOrder order, OleDate* date) {
  *date = OleDate(0.0, OleDate::Status::kInvalid);
  TokenList tokens;
  if (!Tokenize(text, order, &tokens)) return DateParseResult::kTypeMismatch;

  Numbers numbers;
  int month_word = 0;
  std::optional<TimeOfDay> time;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    if (token.kind == Token::kColon) return DateParseResult::kTypeMismatch;
    if (token.kind == Token::kWord) {
      int month = MonthOfWord(token.word());
      if (month != 0) {
        if (month_word != 0) return DateParseResult::kTypeMismatch;
        month_word = month;
      } else if (!IsDayName(token.word())) {
        return DateParseResult::kTypeMismatch;
      }
      continue;
    }
    bool starts_time = i + 1 < tokens.size() && tokens[i + 1].kind == Token::kColon;
    bool hour_alone = i + 1 < tokens.size() && tokens[i + 1].kind == Token::kWord &&
                      (IsMorning(tokens[i + 1].word()) || IsAfternoon(tokens[i + 1].word()));
    if (!starts_time && !hour_alone) {
      if (numbers.size == 3) return DateParseResult::kTypeMismatch;
      numbers.at[numbers.size++] = {token.number, token.digits};
      continue;
    }
    if (time) return DateParseResult::kTypeMismatch;
    TimeOfDay parsed;
    parsed.hour = token.number;
    size_t next = i + 1;
    int64_t* fields[] = {&parsed.minute, &parsed.second};
    for (int64_t* field : fields) {
      if (next + 1 >= tokens.size() || tokens[next].kind != Token::kColon) break;
      if (tokens[next + 1].kind != Token::kNumber) return DateParseResult::kTypeMismatch;
      *field = tokens[next + 1].number;
      next += 2;
    }
    if (next < tokens.size() && tokens[next].kind == Token::kColon)
      return DateParseResult::kTypeMismatch;
    if (next < tokens.size() && tokens[next].kind == Token::kWord) {
      if (IsMorning(tokens[next].word())) parsed.meridiem = TimeOfDay::kAm;
      if (IsAfternoon(tokens[next].word())) parsed.meridiem = TimeOfDay::kPm;
      if (parsed.meridiem != TimeOfDay::kNone) ++next;
    }
    time = parsed;
    i = next - 1;
  }

  if (time) {
    if (time->hour > 23 || time->minute > 59 || time->second > 59)
      return DateParseResult::kTypeMismatch;
    // AM and PM mean nothing after an hour of the 24-hour clock: 13:00 PM is 13:00.
    if (time->meridiem == TimeOfDay::kAm && time->hour == 12) time->hour = 0;
    if (time->meridiem == TimeOfDay::kPm && time->hour < 12) time->hour += 12;
  }

  DateFields fields{1899, 12, 30};
  if (month_word != 0 || numbers.size != 0) {
    std::optional<DateFields> assembled = AssembleDate(numbers, month_word, order);
    if (!assembled) return DateParseResult::kTypeMismatch;
    fields = *assembled;
    if (!DayAndMonthFit(fields)) return DateParseResult::kTypeMismatch;
    if (fields.year < 100 || fields.year > 9999) {
      *date = OleDate(-1.0, OleDate::Status::kInvalid);
      return DateParseResult::kOverflow;
    }
  } else if (!time) {
    return DateParseResult::kTypeMismatch;
  }

  TimeOfDay at = time.value_or(TimeOfDay{});
  *date = OleDate::FromParts(static_cast<int>(fields.year), static_cast<int>(fields.month),
                             static_cast<int>(fields.day), static_cast<int>(at.hour),
                             static_cast<int>(at.minute), static_cast<int>(at.second));
  return DateParseResult::kOk;
}

OleDate ParseOleDate(std::string_view text) {
  OleDate date;
  ParseOleDate(text, UserDateOrder(), &date);
  return date;
}
