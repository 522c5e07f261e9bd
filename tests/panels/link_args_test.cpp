#include "panels/link_args.h"

#include <gtest/gtest.h>

namespace qv::panels {
namespace {

using Words = std::vector<std::string>;

TEST(LinkArgs, ProgramPathThenQuotedAndEscapedWordsAndTheParametersJoined) {
  struct Case {
    std::string_view line;
    Words want;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a b  c\t d  ", {"a", "b", "c", "d"}},
      {"\"C:\\My Files\\x.exe\" p", {"C:\\My Files\\x.exe", "p"}},
      // The program path ends at its closing quote; what follows starts a word.
      {"\"a b\"c d", {"a b", "c", "d"}},
      {"\"unterminated path", {"unterminated path"}},
      // Backslashes in the program path are never special.
      {"C:\\a\\\"b c", {"C:\\a\\\"b", "c"}},
      {" x", {"", "x"}},
      {"   ", {""}},
      // Later words, the documented examples.
      {"p \"a b c\" d e", {"p", "a b c", "d", "e"}},
      {"p \"ab\\\"c\" \"\\\\\" d", {"p", "ab\"c", "\\", "d"}},
      {"p a\\\\\\b d\"e f\"g h", {"p", "a\\\\\\b", "de fg", "h"}},
      {"p a\\\\\\\"b c d", {"p", "a\\\"b", "c", "d"}},
      {"p a\\\\\\\\\"b c\" d e", {"p", "a\\\\b c", "d", "e"}},
      // The third quote of a run is a literal one and leaves the quotes.
      {"p a\"b\"\" c d", {"p", "ab\"", "c", "d"}},
      {"p \"\"", {"p", ""}},
      {"p \"\" x", {"p", "", "x"}},
      {"p \"\"\"\"", {"p", "\""}},
      {"p \"\"\"\"\"\" x", {"p", "\"\"", "x"}},
      {"p \"a\tb\"\tc", {"p", "a\tb", "c"}},
      {"p \"open", {"p", "open"}},
      {"p tail\\", {"p", "tail\\"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.want) << c.line;
  // The parameters: every word after the first, each followed by a space.
  EXPECT_EQ(JoinParameters({}), "");
  EXPECT_EQ(JoinParameters({"f"}), "");
  EXPECT_EQ(JoinParameters({"f", "a b", "", "c"}), "a b  c ");
}

}  // namespace
}  // namespace qv::panels
