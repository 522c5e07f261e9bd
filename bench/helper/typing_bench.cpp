// Typing speed of the keyboard edge, under Wine: a 200-character script text
// typed into an edit control of this program's own window, timed until the
// last character has arrived. Three ways: the helper's normal typing
// (keybd_event per key), its compatibility mode (10 ms and the pending
// messages after each character), and the floor, one SendInput call with
// every key event of the same text, measured in the same run. Prints
// characters per second and the ratios; fails when a way types the text
// wrongly.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "helper/keystrokes.h"
#include "helper/win32/keyboard.h"
#include "ivac/win32_search.h"
#include "platform/win32/ui.h"

namespace {

using namespace qv;

HWND g_edit = nullptr;

// The text as it should arrive: every character the layout types.
std::string Typeable(const std::string& text) {
  std::string out;
  for (char c : text)
    if (helper::Typeable(static_cast<unsigned char>(c), helper::SystemLayout)) out += c;
  return out;
}

bool WaitForText(const std::string& want) {
  const DWORD end = GetTickCount() + 10000;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    win::DoEvents();
    if (win::GetText(g_edit).size() >= want.size()) return win::GetText(g_edit) == want;
    Sleep(0);
  }
  return false;
}

void Clear() {
  SetWindowTextA(g_edit, "");
  win::DoEvents();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 11;
  std::string text;
  while (text.size() < 200) text += "SEND_TEXT contact EDDF_TWR [AP] SELECT <none> 030 ";
  text.resize(200);
  const std::string want = Typeable(text);

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "QvTypingBench";
  RegisterClassA(&wc);
  HWND frame = CreateWindowExA(0, "QvTypingBench", "Typing bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               40, 40, 600, 200, nullptr, nullptr, wc.hInstance, nullptr);
  g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 580, 160,
                           frame, nullptr, wc.hInstance, nullptr);
  if (!ivac::BringToForeground(frame)) {
    std::fprintf(stderr, "cannot bring the bench window to the front\n");
    return 1;
  }
  SetFocus(g_edit);

  // The floor: every key event of the text in one SendInput call.
  std::vector<INPUT> inputs;
  for (char c : text) {
    for (const helper::KeyEvent& e :
         helper::CharKeys(static_cast<unsigned char>(c), helper::SystemLayout)) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = e.vk;
      in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(e.vk, MAPVK_VK_TO_VSC));
      in.ki.dwFlags = e.down ? 0 : KEYEVENTF_KEYUP;
      inputs.push_back(in);
    }
  }

  bool right = true;
  helper::ClsKeyboard keyboard;
  bench::Report report("Typing " + std::to_string(want.size()) +
                       " characters into an edit control");
  report.Add(bench::Measure("SendInput, one call", runs, [&] {
    Clear();
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    right = WaitForText(want) && right;
  }));
  report.Add(bench::Measure("PressString", runs, [&] {
    Clear();
    keyboard.PressString(text, false);
    right = WaitForText(want) && right;
  }));
  report.Add(bench::Measure("PressString, compatibility mode", runs, [&] {
    Clear();
    keyboard.PressString(text, true);
    right = WaitForText(want) && right;
  }));
  report.Print("SendInput, one call");
  for (const bench::Result& r : report.Results())
    std::printf("  %-34s %8.0f characters per second (median)\n", r.name.c_str(),
                static_cast<double>(want.size()) * 1000.0 / r.median_ms);
  DestroyWindow(frame);
  if (!right) {
    std::fprintf(stderr, "a way of typing did not give the text\n");
    return 1;
  }
  return 0;
}
