// The window-search helpers the automation shares: finding IvAc's main
// window, the walk over a window tree, direct children of a class, reading a
// window's text, and keeping a window on top. Win32 only.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::ivac {

// The first top-level window, in the system's order, whose caption begins
// with exactly "IvAc 1" (letter case included); nullptr when none.
HWND FindIvacWindow();

// Lets the pending window events of this thread run.
void PumpEvents();

// Every window below `parent` (nullptr: the desktop) whose caption matches
// `captionPattern` and whose class matches `classPattern` (the Like rules,
// letter case included) and, when `id` is given, that has a parent and that
// control ID. Children are visited in z-order; each child's subtree is
// searched before the child itself is tested, so descendants come before
// their ancestors. `visit` runs at every window visited (pending events).
std::vector<HWND> FindWindowsLike(HWND parent, std::string_view captionPattern,
                                  std::string_view classPattern, std::optional<int> id = {},
                                  const std::function<void()>& visit = PumpEvents);

// The direct children of `parent` (nullptr: the desktop) whose class equals
// `className` (letter case ignored, as the system compares classes).
std::vector<HWND> ChildrenOfClass(HWND parent, std::string_view className);

// Messages that wait for IvAc's answer give up after this long, and at once
// on a window the system already knows to be hung: a hung IvAc must never
// freeze the panel.
inline constexpr UINT kAnswerTimeoutMs = 2000;

// SendMessageA with that bounded wait. False, with `result` 0, when the
// window did not answer in time or is gone; such a send is counted.
bool SendWithin(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr);
// How many sends have gone unanswered since the program started: a
// primitive compares the count before and after its work.
unsigned long UnansweredSends();
// True when the window answers a message that does nothing (WM_NULL) in time.
bool Answers(HWND window);

// The window's text through WM_GETTEXTLENGTH and WM_GETTEXT (so it reads the
// content of another process's controls too); "" from a window that does
// not answer.
std::string ReadWindowText(HWND window);

// The caption as GetWindowTextA gives it, and the class name (255 at most).
std::string CaptionOf(HWND window);
std::string ClassNameOf(HWND window);

// The first child of `parent` with the class and, when given, exact caption.
HWND ChildOf(HWND parent, const char* className, const char* caption = nullptr);

// The first top-level "#32770" window, in the system's order, with an empty
// caption and a child of `className` captioned `caption`.
HWND FindUntitledDialogWith(const char* className, const char* caption);

// Places the window above all non-topmost windows, or takes that away;
// position and size are kept and the frame is redrawn.
void KeepOnTop(HWND window, bool onTop);

// Brings the window to the foreground dependably: a minimised window is
// restored first, the result is checked with GetForegroundWindow, and the
// attempt is repeated a few times, attaching to the foreground thread's input
// where the system asks for it. True when the window is in front. Nothing
// here waits on the window itself, so a hung window cannot block it.
bool BringToForeground(HWND window);

}  // namespace qv::ivac
