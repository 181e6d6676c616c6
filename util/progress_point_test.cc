#include "util/progress_point.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "util/clock.h"

void Record(void* owner, int level, int, const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  static_cast<std::vector<std::string>*>(owner)->push_back(std::to_string(level) + " " + line);
}

TEST(ProgressPointTest, WritesOneLinePerIntervalThroughTheOwner) {
  ScopedFixedTime clock(1000000);
  std::vector<std::string> lines;
  ProgressPoint point;
  ProgressPointInit(&point, &lines, Record, 30, "");
  memset(point.name, 'N', sizeof point.name);  // a full name has no terminating zero
  // Seconds to wait before each group of ticks, and the lines written after it.
  const std::tuple<int64_t, int, size_t> steps[] = {
      {0, 1, 0}, {30, 10, 0}, {1, 1, 1}, {30, 1500, 1}, {60, 1, 2}};
  for (const auto& [seconds, ticks, expected_lines] : steps) {
    AdvanceFixedTime(seconds);
    for (int i = 0; i < ticks; ++i) point.tick(&point);
    EXPECT_EQ(expected_lines, lines.size()) << seconds;
  }
  const std::string name = "2 Progress Point[" + std::string(32, 'N') + "]: ";
  EXPECT_EQ((std::vector<std::string>{
                name + "12 items processed in S31. 12 in the last 30 seconds "
                       "(0.40/second - 0.39/second-average)",
                name + "1,513 items processed in M2:01. 1,501 in the last 30 seconds "
                       "(50.03/second - 12.50/second-average)"}),
            lines);
}
