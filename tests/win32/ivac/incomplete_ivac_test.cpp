// The failure paths that need an IvAc with parts missing (no toolbar, a
// dialog without its elements, a sub-window without its buttons), and the
// window searches. The stand-in always shows a complete IvAc, so these cases
// build windows of their own, in this process, exactly those each case needs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ivac/rules.h"
#include "ivac/win32_automation.h"
#include "ivac/win32_search.h"
#include "platform/files.h"
#include "platform/text.h"
#include "win32/support/e2e.h"

namespace qv::ivac {
namespace {

// Records input without giving it: these cases need no real keys.
class SilentInput : public Input {
 public:
  std::vector<std::string> record;
  POINT cursor{3, 4};
  void KeyDown(BYTE vk) override { record.push_back("down " + DecimalText(vk)); }
  void KeyUp(BYTE vk) override { record.push_back("up " + DecimalText(vk)); }
  void RightClick() override { record.push_back("right"); }
  void LeftClick() override { record.push_back("left"); }
  bool GetCursor(POINT& at) override {
    at = cursor;
    return true;
  }
  void SetCursor(int x, int y) override {
    cursor = {x, y};
    record.push_back("cursor " + DecimalText(x) + "," + DecimalText(y));
  }
};

using qv::e2e::Instance;
using qv::e2e::RegisterLocal;

bool Clicked(HWND button) {
  PumpEvents();
  return SendMessageA(button, BM_GETCHECK, 0, 0) != 0;
}

// Windows of one case; all destroyed at the end.
class Desk {
 public:
  ~Desk() {
    for (auto it = tops_.rbegin(); it != tops_.rend(); ++it) DestroyWindow(*it);
  }
  HWND Top(const char* cls, const char* caption) {
    HWND w = CreateWindowExA(0, cls, caption, WS_OVERLAPPED, 0, 0, 200, 150, nullptr, nullptr,
                             Instance(), nullptr);
    tops_.push_back(w);
    return w;
  }
  static HWND Child(HWND parent, const char* cls, const char* caption, int id = 0,
                    DWORD style = 0) {
    return CreateWindowExA(0, cls, caption, WS_CHILD | style, 0, 0, 40, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  }
  // A checkable button: a click that arrives shows as a check.
  HWND Button(HWND parent, const char* caption, int id = 0) {
    buttons_.push_back(Child(parent, "Button", caption, id, BS_AUTOCHECKBOX | BS_PUSHLIKE));
    return buttons_.back();
  }
  // A top-level "#32770" with these children, one a line: "Class",
  // "Class:Caption" or "Class#id". Buttons are checkable.
  HWND Dialog(const char* caption, std::string_view parts) {
    HWND dialog = Top("#32770", caption);
    for (const std::string& part : SplitItems(parts)) {
      const size_t colon = part.find(':'), hash = part.find('#');
      const std::string cls = part.substr(0, std::min(colon, hash));
      const std::string text = colon == std::string::npos ? "" : part.substr(colon + 1);
      const int id = hash == std::string::npos ? 0 : std::stoi(part.substr(hash + 1));
      cls == "Button" ? Button(dialog, text.c_str(), id)
                      : Child(dialog, cls.c_str(), text.c_str(), id);
    }
    return dialog;
  }
  // True when no button of the desk was clicked.
  bool NothingClicked() const { return std::none_of(buttons_.begin(), buttons_.end(), Clicked); }

 private:
  std::vector<HWND> tops_, buttons_;
};

// IvAc's main window with a band and a toolbar holding `codes` (either left
// out when asked), and a COMMBox.
struct IvacParts {
  HWND main, toolbar;
};
IvacParts BuildIvac(Desk& desk, const std::vector<const char*>& codes, bool band = true,
                    bool toolbar = true) {
  IvacParts ivac{desk.Top("QvIncompleteIvac", "IvAc 1.0 incomplete"), nullptr};
  // On the screen: the occupied-area clicks go only to a point on IvAc.
  ShowWindow(ivac.main, SW_SHOWNOACTIVATE);
  HWND bar = band ? Desk::Child(ivac.main, "ReBarWindow32", "") : nullptr;
  if (bar != nullptr && toolbar) ivac.toolbar = Desk::Child(bar, "#32770", "");
  for (const char* code : codes) desk.Button(ivac.toolbar, code);
  HWND box = desk.Top("#32770", "COMMBox");
  Desk::Child(box, "Edit", "AFR1", 1004);
  Desk::Child(box, "Edit", "", 1006);
  return ivac;
}

std::string Joined(const std::vector<std::string>& record) {
  std::string out;
  for (const auto& r : record) out += (out.empty() ? "" : ";") + r;
  return out;
}

class IncompleteIvac : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindIvacWindow(), nullptr) << "an IvAc window is already open";
    RegisterLocal("QvIncompleteIvac");
    RegisterLocal("ReBarWindow32");
    RegisterLocal("ComboBoxEx32");
    auto input = std::make_unique<SilentInput>();
    input_ = input.get();
    // A defaults folder of the case's own: what it writes there is checked.
    defaults_ = qv::e2e::CaseFolder();
    std::error_code ec;
    std::filesystem::remove_all(defaults_, ec);
    CreateDirectoryA(defaults_.c_str(), nullptr);
    a_ = std::make_unique<Win32Automation>(std::move(input), AutomationSettings{defaults_, 3});
    a_->SetSleepMs(2);
  }

  Desk desk_;
  std::string defaults_;
  SilentInput* input_ = nullptr;
  std::unique_ptr<Win32Automation> a_;
};

TEST_F(IncompleteIvac, FindIvacFindWindowsLikeAndKeepOnTop_OnWindowsOfThisProcess) {
  // FindIvacWindow compares the first six characters with letter case.
  const struct {
    const char* caption;
    bool found;
  } cases[] = {{"IvAc 1", true},    {"IvAc 10 test", true}, {"ivac 1.2", false},
               {"IvAc 2.0", false}, {" IvAc 1", false},     {"IvAc1", false}};
  for (const auto& c : cases) {
    Desk desk;
    HWND w = desk.Top("QvIncompleteIvac", c.caption);
    EXPECT_EQ(FindIvacWindow() == w, c.found) << c.caption;
  }

  RegisterLocal("QvLikeProbe32770");
  HWND top = desk_.Top("QvLikeProbe32770", "QvLike top");
  HWND mid = Desk::Child(top, "QvLikeProbe32770", "QvLike mid", 7);
  HWND leaf = Desk::Child(mid, "QvLikeProbe32770", "QvLike leaf", 8);
  int visits = 0;
  const auto all = FindWindowsLike(nullptr, "QvLike *", "*32770", {}, [&] { ++visits; });
  EXPECT_EQ(all, (std::vector<HWND>{leaf, mid, top}));
  EXPECT_GE(visits, 3);
  EXPECT_EQ(FindWindowsLike(top, "QvLike *", "*32770"), (std::vector<HWND>{leaf, mid}));
  EXPECT_EQ(FindWindowsLike(nullptr, "QvLike *", "*32770", 8), (std::vector<HWND>{leaf}));
  EXPECT_EQ(FindWindowsLike(nullptr, "qvlike *", "*32770"), std::vector<HWND>{});
  EXPECT_EQ(FindWindowsLike(nullptr, "QvLike [", "*"), std::vector<HWND>{});
  EXPECT_EQ(ChildrenOfClass(top, "qvlikeprobe32770"), (std::vector<HWND>{mid}));
  // KeepOnTop sets and clears the topmost style and leaves the window where
  // it is.
  RECT before{}, after{};
  GetWindowRect(top, &before);
  KeepOnTop(top, true);
  EXPECT_NE(GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  KeepOnTop(top, false);
  EXPECT_EQ(GetWindowLongA(top, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  GetWindowRect(top, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(IncompleteIvac, NoToolbar_ZeroButtonsAndNoCommBoxSearch) {
  const struct {
    const char* name;
    bool band, dialog;
    const char* reset;
  } cases[] = {
      {"no band", false, false, "unable to detect Toolbar Container button"},
      {"band without dialog", true, false, "unable to detect Toolbar"},
  };
  for (const auto& c : cases) {
    Desk desk;
    HWND main = BuildIvac(desk, {}, c.band, c.dialog).main;
    a_->ForgetMapOwner();
    a_->GetHandles();
    ASSERT_EQ(a_->IvacWindow(), main) << c.name;
    for (std::string_view code : kToolbarCodes) {
      EXPECT_EQ(a_->Lookup(ButtonKey(code)), nullptr) << c.name << " " << code;
    }
    EXPECT_EQ(a_->Lookup(kKeyText), nullptr) << c.name;
    EXPECT_EQ(a_->Lookup(kKeySelected), nullptr) << c.name;
    ASSERT_TRUE(files::WriteAtomic(defaults_ + "\\Buttons.ini", "[Default]\r\nAP=-1\r\n"));
    EXPECT_EQ(a_->ResetButtons(), c.reset) << c.name;
    EXPECT_EQ(a_->TransferTo("X"), "unable to detect IvAc") << c.name;
  }
}

TEST_F(IncompleteIvac, ResetButtonsAndSelectionDialogs_StopAtWhatIsMissingOrStuck) {
  HWND toolbar = BuildIvac(desk_, {"FSTR", "I/O", "ATC", "AP", "SID"}).toolbar;
  a_->GetHandles();
  ASSERT_TRUE(files::WriteAtomic(defaults_ + "\\Buttons.ini",
                                 "[Default]\r\nFSTR=-1\r\nI/O=-1\r\nCOM=-1\r\n"));
  // FSTR and I/O exist, COM does not: FSTR and I/O are set, nothing after COM.
  EXPECT_EQ(a_->ResetButtons(), "unable to detect COM Button");
  EXPECT_TRUE(Clicked(FindWindowExA(toolbar, nullptr, "Button", "FSTR")));
  EXPECT_TRUE(Clicked(FindWindowExA(toolbar, nullptr, "Button", "I/O")));
  EXPECT_FALSE(Clicked(FindWindowExA(toolbar, nullptr, "Button", "ATC")));

  // Each dialog lacks one of its four elements.
  const struct {
    const char* code;
    const char* caption;
    const char* parts;
  } cases[] = {
      {"[AP]", "Airports Selection", "Button:Select &All\nButton:Select &None\nButton:&OK"},
      {"[AP]", "Airports Selection", "ListBox\nButton:Select &None\nButton:&OK"},
      {"SID", "SIDs Selection", "ListBox\nButton:Select &All\nButton:&OK"},
      {"SID", "SIDs Selection", "ListBox\nButton:Select &All\nButton:Select &None"},
  };
  for (const auto& c : cases) {
    Desk desk;
    desk.Dialog(c.caption, c.parts);
    input_->record.clear();
    EXPECT_EQ(a_->SelectInDialog("X", c.code, "", false),
              std::string("unable to find ") + c.code + " Selection window elements");
    EXPECT_EQ(input_->record, (std::vector<std::string>{"down 16", "up 16"})) << c.code;
  }
  {
    // SAVE_DEFAULT writes nothing when the dialog lacks its elements.
    Desk desk;
    desk.Top("#32770", "Airports Selection");
    a_->SaveDefault("[AP]");
    EXPECT_EQ(input_->record.back(), "up 16");
    EXPECT_FALSE(files::Exists(defaults_ + "\\AP.ini"));
  }
  // A dialog that stays open is reported, not closed.
  Desk desk;
  HWND dialog = desk.Top("#32770", "Airports Selection");
  HWND list = Desk::Child(dialog, "ListBox", "", 0, LBS_MULTIPLESEL | LBS_HASSTRINGS);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("EDDF"));
  desk.Button(dialog, "Select &All");
  desk.Button(dialog, "Select &None");
  HWND ok = desk.Button(dialog, "&OK");  // clicking it closes nothing
  EXPECT_EQ(a_->SelectInDialog("EDDF", "[AP]", "", false), "unable to close [AP] Selection window");
  EXPECT_EQ(SendMessageA(list, LB_GETSEL, 0, 0), 1);
  EXPECT_TRUE(IsWindow(ok));
}

// IvAc opens its windows in its own time: a window that comes a few hundred
// milliseconds after the command is still found.
std::function<void()> g_late;
void CALLBACK OpenLate(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (g_late) g_late();
}

// Sub-windows and dialogs that lack a part (or are not there): the status
// names what is missing, no button of theirs is clicked, and the input given
// is exactly the command's own.
TEST_F(IncompleteIvac, WindowsWithoutTheirParts_AreReportedAndNothingIsClicked) {
  HWND toolbar = BuildIvac(desk_, {"CONNECT"}).toolbar;
  SetWindowTextA(FindWindowExA(toolbar, nullptr, "Button", "CONNECT"), "DISCON");
  a_->GetHandles();
  const char* const kOcaInput = "cursor 20,10;right;left;cursor 3,4";
  const struct {
    const char* name;
    UINT lateMs;          // 0: the window is there before the command
    const char* caption;  // nullptr: no window opens
    const char* parts;
    std::function<std::string()> command;
    const char* status;
    const char* input;  // what was given, joined by ";"
  } cases[] = {
      {"level without list", 0, "", "Button:ALL\nButton:OK",
       [&] { return a_->Clear(Clearance::kFlightLevel, "FL080"); },
       "unable to detect Flight Level window elements", "down 106;up 106"},
      {"speed without OK", 0, "", "Button:CLEAR\nListBox",
       [&] { return a_->Clear(Clearance::kSpeed, "200"); },
       "unable to detect Flight Level window elements", "down 118;up 118"},
      {"fix without ENTER", 0, "", "Static:WAYPOINT\nEdit",
       [&] { return a_->Clear(Clearance::kFix, "KERAX"); },
       "unable to detect WAYPOINT window elements", "down 107;up 107"},
      {"fix <NONE> without CLEAR", 0, "", "Static:WAYPOINT\nEdit\nButton:ENTER",
       [&] { return a_->Clear(Clearance::kFix, "<none>"); },
       "unable to detect WAYPOINT window elements", "down 107;up 107"},
      {"fix window is not the controller choice", 0, "", "ListBox\nButton:OK\nStatic:WAYPOINT",
       [&] { return a_->TransferTo("EDDF"); }, "unable to detect ATC window elements", ""},
      {"no controller choice", 0, nullptr, "", [&] { return a_->TransferTo("EDDF"); },
       "unable to detect ATC subwindow - NOT ASSUMED ?", ""},
      {"occupied area without Cancel", 0, "Add Occupied Area", "Edit\nButton:OK",
       [&] { return a_->OccupiedArea("10,20,AREA"); }, "unable to detect WAYPOINT window elements",
       kOcaInput},
      // IvAc's own dialog, without the combo box chain.
      {"colour scheme without its edit", 0, "Color Scheme", "Static#1089",
       [&] { return a_->ColorScheme("Night"); }, "unable to find ColorScheme edit window", ""},
      {"no colour scheme dialog", 0, nullptr, "", [&] { return a_->ColorScheme("Night"); },
       "unable to find Open ColorScheme dialog window", ""},
      {"late fix sub-window", 400, "", "Static:WAYPOINT\nEdit",
       [&] { return a_->Clear(Clearance::kFix, "KERAX"); },
       "unable to detect WAYPOINT window elements", "down 107;up 107"},
      {"late occupied area dialog", 400, "Add Occupied Area", "Edit",
       [&] { return a_->OccupiedArea("10,20,AREA"); }, "unable to detect WAYPOINT window elements",
       kOcaInput},
      {"late colour scheme dialog", 400, "Color Scheme", "Static#1089",
       [&] { return a_->ColorScheme("Night"); }, "unable to find ColorScheme edit window", ""},
  };
  for (const auto& c : cases) {
    Desk desk;
    input_->record.clear();
    g_late = [&] {
      if (c.caption != nullptr) desk.Dialog(c.caption, c.parts);
    };
    if (c.lateMs == 0) g_late();
    if (c.lateMs != 0) SetTimer(nullptr, 0, c.lateMs, OpenLate);
    EXPECT_EQ(c.command(), c.status) << c.name;
    g_late = nullptr;
    EXPECT_TRUE(desk.NothingClicked()) << c.name << ": a button was clicked";
    EXPECT_EQ(Joined(input_->record), c.input) << c.name;
  }
}

// A colour-scheme dialog that closes some time after its OK is clicked (or
// never): the scheme is reported applied only once the dialog is gone.
WNDPROC g_dialogProc = nullptr;
std::string g_schemeOnOk;
UINT g_closeAfterMs = 0;
LRESULT CALLBACK SlowSchemeDialog(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == IDOK && g_schemeOnOk.empty()) {
    HWND edit = FindWindowExA(FindWindowExA(FindWindowExA(w, nullptr, "ComboBoxEx32", nullptr),
                                            nullptr, "ComboBox", nullptr),
                              nullptr, "Edit", nullptr);
    g_schemeOnOk = ReadWindowText(edit);
    if (g_closeAfterMs) SetTimer(w, 1, g_closeAfterMs, nullptr);
    return 0;
  }
  if (msg == WM_TIMER && wp == 1) {
    KillTimer(w, 1);
    DestroyWindow(w);
    return 0;
  }
  return CallWindowProcA(g_dialogProc, w, msg, wp, lp);
}

TEST_F(IncompleteIvac, ColorScheme_DoneOnlyWhenTheDialogHasClosed) {
  BuildIvac(desk_, {});
  const struct {
    UINT closeAfterMs;
    const char* status;
  } cases[] = {
      {400, "ColorScheme Night - done"},
      {0, "unable to close ColorScheme dialog window"},
  };
  for (const auto& c : cases) {
    Desk desk;
    HWND dialog = desk.Top("#32770", "Color Scheme");
    HWND ex = Desk::Child(dialog, "ComboBoxEx32", "", 1089);
    HWND combo = Desk::Child(ex, "ComboBox", "");
    Desk::Child(combo, "Edit", "Default");
    Desk::Child(dialog, "Button", "OK", IDOK);
    // IvAc's own windows with an item 1089, above the dialog in the z-order:
    // the search skips them by their captions.
    for (const char* caption : {"ATC", "COMMBox", "In/Out"})
      Desk::Child(desk.Top("#32770", caption), "Static", "", 1089);
    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SlowSchemeDialog)));
    g_schemeOnOk.clear();
    g_closeAfterMs = c.closeAfterMs;
    EXPECT_EQ(a_->ColorScheme("Night"), c.status) << c.closeAfterMs;
    EXPECT_EQ(g_schemeOnOk, "Night") << c.closeAfterMs;
  }
}

// IvAc busy: its thread answers sent messages but comes to posted ones only
// later (as while it waits on a message of its own). Two lines sent at once
// must both go out: the second text may not replace the first before IvAc
// has seen the first Enter.
TEST_F(IncompleteIvac, LinesSentWhileIvacIsBusyEachGoOut) {
  HWND main = desk_.Top("QvIncompleteIvac", "IvAc 1.0 busy");
  Desk::Child(Desk::Child(main, "ReBarWindow32", ""), "#32770", "");
  std::vector<std::string> sent;
  HANDLE holding = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  std::thread ivac([&] {
    threadId = GetCurrentThreadId();
    HWND box = CreateWindowExA(0, "#32770", "COMMBox", WS_OVERLAPPED, 0, 0, 200, 80, nullptr,
                               nullptr, Instance(), nullptr);
    Desk::Child(box, "Edit", "AFR1", 1004);
    HWND line = Desk::Child(box, "Edit", "", 1006);
    SetEvent(holding);
    MSG m;
    for (const DWORD until = GetTickCount() + 300; GetTickCount() < until; Sleep(1))
      PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
      if (m.hwnd == line && m.message == WM_KEYDOWN && m.wParam == VK_RETURN) {
        char text[64] = {};
        GetWindowTextA(line, text, sizeof text);
        sent.push_back(text);
        SetWindowTextA(line, "");
        continue;
      }
      DispatchMessageA(&m);
    }
    DestroyWindow(box);
  });
  ASSERT_EQ(WaitForSingleObject(holding, 5000), WAIT_OBJECT_0);
  a_->SetSleepMs(0);
  a_->GetHandles();
  for (const char* text : {"first line", "second line"})
    EXPECT_EQ(a_->SetText(text, false, false, true), std::string(text) + " Text sent");
  EXPECT_EQ(a_->DotCommand(".Z 5"), ".Z 5 done");
  Sleep(100);
  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  ivac.join();
  CloseHandle(holding);
  EXPECT_EQ(sent, (std::vector<std::string>{"first line", "second line", ".Z 5"}));
}

}  // namespace
}  // namespace qv::ivac
