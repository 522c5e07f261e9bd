#include "helper/keystrokes.h"

#include <algorithm>
#include <array>

#include "platform/text.h"

namespace qv::helper {

namespace {

struct Named {
  std::string_view name;
  uint8_t vk;
};

constexpr Named kNamedKeys[] = {
    {"BACKSPACE", 8}, {"BS", 8},     {"BKSP", 8},         {"BREAK", 19}, {"CAPSLOCK", 20},
    {"DELETE", 46},   {"DEL", 46},   {"DOWN", 40},        {"END", 35},   {"ENTER", 13},
    {"~", 13},        {"ESC", 27},   {"HELP", 47},        {"HOME", 36},  {"INS", 45},
    {"INSERT", 45},   {"LEFT", 37},  {"NUMLOCK", 144},    {"PGDN", 34},  {"PGUP", 33},
    {"PRTSC", 42},    {"RIGHT", 39}, {"SCROLLLOCK", 145}, {"TAB", 9},    {"UP", 38},
};

uint16_t ModifierBit(char c) {
  switch (c) {
    case '+':
      return kNeedsShift;
    case '~':
      return kNeedsControl;
    case '%':
      return kNeedsAlt;
    default:
      return 0;
  }
}

uint8_t ModifierKey(uint16_t bit) {
  return bit == kNeedsShift ? kVkShift : bit == kNeedsControl ? kVkControl : kVkAlt;
}

std::string At(size_t position) { return DecimalText(static_cast<int64_t>(position)); }

// A repeat count: blanks around digits, 0 up to the cap.
std::optional<int> RepeatCount(std::string_view text) {
  const std::string t = TrimSpaces(text);
  if (t.empty()) return std::nullopt;
  int value = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > kMaxRepeat) return std::nullopt;
  }
  return value;
}

// The parser's state: the events so far and the modifiers its open groups
// hold, innermost last.
class Parser {
 public:
  Parser(std::string_view keys, const Layout& layout) : s_(keys), layout_(layout) {}

  SendKeysResult Run() {
    size_t p = 0;  // 0-based; messages give positions from 1
    while (p < s_.size()) {
      const char c = s_[p];
      if (const uint16_t bit = ModifierBit(c)) {
        if (p + 1 < s_.size() && s_[p + 1] == '(') {
          Hold(bit);
          groups_.push_back(bit);
          p += 2;
        } else {
          Tap(bit);
          p += 1;
        }
      } else if (c == ')') {
        if (groups_.empty())
          return Fail(kErrMalformed,
                      "Invalid sendkeys command: unmatched ) at position " + At(p + 1));
        Unhold(groups_.back());
        groups_.pop_back();
        p += 1;
      } else if (c == '{') {
        if (p + 2 >= s_.size())
          return Fail(kErrMalformed,
                      "Invalid sendkeys command; opening { without content or closing } at "
                      "position " +
                          At(p + 1));
        // The search starts one past the first content character, so "{}}"
        // types a closing brace.
        const size_t close = s_.find('}', p + 2);
        if (close == std::string_view::npos)
          return Fail(
              kErrMalformed,
              "Invalid sendkeys command; opening { without closing } at position " + At(p + 1));
        const std::string_view content = s_.substr(p + 1, close - p - 1);
        p = close + 1;
        std::string_view key = content;
        int count = 1;
        if (const size_t blank = content.find(' '); blank != std::string_view::npos) {
          key = content.substr(0, blank);
          const std::string_view countText = content.substr(blank + 1);
          const std::optional<int> n = RepeatCount(countText);
          if (!n)
            return Fail(kErrMalformed, "Invalid sendkeys command; key repetitions '" +
                                           std::string(countText) + "' is invalid near position " +
                                           At(p + 1));
          count = *n;
        }
        if (!KeyPress(key, count)) return Fail(kErrUnknownKey, UnknownKey(key));
      } else {
        if (!KeyPress(s_.substr(p, 1), 1)) return Fail(kErrUnknownKey, UnknownKey(s_.substr(p, 1)));
        p += 1;
      }
    }
    if (!groups_.empty())
      return Fail(kErrMalformed,
                  "Invalid sendkeys command: more open brackets than close brackets.");
    SendKeysResult r;
    r.events = std::move(events_);
    return r;
  }

 private:
  static std::string UnknownKey(std::string_view key) {
    return "Key " + std::string(key) + " could not be interpreted.";
  }

  static SendKeysResult Fail(int error, std::string description) {
    SendKeysResult r;
    r.error = error;
    r.description = std::move(description);
    return r;
  }

  uint16_t HeldMask() const {
    uint16_t m = 0;
    for (uint16_t bit : groups_) m |= bit;
    return m;
  }

  // Nested groups of one modifier press its key once, at the outermost.
  void Hold(uint16_t bit) {
    if (!(HeldMask() & bit)) events_.push_back({ModifierKey(bit), true});
  }
  void Unhold(uint16_t bit) {
    const size_t n = static_cast<size_t>(std::count(groups_.begin(), groups_.end(), bit));
    if (n == 1) events_.push_back({ModifierKey(bit), false});
  }
  // A modifier alone taps its key; it does not act on what follows. One that
  // a group holds already stays down.
  void Tap(uint16_t bit) {
    if (HeldMask() & bit) return;
    events_.push_back({ModifierKey(bit), true});
    events_.push_back({ModifierKey(bit), false});
  }

  // A named key, or a single character typed with the modifiers it needs.
  // A longer name that is not in the table is refused rather than typed as
  // its first letter.
  bool KeyPress(std::string_view key, int count) {
    if (const std::optional<uint8_t> vk = NamedKey(key)) {
      for (int i = 0; i < count; ++i) {
        events_.push_back({*vk, true});
        events_.push_back({*vk, false});
      }
      return true;
    }
    if (key.size() != 1) return false;
    const auto c = static_cast<unsigned char>(key[0]);
    if (!Typeable(c, layout_)) return false;
    const KeyEvents one = CharKeys(c, layout_, false, false, HeldMask());
    for (int i = 0; i < count; ++i) events_.insert(events_.end(), one.begin(), one.end());
    return true;
  }

  std::string_view s_;
  const Layout& layout_;
  KeyEvents events_;
  std::vector<uint16_t> groups_;
};

}  // namespace

bool IsExtendedKey(uint8_t vk) {
  return (vk >= 33 && vk <= 40) || vk == 42 || vk == 44 || vk == 45 || vk == 46 || vk == 144;
}

std::optional<uint8_t> NamedKey(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (const Named& k : kNamedKeys)
    if (EqualsNoCase(k.name, name)) return k.vk;
  // F1 to F16: 112 to 127.
  if (name.size() >= 2 && name.size() <= 3 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    for (char c : name.substr(1)) {
      if (c < '0' || c > '9') return std::nullopt;
      n = n * 10 + (c - '0');
    }
    if (name[1] != '0' && n >= 1 && n <= 16) return static_cast<uint8_t>(111 + n);
  }
  return std::nullopt;
}

bool Typeable(unsigned char c, const Layout& layout) {
  const auto k = static_cast<uint16_t>(layout(c));
  const uint8_t vk = static_cast<uint8_t>(k & 0xFF);
  // 0xFFFF is the layout's "no key"; its low byte 255 is no key either.
  return k != 0xFFFF && vk != 0 && vk != 0xFF;
}

KeyEvents CharKeys(unsigned char c, const Layout& layout, bool hold, bool release, uint16_t held) {
  KeyEvents out;
  if (!Typeable(c, layout)) return out;
  const auto k = static_cast<uint16_t>(layout(c));
  const auto vk = static_cast<uint8_t>(k & 0xFF);
  constexpr std::array<uint16_t, 3> kOrder{kNeedsShift, kNeedsControl, kNeedsAlt};
  if (!release) {
    for (uint16_t bit : kOrder)
      if ((k & bit) && !(held & bit)) out.push_back({ModifierKey(bit), true});
    out.push_back({vk, true});
  }
  if (!hold) {
    out.push_back({vk, false});
    for (uint16_t bit : kOrder)
      if ((k & bit) && !(held & bit)) out.push_back({ModifierKey(bit), false});
  }
  return out;
}

std::vector<uint8_t> KeysLeftDown(const KeyEvents& events) {
  std::vector<uint8_t> down;
  for (const KeyEvent& e : events) {
    const auto it = std::find(down.begin(), down.end(), e.vk);
    if (e.down && it == down.end()) down.push_back(e.vk);
    if (!e.down && it != down.end()) down.erase(it);
  }
  return down;
}

int16_t UsLayout(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(c | kNeedsShift);
  if (c >= '0' && c <= '9') return static_cast<int16_t>(c);
  struct Punct {
    char c;
    int16_t k;
  };
  static constexpr Punct kPunct[] = {
      {' ', 0x20},  {'\t', 0x09}, {'\r', 0x0D}, {'\n', 0x20D}, {'\b', 0x08}, {'-', 0xBD},
      {'=', 0xBB},  {'[', 0xDB},  {']', 0xDD},  {'\\', 0xDC},  {';', 0xBA},  {'\'', 0xDE},
      {',', 0xBC},  {'.', 0xBE},  {'/', 0xBF},  {'`', 0xC0},   {'!', 0x131}, {'@', 0x132},
      {'#', 0x133}, {'$', 0x134}, {'%', 0x135}, {'^', 0x136},  {'&', 0x137}, {'*', 0x138},
      {'(', 0x139}, {')', 0x130}, {'_', 0x1BD}, {'+', 0x1BB},  {'{', 0x1DB}, {'}', 0x1DD},
      {'|', 0x1DC}, {':', 0x1BA}, {'"', 0x1DE}, {'<', 0x1BC},  {'>', 0x1BE}, {'?', 0x1BF},
      {'~', 0x1C0},
  };
  for (const Punct& p : kPunct)
    if (static_cast<unsigned char>(p.c) == c) return p.k;
  return -1;
}

SendKeysResult ParseSendKeys(std::string_view keys, const Layout& layout) {
  return Parser(keys, layout).Run();
}

}  // namespace qv::helper
