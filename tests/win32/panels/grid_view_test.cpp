// The drawn grid of a running panel, in this process: what a partial repaint
// puts on the screen, and a press that a new layout interrupts.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "panels/win32/grid_view.h"
#include "win32/support/e2e.h"

namespace qv::panels {
namespace {

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "grid host", WS_POPUP | WS_VISIBLE, 40, 40,
                              300, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    ASSERT_TRUE(grid_.Create(parent_));
    MoveWindow(grid_.Hwnd(), 0, 0, 300, 120, TRUE);
    grid_.SetBackColor(RGB(10, 10, 10));
    // Two buttons side by side, red and blue.
    std::vector<GridButton> buttons(3);
    const COLORREF colours[] = {RGB(220, 0, 0), RGB(0, 0, 220)};
    for (int i = 1; i <= 2; ++i) {
      GridButton& b = buttons[static_cast<size_t>(i)];
      b.rect = RECT{10 + (i - 1) * 140, 10, 140 + (i - 1) * 140, 110};
      b.look.backColor = static_cast<int32_t>(colours[i - 1]);
    }
    grid_.SetButtons(buttons);
    UpdateWindow(grid_.Hwnd());
  }
  void TearDown() override { DestroyWindow(parent_); }

  // The pixel as the grid shows it.
  COLORREF Pixel(int x, int y) const { return qv::e2e::PixelAt(grid_.Hwnd(), x, y); }

  HWND parent_ = nullptr;
  GridView grid_;
};

TEST_F(GridTest, APartialRepaintDrawsWhatIsUnderIt) {
  // Paint black over everything, then let the grid repaint small pieces in
  // the middle of each button and of the background between them.
  struct Case {
    RECT area;
    POINT probe;
    COLORREF want;
  } cases[] = {
      {{60, 50, 80, 70}, {70, 60}, RGB(220, 0, 0)},
      {{200, 40, 230, 90}, {215, 60}, RGB(0, 0, 220)},
      {{141, 40, 149, 90}, {145, 60}, RGB(10, 10, 10)},
  };
  for (const Case& c : cases) {
    HDC dc = GetDC(grid_.Hwnd());
    RECT all{0, 0, 300, 120};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(grid_.Hwnd(), dc);
    InvalidateRect(grid_.Hwnd(), &c.area, FALSE);
    UpdateWindow(grid_.Hwnd());
    EXPECT_EQ(Pixel(c.probe.x, c.probe.y), c.want) << c.probe.x;
    // Outside the repainted piece nothing was drawn.
    EXPECT_EQ(Pixel(c.area.right + 3, c.probe.y), RGB(255, 255, 255)) << c.probe.x;
  }
}

TEST_F(GridTest, ANewLayoutDropsAHeldPressAndItsCapture) {
  std::vector<int> clicks;
  grid_.onClick = [&](int index) { clicks.push_back(index); };
  SendMessageA(grid_.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 60));
  EXPECT_EQ(GetCapture(), grid_.Hwnd());
  // A script run by an earlier click switches the panel meanwhile.
  std::vector<GridButton> again(2);
  again[1].rect = RECT{10, 10, 140, 110};
  grid_.SetButtons(again);
  EXPECT_NE(GetCapture(), grid_.Hwnd());
  SendMessageA(grid_.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(70, 60));
  EXPECT_TRUE(clicks.empty());
  // The next press and release is a click like any other.
  SendMessageA(grid_.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 60));
  SendMessageA(grid_.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(70, 60));
  EXPECT_EQ(clicks, std::vector<int>{1});
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

}  // namespace
}  // namespace qv::panels
