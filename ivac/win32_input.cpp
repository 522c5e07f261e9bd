#include "ivac/win32_input.h"

namespace qv::ivac {

void SystemInput::KeyDown(BYTE vk) {
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), 0, 0);
}

void SystemInput::KeyUp(BYTE vk) {
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), KEYEVENTF_KEYUP, 0);
}

void SystemInput::RightClick() {
  mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
}

void SystemInput::LeftClick() {
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

bool SystemInput::GetCursor(POINT& at) { return GetCursorPos(&at) != FALSE; }

void SystemInput::SetCursor(int x, int y) { SetCursorPos(x, y); }

}  // namespace qv::ivac
