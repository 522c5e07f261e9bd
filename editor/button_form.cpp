#include "editor/button_form.h"

#include <cmath>
#include <cstdlib>

#include "platform/files.h"
#include "platform/text.h"

namespace qv::editor {

using panels::kButtonFace;
using panels::kButtonText;

namespace {

// The longest face name a font description holds (LF_FACESIZE - 1).
constexpr size_t kMaxFace = 31;
// The font dialog offers sizes up to this many points.
constexpr int32_t kMaxPoints = 1638;

ButtonLookFields LoadLook(const panels::ValueReader& file, const std::string& section,
                          std::string_view suffix) {
  const auto get = [&](std::string_view key, std::string_view def) {
    return file.Read(section, std::string(key) + std::string(suffix), def);
  };
  const auto color = [](int32_t value, int32_t fallback) {
    return IsPanelColor(value) ? value : fallback;
  };
  ButtonLookFields look;
  look.label = get("label", "");
  look.macro = get("macro", "");
  look.tooltip = get("tooltip", "");
  look.backColor = color(panels::ReadColor(get("color", DecimalText(kButtonFace))), kButtonFace);
  FontLook& f = look.font;
  f.face = get("TextFont", "Tahoma");
  if (TrimSpaces(f.face).empty() || f.face.size() > kMaxFace) f.face = "Tahoma";
  f.size = panels::ReadInt(get("TextSize", "10"));
  if (f.size < 1 || f.size > kMaxPoints) f.size = 10;
  f.color = color(panels::ReadColor(get("TextColor", DecimalText(kButtonText))), kButtonText);
  f.bold = panels::ReadFlag(get("TextBold", "0"));
  f.italic = panels::ReadFlag(get("TextItalic", "0"));
  f.underline = panels::ReadFlag(get("textUnderline", "0"));
  f.strikethru = panels::ReadFlag(get("TextStrikethru", "0"));
  return look;
}

}  // namespace

bool IsPanelColor(int32_t color) {
  if (color >= 0) return color <= 0xFFFFFF;
  const uint32_t u = static_cast<uint32_t>(color);
  return (u & 0xFFFFFF00u) == 0x80000000u && (u & 0xFFu) <= 30;
}

ButtonForm LoadButtonForm(const panels::ValueReader& file, int32_t n) {
  const std::string section = panels::SectionName(n);
  ButtonForm form;
  form.type = panels::ReadInt(file.Read(section, "Type", "0"));
  if (form.type < 0 || form.type > 2) form.type = 0;
  form.expandX = DecimalText(panels::ReadInt(file.Read(section, "ExpandX", "0")));
  form.expandY = DecimalText(panels::ReadInt(file.Read(section, "ExpandY", "0")));
  form.hidden = panels::ReadInt(file.Read(section, "Hidden", "0")) != 0;
  form.up = LoadLook(file, section, "");
  form.down = LoadLook(file, section, panels::kReleasedSuffix);
  return form;
}

panels::ButtonFields ToButtonFields(const ButtonForm& form) {
  using panels::ColorText13;
  using panels::ColorTextPlain;
  using panels::FlagText;
  panels::ButtonFields f;
  size_t i = 0;
  auto put = [&](std::string text) { f[i++] = std::move(text); };
  auto putLook = [&](const ButtonLookFields& look) {
    put(look.label);
    put(look.macro);
    put(ColorText13(look.backColor));
    put(look.tooltip);
  };
  auto putFont = [&](const FontLook& font) {
    put(font.face);
    put(DecimalText(font.size));
    put(ColorTextPlain(font.color));
    for (bool flag : {font.bold, font.underline, font.italic, font.strikethru}) put(FlagText(flag));
  };
  // In the order of the section's keys: the up look with the button's own
  // keys and its font, then the down look and its font.
  putLook(form.up);
  put(DecimalText(form.type));
  put(form.expandX);
  put(form.expandY);
  put(panels::CheckText(form.hidden));
  putFont(form.up.font);
  putLook(form.down);
  putFont(form.down.font);
  return f;
}

std::string CorrectSpanText(std::string_view text) {
  const int32_t n = RoundHalfEven(std::fabs(LeadingNumber(text)));
  return n < 1 ? std::string() : DecimalText(n);
}

bool IsCutOnRead(std::string_view value) { return value.size() > kMaxStoredValue; }

bool CreateMacroFile(std::string_view path) {
  return files::Append(path, std::string(kMacroFileHeader) + "\r\n");
}

}  // namespace qv::editor
