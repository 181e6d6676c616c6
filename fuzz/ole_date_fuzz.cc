// Date texts from command lines and feeds: the parser must not crash, and what it
// accepts must be a date it can print and read back to the same value.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/ole_date.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (DateOrder order :
       {DateOrder::kMonthDayYear, DateOrder::kDayMonthYear, DateOrder::kYearMonthDay}) {
    OleDate date;
    DateParseResult result = ParseOleDate(text, order, &date);
    if (result != DateParseResult::kOk) {
      if (date.IsValid()) abort();
      continue;
    }
    struct tm parts;
    if (!date.IsValid() || !date.ToParts(&parts)) abort();
    OleDate again;
    if (ParseOleDate(date.Format("%Y-%m-%d %H:%M:%S"), order, &again) != DateParseResult::kOk ||
        again != date)
      abort();
    (void)OleDateAgeInDays(OleDate(45000.0), date);
  }
  return 0;
}
