// The keyboard edge under Wine: real key events typed into an edit control
// of this test's own window, which holds the foreground and the focus. After
// every case no modifier may be down, whatever path typing left by.
#include "helper/win32/keyboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ivac/win32_search.h"
#include "platform/win32/ui.h"

namespace qv::helper {
namespace {

// Wine does not show injected modifiers in GetKeyState dependably, so what
// went out is watched where it goes out: a low-level keyboard hook records
// every key event, left and right modifiers counted as one.
std::vector<std::pair<int, bool>> g_sent;

LRESULT CALLBACK WatchKeys(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    int vk = static_cast<int>(reinterpret_cast<KBDLLHOOKSTRUCT*>(lp)->vkCode);
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) vk = VK_SHIFT;
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) vk = VK_CONTROL;
    if (vk == VK_LMENU || vk == VK_RMENU) vk = VK_MENU;
    g_sent.emplace_back(vk, wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

// The modifiers the recorded events leave down.
std::string ModifiersDown() {
  std::string out;
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
    bool down = false;
    for (const auto& [key, isDown] : g_sent)
      if (key == vk) down = isDown;
    if (down) out += std::to_string(vk) + " ";
  }
  return out;
}

class TypingTarget : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvKeyboardTarget";
    RegisterClassA(&wc);
    frame_ =
        CreateWindowExA(0, "QvKeyboardTarget", "Typing target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        50, 50, 400, 200, nullptr, nullptr, wc.hInstance, nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 0,
                            0, 380, 150, frame_, nullptr, wc.hInstance, nullptr);
    g_sent.clear();
    hook_ = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeys, GetModuleHandleA(nullptr), 0);
    ASSERT_NE(hook_, nullptr);
    ASSERT_TRUE(ivac::BringToForeground(frame_));
    SetFocus(edit_);
    Pump();
  }
  void TearDown() override {
    Pump();
    EXPECT_EQ(ModifiersDown(), "") << "modifiers left down";
    UnhookWindowsHookEx(hook_);
    DestroyWindow(frame_);
    Pump(20);
  }

  // Lets the typed keys arrive.
  static void Pump(DWORD ms = 150) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
      win::DoEvents();
      Sleep(5);
    }
  }
  std::string Text() {
    Pump();
    return win::GetText(edit_);
  }
  void Clear() {
    SetWindowTextA(edit_, "");
    Pump(20);
  }

  HWND frame_ = nullptr;
  HWND edit_ = nullptr;
  HHOOK hook_ = nullptr;
};

TEST_F(TypingTarget, PressStringTypesEveryScriptCharacterWithItsShiftState) {
  // Every character the helper's command words and tags need has a key;
  // others (Wine's layout for the rig's display lacks the parentheses) are
  // skipped and reported, and the rest of the text still arrives.
  for (char c : std::string("ABCZ_az09 []<>,.+-:;"))
    EXPECT_NE(VkKeyScanA(c), -1) << "no key for " << c;
  // A character without a key is skipped, not sent as another key.
  char missing = 0;
  for (int c = 0xFF; c >= 0x80 && !missing; --c)
    if (VkKeyScanA(static_cast<CHAR>(c)) == -1) missing = static_cast<char>(c);
  ASSERT_NE(missing, 0) << "the layout types every character";
  const std::string texts[] = {
      "Hello, World!",         "PRESS [L+]",
      "CLEARED_TO_FL <none>",  "~`!@#$%^&*()_+-={}|[]\\:\";'<>?,./",
      "MOVE_IVAC 0,0,600,800", std::string("a") + missing + "b",
  };
  ClsKeyboard keyboard;
  for (const std::string& text : texts) {
    std::string typeable, skipped;
    for (char c : text) (VkKeyScanA(c) == -1 ? skipped : typeable) += c;
    Clear();
    const TypeResult r = keyboard.PressString(text);
    EXPECT_EQ(Text(), typeable);
    EXPECT_EQ(r.typed, typeable.size());
    EXPECT_EQ(r.skipped, skipped);
  }
  EXPECT_FALSE(keyboard.PressKey(missing));
}

TEST_F(TypingTarget, PressKeyHoldsAndReleasesPastesWithControlVAndTogglesScrollLock) {
  ClsKeyboard keyboard;
  // Hold and release split one character.
  ASSERT_TRUE(keyboard.PressKey('Q', true, false));
  Pump(50);
  EXPECT_EQ(ModifiersDown(), "16 ");
  ASSERT_TRUE(keyboard.PressKey('Q', false, true));
  EXPECT_EQ(Text(), "Q");
  Clear();
  ASSERT_TRUE(OpenClipboard(frame_));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 6);
  memcpy(GlobalLock(mem), "paste", 6);
  GlobalUnlock(mem);
  SetClipboardData(CF_TEXT, mem);
  CloseClipboard();
  keyboard.PressKeyVK(VK_CONTROL, true, false);
  keyboard.PressKey('v');
  keyboard.PressKeyVK(VK_CONTROL, false, true);
  EXPECT_EQ(Text(), "paste");
  // Scroll Lock pressed twice toggles its lock state there and back.
  bool caps = false, num = false, scroll = false;
  keyboard.GetLockStatus(caps, num, scroll);
  for (const bool want : {!scroll, scroll}) {
    keyboard.PressKeyVK(VK_SCROLL);
    Pump();
    keyboard.GetLockStatus(caps, num, scroll);
    EXPECT_EQ(scroll, want);
  }
}

TEST_F(TypingTarget, SendKeysTypesAcceptedStringsAndNothingOfRefusedOnes) {
  struct Case {
    const char* keys;
    const char* want;
    int error;
  } cases[] = {
      {"+(ab)c{ENTER}d{BS}e", "ABc\r\ne", 0},
      {"Zz{x 3}{}}{{}", "Zzxxx}{", 0},
      {"{LEFT 2}X", "X", 0},
      {"ab)", "", kErrMalformed},
      {"ab{ENTR}", "", kErrUnknownKey},
      {"%(ab", "", kErrMalformed},
  };
  CSendKeys keys;
  for (const Case& c : cases) {
    Clear();
    SendKeysError error;
    EXPECT_EQ(keys.SendKeys(c.keys, &error), c.error == 0) << c.keys;
    EXPECT_EQ(error.number, c.error) << c.keys;
    if (c.error) {
      EXPECT_EQ(error.source, "qv_helper_win32_tests.cSendKeys");
    }
    EXPECT_EQ(Text(), c.want) << c.keys;
  }
}

}  // namespace
}  // namespace qv::helper
