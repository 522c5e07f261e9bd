// Draws the small picture of a panel's grid (editor/panel_manager.h) into a
// rectangle: the panel's background, each button raised in its colour with
// its caption in a small font.
#pragma once

#include <windows.h>

#include "editor/panel_manager.h"

namespace qv::editor {

// Centred in `box`; the rest of the box is left as it is.
void DrawPanelPicture(HDC dc, const RECT& box, const PanelPicture& picture, HFONT font);

}  // namespace qv::editor
