#include "platform/crash_dump_writer.h"

#include <gtest/gtest.h>

#include <string>

TEST(CrashDumpWriterTest, DumpPathNamesYearDayAndProcess) {
  struct Case {
    const char* temp_folder;
    unsigned year, day, pid;
    size_t capacity;
    bool fits;
    std::string expected;
  } cases[] = {
      {"/tmp/", 2026, 364, 4242, 260, true, "/tmp/ZORM-2026-364-4242.dmp"},
      {"/home/u/t/", 1999, 365, 4294967295u, 260, true, "/home/u/t/ZORM-1999-365-4294967295.dmp"},
      {"", 2026, 5, 1, 260, true, "ZORM-2026-5-1.dmp"},
      // The capacity counts the terminating zero.
      {"/t/", 2026, 0, 7, sizeof "/t/ZORM-2026-0-7.dmp", true, "/t/ZORM-2026-0-7.dmp"},
      {"/t/", 2026, 0, 7, sizeof "/t/ZORM-2026-0-7.dmp" - 1, false, ""},
  };
  for (const Case& c : cases) {
    char out[300];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(c.fits, FormatCrashDumpPath(out, c.capacity, c.temp_folder, c.year, c.day, c.pid))
        << c.expected;
    EXPECT_EQ(c.expected, std::string(out)) << c.capacity;
  }
}

TEST(CrashDumpWriterTest, YearAndDayOfYearFollowLocalCalendar) {
  struct Case {
    long long seconds;
    long utc_offset;
    unsigned year, day;
  } cases[] = {
      {1767225600, 0, 2026, 0},            // 2026-01-01 00:00 UTC
      {1767225599, 0, 2025, 364},          // a second earlier
      {1735603200, 0, 2024, 365},          // 2024-12-31, a leap year
      {1767222000, 3600, 2026, 0},         // 23:00 UTC is already 1 January at +1
      {1767225600, -3600, 2025, 364},      // midnight UTC is still 31 December at -1
      {4102444800, 0, 2100, 0},            // 2100 is not a leap year...
      {4133894400, 0, 2100, 364},          // ...so 31 December is day 364
      {-86400, 0, 1969, 364},              // before the epoch
  };
  for (const Case& c : cases) {
    unsigned year = 0, day = 0;
    YearAndDayOfYear(c.seconds, c.utc_offset, &year, &day);
    EXPECT_EQ(c.year, year) << c.seconds << " " << c.utc_offset;
    EXPECT_EQ(c.day, day) << c.seconds << " " << c.utc_offset;
  }
}

TEST(CrashDumpWriterTest, MessageNamesTheDumpFile) {
  EXPECT_EQ(std::string("Program Terminated"), kCrashMessageCaption);
  EXPECT_EQ(
      "This Program has terminated due to error.\n\nA debugging dump file has been created at "
      "/tmp/ZORM-2026-0-1.dmp.\n\nIf you send us this file we can use it to fix the problem.",
      CrashMessageText("/tmp/ZORM-2026-0-1.dmp"));
}
