#include "platform/win32/input_box.h"

#include "platform/win32/dpi.h"
#include "platform/win32/ui.h"

namespace qv::win {

namespace {

int Px(int dip) { return DipToPixels(dip); }

class InputWindow : public WindowBase {
 public:
  std::optional<std::string> Run(HWND owner, std::string_view prompt, std::string_view title,
                                 std::string_view defaultText) {
    // Beside its owner, where the eye already is.
    RECT at{};
    const bool besideOwner = owner != nullptr && GetWindowRect(owner, &at);
    CreateBound(kInputBoxClass, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST,
                WS_POPUP | WS_CAPTION | WS_SYSMENU, std::string(title).c_str(),
                besideOwner ? at.left + Px(20) : CW_USEDEFAULT,
                besideOwner ? at.top + Px(20) : CW_USEDEFAULT, Px(380), Px(170), owner, 0,
                GetSysColorBrush(COLOR_BTNFACE));
    if (!hwnd_) return std::nullopt;
    HWND label = CreateLabel(hwnd_, 300, std::string(prompt).c_str(), SS_LEFT | SS_NOPREFIX);
    edit_ = CreateEdit(hwnd_, kInputBoxEditId);
    HWND ok = CreateButton(hwnd_, IDOK, "OK", BS_DEFPUSHBUTTON);
    HWND cancel = CreateButton(hwnd_, IDCANCEL, "Cancel");
    MoveWindow(label, Px(10), Px(10), Px(270), Px(70), FALSE);
    MoveWindow(ok, Px(290), Px(10), Px(70), Px(26), FALSE);
    MoveWindow(cancel, Px(290), Px(42), Px(70), Px(26), FALSE);
    MoveWindow(edit_, Px(10), Px(96), Px(350), Px(24), FALSE);
    SetText(edit_, defaultText);
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(edit_);
    MSG msg{};
    BOOL got = 1;
    while (!done_ && (got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
      if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
          (msg.hwnd == hwnd_ || GetParent(msg.hwnd) == hwnd_)) {
        Finish(msg.wParam == VK_RETURN);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    // A quit that arrived meanwhile belongs to the program's own loop.
    if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
    if (owner) EnableWindow(owner, TRUE);
    if (hwnd_) DestroyWindow(hwnd_);
    if (owner) SetForegroundWindow(owner);
    return result_;
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) &&
        HIWORD(wp) == BN_CLICKED) {
      Finish(LOWORD(wp) == IDOK);
      return 0;
    }
    if (msg == WM_CLOSE) {
      Finish(false);
      return 0;
    }
    return Default(msg, wp, lp);
  }

 private:
  void Finish(bool ok) {
    if (ok) result_ = GetText(edit_);
    done_ = true;
  }

  HWND edit_ = nullptr;
  bool done_ = false;
  std::optional<std::string> result_;
};

}  // namespace

std::optional<std::string> InputBox(HWND owner, std::string_view prompt, std::string_view title,
                                    std::string_view defaultText) {
  InputWindow box;
  return box.Run(owner, prompt, title, defaultText);
}

}  // namespace qv::win
