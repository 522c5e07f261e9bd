// The system colour and font dialogs as the editors use them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "editor/button_form.h"

namespace qv::editor {

// The colour dialog on `initial` (a panel colour: RGB or a system colour),
// with sixteen white custom colours; the chosen RGB colour, or -1 when the
// user cancels.
int32_t ChooseColorDlg(int32_t initial, HWND owner, bool fullOpen);

// fontDialog: the system font dialog on `font`; on OK the description takes
// the chosen face, whole points, bold, italic, underline, strike-through and
// colour, and true comes back. Cancel leaves it unchanged.
bool FontDialog(FontLook& font, HWND owner);

// A font for drawing a sample of `font` at this screen's DPI (the caller
// deletes it).
HFONT CreateLookFont(const FontLook& font);

// A length given in pixels at 96 dpi, at this screen's DPI.
int Dip(int pixelsAt96);
// Moves a control to a place given in pixels at 96 dpi; returns it.
HWND Place(HWND control, int x, int y, int width, int height);

// Runs the program's messages, with the keyboard of a dialog (Tab, Enter,
// Escape) in `window`, until `done` is set. A quit that arrives meanwhile is
// posted again for the program's own loop.
void RunWindow(HWND window, const bool& done);

}  // namespace qv::editor
