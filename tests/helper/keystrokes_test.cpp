#include "helper/keystrokes.h"

#include <gtest/gtest.h>

namespace qv::helper {
namespace {

// "+Shift +A -A -Shift": key down with "+", up with "-"; letters and digits
// by their character, the modifiers by name, other keys by number.
std::string Show(const KeyEvents& events) {
  std::string out;
  for (const KeyEvent& e : events) {
    if (!out.empty()) out += ' ';
    out += e.down ? '+' : '-';
    if (e.vk == kVkShift)
      out += "Shift";
    else if (e.vk == kVkControl)
      out += "Ctrl";
    else if (e.vk == kVkAlt)
      out += "Alt";
    else if ((e.vk >= 'A' && e.vk <= 'Z') || (e.vk >= '0' && e.vk <= '9'))
      out += static_cast<char>(e.vk);
    else
      out += std::to_string(e.vk);
  }
  return out;
}

TEST(ParseSendKeys, AcceptedStringsAndNamedKeysGiveTheirKeysAndLeaveNothingDown) {
  struct Case {
    std::string_view keys;
    std::string_view want;
  } cases[] = {
      {"", ""},
      {"ab", "+A -A +B -B"},
      // Characters are typed as characters: upper case with Shift.
      {"aB", "+A -A +Shift +B -B -Shift"},
      {"%(t)", "+Alt +T -T -Alt"},
      {"%(T)", "+Alt +Shift +T -T -Shift -Alt"},
      {"~(v)", "+Ctrl +V -V -Ctrl"},
      // A modifier alone is tapped and does not act on the next character.
      {"+a", "+Shift -Shift +A -A"},
      {"+(a)", "+Shift +A -A -Shift"},
      {"~", "+Ctrl -Ctrl"},
      {"a+", "+A -A +Shift -Shift"},
      // A held modifier is not pressed again, nor let go, by a character
      // that needs it or by a tap inside the group.
      {"+(AB)", "+Shift +A -A +B -B -Shift"},
      {"+(+a)", "+Shift +A -A -Shift"},
      {"%(+a)", "+Alt +Shift -Shift +A -A -Alt"},
      // Nested groups of one modifier hold it until the outer group closes.
      {"+(+(a)b)", "+Shift +A -A +B -B -Shift"},
      {"+(a)%(b)", "+Shift +A -A -Shift +Alt +B -B -Alt"},
      {"~(%(x))", "+Ctrl +Alt +X -X -Alt -Ctrl"},
      // A "(" right after a group's "(" is an ordinary character.
      {"+((a)", "+Shift +9 -9 +A -A -Shift"},
      {"(", "+Shift +9 -9 -Shift"},
      // Braces: named keys in any case, repeat counts, single characters.
      {"{tab 3}", "+9 -9 +9 -9 +9 -9"},
      {"{Tab}", "+9 -9"},
      {"{TAB  2}", "+9 -9 +9 -9"},
      {"{TAB 0}", ""},
      {"{ENTER}", "+13 -13"},
      {"{~}", "+13 -13"},
      {"{PRTSC}", "+42 -42"},
      {"{bksp 2}", "+8 -8 +8 -8"},
      {"{F1}{f16}", "+112 -112 +127 -127"},
      {"{a 3}", "+A -A +A -A +A -A"},
      {"{}}", "+Shift +221 -221 -Shift"},
      {"{{}", "+Shift +219 -219 -Shift"},
      {"{+}{%}{(}{)}",
       "+Shift +187 -187 -Shift +Shift +5 -5 -Shift +Shift +9 -9 -Shift "
       "+Shift +0 -0 -Shift"},
      {"x{}}y", "+X -X +Shift +221 -221 -Shift +Y -Y"},
      {"+({END})", "+Shift +35 -35 -Shift"},
  };
  for (const Case& c : cases) {
    const SendKeysResult r = ParseSendKeys(c.keys, UsLayout);
    ASSERT_TRUE(r.ok()) << c.keys << ": " << r.description;
    EXPECT_EQ(Show(r.events), c.want) << c.keys;
  }
  EXPECT_EQ(ParseSendKeys("{TAB 99}", UsLayout).events.size(), 198u);
  // KeysLeftDown reports what a list leaves pressed.
  EXPECT_EQ(KeysLeftDown({{16, true}, {65, true}, {65, false}}), std::vector<uint8_t>{16});
  EXPECT_TRUE(KeysLeftDown({{16, true}, {16, true}, {16, false}}).empty());
  EXPECT_TRUE(KeysLeftDown({{16, false}}).empty());
  // The named keys (TAB, ENTER, "~", PRTSC, bksp, END, F1 and f16 are typed
  // in braces above).
  const struct {
    std::string_view name;
    int vk;  // -1: not a named key
  } named[] = {
      {"BACKSPACE", 8}, {"BS", 8},      {"BREAK", 19},       {"CapsLock", 20}, {"DELETE", 46},
      {"DEL", 46},      {"DOWN", 40},   {"ESC", 27},         {"HELP", 47},     {"HOME", 36},
      {"INS", 45},      {"INSERT", 45}, {"LEFT", 37},        {"NUMLOCK", 144}, {"PGDN", 34},
      {"PGUP", 33},     {"RIGHT", 39},  {"SCROLLLOCK", 145}, {"up", 38},       {"F9", 120},
      {"F10", 121},     {"F17", -1},    {"F", -1},           {"F1a", -1},      {"F01", -1},
      {"", -1},         {"ENTERX", -1}, {"+", -1},           {"a", -1},
  };
  for (const auto& c : named) {
    const std::optional<uint8_t> vk = NamedKey(c.name);
    EXPECT_EQ(vk ? int{*vk} : -1, c.vk) << c.name;
  }
}

TEST(ParseSendKeys, RefusedStringsTypeNothingAndSayWhy) {
  const std::string bad = "Invalid sendkeys command";
  auto unmatched = [&](int at) { return bad + ": unmatched ) at position " + std::to_string(at); };
  auto empty = [&](int at) {
    return bad + "; opening { without content or closing } at position " + std::to_string(at);
  };
  auto open = [&](int at) {
    return bad + "; opening { without closing } at position " + std::to_string(at);
  };
  auto count = [&](const char* n, int at) {
    return bad + "; key repetitions '" + n + "' is invalid near position " + std::to_string(at);
  };
  const std::string brackets = bad + ": more open brackets than close brackets.";
  struct Case {
    std::string_view keys;
    int error;
    std::string text;
  } cases[] = {
      {")", kErrMalformed, unmatched(1)},
      {"+(a))", kErrMalformed, unmatched(5)},
      {"{", kErrMalformed, empty(1)},
      {"a{}", kErrMalformed, empty(2)},
      {"{a", kErrMalformed, empty(1)},
      {"{ENTER", kErrMalformed, open(1)},
      {"x{ab", kErrMalformed, open(2)},
      {"ab{TAB x}", kErrMalformed, count("x", 10)},
      {"{TAB }", kErrMalformed, count("", 7)},
      {"{TAB -1}", kErrMalformed, count("-1", 9)},
      {"{TAB 3.5}", kErrMalformed, count("3.5", 10)},
      // Above the cap: a typo cannot type for minutes.
      {"{TAB 100}", kErrMalformed, count("100", 10)},
      {"{TAB 99999999999999999999}", kErrMalformed, count("99999999999999999999", 27)},
      {"%(a", kErrMalformed, brackets},
      {"+(~(a)", kErrMalformed, brackets},
      // A name not in the table is refused, not typed as its first letter.
      {"{ENTR}", kErrUnknownKey, "Key ENTR could not be interpreted."},
      {"{F17}", kErrUnknownKey, "Key F17 could not be interpreted."},
      {"{F0}", kErrUnknownKey, "Key F0 could not be interpreted."},
      {"{ 3}", kErrUnknownKey, "Key  could not be interpreted."},
      // A character without a key on the layout is never sent as key 255.
      {"a\xE9", kErrUnknownKey, "Key \xE9 could not be interpreted."},
      {"{\x01}", kErrUnknownKey, "Key \x01 could not be interpreted."},
  };
  for (const Case& c : cases) {
    const SendKeysResult r = ParseSendKeys(c.keys, UsLayout);
    EXPECT_EQ(r.error, c.error) << c.keys;
    EXPECT_EQ(r.description, c.text) << c.keys;
    EXPECT_TRUE(r.events.empty()) << c.keys;
  }
}

// A layout with a character that needs Control and Alt (as AltGr keys do)
// and one whose answer has no key.
int16_t TestLayout(unsigned char c) {
  if (c == '@') return 0x651;  // Control+Alt+Q
  if (c == '|') return 0x7DC;  // Shift+Control+Alt
  if (c == 0xE9) return -1;
  return UsLayout(c);
}

TEST(CharKeys, ModifiersTheLayoutNeedsHoldAndRelease) {
  struct Case {
    unsigned char c;
    bool hold, release;
    uint16_t held;
    std::string_view want;
  } cases[] = {
      {'a', false, false, 0, "+A -A"},
      {'A', false, false, 0, "+Shift +A -A -Shift"},
      {'@', false, false, 0, "+Ctrl +Alt +Q -Q -Ctrl -Alt"},
      {'|', false, false, 0, "+Shift +Ctrl +Alt +220 -220 -Shift -Ctrl -Alt"},
      {'|', false, false, kNeedsControl, "+Shift +Alt +220 -220 -Shift -Alt"},
      {'A', true, false, 0, "+Shift +A"},
      {'A', false, true, 0, "-A -Shift"},
      {'A', true, true, 0, ""},
      {'\r', false, false, 0, "+13 -13"},
      {0xE9, false, false, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Show(CharKeys(c.c, TestLayout, c.hold, c.release, c.held)), c.want)
        << int{c.c} << " hold " << c.hold << " release " << c.release;
  }
  EXPECT_FALSE(Typeable(0xE9, TestLayout));
  // VkKeyScan's "no key" has a low byte of 255 and every modifier bit set.
  EXPECT_FALSE(Typeable('x', [](unsigned char) { return int16_t{0x7FF}; }));
  EXPECT_FALSE(Typeable('x', [](unsigned char) { return int16_t{0}; }));
}

}  // namespace
}  // namespace qv::helper
