// quorvex.exe started the way a user starts it, with a fresh AppData folder.
#include <filesystem>
#include <string>

#include "win32/support/program_case.h"

namespace {

using namespace qv::e2e;

class FreshAppData : public ProgramCase {
 protected:
  void SetUp() override {
    ProgramCase::SetUp();
    // Nothing of the program's own: the first start makes its folders.
    std::error_code ec;
    std::filesystem::remove_all(root_ + "\\Quorvex", ec);
  }
  // Starts quorvex.exe with `args`, answers its message and waits for its
  // end; the message's text.
  std::string Refused(const std::string& args) {
    process_ = std::make_unique<Process>();
    EXPECT_TRUE(process_->Start(g_quorvex, args, root_));
    const MessageBoxInfo box = Reply(IDOK, 15000);
    EXPECT_EQ(box.caption, "Quorvex") << args;
    EXPECT_TRUE(process_->WaitExit(10000)) << args << ": the process did not end";
    return box.text;
  }
  std::string NotFound(const std::string& name) {
    return Path("QuorvexData\\Panels\\" + name + ".ini\r\n\nPanel not found");
  }
};

TEST_F(FreshAppData, TheFirstStartWritesTheSettingsNoPanelIsFoundAndTheHelperDefers) {
  EXPECT_EQ(Refused("NoSuchPanel"), NotFound("NoSuchPanel"));
  // The first start wrote Config.ini with its ten keys, in order.
  EXPECT_EQ(Read("Config\\Config.ini"),
            "[default]\r\nSpacingX=0\r\nSpacingY=0\r\nBorderTop=0\r\nBorderLeft=0\r\nSleep=25\r\n"
            "COMMBoxFrequency=3\r\nServerName=Quorvex\r\nPort=6811\r\nServerAddress=\r\n"
            "Debug=0\r\n");
  for (const char* folder :
       {"Config", "QuorvexData\\Macro", "QuorvexData\\Panels", "QuorvexData\\Default"}) {
    const DWORD a = GetFileAttributesA(Path(folder).c_str());
    EXPECT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) << folder;
  }

  // A folder or a device named like a panel is no panel.
  CreateDirectoryA(PanelFile("Folder").c_str(), nullptr);
  for (const char* name : {"Folder", "NUL"}) EXPECT_EQ(Refused(name), NotFound(name));
  // Debug off: no diagnostic log.
  EXPECT_EQ(Log(), "<missing>");

  // The name is trimmed before the file is looked up. Windows hands the
  // arguments over without the blanks that follow the program path; with
  // Debug on, the rest of the line is logged as it came.
  Write("Config\\Config.ini", "[default]\r\nDebug=1\r\n");
  EXPECT_EQ(Refused("  Missing Panel  "), NotFound("Missing Panel"));
  EXPECT_EQ(Log(), "CommandLine=Missing Panel  \r\n");

  // The Macro Helper defers to the one already open. Without one: the mode
  // opens the helper; closing it ends the process.
  HWND shown = Start("*MACROHELPER", "", "Macro Helper");
  ASSERT_NE(shown, nullptr);
  PostMessageA(shown, WM_CLOSE, 0, 0);
  EXPECT_TRUE(process_->WaitExit(10000));
  // With one open: it is brought to the front and the new start ends quietly.
  HWND helper = CreateWindowExA(0, "STATIC", "Macro Helper", WS_POPUP | WS_VISIBLE, 10, 10, 200, 80,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 300, 10, 200, 80,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);
  Process p;
  ASSERT_TRUE(p.Start(g_quorvex, "x *macrohelper", root_));
  DWORD code = 1234;
  EXPECT_TRUE(p.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == helper; }, 3000));
  DestroyWindow(other);
  DestroyWindow(helper);
}

// What Explorer and the shell read from the file: the version's description
// (the tray's first tooltip) and the icon at the sizes Windows shows.
TEST(ProgramFile, CarriesItsIconAndDescription) {
  HMODULE file = LoadLibraryExA(g_quorvex.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr);
  for (int size : {16, 32, 48}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(file, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info)) << size;
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  FreeLibrary(file);

  EXPECT_EQ(VersionString(g_quorvex, "FileDescription"), "Quorvex macro panels for IvAc");
}

}  // namespace

int main(int argc, char** argv) { return RunSuite(argc, argv); }
