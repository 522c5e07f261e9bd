#include "startup/settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

// The defaults read from a missing file are checked byte for byte in the
// first Config.ini by the start-up end-to-end tests.
TEST(Settings, ConversionsOfStoredValues) {
  struct Case {
    const char* body;
    int32_t sleep;
    int32_t freq;
    bool debug;
  } cases[] = {
      {"Sleep=\r\n", 0, 3, false},  // present but empty: 0, not the default
      {"Sleep=12.5\r\nCOMMBoxFrequency=13.5\r\n", 12, 14, false},
      {"Sleep=garbage\r\nDebug=1\r\n", 0, 3, true},  // any non-zero flag is on
      {"Sleep=-40\r\nDebug=-1\r\n", -40, 3, true},
      {"Debug=yes\r\n", 25, 3, false},
      {"Debug=0.4\r\n", 25, 3, true},
      {"Debug=-0.0\r\n", 25, 3, false},
      {"Sleep=99999999999\r\n", 2147483647, 3, false},
      {"COMMBoxFrequency=&H10\r\n", 25, 16, false},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    dir.Write("Config.ini", "[default]\r\n" + std::string(c.body));
    const Settings s = ReadSettings(dir / "Config.ini");
    EXPECT_EQ(s.sleep, c.sleep) << c.body;
    EXPECT_EQ(s.commboxFrequency, c.freq) << c.body;
    EXPECT_EQ(s.debug, c.debug) << c.body;
  }
}

TEST(Settings, WriteBackWritesTheTenKeysInOrder) {
  testing::TempDir dir;
  const std::string file = dir / "Config.ini";
  Settings s;
  s.serverAddress = "  10.0.0.2 ";
  s.debug = true;
  WriteBackSettings(file, s, LayoutValues{});
  EXPECT_EQ(testing::FileBytes(file),
            "[default]\r\nSpacingX=0\r\nSpacingY=0\r\nBorderTop=0\r\nBorderLeft=0\r\nSleep=25\r\n"
            "COMMBoxFrequency=3\r\nServerName=Quorvex\r\nPort=6811\r\nServerAddress=10.0.0.2\r\n"
            "Debug=-1\r\n");
}

// Values above the floors are read back on the real window.
TEST(Settings, WindowShowsClampedValues) {
  Settings s;
  s.sleep = 0;
  s.commboxFrequency = 0;
  const ConfigFields f = FieldsFromSettings(s);
  EXPECT_EQ(f.sleep + "|" + f.comBoxFreq, "5|1");
}

// Records what SaveConfig asked of the window.
class RecordingUi : public SaveConfigUi {
 public:
  explicit RecordingUi(bool answer) : answer_(answer) {}
  void Message(std::string_view text) override { events.push_back("message:" + std::string(text)); }
  bool ConfirmAddress(std::string_view text) override {
    events.push_back("question:" + std::string(text));
    return answer_;
  }
  void Focus(Field f) override { events.push_back("focus:" + std::to_string(static_cast<int>(f))); }
  std::vector<std::string> events;

 private:
  bool answer_;
};

const ConfigFields kGoodFields{.serverName = " Quorvex ",
                               .serverAddress = "",
                               .port = "6811",
                               .comBoxFreq = "3",
                               .sleep = "25",
                               .debug = false};

// Each bad value's message and OK to the address question are checked on the
// real window too; here the order of the checks and the focus they leave.
TEST(SaveConfig, ChecksInOrderAndStopsAtTheFirstFailure) {
  using C = ConfigFields;
  using F = SaveConfigUi::Field;
  const std::string message = "message:";
  struct Case {
    const char* name;
    std::vector<std::pair<std::string C::*, const char*>> edits;
    bool answer;
    std::string said;  // the message or the question; none when saved
    F focus;
  } cases[] = {
      {"frequency and port bad: frequency first",
       {{&C::comBoxFreq, "0"}, {&C::port, "70000"}},
       true,
       message + kMsgFrequency,
       F::ComBoxFreq},
      {"port -1 refused", {{&C::port, "-1"}}, true, message + kMsgPort, F::Port},
      {"port 0 accepted", {{&C::port, "0"}}, true, "", F::Port},
      {"bad address, Cancel",
       {{&C::serverAddress, "1.2.3"}},
       false,
       "question:" + AddressQuestionText("1.2.3"),  // its text is read on the real window
       F::ServerAddress},
      {"empty name", {{&C::serverName, "   "}}, true, message + kMsgServerName, F::ServerName},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    const std::string file = dir / "Config.ini";
    ConfigFields f = kGoodFields;
    for (const auto& [field, value] : c.edits) f.*field = value;
    Settings s;
    s.sleep = 77;
    RecordingUi ui(c.answer);
    const bool saved = c.said.empty();
    EXPECT_EQ(SaveConfig(f, s, file, ui), saved) << c.name;
    std::vector<std::string> want;
    if (!saved) want = {c.said, "focus:" + std::to_string(static_cast<int>(c.focus))};
    EXPECT_EQ(ui.events, want) << c.name;
    // A failed check leaves the settings and the file alone.
    EXPECT_EQ(files::Exists(file), saved) << c.name;
    EXPECT_EQ(s.sleep, saved ? 25 : 77) << c.name;
  }
}

TEST(SaveConfig, StoresConvertedValuesOrFailsOnAFileThatCannotBeWritten) {
  testing::TempDir dir;
  const std::string file = dir / "Config.ini";
  ConfigFields f{.serverName = " Quorvex ",
                 .serverAddress = " ::1 ",
                 .port = "65535.4",
                 .comBoxFreq = "2.9",
                 .sleep = "30.5",
                 .debug = true};
  Settings s;
  RecordingUi ui(false);
  // Memory takes what the file got: s.sleep at the end shows it.
  ASSERT_TRUE(SaveConfig(f, s, file, ui));
  EXPECT_TRUE(ui.events.empty());
  EXPECT_EQ(testing::FileBytes(file),
            "[default]\r\nSleep=30\r\nCOMMBoxFrequency=2\r\nServerName=Quorvex\r\nPort=65535\r\n"
            "ServerAddress=::1\r\nDebug=-1\r\n");
  // A settings file that cannot be written (here a folder of that name) fails
  // the save with its message; the settings in memory stay as they were.
  const std::string folder = dir / "Folder.ini";
  ASSERT_TRUE(files::CreateFolder(folder));
  f.sleep = "40";
  EXPECT_FALSE(SaveConfig(f, s, folder, ui));
  EXPECT_EQ(ui.events, std::vector<std::string>{"message:" + NotSavedText(folder)});
  EXPECT_EQ(s.sleep, 30);
}

}  // namespace
}  // namespace qv
