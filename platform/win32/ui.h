// The thin window layer: class registration with a per-window object,
// controls, tooltips and fonts. Each helper is a few lines over Win32.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/handles.h"

namespace qv::win {

// Window objects derive from this; the window procedure routes every message
// to HandleMessage of the object that created the window.
class WindowBase {
 public:
  virtual ~WindowBase() = default;
  HWND Hwnd() const { return hwnd_; }

 protected:
  // Registers `className` once (with this class's procedure) and creates the
  // window bound to this object.
  HWND CreateBound(const char* className, DWORD exStyle, DWORD style, const char* caption, int x,
                   int y, int w, int h, HWND parent, UINT classStyle = CS_DBLCLKS,
                   HBRUSH background = nullptr);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND w, UINT msg, WPARAM wp, LPARAM lp);
};

HINSTANCE Instance();

// The path of the program's own executable file.
std::string ProgramFile();

// The program's icon (resource 1) at the small size of the taskbar, tray
// and captions; null when the program has none.
HICON SmallIcon();

// Standard child controls.
HWND CreateButton(HWND parent, int id, const char* caption, DWORD style = BS_PUSHBUTTON);
HWND CreateCheckBox(HWND parent, int id, const char* caption);
HWND CreateLabel(HWND parent, int id, const char* caption, DWORD style = SS_LEFT);
HWND CreateEdit(HWND parent, int id, DWORD style = ES_AUTOHSCROLL);

// The dialog font of the desktop (message font), created once per process.
HFONT UiFont();
void SetFont(HWND w, HFONT font);

// A font by face and size in points (fractions allowed), at the screen's DPI.
HFONT CreatePointFont(const std::string& face, double points, bool bold, bool italic,
                      bool underline, bool strikeOut);

// A tooltip control for `owner` and its tools.
HWND CreateTooltip(HWND owner);
void AddTool(HWND tooltip, HWND tool, const std::string& text);
void SetToolText(HWND tooltip, HWND tool, const std::string& text);

// ANSI (the program's code page) to UTF-16 and back.
std::wstring Wide(std::string_view ansi);
std::string Narrow(const wchar_t* wide);

std::string GetText(HWND w);
void SetText(HWND w, std::string_view text);
// Replaces a list box's items, redrawn once at the end.
void FillListBox(HWND list, const std::vector<std::string>& items);

// A simple message box owned by `owner`; returns the button pressed.
int Message(HWND owner, std::string_view text, std::string_view title, UINT flags);

// Lets pending window messages of this thread run.
void DoEvents();

// The message loop of a modal window: runs until `done` is set or the
// window is gone, with dialog keys (Tab, mnemonics) for `window`. A quit that
// arrives meanwhile is handed on to the program's own loop.
void ModalLoop(HWND window, const bool& done);

}  // namespace qv::win
