// The median of five timed runs, each after its own preparation (not timed).
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double MedianSeconds(const std::function<void()>& prepare, const std::function<void()>& run) {
  std::vector<double> times;
  for (int round = 0; round < 5; ++round) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    run();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[2];
}
