// frmConfig, "Preferences": the settings window. It edits the remote and
// timing settings of Config.ini; the panel manager opens it modally.
#pragma once

#include <windows.h>

#include "platform/win32/ui.h"
#include "startup/app.h"
#include "startup/settings.h"

namespace qv::startup {

inline constexpr const char* kConfigClass = "QuorvexConfig";
inline constexpr const char* kConfigCaption = "Preferences";

class ConfigWindow : public win::WindowBase, private SaveConfigUi {
 public:
  enum ControlId : int {
    kIdServerName = 3001,
    kIdServerAddress = 3002,
    kIdPort = 3003,
    kIdComBoxFreq = 3004,
    kIdSleep = 3005,
    kIdDebug = 3006,
    kIdSave = 3007,
    kIdCancel = 3008,
    kIdPicture = 3009,
  };

  explicit ConfigWindow(App& app) : app_(app) {}

  // Load, show and wait until the window closes; `owner` is disabled
  // meanwhile and shown again at the end.
  void ShowModal(HWND owner);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Form_Load();
  void GetConfig();
  bool DoSaveConfig();
  void cmdSave_Click();
  void Form_QueryUnload();
  void Unload();

  // SaveConfigUi.
  void Message(std::string_view text) override;
  bool ConfirmAddress(std::string_view text) override;
  void Focus(Field field) override;

  App& app_;
  HWND txtServerName_ = nullptr, txtServerAddress_ = nullptr, txtPort_ = nullptr;
  HWND txtComBoxFreq_ = nullptr, txtSleep_ = nullptr, chkDebug_ = nullptr;
  HWND tooltip_ = nullptr;
  bool changed_ = false;
  bool loading_ = false;
  bool done_ = false;
};

}  // namespace qv::startup
