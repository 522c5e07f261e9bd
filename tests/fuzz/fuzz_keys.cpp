// Fuzzes the keystroke-string parser: the first byte chooses the keyboard
// layout (the fixed one, or one where characters need Control and Alt as
// AltGr keys do, or one without letters), the rest is the string. A string is
// either refused with an error text and no keys, or accepted with a list that
// releases every key it presses, in the order a keyboard can.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "helper/keystrokes.h"

namespace {

using namespace qv::helper;

int16_t AltGrLayout(unsigned char c) {
  if (c == '@' || c == '\\' || c == '{' || c == '}') return static_cast<int16_t>(0x600 | c);
  if (c >= 0x80 && c < 0xC0) return static_cast<int16_t>(0x700 | (c - 0x40));
  return UsLayout(c);
}

int16_t NoLetters(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return -1;
  return UsLayout(c);
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Layout layouts[] = {UsLayout, AltGrLayout, NoLetters};
  const Layout& layout = layouts[data[0] % 3];
  const std::string_view keys(reinterpret_cast<const char*>(data + 1), size - 1);

  const SendKeysResult r = ParseSendKeys(keys, layout);
  if (!r.ok()) {
    Check(r.events.empty() && !r.description.empty());
    Check(r.error == kErrMalformed || r.error == kErrUnknownKey);
    return 0;
  }
  Check(r.description.empty());
  // Every key up follows its own key down; nothing stays down at the end.
  int down[256] = {};
  for (const KeyEvent& e : r.events) {
    if (e.down) {
      Check(down[e.vk] == 0);  // a held key is never pressed again
      down[e.vk] = 1;
    } else {
      Check(down[e.vk] == 1);
      down[e.vk] = 0;
    }
  }
  Check(KeysLeftDown(r.events).empty());
  // No more than a character's worth of keys per input byte, times the cap.
  Check(r.events.size() <= (size + 1) * 8 * static_cast<size_t>(kMaxRepeat));
  return 0;
}
