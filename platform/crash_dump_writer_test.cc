#include "platform/crash_dump_writer.h"

#include <gtest/gtest.h>

// The dump's name carries the local date as year and day of the year from 0.
TEST(CrashDumpWriterTest, NamesTheDumpByLocalYearAndDayOfYear) {
  struct Case {
    long long seconds;
    long utc_offset;
    const char* path;  // null: does not fit in 24 bytes
  };
  const Case cases[] = {
      {0, 0, "/t/ZORM-1970-0-42.dmp"},
      {0, -1, "/t/ZORM-1969-364-42.dmp"},          // a second before, west of UTC
      {951782400, 0, "/t/ZORM-2000-59-42.dmp"},    // 29 February 2000
      {978220800, 0, "/t/ZORM-2000-365-42.dmp"},   // 31 December of a leap year; just fits
      {4107538800, 3600, "/t/ZORM-2100-59-42.dmp"},  // past midnight east: 1 March 2100
      {253433836800, 0, nullptr},                  // 31 December 10000: one byte too many
  };
  for (const Case& c : cases) {
    unsigned year = 0, day = 0;
    YearAndDayOfYear(c.seconds, c.utc_offset, &year, &day);
    char path[24] = "x";
    EXPECT_EQ(FormatCrashDumpPath(path, sizeof path, "/t/", year, day, 42), c.path != nullptr);
    EXPECT_STREQ(c.path ? c.path : "", path) << c.seconds;
  }
}
