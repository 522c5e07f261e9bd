#include "panels/win32/grid_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "platform/win32/dpi.h"

namespace qv::panels {

namespace {

uint32_t SystemColor(int index) { return GetSysColor(index); }

}  // namespace

COLORREF PanelColor(int32_t value) { return ResolveColor(value, SystemColor); }

namespace {

void ApplyVisibility(GridButton& b, GridMode mode) {
  if (mode == GridMode::kPreview) {
    b.visible = b.enabled = true;
    return;
  }
  b.visible = !b.look.hidden && !b.hideTag;
  b.enabled = !b.look.hidden;
}

}  // namespace

std::vector<GridButton> LayOutGrid(const ValueReader& file, const PanelSetup& setup,
                                   GridMode mode) {
  const int count = ButtonCount(setup);
  const CellSize cell{setup.buttonWidth, setup.buttonHeight};
  std::vector<GridButton> buttons(static_cast<size_t>(count) + 1);
  for (int n = 1; n <= count; ++n) {
    GridButton& b = buttons[static_cast<size_t>(n)];
    const Rect r = CellRect(setup, n);
    b.look = LoadButtonLook(file, n, false, cell, setup.spacingX, setup.spacingY);
    const int x = win::TwipsToPixelsX(r.left), y = win::TwipsToPixelsY(r.top);
    b.rect =
        RECT{x, y, x + win::TwipsToPixelsX(b.look.width), y + win::TwipsToPixelsY(b.look.height)};
    b.hideTag = IsHideTag(b.look.tag);
    ApplyVisibility(b, mode);
  }
  return buttons;
}

void ReloadLook(GridButton& b, const ValueReader& file, int index, bool downLook,
                const PanelSetup& setup, GridMode mode) {
  b.look = LoadButtonLook(file, index, downLook, CellSize{setup.buttonWidth, setup.buttonHeight},
                          setup.spacingX, setup.spacingY);
  b.rect.right = b.rect.left + win::TwipsToPixelsX(b.look.width);
  b.rect.bottom = b.rect.top + win::TwipsToPixelsY(b.look.height);
  ApplyVisibility(b, mode);
}

// The tooltip is a top-level window of its own: it goes with the grid.
GridView::~GridView() {
  if (tooltip_) DestroyWindow(tooltip_);
}

bool GridView::Create(HWND parent) {
  CreateBound("QuorvexGrid", 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, "", 0, 0, 10, 10, parent);
  if (!hwnd_) return false;
  tooltip_ = win::CreateTooltip(hwnd_);
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = hwnd_;
  ti.uId = 1;
  ti.rect = RECT{0, 0, 32767, 32767};
  ti.lpszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  return true;
}

void GridView::SetButtons(std::vector<GridButton> buttons) {
  buttons_ = std::move(buttons);
  if (buttons_.empty()) buttons_.resize(1);
  // Each loaded button goes to the back, so a later button lies behind an
  // earlier one; buttons that span their neighbours come to the front.
  drawOrder_.clear();
  for (int i = Count(); i >= 1; --i)
    if (!buttons_[static_cast<size_t>(i)].look.toFront) drawOrder_.push_back(i);
  for (int i = 1; i <= Count(); ++i)
    if (buttons_[static_cast<size_t>(i)].look.toFront) drawOrder_.push_back(i);
  // A press held while the panel is laid out again is dropped with its
  // capture, so that the next click goes where it is aimed.
  held_ = 0;
  heldInside_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  hovered_ = -1;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

GridButton* GridView::Button(int index) {
  if (index < 1 || index > Count()) return nullptr;
  return &buttons_[static_cast<size_t>(index)];
}

void GridView::Invalidate(int index) {
  if (GridButton* b = Button(index)) InvalidateRect(hwnd_, &b->rect, FALSE);
}

void GridView::SetBackColor(COLORREF color) {
  back_ = color;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int GridView::HitTest(POINT p) const {
  for (auto it = drawOrder_.rbegin(); it != drawOrder_.rend(); ++it) {
    const GridButton& b = buttons_[static_cast<size_t>(*it)];
    if (b.visible && PtInRect(&b.rect, p)) return *it;
  }
  return 0;
}

POINT GridView::CentreOnScreen(int index) const {
  POINT p{};
  if (index >= 1 && index <= Count()) {
    const RECT& r = buttons_[static_cast<size_t>(index)].rect;
    p = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  ClientToScreen(hwnd_, &p);
  return p;
}

HFONT GridView::FontFor(const ButtonLook& look) {
  const int tenths = static_cast<int>(std::lround(std::clamp(look.fontSize, 1.0, 500.0) * 10));
  const int style = (look.bold ? 1 : 0) | (look.italic ? 2 : 0) | (look.underline ? 4 : 0) |
                    (look.strikethru ? 8 : 0);
  const auto key = std::make_tuple(look.fontFace, tenths, style);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    it = fonts_
             .emplace(key,
                      win::Font(win::CreatePointFont(look.fontFace, tenths / 10.0, look.bold,
                                                     look.italic, look.underline, look.strikethru)))
             .first;
  }
  return it->second.Get();
}

void GridView::DrawButton(HDC dc, const GridButton& b, bool sunk) {
  RECT r = b.rect;
  win::Brush face(CreateSolidBrush(PanelColor(b.look.backColor)));
  FillRect(dc, &r, face.Get());
  DrawEdge(dc, &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (b.look.caption.empty()) return;
  RECT text = r;
  InflateRect(&text, -3, -2);
  if (sunk) OffsetRect(&text, 1, 1);
  win::Selected font(dc, FontFor(b.look));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, b.enabled ? PanelColor(b.look.textColor) : GetSysColor(COLOR_GRAYTEXT));
  // Word-wrapped and centred both ways, like a graphical button's caption.
  RECT measure = text;
  const UINT flags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
  const int h = DrawTextA(dc, b.look.caption.c_str(), -1, &measure, flags | DT_CALCRECT);
  const int room = text.bottom - text.top;
  if (h < room) text.top += (room - h) / 2;
  DrawTextA(dc, b.look.caption.c_str(), -1, &text, flags);
}

void GridView::Paint(HDC dc, const RECT& dirty) {
  win::Brush back(CreateSolidBrush(back_));
  FillRect(dc, &dirty, back.Get());
  for (int i : drawOrder_) {
    const GridButton& b = buttons_[static_cast<size_t>(i)];
    RECT overlap;
    if (!b.visible || !IntersectRect(&overlap, &b.rect, &dirty)) continue;
    const bool sunk = b.pressed || (held_ == i && heldInside_);
    DrawButton(dc, b, sunk);
  }
}

void GridView::UpdateTooltip(int index) {
  if (index == hovered_) return;
  hovered_ = index;
  SendMessageA(tooltip_, TTM_POP, 0, 0);
  const GridButton* b = Button(index);
  tipText_ = b ? b->look.tooltip : std::string();
  SendMessageA(tooltip_, TTM_UPDATE, 0, 0);
}

LRESULT GridView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      // Drawn off screen first, no flicker when a button changes: a bitmap
      // of the area to repaint only (a 99 x 99 panel is far larger than the
      // screen), drawn at client coordinates through the viewport origin.
      const RECT& area = ps.rcPaint;
      const int w = std::max<LONG>(area.right - area.left, 1);
      const int h = std::max<LONG>(area.bottom - area.top, 1);
      HDC mem = CreateCompatibleDC(dc);
      win::Bitmap bmp(CreateCompatibleBitmap(dc, w, h));
      if (mem && bmp.Get()) {
        win::Selected sel(mem, bmp.Get());
        SetViewportOrgEx(mem, -area.left, -area.top, nullptr);
        Paint(mem, area);
        SetViewportOrgEx(mem, 0, 0, nullptr);
        BitBlt(dc, area.left, area.top, w, h, mem, 0, 0, SRCCOPY);
      } else {
        Paint(dc, area);  // no memory for the bitmap: straight to the screen
      }
      if (mem) DeleteDC(mem);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      const int hit = HitTest(p);
      const GridButton* b = Button(hit);
      if (b && b->enabled) {
        held_ = hit;
        heldInside_ = true;
        SetCapture(hwnd_);
        Invalidate(hit);
        return 0;
      }
      if (msg == WM_LBUTTONDBLCLK && onBackgroundDoubleClick) {
        onBackgroundDoubleClick();
        return 0;
      }
      if (onBackgroundDown) onBackgroundDown();
      return 0;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (HitTest(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) == 0 && onBackgroundDown)
        onBackgroundDown();
      return 0;
    case WM_MOUSEMOVE: {
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (held_) {
        const GridButton* b = Button(held_);
        const bool inside = b && PtInRect(&b->rect, p);
        if (inside != heldInside_) {
          heldInside_ = inside;
          Invalidate(held_);
        }
      }
      const int hit = HitTest(p);
      UpdateTooltip(hit);
      if (onMouseMove) onMouseMove(hit != 0);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!held_) return 0;
      const int index = held_;
      const bool inside = heldInside_;
      held_ = 0;
      heldInside_ = false;
      ReleaseCapture();
      Invalidate(index);
      if (inside && onClick) onClick(index);
      if (!inside && onDrop) {
        const int target = HitTest(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (target != 0 && target != index) onDrop(index, target);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (held_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        Invalidate(held_);
        held_ = 0;
        heldInside_ = false;
      }
      return 0;
    case WM_RBUTTONUP: {
      const int hit = HitTest(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      const GridButton* b = Button(hit);
      if (b && b->enabled && onRightUp) {
        const bool alt = GetKeyState(VK_MENU) < 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        onRightUp(hit, alt && !shift && !ctrl);
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->hwndFrom == tooltip_ && hdr->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
        info->lpszText = const_cast<char*>(tipText_.c_str());
        return 0;
      }
      break;
    }
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace qv::panels
