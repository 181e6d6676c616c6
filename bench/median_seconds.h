// The median of `runs` timed runs (five unless told), each after its own
// preparation (not timed).
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double MedianSeconds(const std::function<void()>& prepare, const std::function<void()>& run,
                            int runs = 5) {
  std::vector<double> times;
  for (int round = 0; round < runs; ++round) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    run();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}
