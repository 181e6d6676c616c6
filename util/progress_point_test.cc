#include "util/progress_point.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "util/clock.h"

namespace {

struct LogSink {
  std::vector<std::string> lines;
  std::vector<int> levels;
};

void Record(void* owner, int level, int code, const char* format, ...) {
  auto* sink = static_cast<LogSink*>(owner);
  char line[512];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  sink->lines.push_back(line);
  sink->levels.push_back(level);
}

}  // namespace

TEST(ProgressPointTest, DurationTextUsesTheLargestNonZeroUnit) {
  struct Case {
    int64_t seconds;
    const char* text;
  } cases[] = {
      {0, "S0"},         {9, "S9"},
      {75, "M1:15"},     {3600, "H1:00:00"},
      {3 * 3600 + 5 * 60 + 9, "H3:05:09"},
      {86400 + 2 * 3600 + 3 * 60 + 4, "D1:02:03:04"},
      {86400, "D1:00:00:00"},
  };
  for (const Case& c : cases) {
    char buffer[32];
    EXPECT_STREQ(c.text, FormatProgressDuration(c.seconds, buffer, sizeof buffer)) << c.seconds;
  }
}

TEST(ProgressPointTest, WritesOneLinePerIntervalThroughTheOwner) {
  ScopedFixedTime clock(1000000);
  LogSink sink;
  ProgressPoint point;
  ProgressPointInit(&point, &sink, Record, 30, "Main-Task");

  point.tick(&point);  // first tick: starts the clock
  for (int i = 0; i < 10; ++i) {
    AdvanceFixedTime(3);
    point.tick(&point);  // up to exactly 30 seconds: not more than the interval
  }
  EXPECT_TRUE(sink.lines.empty());
  EXPECT_EQ(11u, point.count);

  AdvanceFixedTime(1);  // 31 seconds since the first tick
  point.tick(&point);
  ASSERT_EQ(1u, sink.lines.size());
  EXPECT_EQ(2, sink.levels[0]);
  EXPECT_EQ(
      "Progress Point[Main-Task]: 12 items processed in S31. 12 in the last 30 seconds "
      "(0.40/second - 0.39/second-average)",
      sink.lines[0]);

  // The interval restarts at the line just written.
  AdvanceFixedTime(30);
  point.tick(&point);
  EXPECT_EQ(1u, sink.lines.size());
  for (int i = 0; i < 1499; ++i) point.tick(&point);
  AdvanceFixedTime(60);
  point.tick(&point);
  ASSERT_EQ(2u, sink.lines.size());
  EXPECT_EQ(
      "Progress Point[Main-Task]: 1,513 items processed in M2:01. 1,501 in the last 30 seconds "
      "(50.03/second - 12.50/second-average)",
      sink.lines[1]);
}

TEST(ProgressPointTest, WithoutOwnerOrIntervalOnlyCounts) {
  ScopedFixedTime clock(5000);
  LogSink sink;
  ProgressPoint silent, off;
  ProgressPointInit(&silent, nullptr, Record, 30, "Main-Task");
  ProgressPointInit(&off, &sink, Record, 0, "Off");
  for (int i = 0; i < 5; ++i) {
    silent.tick(&silent);
    off.tick(&off);
    AdvanceFixedTime(100);
  }
  EXPECT_EQ(5u, silent.count);
  EXPECT_EQ(5u, off.count);
  EXPECT_TRUE(sink.lines.empty());
  EXPECT_EQ(5000 + 400, silent.last_tick_time);
}

TEST(ProgressPointTest, PrintsAtMost32CharactersOfTheName) {
  ScopedFixedTime clock(100);
  LogSink sink;
  ProgressPoint point;
  ProgressPointInit(&point, &sink, Record, 1, "");
  memset(point.name, 'N', sizeof point.name);  // a full name has no terminating zero
  point.tick(&point);
  AdvanceFixedTime(2);
  point.tick(&point);
  ASSERT_EQ(1u, sink.lines.size());
  EXPECT_EQ(0u, sink.lines[0].find("Progress Point[" + std::string(32, 'N') + "]: 2 items"));
}
