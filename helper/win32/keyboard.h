// clsKeyboard and cSendKeys: typing with the system's keyboard input. Both
// send to whatever window has the keyboard focus; neither chooses a target.
// What to press is decided by helper/keystrokes.h and helper/player.h; this
// is the edge that asks the layout (VkKeyScanA) and sends (keybd_event).
// Win32 only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "helper/keystrokes.h"
#include "helper/player.h"

namespace qv::helper {

// keybd_event with the key's scan code; the extended flag only for the keys
// of the extended block.
class SystemKeys : public KeySender {
 public:
  void Key(uint8_t vk, bool down) override;
};

// The layout of this thread's keyboard, as VkKeyScanA answers.
int16_t SystemLayout(unsigned char c);

class ClsKeyboard {
 public:
  // `sender` (nullptr: the system's) receives the key events.
  explicit ClsKeyboard(KeySender* sender = nullptr);

  // Typing stops (after releasing what it pressed) as soon as this says no;
  // unset: always yes.
  MayType mayType;

  // One character with the modifiers it needs: `hold` leaves the keys down,
  // `release` only releases them. False when the layout has no key for it.
  bool PressKey(char c, bool hold = false, bool release = false);
  // Every character in turn; with `doEvents`, 10 ms and the pending window
  // messages after each one.
  TypeResult PressString(std::string_view text, bool doEvents = false);
  // One virtual key. The extended flag goes with the key (only keys of the
  // extended block carry it), so no caller has to choose it.
  void PressKeyVK(uint8_t vk, bool hold = false, bool release = false);
  // Each true when toggled on or held down.
  void GetLockStatus(bool& capsLock, bool& numLock, bool& scrollLock) const;

 private:
  KeySender& sender_;
  SystemKeys system_;
};

// A refused keystroke string: the error number, its text and the source,
// the program's name followed by ".cSendKeys".
struct SendKeysError {
  int number = 0;
  std::string description;
  std::string source;
};

class CSendKeys {
 public:
  explicit CSendKeys(KeySender* sender = nullptr);
  MayType mayType;
  // Plays the string; false with `error` filled when the string is refused
  // (then nothing is typed) or when typing was stopped.
  bool SendKeys(std::string_view keys, SendKeysError* error = nullptr);

 private:
  KeySender& sender_;
  SystemKeys system_;
};

}  // namespace qv::helper
