// End-to-end helpers for the Win32 tests: start a program of the build with
// its own AppData folder, find its windows, wait for things to happen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qv::e2e {

// A path given on the test's command line, as Windows sees it ("/x/y" under
// Wine is "Z:\x\y").
std::string WindowsPath(const std::string& path);

// A started process; terminated and closed when the object goes.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& o) noexcept;
  Process& operator=(Process&&) = delete;

  // Starts `exe` with the argument text `args`; `appData` (when not empty)
  // replaces the AppData variable of the child's environment.
  bool Start(const std::string& exe, const std::string& args, const std::string& appData);
  // Waits for the end; true with the exit code when it ended in time.
  bool WaitExit(DWORD ms, DWORD* code = nullptr);
  DWORD Id() const { return pi_.dwProcessId; }
  HANDLE Handle() const { return pi_.hProcess; }

 private:
  PROCESS_INFORMATION pi_{};
};

// A plain window class of this program (the default window procedure), for
// stand-in windows built inside a test: "ReBarWindow32", a fake IvAc...
void RegisterLocal(const char* name);
HINSTANCE Instance();

// The running test case's own folder, out\<Suite>.<Case> beside the test
// program's working folder (created; what an earlier run left stays).
std::string CaseFolder();

// Repeats `probe` until it returns true or `ms` pass; true when it did.
bool WaitFor(const std::function<bool()>& probe, DWORD ms, DWORD step = 20);

// Visible top-level windows of one process with a given class ("" for any)
// and caption ("" for any).
std::vector<HWND> TopWindowsOf(DWORD pid, const std::string& cls, const std::string& caption);

// Waits up to `ms` for the first such window; nullptr when none came.
HWND WaitTopWindow(DWORD pid, const std::string& cls, const std::string& caption, DWORD ms);

// A fresh folder in the temporary folder, named after `prefix` and the
// running case, holding a Quorvex AppData tree (Quorvex\Config and
// Quorvex\QuorvexData with Panels and Macro) and a "standin" folder.
std::string FreshDataFolder(const std::string& prefix);

std::string WindowText(HWND w);
// One pixel of window w (the screen when w is null), copied off it as a
// screenshot does: GetPixel on a window or the screen is not dependable
// under Wine.
COLORREF PixelAt(HWND w, int x, int y);
std::string ClassOf(HWND w);
std::vector<HWND> ChildrenOf(HWND parent);

// The texts of a message box: its caption and the text of its message.
struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;
  std::string text;
};
// Waits for a message box ("#32770") of the process and reads it.
bool WaitMessageBox(DWORD pid, DWORD ms, MessageBoxInfo& info);
// Presses the message box's button with the given ID (IDOK, IDCANCEL...).
void AnswerMessageBox(HWND box, int id);

// The screen's DPI for programs started while the object lives (the
// prefix's LogPixels); 96 again afterwards.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD dpi) { Set(dpi); }
  ~ScreenDpi() { Set(96); }
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;

 private:
  static void Set(DWORD dpi);
};

// The whole content of a file, "<missing>" when it cannot be opened.
std::string ReadFileText(const std::string& path);

// A string value of a file's version resource (US English, Unicode block),
// "" when there is none.
std::string VersionString(const std::string& file, const std::string& name);

}  // namespace qv::e2e
