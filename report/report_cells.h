// Cutting a record into column values and the per-value conversions that several
// formats share: trimming and the numeric cell text.
#pragma once

#include <cstdint>
#include <string_view>

#include "report/report_format.h"

// Splits `text` in place at '|' (runs of '|' count as one separator, a leading one
// is skipped) and gives the values to the first `column_count` columns in order.
// Columns without a value get null; values beyond the last column are ignored.
void SplitReportRecord(char* text, uint32_t column_count, ReportRecord* record);

// The value without leading and trailing blanks and control characters (bytes up
// to 0x20, and 0x7F). Bytes from 0x80 upward are kept, so UTF-8 text stays whole.
std::string_view TrimReportValue(const char* value, uint32_t length);

// The text of a value in a Numeric column for the text and PDF formats: a value
// beginning with '?' unchanged; otherwise the integer read from its first 32
// characters (leading blanks, optional sign, digits) with thousands separators, or
// plain digits and zero as a blank with PlainNumber. A negative number keeps its
// minus sign. `buffer` holds the converted text; the result points into it or
// at `value`.
constexpr unsigned kNumericCellBuffer = 32;
std::string_view NumericCellText(const char* value, uint32_t length, uint32_t flags,
                                 char (&buffer)[kNumericCellBuffer]);

// Reads a signed decimal integer from at most `limit` characters: leading blanks,
// optional sign, digits up to the first other character; 0 without digits. Values
// beyond the 64-bit range stop at its ends.
int64_t ReadLeadingInteger(const char* text, uint32_t limit);
