// IvAc's main window: the caption Quorvex looks for ("IvAc 1..."), the menu
// whose commands Quorvex posts, the "ReBarWindow32" band with the toolbar
// dialog, the radar map and a status bar.
#include "tools/ivac_standin/app.h"
#include "tools/ivac_standin/resource.h"

#include <commctrl.h>

#include <string>

namespace qv::standin {

namespace {

struct MainChildren {
  HWND rebar = nullptr, radar = nullptr, status = nullptr;
};
MainChildren g_children;

void Layout(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  SendMessageA(g_children.status, WM_SIZE, 0, 0);
  RECT sr{};
  GetWindowRect(g_children.status, &sr);
  const int status_h = sr.bottom - sr.top;
  RECT br{};
  GetWindowRect(g_children.rebar, &br);
  const int band_h = br.bottom - br.top;
  MoveWindow(g_children.rebar, 0, 0, rc.right, band_h, TRUE);
  MoveWindow(g_children.radar, 0, band_h, rc.right, rc.bottom - band_h - status_h, TRUE);
  const int parts[] = {Scale(190), Scale(360), -1};
  SendMessageA(g_children.status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

void OnCreate(HWND hwnd, App& app) {
  HINSTANCE inst = app.instance();
  g_children.rebar = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, nullptr,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                         RBS_VARHEIGHT | CCS_NODIVIDER | RBS_BANDBORDERS,
                                     0, 0, 0, 0, hwnd, nullptr, inst, nullptr);
  RECT rc;
  GetClientRect(hwnd, &rc);
  HWND toolbar = CreateToolbar(app, g_children.rebar, rc.right - Scale(12));
  RECT tr{};
  GetWindowRect(toolbar, &tr);

  REBARBANDINFOA band{};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
  band.fStyle = RBBS_NOGRIPPER | RBBS_CHILDEDGE;
  band.hwndChild = toolbar;
  band.cxMinChild = tr.right - tr.left;
  band.cyMinChild = tr.bottom - tr.top;
  band.cx = rc.right;
  SendMessageA(g_children.rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&band));

  g_children.radar = CreateRadar(app, hwnd);
  g_children.status =
      CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                      hwnd, nullptr, inst, nullptr);
  SendMessageA(g_children.status, WM_SETFONT, reinterpret_cast<WPARAM>(app.ui_font()), TRUE);
  Layout(hwnd);
}

LRESULT OnCopyData(App& app, const COPYDATASTRUCT* cds) {
  if (!cds || cds->dwData != kControlMagic) return 0;
  std::string text(static_cast<const char*>(cds->lpData), cds->cbData);
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return app.Control(text) ? 1 : 2;
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  App& app = App::Get();
  switch (msg) {
    case WM_CREATE:
      OnCreate(hwnd, app);
      return 0;
    case WM_SIZE:
      Layout(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      app.OnMainMovedOrSized();
      return r;
    }
    case WM_SETFOCUS:
      SetFocus(g_children.radar);
      return 0;
    case WM_COMMAND:
      if (lp == 0) app.OnMenuCommand(LOWORD(wp));  // menu commands, ours and posted ones
      return 0;
    case WM_COPYDATA:
      return OnCopyData(app, reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case WM_DESTROY:
      app.OnMainDestroyed();
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateMainWindow(App& app) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = app.instance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainClass;
  if (!RegisterClassExA(&wc)) return nullptr;

  const State& s = app.state();
  return CreateWindowExA(0, kMainClass, s.Caption().c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         s.main.x, s.main.y, Scale(s.main.w), Scale(s.main.h), nullptr,
                         LoadMenuA(app.instance(), MAKEINTRESOURCEA(IDR_MAINMENU)), app.instance(),
                         nullptr);
}

}  // namespace qv::standin
