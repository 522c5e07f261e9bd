// The keystroke player's decisions: in which order key events go out, when
// typing must stop, and what is released when it stops. The Win32 edge
// (helper/win32/keyboard.h) only supplies the KeySender that turns one event
// into system input and the question whether typing may go on.
//
// Two promises hold on every path out of Play and TypeText, including a
// sender that throws: every key they pressed is released, last pressed first,
// and no key is pressed after `mayType` said no. `mayType` is asked before
// each key press (never before a release), so a target that loses the
// foreground in the middle of a line receives nothing more than releases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "helper/keystrokes.h"

namespace qv::helper {

class KeySender {
 public:
  virtual ~KeySender() = default;
  virtual void Key(uint8_t vk, bool down) = 0;
};

using MayType = std::function<bool()>;

// Sends the events in order. False when `mayType` stopped it (the keys then
// down have been released). A list that presses keys without releasing them
// (a held character) leaves them down only with `keepHeld`, and only when it
// was played to its end.
bool Play(const KeyEvents& events, KeySender& sender, const MayType& mayType = {},
          bool keepHeld = false);

struct TypeResult {
  size_t typed = 0;      // characters typed
  std::string skipped;   // characters the layout has no key for, in order
  bool stopped = false;  // `mayType` said no before the end
  // "" when nothing was skipped, else a line naming the skipped characters.
  std::string Note() const;
};

// Types each character with the modifiers it needs; a character the layout
// has no key for is skipped and noted, never sent as some other key.
// `afterChar` runs after every typed character (the slow compatible typing).
TypeResult TypeText(std::string_view text, const Layout& layout, KeySender& sender,
                    const MayType& mayType = {}, const std::function<void()>& afterChar = {});

}  // namespace qv::helper
