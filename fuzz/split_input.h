// Cuts a fuzz input into fields or lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `text` cut at each `separator` into at most `limit` parts, the last keeping the rest.
inline std::vector<std::string> SplitInput(const std::string& text, char separator,
                                           size_t limit = SIZE_MAX) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator && parts.size() < limit)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}
