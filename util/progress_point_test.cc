#include "util/progress_point.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "util/clock.h"

namespace {

void Record(void* owner, int level, int code, const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  static_cast<std::vector<std::string>*>(owner)->push_back(std::to_string(level) + " " + line);
}

}  // namespace

TEST(ProgressPointTest, DurationTextUsesTheLargestNonZeroUnit) {
  const std::pair<int64_t, const char*> cases[] = {{0, "S0"},
                                                   {75, "M1:15"},
                                                   {3600, "H1:00:00"},
                                                   {3 * 3600 + 5 * 60 + 9, "H3:05:09"},
                                                   {86400, "D1:00:00:00"},
                                                   {86400 + 2 * 3600 + 3 * 60 + 4, "D1:02:03:04"}};
  for (const auto& [seconds, text] : cases) {
    char buffer[32];
    EXPECT_STREQ(text, FormatProgressDuration(seconds, buffer, sizeof buffer)) << seconds;
  }
}

TEST(ProgressPointTest, WritesOneLinePerIntervalThroughTheOwner) {
  ScopedFixedTime clock(1000000);
  std::vector<std::string> lines, none;
  ProgressPoint point, silent, off;
  ProgressPointInit(&point, &lines, Record, 30, "");
  memset(point.name, 'N', sizeof point.name);  // a full name has no terminating zero
  ProgressPointInit(&silent, nullptr, Record, 30, "Silent");
  ProgressPointInit(&off, &none, Record, 0, "Off");
  // Seconds to wait before each group of ticks, and the lines written after it.
  const std::tuple<int64_t, int, size_t> steps[] = {
      {0, 1, 0}, {30, 10, 0}, {1, 1, 1}, {30, 1500, 1}, {60, 1, 2}};
  for (const auto& [seconds, ticks, expected_lines] : steps) {
    AdvanceFixedTime(seconds);
    for (int i = 0; i < ticks; ++i)
      for (ProgressPoint* p : {&point, &silent, &off}) p->tick(p);
    EXPECT_EQ(expected_lines, lines.size()) << seconds;
  }
  const std::string name = "Progress Point[" + std::string(32, 'N') + "]: ";
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ("2 " + name + "12 items processed in S31. 12 in the last 30 seconds " +
                "(0.40/second - 0.39/second-average)",
            lines[0]);
  EXPECT_EQ("2 " + name + "1,513 items processed in M2:01. 1,501 in the last 30 seconds " +
                "(50.03/second - 12.50/second-average)",
            lines[1]);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(std::make_tuple(1513u, 1513u), std::make_tuple(silent.count, off.count));
}
