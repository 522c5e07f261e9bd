#include "startup/runmode.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(RunMode, ChosenFromTheCommandLine) {
  struct Case {
    const char* line;
    RunMode mode;
    const char* panel;
    const char* role;
  } cases[] = {
      {"", RunMode::Manager, "", ""},
      {"    ", RunMode::Manager, "", ""},
      {"Tower", RunMode::Panel, "Tower", ""},
      {"  Tower Panel  ", RunMode::Panel, "Tower Panel", ""},
      {"*CLIENT Tower", RunMode::Client, "Tower", "SEND"},
      {"*CLIENT  Tower *CLIENT", RunMode::Client, "Tower", "SEND"},
      // The client marker is case-sensitive: in lower case it is part of the name.
      {"*client Tower", RunMode::Panel, "*client Tower", ""},
      {"*SERVER", RunMode::Server, "", "RECV"},
      {"*SERVER and more words", RunMode::Server, "", "RECV"},
      {"*server", RunMode::Panel, "*server", ""},
      // "*CLIENT" is tested first; "*SERVER" stays in the panel name.
      {"*CLIENT *SERVER Tower", RunMode::Client, "*SERVER Tower", "SEND"},
      // The Macro Helper marker is found in any letter case, anywhere.
      {"Tower *MacroHelper *CLIENT", RunMode::MacroHelper, "", ""},
      {"*CLIENT", RunMode::Client, "", "SEND"},
  };
  for (const Case& c : cases) {
    const RunChoice r = ChooseRunMode(c.line);
    EXPECT_EQ(r.mode, c.mode) << c.line;
    EXPECT_EQ(r.panelName, c.panel) << c.line;
    EXPECT_EQ(r.role, c.role) << c.line;
  }

  // An over-long command line is just a name.
  const std::string line(100000, 'x');
  const RunChoice r = ChooseRunMode(line);
  EXPECT_EQ(r.mode, RunMode::Panel);
  EXPECT_EQ(r.panelName.size(), line.size());
}

}  // namespace
}  // namespace qv
