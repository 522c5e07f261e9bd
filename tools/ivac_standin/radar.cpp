// The radar map: range rings, the map layers whose toolbar buttons are
// pressed in (the entries chosen in their selection dialogs), occupied areas,
// and the traffic labels with what has been cleared. A click on a label
// selects it; a right click marks the point for "Add Occupied Area", and the
// left click that Quorvex gives after it changes nothing.
#include "tools/ivac_standin/app.h"

#include <algorithm>
#include <string>

namespace qv::standin {

namespace {

// Where the labels sit, as fractions of the map; later ones wrap round.
const double kSlots[][2] = {{0.24, 0.30}, {0.60, 0.22}, {0.74, 0.56}, {0.34, 0.66}, {0.50, 0.42},
                            {0.14, 0.50}, {0.66, 0.80}, {0.44, 0.16}, {0.84, 0.34}, {0.22, 0.82}};

uint32_t Hash(std::string_view s) {
  uint32_t h = 2166136261u;
  for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

POINT LabelPoint(const RECT& rc, const State& state, const std::string& callsign) {
  const auto it = std::find(state.traffic.begin(), state.traffic.end(), callsign);
  const size_t i = static_cast<size_t>(it - state.traffic.begin());
  const size_t n = std::size(kSlots);
  double fx = kSlots[i % n][0], fy = kSlots[i % n][1];
  if (i >= n) {  // a second round, shifted
    fx += 0.07 * static_cast<double>(i / n);
    fy += 0.05 * static_cast<double>(i / n);
  }
  return {rc.left + static_cast<LONG>(fx * (rc.right - rc.left)),
          rc.top + static_cast<LONG>(fy * (rc.bottom - rc.top))};
}

// The block of text beside a target.
RECT LabelBlock(POINT target) {
  return {target.x + Scale(14), target.y - Scale(30), target.x + Scale(120), target.y + Scale(14)};
}

std::string HitLabel(HWND hwnd, POINT client) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  const State& s = App::Get().state();
  for (const std::string& cs : s.traffic) {
    const POINT p = LabelPoint(rc, s, cs);
    RECT block = LabelBlock(p);
    RECT target{p.x - Scale(8), p.y - Scale(8), p.x + Scale(8), p.y + Scale(8)};
    if (PtInRect(&block, client) || PtInRect(&target, client)) return cs;
  }
  return "";
}

void Text(HDC dc, int x, int y, COLORREF colour, const std::string& s) {
  SetTextColor(dc, colour);
  TextOutA(dc, x, y, s.c_str(), static_cast<int>(s.size()));
}

void PaintLayers(HDC dc, const RECT& rc, App& app, const Palette& pal) {
  const State& s = app.state();
  SelectObject(dc, app.map_font());
  GdiObject pen(CreatePen(PS_SOLID, 1, pal.layer));
  Selected sp(dc, pen.get());
  Selected sb(dc, GetStockObject(NULL_BRUSH));
  for (const SelectionKind& kind : kSelectionKinds) {
    if (std::string_view(kind.code) == "OCN" || !app.ButtonPressed(kind.code)) continue;
    const auto it = s.chosen.find(kind.code);
    if (it == s.chosen.end()) continue;
    for (const std::string& item : it->second) {
      const uint32_t h = Hash(std::string(kind.code) + ":" + item);
      const int x = rc.left + Scale(30) + static_cast<int>(h % 997) * (rc.right - Scale(120)) / 997;
      const int y =
          rc.top + Scale(40) + static_cast<int>((h / 997) % 991) * (rc.bottom - Scale(80)) / 991;
      const int r = Scale(4);
      if (std::string_view(kind.code) == "AP")
        Ellipse(dc, x - r, y - r, x + r, y + r);
      else if (std::string_view(kind.code) == "VOR" || std::string_view(kind.code) == "NDB")
        Rectangle(dc, x - r, y - r, x + r, y + r);
      else {
        const POINT tri[] = {{x, y - r}, {x + r, y + r}, {x - r, y + r}, {x, y - r}};
        Polyline(dc, tri, 4);
      }
      Text(dc, x + Scale(6), y - Scale(6), pal.layer, item);
    }
  }
}

void PaintAreas(HDC dc, HWND hwnd, App& app, const Palette& pal) {
  GdiObject pen(CreatePen(PS_DASH, 1, pal.area));
  Selected sp(dc, pen.get());
  Selected sb(dc, GetStockObject(NULL_BRUSH));
  SelectObject(dc, app.map_font());
  for (const OccupiedArea& a : app.areas()) {
    POINT p = a.screen;
    ScreenToClient(hwnd, &p);
    const int r = Scale(34);
    Ellipse(dc, p.x - r, p.y - r, p.x + r, p.y + r);
    Text(dc, p.x - r, p.y + r + Scale(2), pal.area, a.name);
  }
  if (const auto m = app.marked_point()) {
    POINT p = *m;
    ScreenToClient(hwnd, &p);
    const int r = Scale(6);
    MoveToEx(dc, p.x - r, p.y, nullptr);
    LineTo(dc, p.x + r + 1, p.y);
    MoveToEx(dc, p.x, p.y - r, nullptr);
    LineTo(dc, p.x, p.y + r + 1);
  }
}

void PaintLabels(HDC dc, const RECT& rc, App& app, const Palette& pal) {
  const State& s = app.state();
  SelectObject(dc, app.label_font());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const int line = tm.tmHeight;
  for (const std::string& cs : s.traffic) {
    const POINT p = LabelPoint(rc, s, cs);
    const auto it = app.labels().find(cs);
    const LabelInfo info = it == app.labels().end() ? LabelInfo{} : it->second;
    const bool selected = cs == s.selected;
    const COLORREF colour = selected ? pal.selected : info.assumed ? pal.label : pal.text;

    GdiObject pen(CreatePen(PS_SOLID, selected ? 2 : 1, colour));
    Selected sp(dc, pen.get());
    Selected sb(dc, GetStockObject(NULL_BRUSH));
    const int r = Scale(4);
    Rectangle(dc, p.x - r, p.y - r, p.x + r, p.y + r);
    RECT block = LabelBlock(p);
    MoveToEx(dc, p.x + r, p.y - r, nullptr);
    LineTo(dc, block.left - Scale(2), block.top + line / 2);

    std::string l1 = cs + (info.active ? " *" : "");
    std::string l2 = info.level.empty() ? "---" : info.level;
    l2 += " " + (info.speed.empty() ? std::string("---") : info.speed);
    std::string l3;
    if (!info.fix.empty()) l3.append("> ").append(info.fix);
    if (!info.handed_to.empty())
      l3.append(l3.empty() ? "" : " ").append("=> ").append(info.handed_to);
    // Labels are drawn opaque: they stay readable over the map layers.
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, pal.background);
    Text(dc, block.left, block.top, colour, l1);
    Text(dc, block.left, block.top + line, colour, l2);
    if (!l3.empty()) Text(dc, block.left, block.top + 2 * line, colour, l3);
    SetBkMode(dc, TRANSPARENT);
    if (selected) {
      const int w = Scale(104);
      Rectangle(dc, block.left - Scale(3), block.top - Scale(2), block.left + w,
                block.top + (l3.empty() ? 2 : 3) * line + Scale(2));
    }
  }
}

void PaintLegend(HDC dc, const RECT& rc, App& app, const Palette& pal) {
  const State& s = app.state();
  SelectObject(dc, app.map_font());
  std::string layers;
  for (const char* code : kToolbarCodes)
    if (app.ButtonPressed(code) && std::string_view(code) != "CONNECT")
      layers += std::string(code) + " ";
  Text(dc, rc.left + Scale(8), rc.top + Scale(6), pal.text,
       "Centre " + app.centre() + "   Zoom " + app.zoom() + "   Scheme " + s.scheme);
  Text(dc, rc.left + Scale(8), rc.top + Scale(22), pal.text, "Layers: " + layers);
  const std::string sel = s.selected.empty() ? "no label selected" : "selected " + s.selected;
  Text(dc, rc.left + Scale(8), rc.bottom - Scale(20), pal.selected,
       sel + "   (click a label to select it; a right click marks a point for an area)");
}

void Paint(HWND hwnd) {
  App& app = App::Get();
  const Palette& pal = app.palette();
  PAINTSTRUCT ps;
  HDC screen = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  // Drawn off screen first, so that a redraw after each event does not flicker.
  HDC dc = CreateCompatibleDC(screen);
  GdiObject bitmap(
      CreateCompatibleBitmap(screen, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap.get());
  HGDIOBJ old_font = SelectObject(dc, app.map_font());
  {
    GdiObject bg(CreateSolidBrush(pal.background));
    FillRect(dc, &rc, bg.brush());
    SetBkMode(dc, TRANSPARENT);

    GdiObject ring_pen(CreatePen(PS_SOLID, 1, pal.rings));
    Selected sp(dc, ring_pen.get());
    Selected sb(dc, GetStockObject(NULL_BRUSH));
    const int cx = rc.right / 2, cy = rc.bottom / 2;
    const int step = std::max(Scale(30), static_cast<int>(std::min(rc.right, rc.bottom)) / 6);
    for (int k = 1; k <= 4; ++k)
      Ellipse(dc, cx - k * step, cy - k * step, cx + k * step, cy + k * step);
    MoveToEx(dc, cx, 0, nullptr);
    LineTo(dc, cx, rc.bottom);
    MoveToEx(dc, 0, cy, nullptr);
    LineTo(dc, rc.right, cy);
  }
  PaintLayers(dc, rc, app, pal);
  PaintAreas(dc, hwnd, app, pal);
  PaintLabels(dc, rc, app, pal);
  PaintLegend(dc, rc, app, pal);
  BitBlt(screen, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old_font);
  SelectObject(dc, old_bitmap);
  DeleteDC(dc);
  EndPaint(hwnd, &ps);
}

POINT ScreenPoint(HWND hwnd, LPARAM lp) {
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ClientToScreen(hwnd, &p);
  return p;
}

LRESULT CALLBACK RadarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      POINT client{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      App::Get().OnMapLeftClick(ScreenPoint(hwnd, lp), HitLabel(hwnd, client));
      return 0;
    }
    case WM_RBUTTONUP:
      App::Get().OnMapRightClick(ScreenPoint(hwnd, lp));
      return 0;
    case WM_CONTEXTMENU:
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateRadar(App& app, HWND parent) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = RadarProc;
  wc.hInstance = app.instance();
  wc.hCursor = LoadCursor(nullptr, IDC_CROSS);
  wc.lpszClassName = "IvAcRadarView";
  RegisterClassA(&wc);
  return CreateWindowExA(0, "IvAcRadarView", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr,
                         app.instance(), nullptr);
}

POINT LabelScreenPoint(HWND radar, const State& state, const std::string& callsign) {
  RECT rc;
  GetClientRect(radar, &rc);
  POINT p = LabelPoint(rc, state, callsign);
  ClientToScreen(radar, &p);
  return p;
}

}  // namespace qv::standin
