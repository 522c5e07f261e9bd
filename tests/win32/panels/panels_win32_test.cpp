// The portable word splitting of LINK against the system's CommandLineToArgvW,
// and the panel colours against the system's colours.
#include <windows.h>

#include <shellapi.h>  // needs windows.h first

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "panels/link_args.h"
#include "panels/panel_file.h"
#include "platform/win32/ui.h"

namespace qv::panels {
namespace {

using win::Narrow;
using win::Wide;

std::vector<std::string> SystemSplit(const std::string& line) {
  int argc = 0;
  const std::wstring w = Wide(line);
  LPWSTR* argv = CommandLineToArgvW(w.c_str(), &argc);
  std::vector<std::string> words;
  if (!argv) return words;
  for (int i = 0; i < argc; ++i) words.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return words;
}

// The chosen lines, with their words, are the host tests' table (run here
// too); the system is asked about random short lines of the characters
// that matter.
TEST(LinkWordsAgainstTheSystem, RandomLinesOfQuotesBackslashesAndBlanks) {
  std::mt19937 rng(20240611);
  const char alphabet[] = {'a', 'b', ' ', '\t', '"', '"', '\\', '\\'};
  std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 1);
  std::uniform_int_distribution<int> length(1, 14);
  int mismatches = 0;
  for (int i = 0; i < 20000 && mismatches < 10; ++i) {
    std::string line;
    for (int n = length(rng); n > 0; --n) line += alphabet[pick(rng)];
    const auto mine = SplitCommandLine(line);
    const auto system = SystemSplit(line);
    if (mine != system) {
      ++mismatches;
      ADD_FAILURE() << "[" << line << "]";
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(PanelColours, SystemColoursComeFromGetSysColor) {
  EXPECT_EQ(ResolveColor(kButtonFace, WindowsSysColor), GetSysColor(COLOR_BTNFACE) & 0xFFFFFFu);
  EXPECT_EQ(ResolveColor(kButtonText, WindowsSysColor), GetSysColor(COLOR_BTNTEXT) & 0xFFFFFFu);
}

}  // namespace
}  // namespace qv::panels
