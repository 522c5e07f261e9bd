#include "panels/script_check_cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/temp_dir.h"

namespace qv::scriptcheck {
namespace {

using qv::testing::TempDir;

struct Result {
  int status;
  std::string out, err;
  size_t outLines;
};

Result Check(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = Run(args, out, err);
  const std::string text = out.str();
  return {status, text, err.str(), static_cast<size_t>(std::count(text.begin(), text.end(), '\n'))};
}

class ScriptCheckCli : public ::testing::Test {
 protected:
  ScriptCheckCli() {
    tmp.Folder("Data");
    tmp.Folder("Data\\Macro");
    tmp.Folder("Data\\Panels");
    tmp.Write("Data\\Macro\\good.txt", "SEND_TEXT a\r\nINCLUDE other.txt\r\n");
    tmp.Write("Data\\Macro\\other.txt", "PRESS AP\r\n");
    tmp.Write("Data\\Macro\\bad.txt", "SEND_TEXT a\r\nINCLUDE gone.txt\r\n");
    tmp.Write(
        "Data\\Panels\\P.ini",
        "[Setup]\r\nRows=1\r\nCols=2\r\n[01]\r\nmacro=good.txt\r\n[02]\r\nmacro=|CLOSE|x\r\n");
  }
  TempDir tmp;
};

TEST_F(ScriptCheckCli, ExitStatusTellsCleanFindingsAndTroubleAndReportsWhereAndWhat) {
  struct Case {
    std::vector<std::string> args;
    int status;
    size_t outLines;
  } cases[] = {
      {{tmp.Path("Data\\Macro\\good.txt")}, kClean, 0},
      {{tmp.Path("Data\\Macro\\bad.txt")}, kFindings, 1},
      {{tmp.Path("Data\\Macro\\good.txt"), tmp.Path("Data\\Macro\\bad.txt")}, kFindings, 1},
      // The panel's buttons, with the Macro folder beside the panels folder.
      {{tmp.Path("Data\\Panels\\P.ini")}, kFindings, 1},
      // Another macro folder: the button's file is not there.
      {{"--macros", tmp.Path("Data"), tmp.Path("Data\\Panels\\P.ini")}, kFindings, 2},
      // The server knows no CLOSE, so the line after it is reached and unknown.
      {{"--server", tmp.Path("Data\\Panels\\P.ini")}, kFindings, 2},
      {{tmp.Path("Data\\Macro\\none.txt")}, kTrouble, 0},
      {{tmp.Path("Data\\Macro\\none.txt"), tmp.Path("Data\\Macro\\bad.txt")}, kTrouble, 1},
      {{}, kTrouble, 0},
      {{"--macros"}, kTrouble, 0},
      {{"--bogus", tmp.Path("Data\\Macro\\good.txt")}, kTrouble, 0},
      {{"--help"}, kClean, 0},
  };
  for (const Case& c : cases) {
    const Result r = Check(c.args);
    std::string what;
    for (const std::string& a : c.args) what += a + " ";
    EXPECT_EQ(r.status, c.status) << what << "\n" << r.out << r.err;
    if (c.args.empty() || c.args[0] != "--help") {
      EXPECT_EQ(r.outLines, c.outLines) << what << r.out;
    }
  }

  // What is reported, and where.
  const Result r = Check({tmp.Path("Data\\Macro\\bad.txt")});
  EXPECT_EQ(r.out, tmp.Path("Data\\Macro\\bad.txt") +
                       ":2: INCLUDE file \"gone.txt\" is not in the macro folder; nothing runs: "
                       "INCLUDE gone.txt\n");
  const Result p = Check({tmp.Path("Data\\Panels\\P.ini")});
  EXPECT_EQ(p.out, tmp.Path("Data\\Panels\\P.ini") +
                       " button 02 macro:2: never runs: the script ends at line 1: x\n");
  EXPECT_NE(Check({}).err.find("usage: scriptcheck"), std::string::npos);
  EXPECT_NE(Check({"--help"}).out.find("usage: scriptcheck"), std::string::npos);
}

TEST_F(ScriptCheckCli, RelativePanelPathsFindTheMacroFolderBesideThePanels) {
  const std::filesystem::path before = std::filesystem::current_path();
  tmp.Folder("Data\\Panels\\Old");
  tmp.Write("Data\\Panels\\Old\\Q.ini",
            "[Setup]\r\nRows=1\r\nCols=1\r\n[01]\r\nmacro=good.txt\r\n");
  tmp.Folder("Data\\Panels\\Macro");
  const struct {
    const char* from;  // the current folder, under the test's root
    const char* file;
  } cases[] = {
      {"", "Data\\Panels\\P.ini"},
      {"Data", "Panels\\P.ini"},
      {"Data\\Panels", "P.ini"},
      {"Data\\Panels", ".\\P.ini"},
      {"Data\\Panels\\Old", "..\\P.ini"},
      // Beside "Old" is Panels\Macro, which does not hold good.txt.
      {"Data\\Panels\\Old", "Q.ini"},
      {"Data\\Macro", "..\\Panels\\Old\\..\\P.ini"},
  };
  for (const auto& c : cases) {
    std::filesystem::current_path(std::filesystem::path(files::NativePath(tmp.Path(c.from))));
    const Result r = Check({c.file});
    // good.txt found: only the line after CLOSE is reported.
    EXPECT_EQ(std::make_pair(r.status, r.outLines), std::make_pair(int{kFindings}, size_t{1}))
        << c.from << " " << c.file << "\n"
        << r.out << r.err;
  }
  std::filesystem::current_path(before);
}

}  // namespace
}  // namespace qv::scriptcheck
