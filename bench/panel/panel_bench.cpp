// The running panel's timings: process start to the panel shown for a
// 20 x 20 panel with every section full, against a program that only creates
// 400 plain buttons (the floor); a panel switch; and the largest panel the
// file allows (99 x 99): time to show it, its answer to a click, and the
// window handles it uses.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "tools/ivac_standin/client.h"
#include "win32/support/e2e.h"

namespace {

using qv::e2e::Process;

std::string g_root;

void Write(const std::string& rel, const std::string& text) {
  std::ofstream(g_root + "\\" + rel, std::ios::binary) << text;
}

std::string Section(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

// A panel of rows x cols whose every button has all 26 keys.
std::string FullPanel(const std::string& description, int rows, int cols,
                      const std::string& firstMacro) {
  std::string s = "[Setup]\r\nDescription=" + description +
                  "\r\nButtonWidth=900\r\nButtonHeight=300\r\nRows=" + std::to_string(rows) +
                  "\r\nCols=" + std::to_string(cols) + "\r\nTop=300\r\nLeft=300\r\n";
  for (int n = 1; n <= rows * cols; ++n) {
    const std::string macro = n == 1 ? firstMacro : "|COMMBOX 1|SEND_TEXT button " + Section(n);
    s += "[" + Section(n) + "]\r\nLabel=B" + Section(n) + "\r\nMacro=" + macro +
         "\r\nColor=0000000014745599\r\nTooltip=button " + Section(n) +
         "\r\nType=0\r\nExpandX=1\r\nExpandY=1\r\nHidden=0\r\nTextFont=Tahoma\r\nTextSize=8"
         "\r\nTextColor=255\r\nTextBold=-1\r\nTextUnderline=0\r\nTextItalic=0\r\n"
         "TextStrikethru=0\r\nLabelReleased=D" +
         Section(n) +
         "\r\nMacroReleased=|RELEASE AP\r\nColorReleased=0000000000065280\r\nTooltipReleased=down"
         "\r\nTextFontReleased=Arial\r\nTextSizeReleased=9\r\nTextColorReleased=0\r\n"
         "TextBoldReleased=0\r\nTextUnderlineReleased=-1\r\nTextItalicReleased=-1\r\n"
         "TextStrikethruReleased=0\r\n";
  }
  return s;
}

HWND WaitWindow(const Process& p, const char* cls, DWORD ms = 60000) {
  HWND found = nullptr;
  qv::e2e::WaitFor(
      [&] {
        const auto w = qv::e2e::TopWindowsOf(p.Id(), cls, "");
        found = w.empty() ? nullptr : w.front();
        return found != nullptr;
      },
      ms, 1);
  return found;
}

// Waits until the panel shows its status line text for `panel`.
bool WaitShown(HWND window, const std::string& panel) {
  return qv::e2e::WaitFor(
      [&] { return qv::standin::TextOf(GetDlgItem(window, 104)) == "Running panel: " + panel; },
      60000, 1);
}

BOOL CALLBACK CountOne(HWND, LPARAM lp) {
  ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

// Every window of the process: its top-level windows and all their children.
int CountWindows(DWORD pid) {
  int count = 0;
  for (HWND top : qv::e2e::TopWindowsOf(pid, "", "")) {
    ++count;
    EnumChildWindows(top, CountOne, reinterpret_cast<LPARAM>(&count));
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s quorvex.exe floor.exe [runs]\n", argv[0]);
    return 2;
  }
  const std::string quorvex = qv::e2e::WindowsPath(argv[1]);
  const std::string floorExe = qv::e2e::WindowsPath(argv[2]);
  const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  g_root = std::string(temp) + "qv_bench_panel";
  for (const char* sub : {"", "\\Quorvex", "\\Quorvex\\Config", "\\Quorvex\\QuorvexData",
                          "\\Quorvex\\QuorvexData\\Panels", "\\Quorvex\\QuorvexData\\Macro"})
    CreateDirectoryA((g_root + sub).c_str(), nullptr);
  Write("Quorvex\\QuorvexData\\Panels\\Full.ini", FullPanel("full", 20, 20, "|OPEN Other"));
  Write("Quorvex\\QuorvexData\\Panels\\Other.ini", FullPanel("other", 20, 20, "|OPEN Full"));
  Write("Quorvex\\QuorvexData\\Panels\\Huge.ini", FullPanel("huge", 99, 99, "|PRESS AP"));

  qv::bench::Report start("Process start to the window shown, 20 x 20 buttons");
  start.Add(qv::bench::Measure("floor: 400 plain buttons", runs, [&] {
    Process p;
    p.Start(floorExe, "400", "");
    WaitWindow(p, "QuorvexBenchFloor");
  }));
  start.Add(qv::bench::Measure("quorvex.exe, all 400 sections full", runs, [&] {
    Process p;
    p.Start(quorvex, "Full", g_root);
    WaitShown(WaitWindow(p, "QuorvexPanel"), "Full");
  }));
  start.Print("floor: 400 plain buttons");

  // Panel switch: a click on OPEN, to the other panel shown.
  {
    Process p;
    p.Start(quorvex, "Full", g_root);
    HWND w = WaitWindow(p, "QuorvexPanel");
    WaitShown(w, "Full");
    HWND grid = FindWindowExA(w, nullptr, "QuorvexGrid", nullptr);
    bool onFull = true;
    qv::bench::Report sw("Panel switch (OPEN) between two full 20 x 20 panels");
    sw.Add(qv::bench::Measure("click to the other panel shown", runs, [&] {
      WaitForInputIdle(p.Handle(), 5000);
      POINT pt{20, 12};
      ClientToScreen(grid, &pt);
      qv::standin::ClickAt(pt, false);
      onFull = !onFull;
      WaitShown(w, onFull ? "Full" : "Other");
    }));
    sw.Print("click to the other panel shown");
  }

  // The largest panel: 9801 buttons in one window.
  {
    qv::bench::Report huge("99 x 99 panel");
    std::unique_ptr<Process> p;
    huge.Add(qv::bench::Measure("process start to shown", 1, [&] {
      p = std::make_unique<Process>();
      p->Start(quorvex, "Huge", g_root);
      WaitShown(WaitWindow(*p, "QuorvexPanel"), "Huge");
    }));
    HWND w = WaitWindow(*p, "QuorvexPanel");
    HWND grid = FindWindowExA(w, nullptr, "QuorvexGrid", nullptr);
    huge.Add(qv::bench::Measure("click to status line (no IvAc)", runs, [&] {
      HWND status = GetDlgItem(w, 104);
      SetWindowTextA(status, "");
      WaitForInputIdle(p->Handle(), 5000);
      POINT pt{20, 12};
      ClientToScreen(grid, &pt);
      qv::standin::ClickAt(pt, false);
      qv::e2e::WaitFor([&] { return !qv::standin::TextOf(status).empty(); }, 10000, 1);
    }));
    huge.Print("click to status line (no IvAc)");
    std::printf("  window handles of the 99 x 99 panel process: %d (quota 10000)\n",
                CountWindows(p->Id()));
  }
  return 0;
}
