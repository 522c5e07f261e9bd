#include "startup/log.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(DiagnosticLog, DayFileNameHasTheDateInFourTwoTwoDigits) {
  EXPECT_EQ(DumpFilePath("C:\\Q", Date{2014, 3, 2}), "C:\\Q\\Dump_20140302.TXT");
  EXPECT_EQ(DumpFilePath("C:\\Q", Date{2026, 12, 31}), "C:\\Q\\Dump_20261231.TXT");
}

TEST(DiagnosticLog, LinesAreAppendedWithCrLfAndKeptAsGiven) {
  testing::TempDir dir;
  const Date day{2026, 12, 6};
  LogLineTo(dir.Path(), "CommandLine=Tower", day);
  LogLineTo(dir.Path(), "two\r\nlines", day);
  LogLineTo(dir.Path(), "", day);
  std::string content;
  ASSERT_TRUE(files::ReadAll(DumpFilePath(dir.Path(), day), content));
  EXPECT_EQ(content, "CommandLine=Tower\r\ntwo\r\nlines\r\n\r\n");
}

TEST(DiagnosticLog, EachDayHasItsOwnFile) {
  testing::TempDir dir;
  LogLineTo(dir.Path(), "before midnight", Date{2026, 12, 6});
  LogLineTo(dir.Path(), "after midnight", Date{2026, 12, 7});
  std::string a, b;
  ASSERT_TRUE(files::ReadAll(dir / "Dump_20261206.TXT", a));
  ASSERT_TRUE(files::ReadAll(dir / "Dump_20261207.TXT", b));
  EXPECT_EQ(a, "before midnight\r\n");
  EXPECT_EQ(b, "after midnight\r\n");
}

TEST(DiagnosticLog, MissingFolderLosesTheLineQuietly) {
  testing::TempDir dir;
  LogLineTo(dir / "no\\such\\folder", "lost", Date{2026, 1, 1});
  EXPECT_FALSE(files::Exists(dir / "no"));
}

}  // namespace
}  // namespace qv
