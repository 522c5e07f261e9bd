// Wall time from CreateProcess to a window of the started program, shared by
// the benchmarks that compare a start of quorvex.exe with a floor program.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/support/e2e.h"

namespace qv::bench {

inline double Millis(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// Milliseconds from CreateProcess to `shown(pid, window)` returning true,
// for each run, sorted; `close(window)` then ends the program. Fewer times
// than runs when a start failed or its window did not come within 30 s.
template <class Shown, class Close>
std::vector<double> TimeStarts(const std::string& exe, const std::string& args,
                               const std::string& appData, int runs, Shown shown, Close close) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    e2e::Process p;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    if (!p.Start(exe, args, appData)) break;
    HWND window = nullptr;
    if (!e2e::WaitFor([&] { return shown(p.Id(), window); }, 30000, 2)) break;
    QueryPerformanceCounter(&t1);
    times.push_back(Millis(t0, t1));
    close(window);
    p.WaitExit(10000);
  }
  std::sort(times.begin(), times.end());
  return times;
}

}  // namespace qv::bench
