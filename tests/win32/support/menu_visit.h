// Reading and driving a popup menu of this thread while it is shown: the
// test starts what shows the menu, a timer reads the menu window's items and
// then posts keys to it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qv::e2e {

// One item of a shown menu, as the menu window holds it.
struct ShownItem {
  std::string text;  // "-" for a separator
  bool grayed = false;
  bool checked = false;
  bool isDefault = false;
};

// While a menu of this thread is shown: what it holds, where it is, and the
// keys that are then posted to it.
struct MenuVisit {
  std::vector<UINT> keys;
  bool seen = false;
  std::vector<ShownItem> items;
  RECT rect{};
};

// Runs `show` (which shows a menu and returns when it closes) while a timer
// reads the menu and then presses `keys` in it.
MenuVisit Visit(const std::vector<UINT>& keys, const std::function<void()>& show);

// The items with their state, in order: the text followed by " (grayed)",
// " (checked)" and " (default)" as they apply ("-" for a separator, which
// the system reports as grayed).
std::vector<std::string> Shown(const MenuVisit& v);

}  // namespace qv::e2e
