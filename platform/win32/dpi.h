// Twips and pixels by the real DPI of the screen. Panel files keep their
// geometry in twips (1440 per inch); windows are sized in pixels.
#pragma once

namespace qv::win {

int ScreenDpiX();
int ScreenDpiY();

// MulDiv with rounding: 1440 twips are one inch.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// Pixels for a length laid out at 96 dpi, at the screen's DPI.
int DipToPixels(int dip);

// Twips per pixel, as the classic TwipsPerPixel (15 at 96 dpi).
int TwipsPerPixelX();
int TwipsPerPixelY();

}  // namespace qv::win
