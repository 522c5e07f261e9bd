// frmIVAO: the running panel. A borderless window with a control box (close
// or back, menu, keep-on-top) and the status line on top, and the panel's
// button grid below; a click runs the button's script against IvAc. The
// same window switches in place to other panels (OPEN, CALL, BACK).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ivac/automation.h"
#include "panels/interpreter.h"
#include "panels/panel_file.h"
#include "panels/win32/grid_view.h"
#include "panels/win32/systray.h"
#include "platform/win32/ui.h"
#include "startup/app.h"

namespace qv::remote {
class RemoteClient;
}

namespace qv::panels {

class PanelWindow : public win::WindowBase, public ScriptHost {
 public:
  // Command numbers of the panel menu.
  enum MenuCommand : int32_t {
    kMenuPrevious = 1,
    kMenuOnTop = 2,
    kMenuExit = 3,
    kMenuConnect = 4,
    kMenuDisconnect = 5,
    kMenuAutoHide = 22,
  };

  PanelWindow(App& app, ivac::Automation& ivac);
  ~PanelWindow() override;

  // Form_Load: builds the window for the current panel and shows it.
  bool Load();
  // The notification-area icon, while the panel runs in the tray.
  const SysTray* Tray() const { return tray_.get(); }

  // Run after every click outside the client role: IvAc to the front and
  // the caret to the end of its COMMBox text line.
  std::function<void()> activateIvac;
  // Run on the window's first activation: a new panel window starts with a
  // fresh IvAc window map.
  std::function<void()> firstActivation;

  // Rebuilds the window for the current panel name.
  void StartAssistant();
  bool OpenAssistant(const std::string& name);
  void PreviousAssistant();
  void ShowControlButtons();

  // The click on grid button `index`, as the check-box control raises it.
  void cmdCommand_Click(int index);

  GridView& Grid() { return grid_; }
  Interpreter& Script() { return interpreter_; }

  // ScriptHost.
  void ShowStatus(std::string_view text) override;
  std::string StatusText() const override;
  void Log(std::string_view line) override;
  std::string CurrentPanel() const override;
  void ShowPanel(std::string_view name) override;
  void CloseWindow() override;
  void EndProgram() override;
  void StartPanelProcess(std::string_view panel) override;
  int64_t ShellOpen(std::string_view file, std::string_view parameters) override;
  // The server's monitor; a panel never starts one.
  void StartMonitor(int32_t, int32_t) override {}
  void SetLastSelection(std::string_view) override {}

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Imposta();
  void RunButtonScript(int index, int32_t type, bool latchedDown);
  void ReloadButton(int index, bool downLook);
  void OpenMacroFileOrEditor(int index, bool altOnly);
  void SetOnTop(bool on);
  void SetAutoHide(bool on);
  void cmdExit_Click();
  void cmdMenu_Click();
  void DrawMenuButton(const DRAWITEMSTRUCT& d);
  void tmrTimeOut_Timer();
  void HideControlButtons();
  void StartDrag();
  void CreateTray();
  void Form_Unload();
  void PlaceControlRow();
  int ControlRowBottom() const;  // pixels
  std::string PanelFile() const;

  App& app_;
  ivac::Automation& ivac_;
  Interpreter interpreter_;

  GridView grid_;
  HWND cmdExit_ = nullptr, cmdMenu_ = nullptr, lblInfo_ = nullptr, chkOnTop_ = nullptr;
  HWND text1_ = nullptr, tooltip_ = nullptr;
  std::unique_ptr<SysTray> tray_;
  std::unique_ptr<remote::RemoteClient> remote_;  // the client role only
  win::Brush menuBrush_;                          // cmdMenu's connection colour
  int trayOnTop_ = 0, trayStd_ = 0, trayPrev_ = 0, trayTitle_ = 0;

  PanelSetup setup_;
  std::vector<int16_t> kept_;  // kept states of two-state push buttons
  std::string status_;
  std::string exitTip_;
  bool onTop_ = false;
  bool autoHide_ = false;
  bool sysTray_ = false;
  bool firstActivation_ = true;
  bool pointerOver_ = false;
  bool controlsVisible_ = true;
  bool closing_ = false;
  int64_t hideReference_ = 0;
  ULONGLONG startTime_ = 0;
  SIZE gridPx_{};                  // picMain's size in pixels
  SIZE currentTwips_{6300, 2805};  // the window's size before a layout
  win::Brush backBrush_;
  COLORREF back_ = 0;
  int layouts_ = 0;  // counts layouts: tells whether a script switched the panel
};

}  // namespace qv::panels
