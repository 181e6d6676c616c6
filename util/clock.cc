#include "util/clock.h"

#include <atomic>

namespace {
std::atomic<bool> g_fixed{false};
std::atomic<long long> g_fixed_time{0};
}  // namespace

time_t CurrentTime() {
  if (g_fixed.load(std::memory_order_acquire)) return static_cast<time_t>(g_fixed_time.load());
  return time(nullptr);
}

void SetFixedTime(time_t when) {
  g_fixed_time.store(when);
  g_fixed.store(true, std::memory_order_release);
}

void AdvanceFixedTime(long long seconds) { g_fixed_time.fetch_add(seconds); }

void UseSystemClock() { g_fixed.store(false, std::memory_order_release); }
