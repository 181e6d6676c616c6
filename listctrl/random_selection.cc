#include "listctrl/random_selection.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// rand() yields 0 to RAND_MAX; the classic draw works while every row is in reach.
constexpr unsigned kClassicDrawLimit = unsigned(RAND_MAX) + 1;

// The leading decimal digits of `text` as atoi reads them (sign and blanks
// included), held to the range of int instead of overflowing.
long long LeadingNumber(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return value;
}

// A draw wide enough for any row count: three rand() values of 31 bits each.
uint64_t WideRand() {
  uint64_t value = 0;
  for (int part = 0; part < 3; ++part) value = (value << 31) ^ uint64_t(std::rand());
  return value;
}

}  // namespace

std::string ReadRandomSelectionCount(const std::string& input, unsigned rows, unsigned* count) {
  if (input.empty()) return "Number of items can not be blank";
  long long wanted = LeadingNumber(input);
  if (input.back() == '%') wanted = static_cast<long long>(float(rows) / 100.0f * float(wanted));
  if (wanted < 1) return "Number of items can not be zero";
  if (wanted > rows) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "You can't select %u random records, because there are only %u records in total",
                  unsigned(wanted), rows);
    return text;
  }
  *count = unsigned(wanted);
  return {};
}

std::vector<bool> DrawRandomRows(unsigned rows, unsigned count) {
  std::vector<bool> chosen(rows, false);
  if (rows <= kClassicDrawLimit) {
    for (unsigned counted = 0; counted < count;) {
      const unsigned row = unsigned(std::rand()) % rows;
      if (!chosen[row]) {
        chosen[row] = true;
        ++counted;
      }
    }
    return chosen;
  }
  // Floyd: for each j of the last `count` rows, pick below or at j; a row already
  // taken is replaced by j itself, which no earlier step could have taken.
  for (unsigned j = rows - count; j < rows; ++j) {
    const unsigned row = unsigned(WideRand() % (uint64_t(j) + 1));
    chosen[chosen[row] ? j : row] = true;
  }
  return chosen;
}
