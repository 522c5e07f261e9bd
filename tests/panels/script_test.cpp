#include "panels/script.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::panels {
namespace {

TEST(NormalizeSeparators, CrLfThenBarBecomeLf) {
  struct Case {
    std::string_view in;
    std::string_view want;
  } cases[] = {
      {"", ""},
      {"a|b", "a\nb"},
      {"a\r\nb", "a\nb"},
      {"a\rb", "a\rb"},
      {"a\r\r\nb", "a\r\nb"},
      {"|a||", "\na\n\n"},
      {"a\r|b", "a\r\nb"},  // the CR before a bar stays
      {"\r\n\r\n", "\n\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeSeparators(c.in), c.want) << c.in;
}

TEST(LineCursor, StopsWhenTheRemainingTextIsEmpty) {
  struct Case {
    std::string_view text;
    std::vector<std::string_view> lines;
  } cases[] = {
      {"", {}},       {"a", {"a"}},
      {"a\n", {"a"}}, {"a\n\nb", {"a", "", "b"}},
      {"\n", {""}},   {"\n\n x ", {"", "", " x "}},
  };
  for (const Case& c : cases) {
    LineCursor cursor(c.text);
    std::vector<std::string_view> got;
    std::string_view line;
    while (cursor.Next(line)) {
      got.push_back(line);
      EXPECT_EQ(cursor.LineNumber(), got.size());
    }
    EXPECT_EQ(got, c.lines) << c.text;
  }
}

TEST(SplitCommand, WordBeforeTheFirstSpaceArgumentAfterIt) {
  struct Case {
    std::string_view line;
    std::string_view word;
    std::string_view arg;
  } cases[] = {
      {"CLEAR_TEXT", "CLEAR_TEXT", ""},      {"SEND_TEXT a b", "SEND_TEXT", "a b"},
      {"SEND_TEXT  a", "SEND_TEXT", " a"},   {"SEND_TEXT ", "SEND_TEXT", ""},
      {"\tSEND_TEXT x", "\tSEND_TEXT", "x"}, {"A\tB C", "A\tB", "C"},
  };
  for (const Case& c : cases) {
    const CommandLine cl = SplitCommand(c.line);
    EXPECT_EQ(cl.word, c.word) << c.line;
    EXPECT_EQ(cl.argument, c.arg) << c.line;
  }
}

TEST(SplitTagArgument, SelectAndUnselectTakeAnItemText) {
  struct Case {
    std::string_view arg;
    std::string_view sub;
    std::string_view item;
  } cases[] = {
      {"SELECT EDDF", "SELECT", "EDDF"},
      {"select  ED* ", "select", "ED*"},
      {"UNSELECT E D", "UNSELECT", "E D"},
      {"SELECT", "SELECT", ""},
      {"SELECT_NONE", "SELECT_NONE", ""},
      {"SELECT_ALL x", "SELECT_ALL", "x"},
      {"SELECTED runway 27", "SELECTED", "runway 27"},
      {"SAVE_DEFAULT x", "SAVE_DEFAULT x", ""},
      {" SELECT x", " SELECT x", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const TagArgument t = SplitTagArgument(c.arg);
    EXPECT_EQ(t.subCommand, c.sub) << c.arg;
    EXPECT_EQ(t.item, c.item) << c.arg;
  }
}

TEST(LookupCommand, WholeWordsInAnyCaseAndRoleSpecificWords) {
  struct Case {
    std::string_view word;
    Command panel;
    Command server;
  } cases[] = {
      {"SEND_TEXT", Command::kSendText, Command::kSendText},
      {"send_text", Command::kSendText, Command::kSendText},
      {"Add_Text_NoSpace", Command::kAddTextNoSpace, Command::kAddTextNoSpace},
      {"ADD_TEXT", Command::kAddText, Command::kAddText},
      {"SEND_TEXT2", Command::kUnknown, Command::kUnknown},
      {"SEND", Command::kUnknown, Command::kUnknown},
      {"", Command::kUnknown, Command::kUnknown},
      {"CLOSE", Command::kClose, Command::kUnknown},
      {"RUN_PANEL", Command::kRunPanel, Command::kUnknown},
      {"ENABLE_MONITOR", Command::kUnknown, Command::kEnableMonitor},
      {"CALL", Command::kCall, Command::kCall},
      {"back", Command::kBack, Command::kBack},
      {"UNSELECT", Command::kUnknown, Command::kUnknown},
      {"<selection_start>", Command::kSelectionStart, Command::kSelectionStart},
      {"<SELECTION_END>", Command::kUnknown, Command::kUnknown},
      {"DLG_SELECT", Command::kDlgSelect, Command::kDlgSelect},
      {"DLG_SELECT_NONE", Command::kDlgSelectNone, Command::kDlgSelectNone},
      {"[ap]", Command::kTag, Command::kTag},
      {"[OCN]", Command::kTag, Command::kTag},
      {"[XYZ]", Command::kUnknown, Command::kUnknown},
      {"[AP", Command::kUnknown, Command::kUnknown},
      {"\tPRESS", Command::kUnknown, Command::kUnknown},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LookupCommand(c.word, Role::kPanel), c.panel) << c.word;
    EXPECT_EQ(LookupCommand(c.word, Role::kServer), c.server) << c.word;
  }
}

TEST(Tags, DlgOpenAcceptsNineTagsInCapitalsOnly) {
  for (std::string_view t :
       {"[SID]", "[STAR]", "[H]", "[L]", "[AP]", "[GEO]", "[FIX]", "[VOR]", "[NDB]"}) {
    EXPECT_TRUE(IsDlgOpenTag(t)) << t;
    EXPECT_TRUE(IsBracketTag(t)) << t;
  }
  for (std::string_view t : {"[OCN]", "[ap]", "AP", "[AP] ", " [AP]", "[AP]x", ""})
    EXPECT_FALSE(IsDlgOpenTag(t)) << t;
  EXPECT_TRUE(IsBracketTag("[ocn]"));
  EXPECT_FALSE(IsBracketTag("[AP]x"));
}

TEST(ExemptFromStartCheck, SixPrefixesAtTheVeryStart) {
  struct Case {
    std::string_view script;
    bool want;
  } cases[] = {
      {"OPEN x", true},       {"open x", true},  {"OPEN", false},       {"OPENx", false},
      {"CALL x", true},       {"CALL", false},   {"CLOSE", true},       {"closed", true},
      {"BACK", true},         {"back\nx", true}, {"RUN_PANEL x", true}, {"run_panelx", true},
      {"LINK x", true},       {"LINK", true},    {" OPEN x", false},    {"; c\nOPEN x", false},
      {"SEND_TEXT x", false}, {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ExemptFromStartCheck(c.script), c.want) << c.script;
}

}  // namespace
}  // namespace qv::panels
