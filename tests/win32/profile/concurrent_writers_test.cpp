// Several Quorvex processes write the same file at once (every one writes
// Config.ini when it starts): each write must succeed and leave a whole file.
// The program runs itself as the writers: "--writer FILE NAME COUNT" writes
// COUNT keys and exits with the number of writes that failed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/temp_dir.h"
#include "win32/support/e2e.h"

namespace {

std::string g_self;

int RunWriter(const std::string& file, const std::string& name, int count) {
  int failed = 0;
  for (int k = 0; k < count; ++k) {
    const std::string n = std::to_string(k);
    if (!qv::profile::WriteKey(file, name, "k" + n, name + n)) ++failed;
  }
  return failed;
}

TEST(ConcurrentWriters, EveryWriteOfEveryProcessSucceedsAndTheFileStaysWhole) {
  const qv::testing::TempDir dir;
  const std::string file = dir / "writers.ini";
  ASSERT_TRUE(qv::files::WriteAtomic(file, "[Common]\r\nkept=1\r\n"));
  constexpr int kWriters = 4, kKeys = 60;
  std::vector<qv::e2e::Process> writers(kWriters);
  for (int w = 0; w < kWriters; ++w)
    ASSERT_TRUE(writers[w].Start(
        g_self, "--writer \"" + file + "\" w" + std::to_string(w) + " " + std::to_string(kKeys),
        ""));
  for (int w = 0; w < kWriters; ++w) {
    DWORD failed = 1234;
    ASSERT_TRUE(writers[w].WaitExit(60000, &failed));
    EXPECT_EQ(failed, 0u) << "writes of writer " << w << " failed";
  }
  // Two processes may each rewrite the file they read, so one may drop the
  // other's newest key (as with the system's own functions); but the file
  // that is left is always a whole one, and no temporary file stays behind.
  const std::string bytes = qv::testing::FileBytes(file);
  EXPECT_EQ(qv::profile::ReadKey(file, "Common", "kept", ""), "1");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_FALSE(qv::files::Exists(qv::files::TempPathFor(file)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--writer")
    return RunWriter(argv[2], argv[3], std::atoi(argv[4]));
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  g_self = self;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
