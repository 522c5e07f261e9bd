#include "panels/script_check.h"

#include <gtest/gtest.h>

#include <tuple>

#include "panels/panel_file.h"
#include "support/temp_dir.h"

namespace qv::panels {
namespace {

using qv::testing::TempDir;
using Kind = Finding::Kind;

struct Want {
  size_t line;
  Kind kind;
};

std::vector<Want> Summary(const std::vector<Finding>& findings) {
  std::vector<Want> out;
  for (const Finding& f : findings) out.push_back({f.line, f.kind});
  return out;
}

bool operator==(const Want& a, const Want& b) { return a.line == b.line && a.kind == b.kind; }
void PrintTo(const Want& w, std::ostream* os) {
  *os << "{" << w.line << "," << static_cast<int>(w.kind) << "}";
}

class ScriptCheckTest : public ::testing::Test {
 protected:
  ScriptCheckTest() {
    options.macroFolder = tmp.Folder("Macro");
    tmp.Write("Macro\\there.txt", "SEND_TEXT x\r\n");
  }
  TempDir tmp;
  CheckOptions options;
};

TEST_F(ScriptCheckTest, FindsTheLinesThatSilentlyDoNothingAndNamesTheProblem) {
  struct Case {
    const char* script;
    std::vector<Want> want;
  } cases[] = {
      {"; Quorvex Definition file\r\nSEND_TEXT hi\r\nPRESS AP\r\n", {}},
      {"SEND_TEXT a\r\nSEND_TXT b\r\n", {{2, Kind::kUnknownCommand}}},
      {"\tSEND_TEXT a", {{1, Kind::kUnknownCommand}}},
      {"UNSELECT EDDF", {{1, Kind::kUnknownCommand}}},
      {"ENABLE_MONITOR 500,100", {{1, Kind::kUnknownCommand}}},
      {"<SELECTION_END>", {{1, Kind::kUnknownCommand}}},
      {"[AP] SELECT EDDF\n[AP] SAVE_DEFAULT x\n[AP] bogus\n[AP]",
       {{2, Kind::kIgnoredTagSub}, {3, Kind::kIgnoredTagSub}, {4, Kind::kIgnoredTagSub}}},
      // Codes IvAc does not have, or written in another case, do nothing.
      {"PRESS [ZZ]\nRELEASE ap\nPRESS [I/O]\nRELEASE L+\nPRESS\n[ZZ] SELECT x\n[ap] SELECT x\n"
       "[OCN] SELECT x\n[VOR] UNSELECT x",
       {{1, Kind::kUnknownCode},
        {2, Kind::kUnknownCode},
        {5, Kind::kUnknownCode},
        {6, Kind::kUnknownCommand},  // no tag at all
        {7, Kind::kUnknownCode}}},
      {"DLG_OPEN [AP]\nDLG_OPEN [OCN]\nDLG_OPEN [ap]\nDLG_OPEN",
       {{2, Kind::kRefusedDlgOpen}, {3, Kind::kRefusedDlgOpen}, {4, Kind::kRefusedDlgOpen}}},
      {"INCLUDE there.txt\nINCLUDE gone.txt\nINCLUDE",
       {{2, Kind::kMissingInclude}, {3, Kind::kMissingInclude}}},
      {"<SELECTION_START>\nNOT A COMMAND\n<SELECTION_END>\nDLG_SELECT_NONE", {}},
      {"SEND_TEXT a\n<SELECTION_START>\nA\n<SELECTION_END> more\n", {{2, Kind::kOpenBlock}}},
      {"SEND_TEXT a\nOPEN Other\n; fine\nSEND_TEXT lost\nSEND_TEXT lost too",
       {{4, Kind::kUnreachable}}},
      {"CLOSE\nOPEN x", {{2, Kind::kUnreachable}}},
      // Inline values count their "|" commands; files count lines.
      {"SEND_TEXT a|NOPE|SEND_TEXT c", {{2, Kind::kUnknownCommand}}},
      {"SEND_TEXT a|NOPE\nNOPE", {{1, Kind::kUnknownCommand}, {2, Kind::kUnknownCommand}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Summary(CheckScript(c.script, options, "m.txt")), c.want) << c.script;
  const auto f = CheckScript("SEND_TXT a\nCLOSE", options, "m.txt");
  ASSERT_EQ(f.size(), 1u);
  EXPECT_EQ(FormatFinding(f[0]),
            "m.txt:1: unknown command word \"SEND_TXT\"; the line does nothing: SEND_TXT a");
  // The server knows its own words, and says so of the ones it lacks.
  options.role = Role::kServer;
  const auto g =
      CheckScript("ENABLE_MONITOR 500,100\nCLOSE\nRUN_PANEL x\nBACK\nSEND_TEXT y", options, "s");
  ASSERT_EQ(Summary(g),
            (std::vector<Want>{
                {2, Kind::kUnknownCommand}, {3, Kind::kUnknownCommand}, {5, Kind::kUnreachable}}));
  EXPECT_NE(g[0].message.find("server"), std::string::npos);
}

TEST_F(ScriptCheckTest, PanelAndMacroFilesTheirButtonsIncludesCutValuesAndGarbage) {
  tmp.Write("Macro\\bad.txt", "NOPE\r\n");
  const std::string panel = PanelPath(tmp.Folder("Panels"), "P");
  tmp.Write("Panels\\P.ini",
            "[Setup]\r\nRows=1\r\nCols=4\r\n"
            "[01]\r\nmacro=|SEND_TEXT a|DLG_OPEN [OCN]\r\nmacroReleased=bad.txt\r\n"
            "[02]\r\nmacro=missing.txt\r\nlabel=" +
                std::string(260, 'L') +
                "\r\n"
                "[03]\r\nmacro=|hide\r\n"
                "[04]\r\nmacro=bad.txt\r\n"
                "[05]\r\nmacro=|NOPE\r\n");
  // bad.txt is reported once; button 05 lies outside the 1 x 4 grid and never runs.
  std::vector<std::tuple<std::string, size_t, Kind, std::string>> got;
  for (const Finding& f : CheckPanelFile(panel, options))
    got.emplace_back(f.where, f.line, f.kind, f.text);
  EXPECT_EQ(got, (decltype(got){
                     {panel + " button 01 macro", 2, Kind::kRefusedDlgOpen, "DLG_OPEN [OCN]"},
                     {options.macroFolder + "\\bad.txt", 1, Kind::kUnknownCommand, "NOPE"},
                     {panel + " button 02", 0, Kind::kValueCut, "label"},
                     {panel + " button 02 macro", 0, Kind::kMissingMacroFile, "missing.txt"}}));

  // Cut values are found whatever their length reads as.
  const std::string cutPanel = PanelPath(tmp.Path("Panels"), "C");
  const struct {
    const char* name;
    std::string value;
    bool cut;
  } cases[] = {
      {"254 characters", std::string(254, 'L'), false},
      {"255 characters", std::string(255, 'L'), true},
      {"blanks at 251 to 254, more after", std::string(250, 'L') + "    " + "MMMM", true},
      {"only blanks after 254", std::string(254, 'L') + "      ", false},
      {"quoted, 254 inside", "\"" + std::string(254, 'L') + "\"", false},
      {"blanks around the 255 characters", "   " + std::string(255, 'L') + "   ", true},
  };
  for (const auto& c : cases) {
    tmp.Write("Panels\\C.ini", "[Setup]\r\nRows=1\r\nCols=1\r\n[01]\r\nLABEL = " + c.value +
                                   "\r\nmacro=|SEND_TEXT a\r\n");
    std::vector<std::string> cut;
    for (const Finding& f : CheckPanelFile(cutPanel, options))
      cut.push_back(f.kind == Kind::kValueCut ? f.text : FormatFinding(f));
    EXPECT_EQ(cut, c.cut ? std::vector<std::string>{"label"} : std::vector<std::string>{})
        << c.name;
  }
  // Macro files: self-inclusion, and unreadable or garbage files.
  tmp.Write("Macro\\self.txt", "SEND_TEXT a\r\nINCLUDE SELF.TXT\r\n");
  EXPECT_EQ(Summary(CheckMacroFile(options.macroFolder + "\\self.txt", options)),
            (std::vector<Want>{{2, Kind::kSelfInclude}}));
  EXPECT_EQ(Summary(CheckMacroFile(options.macroFolder + "\\none.txt", options)),
            (std::vector<Want>{{0, Kind::kUnreadableFile}}));
  // Binary content: no crash, every line reported as unknown or ignored.
  tmp.Write("Macro\\bin.txt", std::string("\0\x01\xff|\x80 x\r\n\0", 10));
  const auto bin = CheckMacroFile(options.macroFolder + "\\bin.txt", options);
  EXPECT_EQ(bin.size(), 3u);
  for (const Finding& f : bin) EXPECT_EQ(f.kind, Kind::kUnknownCommand);
  // A panel file that is not there, and one whose grid size is garbage (no
  // button runs).
  EXPECT_EQ(Summary(CheckPanelFile(PanelPath(tmp.Path(), "none"), options)),
            (std::vector<Want>{{0, Kind::kUnreadableFile}}));
  tmp.Write("G.ini", "[Setup]\r\nRows=-99999999999\r\nCols=&HFFFFFFFF\r\n[01]\r\nmacro=|NOPE\r\n");
  EXPECT_TRUE(CheckPanelFile(tmp.Path("G.ini"), options).empty());
}

}  // namespace
}  // namespace qv::panels
