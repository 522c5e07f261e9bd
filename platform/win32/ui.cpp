#include "platform/win32/ui.h"

#include <commctrl.h>

#include <cmath>

#include "platform/win32/dpi.h"

namespace qv::win {

HICON SmallIcon() {
  return static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                       LR_SHARED));
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string ProgramFile() {
  char buf[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return std::string(buf, n < MAX_PATH ? n : 0);
}

LRESULT CALLBACK WindowBase::Procedure(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  WindowBase* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    self = static_cast<WindowBase*>(cs->lpCreateParams);
    self->hwnd_ = w;
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(w, msg, wp, lp);
  const LRESULT r = self->HandleMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(w, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return r;
}

LRESULT WindowBase::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

HWND WindowBase::CreateBound(const char* className, DWORD exStyle, DWORD style, const char* caption,
                             int x, int y, int w, int h, HWND parent, UINT classStyle,
                             HBRUSH background) {
  WNDCLASSEXA wc{};
  if (!GetClassInfoExA(Instance(), className, &wc)) {
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    wc.hIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(1));
    wc.hIconSm = SmallIcon();
    RegisterClassExA(&wc);
  }
  return CreateWindowExA(exStyle, className, caption, style, x, y, w, h, parent, nullptr,
                         Instance(), this);
}

namespace {

HWND Child(HWND parent, int id, const char* cls, const char* caption, DWORD style) {
  HWND w = CreateWindowExA(0, cls, caption, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  SetFont(w, UiFont());
  return w;
}

}  // namespace

HWND CreateButton(HWND parent, int id, const char* caption, DWORD style) {
  return Child(parent, id, "BUTTON", caption, WS_TABSTOP | style);
}

HWND CreateCheckBox(HWND parent, int id, const char* caption) {
  return Child(parent, id, "BUTTON", caption, WS_TABSTOP | BS_AUTOCHECKBOX);
}

HWND CreateLabel(HWND parent, int id, const char* caption, DWORD style) {
  return Child(parent, id, "STATIC", caption, style);
}

HWND CreateEdit(HWND parent, int id, DWORD style) {
  HWND w = Child(parent, id, "EDIT", "", WS_TABSTOP | style);
  SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  return w;
}

HFONT UiFont() {
  static Font font = [] {
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0))
      return Font(CreateFontIndirectA(&m.lfMessageFont));
    return Font(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  }();
  return font.Get();
}

void SetFont(HWND w, HFONT font) {
  SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HFONT CreatePointFont(const std::string& face, double points, bool bold, bool italic,
                      bool underline, bool strikeOut) {
  LOGFONTA lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(points * ScreenDpiY() / 72.0));
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

HWND CreateTooltip(HWND) {
  // Not owned by the window it serves: an owned popup takes the owner's
  // place in the z-order when the owner is made topmost, and Wine then drops
  // the owner's topmost state.
  HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                             nullptr, Instance(), nullptr);
  SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 400);
  return tip;
}

void AddTool(HWND tooltip, HWND tool, const std::string& text) {
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(tool);
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  ti.lpszText = const_cast<char*>(text.c_str());
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void SetToolText(HWND tooltip, HWND tool, const std::string& text) {
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.hwnd = GetParent(tool);
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  ti.lpszText = const_cast<char*>(text.c_str());
  SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring Wide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, w.data(), n);
  return w;
}

std::string Narrow(const wchar_t* wide) {
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, s.data(), n, nullptr, nullptr);
  s.resize(static_cast<size_t>(n - 1));
  return s;
}

std::string GetText(HWND w) {
  const int n = GetWindowTextLengthA(w);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  s.resize(static_cast<size_t>(GetWindowTextA(w, s.data(), n + 1)));
  return s;
}

void SetText(HWND w, std::string_view text) { SetWindowTextA(w, std::string(text).c_str()); }

void FillListBox(HWND list, const std::vector<std::string>& items) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int Message(HWND owner, std::string_view text, std::string_view title, UINT flags) {
  return MessageBoxA(owner, std::string(text).c_str(), std::string(title).c_str(), flags);
}

void DoEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void ModalLoop(HWND window, const bool& done) {
  MSG msg{};
  BOOL got = 1;
  while (!done && IsWindow(window) && (got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
    if (IsDialogMessageA(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
}

}  // namespace qv::win
