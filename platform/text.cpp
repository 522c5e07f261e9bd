#include "platform/text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

double LeadingNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (IsBlank(s[i]) || s[i] == '\r' || s[i] == '\n')) ++i;

  if (i + 1 < s.size() && s[i] == '&' && (s[i + 1] == 'H' || s[i + 1] == 'h')) {
    // Hexadecimal: up to eight digits form a 32-bit two's-complement value;
    // longer runs keep their last eight digits' worth of overflow out by
    // saturating instead.
    uint64_t v = 0;
    size_t digits = 0;
    for (i += 2; i < s.size() && HexDigit(s[i]) >= 0; ++i, ++digits) {
      if (v <= 0xFFFFFFFFull) v = (v << 4) | static_cast<uint64_t>(HexDigit(s[i]));
    }
    if (digits == 0) return 0;
    if (v > 0xFFFFFFFFull) return std::numeric_limits<int32_t>::max();
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
  }

  // The decimal prefix is converted in one go, exactly (std::from_chars is
  // locale-independent): summing digit by digit would make 12.5 a hair more
  // than a half and break the halves-to-even rounding.
  const size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const size_t digitsStart = i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  double value = 0;
  const char* first = s.data() + digitsStart;
  const char* last = s.data() + i;
  const auto r = std::from_chars(first, last, value);
  if (r.ec == std::errc::result_out_of_range) {
    // Out of range either way: a whole part of zeros means too small (0),
    // anything else too large.
    const char* p = first;
    while (p < last && *p == '0') ++p;
    value = (p == last || *p == '.') ? 0.0 : std::numeric_limits<double>::max();
  }
  if (std::isinf(value)) value = std::numeric_limits<double>::max();
  return s[start] == '-' ? -value : value;
}

int32_t RoundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  const double fl = std::floor(v);
  const double diff = v - fl;
  double r;
  if (diff > 0.5)
    r = fl + 1;
  else if (diff < 0.5)
    r = fl;
  else
    r = std::fmod(fl, 2.0) == 0 ? fl : fl + 1;
  return static_cast<int32_t>(r);
}

int32_t LeadingInt(std::string_view text) { return RoundHalfEven(LeadingNumber(text)); }

int32_t FloorInt(double v) {
  if (std::isnan(v)) return 0;
  return RoundHalfEven(std::floor(v));
}

std::string TrimLeftSpaces(std::string_view t) {
  size_t b = 0;
  while (b < t.size() && t[b] == ' ') ++b;
  return std::string(t.substr(b));
}

std::string TrimRightSpaces(std::string_view t) {
  size_t e = t.size();
  while (e > 0 && t[e - 1] == ' ') --e;
  return std::string(t.substr(0, e));
}

std::string TrimSpaces(std::string_view t) {
  size_t b = 0, e = t.size();
  while (b < e && t[b] == ' ') ++b;
  while (e > b && t[e - 1] == ' ') --e;
  return std::string(t.substr(b, e - b));
}

std::string TrimBlanks(std::string_view t) {
  size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  return std::string(t.substr(b, e - b));
}

std::string TrimRightBlanks(std::string_view t) {
  size_t e = t.size();
  while (e > 0 && IsBlank(t[e - 1])) --e;
  return std::string(t.substr(0, e));
}

std::string ToUpper(std::string_view t) {
  std::string r(t);
  for (char& c : r) c = Upper(c);
  return r;
}

std::string ToLower(std::string_view t) {
  std::string r(t);
  for (char& c : r) c = Lower(c);
  return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  std::string r;
  r.reserve(text.size());
  size_t pos = 0;
  for (;;) {
    const size_t hit = text.find(what, pos);
    if (hit == std::string_view::npos) break;
    r.append(text.substr(pos, hit - pos));
    r.append(with);
    pos = hit + what.size();
  }
  r.append(text.substr(pos));
  return r;
}

std::string DecimalText(int64_t value) { return std::to_string(value); }

std::string Format13(int64_t value) {
  const bool negative = value < 0;
  const uint64_t magnitude =
      negative ? static_cast<uint64_t>(-(value + 1)) + 1 : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  if (digits.size() < 13) digits.insert(0, 13 - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

namespace {

// One "[...]" class starting at p[0] == '['. Sets `end` past the "]".
// Returns false when the class is malformed (no closing bracket).
bool MatchClass(std::string_view p, size_t& end, char c, bool& matched) {
  size_t i = 1;
  bool negate = false;
  if (i < p.size() && p[i] == '!') {
    negate = true;
    ++i;
  }
  bool hit = false;
  for (; i < p.size(); ++i) {
    if (p[i] == ']') {
      end = i + 1;
      matched = hit != negate;
      return true;
    }
    if (i + 2 < p.size() && p[i + 1] == '-' && p[i + 2] != ']') {
      const unsigned char lo = static_cast<unsigned char>(p[i]);
      const unsigned char hi = static_cast<unsigned char>(p[i + 2]);
      const unsigned char uc = static_cast<unsigned char>(c);
      if (lo <= hi ? (uc >= lo && uc <= hi) : (uc >= hi && uc <= lo)) hit = true;
      i += 2;
    } else if (p[i] == c) {
      hit = true;
    }
  }
  return false;
}

bool WellFormed(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '[') continue;
    const size_t close = pattern.find(']', i + 1);
    if (close == std::string_view::npos) return false;
    i = close;
  }
  return true;
}

}  // namespace

bool Like(std::string_view text, std::string_view pattern) {
  if (!WellFormed(pattern)) return false;
  // Iterative match with one backtrack point for the last "*": linear in
  // practice, no recursion however many stars a caption pattern holds.
  size_t t = 0, p = 0;
  size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size()) {
      const char pc = pattern[p];
      if (pc == '*') {
        starP = ++p;
        starT = t;
        continue;
      }
      bool ok = false;
      size_t next = p + 1;
      if (pc == '?') {
        ok = true;
      } else if (pc == '#') {
        ok = IsDigit(text[t]);
      } else if (pc == '[') {
        bool matched = false;
        if (!MatchClass(pattern.substr(p), next, text[t], matched)) return false;
        next += p;
        ok = matched;
      } else {
        ok = pc == text[t];
      }
      if (ok) {
        p = next;
        ++t;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP;
    t = ++starT;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace qv
