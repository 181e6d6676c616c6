#include "util/progress_point.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "util/clock.h"
#include "util/format_number.h"

void ProgressPointInit(ProgressPoint* point, void* owner, ProgressLogOperation log,
                       int64_t interval, const char* name) {
  memset(point, 0, sizeof *point);
  point->owner = owner;
  point->log = log;
  point->interval = interval;
  memcpy(point->name, name, strnlen(name, sizeof point->name));
  point->tick = ProgressPointTick;
}

char* FormatProgressDuration(int64_t seconds, char* buffer, unsigned length) {
  if (seconds < 0) seconds = 0;
  unsigned s = seconds % 60, m = seconds / 60 % 60, h = seconds / 3600 % 24;
  unsigned d = static_cast<unsigned>(seconds / 86400);
  if (d > 0)
    snprintf(buffer, length, "D%u:%.2u:%.2u:%.2u", d, h, m, s);
  else if (h > 0)
    snprintf(buffer, length, "H%u:%.2u:%.2u", h, m, s);
  else if (m > 0)
    snprintf(buffer, length, "M%u:%.2u", m, s);
  else
    snprintf(buffer, length, "S%u", s);
  return buffer;
}

void ProgressPointTick(ProgressPoint* point) {
  int64_t now = CurrentTime();
  point->count++;
  if (point->start_time == 0) point->start_time = now;
  if (point->last_tick_time == 0) {
    point->last_tick_time = now;
    return;
  }
  if (now - point->last_tick_time <= point->interval) return;

  if (point->interval != 0 && point->owner != nullptr && point->log != nullptr) {
    uint32_t done = point->count > point->count_at_last_report
                        ? point->count - point->count_at_last_report
                        : point->count_at_last_report - point->count;
    int64_t elapsed = now - point->start_time;
    float rate = static_cast<float>(done) / static_cast<float>(point->interval);
    // The first line can come in the same second as the start only with a zero
    // interval, which writes nothing; guard the division all the same.
    float average = elapsed > 0 ? static_cast<float>(point->count) / static_cast<float>(elapsed)
                                : static_cast<float>(point->count);
    char count_text[32], done_text[32], duration[48];
    FormatNumber(point->count, count_text, sizeof count_text, 0);
    FormatNumber(done, done_text, sizeof done_text, 0);
    FormatProgressDuration(elapsed, duration, sizeof duration);
    point->log(point->owner, 2, 0,
               "Progress Point[%.*s]: %s items processed in %s. %s in the last %u seconds "
               "(%.2f/second - %.2f/second-average)",
               32, point->name, count_text, duration, done_text,
               static_cast<unsigned>(point->interval), static_cast<double>(rate),
               static_cast<double>(average));
    point->count_at_last_report = point->count;
  }
  point->last_tick_time = now;
}
