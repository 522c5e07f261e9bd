#include "panels/panel_file.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "platform/text.h"

namespace qv::panels {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Values as the profile engine hands them over, names without regard to case.
class MapReader : public ValueReader {
 public:
  struct Entry {
    std::string section, key, value;
  };
  explicit MapReader(std::vector<Entry> entries) : entries_(std::move(entries)) {}
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view def) const override {
    for (const Entry& e : entries_)
      if (EqualsNoCase(e.section, section) && EqualsNoCase(e.key, key)) return e.value;
    return std::string(def);
  }

 private:
  std::vector<Entry> entries_;
};

// Keys of one section: "Setup", or a button's by its number.
MapReader Keys(const std::string& section, std::vector<std::pair<std::string, std::string>> keys) {
  std::vector<MapReader::Entry> e;
  for (auto& [k, v] : keys) e.push_back({section, k, v});
  return MapReader(e);
}
MapReader Button(int32_t n, std::vector<std::pair<std::string, std::string>> keys) {
  return Keys(SectionName(n), std::move(keys));
}

TEST(Encodings, NamesColoursFlagsAndSizes) {
  EXPECT_EQ(PanelPath("C:\\Data\\Panels", "Tower"), "C:\\Data\\Panels\\Tower.ini");
  const struct {
    int32_t n;
    const char* want;
  } names[] = {{1, "01"}, {9, "09"}, {10, "10"}, {99, "99"}, {100, "100"}, {1234, "1234"}};
  for (const auto& c : names) EXPECT_EQ(SectionName(c.n), c.want) << c.n;

  EXPECT_EQ(ColorText13(kButtonFace), "-0002147483633");
  EXPECT_EQ(ColorText13(0xFFFFFF), "0000016777215");
  EXPECT_EQ(ColorText13(0), "0000000000000");
  EXPECT_EQ(ColorTextPlain(kButtonText), "-2147483630");
  EXPECT_EQ(ColorTextPlain(255), "255");
  for (const char* t :
       {"-0002147483633", "-2147483633", "&H8000000F", "&h8000000f", " -2147483633"})
    EXPECT_EQ(ReadColor(t), kButtonFace) << t;
  EXPECT_EQ(ReadColor("0000016777215"), 0xFFFFFF);
  EXPECT_EQ(ReadColor("99999999999999"), kMax);

  EXPECT_EQ(FlagText(true), "-1");
  EXPECT_EQ(FlagText(false), "0");
  EXPECT_EQ(CheckText(true), "1");
  EXPECT_EQ(CheckText(false), "0");
  struct Flag {
    const char* text;
    bool on;
  } flags[] = {{"-1", true}, {"1", true},  {"7", true},   {"0.5", true}, {"0", false},
               {"", false},  {"x", false}, {"-0", false}, {"&H1", true}};
  for (const Flag& f : flags) EXPECT_EQ(ReadFlag(f.text), f.on) << f.text;

  EXPECT_EQ(TextSizeText("8,25"), "8.25");
  EXPECT_EQ(TextSizeText("10"), "10");

  // System colours come from the platform.
  auto fake = [](int index) -> uint32_t { return 0x010000u * static_cast<uint32_t>(index) + 7; };
  EXPECT_EQ(ResolveColor(kButtonFace, fake), 0x0F0007u);
  EXPECT_EQ(ResolveColor(kButtonText, fake), 0x120007u);
  EXPECT_EQ(ResolveColor(0x123456, fake), 0x123456u);
  EXPECT_EQ(ResolveColor(0x7F123456, fake), 0x123456u);
  EXPECT_EQ(ResolveColor(kButtonFace, nullptr), ClassicSysColor(15));
  EXPECT_NE(ClassicSysColor(15), ClassicSysColor(18));
}

TEST(ReadSetup, DefaultsAndCorrectionsPerReaderPositionOptionsAndColour) {
  constexpr SetupReader kEditor = SetupReader::kLayoutEditor;
  struct Case {
    std::vector<std::pair<std::string, std::string>> keys;
    int32_t width, height, rows, cols;
    SetupReader reader = SetupReader::kRunningPanel;
  } cases[] = {
      {{}, 1200, 1200, 2, 10},
      {{}, 1200, 1200, 2, 8, kEditor},
      {{{"ButtonHeight", "5"}}, 1200, 400, 2, 10},
      {{{"ButtonHeight", "10"}}, 1200, 400, 2, 8, kEditor},
      {{{"ButtonHeight", "11"}}, 1200, 11, 2, 10},
      {{{"ButtonWidth", "10"}}, 1200, 1200, 2, 10},
      {{{"ButtonWidth", "11"}}, 11, 1200, 2, 10},
      {{{"ButtonWidth", "1000.5"}}, 1000, 1200, 2, 10},
      {{{"ButtonWidth", ""}}, 1200, 1200, 2, 10},
      {{{"Rows", "99"}, {"Cols", "99"}}, 1200, 1200, 99, 99},
      {{{"Rows", "100"}, {"Cols", "100"}}, 1200, 1200, 2, 10},
      {{{"Rows", "100"}, {"Cols", "100"}}, 1200, 1200, 2, 10, kEditor},
      {{{"Rows", "abc"}, {"Cols", ""}}, 1200, 1200, 0, 0},
      {{{"Rows", "-5"}, {"Cols", "-2147483648"}}, 1200, 1200, -5, kMin},
      {{{"Rows", "99999999999999999999"}, {"Cols", "&H7FFFFFFF"}}, 1200, 1200, 2, 10},
      {{{"ButtonWidth", "99999999999"}}, kMax, 1200, 2, 10},
  };
  for (const Case& c : cases) {
    const PanelSetup s = ReadSetup(Keys("Setup", c.keys), c.reader);
    const std::string what = c.keys.empty() ? "(none)" : c.keys[0].first + "=" + c.keys[0].second;
    EXPECT_EQ(std::make_tuple(s.buttonWidth, s.buttonHeight, s.rows, s.cols),
              std::make_tuple(c.width, c.height, c.rows, c.cols))
        << what;
  }
  // The position, the options and the colour.
  const struct {
    std::vector<std::pair<std::string, std::string>> keys;
    std::optional<int32_t> top, left;
    bool onTop, autoHide, sysTray;
    int32_t back = kButtonFace;
  } options[] = {
      {{{"Top", "0"}, {"Left", "-30"}}, {}, {}, true, false, false},
      {{{"Top", "300"}, {"Left", "450.5"}}, 300, 450, true, false, false},
      {{{"OnTop", "0"}, {"AutoHide", "1"}, {"SysTray", "1"}}, {}, {}, false, true, true},
      {{{"OnTop", ""}}, {}, {}, false, false, false},
      {{{"BackColor", "0000000000255"}}, {}, {}, true, false, false, 255},
  };
  for (const auto& c : options) {
    const PanelSetup s = ReadSetup(Keys("Setup", c.keys), SetupReader::kRunningPanel);
    const std::string what = c.keys[0].first + "=" + c.keys[0].second;
    EXPECT_EQ(std::make_tuple(s.top, s.left, s.onTop, s.autoHide, s.sysTray, s.backColor),
              std::make_tuple(c.top, c.left, c.onTop, c.autoHide, c.sysTray, c.back))
        << what;
  }
  // The default position, which swaps the screen's dimensions, is measured
  // on a panel by the panel's end-to-end test; here it does not overflow.
  EXPECT_EQ(DefaultTop(kMin, kMax), kMin);
}

TEST(Grid, PositionNumbersCellRectanglesAndSizes) {
  struct Case {
    int32_t n, cols, row, col;
  } cases[] = {{7, 10, 0, 6},  {7, 4, 1, 2},    {1, 10, 0, 0}, {10, 10, 0, 9},
               {11, 10, 1, 0}, {100, 10, 9, 9}, {5, 1, 4, 0}};
  for (const Case& c : cases) {
    const GridCell g = CellOf(c.n, c.cols);
    EXPECT_EQ(std::make_pair(g.row, g.col), std::make_pair(c.row, c.col)) << c.n << "/" << c.cols;
    EXPECT_EQ(PositionNumber(g.row, g.col, c.cols), c.n);
  }
  EXPECT_EQ(SectionName(PositionNumber(9, 9, 10)), "100");

  PanelSetup s;
  std::tie(s.cols, s.rows, s.buttonWidth, s.buttonHeight, s.spacingX, s.spacingY, s.borderLeft,
           s.borderTop, s.borderRight, s.borderBottom) =
      std::make_tuple(4, 3, 1000, 300, 50, 20, 100, 70, 10, 5);
  struct Cell {
    int32_t n, left, top;
  } cells[] = {{1, 100, 70}, {4, 100 + 3 * 1050, 70}, {5, 100, 70 + 320}, {12, 3250, 710}};
  for (const Cell& c : cells) {
    const Rect r = CellRect(s, c.n);
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.width, r.height),
              std::make_tuple(c.left, c.top, 1000, 300))
        << c.n;
  }
  EXPECT_EQ(GridWidth(s), 100 + 4 * 1050 + 10);
  EXPECT_EQ(GridHeight(s), 70 + 3 * 320 + 5);
  EXPECT_EQ(ButtonCount(s), 12);

  s.rows = 0;
  EXPECT_EQ(ButtonCount(s), 0);
  EXPECT_EQ(GridHeight(s), 75);
  s.rows = -3;
  EXPECT_EQ(ButtonCount(s), 0);
  EXPECT_LT(GridHeight(s), 0);

  s.rows = 99;
  s.cols = 99;
  s.buttonWidth = kMax;
  s.spacingX = kMax;
  EXPECT_EQ(GridWidth(s), kMax);
  EXPECT_EQ(CellRect(s, 99).left, kMax);
  s.cols = kMin;
  EXPECT_EQ(GridWidth(s), kMin);
}

TEST(ButtonLoader, ReadsTheNormalLookWithDefaultsAndTheDownLookFromTheTwins) {
  const ButtonLook b = LoadButtonLook(MapReader({}), 3, false, {1200, 400}, 60, 60);
  EXPECT_EQ(std::make_tuple(b.caption + b.tag + b.tooltip, b.backColor, b.textColor, b.fontSize,
                            b.fontFace, b.width, b.height),
            std::make_tuple("", kButtonFace, kButtonText, 10.0, "Tahoma", 1200, 400));
  EXPECT_FALSE(b.bold || b.italic || b.underline || b.strikethru || b.hidden || b.toFront);
  // Without a grid window spans still add the spacing.
  EXPECT_EQ(LoadButtonLook(Button(1, {{"ExpandX", "3"}}), 1, false, {}, 60, 60).width, 120);

  // The down look reads the twins, but not the type, the spans or Hidden.
  const MapReader f = Button(12, {{"label", "up"},
                                  {"labelReleased", "down"},
                                  {"macro", "|SEND_TEXT up"},
                                  {"macroReleased", "|SEND_TEXT down"},
                                  {"colorReleased", "0000000000255"},
                                  {"TextColorReleased", "65280"},
                                  {"TextBoldReleased", "-1"},
                                  {"textUnderlineReleased", "1"},
                                  {"TextSizeReleased", "8.25"},
                                  {"TextFontReleased", "Arial"},
                                  {"tooltipReleased", "tip"},
                                  {"ExpandX", "2"},
                                  {"ExpandXReleased", "5"}});
  const ButtonLook up = LoadButtonLook(f, 12, false, {1000, 300}, 60, 40);
  const ButtonLook down = LoadButtonLook(f, 12, true, {1000, 300}, 60, 40);
  EXPECT_EQ(
      std::vector<std::string>(
          {up.caption, up.tag, down.caption, down.tag, down.fontFace, down.tooltip}),
      std::vector<std::string>({"up", "|SEND_TEXT up", "down", "|SEND_TEXT down", "Arial", "tip"}));
  EXPECT_EQ(std::vector<int32_t>({up.backColor, down.backColor, down.textColor, up.expandX,
                                  down.expandX, down.width}),
            std::vector<int32_t>({kButtonFace, 255, 65280, 2, 2, 2 * 1000 + 60}));
  EXPECT_EQ(std::vector<bool>({up.bold, down.bold, down.underline, down.italic, down.toFront}),
            std::vector<bool>({false, true, true, false, true}));
  EXPECT_DOUBLE_EQ(down.fontSize, 8.25);
}

TEST(ButtonLoader, SpansHiddenSizesAndType) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> keys;
    int32_t width, height;
    bool hidden, front;
    double size;
  } cases[] = {
      {{{"ExpandX", "2"}}, 2 * 1200 + 60, 400, false, true, 10},
      {{{"ExpandX", "3"}, {"ExpandY", "2"}}, 3 * 1200 + 2 * 60, 2 * 400 + 30, false, true, 10},
      {{{"ExpandX", "0"}, {"ExpandY", "-4"}}, 1200, 400, false, false, 10},
      {{{"ExpandX", "1.5"}}, 2 * 1200 + 60, 400, false, true, 10},
      {{{"ExpandX", "99999999999"}}, kMax, 400, false, true, 10},
      {{{"Hidden", "-1"}}, 1200, 400, true, false, 10},
      {{{"Hidden", "0"}}, 1200, 400, false, false, 10},
      {{{"TextSize", "0"}}, 1200, 400, false, false, 10},
      {{{"TextSize", "-3"}}, 1200, 400, false, false, 10},
      {{{"TextSize", "12.5"}}, 1200, 400, false, false, 12.5},
      {{{"TextSize", "8,25"}}, 1200, 400, false, false, 8},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<std::string, std::string>> keys = c.keys;
    keys.push_back({"tooltip", "tip"});
    const ButtonLook b = LoadButtonLook(Button(5, keys), 5, false, {1200, 400}, 60, 30);
    const std::string what = c.keys[0].first + "=" + c.keys[0].second;
    EXPECT_EQ(std::make_tuple(b.width, b.height, b.hidden, b.tooltip, b.toFront, b.fontSize),
              std::make_tuple(c.width, c.height, c.hidden, c.hidden ? "*HIDDEN*" : "tip", c.front,
                              c.size))
        << what;
  }
  // The type: outside 0 to 2 a push button.
  const struct {
    const char* text;
    ButtonType want;
  } types[] = {{"0", ButtonType::kPush},       {"1", ButtonType::kTwoStatePush},
               {"2", ButtonType::kTwoState},   {"1.4", ButtonType::kTwoStatePush},
               {"2.5", ButtonType::kTwoState}, {"3", ButtonType::kPush},
               {"-1", ButtonType::kPush},      {"99999999999", ButtonType::kPush}};
  for (const auto& c : types)
    EXPECT_EQ(ReadButtonType(Button(8, {{"Type", c.text}}), 8), c.want) << c.text;
  EXPECT_EQ(ReadButtonType(MapReader({}), 8), ButtonType::kPush);
}

TEST(Tags, CellWidthBarHeightAndTheHideTag) {
  struct Case {
    const char* tag;
    int32_t w, h;
  } cases[] = {{"1200|400", 1200, 400}, {"", 0, 0},       {"abc", 0, 0},
               {"1200", 1200, 0},       {"|400", 0, 400}, {"5|6|7", 5, 6}};
  for (const Case& c : cases) {
    const CellSize s = ParseCellTag(c.tag);
    EXPECT_EQ(std::make_pair(s.width, s.height), std::make_pair(c.w, c.h)) << c.tag;
  }
  const CellSize back = ParseCellTag(CellTag(1234, 567));
  EXPECT_EQ(std::make_pair(back.width, back.height), std::make_pair(1234, 567));
  // The hide tag: "|HIDE" trimmed, in any case.
  for (const char* t : {"|HIDE", "|hide", "  |Hide  "}) EXPECT_TRUE(IsHideTag(t)) << t;
  for (const char* t : {"", "|HIDE x", "HIDE", "| HIDE", "\t|HIDE"})
    EXPECT_FALSE(IsHideTag(t)) << t;
}

}  // namespace
}  // namespace qv::panels
