#include "report/report_cells.h"

#include <cstring>

#include "util/format_number.h"

void SplitReportRecord(char* text, uint32_t column_count, ReportRecord* record) {
  for (uint32_t i = 0; i < kReportMaxColumns; ++i) {
    record->value[i] = nullptr;
    record->length[i] = 0;
  }
  if (column_count > kReportMaxColumns) column_count = kReportMaxColumns;
  char* p = text;
  for (uint32_t column = 0; column < column_count; ++column) {
    while (*p == '|') ++p;
    if (*p == '\0') break;
    char* start = p;
    p = strchrnul(p, '|');
    record->value[column] = start;
    record->length[column] = static_cast<uint32_t>(p - start);
    if (*p == '|') *p++ = '\0';
  }
}

static bool IsTrimmed(unsigned char c) { return c <= 0x20 || c == 0x7F; }

std::string_view TrimReportValue(const char* value, uint32_t length) {
  uint32_t begin = 0, end = length;
  while (begin < end && IsTrimmed(static_cast<unsigned char>(value[begin]))) ++begin;
  while (end > begin && IsTrimmed(static_cast<unsigned char>(value[end - 1]))) --end;
  return std::string_view(value + begin, end - begin);
}

int64_t ReadLeadingInteger(const char* text, uint32_t limit) {
  uint32_t i = 0;
  while (i < limit && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < limit && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate the magnitude as unsigned so that the most negative value fits.
  const uint64_t bound = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  uint64_t magnitude = 0;
  for (; i < limit && text[i] >= '0' && text[i] <= '9'; ++i) {
    unsigned digit = text[i] - '0';
    if (magnitude > (bound - digit) / 10) {
      magnitude = bound;
      break;
    }
    magnitude = magnitude * 10 + digit;
  }
  if (!negative) return static_cast<int64_t>(magnitude);
  return magnitude == (uint64_t{1} << 63) ? INT64_MIN : -static_cast<int64_t>(magnitude);
}

std::string_view NumericCellText(const char* value, uint32_t length, uint32_t flags,
                                 char (&buffer)[kNumericCellBuffer]) {
  if (length > 0 && value[0] == '?') return std::string_view(value, length);
  int64_t number = ReadLeadingInteger(value, length < 32 ? length : 32);
  unsigned format_flags = (flags & ReportColumnFlag::PlainNumber) ? kFormatNumberPlain : 0;
  if (number >= 0) {
    FormatNumber(static_cast<uint64_t>(number), buffer, sizeof buffer, format_flags);
  } else {
    buffer[0] = '-';
    FormatNumber(0 - static_cast<uint64_t>(number), buffer + 1, sizeof buffer - 1, format_flags);
  }
  return std::string_view(buffer, strlen(buffer));
}
