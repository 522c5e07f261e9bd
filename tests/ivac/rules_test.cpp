#include "ivac/rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

namespace qv::ivac {
namespace {

TEST(IvacCodes, ToolbarCodesAreDistinctAndSavedOnesAreAmongThem) {
  const std::set<std::string_view> toolbar(kToolbarCodes.begin(), kToolbarCodes.end());
  EXPECT_EQ(toolbar.size(), kToolbarCodes.size());
  const std::set<std::string_view> saved(kSavedButtonCodes.begin(), kSavedButtonCodes.end());
  EXPECT_EQ(saved.size(), kSavedButtonCodes.size());
  for (auto code : kSavedButtonCodes) EXPECT_EQ(toolbar.count(code), 1u) << code;
  EXPECT_EQ(ButtonKey("I/O"), "I/OBtn");
  EXPECT_EQ(ButtonKey("L+"), "L+Btn");
}

TEST(IvacCodes, StripBracketsRemovesEveryBracket) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"[SID]", "SID"}, {"SID", "SID"}, {"[[AP]]", "AP"},
               {"A[B]C", "ABC"}, {"", ""},       {"]", ""}};
  for (const auto& c : cases) EXPECT_EQ(StripBrackets(c.in), c.out) << c.in;
}

TEST(IvacWaits, HalfRoundsHalvesToEvenAndNegativeWaitsNothing) {
  const struct {
    int32_t sleep, full, half;
  } cases[] = {{25, 25, 12}, {1, 1, 0},  {3, 3, 2},  {5, 5, 2},     {7, 7, 4},
               {0, 0, 0},    {-5, 0, 0}, {-1, 0, 0}, {100, 100, 50}};
  for (const auto& c : cases) {
    EXPECT_EQ(FullWait(c.sleep), c.full) << c.sleep;
    EXPECT_EQ(HalfWait(c.sleep), c.half) << c.sleep;
  }
}

TEST(IvacDialogs, CaptionsOfEveryCode) {
  const struct {
    const char* code;
    const char* caption;
  } cases[] = {{"AP", "Airports Selection"},
               {"SID", "SIDs Selection"},
               {"STAR", "STARs Selection"},
               {"GEO", "Geographical Data Selection"},
               {"VOR", "VORs Selection"},
               {"NDB", "NDBs Selection"},
               {"FIX", "FIXES Selection"},
               {"L", "Low Airways Selection"},
               {"H", "High Airways Selection"},
               {"OCN", "Occupied Area Selection"},
               {"ap", ""},
               {"CC", ""},
               {"[AP]", ""}};
  for (const auto& c : cases) EXPECT_EQ(DialogCaption(c.code), c.caption) << c.code;
}

TEST(IvacCommbox, TabNumbers) {
  const struct {
    const char* arg;
    int32_t freq;
    int32_t tab;
  } cases[] = {{"2", 3, 2},     {"2.9", 3, 2},       {" 4 ", 3, 4},   {"0", 3, 0},
               {"-1", 3, -1},   {"atc", 3, 6},       {"ATC", 2, 5},   {"Metar", 3, 4},
               {"guard", 3, 5}, {"BROADCAST", 3, 7}, {"radio", 3, 0}, {"", 3, 0},
               {"3abc", 3, 0},  {"1.2.3", 3, 0},     {"METAR", 0, 1}};
  for (const auto& c : cases) EXPECT_EQ(TabNumber(c.arg, c.freq), c.tab) << c.arg;
}

TEST(IvacSelection, SplitItemsAtCrLfAndLf) {
  const struct {
    const char* in;
    std::vector<std::string> out;
  } cases[] = {{"EDDF", {"EDDF"}},
               {"EDDF\r\nEDDM", {"EDDF", "EDDM"}},
               {"EDDF\nEDDM\r\nED*", {"EDDF", "EDDM", "ED*"}},
               {"A\r\n", {"A", ""}},
               {"", {""}}};
  for (const auto& c : cases) EXPECT_EQ(SplitItems(c.in), c.out) << c.in;
}

// The pattern rules are Like's (checked with it); entries and patterns
// compare without regard to case, classes too.
TEST(IvacSelection, EntryMatchingIgnoresCase) {
  const struct {
    const char* entry;
    const char* pattern;
    bool match;
  } cases[] = {{"EDDF", "eddf", true},
               {"eddf", "EDDF", true},
               {"EDDF", "edd", false},
               {"TOBAK", "[t]*", true},
               {"eddm", "EDD[M-S]", true}};
  for (const auto& c : cases) {
    EXPECT_EQ(EntryMatches(c.entry, c.pattern), c.match) << c.entry << " ~ " << c.pattern;
  }
}

TEST(IvacFiles, ButtonsIniReadsBackThroughTheProfileEngine) {
  qv::testing::TempDir dir;
  const std::string file = dir / "Buttons.ini";
  std::vector<std::pair<std::string, bool>> states;
  for (size_t i = 0; i < kSavedButtonCodes.size(); ++i) {
    states.emplace_back(std::string(kSavedButtonCodes[i]), i % 3 == 0);
  }
  const std::string text = ButtonsIniText(states);
  EXPECT_EQ(text.substr(0, 24), "[Default]\r\nFSTR=-1\r\nI/O=");
  ASSERT_TRUE(files::WriteAtomic(file, text));
  for (const auto& [code, pressed] : states) {
    // RESET_BUTTONS reads the section as "default".
    EXPECT_EQ(profile::ReadKey(file, "default", code, "?"), pressed ? "-1" : "0") << code;
  }
}

TEST(IvacFiles, SavedButtonFlags) {
  const struct {
    const char* value;
    std::optional<bool> flag;
  } cases[] = {{"-1", true},       {"0", false},         {"1", true},    {"5", true},
               {"", std::nullopt}, {"  ", std::nullopt}, {"True", true}, {"false", false},
               {"abc", false},     {"0.0", false}};
  for (const auto& c : cases) EXPECT_EQ(SavedButtonFlag(c.value), c.flag) << c.value;
}

TEST(IvacPlacement, ParseChecksEveryPartAgainstTheScreen) {
  const int32_t w = 1024, h = 768;
  const struct {
    const char* text;
    std::optional<Placement> p;
  } cases[] = {
      {"10,20,600,800", Placement{10, 20, 600, 800}},
      {" 10 , 20 , 600 , 800 ", Placement{10, 20, 600, 800}},
      {"10.5,20.5,600.5,801.5", Placement{10, 20, 600, 802}},
      {"-5,-7,600,800", Placement{0, 0, 600, 800}},
      {"0,0,10,10", Placement{0, 0, 10, 10}},
      {"768,1024,768,1024", Placement{768, 1024, 768, 1024}},
      {"10,20,600,800,99", Placement{10, 20, 600, 800}},
      {"10,20,9,800", std::nullopt},
      {"10,20,600,9", std::nullopt},
      {"769,20,600,800", std::nullopt},
      {"10,1025,600,800", std::nullopt},
      {"10,20,769,800", std::nullopt},
      {"10,20,600,1025", std::nullopt},
      {"10,20,600", std::nullopt},
      {"", std::nullopt},
      {"a,20,600,800", std::nullopt},
      {"10,20,600,800px", std::nullopt},
      {"10,,600,800", std::nullopt},
      {"1e3,20,600,800", std::nullopt},
      {"99999999999999999999,20,600,800", std::nullopt},
      {"-99999999999999999999,20,600,800", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsePlacement(c.text, w, h), c.p) << c.text;
}

TEST(IvacOccupiedArea, ArgumentParts) {
  const struct {
    const char* arg;
    int32_t v, h;
    const char* name;
  } cases[] = {{"300,500,AREA1", 300, 500, "AREA1"},
               {"300.5,499.5, my area ", 300, 500, "my area"},
               {",,AREA", -1, -1, "AREA"},
               {"1,2,A,B", 1, 2, "A,B"},
               {"NAMEONLY", -1, -1, ""},
               {"1,2", 1, 2, ""},
               {"1,2,   ", 1, 2, ""}};
  for (const auto& c : cases) {
    const auto a = ParseOccupiedArea(c.arg);
    EXPECT_EQ(a.name, c.name) << c.arg;
    if (*c.name != '\0') {
      EXPECT_EQ(a.vertical, c.v) << c.arg;
      EXPECT_EQ(a.horizontal, c.h) << c.arg;
    }
  }
}

}  // namespace
}  // namespace qv::ivac
