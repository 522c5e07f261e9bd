#include "helper/player.h"

#include <algorithm>
#include <vector>

namespace qv::helper {

namespace {

// The keys a play has pressed and not yet released; whatever is left is
// released when the play ends, however it ends.
class HeldKeys {
 public:
  explicit HeldKeys(KeySender& sender) : sender_(sender) {}
  ~HeldKeys() { ReleaseAll(); }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

  void Send(const KeyEvent& e) {
    const auto it = std::find(down_.begin(), down_.end(), e.vk);
    if (e.down) {
      sender_.Key(e.vk, true);
      if (it == down_.end()) down_.push_back(e.vk);
    } else {
      // Forgotten first: a sender that throws on a release is not asked
      // again for the same key.
      if (it != down_.end()) down_.erase(it);
      sender_.Key(e.vk, false);
    }
  }

  // What is down stays down: the caller holds it on purpose.
  void Keep() { down_.clear(); }

  void ReleaseAll() noexcept {
    while (!down_.empty()) {
      const uint8_t vk = down_.back();
      down_.pop_back();
      try {
        sender_.Key(vk, false);
      } catch (...) {
        // The other keys are released all the same.
      }
    }
  }

 private:
  KeySender& sender_;
  std::vector<uint8_t> down_;
};

bool PlayHeld(const KeyEvents& events, HeldKeys& held, const MayType& mayType) {
  for (const KeyEvent& e : events) {
    if (e.down && mayType && !mayType()) {
      held.ReleaseAll();
      return false;
    }
    held.Send(e);
  }
  return true;
}

}  // namespace

bool Play(const KeyEvents& events, KeySender& sender, const MayType& mayType, bool keepHeld) {
  HeldKeys held(sender);
  const bool finished = PlayHeld(events, held, mayType);
  if (finished && keepHeld) held.Keep();
  return finished;
}

std::string TypeResult::Note() const {
  if (skipped.empty()) return {};
  return "not typed, no key on this keyboard layout: " + skipped;
}

TypeResult TypeText(std::string_view text, const Layout& layout, KeySender& sender,
                    const MayType& mayType, const std::function<void()>& afterChar) {
  TypeResult r;
  HeldKeys held(sender);
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!Typeable(c, layout)) {
      r.skipped += ch;
      continue;
    }
    if (!PlayHeld(CharKeys(c, layout), held, mayType)) {
      r.stopped = true;
      return r;
    }
    ++r.typed;
    if (afterChar) afterChar();
  }
  return r;
}

}  // namespace qv::helper
