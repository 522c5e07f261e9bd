// frmServer, "Quorvex Receiver": the remote server window, on the PC that
// runs IvAc. It listens on one TCP port, takes one client panel at a time,
// takes its command messages apart and runs each command with its own
// interpreter against IvAc; once a script has asked for it, it reports
// IvAc's selected label and In/Out list back to the client. Its state shows
// as a coloured picture (gray listening, green connected, blue handling a
// command, red closed), the window and tray icon, optional balloons and the
// status line.
//
// Commands run one at a time, in the order they arrived: a command that
// arrives while another runs (the automation lets window messages in) waits
// in a queue and runs after it. Monitor ticks that fall inside a run are
// skipped, so the monitor never drives IvAc in the middle of a script.
#pragma once

#include <winsock2.h>
// After winsock2.h:
#include <windows.h>

#include <memory>
#include <string>

#include "ivac/win32_automation.h"
#include "panels/interpreter.h"
#include "panels/win32/systray.h"
#include "platform/win32/ui.h"
#include "remote/protocol.h"
#include "remote/server_rules.h"
#include "remote/win32/socket_plus.h"
#include "startup/app.h"

namespace qv::remote {

class ServerWindow : public win::WindowBase, public panels::ScriptHost {
 public:
  // Control IDs, also for tests that read the window from outside.
  enum ControlId : int {
    kIdListen = 201,
    kIdClose = 202,
    kIdPort = 203,
    kIdBalloons = 204,
    kIdInfo = 205,
    kIdPicture = 206,
    kIdPortLabel = 207,
  };

  ServerWindow(App& app, ivac::Win32Automation& ivac);
  ~ServerWindow() override;

  // Form_Load: builds the window, closed (red), and shows it.
  bool Load();

  void cmdListen_Click();
  void cmdClose_Click();
  const panels::SysTray* Tray() const { return tray_.get(); }

  // ScriptHost.
  void ShowStatus(std::string_view text) override;
  std::string StatusText() const override { return status_; }
  void Log(std::string_view line) override;
  std::string CurrentPanel() const override { return {}; }
  void ShowPanel(std::string_view) override {}
  void CloseWindow() override {}
  void EndProgram() override {}
  void StartPanelProcess(std::string_view) override {}
  int64_t ShellOpen(std::string_view file, std::string_view parameters) override;
  void StartMonitor(int32_t intervalMs, int32_t ioPeriodMs) override;
  void SetLastSelection(std::string_view callsign) override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  enum class Look { kGray, kRed, kGreen, kBlue };

  void CreateControls();
  void CreateTray();
  void RefreshServerStatus();
  void SetLook(Look look, bool iconsToo = true);
  void Balloon(const std::string& text);
  void SetToolTip(const std::string& text);
  std::string ListeningText() const;
  void StopMonitor();

  void spServer_ConnectionRequest(const std::string& index, uintptr_t requestID);
  void spServer_DataArrival(const std::string& index);
  void spServer_CloseSck(const std::string& index);
  void spServer_Error(const std::string& index, const std::string& description);
  void RunQueuedCommands();
  // Runs one received command; false when it was refused unrun.
  bool ElaboraComando(const std::string& command);
  void tmrMonitor_Timer();
  void SendToClient(const std::string& report);
  void m_frmSysTray_MenuClick(const std::string& key);
  void RestoreWindow();
  void Form_Resize(WPARAM how);

  App& app_;
  ivac::Win32Automation& ivac_;
  panels::Interpreter interpreter_;
  const std::string index_;  // the socket element: the server name
  CSocketPlus spServer_;
  ServerDecoder decoder_;
  CommandQueue queue_;
  Monitor monitor_;
  std::unique_ptr<panels::SysTray> tray_;
  int trayBalloonOn_ = 0, trayBalloonOff_ = 0, trayListen_ = 0, trayClose_ = 0;

  HWND cmdListen_ = nullptr, cmdClose_ = nullptr, txtPort_ = nullptr, chkBallons_ = nullptr;
  HWND lblInfo_ = nullptr, picInfo_ = nullptr, label1_ = nullptr;
  win::Icon icons_[4], smallIcons_[4];
  // The looks on show, so that a burst of commands repaints nothing twice
  // (-1: none yet).
  int pictureLook_ = -1, iconLook_ = -1;
  std::string status_;
  std::string listenAddress_;
  bool established_ = false;
  bool restoring_ = false;
};

}  // namespace qv::remote
