#include "report/time_text.h"

#include <cstdio>
#include <ctime>

char* FormatLocalTime(int64_t when, const char* format, char* buffer, unsigned length) {
  if (length == 0) return buffer;
  buffer[0] = '\0';
  if (when == 0) {
    snprintf(buffer, length, "Not-Set");
    return buffer;
  }
  time_t seconds = static_cast<time_t>(when);
  struct tm local;
  if (localtime_r(&seconds, &local) == nullptr) {
    snprintf(buffer, length, "**ERROR**");
    return buffer;
  }
  if (strftime(buffer, length, format, &local) == 0) buffer[0] = '\0';
  return buffer;
}

const char* FormatProductionTime(uint32_t when) {
  static char text[128];
  return FormatLocalTime(when, "%A, %B %d, %Y - %H:%M:%S (%Z)", text, sizeof text);
}

const char* FormatTime(int64_t when, const char* format) {
  static char text[128];
  return FormatLocalTime(when, format != nullptr ? format : "%A, %B %d, %Y - %H:%M:%S", text,
                         sizeof text);
}

const char* FormatFileStamp(int64_t when) {
  static char text[128];
  return FormatLocalTime(when, "%Y-%m-%d-%H-%M-%S", text, sizeof text);
}
