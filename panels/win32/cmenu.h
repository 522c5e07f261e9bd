// cMenu: one popup menu, filled item by item and shown at a point; the
// chosen item's command id comes back (0 when the menu was dismissed). The
// menu lives exactly as long as the object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/win32/handles.h"

namespace qv::panels {

class CMenu {
 public:
  CMenu();
  ~CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  // Shown as the item text when this menu is attached as a submenu.
  std::string caption;

  // A string item; "-" appends a separator instead.
  void AddItem(int32_t id, const std::string& text, bool isDefault = false, bool checked = false,
               bool disabled = false, bool grayed = false, bool barBreak = false);
  // Another menu as a submenu, shown with its own caption.
  void AddSubmenu(const CMenu& sub, bool isDefault = false, bool disabled = false,
                  bool grayed = false, bool barBreak = false);

  // Shows the menu and returns the chosen id, 0 when dismissed. Owner 0 or
  // -1 stands for the first top-level window of this process. With an
  // alignment window the menu opens below its bottom-left corner; otherwise
  // at x, y in screen pixels, -1 taking the cursor's coordinate. When this
  // process has no window to own the menu, returns 0 and `error` (if given)
  // tells why.
  int32_t TrackPopup(HWND owner, int x, int y, HWND alignment = kNoAlignment,
                     std::string* error = nullptr) const;

  HMENU Handle() const { return menu_.Get(); }

  static inline const HWND kNoAlignment = reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));
  static constexpr const char* kNoOwnerSource = "cMenu.TrackPopup";
  static constexpr const char* kNoOwnerText = "Cannot find top window of current process!";

 private:
  win::Menu menu_;
};

// The first top-level window of this process in z-order, or null.
HWND FirstWindowOfProcess();

}  // namespace qv::panels
