// The base of the end-to-end suites: quorvex.exe (and, where a case wants
// it, the IvAc stand-in) started on a fresh data folder of the case's own,
// driven with real input on the rig's display, and the readers of what it
// did.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "tools/ivac_standin/client.h"
#include "win32/support/e2e.h"

namespace qv::e2e {

// The programs a suite starts, from its command line.
inline std::string g_quorvex, g_standin, g_host;

// The main of a suite: quorvex.exe, then the stand-in and the editor host
// when the suite takes them.
inline int RunSuite(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s quorvex.exe [ivac-standin.exe [editor_host.exe]]\n", argv[0]);
    return 2;
  }
  g_quorvex = WindowsPath(argv[1]);
  if (argc > 2) g_standin = qv::standin::StandInExe(WindowsPath(argv[2]));
  if (argc > 3) g_host = WindowsPath(argv[3]);
  return RUN_ALL_TESTS();
}

inline POINT CentreOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Moves the pointer and waits until the system has it there, so that a click
// that follows is not given where the pointer was before.
inline void MovePointer(POINT to) {
  SetCursorPos(to.x, to.y);
  WaitFor(
      [&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == to.x && now.y == to.y;
      },
      1000, 5);
  Sleep(30);
}

// Clicks the middle of a control once its window is in front and no other
// window (a tooltip, a window still being placed) covers that point. A
// control that stays covered is not clicked: the click would land on another
// window.
inline void Click(HWND w, bool right = false) {
  qv::standin::BringToFront(GetAncestor(w, GA_ROOT));
  // The pointer leaves the last control, so that its tooltip goes.
  MovePointer({0, 0});
  POINT p{};
  HWND at = nullptr;
  const bool free = WaitFor(
      [&] {
        p = CentreOf(w);
        at = WindowFromPoint(p);
        // Within its own window the control may lie under a group box,
        // which lets clicks through.
        return GetAncestor(at, GA_ROOT) == GetAncestor(w, GA_ROOT);
      },
      3000);
  if (!free) {
    ADD_FAILURE() << "\"" << WindowText(w) << "\" is covered by a " << ClassOf(at) << " \""
                  << WindowText(at) << "\"";
    return;
  }
  MovePointer(p);
  qv::standin::ClickAt(p, right);
}

// Presses the left button at `from`, moves to `to` in `steps` steps and
// lets go.
inline void Drag(POINT from, POINT to, int steps) {
  MovePointer(from);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  Sleep(100);
  for (int i = 1; i <= steps; ++i) {
    SetCursorPos(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    Sleep(40);
  }
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

// Clicks until `done` holds, three times at most; true when it did.
inline bool ClickUntil(HWND w, const std::function<bool()>& done) {
  for (int i = 0; i < 3; ++i) {
    Click(w);
    if (WaitFor(done, 1500)) return true;
  }
  return false;
}

// Presses and releases each key, as a person would.
inline void Press(std::initializer_list<BYTE> keys) {
  for (BYTE k : keys) {
    qv::standin::KeyDown(k);
    qv::standin::KeyUp(k);
  }
}

inline void Type(const std::string& text) {
  for (const char ch : text) {
    INPUT in[2] = {};
    for (INPUT& i : in) {
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = static_cast<unsigned char>(ch);
      i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
  }
}

// Clicks into an edit box, waits until it holds the keyboard focus and types
// over what it holds, as a user does.
inline void TypeInto(HWND edit, const std::string& text) {
  Click(edit);
  Sleep(150);  // the click is taken before the selection below
  WaitFor(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(edit, nullptr), &info) &&
               info.hwndFocus == edit;
      },
      2000);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  Type(text);
}

inline ::testing::AssertionResult WaitText(HWND w, const std::string& want, DWORD ms = 8000) {
  if (WaitFor([&] { return qv::standin::TextOf(w) == want; }, ms))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the text is \"" << qv::standin::TextOf(w) << "\"";
}

inline bool WaitGone(HWND w, DWORD ms = 8000) {
  return WaitFor([&] { return !IsWindow(w) || !IsWindowVisible(w); }, ms);
}

// The centre of button n on the screen, for a grid of `cols` columns whose
// buttons are 1200 twips wide and `cellH` high, at the default gaps; at the
// screen's DPI, or at `dpi` when the program runs at another one.
inline POINT GridCentre(HWND grid, int n, int cols, int cellH, int dpi = 0) {
  HDC dc = GetDC(nullptr);
  int dx = GetDeviceCaps(dc, LOGPIXELSX), dy = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  if (dpi != 0) dx = dy = dpi;
  const int r = (n - 1) / cols, c = (n - 1) % cols;
  POINT p{MulDiv(120 + c * 1260 + 600, dx, 1440),
          MulDiv(80 + r * (cellH + 60) + cellH / 2, dy, 1440)};
  ClientToScreen(grid, &p);
  return p;
}

class ProgramCase : public ::testing::Test {
 protected:
  void SetUp() override { root_ = FreshDataFolder("qv_e2e_"); }

  void TearDown() override {
    for (BYTE k : {VK_SHIFT, VK_MULTIPLY, VK_F7, VK_ADD})
      EXPECT_FALSE(qv::standin::KeyLeftDown(k)) << "key " << int{k} << " left down";
    if (HasFailure()) {
      // Evidence: the screen as it was, and the stand-in's log beside it.
      qv::standin::SaveScreenshot(root_ + "\\failure.bmp");
      std::printf("evidence kept in %s\n", root_.c_str());
    }
    process_.reset();
    standin_.Stop();
    std::error_code ec;
    if (!HasFailure()) std::filesystem::remove_all(root_, ec);
  }

  // A file of the data folder, by its path under Quorvex.
  std::string Path(const std::string& rel) const { return root_ + "\\Quorvex\\" + rel; }
  std::string PanelFile(const std::string& name) const {
    return Path("QuorvexData\\Panels\\" + name + ".ini");
  }
  std::string MacroFile(const std::string& name) const {
    return Path("QuorvexData\\Macro\\" + name);
  }
  static void WriteAt(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  void Write(const std::string& rel, const std::string& text) const { WriteAt(Path(rel), text); }
  void Panel(const std::string& name, const std::string& text) const {
    WriteAt(PanelFile(name), text);
  }
  void Macro(const std::string& name, const std::string& text) const {
    WriteAt(MacroFile(name), text);
  }
  std::string Read(const std::string& rel) const { return ReadFileText(Path(rel)); }
  // Today's diagnostic log.
  std::string Log() const {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char name[32];
    wsprintfA(name, "Dump_%04d%02d%02d.TXT", t.wYear, t.wMonth, t.wDay);
    return Read(name);
  }

  void StartStandIn(const std::string& settings = "") {
    std::string error;
    ASSERT_TRUE(standin_.Start(g_standin, root_ + "\\standin", settings, &error)) << error;
  }

  // Starts `exe` (quorvex.exe when empty) with `args` on the data folder and
  // waits for its first top-level window of class `cls`; nullptr when none
  // came.
  HWND Start(const std::string& args, const std::string& cls, const std::string& caption = "",
             const std::string& exe = "") {
    process_ = std::make_unique<Process>();
    EXPECT_TRUE(process_->Start(exe.empty() ? g_quorvex : exe, args, root_));
    return WaitTopWindow(process_->Id(), cls, caption, 15000);
  }

  // Clicks button n of grid_ at a person's pace: once the program has
  // finished the previous click (a panel puts IvAc in front and itself back
  // on top after its status line shows the result) and the windows have
  // settled.
  void ClickCell(int n, int cols, bool right = false) {
    WaitForInputIdle(process_->Handle(), 5000);
    Sleep(500);
    qv::standin::ClickAt(GridCentre(grid_, n, cols, cellH_, dpi_), right);
  }

  // Waits for a message box, reads it and presses `button`.
  MessageBoxInfo Reply(int button, DWORD ms = 8000) {
    MessageBoxInfo box;
    EXPECT_TRUE(WaitMessageBox(process_->Id(), ms, box)) << "no message box";
    if (box.window) {
      AnswerMessageBox(box.window, button);
      EXPECT_TRUE(WaitFor([&] { return !IsWindow(box.window); }, 3000));
    }
    return box;
  }

  std::string root_;
  qv::standin::StandInProcess standin_;
  std::unique_ptr<Process> process_ = std::make_unique<Process>();
  HWND grid_ = nullptr;
  int cellH_ = 420;
  int dpi_ = 0;
};

}  // namespace qv::e2e
