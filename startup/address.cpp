#include "startup/address.h"

#include <vector>

#include "platform/text.h"

namespace qv {

namespace {

std::vector<std::string_view> Split(std::string_view text, char sep) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t cut = text.find(sep, start);
    if (cut == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, cut - start));
    start = cut + 1;
  }
}

// A part converts to a byte when, blanks aside, it is an optional "+" and
// decimal digits worth 0 to 255.
bool IsByte(std::string_view part) {
  const std::string p = TrimSpaces(part);
  size_t i = 0;
  if (i < p.size() && p[i] == '+') ++i;
  if (i == p.size()) return false;
  int value = 0;
  for (; i < p.size(); ++i) {
    if (p[i] < '0' || p[i] > '9') return false;
    value = value * 10 + (p[i] - '0');
    if (value > 255) return false;
  }
  return true;
}

bool IsHexGroup(std::string_view g) {
  if (g.empty() || g.size() > 4) return false;
  for (char c : g)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

std::string Pad4(std::string_view g) { return std::string(4 - g.size(), '0') + std::string(g); }

}  // namespace

bool IsIPv4Address(std::string_view text) {
  const auto parts = Split(text, '.');
  if (parts.size() != 4) return false;
  for (auto p : parts)
    if (!IsByte(p)) return false;
  return true;
}

std::optional<std::string> NormaliseIPv6(std::string_view text) {
  const std::string t = TrimSpaces(ToLower(text));
  std::vector<std::string_view> groups(8, std::string_view("0"));
  const size_t gap = t.find("::");
  if (gap != std::string::npos) {
    if (t.find("::", gap + 1) != std::string::npos) return std::nullopt;
    const std::string_view all(t);
    const std::string_view left = all.substr(0, gap);
    const std::string_view right = all.substr(gap + 2);
    const auto l = left.empty() ? std::vector<std::string_view>{} : Split(left, ':');
    const auto r = right.empty() ? std::vector<std::string_view>{} : Split(right, ':');
    // "::" stands for at least one group of zeros.
    if (l.size() + r.size() > 7) return std::nullopt;
    for (size_t i = 0; i < l.size(); ++i) groups[i] = l[i];
    for (size_t i = 0; i < r.size(); ++i) groups[8 - r.size() + i] = r[i];
  } else {
    const auto g = Split(t, ':');
    if (g.size() != 8) return std::nullopt;
    groups = g;
  }
  std::string out;
  for (size_t i = 0; i < groups.size(); ++i) {
    if (!IsHexGroup(groups[i])) return std::nullopt;
    if (i) out += ':';
    out += Pad4(groups[i]);
  }
  return out;
}

bool IsValidAddress(std::string_view text) {
  return IsIPv4Address(text) || NormaliseIPv6(text).has_value();
}

}  // namespace qv
