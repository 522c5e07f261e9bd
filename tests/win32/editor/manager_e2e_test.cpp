// The panel manager end to end: its list, create, copy, remove, runs and
// about window.
#include "win32/editor/manager_fixture.h"

#include "editor/frm_def.h"

namespace {

using namespace qv::e2e;

TEST_F(ManagerE2E, SplashThenListDescriptionAndActivationLog) {
  Write(base_ + "\\Config\\Config.ini", "[default]\r\nDebug=-1\r\n");
  Write(Panels() + "bravo.ini", "[Setup]\r\nDescription=Second desk\r\n");
  Write(Panels() + "Alpha.ini", "[Setup]\r\nDescription=First desk\r\n");
  Write(Panels() + "notes.txt", "not a panel");
  CreateDirectoryA((Panels() + "Folder.ini").c_str(), nullptr);

  ASSERT_TRUE(process_->Start(g_exe, "", root_));
  HWND splash = WaitTopWindow(process_->Id(), "QuorvexSplash", "About ...", 10000);
  ASSERT_NE(splash, nullptr) << "no splash";
  // Read without a message: the splash's thread is busy for half a second.
  const std::string text = WindowText(GetDlgItem(splash, 2001));
  EXPECT_EQ(text.substr(text.size() - 14), "\r\n\nLoading ...") << text;
  manager_ = WaitTopWindow(process_->Id(), "QuorvexManager", "Quorvex", 10000);
  ASSERT_NE(manager_, nullptr);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(splash); }, 3000)) << "the splash stayed";

  EXPECT_EQ(ListEntries(), (std::vector<std::string>{"Alpha", "bravo"}));
  EXPECT_EQ(Selected(), "Alpha");
  EXPECT_EQ(qv::standin::TextOf(Item(kDescription)), "First desk");
  ClickEntry("bravo");
  EXPECT_TRUE(
      WaitFor([&] { return qv::standin::TextOf(Item(kDescription)) == "Second desk"; }, 3000))
      << qv::standin::TextOf(Item(kDescription));
  // Typing into the box above the list filters it, in any letter case.
  TypeInto(Item(kFilter), "RAV");
  EXPECT_TRUE(WaitFor([&] { return ListEntries() == std::vector<std::string>{"bravo"}; }, 3000));
  EXPECT_EQ(Selected(), "bravo");

  // Each activation logs the open windows: "FORMS:n", then one line per window.
  const std::string log = Log();
  const size_t at = log.find("FORMS:");
  ASSERT_NE(at, std::string::npos) << log;
  const int count = atoi(log.c_str() + at + 6);
  ASSERT_GE(count, 1);
  std::string expected = "FORMS:" + std::to_string(count) + "\r\n";
  EXPECT_EQ(log.substr(at, expected.size()), expected);
  EXPECT_NE(log.find("FORMS:" + std::to_string(count) + " 0 "), std::string::npos) << log;
  EXPECT_NE(log.find(" frmMain\r\n"), std::string::npos) << log;
}

TEST_F(ManagerE2E, CreateAsksAgainUntilAGoodNameAndCreatesNothingBad) {
  Write(Panels() + "Existing.ini", "[Setup]\r\nDescription=kept\r\n");
  Start();
  // Cancel: nothing is created and the editor is not opened.
  Click(Item(kNew));
  std::string title, prompt;
  HWND box = WaitInputBox(&title, &prompt);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(title, "Create Macro Panel");
  EXPECT_EQ(prompt, "Panel name:");
  Answer(box, "");
  Sleep(300);
  EXPECT_TRUE(TopWindowsOf(process_->Id(), "#32770", "").empty());

  Click(Item(kNew));
  struct Case {
    const char* name;
    const char* message;  // how the message begins
  };
  const Case refused[] = {
      {"Existing", "Existing\r\n\nMacro Panel already exists"},
      {"*", "*\r\n\nInvalid Name\r\n\n"},
      {"a?b", "a?b\r\n\nInvalid Name\r\n\n"},
      {"CON", "CON\r\n\nInvalid Name\r\n\n"},
      {"lpt1.x", "lpt1.x\r\n\nInvalid Name\r\n\n"},
  };
  for (const Case& c : refused) {
    box = WaitInputBox();
    ASSERT_NE(box, nullptr) << c.name << ": not asked again";
    Answer(box, c.name);
    const MessageBoxInfo m = Reply(IDOK);
    EXPECT_EQ(m.caption, "Quorvex") << c.name;
    EXPECT_EQ(m.text.substr(0, strlen(c.message)), c.message) << c.name;
  }
  box = WaitInputBox();
  ASSERT_NE(box, nullptr);
  Answer(box, "Tower");
  // The layout editor opens on the new panel, 2 rows of 10 buttons, and
  // leaves it as created when it closes unchanged.
  const HWND def =
      WaitTopWindow(process_->Id(), qv::editor::kDefClass, qv::editor::kDefCaption, 10000);
  ASSERT_NE(def, nullptr);
  auto field = [&](int i) {
    return qv::standin::TextOf(GetDlgItem(def, qv::editor::kDefFieldBase + i));
  };
  EXPECT_TRUE(WaitFor([&] { return field(3) == "2" && field(4) == "10"; }, 5000))
      << field(3) << " rows, " << field(4) << " columns";
  EXPECT_FALSE(IsWindowVisible(manager_));
  Click(GetDlgItem(def, qv::editor::kDefCancel));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(def); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(manager_) != FALSE; }, 5000));
  EXPECT_EQ(Read(Panels() + "Tower.ini"), kTemplate);
  EXPECT_EQ(Read(Panels() + "Existing.ini"), "[Setup]\r\nDescription=kept\r\n");
  EXPECT_EQ(PanelFiles(), (std::vector<std::string>{"Existing.ini", "Tower.ini"}));
  EXPECT_TRUE(WaitFor([&] { return Selected() == "Tower"; }, 3000)) << Selected();
}

TEST_F(ManagerE2E, CopyKeepsEveryKeyAndNeverOverwrites) {
  const std::string source =
      "[Setup]\r\nDescription=Ground east\r\nButtonWidth=900\r\nRows=1\r\nCols=2\r\n"
      "BackColor=0000000255\r\n[01]\r\nLabel=Taxi\r\nMacro=|SEND_TEXT taxi\r\n"
      "ColorReleased=0000065280\r\n; a comment line\r\n[02]\r\nLabel=Hold\r\nHidden=-1\r\n";
  Write(Panels() + "Src.ini", source);
  Write(Panels() + "Other.ini", "[Setup]\r\nDescription=other\r\n");
  Start();
  ClickEntry("Src");
  Click(Item(kCopy));
  std::string title, prompt;
  HWND box = WaitInputBox(&title, &prompt);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(title, "QuorvexCopy Panel");
  EXPECT_EQ(prompt, "Copy Src to:");
  Answer(box, "Other");
  const MessageBoxInfo m = Reply(IDOK);
  EXPECT_EQ(m.caption, "QuorvexCopy Panel");
  EXPECT_EQ(m.text, "Other\r\n\nMacro Panel already exists");
  box = WaitInputBox();
  ASSERT_NE(box, nullptr) << "not asked again";
  Answer(box, "Dst");
  ASSERT_TRUE(WaitFor([&] { return Selected() == "Dst"; }, 3000)) << Selected();
  EXPECT_EQ(Read(Panels() + "Dst.ini"), source);
  EXPECT_EQ(Read(Panels() + "Other.ini"), "[Setup]\r\nDescription=other\r\n");
  EXPECT_EQ(qv::standin::TextOf(Item(kDescription)), "Ground east");
}

// The trash folder Wine moves removed files to: $XDG_DATA_HOME/Trash, or
// ~/.local/share/Trash; "" when neither is known.
std::string TrashFolder() {
  char buf[MAX_PATH] = {};
  if (GetEnvironmentVariableA("XDG_DATA_HOME", buf, MAX_PATH) > 0)
    return WindowsPath(buf) + "\\Trash";
  if (GetEnvironmentVariableA("WINEHOMEDIR", buf, MAX_PATH) == 0) return {};
  std::string home = buf;
  if (home.rfind("\\??\\", 0) == 0) home = home.substr(4);
  return home + "\\.local\\share\\Trash";
}

TEST_F(ManagerE2E, RemoveGoesToTheRecycleBinOrStaysWhenCancelled) {
  // A name of this run's own, as the trash outlives the test.
  const std::string gone =
      "Gone" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
  Write(Panels() + gone + ".ini", "[Setup]\r\nDescription=bye\r\n");
  Write(Panels() + "Kept.ini", "[Setup]\r\n");
  Start();
  ClickEntry(gone);
  Click(Item(kRemove));
  MessageBoxInfo m = Reply(IDCANCEL);
  EXPECT_EQ(m.caption, "Quorvex");
  EXPECT_EQ(m.text, "Delete Macro Panel \r\n\n" + gone + "\r\n\nConfirm ?");
  EXPECT_EQ(Read(Panels() + gone + ".ini"), "[Setup]\r\nDescription=bye\r\n");

  ClickEntry(gone);
  Click(Item(kRemove));
  Reply(IDOK);
  // The shell asks too; its Yes moves the file to the recycle bin.
  HWND shell = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND w : TopWindowsOf(process_->Id(), "#32770", ""))
          if (GetDlgItem(w, IDYES)) shell = w;
        return shell != nullptr;
      },
      10000))
      << "no question from the shell";
  ASSERT_TRUE(qv::standin::BringToFront(shell));
  Click(GetDlgItem(shell, IDYES));
  ASSERT_TRUE(WaitFor([&] { return Read(Panels() + gone + ".ini") == "<missing>"; }, 10000));
  EXPECT_TRUE(WaitFor([&] { return ListEntries() == std::vector<std::string>{"Kept"}; }, 3000));
  // The prefix's recycle bin (Wine keeps it in the user's trash folder)
  // holds it, under the name it had.
  const std::string trash = TrashFolder();
  ASSERT_FALSE(trash.empty());
  const std::string kept = trash + "\\files\\" + gone + ".ini";
  EXPECT_EQ(Read(kept), "[Setup]\r\nDescription=bye\r\n") << kept;
  DeleteFileA(kept.c_str());
  DeleteFileA((trash + "\\info\\" + gone + ".ini.trashinfo").c_str());
}

TEST_F(ManagerE2E, RunsInThisProcessAndInNewOnesAndKeepsTheChoice) {
  Write(base_ + "\\Config\\Config.ini", "[default]\r\nDebug=-1\r\n");
  Write(Panels() + "Tower.ini",
        "[Setup]\r\nRows=1\r\nCols=1\r\nTop=3000\r\nLeft=3000\r\n[01]\r\nLabel=Hi\r\n");
  Start();
  ClickEntry("Tower");
  // In this process: the manager hides while the panel or the server window
  // runs, and comes back when it closes.
  for (const auto& [button, cls] : {std::pair<int, const char*>{kStart, "QuorvexPanel"},
                                    std::pair<int, const char*>{kRunServer, "QuorvexServer"}}) {
    Click(Item(button));
    HWND run = WaitTopWindow(process_->Id(), cls, "", 10000);
    ASSERT_NE(run, nullptr) << "no " << cls;
    EXPECT_FALSE(IsWindowVisible(manager_)) << cls;
    PostMessageA(run, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(manager_) != FALSE; }, 10000)) << cls;
    EXPECT_EQ(Selected(), "Tower") << cls;
  }

  // In a new process each: the command lines, as the new processes log them.
  ASSERT_TRUE(qv::standin::BringToFront(manager_));
  // Just after the manager came back, Wine may lose a first click.
  ASSERT_TRUE(ClickUntil(Item(kRunNew),
                         [&] { return SendMessageA(Item(kRunNew), BM_GETCHECK, 0, 0) == 1; }));
  struct Run {
    int button;
    const char* line;
  };
  for (const Run& r :
       {Run{kStart, "CommandLine=Tower\r\n"}, Run{kRunClient, "CommandLine=*CLIENT Tower\r\n"},
        Run{kRunServer, "CommandLine=*SERVER\r\n"}, Run{kHelper, "CommandLine=*MACROHELPER\r\n"}}) {
    ASSERT_TRUE(qv::standin::BringToFront(manager_));
    Click(Item(r.button));
    EXPECT_TRUE(WaitFor([&] { return Log().find(r.line) != std::string::npos; }, 15000))
        << r.line << Log();
    EXPECT_TRUE(IsWindowVisible(manager_)) << r.line;
    Sleep(300);  // its window shows: then it is ended
    EndStartedPrograms(process_->Id());
  }
  // The choice survives a restart.
  PostMessageA(manager_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(process_->WaitExit(10000));
  EXPECT_NE(Read(base_ + "\\Config\\Config.ini").find("NewInstance=1\r\n"), std::string::npos);
  Start();
  EXPECT_EQ(SendMessageA(Item(kRunNew), BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(qv::standin::BringToFront(manager_));
  ASSERT_TRUE(ClickUntil(Item(kRunNew),
                         [&] { return SendMessageA(Item(kRunNew), BM_GETCHECK, 0, 0) == 0; }));
  PostMessageA(manager_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(process_->WaitExit(10000));
  EXPECT_NE(Read(base_ + "\\Config\\Config.ini").find("NewInstance=0\r\n"), std::string::npos);
}

TEST_F(ManagerE2E, AboutShowsTheVersionOfTheProgramFile) {
  Start();
  Click(Item(kImage1));
  HWND about = WaitTopWindow(process_->Id(), "QuorvexSplash", "About ...", 5000);
  ASSERT_NE(about, nullptr);
  const std::string version = VersionString(g_exe, "FileVersion");
  ASSERT_FALSE(version.empty());
  EXPECT_EQ(qv::standin::TextOf(GetDlgItem(about, 2002)), version);
  EXPECT_EQ(qv::standin::TextOf(GetDlgItem(about, 2001)),
            "Quorvex: an IvAc add-on to add Macro funcionalities to IvAc - IVAO Virtual ATC "
            "client\"");
  // While it shows, the manager takes no clicks; a click on it closes it.
  EXPECT_FALSE(IsWindowEnabled(manager_));
  Click(GetDlgItem(about, 2005));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }, 3000));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(manager_) != FALSE; }, 3000));
}

BOOL CALLBACK FindExplorer(HWND w, LPARAM lp) {
  auto* wanted = reinterpret_cast<std::pair<std::string, HWND>*>(lp);
  if (IsWindowVisible(w) && ClassOf(w) == "ExplorerWClass" && WindowText(w) == wanted->first) {
    wanted->second = w;
    return FALSE;
  }
  return TRUE;
}

// The folder buttons ask the shell to explore their folders; under Wine that
// opens the file browser on each, titled with the folder's name.
TEST_F(ManagerE2E, FolderButtonsExploreTheirFolders) {
  Start();
  const std::pair<int, const char*> buttons[] = {
      {1018, "Macro"}, {1019, "Panels"}, {1020, "QuorvexData"}};
  for (const auto& [button, title] : buttons) {
    ASSERT_TRUE(qv::standin::BringToFront(manager_));
    Click(Item(button));
    std::pair<std::string, HWND> found{title, nullptr};
    EXPECT_TRUE(WaitFor(
        [&] {
          EnumWindows(FindExplorer, reinterpret_cast<LPARAM>(&found));
          return found.second != nullptr;
        },
        15000))
        << title;
    if (!found.second) continue;
    // The browser was started for the test: it ends with it.
    DWORD pid = 0;
    GetWindowThreadProcessId(found.second, &pid);
    EndProcess(pid);
  }
}

}  // namespace

int main(int argc, char** argv) { return RunTestsWithProgram(argc, argv, g_exe); }
