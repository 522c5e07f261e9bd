// Keystroke strings and typed characters, decided without touching the
// system. A keystroke string ("%(T)", "{TAB 3}", "+(ab)x") and a single
// character to type both become a list of key events, which the Win32
// player (helper/win32/keyboard.h) sends as they are. Deciding first and
// sending afterwards means a malformed string types nothing at all, and every
// list that comes out of here releases every key it presses, so a player that
// sends a whole list can never leave Shift, Control or Alt down.
//
// The keyboard layout is asked through a Layout function that answers like
// VkKeyScanA: low byte the virtual key, 0x100 Shift, 0x200 Control, 0x400
// Alt; -1 (0xFFFF) when the layout has no key for the character. Host tests
// pass a fixed layout, the player passes the system's.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::helper {

inline constexpr uint8_t kVkShift = 16;
inline constexpr uint8_t kVkControl = 17;
inline constexpr uint8_t kVkAlt = 18;
inline constexpr uint8_t kVkReturn = 13;

// The modifier bits of a layout answer.
inline constexpr uint16_t kNeedsShift = 0x100;
inline constexpr uint16_t kNeedsControl = 0x200;
inline constexpr uint16_t kNeedsAlt = 0x400;

using Layout = std::function<int16_t(unsigned char)>;

struct KeyEvent {
  uint8_t vk = 0;
  bool down = false;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

using KeyEvents = std::vector<KeyEvent>;

// The keys that sit in the extended block of the keyboard (arrows, the
// Insert/Home/Page group, Num Lock, the print key): sent with the extended
// flag, every other key without it.
bool IsExtendedKey(uint8_t vk);

// The named keys of keystroke strings ("ENTER", "TAB", "F1".."F16"...), in
// any letter case; nullopt for a name that is not in the table.
std::optional<uint8_t> NamedKey(std::string_view name);

// The largest repeat count a brace accepts: a typo cannot type for minutes.
inline constexpr int kMaxRepeat = 99;

// Error numbers of a refused keystroke string.
inline constexpr int kErrMalformed = 5;   // the string's own structure
inline constexpr int kErrUnknownKey = 9;  // a key the layout cannot type
inline constexpr int kErrStopped = 20;    // the player was told to stop

struct SendKeysResult {
  KeyEvents events;  // empty when refused
  int error = 0;     // 0: accepted
  std::string description;
  bool ok() const { return error == 0; }
};

// Parses a keystroke string:
//   "+", "~", "%"      Shift, Control, Alt; before "(" they are held over the
//                      group up to its ")", otherwise tapped alone
//   "{NAME}"           a named key or a single character, "{NAME n}" n times
//                      (0..99); "{}}" types "}", "{{}" types "{", "{+}" "+"
//   any other char     typed with the modifiers the layout needs for it
// A refused string yields no events and the error text.
SendKeysResult ParseSendKeys(std::string_view keys, const Layout& layout);

// The events that type one character with the modifiers the layout needs
// for it. `hold` leaves the keys down (no releases), `release` only releases
// them. Modifiers in `held` are down already and are neither pressed nor
// released. An empty list when the layout cannot type the character.
KeyEvents CharKeys(unsigned char c, const Layout& layout, bool hold = false, bool release = false,
                   uint16_t held = 0);

// Whether the layout can type the character: it has a key for it.
bool Typeable(unsigned char c, const Layout& layout);

// The keys that a list leaves down at its end, in the order pressed.
std::vector<uint8_t> KeysLeftDown(const KeyEvents& events);

// A fixed United States layout, for tests and for the fuzz target: letters,
// digits, the printable ASCII punctuation, Tab, CR and blank; everything else
// has no key.
int16_t UsLayout(unsigned char c);

}  // namespace qv::helper
