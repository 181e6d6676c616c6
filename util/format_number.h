// Decimal numbers with thousands separators, as the report writer, the list footer
// and progress lines print them.
#pragma once

#include <cstddef>
#include <cstdint>

// Flag for FormatNumber: the plain decimal, without separators.
constexpr unsigned kFormatNumberPlain = 2;

// Writes `value` into `buffer` (cut to `length` bytes including the terminating
// zero) and returns `buffer`. 0 prints as "0", or as one blank when `flags` is not
// 0; flag 2 prints the plain decimal; otherwise groups of three digits joined by ",".
char* FormatNumber(uint64_t value, char* buffer, size_t length, unsigned flags);

// The same into one shared buffer of 128 characters: the result stays valid only
// until the next call, and the function is for one thread.
char* FormatNumber(uint64_t value, unsigned flags = 0);
