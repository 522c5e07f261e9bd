// A small text editor for the Macro Helper's end-to-end test: one window
// titled "Test Editor" holding a multi-line edit control, which has the focus
// whenever the window is active. The test reads the control's text.
#include <windows.h>

namespace {

HWND g_edit = nullptr;

LRESULT CALLBACK EditorProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      MoveWindow(g_edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) SetFocus(g_edit);
      return 0;
    case WM_SETFOCUS:
      SetFocus(g_edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(w, msg, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = EditorProc;
  wc.hInstance = instance;
  wc.lpszClassName = "QvTestEditor";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  HWND frame = CreateWindowExA(0, "QvTestEditor", "Test Editor", WS_OVERLAPPEDWINDOW, 420, 60, 420,
                               300, nullptr, nullptr, instance, nullptr);
  g_edit = CreateWindowExA(
      0, "EDIT", "",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0, 400,
      260, frame, nullptr, instance, nullptr);
  ShowWindow(frame, SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
