// What the button editor shows and saves for one button section: both looks
// (normal, and the down look of a two-state button), the type, the spans and
// the hidden flag, read with the editor's defaults. Values no writer makes
// (a type of 7, a size of -3, a colour that is no colour, an empty or
// over-long face name) show as their defaults and are saved sanely.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "panels/panel_file.h"
#include "platform/profile.h"

namespace qv::editor {

struct FontLook {
  std::string face = "Tahoma";
  int32_t size = 10;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethru = false;
  int32_t color = panels::kButtonText;
};

struct ButtonLookFields {
  std::string label;
  std::string macro;
  std::string tooltip;
  int32_t backColor = panels::kButtonFace;
  FontLook font;
};

struct ButtonForm {
  int32_t type = 0;  // list index of the type list
  std::string expandX = "0";
  std::string expandY = "0";
  bool hidden = false;
  ButtonLookFields up;
  ButtonLookFields down;
};

ButtonForm LoadButtonForm(const panels::ValueReader& file, int32_t n);

// The 26 texts in the button editor's write order.
panels::ButtonFields ToButtonFields(const ButtonForm& form);

// A span field when it loses the focus: the absolute value of its number as
// a whole number (nearest); empty when that is below 1 (2.6 -> "3",
// -2 -> "2", 0 -> "").
std::string CorrectSpanText(std::string_view text);

// Readers keep 254 characters of a value: a longer script loses its end.
inline constexpr size_t kMaxStoredValue = profile::kReadBufferSize - 1;
bool IsCutOnRead(std::string_view value);

// The first line of every macro file the editor creates.
inline constexpr std::string_view kMacroFileHeader = "; Quorvex Definition file";
// Creates the macro file with its header line; false when it cannot.
bool CreateMacroFile(std::string_view path);

// A colour a panel file may hold: an RGB value, or a system colour index.
bool IsPanelColor(int32_t color);

}  // namespace qv::editor
