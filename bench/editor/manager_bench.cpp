// The panel manager: start to the list shown with 500 panels in the folder,
// against the start-up floor (a program that only shows a message box), and
// the picture of a 20 x 20 panel, built from its file and drawn, which must
// stay under 20 ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "bench/startup/start_timing.h"
#include "editor/panel_manager.h"
#include "editor/win32/panel_picture.h"
#include "panels/panel_profile.h"
#include "platform/files.h"
#include "win32/support/e2e.h"

namespace {

using namespace qv::e2e;

std::string FullPanel(int rows, int cols) {
  std::string t = "[Setup]\r\nDescription=bench\r\nRows=" + std::to_string(rows) +
                  "\r\nCols=" + std::to_string(cols) +
                  "\r\nButtonWidth=1000\r\nButtonHeight=380\r\n";
  for (int n = 1; n <= rows * cols; ++n) {
    t += "[" + qv::panels::SectionName(n) + "]\r\nLabel=B" + std::to_string(n) +
         "\r\nMacro=|SEND_TEXT x\r\nColor=" + std::to_string(n * 2654435 % 0xFFFFFF) +
         "\r\nTextColor=0\r\nTooltip=tip\r\nTextFont=Tahoma\r\nTextSize=8\r\nTextBold=-1\r\n";
  }
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s quorvex.exe floor.exe [runs]\n", argv[0]);
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string appData = std::string(temp) + "qv_bench_manager";
  const std::string panels = appData + "\\Quorvex\\QuorvexData\\Panels";
  for (const char* sub :
       {"", "\\Quorvex", "\\Quorvex\\QuorvexData", "\\Quorvex\\QuorvexData\\Panels"})
    CreateDirectoryA((appData + sub).c_str(), nullptr);
  const std::string small = FullPanel(2, 10);
  for (int i = 0; i < 500; ++i)
    qv::files::WriteAtomic(panels + "\\Panel " + std::to_string(1000 + i) + ".ini", small);

  auto listShown = [](DWORD pid, HWND& window) {
    window = nullptr;
    for (HWND w : TopWindowsOf(pid, "QuorvexManager", "Quorvex"))
      if (SendMessageA(GetDlgItem(w, 1001), LB_GETCOUNT, 0, 0) == 500) window = w;
    return window != nullptr;
  };
  auto boxShown = [](DWORD pid, HWND& window) {
    const auto boxes = TopWindowsOf(pid, "#32770", "");
    window = boxes.empty() ? nullptr : boxes.front();
    return window != nullptr;
  };
  auto close = [](HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };
  using qv::bench::TimeStarts;
  TimeStarts(WindowsPath(argv[1]), "", appData, 1, listShown, close);  // first start: Config.ini
  const auto m = TimeStarts(WindowsPath(argv[1]), "", appData, runs, listShown, close);
  const auto f = TimeStarts(WindowsPath(argv[2]), "", appData, runs, boxShown, close);
  if (m.size() != static_cast<size_t>(runs) || f.size() != static_cast<size_t>(runs)) {
    std::fprintf(stderr, "a program did not show its window\n");
    return 1;
  }
  const double mm = m[m.size() / 2], fm = f[f.size() / 2];
  std::printf("start to the list of 500 panels, %d runs each (milliseconds)\n", runs);
  std::printf("  floor (message box only)   : min %.1f  median %.1f\n", f.front(), fm);
  std::printf("  manager, splash included   : min %.1f  median %.1f\n", m.front(), mm);
  std::printf("  manager less the 500 ms splash over the floor: %.1f\n", mm - 500 - fm);

  // The picture of a 20 x 20 panel: read from its file and drawn.
  const std::string big = appData + "\\big.ini";
  qv::files::WriteAtomic(big, FullPanel(20, 20));
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 340, 112);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HFONT font = CreateFontA(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  const RECT box{0, 0, 340, 112};
  qv::bench::Report report("20 x 20 panel picture");
  report.Add(qv::bench::Measure("build from the file", 30, [&] {
    const qv::panels::SnapshotReader file(big);
    qv::bench::Keep(qv::editor::BuildPanelPicture(file, 332, 104, qv::panels::WindowsSysColor));
  }));
  const qv::panels::SnapshotReader file(big);
  const auto picture = qv::editor::BuildPanelPicture(file, 332, 104, qv::panels::WindowsSysColor);
  report.Add(qv::bench::Measure("draw", 30, [&] {
    qv::editor::DrawPanelPicture(dc, box, picture, font);
    GdiFlush();
  }));
  report.Add(qv::bench::Measure("build and draw", 30, [&] {
    const qv::panels::SnapshotReader f2(big);
    const auto p = qv::editor::BuildPanelPicture(f2, 332, 104, qv::panels::WindowsSysColor);
    qv::editor::DrawPanelPicture(dc, box, p, font);
    GdiFlush();
  }));
  report.Print();
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteObject(font);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  const double whole = report.Find("build and draw")->median_ms;
  if (whole >= 20) {
    std::fprintf(stderr, "the picture took %.1f ms, over the 20 ms budget\n", whole);
    return 1;
  }
  return 0;
}
