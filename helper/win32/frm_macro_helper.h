// frmMacroHelper: the Macro Helper window. The user drags the image onto a
// text editor; from then on "Action" offers a menu of script commands, asks
// for an entry's argument, brings the editor to the front and types the
// finished line into it. Some entries read IvAc (a selection window's list,
// the main window's placement) into script text. A mouse-position capture,
// switched with Scroll Lock, shows screen coordinates.
//
// Typing goes only to the chosen editor: the editor is activated first, and
// every key press is preceded by a check that a window of the editor's
// process still owns the foreground. When the editor cannot be activated or
// loses the foreground, nothing (more) is typed, held keys are released and
// the status line says so. Everything runs on the window's thread; a menu
// choice arrives as a WM_COMMAND of kActionCommand + the entry's number.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ivac/win32_automation.h"
#include "platform/win32/handles.h"
#include "platform/win32/ui.h"

namespace qv::helper {

class MacroHelperWindow : public win::WindowBase {
 public:
  static constexpr const char* kCaption = "Macro Helper";
  // Menu choices are posted to the window as this command plus the number.
  static constexpr int32_t kActionCommand = 0x4000;

  explicit MacroHelperWindow(ivac::Win32Automation& ivac);
  ~MacroHelperWindow() override;

  // Form_Load: topmost, capture timer running, no editor.
  bool Load();

  // The editor under the screen point, as a drop of the image there chooses
  // it.
  void GetApplication(POINT at);
  void cmdAction_Click();
  // One entry of the action menu, with its prompt when it has one.
  void RunAction(int32_t id);

  DWORD EditorProcess() const { return editorPid_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void LayOut();
  void chkOnTop_Click();
  void cmdCopy_Click();
  void Timer1_Timer();
  void Form_Unload();
  void ShowStatus(const std::string& text);

  bool ActivateEditor();
  bool EditorOwnsForeground() const;
  // Types the line and CR into the editor; the status tells how it went.
  void TypeLine(const std::string& line);
  void PasteSelection(const std::string& code, bool selected);
  // The selected (or not selected) items of a selection window of IvAc;
  // `status` says why there are none.
  std::vector<std::string> GetItems(const std::string& code, bool selected, std::string& status);

  ivac::Win32Automation& ivac_;
  HWND imgEditor_ = nullptr, label1_ = nullptr, lblApp_ = nullptr, cmdAction_ = nullptr;
  HWND chkOnTop_ = nullptr, chkDoEvents_ = nullptr, frame1_ = nullptr, txtX_ = nullptr;
  HWND lblScrll_ = nullptr, cmdCopy_ = nullptr, lblInfo_ = nullptr, tooltip_ = nullptr;
  win::Font bold_;
  bool dragging_ = false;
  bool capturing_ = false;
  bool firstTick_ = true;
  std::string editorTitle_;
  DWORD editorPid_ = 0;
  HWND editorWindow_ = nullptr;
};

}  // namespace qv::helper
