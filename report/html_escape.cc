#include "report/html_escape.h"

#include <cstring>

std::string_view EscapeHtmlValue(std::string_view value, char (&buffer)[kHtmlEscapeBuffer]) {
  constexpr size_t kStopAt = 505;
  size_t used = 0;
  for (char c : value) {
    if (used >= kStopAt) break;
    const char* entity = nullptr;
    switch (c) {
      case '"': entity = "&quot;"; break;
      case '&': entity = "&amp;"; break;
      case '\'': entity = "&apos;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      default: buffer[used++] = c; continue;
    }
    size_t length = strlen(entity);
    memcpy(buffer + used, entity, length);
    used += length;
  }
  buffer[used] = '\0';
  return std::string_view(buffer, used);
}
