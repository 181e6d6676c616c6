#include "platform/crash_dump_writer.h"

#include <gtest/gtest.h>

TEST(CrashDumpWriterTest, YearAndDayOfYearFollowLocalCalendar) {
  const std::tuple<long long, long, unsigned, unsigned> cases[] = {
      {1735603200, 0, 2024, 365},      // 2024-12-31, a leap year
      {1767222000, 3600, 2026, 0},     // 23:00 UTC is already 1 January at +1
      {1767225600, -3600, 2025, 364},  // midnight UTC is still 31 December at -1
      {4133894400, 0, 2100, 364},      // 2100 is not a leap year
      {-86400, 0, 1969, 364}};
  for (const auto& [seconds, utc_offset, year, day] : cases) {
    unsigned got_year = 0, got_day = 0;
    YearAndDayOfYear(seconds, utc_offset, &got_year, &got_day);
    EXPECT_EQ(std::make_pair(year, day), std::make_pair(got_year, got_day)) << seconds;
  }
}
