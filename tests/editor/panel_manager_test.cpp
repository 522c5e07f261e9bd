#include "editor/panel_manager.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace qv::editor {
namespace {

using Names = std::vector<std::string>;
using Values = std::map<std::string, std::string>;

TEST(ListPanels, OnlyIniFilesSortedWithoutRegardToCase) {
  testing::TempDir dir;
  for (const char* name : {"bravo.ini", "Alpha.INI", "charlie.ini.txt", "notes.txt", ".ini"})
    ASSERT_TRUE(files::WriteAtomic(dir / name, "[Setup]\r\n"));
  ASSERT_TRUE(files::CreateFolder(dir / "Folder.ini"));
  EXPECT_EQ(ListPanels(dir.Path()), (Names{"Alpha", "bravo"}));
  EXPECT_EQ(ListPanels(dir / "missing"), Names{});
}

TEST(FilterPanels, KeepsNamesHoldingTheTypedTextInAnyCase) {
  const Names all{"Approach", "Ground", "Tower", "tower north"};
  const std::map<std::string, Names> cases = {
      {"", all},   {"tow", {"Tower", "tower north"}}, {"OUN", {"Ground"}}, {"r n", {"tower north"}},
      {"xyz", {}},
  };
  for (const auto& [typed, kept] : cases) EXPECT_EQ(FilterPanels(all, typed), kept) << typed;
}

// The manager's end-to-end test shows the message for one of them ("*").
TEST(CheckNewPanelName, RefusesWhatAFileNameCannotHoldBeforeAnythingIsMade) {
  testing::TempDir dir;
  ASSERT_TRUE(files::WriteAtomic(dir / "Tower.ini", "x"));
  struct Case {
    std::string name;
    NameCheck check;
  };
  const Case cases[] = {
      {"Ground", NameCheck::kFree},
      {"Ground east 2", NameCheck::kFree},
      {"Tower", NameCheck::kExists},
      {"dir\\name", NameCheck::kInvalid},
      {"dir/name", NameCheck::kInvalid},
      {"c:x", NameCheck::kInvalid},
      {"say \"hi\"", NameCheck::kInvalid},
      {"a<b>c|d", NameCheck::kInvalid},
      {"a?b", NameCheck::kInvalid},
      {"*", NameCheck::kInvalid},
      {std::string("tab\there"), NameCheck::kInvalid},
      {"nul", NameCheck::kInvalid},
      {"CON", NameCheck::kInvalid},
      {"com1", NameCheck::kInvalid},
      {"LPT9.backup", NameCheck::kInvalid},
      {"COM10", NameCheck::kFree},
      {std::string(300, 'a'), NameCheck::kInvalid},
  };
  for (const Case& c : cases) {
    const NameVerdict v = CheckNewPanelName(dir.Path(), c.name);
    EXPECT_EQ(v.check, c.check) << c.name;
    EXPECT_EQ(v.reason.empty(), c.check != NameCheck::kInvalid) << c.name;
  }
  // Nothing was created by the checks.
  EXPECT_EQ(ListPanels(dir.Path()), Names{"Tower"});
}

// The template's bytes, a copy's bytes and its description are checked by the
// manager's end-to-end tests; here the refusals behind the manager's checks.
TEST(CreateAndCopyPanel, NeverOverwriteAndMissingSourcesFail) {
  testing::TempDir dir;
  ASSERT_TRUE(files::WriteAtomic(dir / "Tower.ini", "mine"));
  EXPECT_FALSE(CreateNewPanel(dir.Path(), "Tower"));
  EXPECT_EQ(testing::FileBytes(dir / "Tower.ini"), "mine");
  ASSERT_TRUE(files::WriteAtomic(dir / "Src.ini", "[Setup]\r\n"));
  EXPECT_EQ(CopyPanel(dir.Path(), "Src", "Tower"), CopyResult::kExists);
  EXPECT_EQ(testing::FileBytes(dir / "Tower.ini"), "mine");
  EXPECT_EQ(CopyPanel(dir.Path(), "Missing", "New"), CopyResult::kUnreadable);
  EXPECT_EQ(testing::FileBytes(dir / "New.ini"), "<missing>");
  EXPECT_EQ(PanelDescription(dir.Path(), "Missing"), "");
}

// A profile file in memory.
class MapReader : public panels::ValueReader {
 public:
  explicit MapReader(Values values) : values_(std::move(values)) {}
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view def) const override {
    const auto it = values_.find(std::string(section) + "/" + std::string(key));
    return it == values_.end() ? std::string(def) : it->second;
  }

 private:
  Values values_;
};

TEST(BuildPanelPicture, ScalesTheGridAndLeavesOutHiddenButtons) {
  // 2 x 2 buttons of 1200 x 400 twips; borders 120 left, 80 top, 60 right
  // and bottom, spacing 60: 2700 x 1060 twips.
  const MapReader file({{"Setup/Rows", "2"},
                        {"Setup/Cols", "2"},
                        {"Setup/ButtonWidth", "1200"},
                        {"Setup/ButtonHeight", "400"},
                        {"Setup/Backcolor", "255"},
                        {"01/label", "Taxi"},
                        {"01/color", "65280"},
                        {"01/ExpandX", "2"},
                        {"02/Hidden", "-1"},
                        {"03/macro", "|HIDE"},
                        {"04/label", "Hold"}});
  // A box that halves the natural size.
  const PanelPicture p = BuildPanelPicture(file, 90, 100, nullptr);
  EXPECT_EQ(p.width, 90);
  EXPECT_EQ(p.height, 35);  // 1060 twips at 1/30 pixel per twip
  EXPECT_EQ(p.back, 255u);
  ASSERT_EQ(p.cells.size(), 2u);
  // The plain button first, the wide one in front of it.
  EXPECT_EQ(p.cells[0].caption, "Hold");
  EXPECT_EQ(p.cells[1].caption, "Taxi");
  EXPECT_EQ(p.cells[1].back, 65280u);
  EXPECT_EQ(p.cells[1].left, 4);    // 120 twips
  EXPECT_EQ(p.cells[1].width, 82);  // 2 x 1200 + 60 twips
  EXPECT_EQ(p.cells[0].left, 46);   // 120 + 1260 twips
  EXPECT_EQ(p.cells[0].top, 18);    // 80 + 460 twips

  // Never enlarged beyond the screen size of the panel.
  EXPECT_EQ(BuildPanelPicture(file, 2000, 2000, nullptr).width, 180);
  // No grid, no picture.
  EXPECT_EQ(BuildPanelPicture(MapReader(Values{{"Setup/Rows", "0"}}), 90, 100, nullptr).width, 0);
}

}  // namespace
}  // namespace qv::editor
