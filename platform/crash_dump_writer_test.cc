#include "platform/crash_dump_writer.h"

#include <gtest/gtest.h>

#include <string>

TEST(CrashDumpWriterTest, DumpPathNamesYearDayAndProcessWhenItFits) {
  const char kPath[] = "/home/u/t/ZORM-1999-365-4294967295.dmp";
  for (size_t capacity : {sizeof kPath, sizeof kPath - 1}) {  // counts the terminating zero
    char out[64];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(capacity == sizeof kPath,
              FormatCrashDumpPath(out, capacity, "/home/u/t/", 1999, 365, 4294967295u));
    EXPECT_EQ(capacity == sizeof kPath ? kPath : "", std::string(out)) << capacity;
  }
}

TEST(CrashDumpWriterTest, YearAndDayOfYearFollowLocalCalendar) {
  struct Case {
    long long seconds;
    long utc_offset;
    unsigned year, day;
  } cases[] = {
      {1767225599, 0, 2025, 364},      // 2025-12-31 23:59:59 UTC
      {1735603200, 0, 2024, 365},      // 2024-12-31, a leap year
      {1767222000, 3600, 2026, 0},     // 23:00 UTC is already 1 January at +1
      {1767225600, -3600, 2025, 364},  // midnight UTC is still 31 December at -1
      {4133894400, 0, 2100, 364},      // 2100 is not a leap year
      {-86400, 0, 1969, 364},          // before the epoch
  };
  for (const Case& c : cases) {
    unsigned year = 0, day = 0;
    YearAndDayOfYear(c.seconds, c.utc_offset, &year, &day);
    EXPECT_EQ(std::make_pair(c.year, c.day), std::make_pair(year, day)) << c.seconds;
  }
}
