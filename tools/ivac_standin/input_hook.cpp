// Shift state for Shift+BM_CLICK on a toolbar button. Quorvex
// presses Shift with keybd_event and then posts BM_CLICK; a posted message
// overtakes the queued key event, and Wine resets the keyboard state when the
// foreground window changes, so GetKeyState alone may miss the Shift. A
// low-level keyboard hook sees every injected key event before keybd_event
// returns, and keeps its own record (see the Wine notes).
#include "tools/ivac_standin/app.h"

namespace qv::standin {

namespace {

HHOOK g_hook = nullptr;

LRESULT CALLBACK KeyboardHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    if (k->vkCode == VK_SHIFT || k->vkCode == VK_LSHIFT || k->vkCode == VK_RSHIFT)
      App::Get().SetHookShift(wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN);
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

}  // namespace

bool InstallShiftHook() {
  if (!g_hook)
    g_hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleA(nullptr), 0);
  return g_hook != nullptr;
}

void RemoveShiftHook() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

}  // namespace qv::standin
