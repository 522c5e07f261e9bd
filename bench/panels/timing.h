// Timing for the panels benchmarks: the median and the minimum of a number
// of timed runs after one untimed warm-up run.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace qv::panels::bench {

struct Timing {
  double minMs = 0;
  double medianMs = 0;
};

template <class Work>
Timing Time(int runs, Work&& work) {
  using Clock = std::chrono::steady_clock;
  work();
  std::vector<double> ms;
  for (int i = 0; i < std::max(runs, 1); ++i) {
    const auto start = Clock::now();
    work();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  const size_t n = ms.size();
  return {ms.front(), n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2};
}

// Keeps a result alive so that the work producing it is not optimised away.
inline const void* volatile sink = nullptr;
template <class T>
void Keep(const T& value) {
  sink = &value;
}

}  // namespace qv::panels::bench
