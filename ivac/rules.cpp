#include "ivac/rules.h"

#include <cmath>
#include <cstdlib>

#include "platform/text.h"

namespace qv::ivac {

std::string ButtonKey(std::string_view code) { return std::string(code) + "Btn"; }

std::string StripBrackets(std::string_view code) {
  std::string out;
  out.reserve(code.size());
  for (char c : code) {
    if (c != '[' && c != ']') out.push_back(c);
  }
  return out;
}

int32_t FullWait(int32_t sleepMs) { return sleepMs < 0 ? 0 : sleepMs; }

int32_t HalfWait(int32_t sleepMs) {
  const int32_t half = RoundHalfEven(static_cast<double>(sleepMs) / 2.0);
  return half < 0 ? 0 : half;
}

std::string DialogCaption(std::string_view code) {
  if (code == "AP") return "Airports Selection";
  if (code == "SID") return "SIDs Selection";
  if (code == "STAR") return "STARs Selection";
  if (code == "GEO") return "Geographical Data Selection";
  if (code == "VOR" || code == "NDB") return std::string(code) + "s Selection";
  if (code == "FIX") return std::string(code) + "ES Selection";
  if (code == "L") return "Low Airways Selection";
  if (code == "H") return "High Airways Selection";
  if (code == "OCN") return "Occupied Area Selection";
  return "";
}

bool IsNumber(std::string_view text) {
  const std::string t = TrimBlanks(text);
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool digits = false, point = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

int32_t TabNumber(std::string_view argument, int32_t frequencies) {
  if (IsNumber(argument)) return FloorInt(LeadingNumber(argument));
  static constexpr std::string_view kNamed[] = {"METAR", "GUARD", "ATC", "BROADCAST"};
  const std::string name = TrimBlanks(argument);
  for (int32_t i = 0; i < 4; ++i) {
    if (EqualsNoCase(name, kNamed[i])) return frequencies + i + 1;
  }
  return 0;
}

std::string TabStatus(bool selected, int32_t number, int32_t count, int32_t frequencies) {
  return std::string(selected ? "selected " : "unable to select ") + DecimalText(number) +
         " COMMBox TAB (max=" + DecimalText(count) + " - std freq:" + DecimalText(frequencies) +
         ")";
}

std::string SetButtonStatus(std::string_view code, bool pressed) {
  return "Button " + std::string(code) + (pressed ? " Pressed" : " released") + " - done";
}

std::vector<std::string> SplitItems(std::string_view items) {
  const std::string text = ReplaceAll(items, "\r\n", "\n");
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    const size_t lf = text.find('\n', start);
    if (lf == std::string::npos) {
      out.push_back(text.substr(start));
      break;
    }
    out.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  return out;
}

bool EntryMatches(std::string_view entry, std::string_view pattern) {
  return Like(ToUpper(entry), ToUpper(pattern));
}

std::string DefaultsFileText(const std::vector<std::string>& selected) {
  std::string out;
  for (const auto& s : selected) out += s + "\r\n";
  return out + "\r\n";
}

std::string ButtonsIniText(const std::vector<std::pair<std::string, bool>>& states) {
  std::string out = "[Default]\r\n";
  for (const auto& [code, pressed] : states) out += code + "=" + (pressed ? "-1" : "0") + "\r\n";
  return out;
}

std::optional<bool> SavedButtonFlag(std::string_view value) {
  const std::string v = TrimBlanks(value);
  if (v.empty()) return std::nullopt;
  if (EqualsNoCase(v, "true")) return true;
  if (EqualsNoCase(v, "false")) return false;
  return LeadingNumber(v) != 0.0;
}

LabelCommandInfo LabelCommandOf(LabelAction action) {
  switch (action) {
    case LabelAction::kAddToIo:
      return {kCmdAddToInOut, "Added To I/O"};
    case LabelAction::kForceAct:
      return {kCmdForceAct, "Force Act - sent"};
    case LabelAction::kAssume:
      return {kCmdAssume, "Assume"};
    case LabelAction::kRelease:
      return {kCmdRelease, "Release"};
    case LabelAction::kRequestFpl:
      return {kCmdRequestFpl, "Request FPL"};
    case LabelAction::kShowFpl:
      return {kCmdShowFpl, "Show FPL"};
  }
  return {0, ""};
}

namespace {

// A placement part: a number no larger than any screen could ever be, so
// that rounding cannot saturate.
std::optional<int32_t> PlacementPart(std::string_view text) {
  if (!IsNumber(text)) return std::nullopt;
  const double v = LeadingNumber(text);
  if (!std::isfinite(v) || std::fabs(v) > 1.0e7) return std::nullopt;
  return RoundHalfEven(v);
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

}  // namespace

std::optional<Placement> ParsePlacement(std::string_view text, int32_t screenWidth,
                                        int32_t screenHeight) {
  const auto parts = SplitCommas(text);
  if (parts.size() < 4) return std::nullopt;
  std::optional<int32_t> v[4];
  for (int i = 0; i < 4; ++i) {
    v[i] = PlacementPart(parts[i]);
    if (!v[i]) return std::nullopt;
  }
  Placement p{*v[0], *v[1], *v[2], *v[3]};
  if (p.top < 0) p.top = 0;
  if (p.left < 0) p.left = 0;
  if (p.top > screenHeight || p.left > screenWidth) return std::nullopt;
  if (p.height < 10 || p.height > screenHeight) return std::nullopt;
  if (p.width < 10 || p.width > screenWidth) return std::nullopt;
  return p;
}

std::string PlacementText(const Placement& p) {
  return DecimalText(p.top) + "," + DecimalText(p.left) + "," + DecimalText(p.height) + "," +
         DecimalText(p.width);
}

OccupiedAreaArgs ParseOccupiedArea(std::string_view argument) {
  OccupiedAreaArgs a;
  const size_t first = argument.find(',');
  const std::string_view v = argument.substr(0, first);
  if (first == std::string_view::npos) return a;  // no name
  const std::string_view rest = argument.substr(first + 1);
  const size_t second = rest.find(',');
  const std::string_view h = rest.substr(0, second);
  auto coordinate = [](std::string_view t) {
    return TrimBlanks(t).empty() ? -1 : RoundHalfEven(LeadingNumber(t));
  };
  a.vertical = coordinate(v);
  a.horizontal = coordinate(h);
  if (second != std::string_view::npos) a.name = TrimSpaces(rest.substr(second + 1));
  return a;
}

}  // namespace qv::ivac
