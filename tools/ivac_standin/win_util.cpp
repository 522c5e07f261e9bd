#include "tools/ivac_standin/win_util.h"

#include "platform/win32/dpi.h"

namespace qv::standin {

std::string WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthA(hwnd);
  if (n <= 0) return "";
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(hwnd, s.data(), n + 1);
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}

std::string ClassName(HWND hwnd) {
  char buf[256] = {};
  GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

void SetText(HWND hwnd, std::string_view text) { SetWindowTextA(hwnd, std::string(text).c_str()); }

std::string ListBoxText(HWND list, int index) {
  const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return "";
  // Room for a wide answer too (see the Wine notes on LB_GETTEXT); our own
  // list boxes answer in ANSI, but the buffer costs nothing.
  std::string s(static_cast<size_t>(n) * 2 + 2, '\0');
  const LRESULT got = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(s.data()));
  s.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return s;
}

int Scale(int pixels96) { return MulDiv(pixels96, qv::win::ScreenDpiX(), 96); }

RECT ScreenRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace qv::standin
