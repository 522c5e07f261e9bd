#include "editor/dialogs.h"

#include <commdlg.h>

#include <cstring>

#include "panels/win32/grid_view.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ui.h"

namespace qv::editor {

int32_t ChooseColorDlg(int32_t initial, HWND owner, bool fullOpen) {
  static COLORREF custom[16];
  for (COLORREF& c : custom) c = RGB(255, 255, 255);
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner;
  cc.rgbResult = panels::PanelColor(initial);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_ANYCOLOR | (fullOpen ? CC_FULLOPEN : 0);
  if (!ChooseColorA(&cc)) return -1;
  return static_cast<int32_t>(cc.rgbResult & 0xFFFFFF);
}

HFONT CreateLookFont(const FontLook& font) {
  return win::CreatePointFont(font.face, font.size, font.bold, font.italic, font.underline,
                              font.strikethru);
}

bool FontDialog(FontLook& font, HWND owner) {
  HDC dc = GetDC(nullptr);
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(font.size, GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic ? 1 : 0;
  lf.lfUnderline = font.underline ? 1 : 0;
  lf.lfStrikeOut = font.strikethru ? 1 : 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, font.face.c_str(), LF_FACESIZE - 1);

  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = owner;
  cf.hDC = dc;
  cf.lpLogFont = &lf;
  cf.iPointSize = font.size * 10;
  cf.rgbColors = panels::PanelColor(font.color);
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.nFontType = SCREEN_FONTTYPE;
  const bool chosen = ChooseFontA(&cf) != 0;
  if (chosen) {
    // The face as the system made it: the font created from the choice.
    HFONT made = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, made);
    char face[80] = {};
    if (GetTextFaceA(dc, sizeof(face) - 1, face) > 0) font.face = face;
    SelectObject(dc, old);
    DeleteObject(made);
    font.size = cf.iPointSize / 10;
    if (font.size < 1) font.size = 1;
    font.bold = (cf.nFontType & BOLD_FONTTYPE) != 0 || lf.lfWeight >= FW_BOLD;
    font.italic = lf.lfItalic != 0;
    font.underline = lf.lfUnderline != 0;
    font.strikethru = lf.lfStrikeOut != 0;
    font.color = static_cast<int32_t>(cf.rgbColors & 0xFFFFFF);
  }
  ReleaseDC(nullptr, dc);
  return chosen;
}

int Dip(int pixelsAt96) { return MulDiv(pixelsAt96, win::ScreenDpiY(), 96); }

HWND Place(HWND control, int x, int y, int width, int height) {
  MoveWindow(control, Dip(x), Dip(y), Dip(width), Dip(height), FALSE);
  return control;
}

void RunWindow(HWND window, const bool& done) {
  MSG msg{};
  BOOL got = 1;
  while (!done && (got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
    if (IsDialogMessageA(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
}

}  // namespace qv::editor
