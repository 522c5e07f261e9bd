// The panel definition file: one profile file per panel, panels folder &
// "\" & name & ".ini". Section "Setup" holds the panel's geometry and
// options, one section per button (its position number, "01", "02", ...,
// "99", "100", ...) holds the button. This header fixes every key, the letter
// case each reader and writer uses, the encodings, the defaults and the
// corrections readers apply, the button loader and the grid geometry.
// Portable: values come through a ValueReader, which the profile engine
// serves in the program (panels/panel_profile.h).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv::panels {

// ---------------------------------------------------------------- reading

// One value of the panel file: the section, the key and the default text a
// reader passes; the answer follows the profile read rules (at most 254
// characters, trailing blanks stripped, default only when the key is
// missing).
class ValueReader {
 public:
  virtual ~ValueReader() = default;
  virtual std::string Read(std::string_view section, std::string_view key,
                           std::string_view def) const = 0;
};

// ---------------------------------------------------------------- names

// panels folder & "\" & name & ".ini".
std::string PanelPath(std::string_view panelsFolder, std::string_view name);

// The section of button n: at least two digits ("01" ... "99", "100", ...).
std::string SectionName(int32_t n);

inline constexpr std::string_view kSetupSection = "Setup";

// The seven lines the panel manager writes for a new panel, each ended by
// CR LF (the last one empty).
std::string SetupTemplate(std::string_view description);

// Setup keys in the order the layout editor writes them.
inline constexpr std::array<std::string_view, 17> kSetupKeys = {
    "Description", "ButtonWidth", "ButtonHeight", "Rows",        "Cols",        "Top",
    "Left",        "OnTop",       "AutoHide",     "SysTray",     "BackColor",   "SpacingX",
    "SpacingY",    "BorderTop",   "BorderLeft",   "BorderRight", "BorderBottom"};
// The readers spell the background key this way (same key, other case).
inline constexpr std::string_view kBackColorRead = "Backcolor";

// Button keys: the button editor's spelling, in its write order, and the
// readers' spelling. Keys with a twin have a "Released" form for the down
// look of a two-state button.
struct ButtonKey {
  std::string_view written;
  std::string_view read;
  bool hasTwin;
};
inline constexpr std::array<ButtonKey, 15> kButtonKeys = {{
    {"Label", "label", true},
    {"Macro", "macro", true},
    {"Color", "color", true},
    {"Tooltip", "tooltip", true},
    {"Type", "type", false},  // the button editor reads it as "Type"
    {"ExpandX", "ExpandX", false},
    {"ExpandY", "ExpandY", false},
    {"Hidden", "Hidden", false},
    {"TextFont", "TextFont", true},
    {"TextSize", "TextSize", true},
    {"TextColor", "TextColor", true},
    {"TextBold", "TextBold", true},
    {"TextUnderline", "textUnderline", true},
    {"TextItalic", "TextItalic", true},
    {"TextStrikethru", "TextStrikethru", true},
}};
inline constexpr std::string_view kReleasedSuffix = "Released";

// The 26 keys in the order the button editor writes them: the 15 base keys,
// then the 11 twins in the order of their base keys.
std::array<std::string, 26> ButtonWriteOrder();

// ---------------------------------------------------------------- encodings

// Colours: signed 32 bits; negative values with the top bit set name a
// system colour by the low byte.
inline constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000Fu);
inline constexpr int32_t kButtonText = static_cast<int32_t>(0x80000012u);

std::string ColorText13(int32_t color);     // Color, ColorReleased, BackColor
std::string ColorTextPlain(int32_t color);  // TextColor, TextColorReleased
int32_t ReadColor(std::string_view text);   // accepts either form and "&H"

// Flags: "-1" on, "0" off; any non-zero number reads as on.
std::string FlagText(bool on);
// Check boxes: "1" or "0".
std::string CheckText(bool on);
bool ReadFlag(std::string_view text);

// TextSize as written: a decimal comma becomes "." so every locale writes
// the same file.
std::string TextSizeText(std::string_view fieldText);

// The integer of a number field, saturated to 32 bits (leading-number rule).
int32_t ReadInt(std::string_view text);

// Colours for drawing: the system colour of a negative value comes from the
// platform (GetSysColor on Windows); elsewhere the classic defaults.
using SysColorFn = uint32_t (*)(int index);
uint32_t ClassicSysColor(int index);
uint32_t ResolveColor(int32_t color, SysColorFn sysColor);
#ifdef _WIN32
// The system's own colours (GetSysColor); panels/syscolor_win32.cpp.
uint32_t WindowsSysColor(int index);
#endif

// ---------------------------------------------------------------- Setup

enum class SetupReader {
  kRunningPanel,  // missing Rows/Cols read as "1200" and so become 2 and 10
  kLayoutEditor,  // missing Rows "2", Cols "8"
};

struct PanelSetup {
  std::string description;
  int32_t buttonWidth = 1200;
  int32_t buttonHeight = 400;
  int32_t rows = 2;
  int32_t cols = 10;
  std::optional<int32_t> top;  // empty: compute the default position
  std::optional<int32_t> left;
  bool onTop = true;
  bool autoHide = false;
  bool sysTray = false;
  int32_t backColor = kButtonFace;
  int32_t spacingX = 60;
  int32_t spacingY = 60;
  int32_t borderTop = 80;
  int32_t borderLeft = 120;
  int32_t borderRight = 60;
  int32_t borderBottom = 60;
};

// Reads "Setup" with the defaults and corrections of the given reader.
PanelSetup ReadSetup(const ValueReader& file, SetupReader reader);

// The default window position, in twips, when Top or Left is missing or not
// greater than 0: top from the screen's width, left from its height.
int32_t DefaultTop(int32_t screenWidth, int32_t windowHeight);
int32_t DefaultLeft(int32_t screenHeight, int32_t windowWidth);

// The keep-on-screen rule, in twips: a top below the screen's bottom edge
// (or a left beyond its right edge) puts the window against that edge,
// inside; a top or left that is negative, then or before, becomes 0.
struct WindowOrigin {
  int32_t top = 0;
  int32_t left = 0;
  bool operator==(const WindowOrigin&) const = default;
};
WindowOrigin KeepOnScreen(WindowOrigin wanted, int32_t windowWidth, int32_t windowHeight,
                          int32_t screenWidth, int32_t screenHeight);

// ---------------------------------------------------------------- buttons

// The button type, read by the leading-number rule; anything outside 0-2
// counts as 0 (a plain push button).
enum class ButtonType { kPush = 0, kTwoStatePush = 1, kTwoState = 2 };
ButtonType ReadButtonType(const ValueReader& file, int32_t n);

// The cell size a grid window keeps in its tag: width "|" height, decimal
// twips. Without a grid window the size is 0.
struct CellSize {
  int32_t width = 0;
  int32_t height = 0;
};
CellSize ParseCellTag(std::string_view tag);
std::string CellTag(int32_t width, int32_t height);

// What the shared button loader applies to a button control.
struct ButtonLook {
  std::string caption;
  std::string tag;  // the "macro" value: what a click runs
  std::string tooltip;
  int32_t backColor = kButtonFace;
  int32_t textColor = kButtonText;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethru = false;
  double fontSize = 10;
  std::string fontFace = "Tahoma";
  bool hidden = false;  // invisible and disabled; tooltip "*HIDDEN*"
  int32_t expandX = 1;
  int32_t expandY = 1;
  int32_t width = 0;
  int32_t height = 0;
  bool toFront = false;  // spans neighbours: brought to the front
};

inline constexpr std::string_view kHiddenTooltip = "*HIDDEN*";

// Reads section n with the normal look, or the down look (twins with
// "Released") when `downLook` is set. The caller places the button.
ButtonLook LoadButtonLook(const ValueReader& file, int32_t n, bool downLook, CellSize cell,
                          int32_t spacingX, int32_t spacingY);

// A button whose tag, trimmed and upper-cased, is "|HIDE" is not shown by
// the running panel.
bool IsHideTag(std::string_view tag);

// ---------------------------------------------------------------- grid

struct GridCell {
  int32_t row = 0;
  int32_t col = 0;
};
// Row and column of button n (from 1) in a grid of `cols` columns.
GridCell CellOf(int32_t n, int32_t cols);
// Position number of a row and column, both from 0.
int32_t PositionNumber(int32_t row, int32_t col, int32_t cols);

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};
// Where the grid puts button n before the loader sizes it.
Rect CellRect(const PanelSetup& setup, int32_t n);
// The grid's full size: borders, plus one spacing after the last column and
// row. Saturated; negative when Rows or Cols is.
int32_t GridWidth(const PanelSetup& setup);
int32_t GridHeight(const PanelSetup& setup);
// Number of grid buttons: Rows x Cols, 0 when either is 0 or below.
int32_t ButtonCount(const PanelSetup& setup);

// ---------------------------------------------------------------- writing

// Field texts as the editors store them; writers neither trim nor check.
using SetupFields = std::array<std::string, 17>;   // order of kSetupKeys
using ButtonFields = std::array<std::string, 26>;  // order of ButtonWriteOrder()

}  // namespace qv::panels
