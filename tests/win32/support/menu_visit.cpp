#include "win32/support/menu_visit.h"

namespace qv::e2e {

namespace {

MenuVisit* g_visit = nullptr;

BOOL CALLBACK FindMenuWindow(HWND w, LPARAM out) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls) == "#32768" && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK VisitMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&menuWindow));
  if (!menuWindow || !g_visit || g_visit->seen) return;
  KillTimer(nullptr, timer);
  g_visit->seen = true;
  GetWindowRect(menuWindow, &g_visit->rect);
  const auto menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  const UINT byDefault = GetMenuDefaultItem(menu, TRUE, 0);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    ShownItem item;
    item.text = (info.fType & MFT_SEPARATOR) ? "-" : text;
    item.grayed = (info.fState & MFS_GRAYED) != 0;
    item.checked = (info.fState & MFS_CHECKED) != 0;
    item.isDefault = byDefault == static_cast<UINT>(i);
    g_visit->items.push_back(item);
  }
  for (UINT key : g_visit->keys) {
    PostMessageA(menuWindow, WM_KEYDOWN, key, 1);
    PostMessageA(menuWindow, WM_KEYUP, key, 0xC0000001);
  }
}

}  // namespace

MenuVisit Visit(const std::vector<UINT>& keys, const std::function<void()>& show) {
  MenuVisit visit;
  visit.keys = keys;
  g_visit = &visit;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, VisitMenu);
  show();
  KillTimer(nullptr, timer);
  g_visit = nullptr;
  return visit;
}

std::vector<std::string> Shown(const MenuVisit& v) {
  std::vector<std::string> out;
  for (const auto& item : v.items) {
    std::string s = item.text;
    if (item.grayed && s != "-") s += " (grayed)";
    if (item.checked) s += " (checked)";
    if (item.isDefault) s += " (default)";
    out.push_back(s);
  }
  return out;
}

}  // namespace qv::e2e
