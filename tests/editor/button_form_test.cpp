#include "editor/button_form.h"

#include <gtest/gtest.h>

#include <vector>

#include "panels/panel_profile.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

namespace qv::editor {
namespace {

using qv::testing::TempDir;

TEST(ButtonForm, SpanFieldsBecomeWholePositiveNumbersOrEmpty) {
  // 2.6, -2 and 0 are typed into the button editor by its end-to-end test.
  const std::pair<const char*, const char*> cases[] = {
      {"", ""}, {"0.4", ""}, {"2.5", "2"}, {"3.5", "4"}, {"7 cols", "7"}, {"x", ""}, {"-0.6", "1"},
  };
  for (const auto& [typed, shown] : cases) EXPECT_EQ(CorrectSpanText(typed), shown) << typed;
}

// A new button's defaults (Tahoma 10, the system colours) are checked in
// its saved section by the editors' end-to-end test; untouched spans save as 0.
TEST(ButtonForm, OddValuesShowAsDefaultsAndEverythingElseRoundTrips) {
  TempDir t;
  const std::string file = t.Path("p.ini");
  t.Write("p.ini", panels::SetupTemplate("p") +
                       "[03]\r\nType=7\r\nColor=-5\r\nTextSize=-3\r\nTextFont=\r\n"
                       "TextColorReleased=&H80000099\r\nTextSizeReleased=8,25\r\n"
                       "TextFontReleased=AVeryLongFaceNameThatNoFontCouldEverHave\r\n");
  const panels::ButtonFields fresh = ToButtonFields(LoadButtonForm(panels::ProfileReader(file), 1));
  EXPECT_EQ(fresh[5] + "|" + fresh[6], "0|0");
  const ButtonForm odd = LoadButtonForm(panels::ProfileReader(file), 3);
  EXPECT_EQ(std::vector<int32_t>({odd.type, odd.up.backColor, odd.up.font.size, odd.down.font.color,
                                  odd.down.font.size}),
            std::vector<int32_t>({0, panels::kButtonFace, 10, panels::kButtonText, 8}));
  EXPECT_EQ(odd.up.font.face + "|" + odd.down.font.face, "Tahoma|Tahoma");

  ButtonForm form;
  form.type = 2;
  form.expandX = "3";
  form.expandY = "";
  form.hidden = true;
  form.up = {"Up", "|PRESS [ZZ]", "tip", 0x00FF00, {"Arial", 12, true, false, true, false, 255}};
  form.down = {"Down",
               "down.txt",
               "tip2",
               16777215,
               {"Courier New", 9, false, true, false, true, panels::kButtonText}};
  ASSERT_TRUE(panels::WriteButtonFields(file, 4, ToButtonFields(form)));
  ButtonForm back = LoadButtonForm(panels::ProfileReader(file), 4);
  EXPECT_EQ(profile::ReadKey(file, "04", "ExpandY", "missing"), "");
  EXPECT_EQ(back.expandY, "0");  // an empty span shows as its number
  back.expandY = "";
  EXPECT_EQ(ToButtonFields(back), ToButtonFields(form));
  EXPECT_EQ(profile::ReadKey(file, "04", "ColorReleased", ""), "0000016777215");
  EXPECT_EQ(profile::ReadKey(file, "04", "TextBold", ""), "-1");
}

// A new macro file's header is checked by the button editor's end-to-end test.
TEST(ButtonForm, NewMacroFilesNeedTheirFolderAndLongScriptsAreFlagged) {
  TempDir t;
  EXPECT_FALSE(CreateMacroFile(t.Path("missing\\new.txt")));
  EXPECT_FALSE(IsCutOnRead(std::string(254, 'x')));
  EXPECT_TRUE(IsCutOnRead(std::string(255, 'x')));
}

}  // namespace
}  // namespace qv::editor
