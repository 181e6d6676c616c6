// Case-insensitive comparison for keyword tables (format names, column flags).
#pragma once

// True when both strings have the same length and equal characters after
// upper-casing each (ASCII); two empty strings are equal. Null counts as empty.
bool StringsEqualNoCase(const char* a, const char* b);
