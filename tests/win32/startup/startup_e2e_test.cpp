// quorvex.exe started the way a user starts it, with a fresh AppData folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "win32/support/e2e.h"

namespace {

using namespace qv::e2e;

std::string g_exe;  // quorvex.exe, from the command line

class FreshAppData : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "qv_start_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(GetTickCount());
    CreateDirectoryA(root_.c_str(), nullptr);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  std::string Base() const { return root_ + "\\Quorvex"; }
  std::string Read(const std::string& path) const { return ReadFileText(path); }
  void Write(const std::string& path, const std::string& data) const {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    CloseHandle(h);
  }
  std::string Today() const {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char name[32];
    wsprintfA(name, "Dump_%04d%02d%02d.TXT", t.wYear, t.wMonth, t.wDay);
    return name;
  }

  std::string root_;
};

TEST_F(FreshAppData, MissingPanelShowsPanelNotFoundAndEnds) {
  Process p;
  ASSERT_TRUE(p.Start(g_exe, "NoSuchPanel", root_));
  MessageBoxInfo box;
  ASSERT_TRUE(WaitMessageBox(p.Id(), 15000, box)) << "no message box";
  EXPECT_EQ(box.caption, "Quorvex");
  EXPECT_EQ(box.text, Base() + "\\QuorvexData\\Panels\\NoSuchPanel.ini\r\n\nPanel not found");
  AnswerMessageBox(box.window, IDOK);
  EXPECT_TRUE(p.WaitExit(10000)) << "the process did not end";

  // The first start wrote Config.ini with its ten keys, in order.
  EXPECT_EQ(Read(Base() + "\\Config\\Config.ini"),
            "[default]\r\nSpacingX=0\r\nSpacingY=0\r\nBorderTop=0\r\nBorderLeft=0\r\nSleep=25\r\n"
            "COMMBoxFrequency=3\r\nServerName=Quorvex\r\nPort=6811\r\nServerAddress=\r\n"
            "Debug=0\r\n");
  for (const char* folder :
       {"\\Config", "\\QuorvexData\\Macro", "\\QuorvexData\\Panels", "\\QuorvexData\\Default"}) {
    const DWORD a = GetFileAttributesA((Base() + folder).c_str());
    EXPECT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) << folder;
  }
  // Debug off: no diagnostic log.
  EXPECT_EQ(Read(Base() + "\\" + Today()), "<missing>");
}

TEST_F(FreshAppData, DebugOnLogsTheCommandLine) {
  CreateDirectoryA(Base().c_str(), nullptr);
  CreateDirectoryA((Base() + "\\Config").c_str(), nullptr);
  Write(Base() + "\\Config\\Config.ini", "[default]\r\nDebug=1\r\n");
  Process p;
  ASSERT_TRUE(p.Start(g_exe, "  Missing Panel  ", root_));
  MessageBoxInfo box;
  ASSERT_TRUE(WaitMessageBox(p.Id(), 15000, box));
  // The name is trimmed before the file is looked up.
  EXPECT_EQ(box.text, Base() + "\\QuorvexData\\Panels\\Missing Panel.ini\r\n\nPanel not found");
  AnswerMessageBox(box.window, IDOK);
  EXPECT_TRUE(p.WaitExit(10000));
  // Windows hands the arguments over without the blanks that follow the
  // program path; the rest of the line is logged as it came.
  EXPECT_EQ(Read(Base() + "\\" + Today()), "CommandLine=Missing Panel  \r\n");
}

TEST_F(FreshAppData, LowerCaseClientMarkerIsPartOfThePanelName) {
  Process p;
  ASSERT_TRUE(p.Start(g_exe, "*client Tower", root_));
  MessageBoxInfo box;
  ASSERT_TRUE(WaitMessageBox(p.Id(), 15000, box));
  EXPECT_EQ(box.text, Base() + "\\QuorvexData\\Panels\\*client Tower.ini\r\n\nPanel not found");
  AnswerMessageBox(box.window, IDOK);
  EXPECT_TRUE(p.WaitExit(10000));
}

TEST_F(FreshAppData, AFolderOrADeviceNamedLikeAPanelIsNoPanel) {
  for (const char* name : {"Folder", "NUL"}) {
    CreateDirectoryA(Base().c_str(), nullptr);
    CreateDirectoryA((Base() + "\\QuorvexData").c_str(), nullptr);
    CreateDirectoryA((Base() + "\\QuorvexData\\Panels").c_str(), nullptr);
    CreateDirectoryA((Base() + "\\QuorvexData\\Panels\\Folder.ini").c_str(), nullptr);
    Process p;
    ASSERT_TRUE(p.Start(g_exe, name, root_));
    MessageBoxInfo box;
    ASSERT_TRUE(WaitMessageBox(p.Id(), 15000, box)) << name << ": no message box";
    EXPECT_EQ(box.text, Base() + "\\QuorvexData\\Panels\\" + name + ".ini\r\n\nPanel not found");
    AnswerMessageBox(box.window, IDOK);
    EXPECT_TRUE(p.WaitExit(10000)) << name;
  }
}

TEST_F(FreshAppData, MacroHelperDefersToTheOneAlreadyOpen) {
  // Without one: the mode opens the helper; closing it ends the process.
  {
    Process p;
    ASSERT_TRUE(p.Start(g_exe, "*MACROHELPER", root_));
    std::vector<HWND> shown;
    ASSERT_TRUE(WaitFor(
        [&] {
          shown = TopWindowsOf(p.Id(), "", "Macro Helper");
          return !shown.empty();
        },
        15000));
    PostMessageA(shown[0], WM_CLOSE, 0, 0);
    EXPECT_TRUE(p.WaitExit(10000));
  }
  // With one open: it is brought to the front and the new start ends quietly.
  HWND helper = CreateWindowExA(0, "STATIC", "Macro Helper", WS_POPUP | WS_VISIBLE, 10, 10, 200, 80,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 300, 10, 200, 80,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);
  Process p;
  ASSERT_TRUE(p.Start(g_exe, "x *macrohelper", root_));
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
  HMODULE file = LoadLibraryExA(g_exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr);
  HRSRC group = FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
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

  EXPECT_EQ(VersionString(g_exe, "FileDescription"), "Quorvex macro panels for IvAc");
}

}  // namespace

int main(int argc, char** argv) { return RunTestsWithProgram(argc, argv, g_exe); }
