// The running panel from end to end: quorvex.exe opens a panel written by the
// test into a fresh AppData folder, the IvAc stand-in runs beside it, the test
// clicks the buttons with real mouse input at their centres and reads the
// effects from the stand-in's log and from the panel's status line.
#include <sstream>
#include <string>

#include "win32/support/program_case.h"

namespace {

using namespace qv::e2e;
using qv::standin::Where;

constexpr int kStatusLineId = 104;  // lblInfo
constexpr int kExitButtonId = 101;  // cmdExit
constexpr int kOnTopCheckId = 103;  // chkOnTop
constexpr int kMenuButtonId = 102;  // cmdMenu
constexpr DWORD kSettleMs = 500;

// Every panel of these tests has the same grid geometry, in twips.
constexpr int kBorderLeft = 120, kSpacing = 60, kCellW = 1200;

std::string SetupSection(const std::string& description, int rows, int cols) {
  return "[Setup]\r\nDescription=" + description + "\r\nButtonWidth=1200\r\nButtonHeight=420" +
         "\r\nRows=" + std::to_string(rows) + "\r\nCols=" + std::to_string(cols) +
         "\r\nTop=9000\r\nLeft=9000\r\n";
}

class PanelE2E : public ProgramCase {
 protected:
  void SetUp() override {
    ProgramCase::SetUp();
    Write("Config\\Config.ini", "[default]\r\nSleep=10\r\n");
  }

  void StartPanel(const std::string& name) {
    window_ = Start(name, "QuorvexPanel");
    ASSERT_NE(window_, nullptr) << "no panel window";
    grid_ = FindWindowExA(window_, nullptr, "QuorvexGrid", nullptr);
    ASSERT_NE(grid_, nullptr);
    // Laid out: the status line names the panel.
    ASSERT_TRUE(WaitStatus("Running panel: " + name));
  }

  POINT Centre(int n, int cols) const { return GridCentre(grid_, n, cols, cellH_, dpi_); }

  // Opens the panel menu with a click on the M button.
  ::testing::AssertionResult OpenPanelMenu() {
    Click(GetDlgItem(window_, kMenuButtonId));
    if (WaitFor([&] { return !TopWindowsOf(process_->Id(), "#32768", "").empty(); }, 5000))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no panel menu";
  }

  ::testing::AssertionResult WaitStatus(const std::string& want, DWORD ms = 5000) const {
    return WaitText(GetDlgItem(window_, kStatusLineId), want, ms);
  }
  ::testing::AssertionResult WaitCaption(const std::string& want) const {
    return WaitText(window_, want, 5000);
  }
  // Waits until the window's rectangle, read into `r`, passes `ok`.
  bool WaitRect(RECT& r, const std::function<bool()>& ok) const {
    return WaitFor([&] { return GetWindowRect(window_, &r) && ok(); }, 5000);
  }

  // A point of button n whose colour is sampled: off its caption, near its
  // left edge (a caption grows with the DPI).
  POINT Sample(int n, int cols) const {
    const POINT c = Centre(n, cols);
    return POINT{c.x - MulDiv(30, dpi_ ? dpi_ : 96, 96), c.y};
  }
  ::testing::AssertionResult Shows(POINT sample, COLORREF want) const {
    if (WaitFor([&] { return PixelAt(nullptr, sample.x, sample.y) == want; }, 3000))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "colour " << std::hex << PixelAt(nullptr, sample.x, sample.y);
  }

  HWND window_ = nullptr;
};

// At 144 dpi, the grid laid out in twips: inline and file scripts drive the
// comm box; two-state buttons, blue normally, alternate their scripts and
// looks: type 1 alternates "macro" and "macroReleased" with the looks (red
// while the kept state is on); type 2 latches down with "macro" and comes up
// with "macroReleased", in its down look (green) between.
TEST_F(PanelE2E, ScriptsDriveTheCommBoxAndTwoStateButtonsAlternateAt144Dpi) {
  ScreenDpi dpi(144);
  dpi_ = 144;
  Panel("Chat", SetupSection("chat", 2, 2) +
                    "[01]\r\nLabel=Ground\r\nMacro=|COMMBOX 2|SEND_TEXT hello ground\r\n"
                    "[02]\r\nLabel=File\r\nMacro=Tower.txt\r\n"
                    "[03]\r\nType=1\r\nLabel=NDB\r\nLabelReleased=NDB on\r\n"
                    "Macro=|PRESS NDB\r\nMacroReleased=|RELEASE NDB\r\n"
                    "Color=0000000016711680\r\nColorReleased=0000000000000255\r\n"
                    "[04]\r\nType=2\r\nLabel=VOR\r\nMacro=|PRESS VOR\r\n"
                    "MacroReleased=|RELEASE VOR\r\nColor=0000000016711680\r\n"
                    "ColorReleased=0000000000065280\r\n");
  Macro("Tower.txt",
        "; Quorvex Definition file\r\nCOMMBOX 1\r\nADD_TEXT_NOSPACE wind\r\n"
        "ADD_TEXT calm\r\nSEND_TEXT\r\n");
  StartStandIn("pressed = AP\n");
  StartPanel("Chat");
  // The grid is as many pixels as its twips make at 144 dpi (10 twips a pixel).
  RECT grid{};
  GetClientRect(grid_, &grid);
  EXPECT_GE(grid.right, (kBorderLeft + 2 * kCellW + kSpacing) / 10) << "laid out at 96 dpi?";

  const int64_t before = standin_.LastSeq();
  ClickCell(1, 2);
  EXPECT_TRUE(
      standin_.WaitFor("chat_sent", Where{{"tab", "2"}, {"text", "hello ground"}}, before, 5000));
  EXPECT_TRUE(WaitStatus("hello ground Text sent"));

  const int64_t middle = standin_.LastSeq();
  ClickCell(2, 2);
  EXPECT_TRUE(
      standin_.WaitFor("chat_sent", Where{{"tab", "1"}, {"text", "wind calm"}}, middle, 5000));
  EXPECT_TRUE(WaitStatus(" Text sent"));

  const struct {
    int button;
    const char* code;
    COLORREF down;
  } cases[] = {{3, "NDB", RGB(255, 0, 0)}, {4, "VOR", RGB(0, 255, 0)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const POINT sample = Sample(c.button, 2);
    EXPECT_TRUE(Shows(sample, RGB(0, 0, 255)));
    for (const char* pressed : {"true", "false"}) {
      const int64_t seq = standin_.LastSeq();
      ClickCell(c.button, 2);
      EXPECT_TRUE(
          standin_.WaitFor("toolbar", Where{{"button", c.code}, {"pressed", pressed}}, seq, 5000));
      EXPECT_TRUE(Shows(sample, pressed == std::string("true") ? c.down : RGB(0, 0, 255)));
    }
  }
}

// A hung IvAc: the run ends in time and the panel stays responsive. Then,
// during a run, a click does nothing and X's close waits for its end.
TEST_F(PanelE2E, AHungIvacEndsTheRunInTimeAndDuringARunClicksWaitOrAreRefused) {
  // A run that lets events through while it waits: twelve label commands at
  // a Sleep of 150 ms take about two seconds.
  std::string long_run;
  for (int i = 0; i < 12; ++i) long_run += "|SHOW_FPL";
  Write("Config\\Config.ini", "[default]\r\nSleep=150\r\n");
  Panel("Busy",
        SetupSection("busy", 1, 3) + "[01]\r\nLabel=Long\r\nMacro=" + long_run +
            "\r\n[02]\r\nType=2\r\nLabel=VOR\r\nMacro=|PRESS VOR\r\n"
            "MacroReleased=|RELEASE VOR\r\nColor=0000000016711680\r\n"
            "ColorReleased=0000000000065280\r\n[03]\r\nLabel=Hello\r\nMacro=|SEND_TEXT hello\r\n");
  StartStandIn("traffic = AFR1234\nselected = AFR1234\n");
  StartPanel("Busy");
  const int64_t before = standin_.LastSeq();
  ASSERT_TRUE(standin_.Control("hang = 9000"));
  ASSERT_TRUE(standin_.WaitFor("hang", {}, before, 3000));

  ClickCell(3, 3);
  const DWORD clicked = GetTickCount();
  EXPECT_TRUE(WaitStatus("IvAc is not responding - command abandoned", 6000));
  EXPECT_LT(GetTickCount() - clicked, 5000u) << "the run waited too long on the hung IvAc";

  // While IvAc still hangs the panel answers at once (it does not wait on
  // IvAc again to bring it to the front), moves and repaints.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer), 0);
  RECT was{};
  GetWindowRect(window_, &was);
  SetWindowPos(window_, nullptr, was.left + 40, was.top + 30, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
  // (Where it lands is not compared: after the suite's 144-dpi case Wine may
  // scale this process's coordinates, and the panel keeps itself on screen.)
  RECT now{};
  EXPECT_TRUE(WaitRect(now, [&] { return now.left != was.left || now.top != was.top; }))
      << "the panel did not move";
  InvalidateRect(grid_, nullptr, FALSE);
  EXPECT_TRUE(WaitFor([&] { return !GetUpdateRect(grid_, nullptr, FALSE); }, 2000))
      << "the grid was not repainted";
  EXPECT_TRUE(standin_.Find("hang_over", before).empty()) << "the checks ran after the hang";

  // The Enter of the abandoned line must not reach IvAc once it wakes up;
  // the next click works.
  ASSERT_TRUE(standin_.WaitFor("hang_over", {}, before, 12000));
  Sleep(1000);
  EXPECT_TRUE(standin_.Find("chat_sent", before).empty());
  const int64_t after = standin_.LastSeq();
  ClickCell(3, 3);
  EXPECT_TRUE(standin_.WaitFor("chat_sent", Where{{"text", "hello"}}, after, 5000));
  EXPECT_TRUE(WaitStatus("hello Text sent"));

  const POINT sample = Sample(2, 3);
  ASSERT_TRUE(Shows(sample, RGB(0, 0, 255)));

  // A click on the two-state button while the long run goes on: refused,
  // its look stays up and its script does not run.
  int64_t seq = standin_.LastSeq();
  ClickCell(1, 3);
  ASSERT_TRUE(standin_.WaitFor("label_action", {}, seq, 5000));
  qv::standin::ClickAt(Centre(2, 3), false);
  ASSERT_TRUE(WaitFor([&] { return standin_.Find("label_action", seq).size() >= 12; }, 10000));
  Sleep(kSettleMs);
  EXPECT_TRUE(standin_.Find("toolbar", seq).empty()) << "the refused click ran its script";
  EXPECT_TRUE(Shows(sample, RGB(0, 0, 255))) << "the refused click flipped the button";

  // X during a run: its close is carried out once the run has ended, not
  // before, and ends the process of a command-line panel.
  seq = standin_.LastSeq();
  ClickCell(1, 3);
  ASSERT_TRUE(standin_.WaitFor("label_action", {}, seq, 5000));
  Click(GetDlgItem(window_, kExitButtonId));
  Sleep(300);
  EXPECT_TRUE(IsWindow(window_)) << "closed in the middle of the run";
  DWORD code = 1234;
  EXPECT_TRUE(process_->WaitExit(10000, &code)) << "the close was not carried out after the run";
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(standin_.Find("label_action", seq).size(), 12u);
}

// OPEN, CALL and BACK switch the same window; a panel without a position
// is placed by the size of the window before it; "Previous Assistant" and
// Backspace go back; each switch logs one line.
TEST_F(PanelE2E, OpenCallBackAndPreviousAssistantSwitchTheSameWindow) {
  Write("Config\\Config.ini", "[default]\r\nSleep=10\r\nDebug=1\r\n");
  Panel("Main", SetupSection("main panel", 1, 3) + "[01]\r\nMacro=|CALL Sub\r\n" +
                    "[02]\r\nMacro=|OPEN Other\r\n[03]\r\nMacro=|CALL Free\r\n");
  Panel("Sub", SetupSection("sub panel", 1, 2) + "[01]\r\nMacro=|BACK\r\n" +
                   "[02]\r\nMacro=|CALL Free\r\n");
  Panel("Other", SetupSection("other panel", 1, 1) + "[01]\r\nMacro=|OPEN Main\r\n");
  Panel("Free", "[Setup]\r\nDescription=free\r\nRows=1\r\nCols=1\r\n");
  StartPanel("Main");
  HWND exitButton = GetDlgItem(window_, kExitButtonId);
  EXPECT_TRUE(WaitCaption("Main - main panel"));
  EXPECT_EQ(qv::standin::TextOf(exitButton), "X");

  // The button clicked (of `cols`), the panel shown, the exit button's text.
  const struct {
    int n, cols;
    const char *caption, *exit;
  } steps[] = {{1, 3, "Sub - sub panel", "<"},      // CALL Sub
               {1, 2, "Main - main panel", "X"},    // BACK
               {2, 3, "Other - other panel", "X"},  // OPEN Other: no way back
               {1, 1, "Main - main panel", "X"},    // OPEN Main
               {1, 3, "Sub - sub panel", "<"}};
  for (const auto& step : steps) {
    ClickCell(step.n, step.cols);
    ASSERT_TRUE(WaitCaption(step.caption));
    EXPECT_EQ(qv::standin::TextOf(exitButton), step.exit) << step.caption;
  }
  EXPECT_TRUE(WaitStatus("Running panel: Sub"));
  // Always the same window.
  EXPECT_EQ(TopWindowsOf(process_->Id(), "QuorvexPanel", "").front(), window_);
  RECT sub{};
  GetWindowRect(window_, &sub);
  ClickCell(2, 2);  // CALL Free
  ASSERT_TRUE(WaitCaption("Free - free"));
  // Top: half the screen's width less the previous window's height (with its
  // control row); left: half of the screen's height less its width.
  HDC dc = GetDC(nullptr);
  const int dx = GetDeviceCaps(dc, LOGPIXELSX), dy = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  const int heightTw = MulDiv(sub.bottom - sub.top, 1440, dy);
  const int widthTw = MulDiv(sub.right - sub.left, 1440, dx);
  const int screenWTw = MulDiv(GetSystemMetrics(SM_CXSCREEN), 1440, dx);
  const int screenHTw = MulDiv(GetSystemMetrics(SM_CYSCREEN), 1440, dy);
  RECT free{};
  GetWindowRect(window_, &free);
  EXPECT_NEAR(free.top, MulDiv(screenWTw / 2 - heightTw, dy, 1440), 1);
  EXPECT_NEAR(free.left, MulDiv((screenHTw - widthTw) / 2, dx, 1440), 1);

  // Dragging the background moves the panel.
  POINT border{2, 2};
  ClientToScreen(grid_, &border);
  Drag(border, {border.x + 60, border.y + 40}, 10);
  RECT dragged{};
  EXPECT_TRUE(WaitRect(
      dragged, [&] { return dragged.left == free.left + 60 && dragged.top == free.top + 40; }))
      << dragged.left - free.left << "," << dragged.top - free.top;

  // The panel menu's first item is "Previous Assistant".
  ASSERT_TRUE(OpenPanelMenu());
  Press({VK_DOWN, VK_RETURN});
  ASSERT_TRUE(WaitCaption("Sub - sub panel"));
  // The panel still has the keyboard: Backspace goes back once more, and
  // with nothing to go back to does nothing.
  WaitForInputIdle(process_->Handle(), 5000);
  Press({VK_BACK});
  EXPECT_TRUE(WaitCaption("Main - main panel"));
  WaitForInputIdle(process_->Handle(), 5000);
  Press({VK_BACK});
  EXPECT_FALSE(process_->WaitExit(kSettleMs));
  EXPECT_TRUE(WaitCaption("Main - main panel"));

  std::istringstream in(Log());
  std::vector<std::string> switches;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("Assistant=", 0) == 0) switches.push_back(line.substr(10));
  }
  EXPECT_EQ(switches, (std::vector<std::string>{"Sub", "Main", "Other", "Main", "Sub", "Free",
                                                "Sub", "Main"}));

  // The popup menu opens below the M button; its last item, "Exit", ends
  // the process.
  ASSERT_TRUE(OpenPanelMenu());
  Press({VK_END, VK_RETURN});
  EXPECT_TRUE(process_->WaitExit(5000));
}

// Without IvAc: a missing or unreadable macro file says which; "|hide" as
// the released script of a two-state button does not hide it once its other
// look is shown.
TEST_F(PanelE2E, MissingOrUnreadableMacroFileSaysWhichAndHideIsNoOtherLook) {
  Panel("Broken", SetupSection("broken", 1, 3) +
                      "[01]\r\nMacro=Nowhere.txt\r\n[02]\r\nMacro=Held.txt\r\n"
                      "[03]\r\nType=1\r\nLabel=A\r\nLabelReleased=B\r\n"
                      "Macro=|SEND_TEXT x\r\nMacroReleased=|hide\r\n"
                      "Color=0000000016711680\r\nColorReleased=0000000000000255\r\n");
  // Held open without sharing by another program: there, but not readable.
  Macro("Held.txt", "SEND_TEXT held\r\n");
  const std::string macros = MacroFile("");
  HANDLE held = CreateFileA((macros + "Held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(WaitFor([] { return qv::standin::FindIvAcMain() == nullptr; }, 10000));
  StartPanel("Broken");
  const struct {
    int button;
    std::string text;
  } cases[] = {
      {1, macros + "Nowhere.txt\r\n\nfile not found "},
      {2, macros + "Held.txt\r\n\nfile cannot be read"},
  };
  for (const auto& c : cases) {
    ClickCell(c.button, 3);
    const MessageBoxInfo box = Reply(IDOK);
    EXPECT_EQ(box.caption, "Broken - broken") << c.button;
    EXPECT_EQ(box.text, c.text);
  }
  CloseHandle(held);

  const POINT sample = Sample(3, 3);
  EXPECT_TRUE(Shows(sample, RGB(0, 0, 255)));
  ClickCell(3, 3);
  EXPECT_TRUE(WaitStatus("unable to find IvAc Window - check if IvAc is running"));
  EXPECT_TRUE(Shows(sample, RGB(255, 0, 0)));
}

// AutoHide first, with the real pointer; then the shell's notifications are
// posted to the tray window as the shell does (its callback message with the
// mouse message in lParam); the tray menu, whose items the menu tests read,
// is then driven with the keyboard.
TEST_F(PanelE2E, AutoHideTheTrayIconMenuAndDoubleClickDriveThePanel) {
  Panel("Tray", SetupSection("tray", 1, 2) + "SysTray=1\r\nAutoHide=1\r\n");
  StartPanel("Tray");
  HWND exitButton = GetDlgItem(window_, kExitButtonId);
  // Resting on the panel's background (a border) keeps the box, however
  // long the start took.
  POINT border{2, 2};
  ClientToScreen(grid_, &border);
  SetCursorPos(border.x, border.y);
  RECT before{};
  ASSERT_TRUE(WaitRect(before, [&] { return IsWindowVisible(exitButton) != FALSE; }));
  auto height = [](const RECT& r) { return r.bottom - r.top; };
  // Resting on a grid button counts as away: the box goes and the window
  // shrinks by the control row.
  SetCursorPos(Centre(1, 2).x, Centre(1, 2).y);
  // The panel hides the box and then resizes: wait for the whole change, not
  // for its first step.
  RECT hidden{};
  ASSERT_TRUE(WaitRect(
      hidden, [&] { return !IsWindowVisible(exitButton) && height(hidden) < height(before); }))
      << IsWindowVisible(exitButton) << " " << height(hidden);
  EXPECT_EQ(hidden.top, before.top);
  EXPECT_EQ(hidden.left, before.left);
  // Back on the background, the box comes back.
  border = POINT{2, 2};
  ClientToScreen(grid_, &border);
  SetCursorPos(border.x, border.y);
  SetCursorPos(border.x + 1, border.y);
  RECT shown{};
  EXPECT_TRUE(WaitRect(shown, [&] {
    return IsWindowVisible(exitButton) && height(shown) == height(before);
  })) << height(shown);

  // The tray came with the first layout: no taskbar button, and a
  // hidden tray window that owns the icon beside the panel.
  EXPECT_TRUE(WaitFor(
      [&] {
        const LONG ex = GetWindowLongA(window_, GWL_EXSTYLE);
        return !(ex & WS_EX_APPWINDOW) && (ex & WS_EX_TOOLWINDOW) && IsWindowVisible(window_);
      },
      5000));
  HWND tray = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        const auto w = qv::standin::TopLevelWindows("QuorvexSysTray", process_->Id());
        return (tray = w.empty() ? nullptr : w.front()) != nullptr;
      },
      5000));
  auto topmost = [&] { return (GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  auto menuOpen = [&] { return !TopWindowsOf(process_->Id(), "#32768", "").empty(); };
  // Opens the tray menu, presses `keys` in it and waits for it to close.
  auto choose = [&](std::initializer_list<BYTE> keys) {
    WaitForInputIdle(process_->Handle(), 5000);
    PostMessageA(tray, WM_MOUSEMOVE, 0, WM_RBUTTONDOWN);
    if (!WaitFor(menuOpen, 5000)) return false;
    Press(keys);
    return WaitFor([&] { return !menuOpen(); }, 5000);
  };
  ASSERT_TRUE(WaitFor(topmost, 5000)) << "OnTop is on by default";

  // On top: "Window Standard" is the one to choose; "Window On Top" brings
  // the panel back on top.
  ASSERT_TRUE(choose({VK_DOWN, VK_DOWN, VK_RETURN}));
  EXPECT_TRUE(WaitFor([&] { return !topmost(); }, 5000));
  EXPECT_EQ(SendMessageA(GetDlgItem(window_, kOnTopCheckId), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_TRUE(choose({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
  EXPECT_TRUE(WaitFor(topmost, 5000));
  EXPECT_EQ(SendMessageA(GetDlgItem(window_, kOnTopCheckId), BM_GETCHECK, 0, 0), BST_CHECKED);
  // "Close Menu" only closes the menu. ("Previous Panel" is shown grayed
  // without a previous panel, which the menu tests read off the shown menu.)
  ASSERT_TRUE(choose({VK_END, VK_UP, VK_RETURN}));
  EXPECT_FALSE(process_->WaitExit(kSettleMs));
  EXPECT_TRUE(topmost());

  // A double click on the icon brings a minimized panel back.
  ShowWindow(window_, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(window_) != FALSE; }, 5000));
  PostMessageA(tray, WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(
      WaitFor([&] { return !IsIconic(window_) && IsWindowVisible(window_) && topmost(); }, 5000));

  // "Exit", the last item, closes the panel and ends the process.
  ASSERT_TRUE(choose({VK_END, VK_RETURN}));
  DWORD code = 1234;
  EXPECT_TRUE(process_->WaitExit(5000, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace

int main(int argc, char** argv) { return RunSuite(argc, argv); }
