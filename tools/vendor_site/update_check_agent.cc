#include "tools/vendor_site/update_check_agent.h"

#include <cstdio>

namespace {

// Reads an unsigned decimal number of 1 to `max_digits` digits at `text[*pos]`.
bool ReadNumber(const std::string& text, size_t* pos, int max_digits, unsigned* number) {
  size_t start = *pos;
  *number = 0;
  while (*pos < text.size() && *pos - start < static_cast<size_t>(max_digits) &&
         text[*pos] >= '0' && text[*pos] <= '9')
    *number = *number * 10 + (text[(*pos)++] - '0');
  return *pos > start;
}

}  // namespace

std::optional<UpdateCheckAgent> ParseUpdateCheckAgent(const std::string& user_agent) {
  if (user_agent.empty() || user_agent.back() != ')') return std::nullopt;
  // The title and the platform texts may both hold slashes; the date is the
  // first "/Y-M-D (" in the text.
  for (size_t slash = user_agent.find('/'); slash != std::string::npos;
       slash = user_agent.find('/', slash + 1)) {
    size_t pos = slash + 1;
    unsigned year, month, day;
    if (slash == 0 || !ReadNumber(user_agent, &pos, 4, &year) ||
        user_agent.compare(pos, 1, "-") != 0 || !ReadNumber(user_agent, &++pos, 2, &month) ||
        user_agent.compare(pos, 1, "-") != 0 || !ReadNumber(user_agent, &++pos, 2, &day) ||
        user_agent.compare(pos, 2, " (") != 0)
      continue;
    if (year < 1900 || month > 11 || day < 1 || day > 31) return std::nullopt;
    char built[32];
    snprintf(built, sizeof built, "%04u-%02u-%02u", year, month + 1, day);
    return UpdateCheckAgent{user_agent.substr(0, slash), built};
  }
  return std::nullopt;
}
