// The floor of the start-up benchmark: a static 32-bit program that shows a
// message box at once, as quorvex.exe does when the panel is missing.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, "floor", "Quorvex", MB_OK | MB_ICONEXCLAMATION);
  return 0;
}
