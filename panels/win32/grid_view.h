// picMain: the panel's button grid, drawn in one window. A panel may hold
// 99 x 99 buttons; as child windows they would use up the process's window
// handles, so the grid keeps the buttons as data and draws them itself, with
// the look of graphical check-box buttons: raised when up, sunk while held
// or latched down.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "panels/panel_file.h"
#include "platform/win32/handles.h"
#include "platform/win32/ui.h"

namespace qv::panels {

struct GridButton {
  RECT rect{};      // pixels, in the grid's client area
  ButtonLook look;  // what the loader read
  bool visible = true;
  bool enabled = true;
  bool pressed = false;  // the check-box value: latched down
  bool hideTag = false;  // its "macro" was "|HIDE" when the panel was laid out
};

class GridView : public win::WindowBase {
 public:
  GridView() = default;
  ~GridView() override;
  bool Create(HWND parent);

  // Replaces all buttons (index 0 is unused; buttons are 1..n).
  void SetButtons(std::vector<GridButton> buttons);
  GridButton* Button(int index);
  int Count() const { return static_cast<int>(buttons_.size()) - 1; }
  void Invalidate(int index);
  void SetBackColor(COLORREF color);

  // The button under a client point, 0 for the background.
  int HitTest(POINT client) const;
  // The centre of button `index` in screen pixels (tests click there).
  POINT CentreOnScreen(int index) const;

  // Events for the panel window.
  std::function<void(int index)> onClick;                  // left click released on a button
  std::function<void(int index, bool altOnly)> onRightUp;  // right button released on a button
  std::function<void()> onBackgroundDown;                  // any button on the background
  std::function<void()> onBackgroundDoubleClick;
  std::function<void(bool overButton)> onMouseMove;
  // Left button pressed on one button and released on another (the preview
  // swaps them); without it such a release does nothing.
  std::function<void(int from, int to)> onDrop;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc, const RECT& dirty);
  void DrawButton(HDC dc, const GridButton& b, bool sunk);
  HFONT FontFor(const ButtonLook& look);
  void UpdateTooltip(int index);

  std::vector<GridButton> buttons_{1};
  std::vector<int> drawOrder_;  // back to front
  COLORREF back_ = GetSysColor(COLOR_BTNFACE);
  int held_ = 0;  // button under a held left button
  bool heldInside_ = false;
  int hovered_ = -1;
  HWND tooltip_ = nullptr;
  std::string tipText_;
  std::map<std::tuple<std::string, int, int>, win::Font> fonts_;
};

// How a window shows its grid: the running panel hides hidden buttons and
// those whose "macro" is "|HIDE"; the preview shows every button, enabled,
// so that each can be edited (a hidden one keeps the tooltip "*HIDDEN*").
enum class GridMode { kRunning, kPreview };

// The grid of a panel as every window lays it out: one button per cell, row
// by row, each with the loader's normal look, in pixels of this screen.
std::vector<GridButton> LayOutGrid(const ValueReader& file, const PanelSetup& setup, GridMode mode);

// Reads button `index` again (normal or down look) where it stands; the
// "|HIDE" rule stays as the layout decided it.
void ReloadLook(GridButton& button, const ValueReader& file, int index, bool downLook,
                const PanelSetup& setup, GridMode mode);

// Screen colour of a panel colour value (system colours by index).
COLORREF PanelColor(int32_t value);

}  // namespace qv::panels
