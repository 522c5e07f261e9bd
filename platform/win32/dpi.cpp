#include "platform/win32/dpi.h"

#include <windows.h>

namespace qv::win {

namespace {

int DeviceCaps(int index) {
  HDC dc = GetDC(nullptr);
  const int v = dc ? GetDeviceCaps(dc, index) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return v > 0 ? v : 96;
}

}  // namespace

int ScreenDpiX() { return DeviceCaps(LOGPIXELSX); }
int ScreenDpiY() { return DeviceCaps(LOGPIXELSY); }

int TwipsToPixelsX(int twips) { return MulDiv(twips, ScreenDpiX(), 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, ScreenDpiY(), 1440); }
int PixelsToTwipsX(int pixels) { return MulDiv(pixels, 1440, ScreenDpiX()); }
int PixelsToTwipsY(int pixels) { return MulDiv(pixels, 1440, ScreenDpiY()); }
int DipToPixels(int dip) { return MulDiv(dip, ScreenDpiX(), 96); }
int TwipsPerPixelX() { return MulDiv(1, 1440, ScreenDpiX()); }
int TwipsPerPixelY() { return MulDiv(1, 1440, ScreenDpiY()); }

}  // namespace qv::win
