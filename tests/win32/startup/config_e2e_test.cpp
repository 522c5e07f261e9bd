// The settings window, opened from the panel manager's Config button: each
// field saved and read back, the checks and their messages, Exit and the
// close box.
#include "win32/editor/manager_fixture.h"

namespace {

using namespace qv::e2e;

constexpr int kName = 3001, kAddress = 3002, kPort = 3003, kFreq = 3004, kSleep = 3005,
              kDebug = 3006, kSave = 3007, kExit = 3008;

class ConfigE2E : public ManagerE2E {
 protected:
  std::string ConfigFile() const { return base_ + "\\Config\\Config.ini"; }
  HWND Open() {
    EXPECT_TRUE(qv::standin::BringToFront(manager_));
    Click(Item(kConfig));
    config_ = WaitTopWindow(process_->Id(), "QuorvexConfig", "Preferences", 5000);
    EXPECT_NE(config_, nullptr) << "no settings window";
    if (config_) {
      EXPECT_TRUE(qv::standin::BringToFront(config_));
    }
    return config_;
  }
  void Set(int id, const std::string& text) {
    SendMessageA(GetDlgItem(config_, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  std::string Field(int id) const { return qv::standin::TextOf(GetDlgItem(config_, id)); }
  bool Closed() const {
    return WaitFor([&] { return !IsWindow(config_); }, 3000);
  }
  HWND config_ = nullptr;
};

TEST_F(ConfigE2E, EveryFieldIsSavedAndReadBack) {
  Start();
  ASSERT_NE(Open(), nullptr);
  // The start-up values.
  EXPECT_EQ(Field(kName), "Quorvex");
  EXPECT_EQ(Field(kPort), "6811");
  EXPECT_EQ(Field(kFreq), "3");
  EXPECT_EQ(Field(kSleep), "25");
  Set(kName, " Tower Server ");
  Set(kAddress, "10.0.0.7");
  Set(kPort, "6900.4");
  Set(kFreq, "2.9");
  Set(kSleep, "40");
  Click(GetDlgItem(config_, kDebug));
  Click(GetDlgItem(config_, kSave));
  ASSERT_TRUE(Closed()) << "Save left the window open";
  const std::string file = Read(ConfigFile());
  for (const char* line : {"Sleep=40\r\n", "COMMBoxFrequency=2\r\n", "ServerName=Tower Server\r\n",
                           "Port=6900\r\n", "ServerAddress=10.0.0.7\r\n", "Debug=-1\r\n"})
    EXPECT_NE(file.find(line), std::string::npos) << line << file;

  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(Field(kName), "Tower Server");
  EXPECT_EQ(Field(kAddress), "10.0.0.7");
  EXPECT_EQ(Field(kPort), "6900");
  EXPECT_EQ(Field(kFreq), "2");
  EXPECT_EQ(Field(kSleep), "40");
  EXPECT_EQ(SendMessageA(GetDlgItem(config_, kDebug), BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(GetDlgItem(config_, kExit));
  EXPECT_TRUE(Closed());
}

TEST_F(ConfigE2E, BadValuesSayWhyAndSaveNothing) {
  Start();
  const std::string before = Read(ConfigFile());
  ASSERT_NE(Open(), nullptr);
  struct Case {
    int field;
    const char* value;
    const char* caption;
    const char* message;
  };
  const Case cases[] = {
      {kFreq, "0.5", "Preferences", "Frequency number - Invalid value"},
      {kPort, "65535.6", "Preferences", "Port number - Invalid value"},
      {kPort, "-1", "Preferences", "Port number - Invalid value"},
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
    EXPECT_EQ(Read(ConfigFile()), before) << c.value;
    Set(c.field, good);
  }
  // OK to the address question stores the address anyway.
  Set(kAddress, "1.2.3.300");
  Click(GetDlgItem(config_, kSave));
  Reply(IDOK);
  ASSERT_TRUE(Closed());
  EXPECT_NE(Read(ConfigFile()).find("ServerAddress=1.2.3.300\r\n"), std::string::npos);
}

TEST_F(ConfigE2E, ExitAndACancelledCloseKeepTheFile) {
  Start();
  const std::string before = Read(ConfigFile());
  ASSERT_NE(Open(), nullptr);
  Set(kSleep, "99");
  Click(GetDlgItem(config_, kExit));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Read(ConfigFile()), before);
  EXPECT_TRUE(IsWindowVisible(manager_));

  // The close box with a change asks first: Cancel closes without saving...
  ASSERT_NE(Open(), nullptr);
  Set(kSleep, "99");
  PostMessageA(config_, WM_CLOSE, 0, 0);
  MessageBoxInfo m = Reply(IDCANCEL);
  EXPECT_EQ(m.caption, "Preferences");
  EXPECT_EQ(m.text, "Save changes ?");
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Read(ConfigFile()), before);
  // ...OK saves, and a save that fails its checks keeps the window open
  // after its message, so nothing typed is lost.
  ASSERT_NE(Open(), nullptr);
  Set(kSleep, "99");
  Set(kFreq, "0");
  PostMessageA(config_, WM_CLOSE, 0, 0);
  Reply(IDOK);
  m = Reply(IDOK);
  EXPECT_EQ(m.text, "Frequency number - Invalid value");
  Sleep(200);
  EXPECT_TRUE(IsWindow(config_));
  EXPECT_EQ(Read(ConfigFile()), before);
  Set(kFreq, "4");
  PostMessageA(config_, WM_CLOSE, 0, 0);
  Reply(IDOK);
  ASSERT_TRUE(Closed());
  const std::string saved = Read(ConfigFile());
  EXPECT_NE(saved.find("Sleep=99\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("COMMBoxFrequency=4\r\n"), std::string::npos) << saved;
}

}  // namespace
