// The panel manager end to end (quorvex.exe without arguments), driven with
// real input: its list, create, copy, remove, runs, about window and the
// settings window it opens.
#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/frm_def.h"
#include "win32/support/program_case.h"

namespace {

using namespace qv::e2e;

// Control IDs of the manager window (editor/win32/frm_main.h).
constexpr int kFilter = 1003, kList = 1001, kDescription = 1002, kImage1 = 1005, kNew = 1010,
              kCopy = 1011, kRemove = 1013, kStart = 1014, kRunClient = 1015, kRunServer = 1016,
              kRunNew = 1017, kHelper = 1021, kConfig = 1022;

// Ends a process the test had started, through the program or the shell.
void EndProcess(DWORD pid) {
  if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    TerminateProcess(h, 0);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
}

// Ends the programs a run in a new process started: every process other than
// `manager` that shows a window of the program.
void EndStartedPrograms(DWORD manager) {
  for (HWND w : qv::standin::TopLevelWindows("")) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != manager && pid != GetCurrentProcessId() &&
        (ClassOf(w).rfind("Quorvex", 0) == 0 || WindowText(w) == "Macro Helper"))
      EndProcess(pid);
  }
}

class ManagerE2E : public ProgramCase {
 protected:
  std::string PanelText(const std::string& name) const { return ReadFileText(PanelFile(name)); }
  std::vector<std::string> PanelFiles() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Path("QuorvexData\\Panels")))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  void Start() {
    manager_ = ProgramCase::Start("", "QuorvexManager", "Quorvex");
    ASSERT_NE(manager_, nullptr) << "no manager window";
    // The splash goes once the manager shows; clicks are for the manager.
    ASSERT_TRUE(
        WaitFor([&] { return TopWindowsOf(process_->Id(), "QuorvexSplash", "").empty(); }, 5000));
    ASSERT_TRUE(qv::standin::BringToFront(manager_));
  }
  HWND Item(int id) const { return GetDlgItem(manager_, id); }

  std::vector<std::string> ListEntries() const {
    std::vector<std::string> names;
    const int n = static_cast<int>(SendMessageA(Item(kList), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) names.push_back(qv::standin::ListBoxItem(Item(kList), i));
    return names;
  }
  std::string Selected() const {
    const int i = static_cast<int>(SendMessageA(Item(kList), LB_GETCURSEL, 0, 0));
    return i < 0 ? "" : qv::standin::ListBoxItem(Item(kList), i);
  }
  void ClickEntry(const std::string& name) {
    const auto names = ListEntries();
    const auto at = std::find(names.begin(), names.end(), name);
    ASSERT_NE(at, names.end()) << name;
    RECT r{};
    SendMessageA(Item(kList), LB_GETITEMRECT, at - names.begin(), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(Item(kList), &p);
    qv::standin::ClickAt(p, false);
    ASSERT_TRUE(WaitFor([&] { return Selected() == name; }, 3000)) << name;
  }

  // Waits for the input box, reads its title and prompt, types the answer
  // and presses Enter; an empty answer clicks Cancel instead.
  void Answer(const std::string& text, std::string* title = nullptr,
              std::string* prompt = nullptr) {
    HWND box = WaitTopWindow(process_->Id(), "QuorvexInputBox", "", 5000);
    ASSERT_NE(box, nullptr) << "no input box for \"" << text << "\"";
    if (title) *title = WindowText(box);
    if (prompt) *prompt = qv::standin::TextOf(GetDlgItem(box, 300));
    if (text.empty()) {
      Click(GetDlgItem(box, IDCANCEL));
    } else {
      TypeInto(GetDlgItem(box, 301), text);
      ASSERT_TRUE(WaitText(GetDlgItem(box, 301), text, 3000));
      Press({VK_RETURN});
    }
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 3000));
  }
  HWND manager_ = nullptr;
};

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

TEST_F(ManagerE2E, RemoveRunsInThisProcessAndInNewOnesAndKeepsTheChoice) {
  Write("Config\\Config.ini", "[default]\r\nDebug=-1\r\n");
  Panel("Tower", "[Setup]\r\nRows=1\r\nCols=1\r\nTop=3000\r\nLeft=3000\r\n[01]\r\nLabel=Hi\r\n");
  // A name of this run's own, as the trash outlives the test.
  const std::string gone =
      "Gone" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
  Panel(gone, "[Setup]\r\nDescription=bye\r\n");
  Panel("Kept", "[Setup]\r\n");
  Start();
  // Remove asks; Cancel keeps the file, OK moves it to the recycle bin.
  ClickEntry(gone);
  Click(Item(kRemove));
  MessageBoxInfo m = Reply(IDCANCEL);
  EXPECT_EQ(m.caption, "Quorvex");
  EXPECT_EQ(m.text, "Delete Macro Panel \r\n\n" + gone + "\r\n\nConfirm ?");
  EXPECT_EQ(PanelText(gone), "[Setup]\r\nDescription=bye\r\n");

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
  Click(GetDlgItem(shell, IDYES));
  ASSERT_TRUE(WaitFor([&] { return PanelText(gone) == "<missing>"; }, 10000));
  const std::vector<std::string> left{"Kept", "Tower"};
  EXPECT_TRUE(WaitFor([&] { return ListEntries() == left; }, 3000));
  // The prefix's recycle bin (Wine keeps it in the user's trash folder)
  // holds it, under the name it had.
  const std::string trash = TrashFolder();
  ASSERT_FALSE(trash.empty());
  const std::string kept = trash + "\\files\\" + gone + ".ini";
  EXPECT_EQ(ReadFileText(kept), "[Setup]\r\nDescription=bye\r\n") << kept;
  DeleteFileA(kept.c_str());
  DeleteFileA((trash + "\\info\\" + gone + ".ini.trashinfo").c_str());

  // In this process: the manager hides while the panel or the server window
  // runs, and comes back when it closes.
  ClickEntry("Tower");
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
  // Just after the manager came back, Wine may lose a first click.
  ASSERT_TRUE(ClickUntil(Item(kRunNew),
                         [&] { return SendMessageA(Item(kRunNew), BM_GETCHECK, 0, 0) == 1; }));
  const std::pair<int, const char*> runs[] = {{kStart, "CommandLine=Tower\r\n"},
                                              {kRunClient, "CommandLine=*CLIENT Tower\r\n"},
                                              {kRunServer, "CommandLine=*SERVER\r\n"},
                                              {kHelper, "CommandLine=*MACROHELPER\r\n"}};
  for (const auto& [button, line] : runs) {
    Click(Item(button));
    EXPECT_TRUE(WaitFor([&] { return Log().find(line) != std::string::npos; }, 15000))
        << line << Log();
    EXPECT_TRUE(IsWindowVisible(manager_)) << line;
    Sleep(300);  // its window shows: then it is ended
    EndStartedPrograms(process_->Id());
  }
  // The choice survives a restart.
  PostMessageA(manager_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(process_->WaitExit(10000));
  EXPECT_NE(Read("Config\\Config.ini").find("NewInstance=1\r\n"), std::string::npos);
  Start();
  EXPECT_EQ(SendMessageA(Item(kRunNew), BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(ClickUntil(Item(kRunNew),
                         [&] { return SendMessageA(Item(kRunNew), BM_GETCHECK, 0, 0) == 0; }));
  PostMessageA(manager_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(process_->WaitExit(10000));
  EXPECT_NE(Read("Config\\Config.ini").find("NewInstance=0\r\n"), std::string::npos);
}

// The settings window, opened from the Config button: each field saved and
// read back, the checks and their messages, Exit and the close box.
constexpr int kName = 3001, kAddress = 3002, kPort = 3003, kFreq = 3004, kSleep = 3005,
              kDebug = 3006, kSave = 3007, kExit = 3008;

class ConfigE2E : public ManagerE2E {
 protected:
  std::string ConfigText() const { return Read("Config\\Config.ini"); }
  HWND Open() {
    Click(Item(kConfig));
    config_ = WaitTopWindow(process_->Id(), "QuorvexConfig", "Preferences", 5000);
    EXPECT_TRUE(config_ && qv::standin::BringToFront(config_)) << "no settings window in front";
    return config_;
  }
  void Set(int id, const std::string& text) {
    SendMessageA(GetDlgItem(config_, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  std::string Field(int id) const { return qv::standin::TextOf(GetDlgItem(config_, id)); }
  bool Closed() const { return WaitGone(config_, 3000); }
  HWND config_ = nullptr;
};

TEST_F(ConfigE2E, SplashListFilterCreateCopyAboutFolderButtonsAndSettings) {
  Write("Config\\Config.ini", "[default]\r\nDebug=-1\r\n");
  Panel("bravo", "[Setup]\r\nDescription=Second desk\r\n");
  Panel("Alpha", "[Setup]\r\nDescription=First desk\r\n");
  Panel("Existing", "[Setup]\r\nDescription=kept\r\n");
  const std::string source =
      "[Setup]\r\nDescription=Ground east\r\nButtonWidth=900\r\nRows=1\r\nCols=2\r\n"
      "BackColor=0000000255\r\n[01]\r\nLabel=Taxi\r\nMacro=|SEND_TEXT taxi\r\n"
      "ColorReleased=0000065280\r\n; a comment line\r\n[02]\r\nLabel=Hold\r\nHidden=-1\r\n";
  Panel("Src", source);
  Panel("Other", "[Setup]\r\nDescription=other\r\n");
  Write("QuorvexData\\Panels\\notes.txt", "not a panel");
  CreateDirectoryA(PanelFile("Folder").c_str(), nullptr);

  ASSERT_TRUE(process_->Start(g_quorvex, "", root_));
  HWND splash = WaitTopWindow(process_->Id(), "QuorvexSplash", "About ...", 10000);
  ASSERT_NE(splash, nullptr) << "no splash";
  // Read without a message: the splash's thread is busy for half a second.
  const std::string text = WindowText(GetDlgItem(splash, 2001));
  EXPECT_EQ(text.substr(text.size() - 14), "\r\n\nLoading ...") << text;
  manager_ = WaitTopWindow(process_->Id(), "QuorvexManager", "Quorvex", 10000);
  ASSERT_NE(manager_, nullptr);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(splash); }, 3000)) << "the splash stayed";

  EXPECT_EQ(ListEntries(),
            (std::vector<std::string>{"Alpha", "bravo", "Existing", "Other", "Src"}));
  EXPECT_EQ(Selected(), "Alpha");
  EXPECT_EQ(qv::standin::TextOf(Item(kDescription)), "First desk");
  ClickEntry("bravo");
  EXPECT_TRUE(WaitText(Item(kDescription), "Second desk", 3000));
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

  // Cancel: nothing is created and the editor is not opened.
  Click(Item(kNew));
  std::string title, prompt;
  Answer("", &title, &prompt);
  EXPECT_EQ(title, "Create Macro Panel");
  EXPECT_EQ(prompt, "Panel name:");
  Sleep(300);
  EXPECT_TRUE(TopWindowsOf(process_->Id(), "#32770", "").empty());

  Click(Item(kNew));
  // Refused names, with how their messages begin.
  const std::pair<const char*, const char*> refused[] = {
      {"Existing", "Existing\r\n\nMacro Panel already exists"}, {"*", "*\r\n\nInvalid Name\r\n\n"}};
  for (const auto& [name, message] : refused) {
    Answer(name);
    const MessageBoxInfo m = Reply(IDOK);
    EXPECT_EQ(m.caption, "Quorvex") << name;
    EXPECT_EQ(m.text.substr(0, strlen(message)), message) << name;
  }
  Answer("Tower");
  // The layout editor opens on the new panel, 2 rows of 10 buttons, and
  // leaves it as created when it closes with only AutoHide clicked, a change
  // not worth a question; the filter is cleared so that it shows.
  const HWND def =
      WaitTopWindow(process_->Id(), qv::editor::kDefClass, qv::editor::kDefCaption, 10000);
  ASSERT_NE(def, nullptr);
  auto field = [&](int i) {
    return qv::standin::TextOf(GetDlgItem(def, qv::editor::kDefFieldBase + i));
  };
  EXPECT_TRUE(WaitFor([&] { return field(3) == "2" && field(4) == "10"; }, 5000))
      << field(3) << " rows, " << field(4) << " columns";
  EXPECT_FALSE(IsWindowVisible(manager_));
  Click(GetDlgItem(def, qv::editor::kDefFieldBase + 8));
  Click(GetDlgItem(def, qv::editor::kDefCancel));
  ASSERT_TRUE(WaitGone(def, 5000));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(manager_) != FALSE; }, 5000));
  EXPECT_EQ(PanelText("Tower"),
            "[Setup]\r\nDescription=\r\nButtonWidth=1200\r\nButtonHeight=400\r\nRows=2\r\nCols="
            "10\r\n\r\n");
  EXPECT_EQ(PanelFiles(),
            (std::vector<std::string>{"Alpha.ini", "Existing.ini", "Folder.ini", "Other.ini",
                                      "Src.ini", "Tower.ini", "bravo.ini", "notes.txt"}));
  EXPECT_TRUE(WaitFor([&] { return Selected() == "Tower"; }, 3000)) << Selected();

  // Copy keeps every key and never overwrites.
  ClickEntry("Src");
  Click(Item(kCopy));
  Answer("Other", &title, &prompt);
  EXPECT_EQ(title, "QuorvexCopy Panel");
  EXPECT_EQ(prompt, "Copy Src to:");
  const MessageBoxInfo exists = Reply(IDOK);
  EXPECT_EQ(exists.caption, "QuorvexCopy Panel");
  EXPECT_EQ(exists.text, "Other\r\n\nMacro Panel already exists");
  Answer("Dst");
  ASSERT_TRUE(WaitFor([&] { return Selected() == "Dst"; }, 3000)) << Selected();
  EXPECT_EQ(PanelText("Dst"), source);
  EXPECT_EQ(qv::standin::TextOf(Item(kDescription)), "Ground east");

  // About shows the version of the program file.
  Click(Item(kImage1));
  HWND about = WaitTopWindow(process_->Id(), "QuorvexSplash", "About ...", 5000);
  const std::string version = VersionString(g_quorvex, "FileVersion");
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

  // The folder buttons ask the shell to explore their folders; under Wine
  // that opens the file browser on each, titled with the folder's name.
  const std::pair<int, const char*> buttons[] = {
      {1018, "Macro"}, {1019, "Panels"}, {1020, "QuorvexData"}};
  for (const auto& [button, title] : buttons) {
    Click(Item(button));
    HWND found = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] {
          for (HWND w : qv::standin::TopLevelWindows("ExplorerWClass"))
            if (IsWindowVisible(w) && WindowText(w) == title) found = w;
          return found != nullptr;
        },
        15000))
        << title;
    if (!found) continue;
    // The browser was started for the test: it ends with it.
    DWORD pid = 0;
    GetWindowThreadProcessId(found, &pid);
    EndProcess(pid);
  }

  // The settings window, from the Config button: what is typed, and what it
  // shows when opened again (the file's bytes are the host tests').
  const struct {
    int id;
    const char *typed, *shown;
  } fields[] = {{kName, " Tower Server ", "Tower Server"},
                {kAddress, "10.0.0.7", "10.0.0.7"},
                {kPort, "6900.4", "6900"},
                {kFreq, "2.9", "2"},
                {kSleep, "40", "40"}};
  ASSERT_NE(Open(), nullptr);
  for (const auto& f : fields) Set(f.id, f.typed);
  // Debug was on, for the activation log: its box turns it off.
  Click(GetDlgItem(config_, kDebug));
  Click(GetDlgItem(config_, kSave));
  ASSERT_TRUE(Closed()) << "Save left the window open";
  ASSERT_NE(Open(), nullptr);
  for (const auto& f : fields) EXPECT_EQ(Field(f.id), f.shown) << f.typed;
  EXPECT_EQ(SendMessageA(GetDlgItem(config_, kDebug), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // In the same window, bad values say why and save nothing.
  const std::string before = ConfigText();
  struct Case {
    int field;
    const char* value;
    const char* caption;
    const char* message;
  };
  const Case cases[] = {
      {kFreq, "0.5", "Preferences", "Frequency number - Invalid value"},
      {kPort, "65535.6", "Preferences", "Port number - Invalid value"},
      {kAddress, "1.2.3", "Quorvex - Remote Parameters",
       "1.2.3\r\n\nRemote IP address should be wrong.\r\nWould you like to proceed anyway ?"},
      {kName, "   ", "Preferences", "Server Name cannot be empty"},
  };
  for (const Case& c : cases) {
    const std::string good = Field(c.field);
    Set(c.field, c.value);
    Click(GetDlgItem(config_, kSave));
    const MessageBoxInfo m = Reply(IDCANCEL);
    EXPECT_EQ(m.caption, c.caption) << c.value;
    EXPECT_EQ(m.text, c.message) << c.value;
    EXPECT_TRUE(IsWindow(config_)) << c.value << ": the window closed";
    EXPECT_EQ(ConfigText(), before) << c.value;
    Set(c.field, good);
  }
  // Exit keeps the file.
  Set(kSleep, "99");
  Click(GetDlgItem(config_, kExit));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(ConfigText(), before);
  EXPECT_TRUE(IsWindowVisible(manager_));

  // The close box with a change asks first: Cancel closes without saving...
  ASSERT_NE(Open(), nullptr);
  Set(kSleep, "99");
  PostMessageA(config_, WM_CLOSE, 0, 0);
  MessageBoxInfo m = Reply(IDCANCEL);
  EXPECT_EQ(m.caption, "Preferences");
  EXPECT_EQ(m.text, "Save changes ?");
  ASSERT_TRUE(Closed());
  EXPECT_EQ(ConfigText(), before);
  // ...OK saves, and a save that fails its checks keeps the window open
  // after its message, so nothing typed is lost; OK to the address question
  // stores the address anyway.
  ASSERT_NE(Open(), nullptr);
  Set(kSleep, "99");
  Set(kFreq, "0");
  Set(kAddress, "1.2.3.300");
  PostMessageA(config_, WM_CLOSE, 0, 0);
  Reply(IDOK);
  m = Reply(IDOK);
  EXPECT_EQ(m.text, "Frequency number - Invalid value");
  Sleep(200);
  EXPECT_TRUE(IsWindow(config_));
  EXPECT_EQ(ConfigText(), before);
  Set(kFreq, "4");
  PostMessageA(config_, WM_CLOSE, 0, 0);
  Reply(IDOK);
  EXPECT_EQ(Reply(IDOK).caption, "Quorvex - Remote Parameters");
  ASSERT_TRUE(Closed());
  const std::string saved = ConfigText();
  for (const char* line : {"Sleep=99\r\n", "COMMBoxFrequency=4\r\n", "ServerAddress=1.2.3.300\r\n"})
    EXPECT_NE(saved.find(line), std::string::npos) << line << saved;
}

}  // namespace

int main(int argc, char** argv) { return RunSuite(argc, argv); }
