#include "helper/win32/input_box.h"

#include "platform/win32/ui.h"

namespace qv::helper {

namespace {

constexpr int kIdOk = IDOK;
constexpr int kIdCancel = IDCANCEL;

int Scale(int v) {
  static const int dpi = [] {
    HDC dc = GetDC(nullptr);
    const int d = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return d;
  }();
  return MulDiv(v, dpi, 96);
}

class Box : public win::WindowBase {
 public:
  std::optional<std::string> Run(HWND owner, std::string_view prompt, std::string_view title,
                                 std::string_view answer) {
    RECT at{};
    if (owner) GetWindowRect(owner, &at);
    const std::string caption(title);
    CreateBound("QvInputBox", WS_EX_DLGMODALFRAME | WS_EX_TOPMOST,
                WS_POPUP | WS_CAPTION | WS_SYSMENU, caption.c_str(), at.left + Scale(20),
                at.top + Scale(20), Scale(360), Scale(150), owner, CS_DBLCLKS,
                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!hwnd_) return std::nullopt;
    HWND label = win::CreateLabel(hwnd_, 0, std::string(prompt).c_str());
    MoveWindow(label, Scale(10), Scale(10), Scale(240), Scale(70), FALSE);
    HWND ok = win::CreateButton(hwnd_, kIdOk, "OK", BS_DEFPUSHBUTTON);
    MoveWindow(ok, Scale(260), Scale(10), Scale(80), Scale(24), FALSE);
    HWND cancel = win::CreateButton(hwnd_, kIdCancel, "Cancel");
    MoveWindow(cancel, Scale(260), Scale(40), Scale(80), Scale(24), FALSE);
    edit_ = win::CreateEdit(hwnd_, 0);
    MoveWindow(edit_, Scale(10), Scale(86), Scale(330), Scale(22), FALSE);
    win::SetText(edit_, answer);
    SendMessageA(edit_, EM_SETSEL, 0, -1);

    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(edit_);
    MSG msg;
    while (!done_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
          (msg.hwnd == edit_ || GetParent(msg.hwnd) == hwnd_)) {
        Finish(msg.wParam == VK_RETURN);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (owner) {
      EnableWindow(owner, TRUE);
      SetForegroundWindow(owner);
    }
    if (hwnd_) DestroyWindow(hwnd_);
    return answer_;
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(wp) == kIdOk || LOWORD(wp) == kIdCancel) Finish(LOWORD(wp) == kIdOk);
        return 0;
      case WM_CLOSE:
        Finish(false);
        return 0;
      default:
        return Default(msg, wp, lp);
    }
  }

 private:
  void Finish(bool ok) {
    if (ok) answer_ = win::GetText(edit_);
    done_ = true;
  }

  HWND edit_ = nullptr;
  bool done_ = false;
  std::optional<std::string> answer_;
};

}  // namespace

std::optional<std::string> InputBox(HWND owner, std::string_view prompt, std::string_view title,
                                    std::string_view defaultAnswer) {
  Box box;
  return box.Run(owner, prompt, title, defaultAnswer);
}

}  // namespace qv::helper
