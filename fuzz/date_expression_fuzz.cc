// Date expressions of arbitrary text, at a clock time taken from the first bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "report/date_expression.h"
#include "util/clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t now = 1614855600;
  if (size >= 4) {
    memcpy(&now, data, 4);
    data += 4;
    size -= 4;
  }
  std::string text(reinterpret_cast<const char*>(data), size);
  ScopedFixedTime clock(static_cast<time_t>(now));
  DateWord word;
  if (ParseDateExpression(text.c_str(), &word)) DateWordToTime(word);
  return 0;
}
