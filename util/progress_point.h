// Progress points: count work items and, at most once per interval, write a
// throughput line through the owner's log operation. One thread per point.
#pragma once

#include <cstdint>

// The owner's log operation: owner, level, code, printf-style format and arguments.
typedef void (*ProgressLogOperation)(void* owner, int level, int code, const char* format, ...);

struct ProgressPoint;
typedef void (*ProgressTickOperation)(ProgressPoint* point);

struct ProgressPoint {
  void* owner;                  // receives the report line; null: the point only counts
  ProgressLogOperation log;     // the owner's log operation
  uint32_t count;               // items counted so far
  uint32_t count_at_last_report;
  int64_t interval;             // seconds between two lines; 0 switches reporting off
  int64_t last_tick_time;       // time of the last line (or of the first tick)
  int64_t start_time;           // time of the first tick
  char name[32];                // printed with at most 32 characters; need not end in zero
  ProgressTickOperation tick;   // what the owner calls per item
};

// Sets up a point with the given owner, interval and name; the tick operation is
// ProgressPointTick.
void ProgressPointInit(ProgressPoint* point, void* owner, ProgressLogOperation log,
                       int64_t interval, const char* name);

// Counts one item and writes a line through the owner when one is due.
void ProgressPointTick(ProgressPoint* point);

// The duration text of a progress line: "D%u:%.2u:%.2u:%.2u", "H%u:%.2u:%.2u",
// "M%u:%.2u" or "S%u", whichever is the first with a non-zero leading unit.
// Writes into `buffer` of `length` bytes and returns it.
char* FormatProgressDuration(int64_t seconds, char* buffer, unsigned length);
