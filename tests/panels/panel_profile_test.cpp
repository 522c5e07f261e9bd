#include "panels/panel_profile.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/text.h"
#include "support/temp_dir.h"

namespace qv::panels {
namespace {

using qv::testing::TempDir;

TEST(PanelProfile, NewPanelFromTheTemplateReadsAsTheDefaultAndWritersUseTheirOrder) {
  TempDir tmp;
  const std::string file = PanelPath(tmp.Path(), "Tower");
  ASSERT_TRUE(CreatePanelFile(file, "Tower"));
  EXPECT_EQ(qv::testing::FileBytes(file),
            "[Setup]\r\nDescription=Tower\r\nButtonWidth=1200\r\nButtonHeight=400\r\n"
            "Rows=2\r\nCols=10\r\n\r\n");

  for (SetupReader which : {SetupReader::kRunningPanel, SetupReader::kLayoutEditor}) {
    const PanelSetup s = ReadSetup(ProfileReader(file), which);
    EXPECT_EQ(std::tie(s.description, s.top, s.left, s.onTop, s.autoHide, s.sysTray),
              std::make_tuple("Tower", std::nullopt, std::nullopt, true, false, false));
    EXPECT_EQ(std::vector<int32_t>({s.rows, s.cols, s.buttonWidth, s.buttonHeight, s.backColor,
                                    s.spacingX, s.spacingY, s.borderTop, s.borderLeft,
                                    s.borderRight, s.borderBottom}),
              std::vector<int32_t>({2, 10, 1200, 400, kButtonFace, 60, 60, 80, 120, 60, 60}));
    EXPECT_EQ(std::make_tuple(GridWidth(s), GridHeight(s), ButtonCount(s)),
              std::make_tuple(12780, 1060, 20));
  }
  // The writers, on the new panel, use their order, and the readers find
  // every key.
  SetupFields setup = {"Desc",           "900", "300", "3",  "4",  "150", "250", "0", "1", "1",
                       ColorText13(255), "30",  "40",  "50", "70", "20",  "10"};
  ASSERT_TRUE(WriteSetupFields(file, setup));
  const PanelSetup s = ReadSetup(ProfileReader(file), SetupReader::kLayoutEditor);
  EXPECT_EQ(std::tie(s.description, s.top, s.left, s.onTop, s.autoHide, s.sysTray),
            std::make_tuple("Desc", 150, 250, false, true, true));
  // BackColor is written "BackColor" and read "Backcolor".
  EXPECT_EQ(
      std::vector<int32_t>({s.buttonWidth, s.buttonHeight, s.rows, s.cols, s.backColor, s.spacingX,
                            s.spacingY, s.borderTop, s.borderLeft, s.borderRight, s.borderBottom}),
      std::vector<int32_t>({900, 300, 3, 4, 255, 30, 40, 50, 70, 20, 10}));

  // The keys in the editors' order and spelling, the values as they encode
  // them (the encodings are checked with the panel file's); the fields are
  // the values of the expected lines.
  const std::string buttonLines =
      "Label=Up\r\nMacro=|SEND_TEXT a\r\nColor=-0002147483633\r\nTooltip=tip\r\nType=1\r\n"
      "ExpandX=2\r\nExpandY=\r\nHidden=0\r\nTextFont=Arial\r\nTextSize=8.25\r\nTextColor=255\r\n"
      "TextBold=-1\r\nTextUnderline=0\r\nTextItalic=-1\r\nTextStrikethru=0\r\n"
      "LabelReleased=Down\r\nMacroReleased=macro.txt\r\nColorReleased=0000000065280\r\n"
      "TooltipReleased=tip2\r\n"
      "TextFontReleased=Courier\r\nTextSizeReleased=12\r\nTextColorReleased=-2147483630\r\n"
      "TextBoldReleased=0\r\nTextUnderlineReleased=-1\r\nTextItalicReleased=0\r\n"
      "TextStrikethruReleased=-1\r\n";
  ButtonFields button;
  for (size_t i = 0, at = 0; i < button.size(); ++i) {
    const size_t eq = buttonLines.find('=', at), end = buttonLines.find("\r\n", eq);
    button[i] = buttonLines.substr(eq + 1, end - eq - 1);
    at = end + 2;
  }
  ASSERT_TRUE(WriteButtonFields(file, 11, button));
  EXPECT_EQ(qv::testing::FileBytes(file),
            "[Setup]\r\nDescription=Desc\r\nButtonWidth=900\r\nButtonHeight=300\r\nRows=3\r\n"
            "Cols=4\r\nTop=150\r\nLeft=250\r\nOnTop=0\r\nAutoHide=1\r\nSysTray=1\r\n"
            "BackColor=0000000000255\r\nSpacingX=30\r\nSpacingY=40\r\nBorderTop=50\r\n"
            "BorderLeft=70\r\nBorderRight=20\r\nBorderBottom=10\r\n[11]\r\n" +
                buttonLines);
  // Readers spell some keys in another case; the key is the same.
  for (const ButtonKey& k : kButtonKeys) EXPECT_TRUE(EqualsNoCase(k.written, k.read)) << k.read;
  EXPECT_TRUE(EqualsNoCase(kBackColorRead, kSetupKeys[10]));

  const SnapshotReader snap(file);
  const ButtonLook up = LoadButtonLook(snap, 11, false, {900, 300}, 30, 40);
  const ButtonLook down = LoadButtonLook(snap, 11, true, {900, 300}, 30, 40);
  EXPECT_EQ(std::vector<std::string>({up.caption, up.tag, down.caption, down.tag, down.fontFace}),
            std::vector<std::string>({"Up", "|SEND_TEXT a", "Down", "macro.txt", "Courier"}));
  // ExpandY stored empty counts as 1.
  EXPECT_EQ(
      std::vector<int32_t>({up.textColor, up.width, up.height, down.backColor, down.textColor}),
      std::vector<int32_t>({255, 2 * 900 + 30, 300, 0xFF00, kButtonText}));
  EXPECT_EQ(std::vector<bool>(
                {up.bold, up.italic, up.underline, down.underline, down.strikethru, down.bold}),
            std::vector<bool>({true, true, false, true, true, false}));
  EXPECT_DOUBLE_EQ(up.fontSize, 8.25);
  EXPECT_EQ(ReadButtonType(snap, 11), ButtonType::kTwoStatePush);
}

TEST(PanelProfile, LongValuesAreCutTo254AndEmptyValuesAreNotDefaults) {
  TempDir tmp;
  const std::string file = tmp.Path("p.ini");
  const std::string macro = "|" + std::string(299, 'x');
  tmp.Write("p.ini", "[Setup]\r\nCols=\r\n[07]\r\nmacro=" + macro +
                         "\r\nlabel=\r\nTextFont=\r\ntooltip=tip   \r\n");
  const SnapshotReader snap(file);
  const ButtonLook b = LoadButtonLook(snap, 7, false, {}, 0, 0);
  EXPECT_EQ(b.tag, macro.substr(0, 254));
  EXPECT_EQ(b.fontFace, "");  // present and empty: not the default "Tahoma"
  EXPECT_EQ(b.tooltip, "tip");
  EXPECT_EQ(ProfileReader(file).Read("07", "MACRO", ""), macro.substr(0, 254));
  // An empty Cols is 0 columns, not the missing-key default.
  EXPECT_EQ(ReadSetup(snap, SetupReader::kRunningPanel).cols, 0);
  EXPECT_EQ(StoredValueLength(file, "07", "macro"), 300);
  EXPECT_EQ(StoredValueLength(file, "07", "label"), 0);
  EXPECT_EQ(StoredValueLength(file, "07", "nothing"), -1);
}

}  // namespace
}  // namespace qv::panels
