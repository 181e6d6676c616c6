#include "util/format_number.h"

#include "util/copy_cut.h"

char* FormatNumber(uint64_t value, char* buffer, size_t length, unsigned flags) {
  if (buffer == nullptr || length == 0) return buffer;
  if (value == 0) return CopyCut(buffer, length, flags != 0 ? " " : "0");
  // Digits from the right; report lines format one number per row, so this stays
  // clear of printf.
  const bool grouped = (flags & kFormatNumberPlain) == 0;
  char text[32];
  char* end = text + sizeof text;
  char* p = end;
  for (int digits = 0; value != 0; value /= 10) {
    if (grouped && digits > 0 && digits % 3 == 0) *--p = ',';
    *--p = static_cast<char>('0' + value % 10);
    ++digits;
  }
  return CopyCut(buffer, length, std::string_view(p, static_cast<size_t>(end - p)));
}

char* FormatNumber(uint64_t value, unsigned flags) {
  static char shared[128];
  return FormatNumber(value, shared, sizeof shared, flags);
}
