// The program's one wall clock. Every read of the current time goes through
// CurrentTime(), so that tests can pin the time or move it forward. Safe to call
// from any thread.
#pragma once

#include <ctime>

// Seconds since the epoch: the system clock, or the fixed time a test has set.
time_t CurrentTime();

// Tests: from now on CurrentTime() returns `when` until it is advanced or reset.
void SetFixedTime(time_t when);
// Tests: moves a fixed time forward (or back with a negative count).
void AdvanceFixedTime(long long seconds);
// Tests: CurrentTime() reads the system clock again.
void UseSystemClock();

// Pins the clock for the life of the object and restores the system clock after.
class ScopedFixedTime {
 public:
  explicit ScopedFixedTime(time_t when) { SetFixedTime(when); }
  ~ScopedFixedTime() { UseSystemClock(); }
  ScopedFixedTime(const ScopedFixedTime&) = delete;
  ScopedFixedTime& operator=(const ScopedFixedTime&) = delete;
};
