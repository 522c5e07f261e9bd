#include "ivac/win32_search.h"

#include <cstring>

#include "platform/text.h"

namespace qv::ivac {

namespace {

BOOL CALLBACK FirstIvac(HWND w, LPARAM out) {
  char caption[256] = {};
  GetWindowTextA(w, caption, sizeof caption);
  if (std::strncmp(caption, "IvAc 1", 6) == 0) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

struct LikeSearch {
  std::string_view caption, cls;
  std::optional<int> id;
  const std::function<void()>& visit;
  std::vector<HWND>& found;

  void Walk(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (visit) visit();
      Walk(child);
      if (Matches(child)) found.push_back(child);
    }
  }

  bool Matches(HWND w) const {
    if (!Like(CaptionOf(w), caption) || !Like(ClassNameOf(w), cls)) return false;
    if (!id) return true;
    return GetParent(w) != nullptr && GetWindowLongA(w, GWL_ID) == *id;
  }
};

}  // namespace

HWND FindIvacWindow() {
  HWND found = nullptr;
  EnumWindows(FirstIvac, reinterpret_cast<LPARAM>(&found));
  return found;
}

void PumpEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit request belongs to the loop that runs the window; hand it back.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::vector<HWND> FindWindowsLike(HWND parent, std::string_view captionPattern,
                                  std::string_view classPattern, std::optional<int> id,
                                  const std::function<void()>& visit) {
  std::vector<HWND> found;
  LikeSearch search{captionPattern, classPattern, id, visit, found};
  search.Walk(parent != nullptr ? parent : GetDesktopWindow());
  return found;
}

std::vector<HWND> ChildrenOfClass(HWND parent, std::string_view className) {
  std::vector<HWND> out;
  HWND from = parent != nullptr ? parent : GetDesktopWindow();
  for (HWND child = GetWindow(from, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (EqualsNoCase(ClassNameOf(child), className)) out.push_back(child);
  }
  return out;
}

namespace {
unsigned long g_unanswered = 0;
}  // namespace

bool SendWithin(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  DWORD_PTR answer = 0;
  // While it waits, messages sent to this thread by other threads are still
  // served (SMTO_NORMAL), so IvAc asking the panel something cannot deadlock.
  const LRESULT ok = SendMessageTimeoutA(window, msg, wp, lp, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                         kAnswerTimeoutMs, &answer);
  if (result != nullptr) *result = ok != 0 ? static_cast<LRESULT>(answer) : 0;
  if (ok == 0) ++g_unanswered;
  return ok != 0;
}

unsigned long UnansweredSends() { return g_unanswered; }

bool Answers(HWND window) { return window != nullptr && SendWithin(window, WM_NULL, 0, 0); }

std::string ReadWindowText(HWND window) {
  if (window == nullptr) return "";
  LRESULT length = 0;
  if (!SendWithin(window, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return "";
  // Room for a wide answer as well: some cross-process paths write UTF-16.
  std::string buffer(static_cast<size_t>(length) * 2 + 2, '\0');
  LRESULT copied = 0;
  if (!SendWithin(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                  reinterpret_cast<LPARAM>(buffer.data()), &copied) ||
      copied <= 0) {
    return "";
  }
  return std::string(buffer.c_str());
}

std::string CaptionOf(HWND window) {
  char caption[256] = {};
  GetWindowTextA(window, caption, 256);
  return caption;
}

std::string ClassNameOf(HWND window) {
  char cls[256] = {};
  GetClassNameA(window, cls, 256);
  return cls;
}

HWND ChildOf(HWND parent, const char* className, const char* caption) {
  if (parent == nullptr) return nullptr;
  return FindWindowExA(parent, nullptr, className, caption);
}

HWND FindUntitledDialogWith(const char* className, const char* caption) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
       w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
    if (GetWindowTextLengthA(w) != 0) continue;
    if (FindWindowExA(w, nullptr, className, caption) != nullptr) return w;
  }
  return nullptr;
}

void KeepOnTop(HWND window, bool onTop) {
  SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
}

bool BringToForeground(HWND window) {
  if (window == nullptr || !IsWindow(window)) return false;
  // Activation sends the window messages of its own: a window that does not
  // answer is left alone.
  if (!Answers(window)) return false;
  // ShowWindow on another program's window waits for it; the asynchronous
  // form does not.
  if (IsIconic(window)) {
    ShowWindowAsync(window, SW_RESTORE);
    for (int i = 0; i < 20 && IsIconic(window); ++i) Sleep(10);
  }
  constexpr int kAttempts = 3;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    SetForegroundWindow(window);
    if (GetForegroundWindow() == window) return true;
    // The system refuses the change to a thread that does not own the
    // foreground; sharing the foreground thread's input state lifts that.
    HWND front = GetForegroundWindow();
    const DWORD frontThread = front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
    const DWORD self = GetCurrentThreadId();
    if (frontThread != 0 && frontThread != self && AttachThreadInput(self, frontThread, TRUE)) {
      BringWindowToTop(window);
      SetForegroundWindow(window);
      AttachThreadInput(self, frontThread, FALSE);
    }
    if (GetForegroundWindow() == window) return true;
    Sleep(attempt * 5);
  }
  return GetForegroundWindow() == window;
}

}  // namespace qv::ivac
