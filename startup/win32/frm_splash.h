// frmSplash, "About ...": the program's description, its version from its
// own version resource, two pictures and two links. Shown for half a second
// when the panel manager starts, and as the manager's about box.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/ui.h"

namespace qv::startup {

inline constexpr const char* kSplashClass = "QuorvexSplash";
inline constexpr const char* kDescription =
    "Quorvex: an IvAc add-on to add Macro funcionalities to IvAc - IVAO Virtual ATC client\"";

class SplashWindow : public win::WindowBase {
 public:
  enum ControlId : int {
    kIdDescription = 2001,
    kIdVersion = 2002,
    kIdHome = 2003,
    kIdMe = 2004,
    kIdHint = 2005,
    kIdImage1 = 2006,
    kIdImage2 = 2007,
  };

  // Form_Load: builds the window (not shown yet) and fills the description
  // and the version.
  bool Load(HWND owner);
  // Start-up: "Loading ..." under the description.
  void AppendLoading();
  // Shows it without waiting.
  void Show();
  // The about box: shown until it is clicked or closed; `owner` is disabled
  // meanwhile.
  void ShowModal(HWND owner);
  void Unload();

  // The page each link opens: the program's README (beside the program or in
  // a folder above it), else the program's folder.
  static std::string HomePage();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Layout();
  void OpenLink();

  HWND description_ = nullptr, version_ = nullptr, home_ = nullptr, me_ = nullptr;
  HWND hint_ = nullptr, image1_ = nullptr, image2_ = nullptr, tooltip_ = nullptr;
  win::Font linkFont_, boldFont_;
  win::Icon bigIcon_, smallIcon_;
  HWND owner_ = nullptr;
  bool closed_ = false;
};

}  // namespace qv::startup
