// The panel manager driven from outside: quorvex.exe started without
// arguments on a data folder of the test's own, its controls clicked and its
// prompts typed into with real input on the rig's display.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/ivac_standin/client.h"
#include "win32/support/e2e.h"

namespace qv::e2e {

inline std::string g_exe;  // quorvex.exe, from the command line

// Control IDs of the manager window (editor/win32/frm_main.h).
inline constexpr int kFilter = 1003, kList = 1001, kDescription = 1002, kImage1 = 1005, kNew = 1010,
                     kCopy = 1011, kRemove = 1013, kStart = 1014, kRunClient = 1015,
                     kRunServer = 1016, kRunNew = 1017, kHelper = 1021, kConfig = 1022;

inline constexpr char kTemplate[] =
    "[Setup]\r\nDescription=\r\nButtonWidth=1200\r\nButtonHeight=400\r\nRows=2\r\nCols=10\r\n\r\n";

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

inline void Press(BYTE vk) {
  qv::standin::KeyDown(vk);
  qv::standin::KeyUp(vk);
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
// window (a tooltip, a window still being placed) covers that point. A control that
// stays covered is not clicked: the click would land on another window.
inline void Click(HWND w) {
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
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
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

// Clicks into an edit box, waits until it holds the keyboard focus, types.
inline void TypeInto(HWND edit, const std::string& text) {
  Click(edit);
  WaitFor(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(edit, nullptr), &info) &&
               info.hwndFocus == edit;
      },
      2000);
  Type(text);
}

// Ends a process the test had started, through the program or the shell.
inline void EndProcess(DWORD pid) {
  if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    TerminateProcess(h, 0);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
}

inline BOOL CALLBACK CollectOthers(HWND w, LPARAM lp) {
  auto* pids = reinterpret_cast<std::vector<DWORD>*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  const std::string cls = ClassOf(w);
  if (pid != pids->front() && pid != GetCurrentProcessId() &&
      (cls.rfind("Quorvex", 0) == 0 || WindowText(w) == "Macro Helper"))
    pids->push_back(pid);
  return TRUE;
}

// Ends the programs a run in a new process started: every process other than
// `manager` that shows a window of the program.
inline void EndStartedPrograms(DWORD manager) {
  std::vector<DWORD> pids{manager};
  EnumWindows(CollectOthers, reinterpret_cast<LPARAM>(&pids));
  std::sort(pids.begin() + 1, pids.end());
  pids.erase(std::unique(pids.begin() + 1, pids.end()), pids.end());
  for (size_t i = 1; i < pids.size(); ++i) EndProcess(pids[i]);
}

class ManagerE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = FreshDataFolder("qv_mgr_");
    base_ = root_ + "\\Quorvex";
  }
  void TearDown() override {
    process_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  std::string Panels() const { return base_ + "\\QuorvexData\\Panels\\"; }
  void Write(const std::string& path, const std::string& data) const {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    CloseHandle(h);
  }
  std::string Read(const std::string& path) const { return ReadFileText(path); }
  std::vector<std::string> PanelFiles() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Panels()))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Log() const {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char name[32];
    wsprintfA(name, "\\Dump_%04d%02d%02d.TXT", t.wYear, t.wMonth, t.wDay);
    return Read(base_ + name);
  }

  // Starts the manager and waits for its window.
  void Start() {
    process_ = std::make_unique<Process>();
    ASSERT_TRUE(process_->Start(g_exe, "", root_));
    manager_ = WaitTopWindow(process_->Id(), "QuorvexManager", "Quorvex", 20000);
    ASSERT_NE(manager_, nullptr) << "no manager window";
    // The splash goes once the manager shows; clicks are for the manager.
    ASSERT_TRUE(
        WaitFor([&] { return TopWindowsOf(process_->Id(), "QuorvexSplash", "").empty(); }, 5000));
    ASSERT_TRUE(qv::standin::BringToFront(manager_));
  }
  HWND Item(int id) const { return GetDlgItem(manager_, id); }

  std::vector<std::string> ListEntries() const {
    std::vector<std::string> names;
    const int n = static_cast<int>(SendMessageA(Item(kList), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) names.push_back(qv::standin::ListBoxItem(Item(kList), i));
    return names;
  }
  std::string Selected() const {
    const int i = static_cast<int>(SendMessageA(Item(kList), LB_GETCURSEL, 0, 0));
    return i < 0 ? "" : qv::standin::ListBoxItem(Item(kList), i);
  }
  // Clicks the list entry with that name.
  void ClickEntry(const std::string& name) {
    const auto names = ListEntries();
    const auto at = std::find(names.begin(), names.end(), name);
    ASSERT_NE(at, names.end()) << name;
    RECT r{};
    SendMessageA(Item(kList), LB_GETITEMRECT, at - names.begin(), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(Item(kList), &p);
    qv::standin::ClickAt(p, false);
    ASSERT_TRUE(WaitFor([&] { return Selected() == name; }, 3000)) << name;
  }

  // The input box the manager shows: its title and prompt.
  HWND WaitInputBox(std::string* title = nullptr, std::string* prompt = nullptr) {
    HWND box = WaitTopWindow(process_->Id(), "QuorvexInputBox", "", 5000);
    if (box && title) *title = WindowText(box);
    if (box && prompt) *prompt = qv::standin::TextOf(GetDlgItem(box, 300));
    return box;
  }
  // Types the answer into the box and presses Enter; an empty answer
  // clicks Cancel instead.
  void Answer(HWND box, const std::string& text) {
    ASSERT_TRUE(qv::standin::BringToFront(box));
    if (text.empty()) {
      Click(GetDlgItem(box, IDCANCEL));
    } else {
      TypeInto(GetDlgItem(box, 301), text);
      ASSERT_TRUE(WaitFor([&] { return qv::standin::TextOf(GetDlgItem(box, 301)) == text; }, 3000))
          << qv::standin::TextOf(GetDlgItem(box, 301));
      Press(VK_RETURN);
    }
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 3000));
  }
  // Waits for a message box, reads it and presses `button`.
  MessageBoxInfo Reply(int button) {
    MessageBoxInfo box;
    EXPECT_TRUE(WaitMessageBox(process_->Id(), 5000, box)) << "no message box";
    if (box.window) {
      AnswerMessageBox(box.window, button);
      EXPECT_TRUE(WaitFor([&] { return !IsWindow(box.window); }, 3000));
    }
    return box;
  }

  std::string root_, base_;
  std::unique_ptr<Process> process_ = std::make_unique<Process>();
  HWND manager_ = nullptr;
};

}  // namespace qv::e2e
