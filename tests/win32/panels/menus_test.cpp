// The popup menus and the notification-area icon object, in this process:
// menus are really shown and driven with the keyboard while they are open;
// what they held is read from the shown menu itself.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ivac/win32_automation.h"
#include "panels/win32/cmenu.h"
#include "panels/win32/frm_ivao.h"
#include "panels/win32/systray.h"
#include "platform/files.h"
#include "startup/app.h"
#include "win32/support/e2e.h"
#include "win32/support/menu_visit.h"

namespace qv::panels {
namespace {

using e2e::MenuVisit;
using e2e::Shown;
using e2e::Visit;
using Texts = std::vector<std::string>;

// A plain visible window of this process to own menus and to align them to.
class Host : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE | WS_BORDER, 200, 150, 120,
                              40, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }
  HWND window_ = nullptr;
};

using MenuTest = Host;

TEST_F(MenuTest, ItemsCarryTheirLooksAndTheChosenIdComesBack) {
  struct Case {
    const char* name;
    std::vector<UINT> keys;
    int32_t chosen;
  } cases[] = {
      // Down from nothing selects "First", then "Grayed", then "Checked".
      {"enter on the checked item", {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 12},
      {"escape", {VK_ESCAPE}, 0},
      {"enter on the grayed item, then escape", {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CMenu menu;
    menu.AddItem(10, "First", true);
    menu.AddItem(0, "-");
    menu.AddItem(11, "Grayed", false, false, false, true);
    menu.AddItem(12, "Checked", false, true);
    int32_t chosen = -1;
    const MenuVisit visit = Visit(c.keys, [&] { chosen = menu.TrackPopup(window_, 50, 60); });
    EXPECT_EQ(chosen, c.chosen);
    EXPECT_EQ(Shown(visit),
              (Texts{"First (default)", "-", "Grayed (grayed)", "Checked (checked)"}));
  }
}

TEST_F(MenuTest, PlacedBelowTheAlignmentWindowOrAtTheCursor) {
  RECT host{};
  GetWindowRect(window_, &host);
  SetCursorPos(400, 300);
  struct Case {
    const char* name;
    int x, y;
    HWND alignment;
    POINT want;
  } cases[] = {
      {"alignment window wins over x and y", 5, 5, window_, {host.left, host.bottom}},
      {"cursor for both", -1, -1, CMenu::kNoAlignment, {400, 300}},
      {"cursor for x only", -1, 120, CMenu::kNoAlignment, {400, 120}},
      {"given point", 30, 40, CMenu::kNoAlignment, {30, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CMenu menu;
    menu.AddItem(1, "Only");
    // Owner 0: the first window of this process owns it.
    const MenuVisit visit =
        Visit({VK_ESCAPE}, [&] { menu.TrackPopup(nullptr, c.x, c.y, c.alignment); });
    EXPECT_EQ(visit.rect.left, c.want.x);
    EXPECT_EQ(visit.rect.top, c.want.y);
  }
}

TEST_F(MenuTest, ASubmenuShowsItsOwnCaptionAndOutlivesTheMenuItWasAttachedTo) {
  CMenu sub;
  sub.caption = "More";
  sub.AddItem(31, "Inner");
  {
    CMenu menu;
    menu.AddItem(30, "Outer");
    menu.AddSubmenu(sub);
    int32_t chosen = -1;
    // Into the submenu with Right, then its only item.
    const MenuVisit visit = Visit({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN},
                                  [&] { chosen = menu.TrackPopup(window_, 20, 20); });
    EXPECT_EQ(Shown(visit), (Texts{"Outer", "More"}));
    EXPECT_EQ(chosen, 31);
  }
  // Its own object still holds a live menu, and destroys it itself.
  EXPECT_EQ(GetMenuItemCount(sub.Handle()), 1);
}

// The tray object ---------------------------------------------------------

using SysTrayTest = Host;

TEST_F(SysTrayTest, MenuIndexesDefaultsAndRemoval) {
  SysTray tray;
  EXPECT_EQ(tray.AddMenuItem("Title", "none", true), 0);
  EXPECT_EQ(tray.AddMenuItem("-", ""), 1);
  EXPECT_EQ(tray.AddMenuItem("A", "a"), 2);
  EXPECT_EQ(tray.AddMenuItem("B", "b", true), 3);
  EXPECT_EQ(tray.AddMenuItem("C", "c"), 4);
  EXPECT_EQ(tray.DefaultMenuIndex(), 3);
  for (int bad : {-1, 5, 99}) {
    tray.SetDefaultMenuIndex(bad);
    EXPECT_EQ(tray.DefaultMenuIndex(), 0) << bad;
  }
  tray.SetDefaultMenuIndex(2);
  // Removing "A" moves "B" and "C" (with their keys) down one place.
  tray.RemoveMenuItem(2);
  tray.RemoveMenuItem(7);   // out of bounds: nothing
  tray.RemoveMenuItem(-1);  // nothing
  tray.EnableMenuItem(9, false);
  tray.EnableMenuItem(3, false);
  EXPECT_EQ(tray.MenuCount(), 4);
  std::vector<std::pair<int, std::string>> clicks;
  tray.MenuClick = [&](int index, const std::string& key) { clicks.emplace_back(index, key); };
  // Down: "Title", then "B" (index 2 now, the default).
  MenuVisit visit = Visit({VK_DOWN, VK_DOWN, VK_RETURN}, [&] { tray.ShowMenu(); });
  EXPECT_EQ(Shown(visit), (Texts{"Title", "-", "B (default)", "C (grayed)"}));
  const std::vector<std::pair<int, std::string>> once{{2, "b"}};
  EXPECT_EQ(clicks, once);

  // Removing item 0 only empties its caption; the menu keeps its length.
  tray.RemoveMenuItem(0);
  visit = Visit({VK_ESCAPE}, [&] { tray.ShowMenu(); });
  EXPECT_EQ(Shown(visit), (Texts{"", "-", "B (default)", "C (grayed)"}));
  EXPECT_EQ(clicks, once);
}

TEST_F(SysTrayTest, TheShellsNotificationsBecomeEvents) {
  SysTray tray;
  std::vector<std::string> events;
  tray.SysTrayMouseDown = [&](int b) { events.push_back("down " + std::to_string(b)); };
  tray.SysTrayMouseUp = [&](int b) { events.push_back("up " + std::to_string(b)); };
  tray.SysTrayMouseMove = [&] { events.push_back("move"); };
  tray.SysTrayDoubleClick = [&](int b) { events.push_back("double " + std::to_string(b)); };
  tray.BalloonShow = [&] { events.push_back("balloon show"); };
  tray.BalloonHide = [&] { events.push_back("balloon hide"); };
  tray.BalloonTimeOut = [&] { events.push_back("balloon timeout"); };
  tray.BalloonClicked = [&] { events.push_back("balloon clicked"); };
  const struct {
    UINT code;
    const char* want;  // "" for no event
  } cases[] = {
      {WM_LBUTTONDOWN, ""},
      {WM_LBUTTONUP, "down 1"},
      {WM_RBUTTONDOWN, "down 2"},
      {WM_RBUTTONUP, "up 2"},
      {WM_MOUSEMOVE, "move"},
      {WM_LBUTTONDBLCLK, "double 1"},
      {WM_RBUTTONDBLCLK, "double 2"},
      {WM_MBUTTONDOWN, ""},
      {1026, "balloon show"},
      {1027, "balloon hide"},
      {1028, "balloon timeout"},
      {1029, "balloon clicked"},
      {1030, ""},
  };
  for (const auto& c : cases) {
    events.clear();
    // The shell sends its callback message with the code in lParam's low word.
    SendMessageA(tray.Hwnd(), SysTray::kCallbackMessage, 0, static_cast<LPARAM>(c.code));
    const std::vector<std::string> want =
        *c.want ? std::vector<std::string>{c.want} : std::vector<std::string>{};
    EXPECT_EQ(events, want) << "code " << c.code;
  }
}

TEST_F(SysTrayTest, ToolTipIsCutToItsField) {
  SysTray tray;
  const struct {
    size_t length;
    size_t kept;
  } cases[] = {{300, 127}, {128, 127}, {127, 127}, {20, 20}, {0, 0}};
  // Each shorter than the one before: a new tooltip replaces the whole old one.
  for (const auto& c : cases) {
    const std::string text(c.length, 'x');
    tray.SetToolTip(text);
    EXPECT_EQ(tray.ToolTip(), text.substr(0, c.kept)) << c.length;
  }
}

// A running panel of this process: what its control box and menus show.
class PanelWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.folders = MakeFolders(qv::e2e::CaseFolder());
    CreateFolders(app_.folders);
    app_.currentPanel = "Menus";
  }
  void Panel(const std::string& setup) {
    ASSERT_TRUE(files::WriteAtomic(app_.folders.panels + "\\Menus.ini",
                                   "[Setup]\r\nRows=1\r\nCols=1\r\nTop=3000\r\nLeft=3000\r\n" +
                                       setup + "[01]\r\nLabel=A\r\n"));
  }
  static std::string TipOf(HWND tooltip, HWND tool) {
    char text[256] = {};
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = GetParent(tool);
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    ti.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
  }
  App app_;
  ivac::Win32Automation ivac_;
};

TEST_F(PanelWindowTest, ControlBoxTooltipsThePanelMenuAndTheTrayShowTheirExactTexts) {
  Panel("SysTray=-1\r\nOnTop=-1\r\nAutoHide=0\r\n");
  PanelWindow panel(app_, ivac_);
  ASSERT_TRUE(panel.Load());
  // The control box's tooltip window, among the top-level windows.
  HWND tooltip = nullptr;
  while ((tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr)) &&
         GetWindowThreadProcessId(tooltip, nullptr) != GetCurrentThreadId()) {
  }
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(TipOf(tooltip, GetDlgItem(panel.Hwnd(), 101)), "Exit");
  EXPECT_EQ(TipOf(tooltip, GetDlgItem(panel.Hwnd(), 102)), "Open Function Menu");
  EXPECT_EQ(TipOf(tooltip, GetDlgItem(panel.Hwnd(), 103)),
            "Set Macro Assistant Window always to foreground");

  MenuVisit visit = Visit({VK_ESCAPE}, [&] {
    SendMessageA(panel.Hwnd(), WM_COMMAND, MAKEWPARAM(102, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(panel.Hwnd(), 102)));
  });
  // Nothing to go back to; on top.
  EXPECT_EQ(Shown(visit), (Texts{"Previous Assistant (grayed)", "WinOnTop (checked)",
                                 "AutoHide ControlBox", "Exit"}));

  ASSERT_NE(panel.Tray(), nullptr);
  EXPECT_EQ(panel.Tray()->ToolTip(), "Quorvex - " + qv::e2e::WindowText(panel.Hwnd()));
  visit = Visit({VK_ESCAPE}, [&] {
    SendMessageA(panel.Tray()->Hwnd(), SysTray::kCallbackMessage, 0, WM_RBUTTONDOWN);
  });
  // On top: only "Window Standard" can be chosen; nothing to go back to.
  EXPECT_EQ(Shown(visit), (Texts{"Panel: " + qv::e2e::WindowText(panel.Hwnd()) + " (default)", "-",
                                 "Window Standard", "Window On Top (grayed)", "-",
                                 "Previous Panel (grayed)", "Close Menu", "-", "Exit"}));
}

}  // namespace
}  // namespace qv::panels
