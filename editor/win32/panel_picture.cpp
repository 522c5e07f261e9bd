#include "editor/win32/panel_picture.h"

#include "platform/win32/handles.h"

namespace qv::editor {

void DrawPanelPicture(HDC dc, const RECT& box, const PanelPicture& picture, HFONT font) {
  if (picture.width <= 0 || picture.height <= 0) return;
  const int x0 = box.left + (box.right - box.left - picture.width) / 2;
  const int y0 = box.top + (box.bottom - box.top - picture.height) / 2;
  RECT all{x0, y0, x0 + picture.width, y0 + picture.height};
  // One brush per colour in a row: most panels use a handful of colours.
  auto fill = [dc](const RECT& r, uint32_t colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  };
  fill(all, picture.back);
  win::Selected selectFont(dc, font);
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  for (const PictureCell& c : picture.cells) {
    RECT r{x0 + c.left, y0 + c.top, x0 + c.left + c.width, y0 + c.top + c.height};
    fill(r, c.back);
    if (c.width >= 4 && c.height >= 4) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    // A caption only where a line of the small font fits.
    if (!c.caption.empty() && c.height >= tm.tmHeight && c.width >= 3 * tm.tmAveCharWidth) {
      SetTextColor(dc, c.text);
      InflateRect(&r, -1, 0);
      DrawTextA(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
}

}  // namespace qv::editor
