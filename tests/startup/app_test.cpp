#include "startup/app.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(AppDataFolder, TakenFromTheFirstSourceThatAnswers) {
  struct Case {
    const char* env;
    const char* shell26;
    const char* shell35;
    const char* want;
    std::vector<int> asked;
  } cases[] = {
      {"E", "U", "C", "E", {}},
      {"", "U", "C", "U", {26}},
      {"", "", "C", "C", {26, 35}},
      {"", "", "", "X", {26, 35}},  // the executable's folder
  };
  for (const Case& c : cases) {
    std::vector<int> asked;
    const AppDataSources s{[&] { return std::string(c.env); },
                           [&](int id) {
                             asked.push_back(id);
                             return std::string(id == 26 ? c.shell26 : c.shell35);
                           },
                           [] { return std::string("X"); }};
    EXPECT_EQ(ResolveAppDataFolder(s), c.want);
    EXPECT_EQ(asked, c.asked);
  }
}

AppDataSources Only(const std::string& folder) {
  return AppDataSources{[folder] { return folder; }, [](int) { return std::string(); },
                        [] { return std::string(); }};
}

// The folders, the first Config.ini, the trimmed panel name and the
// diagnostic log are checked byte for byte by the start-up end-to-end tests.
TEST(Start, ClientModeKeepsUserValuesAndWritesDebugBack) {
  testing::TempDir dir;
  const Folders f = MakeFolders(dir.Path());
  CreateFolders(f);
  files::WriteAtomic(f.settingsFile,
                     "[default]\r\nDebug=1\r\nSleep=40\r\nServerAddress=10.0.0.9\r\n");
  App app;
  const RunChoice c = Start(app, Only(dir.Path()), "*CLIENT Tower");
  EXPECT_EQ(c.mode, RunMode::Client);
  EXPECT_EQ(app.role, "SEND");
  EXPECT_EQ(app.settings.sleep, 40);
  EXPECT_EQ(profile::ReadKey(f.settingsFile, "default", "Debug", "?"), "-1");
  EXPECT_EQ(profile::ReadKey(f.settingsFile, "default", "ServerAddress", "?"), "10.0.0.9");
}

TEST(Start, UnwritableBaseFolderStillStartsWithDefaults) {
  testing::TempDir dir;
  // A file where the base folder should be: nothing can be created below it.
  files::WriteAtomic(dir / "Quorvex", "not a folder");
  App app;
  const RunChoice c = Start(app, Only(dir.Path()), "");
  EXPECT_EQ(c.mode, RunMode::Manager);
  EXPECT_EQ(app.settings.sleep, 25);
  EXPECT_FALSE(files::Exists(app.folders.settingsFile));
}

}  // namespace
}  // namespace qv
