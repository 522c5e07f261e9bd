// frmSysTray: a hidden window that owns one icon in the notification area,
// its tooltip, balloon messages and a popup menu, and turns the shell's
// notifications into events for its owner. The icon is added when the object
// is created and removed when it goes.
#pragma once

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/ui.h"

namespace qv::panels {

class SysTray : public win::WindowBase {
 public:
  SysTray();
  ~SysTray() override;

  // Events, raised on the user-interface thread.
  std::function<void(int button)> SysTrayMouseDown;
  std::function<void(int button)> SysTrayMouseUp;
  std::function<void()> SysTrayMouseMove;
  std::function<void(int button)> SysTrayDoubleClick;
  std::function<void(int index, const std::string& key)> MenuClick;
  std::function<void()> BalloonShow, BalloonHide, BalloonTimeOut, BalloonClicked;

  // Menu: the first call uses item 0, later calls append; "-" is a separator.
  int AddMenuItem(const std::string& caption, const std::string& key, bool isDefault = false);
  void EnableMenuItem(int index, bool enabled);
  void RemoveMenuItem(int index);
  void SetMenuCaption(int index, const std::string& caption);
  int DefaultMenuIndex() const { return defaultIndex_; }
  void SetDefaultMenuIndex(int index);
  int MenuCount() const { return static_cast<int>(items_.size()); }
  // Shows the menu at the pointer; returns after it closed (MenuClick raised
  // for a chosen item by then).
  void ShowMenu();

  std::string ToolTip() const;
  // The text of the latest balloon.
  std::string BalloonText() const;
  void SetToolTip(const std::string& text);
  HICON IconHandle() const { return data_.hIcon; }
  void SetIconHandle(HICON icon);
  void ShowBalloonTip(const std::string& text, const std::string& title, DWORD iconFlags,
                      UINT timeoutMs);

  // The shell's callback message: the notification comes in lParam.
  static constexpr UINT kCallbackMessage = WM_MOUSEMOVE;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Item {
    std::string caption;
    std::string key;
    bool enabled = true;
  };
  void Notify(DWORD message);
  void OnNotification(UINT code);

  NOTIFYICONDATAW data_{};
  std::vector<Item> items_;
  bool firstItemUsed_ = false;
  int defaultIndex_ = 0;
  UINT taskbarCreated_ = 0;
};

}  // namespace qv::panels
