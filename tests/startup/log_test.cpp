#include "startup/log.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(DiagnosticLog, LinesAreAppendedWithCrLfToTheDaysFileAndKeptAsGiven) {
  EXPECT_EQ(DumpFilePath("C:\\Q", Date{2026, 12, 31}), "C:\\Q\\Dump_20261231.TXT");
  testing::TempDir dir;
  const Date day{2014, 3, 2};
  LogLineTo(dir.Path(), "CommandLine=Tower", day);
  LogLineTo(dir.Path(), "two\r\nlines", day);
  LogLineTo(dir.Path(), "", day);
  LogLineTo(dir.Path(), "after midnight", Date{2014, 3, 3});
  EXPECT_EQ(testing::FileBytes(dir / "Dump_20140302.TXT"),
            "CommandLine=Tower\r\ntwo\r\nlines\r\n\r\n");
  EXPECT_EQ(testing::FileBytes(dir / "Dump_20140303.TXT"), "after midnight\r\n");
  // A missing folder loses the line quietly.
  LogLineTo(dir / "no\\such\\folder", "lost", day);
  EXPECT_FALSE(files::Exists(dir / "no"));
}

}  // namespace
}  // namespace qv
