// The IvAc automation against the IvAc stand-in: every case starts its own
// stand-in process, runs primitives of Win32Automation from this process and
// compares the effects the stand-in logged, the state of its windows and the
// status texts. The synthetic input is real input on the rig's display, so
// the program runs alone. A failing case leaves the stand-in's log, its
// config and a screenshot in out/<case>/ beside the test program.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ivac/listview_reader.h"
#include "ivac/rules.h"
#include "ivac/win32_automation.h"
#include "ivac/win32_search.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/win32/handles.h"
#include "platform/win32/process.h"
#include "startup/app.h"
#include "startup/log.h"
#include "tools/ivac_standin/client.h"
#include "win32/support/e2e.h"

namespace qv::ivac {
namespace {

using standin::Event;
using standin::StandInProcess;
using standin::Where;

// The full host, with a third SID and a second occupied area.
const std::string kScenario = std::string(standin::kFullScenario) +
                              "sids = ANEKI7L, ANEKI7M, CINDY7S\n"
                              "occupied_areas = ED-R132, ED-R137\n";

// Gives the system's input and keeps a record, so that a case can see that
// every Shift pressed was released and where the pointer went.
class RecordingInput : public SystemInput {
 public:
  explicit RecordingInput(std::vector<std::string>& record) : record_(record) {}
  void KeyDown(BYTE vk) override {
    record_.push_back("down " + DecimalText(vk));
    SystemInput::KeyDown(vk);
  }
  void KeyUp(BYTE vk) override {
    record_.push_back("up " + DecimalText(vk));
    SystemInput::KeyUp(vk);
  }
  void RightClick() override {
    record_.push_back("right");
    SystemInput::RightClick();
  }
  void LeftClick() override {
    record_.push_back("left");
    SystemInput::LeftClick();
  }
  void SetCursor(int x, int y) override {
    record_.push_back("cursor " + DecimalText(x) + "," + DecimalText(y));
    SystemInput::SetCursor(x, y);
  }

 private:
  std::vector<std::string>& record_;
};

// True when no Shift key-down of the record is left without its key-up.
bool ShiftReleased(const std::vector<std::string>& record) {
  int down = 0;
  for (const auto& r : record) {
    if (r == "down 16") ++down;
    if (r == "up 16" && down > 0) --down;
  }
  return down == 0;
}

// The bytes of `path`, or a text no file holds when it cannot be read.
std::string Bytes(const std::string& path) {
  std::string text;
  return files::ReadAll(path, text) ? text : "<unreadable " + path + ">";
}

class Automation : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = e2e::CaseFolder();
    // Saved states of an earlier run must not leak into this one.
    std::error_code ec;
    std::filesystem::remove_all(folder_ + "\\Default", ec);
    files::CreateFolder(folder_ + "\\Default");
    auto input = std::make_unique<RecordingInput>(input_);
    a_ = std::make_unique<Win32Automation>(std::move(input),
                                           AutomationSettings{folder_ + "\\Default", 3});
    a_->SetSleepMs(30);
  }

  // Starts the stand-in with the scenario and `extra` settings (later lines
  // win) and builds the map.
  void StartWith(const std::string& extra = "") {
    std::string error;
    ASSERT_TRUE(s_.Start(standin::StandInExe(QV_STANDIN_EXE), folder_,
                         std::string(kScenario) + extra, &error))
        << error;
    a_->GetHandles();
    ASSERT_EQ(a_->IvacWindow(), s_.main());
  }

  void TearDown() override {
    EXPECT_TRUE(ShiftReleased(input_)) << "Shift pressed and not released";
    EXPECT_FALSE(standin::KeyLeftDown(VK_SHIFT)) << "Shift left down";
    if (HasFailure()) {
      standin::SaveScreenshot(folder_ + "\\screen.bmp");
      std::cout << "evidence (log, config, screenshot) in " << folder_ << "\n";
    }
    s_.Stop();
  }

  int64_t Mark() const { return s_.LastSeq(); }

  // Everything posted to the stand-in before this call has been handled once
  // the marker command, posted after it, is logged.
  void Barrier() {
    static int marker = 40900;
    const int id = ++marker;
    PostMessageA(s_.main(), WM_COMMAND, id, 0);
    ASSERT_TRUE(s_.WaitFor("menu", {{"id", DecimalText(id)}}, 0, 5000)) << "marker " << id;
  }

  std::vector<Event> After(int64_t mark, const char* name) {
    Barrier();
    return s_.Find(name, mark);
  }

  // Exactly one `name` event logged since `mark`, with these field texts.
  void ExpectOne(int64_t mark, const char* name, const Where& fields = {}) {
    const auto found = After(mark, name);
    ASSERT_EQ(found.size(), 1u) << name;
    for (const auto& [key, value] : fields) EXPECT_EQ(found[0].Text(key), value) << name;
  }

  // The items of the one "selection" confirmed since `mark`, sorted.
  std::vector<std::string> Selected(int64_t mark) {
    const auto confirmed = After(mark, "selection");
    EXPECT_EQ(confirmed.size(), 1u) << "selections confirmed";
    if (confirmed.size() != 1) return {"<" + DecimalText(confirmed.size()) + " selections>"};
    auto items = confirmed[0].List("items");
    std::sort(items.begin(), items.end());
    return items;
  }

  HWND Toolbar() const {
    HWND band = FindWindowExA(s_.main(), nullptr, "ReBarWindow32", nullptr);
    return band ? FindWindowExA(band, nullptr, "#32770", nullptr) : nullptr;
  }
  bool Checked(const char* code) const {
    return SendMessageA(FindWindowExA(Toolbar(), nullptr, "Button", code), BM_GETCHECK, 0, 0) != 0;
  }
  std::string Line() const { return ReadWindowText(a_->Lookup(kKeyText)); }

  std::string folder_;
  std::vector<std::string> input_;
  std::unique_ptr<Win32Automation> a_;
  StandInProcess s_;
};

// With debug on, building the map writes one log line per code and
// "Init Done". The map is kept for the same window and rebuilt when forgotten.
TEST_F(Automation, GetHandles_MapsTheToolbarAndCommBoxLogsItAndFollowsTheFirstIvac) {
  App& app = TheApp();
  const App saved = app;
  app.settings.debug = true;
  app.folders.base = folder_;
  const std::string dump = DumpFilePath(folder_, Today());
  files::Remove(dump);
  ASSERT_NO_FATAL_FAILURE(StartWith("connected = no\ncommbox = closed\nstation = EDDF_TWR\n"));
  app = saved;
  EXPECT_TRUE(a_->IvacFound());
  HWND band = a_->Lookup(kKeyRebar);
  HWND toolbar = a_->Lookup(kKeyToolbar);
  EXPECT_EQ(GetParent(band), s_.main());
  EXPECT_EQ(GetParent(toolbar), band);
  std::string expected;
  for (std::string_view code : kToolbarCodes) {
    HWND b = a_->Lookup(ButtonKey(code));
    EXPECT_EQ(GetParent(b), toolbar) << code;
    EXPECT_EQ(CaptionOf(b), code);
    EXPECT_TRUE(EqualsNoCase(ClassNameOf(b), "Button")) << code;
    expected += std::string(code) +
                DecimalText(static_cast<int64_t>(reinterpret_cast<uintptr_t>(b))) + "\r\n";
  }
  EXPECT_EQ(Bytes(dump), expected + "Init Done\r\n");
  // A closed COMMBox leaves its keys zero.
  EXPECT_EQ(a_->Lookup(kKeyTabs), nullptr);
  EXPECT_EQ(a_->Lookup(kKeyText), nullptr);
  EXPECT_EQ(a_->Lookup(kKeySelected), nullptr);
  // Without the selected-label field no label is selected (the COMMBox
  // primitives' statuses are those of WithoutIvac: the same missing keys).
  EXPECT_EQ(a_->LabelCommand(LabelAction::kAssume), "no traffic label selected");
  EXPECT_TRUE(After(0, "label_action").empty());

  // A COMMBox opened after the build is not seen until the map is rebuilt.
  // While connected the CONNECT key holds the button captioned DISCON.
  ASSERT_TRUE(s_.Control("commbox = open\nconnected = yes"));
  a_->GetHandles();
  EXPECT_EQ(a_->Lookup(kKeyText), nullptr);
  a_->ForgetMapOwner();
  a_->GetHandles();
  HWND text = a_->Lookup(kKeyText), selected = a_->Lookup(kKeySelected);
  EXPECT_EQ(GetWindowLongA(text, GWL_ID), 1006);
  EXPECT_EQ(GetWindowLongA(selected, GWL_ID), 1004);
  EXPECT_EQ(CaptionOf(GetParent(text)), "COMMBox");
  EXPECT_EQ(ClassNameOf(a_->Lookup(kKeyTabs)), "SysTabControl32");
  EXPECT_EQ(ReadWindowText(selected), "AFR1234");
  EXPECT_EQ(a_->Lookup("NoSuchKey"), nullptr);
  EXPECT_EQ(CaptionOf(a_->Lookup(ButtonKey("CONNECT"))), "DISCON");

  // With a second IvAc the map follows the first in the system's order.
  const std::string second = folder_ + "\\second";
  files::CreateFolder(second);
  StandInProcess other;
  std::string error;
  ASSERT_TRUE(other.Start(standin::StandInExe(QV_STANDIN_EXE), second,
                          std::string(kScenario) + "station = EDDM_TWR\n", &error))
      << error;
  for (HWND front : {s_.main(), other.main(), s_.main()}) {
    // The window at the top of the z-order comes first in the system's order.
    SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // Another process's window is restacked by its own thread, in its time.
    ASSERT_TRUE(standin::WaitUntil([&] { return FindIvacWindow() == front; }));
    a_->GetHandles();
    EXPECT_EQ(a_->IvacWindow(), front);
    // The toolbar of the map belongs to that window. (The COMMBox is the
    // first one on the whole desktop, whichever IvAc owns it, so it is not
    // checked here.)
    EXPECT_EQ(GetAncestor(a_->Lookup(ButtonKey("CC")), GA_ROOT), front);
    EXPECT_NE(a_->Lookup(kKeyText), nullptr);
  }
  other.Stop();
}

TEST_F(Automation, WithoutIvac_EveryPrimitiveReportsItsOwnFailure) {
  ASSERT_EQ(FindIvacWindow(), nullptr) << "an IvAc window is already open";
  a_->GetHandles();
  EXPECT_FALSE(a_->IvacFound());
  files::WriteAtomic(folder_ + "\\Default\\Buttons.ini", "[Default]\r\nAP=-1\r\n");
  const struct {
    const char* name;
    std::function<std::string()> call;
    const char* status;
  } cases[] = {
      {"PRESS", [&] { return a_->SetButton("AP", true); }, ""},
      {"SAVE_BUTTONS", [&] { return a_->SaveButtons(); }, "unable to detect FSTR Button"},
      {"RESET_BUTTONS", [&] { return a_->ResetButtons(); }, "unable to detect IvAc"},
      {"SELECT", [&] { return a_->SelectInDialog("EDDF", "[AP]", "", false); },
       "unable to detect AP Button"},
      {"SELECT OCN", [&] { return a_->SelectInDialog("*", "[OCN]", "", false); },
       "unable to detect OCN Button"},
      {"RESET_DEFAULT", [&] { return a_->ResetDefault("[AP]"); }, "[AP] default not saved"},
      {"DLG_OPEN", [&] { return a_->DlgOpen("[AP]"); }, "unable to detect AP Button"},
      {"DLG_OPEN OCN", [&] { return a_->DlgOpen("[OCN]"); }, "Button OCN not allowed"},
      {"DLG_SELECT", [&] { return a_->DlgSelect("X", "", false); }, "unable to detect  Button"},
      {"DLG_CLOSE", [&] { return a_->DlgClose(); }, "unable to detect  Button"},
      {"COMMBOX", [&] { return a_->SelectTab("2"); }, "unable to detect COMMBOX TABs "},
      {"COMMBOX 0", [&] { return a_->SelectTab("0"); }, ""},
      {"SEND_TEXT", [&] { return a_->SetText("x", false, false, true); },
       "unable to find Edit window"},
      {"ASSUME_LABEL", [&] { return a_->LabelCommand(LabelAction::kAssume); }, ""},
      {"TRANSFER_TO", [&] { return a_->TransferTo("EDDF_APP"); }, "unable to detect IvAc"},
      {"CLEARED_TO_FL", [&] { return a_->Clear(Clearance::kFlightLevel, "FL080"); },
       "unable to detect IvAc"},
      {"OCA", [&] { return a_->OccupiedArea("300,500,AREA"); }, "unable to detect IvAc"},
      {"OCA without name", [&] { return a_->OccupiedArea("AREA"); }, ""},
      {"ZOOM", [&] { return a_->DotCommand(".Z 5"); }, "unable to find Edit window"},
      {"RESET_CENTERPOINT", [&] { return a_->ResetCenterpoint(); }, "unable to detect IvAc"},
      {"COLORSCHEME", [&] { return a_->ColorScheme("Night"); }, "unable to detect IvAc"},
      {"COLORSCHEME empty", [&] { return a_->ColorScheme(" "); }, "  - Color Scheme not selected"},
      {"MOVE_IVAC", [&] { return a_->MoveIvac("10,20,600,800"); }, "unable to find IvAc Window"},
      {"In/Out", [&] { return a_->ExtractLVitems(); }, ""},
      {"placement", [&] { return a_->ReadIvacPlacement(); }, ""},
      {"selected label", [&] { return a_->ReadSelectedLabel(); }, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.call(), c.status) << c.name;
  // OCA moved no pointer and clicked nothing without IvAc.
  for (const auto& r : input_) EXPECT_EQ(r.rfind("cursor", 0), std::string::npos) << r;
  // SAVE_BUTTONS kept the saved states.
  EXPECT_EQ(Bytes(folder_ + "\\Default\\Buttons.ini"), "[Default]\r\nAP=-1\r\n");
  a_->SaveDefault("[AP]");
  EXPECT_FALSE(files::Exists(folder_ + "\\Default\\AP.ini"));
}

TEST_F(Automation, Buttons_SaveAndResetTheTwentyTwoStatesAndSetOnlyWhatDiffers) {
  ASSERT_NO_FATAL_FAILURE(StartWith("pressed = AP, VOR, NDB, FSTR, STAR\n"));
  EXPECT_EQ(a_->ResetButtons(), "Buttons not saved");
  const std::string file = folder_ + "\\Default\\Buttons.ini";
  files::WriteAtomic(file, "[Default]\r\nOLD=1\r\n");
  EXPECT_EQ(a_->SaveButtons(), "Save Buttons - done ");
  const std::set<std::string_view> on{"AP", "VOR", "NDB", "FSTR", "STAR"};
  std::vector<std::pair<std::string, bool>> expected;
  for (auto code : kSavedButtonCodes) expected.emplace_back(std::string(code), on.count(code) > 0);
  EXPECT_EQ(Bytes(file), ButtonsIniText(expected));
  // Without the defaults folder the file cannot be written: said, no file.
  Win32Automation elsewhere(nullptr, AutomationSettings{folder_ + "\\NoSuchFolder", 3});
  elsewhere.GetHandles();
  const std::string missing = folder_ + "\\NoSuchFolder\\Buttons.ini";
  EXPECT_EQ(elsewhere.SaveButtons(), "unable to write " + missing);
  EXPECT_FALSE(files::Exists(missing));

  // RESET_BUTTONS sets each saved state and skips the codes without a key.
  files::WriteAtomic(folder_ + "\\Default\\Buttons.ini",
                     "[Default]\r\nAP=0\r\nCC=-1\r\nNDB=-1\r\nRR=0\r\nGEO=1\r\n");
  const int64_t mark = Mark();
  EXPECT_EQ(a_->ResetButtons(), "Save Buttons - done ");
  std::vector<std::string> toggled;
  for (const auto& e : After(mark, "toolbar")) {
    toggled.push_back(e.Text("button") + (e.Flag("pressed") ? "+" : "-"));
  }
  // File order is the order of the saved codes: CC, AP, GEO. Every click on
  // the toolbar is logged, so VOR (no key) and NDB (already in) stayed as
  // they were.
  EXPECT_EQ(toggled, (std::vector<std::string>{"CC+", "AP-", "GEO+"}));
  std::vector<std::string> focused;
  for (const auto& e : s_.Find("killfocus", mark)) focused.push_back(e.Text("button"));
  EXPECT_EQ(focused, (std::vector<std::string>{"CC", "AP", "GEO", "RR", "NDB"}));

  // PRESS clicks only when the state differs, kills the focus and waits.
  ASSERT_TRUE(s_.Control("pressed = AP, VOR"));
  input_.clear();
  // An unknown code returns nothing and touches nothing.
  const int64_t before = Mark();
  for (const char* code : {"XYZ", "", "[]", "ap"}) EXPECT_EQ(a_->SetButton(code, true), "") << code;
  EXPECT_TRUE(After(before, "toolbar").empty());
  EXPECT_TRUE(s_.Find("killfocus", before).empty());
  EXPECT_TRUE(input_.empty());
  const struct {
    const char* code;
    bool wanted;
    const char* button;  // as the stand-in logs it
    bool clicked;
    const char* status;
  } cases[] = {
      {"CC", true, "CC", true, "Button CC Pressed - done"},
      {"AP", true, "AP", false, "Button AP Pressed - done"},
      {"[VOR]", false, "VOR", true, "Button VOR released - done"},
      {"NDB", false, "NDB", false, "Button NDB released - done"},
      {"I/O", true, "I/O", true, "Button I/O Pressed - done"},
  };
  for (const auto& c : cases) {
    const int64_t mark = Mark();
    EXPECT_EQ(a_->SetButton(c.code, c.wanted), c.status);
    if (c.clicked) {
      ExpectOne(
          mark, "toolbar",
          {{"button", c.button}, {"pressed", c.wanted ? "true" : "false"}, {"shift", "false"}});
    } else {
      EXPECT_TRUE(After(mark, "toolbar").empty()) << c.code;
    }
    ExpectOne(mark, "killfocus", {{"button", c.button}});
    EXPECT_EQ(Checked(c.button), c.wanted) << c.code;
  }
  // Shift is released before each button is read.
  EXPECT_EQ(std::count(input_.begin(), input_.end(), "up 16"), 5);

  // The waits are the Sleep setting and its rounded half, never negative.
  const struct {
    const char* name;
    int32_t sleep;
    std::function<std::string()> call;
    int64_t atLeast, below;  // milliseconds
  } waits[] = {
      // Set button waits Sleep/2 once; a dot-command waits Sleep twice.
      {"PRESS, Sleep 250", 250, [&] { return a_->SetButton("CC", true); }, 125, 250},
      {"ZOOM, Sleep 150", 150, [&] { return a_->DotCommand(".Z 5"); }, 300, 450},
      // A negative setting waits nothing instead of for ever.
      {"ZOOM, Sleep -1000", -1000, [&] { return a_->DotCommand(".Z 6"); }, 0, 150},
      {"PRESS, Sleep -1000", -1000, [&] { return a_->SetButton("CC", false); }, 0, 150},
  };
  for (const auto& c : waits) {
    a_->SetSleepMs(c.sleep);
    // Not GetTickCount: Wine updates it from a thread of its own, which lags
    // on a busy machine.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(c.call(), "") << c.name;
    const int64_t took = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
    EXPECT_GE(took + 2, c.atLeast) << c.name;
    EXPECT_LT(took, c.below + 1000) << c.name;  // generous: the machine may be busy
  }
}

TEST_F(Automation, APrimitiveAfterIvacClosedIsReportedAsIvacClosed) {
  const struct {
    const char* name;
    std::function<std::string()> primitive;
  } cases[] = {
      {"SEND_TEXT", [&] { return a_->SetText("hello", false, false, true); }},
      {"PRESS", [&] { return a_->SetButton("AP", true); }},
      {"ZOOM", [&] { return a_->DotCommand(".Z 5"); }},
      {"COMMBOX", [&] { return a_->SelectTab("2"); }},
  };
  for (const auto& c : cases) {
    ASSERT_NO_FATAL_FAILURE(StartWith());
    EXPECT_EQ(a_->TakeFault(), "") << c.name;
    s_.Stop();  // IvAc closes between two lines of a script
    c.primitive();
    EXPECT_EQ(a_->TakeFault(), kIvacClosed) << c.name;
  }
}

TEST_F(Automation, SelectionDialogs_DefaultsDlgCommandsAndSelectByPatternRestoringTheButton) {
  ASSERT_NO_FATAL_FAILURE(
      StartWith("pressed = AP\n"
                "airports_selected = EDDS, EDDF\n"
                "sids_selected = \n"
                "occupied_areas_selected = ED-R137\n"
                "ndbs = \n"
                "stars = \n"));
  EXPECT_EQ(a_->ResetDefault("[AP]"), "[AP] default not saved");
  const struct {
    const char* code;
    const char* file;
    const char* text;
  } cases[] = {{"[AP]", "AP.ini", "EDDF\r\nEDDS\r\n\r\n"}, {"SID", "SID.ini", "\r\n"}};
  for (const auto& c : cases) {
    const int64_t mark = Mark();
    a_->SaveDefault(c.code);
    EXPECT_EQ(Bytes(folder_ + "\\Default\\" + c.file), c.text) << c.code;
    EXPECT_EQ(After(mark, "dialog_cancelled").size(), 1u) << c.code;
    EXPECT_TRUE(s_.Find("selection", mark).empty()) << c.code;
  }
  EXPECT_TRUE(Checked("AP"));
  EXPECT_FALSE(Checked("SID"));
  // RESET_DEFAULT clears the selection (EDDF, EDDS), then selects the file's.
  files::WriteAtomic(folder_ + "\\Default\\AP.ini", "EDDM\r\nEDDK\r\n\r\n");
  int64_t mark = Mark();
  EXPECT_EQ(a_->ResetDefault("[AP]"), "Restore Default done");
  EXPECT_EQ(Selected(mark), (std::vector<std::string>{"EDDK", "EDDM"}));

  // DLG_OPEN, DLG_SELECT and DLG_CLOSE keep the dialog open until closed.
  EXPECT_FALSE(a_->DialogRemembered());
  const std::string opened = a_->DlgOpen("[SID]");
  HWND dialog = FindWindowA("#32770", "SIDs Selection");
  EXPECT_EQ(opened, "SID OpenDlg " +
                        DecimalText(static_cast<int64_t>(reinterpret_cast<uintptr_t>(dialog))) +
                        " - done");
  EXPECT_EQ(a_->DlgSelect("ANEKI*", "", false), "SID Selection - done");
  EXPECT_EQ(a_->DlgSelect("*7M", "", true), "SID Selection - done");
  EXPECT_EQ(a_->DlgSelect("CINDY7S", "", false), "SID Selection - done");
  mark = Mark();
  EXPECT_TRUE(After(mark, "selection").empty());
  EXPECT_EQ(a_->DlgClose(), "SID Dialog Closed");
  EXPECT_EQ(Selected(mark), (std::vector<std::string>{"ANEKI7L", "CINDY7S"}));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(Checked("SID"));  // released after DLG_CLOSE
  EXPECT_FALSE(a_->DialogRemembered());

  // With the code forgotten, DLG_CLOSE confirms but leaves the button.
  ASSERT_EQ(a_->DlgOpen("[GEO]").substr(0, 12), "GEO OpenDlg ");
  EXPECT_TRUE(Checked("GEO"));  // the Shift+click pressed it in
  EXPECT_EQ(a_->DlgSelect("", "SELECT_ALL", false), "GEO Selection - done");
  a_->ForgetDialogCode();
  mark = Mark();
  EXPECT_EQ(a_->DlgClose(), " Dialog Closed");
  EXPECT_EQ(After(mark, "selection").size(), 1u);
  EXPECT_TRUE(s_.Find("toolbar", mark).empty());
  EXPECT_TRUE(Checked("GEO"));

  // An empty list, then a dialog closed under the commands.
  ASSERT_EQ(a_->DlgOpen("NDB").substr(0, 12), "NDB OpenDlg ");
  EXPECT_EQ(a_->DlgSelect("FW", "", false), "unable to detect NDB list");
  PostMessageA(a_->RememberedDialog(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(standin::WaitUntil([&] { return !IsWindow(a_->RememberedDialog()); }));
  EXPECT_EQ(a_->DlgSelect("FW", "", false), "unable to find Dialog Selection window elements");
  EXPECT_EQ(a_->DlgClose(), "unable to find Dialog Selection window elements");

  // SELECT selects by pattern, confirms and restores the button.
  ASSERT_TRUE(
      s_.Control("pressed = AP, VOR\nairports_selected = EDDF, EDDK\nsids_selected = CINDY7S"));
  const struct {
    const char* code;
    const char* items;
    const char* pre;
    bool unselect;
    const char* logged;
    std::vector<std::string> selected;
    bool pressedAfter;
  } selections[] = {
      {"[AP]", "edd[ms]", "", false, "AP", {"EDDF", "EDDK", "EDDM", "EDDS"}, true},
      {"AP", "EDDF\r\nEDDK", "", true, "AP", {"EDDM", "EDDS"}, true},
      {"[SID]", "ANEKI*", "SELECT_NONE", false, "SID", {"ANEKI7L", "ANEKI7M"}, false},
      {"SID", "", "select_all", false, "SID", {"ANEKI7L", "ANEKI7M", "CINDY7S"}, false},
      {"[SID]", "*", "SELECT_ALL", true, "SID", {}, false},
      {"[OCN]", "ED-R132", "", false, "OCN", {"ED-R132", "ED-R137"}, false},
      {"VOR", "", "SELECT_NONE", false, "VOR", {}, true},
  };
  for (const auto& c : selections) {
    const int64_t mark = Mark();
    EXPECT_EQ(a_->SelectInDialog(c.items, c.code, c.pre, c.unselect),
              std::string(c.code) + " Selection - done");
    ASSERT_TRUE(s_.WaitFor("selection", {{"code", c.logged}}, mark)) << c.code;
    EXPECT_EQ(Selected(mark), c.selected) << c.code << " " << c.items;
    if (std::string(c.logged) != "OCN") {
      EXPECT_EQ(Checked(c.logged), c.pressedAfter) << c.code;
    }
    EXPECT_EQ(FindWindowA("#32770", DialogCaption(c.logged).c_str()), nullptr);
  }
  // An empty list: the dialog stays open and nothing is confirmed.
  mark = Mark();
  EXPECT_EQ(a_->SelectInDialog("KERAX*", "[STAR]", "", false), "unable to detect STAR list");
  EXPECT_NE(FindWindowA("#32770", "STARs Selection"), nullptr);
  EXPECT_TRUE(After(mark, "selection").empty());
  // A code with a button but no dialog, and a code without a button.
  mark = Mark();
  EXPECT_EQ(a_->SelectInDialog("X", "[CC]", "", false), "unable to detect CC Selection window ");
  EXPECT_EQ(a_->SelectInDialog("X", "[XYZ]", "", false), "unable to detect XYZ Button");
  EXPECT_TRUE(After(mark, "selection").empty());
}

TEST_F(Automation, CommBoxAndLabelCommands_TabsTextDotCommandsAndTheSelectedLabelOrNone) {
  ASSERT_NO_FATAL_FAILURE(StartWith("selected = DLH4AB\nconnected = no\n"));
  // A tab by number or name, within the tab count (three standard frequencies).
  const struct {
    const char* arg;
    int tab;  // 0: nothing selected
    const char* status;
  } cases[] = {
      {"2", 2, "selected 2 COMMBox TAB (max=7 - std freq:3)"},
      {"atc", 6, "selected 6 COMMBox TAB (max=7 - std freq:3)"},
      {"8", 0, "unable to select 8 COMMBox TAB (max=7 - std freq:3)"},
      {"0", 0, ""},
  };
  HWND tabs = a_->Lookup(kKeyTabs);
  for (const auto& c : cases) {
    SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
    EXPECT_EQ(a_->SelectTab(c.arg), c.status) << c.arg;
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), c.tab == 0 ? 0 : c.tab - 1) << c.arg;
  }

  HWND line = a_->Lookup(kKeyText);
  SendMessageA(line, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello"));
  EXPECT_EQ(a_->SetText(" A", true, false, false), "hello A Text added");
  EXPECT_EQ(a_->SetText(" B", true, false, false), "hello A B Text added");
  EXPECT_EQ(a_->SetText("C", true, false, false), "hello A BC Text added");
  EXPECT_EQ(Line(), "hello A BC");
  EXPECT_EQ(a_->SetText("", false, true, false), " Text cleared");
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(a_->SetText("", true, false, false), "");  // nothing to add
  EXPECT_EQ(a_->SetText("x y", false, false, false), "x y Text added");
  EXPECT_EQ(Line(), "x y");

  // SEND_TEXT with an empty argument sends what the line holds.
  int64_t mark = Mark();
  EXPECT_EQ(a_->SetText("", false, false, true), " Text sent");
  ExpectOne(mark, "chat_sent", {{"text", "x y"}});
  mark = Mark();
  EXPECT_EQ(a_->SetText("ready for departure", false, false, true),
            "ready for departure Text sent");
  ExpectOne(mark, "chat_sent", {{"text", "ready for departure"}});

  // Dot-commands are typed and sent the same way.
  for (const char* text : {".Z 5", ".C EDDM", ".Z "}) {
    mark = Mark();
    EXPECT_EQ(a_->DotCommand(text), std::string(text) + " done");
    ExpectOne(mark, "dot_command", {{"text", text}});
  }
  mark = Mark();
  EXPECT_EQ(a_->ResetCenterpoint(), "Centerpoint Reset done");
  ExpectOne(mark, "centre_reset");

  // Label commands are posted as menu commands for the selected label.
  const struct {
    LabelAction action;
    const char* logged;
    const char* status;
  } actions[] = {{LabelAction::kAssume, "assume", "Assume"},
                 {LabelAction::kRelease, "release", "Release"},
                 {LabelAction::kForceAct, "force_act", "Force Act - sent"},
                 {LabelAction::kShowFpl, "show_fpl", "Show FPL"},
                 {LabelAction::kRequestFpl, "request_fpl", "Request FPL"},
                 {LabelAction::kAddToIo, "add_to_io", "Added To I/O"}};
  for (const auto& c : actions) {
    mark = Mark();
    EXPECT_EQ(a_->LabelCommand(c.action), c.status);
    ExpectOne(mark, "label_action", {{"action", c.logged}, {"callsign", "DLH4AB"}});
  }
  // Offline, a transfer opens nothing.
  mark = Mark();
  EXPECT_EQ(a_->TransferTo("EDDF_APP"), "IvAc not connected");
  EXPECT_TRUE(After(mark, "subwindow_opened").empty());

  // The selected label is read from its field; the text line gets the focus
  // with the caret at its end.
  EXPECT_EQ(a_->ReadSelectedLabel(), "DLH4AB");
  ASSERT_TRUE(s_.Control("selected = \nconnected = yes"));
  EXPECT_EQ(a_->ReadSelectedLabel(), "");
  SendMessageA(line, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abcd"));
  SendMessageA(line, EM_SETSEL, 0, 2);
  a_->ActivateIvac();
  a_->FocusTextLine();
  DWORD from = 0, to = 0;
  SendMessageA(line, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 4u);
  EXPECT_EQ(to, 4u);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(line, nullptr), &info));
  EXPECT_EQ(info.hwndFocus, line);

  // Without a selected label no sub-window is found and no command posted.
  mark = Mark();
  const struct {
    Clearance kind;
    const char* status;
  } clears[] = {
      {Clearance::kFlightLevel, "unable to detect FL subwindow - NOT ASSUMED ?"},
      {Clearance::kSpeed, "unable to detect FL subwindow - NOT ASSUMED ?"},
      {Clearance::kFix, "unable to detect FIX subwindow - NOT ASSUMED ?"},
  };
  for (const auto& c : clears) EXPECT_EQ(a_->Clear(c.kind, "X"), c.status);
  for (BYTE k : {VK_MULTIPLY, VK_F7, VK_ADD}) EXPECT_GE(GetAsyncKeyState(k), 0) << int{k};
  for (auto action : {LabelAction::kAssume, LabelAction::kAddToIo}) {
    EXPECT_EQ(a_->LabelCommand(action), "no traffic label selected");
  }
  EXPECT_EQ(a_->TransferTo("EDDF_APP"), "no traffic label selected");
  EXPECT_EQ(After(mark, "menu").size(), 1u);  // only the marker of After()
  EXPECT_TRUE(s_.Find("menu_ignored", mark).empty());
  EXPECT_TRUE(s_.Find("label_action", mark).empty());
}

TEST_F(Automation, TransferTo_PicksTheFirstStationWithThePrefix) {
  const struct {
    const char* station;
    const char* handedTo;  // "" when nothing may be confirmed
    const char* status;
  } cases[] = {
      {"EDDF_DEP", "EDDF_DEP 120.150", "Transferred to ATC - done"},
      {"eddf", "EDDF_APP 120.800", "Transferred to ATC - done"},
      {"LFFF_CTR", "", "ATC station LFFF_CTR not found - not transferred"},
      {"", "", "ATC station  not found - not transferred"},
  };
  for (const auto& c : cases) {
    ASSERT_NO_FATAL_FAILURE(StartWith());
    const int64_t mark = Mark();
    EXPECT_EQ(a_->TransferTo(c.station), c.status) << c.station;
    if (*c.handedTo != '\0') {
      ExpectOne(mark, "transfer", {{"station", c.handedTo}, {"callsign", "AFR1234"}});
    } else {
      EXPECT_TRUE(After(mark, "transfer").empty()) << c.station;
      // Left open for the controller.
      EXPECT_NE(FindUntitledDialogWith("ListBox", nullptr), nullptr) << c.station;
    }
    s_.Stop();
  }
}

TEST_F(Automation, Clear_SetsOrClearsTheValueInItsSubWindow) {
  const struct {
    Clearance kind;
    const char* value;
    const char* event;  // "clearance", "clearance_cleared" or "" for none
    const char* loggedKind;
    const char* loggedValue;  // "": not checked
    const char* status;
    BYTE hotKey;
  } cases[] = {
      {Clearance::kFlightLevel, "FL080", "clearance", "level", "FL080", "Cleared FL - done",
       VK_MULTIPLY},
      {Clearance::kFlightLevel, "fl07", "clearance", "level", "FL070", "Cleared FL - done",
       VK_MULTIPLY},
      {Clearance::kFlightLevel, "<none>", "clearance_cleared", "level", "", "Cleared FL - done",
       VK_MULTIPLY},
      {Clearance::kFlightLevel, "FL999", "", "", "", "level FL999 not found - not cleared",
       VK_MULTIPLY},
      {Clearance::kSpeed, "200", "clearance", "speed", "200", "Clear Speed done", VK_F7},
      {Clearance::kSpeed, "<NONE>", "clearance_cleared", "speed", "", "Clear Speed done", VK_F7},
      {Clearance::kSpeed, "", "", "", "", "speed  not found - not cleared", VK_F7},
      {Clearance::kFix, "KERAX", "clearance", "fix", "KERAX", "Cleared to Fix - done", VK_ADD},
      {Clearance::kFix, "<None>", "clearance_cleared", "fix", "", "Cleared to Fix - done", VK_ADD},
  };
  for (const auto& c : cases) {
    ASSERT_NO_FATAL_FAILURE(StartWith());
    input_.clear();
    const int64_t mark = Mark();
    EXPECT_EQ(a_->Clear(c.kind, c.value), c.status) << c.value;
    // The hot key is pressed and released: nothing stays down afterwards.
    EXPECT_EQ(input_, (std::vector<std::string>{"down " + DecimalText(c.hotKey),
                                                "up " + DecimalText(c.hotKey)}))
        << c.value;
    EXPECT_GE(GetAsyncKeyState(c.hotKey), 0) << c.value << ": key left down";
    for (const char* event : {"clearance", "clearance_cleared"}) {
      if (std::string_view(event) == c.event) {
        Where logged{{"kind", c.loggedKind}};
        if (*c.loggedValue != '\0') logged.emplace_back("value", c.loggedValue);
        ExpectOne(mark, event, logged);
      } else {
        EXPECT_TRUE(After(mark, event).empty()) << c.value << ": " << event;
      }
    }
    s_.Stop();
  }
}

TEST_F(Automation, ColorScheme_SetsTheNameInTheDialogAndConfirms) {
  // Another program's file dialog with an item 1089, in front of everything.
  HWND decoy = CreateWindowExA(WS_EX_TOPMOST, "#32770", "Open", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                               120, 80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(decoy, nullptr);
  HWND decoyOk = CreateWindowA("Button", "OK", WS_CHILD | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 0, 30,
                               20, decoy, reinterpret_cast<HMENU>(1), nullptr, nullptr);
  CreateWindowA("Static", "", WS_CHILD, 0, 30, 30, 20, decoy, reinterpret_cast<HMENU>(1089),
                nullptr, nullptr);
  for (const char* name : {"Night", "Default", "classic"}) {
    ASSERT_NO_FATAL_FAILURE(StartWith("scheme = Default\n"));
    const int64_t mark = Mark();
    EXPECT_EQ(a_->ColorScheme(name), std::string("ColorScheme ") + name + " - done");
    PumpEvents();
    EXPECT_EQ(SendMessageA(decoyOk, BM_GETCHECK, 0, 0), 0) << "the other program's OK was clicked";
    const auto applied = After(mark, "colour_scheme");
    ASSERT_EQ(applied.size(), 1u) << name;
    EXPECT_TRUE(EqualsNoCase(applied[0].Text("name"), name)) << applied[0].Text("name");
    s_.Stop();
  }
  DestroyWindow(decoy);
}

// A window of another thread that takes the foreground back within a few
// milliseconds whenever it loses it, and counts the keys and clicks it
// receives.
class ForegroundThief {
 public:
  ForegroundThief() {
    thread_ = std::thread([this] { Run(); });
    standin::WaitUntil([this] { return hwnd_.load() != nullptr; });
  }
  ~ForegroundThief() {
    PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    thread_.join();
  }
  HWND hwnd() const { return hwnd_; }
  static inline std::atomic<int> keys{0}, clicks{0};

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_CHAR) ++keys;
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) ++clicks;
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(w, msg, wp, lp);
  }
  void Run() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvForegroundThief";
    RegisterClassA(&wc);
    keys = clicks = 0;
    HWND w = CreateWindowA("QvForegroundThief", "thief", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 650, 650,
                           200, 150, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(w);
    hwnd_ = w;
    for (;;) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      if (GetForegroundWindow() != w) SetForegroundWindow(w);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
  }
  std::atomic<HWND> hwnd_{nullptr};
  std::thread thread_;
};

TEST_F(Automation, OccupiedAreaMoveAndActivate_MarkPlaceAndFrontIvacOrTypeNothingIfItCannot) {
  ASSERT_NO_FATAL_FAILURE(StartWith());
  // A point on IvAc off the map (its status bar) marks nothing: IvAc opens
  // no dialog, and the pointer goes back all the same.
  SetCursorPos(9, 11);
  EXPECT_EQ(a_->OccupiedArea("645,400,AREA"), "unable to detect OCA subwindow ");
  EXPECT_EQ(input_.back(), "cursor 9,11");
  EXPECT_EQ(a_->OccupiedArea("1,2"), "");
  // A point off IvAc is not clicked at all: it may be another program.
  input_.clear();
  EXPECT_EQ(a_->OccupiedArea("1200,1000,AREA"),
            "OCA point 1200,1000 is not on IvAc - nothing clicked");
  EXPECT_EQ(a_->TakeFault(), "");
  EXPECT_TRUE(input_.empty());

  SetCursorPos(5, 7);
  const int64_t mark = Mark();
  EXPECT_EQ(a_->OccupiedArea("300,500, AREA 1 "), "Cleared to Fix - done");
  // The right then left click marked the point on the map.
  ExpectOne(mark, "map_point", {{"x", "500"}, {"y", "300"}});
  ExpectOne(mark, "occupied_area", {{"name", "AREA 1"}, {"x", "500"}, {"y", "300"}});
  // The pointer went back to where it was.
  EXPECT_EQ(input_, (std::vector<std::string>{"cursor 500,300", "right", "left", "cursor 5,7"}));
  // The left click after the right one selected no label, and the new area
  // is listed in the occupied-area selection.
  EXPECT_TRUE(s_.Find("label_selected", mark).empty());
  EXPECT_EQ(a_->SelectInDialog("AREA 1", "[OCN]", "", false), "[OCN] Selection - done");
  const auto items = Selected(mark);
  EXPECT_NE(std::find(items.begin(), items.end(), "AREA 1"), items.end());

  const struct {
    const char* placement;
    const char* status;
    RECT expected;  // left, top, right, bottom; all 0: unchanged
  } cases[] = {
      {"10,20,600,800", "IvAc Moved ", {20, 10, 820, 610}},
      {"-5,-6,500,700", "IvAc Moved ", {0, 0, 700, 500}},
      {"10,20,9,800", "IvAc windows coordinates error", {}},
      {"10,20,600,99999", "IvAc windows coordinates error", {}},
  };
  for (const auto& c : cases) {
    RECT before{};
    GetWindowRect(s_.main(), &before);
    EXPECT_EQ(a_->MoveIvac(c.placement), c.status) << c.placement;
    Barrier();
    RECT now{};
    GetWindowRect(s_.main(), &now);
    const RECT& want = c.expected.right == 0 ? before : c.expected;
    EXPECT_TRUE(EqualRect(&now, &want)) << c.placement << ": " << now.left << "," << now.top << ","
                                        << now.right << "," << now.bottom;
  }
  // The read-back text moves the window to where it is.
  const std::string here = a_->ReadIvacPlacement();
  EXPECT_EQ(here, "0,0,500,700");
  EXPECT_EQ(a_->MoveIvac(here), "IvAc Moved ");
  EXPECT_EQ(a_->ReadIvacPlacement(), here);
  // A minimised window is restored first.
  ShowWindow(s_.main(), SW_MINIMIZE);
  ASSERT_TRUE(standin::WaitUntil([&] { return IsIconic(s_.main()) != FALSE; }));
  EXPECT_EQ(a_->MoveIvac("30,40,400,500"), "IvAc Moved ");
  EXPECT_FALSE(IsIconic(s_.main()));
  EXPECT_EQ(a_->ReadIvacPlacement(), "30,40,400,500");

  // ActivateIvac restores a minimised IvAc and brings it to the front.
  HWND mine = CreateWindowA("STATIC", "QvFrontProbe", WS_OVERLAPPED | WS_VISIBLE, 600, 600, 80, 60,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  const struct {
    const char* name;
    bool minimise;
  } fronts[] = {{"another window in front", false}, {"IvAc minimised", true}};
  for (const auto& c : fronts) {
    ASSERT_TRUE(BringToForeground(mine));
    if (c.minimise) {
      ShowWindow(s_.main(), SW_MINIMIZE);
      ASSERT_TRUE(standin::WaitUntil([&] { return IsIconic(s_.main()) != FALSE; }));
    }
    a_->ActivateIvac();
    EXPECT_FALSE(IsIconic(s_.main())) << c.name;
    EXPECT_EQ(GetForegroundWindow(), s_.main()) << c.name;
  }
  DestroyWindow(mine);

  // When IvAc cannot be brought to the front nothing is typed or clicked.
  ForegroundThief thief;
  ASSERT_TRUE(standin::WaitUntil([&] { return GetForegroundWindow() == thief.hwnd(); }));
  const int64_t stolen = Mark();
  const struct {
    const char* name;
    std::function<std::string()> primitive;
  } blocked[] = {
      {"CLEARED_TO_FL", [&] { return a_->Clear(Clearance::kFlightLevel, "FL080"); }},
      {"OCA", [&] { return a_->OccupiedArea("300,500,AREA"); }},
      {"SID selection (Shift click)",
       [&] { return a_->SelectInDialog("CINDY7S", "SID", "", false); }},
  };
  for (const auto& c : blocked) {
    input_.clear();
    EXPECT_EQ(c.primitive(), kIvacNotInFront) << c.name;
    EXPECT_EQ(a_->TakeFault(), kIvacNotInFront) << c.name;
    for (const std::string& given : input_) {
      EXPECT_TRUE(given.rfind("up ", 0) == 0) << c.name << ": " << given;
    }
  }
  Sleep(200);  // what was typed has reached the thief by now
  Barrier();
  EXPECT_EQ(ForegroundThief::keys, 0);
  EXPECT_EQ(ForegroundThief::clicks, 0);
  for (const char* effect : {"hotkey", "map_point", "map_click", "dialog_opened"})
    EXPECT_TRUE(s_.Find(effect, stolen).empty()) << effect;
}

// The rig may pair this program with a stand-in of the other kind:
// QV_STANDIN_BITS says which kind it started ("32" or "64"), and
// QV_INOUT_EXPECT=refused that this program cannot read that kind's list.
TEST_F(Automation, ExtractLVitems_ReadsTheInOutListOfTheStandInProcess) {
  ASSERT_NO_FATAL_FAILURE(StartWith(
      "inout = DLH4AB|A321|EDDM|EDDF ; | | | ; EZY73KL|A319||LFPG ; BAW915|A320|EGLL|EDDF\n"));
  if (const char* bits = std::getenv("QV_STANDIN_BITS"); bits != nullptr && *bits != '\0') {
    const win::Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, s_.pid()));
    ASSERT_TRUE(process);
    EXPECT_EQ(win::KindOfProcess(process.Get()),
              std::string_view(bits) == "64" ? win::ProcessKind::k64Bit : win::ProcessKind::k32Bit);
  }
  std::string problem = "left over";
  if (const char* expect = std::getenv("QV_INOUT_EXPECT");
      expect != nullptr && std::string_view(expect) == "refused") {
    EXPECT_EQ(a_->ExtractLVitems(&problem), "");
    EXPECT_EQ(problem, kInOutOf64BitIvac);
    return;
  }
  EXPECT_EQ(a_->ExtractLVitems(&problem),
            "DLH4AB\tA321\tEDDM\tEDDF\t\n"
            "EZY73KL\tA319\t\tLFPG\t\n"
            "BAW915\tA320\tEGLL\tEDDF\t\n");
  EXPECT_EQ(problem, "");
  ASSERT_TRUE(s_.Control("inout = "));
  EXPECT_EQ(a_->ExtractLVitems(), "");
  ASSERT_TRUE(s_.Control("inout_add = AFR1234|A320|LFPG|EDDF"));
  EXPECT_EQ(a_->ExtractLVitems(), "AFR1234\tA320\tLFPG\tEDDF\t\n");
  ASSERT_TRUE(s_.Control("inout_window = closed"));
  EXPECT_EQ(a_->ExtractLVitems(), "");
}

}  // namespace
}  // namespace qv::ivac
