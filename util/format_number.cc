#include "util/format_number.h"

#include <cstdio>
#include <cstring>

char* FormatNumber(uint64_t value, char* buffer, size_t length, unsigned flags) {
  if (buffer == nullptr || length == 0) return buffer;
  memset(buffer, 0, length);
  if (value == 0) {
    snprintf(buffer, length, "%s", flags != 0 ? " " : "0");
    return buffer;
  }
  if (flags & kFormatNumberPlain) {
    snprintf(buffer, length, "%llu", static_cast<unsigned long long>(value));
    return buffer;
  }
  // Groups of three digits, most significant first; 2^64 has seven groups.
  unsigned groups[7];
  int count = 0;
  for (uint64_t rest = value; rest != 0; rest /= 1000) groups[count++] = rest % 1000;
  char text[32];
  size_t used = snprintf(text, sizeof text, "%u", groups[count - 1]);
  for (int i = count - 2; i >= 0; --i)
    used += snprintf(text + used, sizeof text - used, ",%3.3u", groups[i]);
  snprintf(buffer, length, "%s", text);
  return buffer;
}

char* FormatNumber(uint64_t value, unsigned flags) {
  static char shared[128];
  return FormatNumber(value, shared, sizeof shared, flags);
}
