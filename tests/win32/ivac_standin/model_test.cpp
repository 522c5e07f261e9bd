#include "tools/ivac_standin/model.h"

#include "platform/files.h"

#include <gtest/gtest.h>

namespace qv::standin {
namespace {

TEST(StandInSettings, ValuesAreParsedIntoTheState) {
  State s;
  // Lists are comma separated and trimmed.
  EXPECT_EQ(ApplySetting(s, "airports", " EDDF ,EDDM,, EDDS "), "");
  EXPECT_EQ(s.lists["AP"], (std::vector<std::string>{"EDDF", "EDDM", "EDDS"}));
  EXPECT_EQ(ApplySetting(s, "ATC", "EDDF_APP 120.800, EDGG_CTR 128.050"), "");
  EXPECT_EQ(s.atc, (std::vector<std::string>{"EDDF_APP 120.800", "EDGG_CTR 128.050"}));
  // Frequencies are a list or a count.
  EXPECT_EQ(ApplySetting(s, "frequencies", "4"), "");
  EXPECT_EQ(s.frequencies.size(), 4u);
  EXPECT_EQ(ApplySetting(s, "frequencies", "118.100, 121.700"), "");
  EXPECT_EQ(s.frequencies, (std::vector<std::string>{"118.100", "121.700"}));
  EXPECT_EQ(ApplySetting(s, "frequencies", "0"), "");
  EXPECT_TRUE(s.frequencies.empty());
  // Pressed takes toolbar codes in any case, kept as IvAc spells them.
  EXPECT_EQ(ApplySetting(s, "pressed", "AP, I/O, L+, 0"), "");
  EXPECT_EQ(s.pressed, (std::set<std::string>{"AP", "I/O", "L+", "0"}));
  EXPECT_EQ(ApplySetting(s, "pressed", "ap, i/o, Rwy"), "");
  EXPECT_EQ(s.pressed, (std::set<std::string>{"AP", "I/O", "RWY"}));
  // Placements.
  EXPECT_EQ(ApplySetting(s, "main", "10, 20, 800, 600"), "");
  EXPECT_EQ(s.main, (Rect{10, 20, 800, 600}));
  EXPECT_EQ(ApplySetting(s, "commbox_at", "5,700"), "");
  EXPECT_EQ(s.commbox_y, 700);
  // The version keeps the caption Quorvex looks for.
  EXPECT_EQ(ApplySetting(s, "version", "1.3.0"), "");
  EXPECT_EQ(s.Caption().rfind("IvAc 1", 0), 0u);
  // Every selection dialog has its list key and its "_selected" key.
  for (const SelectionKind& k : kSelectionKinds) {
    EXPECT_EQ(ApplySetting(s, k.list_key, "A, B"), "") << k.list_key;
    EXPECT_EQ(s.lists[k.code].size(), 2u) << k.code;
    EXPECT_EQ(ApplySetting(s, std::string(k.list_key) + "_selected", "B"), "") << k.list_key;
    EXPECT_EQ(s.chosen[k.code], (std::set<std::string>{"B"})) << k.code;
  }
}

TEST(StandInSettings, FlagsTakeTheUsualSpellingsAndBadValuesAreRefused) {
  const struct {
    const char* key;
    const char* value;
  } refused[] = {{"connected", "maybe"}, {"commbox", ""},         {"frequencies", "17"},
                 {"pressed", "AP, XYZ"}, {"main", "10, 20, 800"}, {"main", "10, 20, 100, 600"},
                 {"inout_at", "x,1"},    {"version", "2.0"}};
  for (const auto& r : refused) {
    State s;
    EXPECT_NE(ApplySetting(s, r.key, r.value), "") << r.key << " = " << r.value;
  }
  struct Case {
    const char* value;
    bool want;
  } cases[] = {{"yes", true}, {"TRUE", true},   {"on", true},   {"1", true},  {"open", true},
               {"no", false}, {"false", false}, {"Off", false}, {"0", false}, {"closed", false}};
  for (const Case& c : cases) {
    State s;
    s.connected = !c.want;
    EXPECT_EQ(ApplySetting(s, "connected", c.value), "") << c.value;
    EXPECT_EQ(s.connected, c.want) << c.value;
  }
}

TEST(StandInSettings, TextOfSettingsReportsBadLinesByNumberAndAppliesTheRest) {
  State s;
  const auto errors = ApplySettings(s,
                                    "# a comment\r\n"
                                    "connected = yes\r\n"
                                    "\r\n"
                                    "no equals sign\n"
                                    "; another comment\n"
                                    "colour = red\n"
                                    "selected = AFR1234\n");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].rfind("line 4: ", 0), 0u) << errors[0];
  EXPECT_EQ(errors[1].rfind("line 6: unknown setting", 0), 0u) << errors[1];
  EXPECT_TRUE(s.connected);
  EXPECT_EQ(s.selected, "AFR1234");
}

TEST(StandInState, NormalisePutsTheSelectedLabelOnTheMapAndConnectFollowsTheConnection) {
  State s;
  s.traffic = {"DLH1"};
  s.selected = "AFR2";
  s.connected = true;
  s.Normalise();
  EXPECT_EQ(s.traffic, (std::vector<std::string>{"DLH1", "AFR2"}));
  EXPECT_TRUE(s.pressed.count("CONNECT"));
  s.connected = false;
  s.Normalise();
  EXPECT_FALSE(s.pressed.count("CONNECT"));
}

TEST(StandInState, TheDefaultFillsEveryListAndTheExampleConfigAppliesWithoutErrors) {
  State s = DefaultState();
  for (const SelectionKind& k : kSelectionKinds) EXPECT_FALSE(s.lists.at(k.code).empty()) << k.code;
  EXPECT_FALSE(s.atc.empty());
  EXPECT_FALSE(s.levels.empty());
  EXPECT_FALSE(s.speeds.empty());
  EXPECT_EQ(s.frequencies.size(), 3u);
  EXPECT_FALSE(s.inout_rows.empty());

  std::string path = QV_STANDIN_EXAMPLE;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;  // Wine's drive for "/"
  std::string text;
  ASSERT_TRUE(files::ReadAll(path, text)) << path;
  EXPECT_EQ(ApplySettings(s, text), std::vector<std::string>{});
  EXPECT_TRUE(s.connected);
  EXPECT_EQ(s.selected, "AFR1234");
}

}  // namespace
}  // namespace qv::standin
