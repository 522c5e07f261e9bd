// Self-tests of the IvAc stand-in: each case starts ivac_standin.exe, sends
// messages of the IvAc contract from this process, as Quorvex will, and finds
// the effect in the stand-in's event log and windows. What Quorvex's own
// primitives drive is checked by the automation tests; these cases cover what
// those never reach.
#include "ivac/rules.h"
#include "platform/files.h"
#include "tools/ivac_standin/client.h"
#include "win32/support/e2e.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iostream>

namespace qv::standin {
namespace {

class StandInTest : public ::testing::Test {
 protected:
  // Starts the stand-in with the full scenario and `extra` settings.
  void StartWith(const std::string& extra = "") {
    folder_ = e2e::CaseFolder();
    files::Remove(folder_ + "\\screen.bmp");
    std::string error;
    ASSERT_TRUE(s_.Start(StandInExe(QV_STANDIN_EXE), folder_, kFullScenario + extra, &error))
        << error;
    ASSERT_NE(s_.main(), nullptr);
  }

  void TearDown() override {
    EXPECT_FALSE(KeyLeftDown(VK_SHIFT)) << "Shift left down";
    if (HasFailure() && !folder_.empty()) {
      SaveScreenshot(folder_ + "\\screen.bmp");
      std::cout << "evidence (log, config, screenshot) in " << folder_ << "\n";
    }
    s_.Stop();
  }

  HWND Toolbar() const {
    HWND band = FindWindowExA(s_.main(), nullptr, "ReBarWindow32", nullptr);
    return band ? FindWindowExA(band, nullptr, "#32770", nullptr) : nullptr;
  }
  HWND Button(const char* caption) const { return Child(Toolbar(), "Button", caption); }
  HWND CommBox() const {
    for (HWND w : TopLevelWindows("#32770", s_.pid()))
      if (TextOf(w) == "COMMBox") return w;
    return nullptr;
  }
  HWND CommBoxEdit(int id) const {
    for (HWND c : Children(CommBox(), "Edit"))
      if (GetDlgCtrlID(c) == id) return c;
    return nullptr;
  }
  void Command(int id) const { PostMessageA(s_.main(), WM_COMMAND, id, 0); }
  int64_t Mark() const { return s_.LastSeq(); }

  StandInProcess s_;
  std::string folder_;
};

// Each dialog has the caption Quorvex looks for (the occupied-area one opens
// from the map menu, not from a toolbar button).
TEST_F(StandInTest, SelectionDialogs_ShiftClickOpensEachWithItsExactCaptionAndElements) {
  ASSERT_NO_FATAL_FAILURE(StartWith("airports_selected = eddm, Edds\n"));
  for (const SelectionKind& kind : kSelectionKinds) {
    const std::string code = kind.code, caption = ivac::DialogCaption(code);
    if (code == "OCN") continue;
    SCOPED_TRACE(code);
    const int64_t mark = Mark();
    // Quorvex's way: Shift down, BM_CLICK posted, look for the caption, Shift up.
    EXPECT_TRUE(BringToFront(s_.main()));
    KeyDown(VK_SHIFT);
    PostMessageA(Button(code.c_str()), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindWindowA("#32770", caption.c_str())) != nullptr; });
    KeyUp(VK_SHIFT);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(s_.WaitFor("toolbar", {{"button", code}, {"shift", "true"}}, mark));
    EXPECT_TRUE(s_.WaitFor("dialog_opened", {{"code", code}, {"caption", caption}}, mark));
    HWND list =
        FindWindowExA(dialog, nullptr, "Listbox", nullptr);  // any case, as Quorvex writes it
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    EXPECT_GT(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    if (code == "AP") {  // saved entries are matched in any case
      EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 2);
      EXPECT_GT(SendMessageA(list, LB_GETSEL, 1, 0), 0);
      EXPECT_GT(SendMessageA(list, LB_GETSEL, 2, 0), 0);
    }
    for (const char* b : {"&OK", "&Cancel", "Select &All", "Select &None"})
      EXPECT_NE(FindWindowExA(dialog, nullptr, "Button", b), nullptr) << b;
    const int64_t before_cancel = Mark();
    PostMessageA(FindWindowExA(dialog, nullptr, "Button", "&Cancel"), BM_CLICK, 0, 0);
    EXPECT_TRUE(s_.WaitFor("dialog_cancelled", {{"code", code}}, before_cancel));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  }
}

// Label commands without a selected label are ignored until a click selects
// one; then the COMMBox, the menu commands, control, connection, placement
// and the log, all in one stand-in.
TEST_F(StandInTest, RunningStandIn_LabelsCommBoxMenusControlConnectionPlacementAndLog) {
  ASSERT_NO_FATAL_FAILURE(StartWith("selected =\nbogus = 1\n"));
  EXPECT_EQ(TextOf(CommBoxEdit(1004)), "");
  for (int id : {32796, 32797, 32798, 32799, 32801, 32850, 32861}) {
    const int64_t mark = Mark();
    Command(id);
    EXPECT_TRUE(s_.WaitFor("menu_ignored", {{"id", std::to_string(id)}}, mark)) << id;
  }
  EXPECT_TRUE(s_.Find("label_action").empty());
  EXPECT_TRUE(s_.Find("subwindow_opened").empty());

  // A click on a label selects it. DLH4AB is the second label; its block
  // sits right of its target.
  ASSERT_TRUE(BringToFront(s_.main()));
  HWND map = FindWindowExA(s_.main(), nullptr, "IvAcRadarView", nullptr);
  RECT r{};
  GetClientRect(map, &r);
  POINT p{static_cast<LONG>(0.60 * r.right) + 30, static_cast<LONG>(0.22 * r.bottom) - 14};
  ClientToScreen(map, &p);
  int64_t mark = Mark();
  ClickAt(p, false);
  ASSERT_TRUE(s_.WaitFor("label_selected", {{"callsign", "DLH4AB"}, {"by", "click"}}, mark));
  EXPECT_EQ(TextOf(CommBoxEdit(1004)), "DLH4AB");

  // Enter posted to the text line sends it on the selected tab and clears it.
  ASSERT_TRUE(s_.Control("selected = AFR1234"));
  HWND tabs = FindWindowExA(CommBox(), nullptr, "SysTabControl32", nullptr);
  HWND line = CommBoxEdit(1006);
  mark = Mark();
  // Tab 6 is ATC with three standard frequencies.
  SendMessageA(tabs, TCM_SETCURFOCUS, 5, 0);
  SendMessageA(tabs, TCM_SETCURSEL, 5, 0);
  ASSERT_TRUE(s_.WaitFor("tab_selected", {{"tab", "6"}, {"name", "ATC"}}, mark));

  SendMessageA(line, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello tower"));
  SendMessageA(line, EM_SETSEL, 11, 11);
  mark = Mark();
  PostMessageA(line, WM_KEYDOWN, VK_RETURN, 1);
  ASSERT_TRUE(
      s_.WaitFor("chat_sent", {{"tab", "6"}, {"name", "ATC"}, {"text", "hello tower"}}, mark));
  EXPECT_EQ(SendMessageA(line, WM_GETTEXTLENGTH, 0, 0), 0);

  // Enter on an empty line sends nothing.
  mark = Mark();
  PostMessageA(line, WM_KEYDOWN, VK_RETURN, 1);
  ASSERT_TRUE(s_.WaitFor("chat_empty", {{"tab", "6"}}, mark));
  EXPECT_TRUE(s_.Find("chat_sent", mark).empty());

  // TCM_SETCURSEL alone notifies nobody: the highlight moves to tab 2, the
  // frequency stays ATC.
  mark = Mark();
  SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
  SendMessageA(line, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still atc"));
  PostMessageA(line, WM_KEYDOWN, VK_RETURN, 1);
  ASSERT_TRUE(s_.WaitFor("chat_sent", {{"tab", "6"}, {"text", "still atc"}}, mark));
  EXPECT_TRUE(s_.Find("tab_selected", mark).empty());

  // The occupied-area dialog opens only on a marked point, and OK with no
  // name keeps it open.
  mark = Mark();
  Command(32862);
  ASSERT_TRUE(s_.WaitFor("menu_ignored", {{"id", "32862"}}, mark));
  EXPECT_EQ(FindWindowA("#32770", "Add Occupied Area"), nullptr);
  ASSERT_TRUE(BringToFront(s_.main()));
  mark = Mark();
  GetWindowRect(map, &r);  // a point well inside the radar map
  ClickAt({(r.left + r.right) / 2 + 100, (r.top + r.bottom) / 2 - 80}, true);
  Command(32862);
  ASSERT_TRUE(s_.WaitFor("dialog_opened", {{"code", "AREA"}}, mark));
  HWND dialog = FindWindowA("#32770", "Add Occupied Area");
  ASSERT_NE(dialog, nullptr);
  PostMessageA(FindWindowExA(dialog, nullptr, "Button", "OK"), BM_CLICK, 0, 0);
  ASSERT_TRUE(s_.WaitFor("occupied_area_refused", {}, mark));
  EXPECT_TRUE(IsWindow(dialog));
  PostMessageA(FindWindowExA(dialog, nullptr, "Button", "Cancel"), BM_CLICK, 0, 0);
  ASSERT_TRUE(s_.WaitFor("dialog_cancelled", {{"code", "AREA"}}, mark));
  EXPECT_TRUE(s_.Find("occupied_area", mark).empty());

  mark = Mark();
  Command(32861);
  ASSERT_TRUE(s_.WaitFor("inout_added", {{"callsign", "AFR1234"}, {"rows", "4"}}, mark));
  HWND inout = FindWindowA("#32770", "In/Out");
  HWND lv = FindWindowExA(inout, nullptr, "SysListView32", nullptr);
  const auto rows = ReadListView(lv);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3][0], "AFR1234");

  // OK in the transfer window with nothing selected hands nothing over.
  mark = Mark();
  Command(32797);
  ASSERT_TRUE(s_.WaitFor("subwindow_opened", {{"window", "atc"}}, mark));
  HWND w = UntitledDialogWith(s_.pid(), "Button", "OK");
  ASSERT_NE(w, nullptr);
  PostMessageA(FindWindowExA(w, nullptr, "Button", "OK"), BM_CLICK, 0, 0);
  ASSERT_TRUE(s_.WaitFor("subwindow_closed",
                         {{"window", "atc"}, {"reason", "OK with nothing selected"}}, mark));
  EXPECT_TRUE(s_.Find("transfer", mark).empty());

  // One sub-window at a time: the next replaces the one open.
  ASSERT_TRUE(BringToFront(s_.main()));
  mark = Mark();
  KeyDown(VK_MULTIPLY);
  KeyUp(VK_MULTIPLY);
  ASSERT_TRUE(s_.WaitFor("subwindow_opened", {{"window", "level"}}, mark));
  Command(32797);
  ASSERT_TRUE(s_.WaitFor("subwindow_opened", {{"window", "atc"}}, mark));
  EXPECT_TRUE(s_.WaitFor("subwindow_closed", {{"window", "level"}, {"reason", "replaced"}}, mark));
  EXPECT_EQ(UntitledDialogWith(s_.pid(), "Button", "ALL"), nullptr);

  mark = Mark();
  ASSERT_TRUE(s_.Control("connected = no\nfrequencies = 5\npressed = RR"));
  EXPECT_TRUE(s_.WaitFor("connection", {{"connected", "false"}, {"by", "control"}}, mark));
  EXPECT_EQ(SendMessageA(Button("RR"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(Button("AP"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  tabs = FindWindowExA(CommBox(), nullptr, "SysTabControl32", nullptr);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 9);
  // A bad line is reported and the others still apply.
  const int64_t before_bad = Mark();
  EXPECT_FALSE(s_.Control("selected = BAW915\nnonsense = 1"));
  const auto control = s_.WaitFor("control", {}, before_bad);
  ASSERT_TRUE(control);
  ASSERT_EQ(control->List("errors").size(), 1u);
  EXPECT_NE(control->List("errors")[0].find("nonsense"), std::string::npos);
  EXPECT_EQ(TextOf(CommBoxEdit(1004)), "BAW915");

  // Disconnected by the settings above, a click on CONNECT connects, and the
  // caption follows.
  HWND connect = Button("CONNECT");
  mark = Mark();
  PostMessageA(connect, BM_CLICK, 0, 0);
  ASSERT_TRUE(s_.WaitFor("connection", {{"connected", "true"}}, mark));
  EXPECT_EQ(TextOf(connect), "DISCON");
  EXPECT_NE(TextOf(s_.main()).find("connected"), std::string::npos);
  mark = Mark();
  PostMessageA(connect, BM_CLICK, 0, 0);
  ASSERT_TRUE(s_.WaitFor("connection", {{"connected", "false"}}, mark));
  EXPECT_EQ(TextOf(connect), "CONNECT");

  // Each move, size and show state of the main window is logged.
  mark = Mark();
  ASSERT_TRUE(SetWindowPos(s_.main(), HWND_TOP, 20, 30, 700, 500, SWP_SHOWWINDOW));
  ASSERT_TRUE(s_.WaitFor(
      "window", {{"x", "20"}, {"y", "30"}, {"w", "700"}, {"h", "500"}, {"state", "normal"}}, mark));
  mark = Mark();
  ShowWindow(s_.main(), SW_MAXIMIZE);
  ASSERT_TRUE(s_.WaitFor("window", {{"state", "maximized"}}, mark));
  mark = Mark();
  ShowWindow(s_.main(), SW_RESTORE);
  ASSERT_TRUE(s_.WaitFor("window", {{"state", "normal"}}, mark));

  // The log is one JSON object a line, with rising sequence numbers.
  Command(32820);
  ASSERT_TRUE(s_.WaitFor("centre_reset"));
  std::string data;
  ASSERT_TRUE(files::ReadAll(s_.log_path(), data));
  size_t lines = 0;
  int64_t last = 0;
  for (size_t start = 0, end; (end = data.find('\n', start)) != std::string::npos;
       start = end + 1) {
    const auto e = ParseEventLine(std::string_view(data).substr(start, end - start));
    ASSERT_TRUE(e) << data.substr(start, end - start);
    EXPECT_EQ(e->Int("seq"), last + 1);
    last = e->Int("seq");
    ++lines;
  }
  EXPECT_GE(lines, 3u);
  // A bad setting in the config is logged, not fatal.
  const auto error = s_.WaitFor("config_error");
  ASSERT_TRUE(error);
  EXPECT_NE(error->Text("error").find("bogus"), std::string::npos);
}

}  // namespace
}  // namespace qv::standin
