#include "platform/files.h"

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/temp_dir.h"

namespace qv::files {
namespace {

using qv::testing::TempDir;

TEST(ReadScript, ReadsRegularFilesUpToTheCapAndRefusesDevicesAndEverythingElse) {
  TempDir tmp;
  tmp.Write("ten.txt", "0123456789");
  tmp.Write("eleven.txt", "0123456789X");
  tmp.Folder("folder.txt");
  const struct {
    std::string path;
    ScriptRead result;
    std::string content;
  } cases[] = {
      {tmp.Path("ten.txt"), ScriptRead::kOk, "0123456789"},
      {tmp.Path("eleven.txt"), ScriptRead::kTooLarge, ""},
      {tmp.Path("missing.txt"), ScriptRead::kMissing, ""},
      {tmp.Path("folder.txt"), ScriptRead::kNotAFile, ""},
      {tmp.Path("NUL"), ScriptRead::kNotAFile, ""},
      {tmp.Path("com1.txt"), ScriptRead::kNotAFile, ""},
  };
  for (const auto& c : cases) {
    std::string out = "left over";
    EXPECT_EQ(ReadScript(c.path, out, 10), c.result) << c.path;
    EXPECT_EQ(out, c.content) << c.path;
  }
  EXPECT_TRUE(IsRegularFile(tmp.Path("ten.txt")));
  for (const char* other : {"folder.txt", "missing.txt", "NUL"})
    EXPECT_FALSE(IsRegularFile(tmp.Path(other))) << other;
  // The names the system keeps for devices, in any form, and nothing else.
  const struct {
    const char* path;
    bool device;
  } devices[] = {
      {"NUL", true},       {"nul.txt", true},    {"CON", true},
      {"prn", true},       {"AUX.ini", true},    {"COM1", true},
      {"com9.txt", true},  {"LPT1", true},       {"lpt3.log.txt", true},
      {"NUL  ", true},     {"CONIN$", true},     {"C:\\x\\COM2", true},
      {"macro/aux", true}, {"COM0", false},      {"COM10", false},
      {"LPT", false},      {"CONSOLE", false},   {"NULL.txt", false},
      {"xnul", false},     {"Tower.txt", false}, {"C:\\NUL\\a.txt", false},
      {"", false},
  };
  for (const auto& c : devices) EXPECT_EQ(IsDeviceName(c.path), c.device) << c.path;
}

#ifndef _WIN32
TEST(ReadScript, APipeNamedLikeAMacroIsRefusedWithoutWaitingForAWriter) {
  TempDir tmp;
  ASSERT_EQ(mkfifo(NativePath(tmp.Path("pipe.txt")).c_str(), 0600), 0);
  std::string out;
  EXPECT_EQ(ReadScript(tmp.Path("pipe.txt"), out), ScriptRead::kNotAFile);
  EXPECT_FALSE(IsRegularFile(tmp.Path("pipe.txt")));
}
#endif

}  // namespace
}  // namespace qv::files
