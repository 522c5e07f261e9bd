#include "helper/win32/keyboard.h"

#include "platform/win32/ui.h"

namespace qv::helper {

void SystemKeys::Key(uint8_t vk, bool down) {
  const auto scan = static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) & 0xFF);
  DWORD flags = down ? 0 : KEYEVENTF_KEYUP;
  if (IsExtendedKey(vk)) flags |= KEYEVENTF_EXTENDEDKEY;
  keybd_event(vk, scan, flags, 0);
}

int16_t SystemLayout(unsigned char c) { return VkKeyScanA(static_cast<CHAR>(c)); }

ClsKeyboard::ClsKeyboard(KeySender* sender) : sender_(sender ? *sender : system_) {}

bool ClsKeyboard::PressKey(char c, bool hold, bool release) {
  const auto u = static_cast<unsigned char>(c);
  if (!Typeable(u, SystemLayout)) return false;
  Play(CharKeys(u, SystemLayout, hold, release), sender_, mayType, hold);
  return true;
}

TypeResult ClsKeyboard::PressString(std::string_view text, bool doEvents) {
  std::function<void()> pause;
  if (doEvents) {
    pause = [] {
      Sleep(10);
      win::DoEvents();
    };
  }
  return TypeText(text, SystemLayout, sender_, mayType, pause);
}

void ClsKeyboard::PressKeyVK(uint8_t vk, bool hold, bool release) {
  if (!release) {
    if (mayType && !mayType()) return;
    sender_.Key(vk, true);
  }
  if (!hold) sender_.Key(vk, false);
}

void ClsKeyboard::GetLockStatus(bool& capsLock, bool& numLock, bool& scrollLock) const {
  capsLock = GetKeyState(VK_CAPITAL) != 0;
  numLock = GetKeyState(VK_NUMLOCK) != 0;
  scrollLock = GetKeyState(VK_SCROLL) != 0;
}

CSendKeys::CSendKeys(KeySender* sender) : sender_(sender ? *sender : system_) {}

namespace {

std::string ProgramName() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name(path, n < sizeof path ? n : 0);
  if (const size_t slash = name.find_last_of("\\/"); slash != std::string::npos)
    name.erase(0, slash + 1);
  if (const size_t dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace

bool CSendKeys::SendKeys(std::string_view keys, SendKeysError* error) {
  const SendKeysResult parsed = ParseSendKeys(keys, SystemLayout);
  SendKeysError e;
  if (!parsed.ok()) {
    e = {parsed.error, parsed.description, ProgramName() + ".cSendKeys"};
  } else if (!Play(parsed.events, sender_, mayType)) {
    e = {kErrStopped, "typing stopped: the target window lost the keyboard",
         ProgramName() + ".cSendKeys"};
  } else {
    return true;
  }
  if (error) *error = std::move(e);
  return false;
}

}  // namespace qv::helper
