// Start-up to the first window: quorvex.exe with a missing panel (folders,
// Config.ini read and written back, the "Panel not found" box) against a
// program that only shows a message box, both started the same way.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/startup/start_timing.h"
#include "win32/support/e2e.h"

namespace {

using namespace qv::e2e;

// Milliseconds from CreateProcess to the message box, for each run.
std::vector<double> Measure(const std::string& exe, const std::string& appData, int runs) {
  return qv::bench::TimeStarts(
      exe, "NoSuchPanel", appData, runs,
      [](DWORD pid, HWND& window) {
        MessageBoxInfo box;
        if (!WaitMessageBox(pid, 0, box)) return false;
        window = box.window;
        return true;
      },
      [](HWND window) { AnswerMessageBox(window, IDOK); });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s quorvex.exe floor.exe [runs]\n", argv[0]);
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string appData = std::string(temp) + "qv_bench_start";
  CreateDirectoryA(appData.c_str(), nullptr);

  // The first start creates the folders and Config.ini; time the usual start.
  Measure(WindowsPath(argv[1]), appData, 1);
  const auto q = Measure(WindowsPath(argv[1]), appData, runs);
  const auto f = Measure(WindowsPath(argv[2]), appData, runs);
  if (q.empty() || f.empty()) {
    std::fprintf(stderr, "a program did not show its window\n");
    return 1;
  }
  const double qm = q[q.size() / 2], fm = f[f.size() / 2];
  std::printf("start-up to first window, %d runs each (milliseconds)\n", runs);
  std::printf("  floor (message box only): min %.1f  median %.1f\n", f.front(), fm);
  std::printf("  quorvex.exe NoSuchPanel : min %.1f  median %.1f\n", q.front(), qm);
  std::printf("  ratio of medians        : %.2f\n", qm / fm);
  return 0;
}
