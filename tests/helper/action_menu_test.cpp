#include "helper/action_menu.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "panels/script_check.h"
#include "support/temp_dir.h"

namespace qv::helper {
namespace {

constexpr std::optional<std::string> kNothing = std::nullopt;

// "Ground" for Open new Assistant, ASSUME_LABEL, ADD_TO_IO and a comm box of
// 31 are typed into an editor by the Macro Helper's end-to-end test.
TEST(ActionMenu, PromptAndLineOfEveryKindOfEntryForItsAnswer) {
  struct Case {
    int32_t id;
    std::string_view answer;
    std::optional<std::string> want;
  } cases[] = {
      {10, "  Ground  ", "OPEN Ground"},
      {10, "   ", kNothing},
      {11, "", "BACK"},
      {12, "Night", "COLORSCHEME Night"},
      {13, "Arrivals.txt", "INCLUDE Arrivals.txt"},
      {13, "", kNothing},
      {21, "3", "COMMBOX 3"},
      {21, " 30 ", "COMMBOX 30"},
      {21, "0", kNothing},
      {21, "2.5", kNothing},
      {21, "two", kNothing},
      {22, "", "CLEAR_TEXT"},
      {23, "hello", "ADD_TEXT hello"},
      {24, "hello", "ADD_TEXT_NOSPACE hello"},
      // Send Text writes a blank between the command and the text.
      {25, "contact tower", "SEND_TEXT contact tower"},
      {25, "", "SEND_TEXT"},
      {2, "", "RESET_CENTERPOINT"},
      {3, "EDDF", "CENTERPOINT EDDF"},
      {201, "", "ZOOM 0"},
      {202, "", "ZOOM 10"},
      {213, "", "ZOOM 120"},
      {220, "35", "ZOOM 35"},
      {4, "350", "CLEARED_TO_FL 350"},
      {4, "10", "CLEARED_TO_FL 010"},
      {4, "85.7", "CLEARED_TO_FL 085"},
      {4, "0", "CLEARED_TO_FL <none>"},
      {4, "9", kNothing},
      {4, "1000", kNothing},
      {4, "FL80", kNothing},
      {4, "-50", kNothing},
      {5, "KERAX", "CLEARED_TO_FIX KERAX"},
      {6, "84", "CLEARED_TO_SPEED 080"},
      {6, "85", "CLEARED_TO_SPEED 090"},
      {6, "250", "CLEARED_TO_SPEED 250"},
      {6, "5", "CLEARED_TO_SPEED 010"},
      {6, "0", "CLEARED_TO_SPEED <none>"},
      {6, "4", kNothing},
      {6, "1200", kNothing},
      {6, "fast", kNothing},
      {14, "", "CLEARED_TO_FL <none>"},
      {15, "", "CLEARED_TO_FIX <none>"},
      {16, "", "CLEARED_TO_SPEED <none>"},
      {72, "", "RELEASE_LABEL"},
      {73, "EDDF_TWR", "TRANSFER_TO EDDF_TWR"},
      {74, "", "FORCE_ACT"},
      {76, "", "REQ_FPL"},
      {77, "", "SHOW_FPL"},
      {9, "120,340,NORTH", "OCA 120,340,NORTH"},
      // Click Button and Press Button both press.
      {501, "", "PRESS [CC]"},
      {504, "", "PRESS [AP]"},
      {604, "", "PRESS [AP]"},
      {704, "", "RELEASE [AP]"},
      {537, "", "PRESS [INTERCOM]"},
      {524, "", "PRESS [L+]"},
      {538, "", kNothing},
      {551, "", "SAVE_BUTTONS"},
      {552, "", "RESET_BUTTONS"},
      {1001, "", "PRESS [AP]"},
      {1002, "", "RELEASE [AP]"},
      {1003, "EDDF", "[AP] SELECT EDDF"},
      {1003, "", kNothing},
      {2004, "EDDF*", "[GEO] UNSELECT EDDF*"},
      {3005, "", "[VOR] Select_All"},
      {4006, "", "[NDB] Select_None"},
      {5009, "", "[FIX] Select_All_Except_Selection"},
      {6010, "", "[H] Select_None_Except_Selection"},
      {7011, "", "[L] SAVE_DEFAULT"},
      {8012, "", "[SID] RESET_DEFAULT"},
      {10012, "", "[OCN] RESET_DEFAULT"},
      {10001, "", "PRESS [OCN]"},
      {10013, "", kNothing},
      {11001, "", kNothing},
      // "|" splits script lines: such an answer types nothing.
      {25, "a|b", kNothing},
      {99, "", kNothing},
  };
  for (const Case& c : cases) EXPECT_EQ(LineFor(c.id, c.answer), c.want) << c.id << " " << c.answer;
  // The prompts and their titles.
  const struct {
    int32_t id;
    std::string_view text, title, answer;
  } prompts[] = {
      {12, "Colorscheme Filename:\r\n\n(without path)", " - Change IvAc ColorScheme", ""},
      {4, "FL \r\n\nNote:\r\nthree digit - Example 3000ft=030", " - Cleared to FL", ""},
      {9, "Text:", " - Occupied Area", "X,Y,"},
      {24, "Enter Text:", " - Add Text (without spaces) to chat window", ""},
      {220, "Zoom Level:", " - Set Zoom Level", ""},
      {2003, "GEO items to select:", " - Select GEO items", ""},
      {2004, "GEO items to unselect:", " - Unselect GEO items", ""},
  };
  for (const auto& c : prompts) {
    const std::optional<Prompt> p = PromptOf(c.id);
    ASSERT_TRUE(p) << c.id;
    EXPECT_EQ(std::tie(p->text, p->title, p->defaultAnswer), std::tie(c.text, c.title, c.answer));
  }
  for (int32_t id : {11, 22, 2, 201, 14, 71, 8, 504, 551, 1001, 1007})
    EXPECT_FALSE(PromptOf(id)) << id;
}

TEST(ActionMenu, EntriesAreUniqueGroupedAndEveryLineTheHelperTypesPassesTheChecker) {
  qv::testing::TempDir folder;
  panels::CheckOptions options;
  options.macroFolder = folder.Folder("Macro");
  folder.Write("Macro\\Arrivals.txt", "SEND_TEXT hi\r\n");
  // Each line alone: OPEN and BACK end a script, so they are checked apart.
  std::vector<std::string> scripts;
  for (int32_t id : ActionIds()) {
    if (KindOf(id) != ActionKind::kTypeLine) continue;
    const std::string answer = id == 13   ? "Arrivals.txt"
                               : id == 9  ? "120,340,NORTH"
                               : id == 21 ? "3"
                               : id == 4  ? "350"
                               : id == 6  ? "250"
                               : id == 25 ? "contact tower"
                                          : "EDDF";
    const std::optional<std::string> line = LineFor(id, answer);
    ASSERT_TRUE(line) << id;
    scripts.push_back(*line);
  }
  EXPECT_EQ(scripts.size(), 273u - 21u);  // all but "Move IvAc window" and the copy entries
  for (int32_t id : {4, 6, 25}) scripts.push_back(*LineFor(id, id == 25 ? "" : "0"));
  scripts.push_back(MoveIvacLine("0,0,600,800"));
  scripts.push_back(SelectionBlockText({"EDDF", "EDDM"}, true) + "[AP] SELECT\r\n");
  // The occupied-area dialog has no toolbar button: the helper's "PRESS [OCN]"
  // and "RELEASE [OCN]" do nothing, and the checker says so.
  std::vector<std::string> flagged;
  for (const std::string& script : scripts) {
    for (const panels::Finding& f : panels::CheckScript(script, options, "helper.txt")) {
      if (f.kind == panels::Finding::Kind::kUnknownCode)
        flagged.push_back(f.text);
      else
        ADD_FAILURE() << panels::FormatFinding(f);
    }
  }
  EXPECT_EQ(flagged, (std::vector<std::string>{"PRESS [OCN]", "RELEASE [OCN]"}));

  // The plain selection blocks of both kinds are checked by the Macro Helper's
  // end-to-end test.
  EXPECT_EQ(SelectionBlockText({}, true), "");
  // Lines the block would skip, end early or split are left out.
  EXPECT_EQ(SelectionBlockText({"A", "", ";x", "<Selection_End>", "B|C", "D"}, true),
            "; 2 selected Item\r\n<selection_start>\r\nA\r\nD\r\n<selection_end>\r\n");
  // The entries are unique and grouped as the menu shows them.
  const std::vector<int32_t> ids = ActionIds();
  EXPECT_EQ(std::set<int32_t>(ids.begin(), ids.end()).size(), ids.size());
  // 28 single entries, 13 + 1 zoom values, 3 x 37 buttons, 10 x 12 selection.
  EXPECT_EQ(ids.size(), 28u + 14u + 111u + 120u);

  const MenuNode root = ActionMenu();
  EXPECT_EQ(root.children.front().caption, "Open new Assistant");
  EXPECT_EQ(root.children.back().caption, "<OCN>");
  for (const MenuNode& n : root.children) {
    if (n.caption == "Set Zoom to ...") {
      ASSERT_EQ(n.children.size(), 15u);
      EXPECT_EQ(n.children[0].caption, "0");
      EXPECT_EQ(n.children[12].caption, "120");
      EXPECT_EQ(n.children[14].caption, "Custom ...");
    }
    if (n.caption == "<FIX>") {
      ASSERT_EQ(n.children.size(), 12u);
      EXPECT_EQ(n.children[6].caption, "FIX Copy&&Paste Current IvAc Selected Items");
      EXPECT_EQ(n.children[6].id, 5007);
    }
    if (n.caption == "Release Button") {
      ASSERT_EQ(n.children.size(), 37u);
      EXPECT_EQ(n.children[36].caption, "INTERCOM");
    }
  }
  for (int32_t id : ids) EXPECT_NE(KindOf(id), ActionKind::kNone) << id;
  EXPECT_EQ(KindOf(8), ActionKind::kMoveIvac);
  EXPECT_EQ(KindOf(9007), ActionKind::kPasteSelected);
  EXPECT_EQ(KindOf(1008), ActionKind::kPasteUnselected);
  EXPECT_EQ(KindOf(0), ActionKind::kNone);
  EXPECT_EQ(SelectionCodeOf(9007), "STAR");
  EXPECT_EQ(SelectionCodeOf(21), "");
}

}  // namespace
}  // namespace qv::helper
