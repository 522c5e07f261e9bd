#include "panels/panel_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/text.h"

namespace qv::panels {

namespace {

int32_t Saturate(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// Products of 32-bit values (or of a 32-bit value and the sum of two) fit in
// 64 bits, and so do the few sums the geometry adds to them; results are
// saturated back to 32 bits.
int64_t MulAdd(int64_t a, int64_t b) { return a * b; }

std::string Key(std::string_view base, bool twin) {
  std::string k(base);
  if (twin) k += kReleasedSuffix;
  return k;
}

}  // namespace

std::string PanelPath(std::string_view panelsFolder, std::string_view name) {
  std::string p(panelsFolder);
  p += '\\';
  p += name;
  p += ".ini";
  return p;
}

std::string SectionName(int32_t n) {
  std::string s = DecimalText(n);
  if (n >= 0 && s.size() < 2) s.insert(0, 1, '0');
  return s;
}

std::string SetupTemplate(std::string_view description) {
  std::string t = "[Setup]\r\nDescription=";
  t += description;
  t += "\r\nButtonWidth=1200\r\nButtonHeight=400\r\nRows=2\r\nCols=10\r\n\r\n";
  return t;
}

std::array<std::string, 26> ButtonWriteOrder() {
  std::array<std::string, 26> order;
  size_t i = 0;
  for (const ButtonKey& k : kButtonKeys) order[i++] = std::string(k.written);
  for (const ButtonKey& k : kButtonKeys)
    if (k.hasTwin) order[i++] = Key(k.written, true);
  return order;
}

std::string ColorText13(int32_t color) { return Format13(color); }
std::string ColorTextPlain(int32_t color) { return DecimalText(color); }
int32_t ReadColor(std::string_view text) { return LeadingInt(text); }

std::string FlagText(bool on) { return on ? "-1" : "0"; }
std::string CheckText(bool on) { return on ? "1" : "0"; }
bool ReadFlag(std::string_view text) { return LeadingNumber(text) != 0; }

std::string TextSizeText(std::string_view fieldText) { return ReplaceAll(fieldText, ",", "."); }

int32_t ReadInt(std::string_view text) { return LeadingInt(text); }

uint32_t ClassicSysColor(int index) {
  // The classic Windows scheme, as 0x00BBGGRR.
  switch (index) {
    case 5:  // window
      return 0xFFFFFF;
    case 8:   // window text
    case 18:  // button text
      return 0x000000;
    case 15:  // button face
      return 0xF0F0F0;
    case 16:  // button shadow
      return 0xA0A0A0;
    case 17:  // grey text
      return 0x6D6D6D;
    case 20:  // button highlight
      return 0xFFFFFF;
    default:
      return 0xC0C0C0;
  }
}

uint32_t ResolveColor(int32_t color, SysColorFn sysColor) {
  if (color >= 0) return static_cast<uint32_t>(color) & 0xFFFFFFu;
  const int index = static_cast<int>(static_cast<uint32_t>(color) & 0xFFu);
  return (sysColor ? sysColor : ClassicSysColor)(index)&0xFFFFFFu;
}

PanelSetup ReadSetup(const ValueReader& f, SetupReader reader) {
  const bool running = reader == SetupReader::kRunningPanel;
  auto get = [&](std::string_view key, std::string_view def) {
    return f.Read(kSetupSection, key, def);
  };
  PanelSetup s;
  s.description = get("Description", "");

  const int32_t width = ReadInt(get("ButtonWidth", "1200"));
  s.buttonWidth = width > 10 ? width : 1200;
  const int32_t height = ReadInt(get("ButtonHeight", "1200"));
  s.buttonHeight = height > 10 ? height : 400;
  const int32_t rows = ReadInt(get("Rows", running ? "1200" : "2"));
  s.rows = rows < 100 ? rows : 2;
  const int32_t cols = ReadInt(get("Cols", running ? "1200" : "8"));
  s.cols = cols < 100 ? cols : 10;

  const int32_t top = ReadInt(get("Top", ""));
  if (top > 0) s.top = top;
  const int32_t left = ReadInt(get("Left", ""));
  if (left > 0) s.left = left;

  s.onTop = ReadInt(get("OnTop", "1")) != 0;
  s.autoHide = ReadInt(get("AutoHide", "0")) != 0;
  s.sysTray = ReadInt(get("SysTray", "0")) != 0;
  s.backColor = ReadColor(get(kBackColorRead, DecimalText(kButtonFace)));
  s.spacingX = ReadInt(get("SpacingX", "60"));
  s.spacingY = ReadInt(get("SpacingY", "60"));
  s.borderTop = ReadInt(get("BorderTop", "80"));
  s.borderLeft = ReadInt(get("BorderLeft", "120"));
  s.borderRight = ReadInt(get("BorderRight", "60"));
  s.borderBottom = ReadInt(get("BorderBottom", "60"));
  return s;
}

int32_t DefaultTop(int32_t screenWidth, int32_t windowHeight) {
  return Saturate(static_cast<int64_t>(screenWidth) / 2 - windowHeight);
}

int32_t DefaultLeft(int32_t screenHeight, int32_t windowWidth) {
  return Saturate((static_cast<int64_t>(screenHeight) - windowWidth) / 2);
}

WindowOrigin KeepOnScreen(WindowOrigin wanted, int32_t windowWidth, int32_t windowHeight,
                          int32_t screenWidth, int32_t screenHeight) {
  int64_t top = wanted.top, left = wanted.left;
  if (top > screenHeight) top = static_cast<int64_t>(screenHeight) - windowHeight;
  if (left > screenWidth) left = static_cast<int64_t>(screenWidth) - windowWidth;
  return WindowOrigin{top < 0 ? 0 : Saturate(top), left < 0 ? 0 : Saturate(left)};
}

ButtonType ReadButtonType(const ValueReader& f, int32_t n) {
  const int32_t t = ReadInt(f.Read(SectionName(n), "type", "0"));
  if (t == 1) return ButtonType::kTwoStatePush;
  if (t == 2) return ButtonType::kTwoState;
  return ButtonType::kPush;
}

CellSize ParseCellTag(std::string_view tag) {
  CellSize c;
  const size_t bar = tag.find('|');
  c.width = LeadingInt(tag.substr(0, bar));
  if (bar != std::string_view::npos) c.height = LeadingInt(tag.substr(bar + 1));
  return c;
}

std::string CellTag(int32_t width, int32_t height) {
  return DecimalText(width) + "|" + DecimalText(height);
}

ButtonLook LoadButtonLook(const ValueReader& f, int32_t n, bool downLook, CellSize cell,
                          int32_t spacingX, int32_t spacingY) {
  const std::string sec = SectionName(n);
  auto get = [&](std::string_view key, std::string_view def) {
    return f.Read(sec, Key(key, downLook), def);
  };
  ButtonLook b;
  b.caption = get("label", "");
  b.tag = get("macro", "");
  b.tooltip = get("tooltip", "");
  b.backColor = ReadColor(get("color", DecimalText(kButtonFace)));
  b.textColor = ReadColor(get("TextColor", DecimalText(kButtonText)));
  b.bold = ReadFlag(get("TextBold", "0"));
  b.fontSize = LeadingNumber(get("TextSize", "10"));
  // A size of 0 or below would give the system's smallest font or fail to
  // create one: such a size counts as the default.
  if (!(b.fontSize > 0) || !std::isfinite(b.fontSize)) b.fontSize = 10;
  b.fontFace = get("TextFont", "Tahoma");
  b.italic = ReadFlag(get("TextItalic", "0"));
  b.underline = ReadFlag(get("textUnderline", "0"));
  b.strikethru = ReadFlag(get("TextStrikethru", "0"));

  if (LeadingNumber(f.Read(sec, "Hidden", "0")) != 0) {
    b.hidden = true;
    b.tooltip = std::string(kHiddenTooltip);
  }
  b.expandX = std::max<int32_t>(1, ReadInt(f.Read(sec, "ExpandX", "1")));
  b.expandY = std::max<int32_t>(1, ReadInt(f.Read(sec, "ExpandY", "1")));
  b.width = Saturate(MulAdd(b.expandX, cell.width) + MulAdd(b.expandX - 1, spacingX));
  b.height = Saturate(MulAdd(b.expandY, cell.height) + MulAdd(b.expandY - 1, spacingY));
  b.toFront = b.expandX > 1 || b.expandY > 1;
  return b;
}

bool IsHideTag(std::string_view tag) { return ToUpper(TrimSpaces(tag)) == "|HIDE"; }

GridCell CellOf(int32_t n, int32_t cols) {
  if (cols <= 0 || n < 1) return {};
  return {(n - 1) / cols, (n - 1) % cols};
}

int32_t PositionNumber(int32_t row, int32_t col, int32_t cols) {
  return Saturate(static_cast<int64_t>(row) * cols + col + 1);
}

Rect CellRect(const PanelSetup& s, int32_t n) {
  const GridCell c = CellOf(n, s.cols);
  Rect r;
  r.left = Saturate(s.borderLeft + MulAdd(c.col, static_cast<int64_t>(s.buttonWidth) + s.spacingX));
  r.top = Saturate(s.borderTop + MulAdd(c.row, static_cast<int64_t>(s.buttonHeight) + s.spacingY));
  r.width = s.buttonWidth;
  r.height = s.buttonHeight;
  return r;
}

int32_t GridWidth(const PanelSetup& s) {
  return Saturate(static_cast<int64_t>(s.borderLeft) + s.borderRight +
                  MulAdd(s.cols, static_cast<int64_t>(s.buttonWidth) + s.spacingX));
}

int32_t GridHeight(const PanelSetup& s) {
  return Saturate(static_cast<int64_t>(s.borderTop) + s.borderBottom +
                  MulAdd(s.rows, static_cast<int64_t>(s.buttonHeight) + s.spacingY));
}

int32_t ButtonCount(const PanelSetup& s) {
  if (s.rows <= 0 || s.cols <= 0) return 0;
  return Saturate(static_cast<int64_t>(s.rows) * s.cols);
}

}  // namespace qv::panels
