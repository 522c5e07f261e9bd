// The toolbar: a "#32770" dialog inside the band, holding IvAc's 41 two-state
// push buttons captioned with their toolbar codes. A button is an
// auto check box drawn as a push button, so BM_GETCHECK tells whether it is
// pressed in and BM_CLICK toggles it, as Quorvex expects.
#include "tools/ivac_standin/app.h"
#include "tools/ivac_standin/resource.h"

namespace qv::standin {

namespace {

// A little more room before the first button of each group.
bool StartsGroup(std::string_view code) {
  for (const char* c : {"AP", "VOR", "SID", "CONNECT", "METAR", "L+", "0", "Z1", "QDM"})
    if (code == c) return true;
  return false;
}

void CreateButtons(App& app, HWND dialog, int width) {
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, app.ui_font());
  const int height = Scale(22), gap = Scale(2), group_gap = Scale(8), margin = Scale(3);
  int x = margin, y = margin, right = 0;
  for (int i = 0; i < kToolbarCount; ++i) {
    const std::string code = kToolbarCodes[i];
    // The connect button is as wide as its longer caption.
    const std::string measure = code == "CONNECT" ? "CONNECT" : code;
    SIZE sz{};
    GetTextExtentPoint32A(dc, measure.c_str(), static_cast<int>(measure.size()), &sz);
    const int w = std::max(Scale(26), static_cast<int>(sz.cx) + Scale(12));
    if (StartsGroup(code) && x > margin) x += group_gap;
    if (x + w > width) {
      x = margin;
      y += height + gap;
    }
    HWND b = CreateWindowExA(
        0, "Button", code.c_str(), WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_PUSHLIKE, x, y, w,
        height, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + i)),
        app.instance(), nullptr);
    SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(app.ui_font()), FALSE);
    if (app.ButtonPressed(code)) SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
    x += w + gap;
    right = std::max(right, x);
  }
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  SetWindowPos(dialog, nullptr, 0, 0, right + margin, y + height + margin,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ToolbarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      CreateButtons(App::Get(), hwnd, static_cast<int>(lp));
      return FALSE;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (HIWORD(wp) == BN_CLICKED && id >= kFirstButtonId && id < kFirstButtonId + kToolbarCount)
        App::Get().OnToolbarClicked(id - kFirstButtonId);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

HWND CreateToolbar(App& app, HWND rebar, int width) {
  return CreateDialogParamA(app.instance(), MAKEINTRESOURCEA(IDD_TOOLBAR), rebar, ToolbarProc,
                            static_cast<LPARAM>(width));
}

}  // namespace qv::standin
