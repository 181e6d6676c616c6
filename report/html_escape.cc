#include "report/html_escape.h"

#include <cstring>

namespace {

const char* EntityFor(char c) {
  switch (c) {
    case '"': return "&quot;";
    case '&': return "&amp;";
    case '\'': return "&apos;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    default: return nullptr;
  }
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    const char* entity = EntityFor(c);
    if (entity != nullptr)
      escaped += entity;
    else
      escaped += c;
  }
  return escaped;
}

std::string_view EscapeHtmlValue(std::string_view value, char (&buffer)[kHtmlEscapeBuffer]) {
  constexpr size_t kStopAt = 505;
  size_t used = 0;
  for (char c : value) {
    if (used >= kStopAt) break;
    const char* entity = EntityFor(c);
    if (entity == nullptr) {
      buffer[used++] = c;
      continue;
    }
    size_t length = strlen(entity);
    memcpy(buffer + used, entity, length);
    used += length;
  }
  buffer[used] = '\0';
  return std::string_view(buffer, used);
}
