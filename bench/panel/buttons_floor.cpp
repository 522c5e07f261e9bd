// The floor of the running-panel benchmark: a program that creates a popup
// window with the given number of plain push buttons and shows it.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR args, int) {
  const int count = args && *args ? std::atoi(args) : 400;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = "QuorvexBenchFloor";
  RegisterClassA(&wc);
  const int cols = 20;
  HWND w = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "floor", WS_POPUP, 0, 0, cols * 84 + 10,
                           (count / cols + 1) * 32 + 10, nullptr, nullptr, instance, nullptr);
  for (int i = 0; i < count; ++i)
    CreateWindowExA(0, "BUTTON", "Button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                    5 + (i % cols) * 84, 5 + (i / cols) * 32, 80, 28, w, nullptr, instance,
                    nullptr);
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
