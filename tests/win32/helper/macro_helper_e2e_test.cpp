// The Macro Helper end to end, under Wine: quorvex.exe *MACROHELPER, the
// test's own editor program ("Test Editor", one edit control) and, where IvAc
// is read, the IvAc stand-in. The image is dragged onto the editor with real
// mouse input; every menu entry then has to arrive in the editor as exactly
// its line. Menu choices reach the helper as the WM_COMMAND its popup menu
// posts; input boxes are answered through their controls.
#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "helper/action_menu.h"
#include "helper/win32/frm_macro_helper.h"
#include "platform/text.h"
#include "win32/support/program_case.h"

namespace qv::helper {
namespace {

constexpr int kIdAction = 1, kIdDoEvents = 3, kIdCopy = 4, kIdTxtX = 5, kIdInfo = 6, kIdApp = 7;
constexpr int kIdScrll = 8;

// Every key event of the session, as a low-level hook sees it, and the
// Shift presses not yet released. The hook runs on a thread of its own that
// does nothing but pump: the system holds each key event until every
// low-level hook has answered and routes it only then, so a hook on the
// busy test thread would route a key sent to the editor to whatever window
// the test brought to the front in the meantime.
std::atomic<int> g_keyEvents = 0;
std::atomic<int> g_shiftDown = 0;
LRESULT CALLBACK CountKeys(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    ++g_keyEvents;
    const DWORD vk = reinterpret_cast<KBDLLHOOKSTRUCT*>(lp)->vkCode;
    if (vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT)
      g_shiftDown += (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN) ? 1 : -1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

class KeyWatch {
 public:
  KeyWatch() {
    std::promise<bool> hooked;
    auto ready = hooked.get_future();
    thread_ = std::thread([this, &hooked] {
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
      thread_id_ = GetCurrentThreadId();
      HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, CountKeys, GetModuleHandleA(nullptr), 0);
      hooked.set_value(hook != nullptr);
      while (hook && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
      if (hook) UnhookWindowsHookEx(hook);
    });
    hooked_ = ready.get();
  }
  ~KeyWatch() {
    PostThreadMessageA(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool hooked() const { return hooked_; }

 private:
  std::thread thread_;
  DWORD thread_id_ = 0;
  bool hooked_ = false;
};

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// The answer for an entry that asks: one the entry turns into a line.
std::string AnswerFor(int32_t id) {
  const std::pair<int32_t, const char*> answers[] = {
      {13, "Arrivals.txt"},       {9, "120,340,NORTH"}, {21, "3"}, {4, "30"}, {6, "84"},
      {25, "contact tower 118.5"}};
  for (const auto& [entry, answer] : answers)
    if (entry == id) return answer;
  return "EDDF";
}

class MacroHelper : public e2e::ProgramCase {
 protected:
  void SetUp() override {
    ProgramCase::SetUp();
    e2e::g_quorvex = e2e::WindowsPath(QV_QUORVEX_EXE);
    e2e::g_standin = standin::StandInExe(QV_STANDIN_EXE);
    ASSERT_TRUE(editor_.Start(e2e::WindowsPath(QV_TEST_EDITOR_EXE), "", ""));
    editorWindow_ = e2e::WaitTopWindow(editor_.Id(), "", "Test Editor", 10000);
    ASSERT_NE(editorWindow_, nullptr);
    edit_ = FindWindowExA(editorWindow_, nullptr, "Edit", nullptr);
    ASSERT_NE(edit_, nullptr);
    window_ = Start("*MACROHELPER", "", MacroHelperWindow::kCaption);
    ASSERT_NE(window_, nullptr);
    Pump(300);
  }

  HWND Control(int id) const { return GetDlgItem(window_, id); }
  std::string Text(int id) const { return standin::TextOf(Control(id)); }
  std::string EditorText() const { return standin::TextOf(edit_); }

  // Presses on the image, moves the pointer to `target` in steps and lets go.
  void DragImageTo(POINT target) {
    const std::vector<HWND> children = e2e::ChildrenOf(window_);
    ASSERT_FALSE(children.empty());
    e2e::Drag(e2e::CentreOf(children[0]), target, 5);  // imgEditor, the first control
    Pump(300);
  }

  void ChooseEditor() {
    DragImageTo(e2e::CentreOf(editorWindow_));
    ASSERT_TRUE(e2e::WaitFor([&] { return Text(kIdApp) == "Test Editor"; }, 3000)) << Text(kIdApp);
    ASSERT_TRUE(IsWindowEnabled(Control(kIdAction)));
  }

  // Chooses entry `id`; an entry that asks gets `answer` (nullptr: Cancel).
  void Choose(int32_t id, const char* answer = nullptr) {
    PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(MacroHelperWindow::kActionCommand + id),
                 0);
    Answer(id, answer);
  }
  // Answers the input box of entry `id`, if it asks, however it was chosen.
  void Answer(int32_t id, const char* answer) {
    const std::optional<Prompt> prompt = PromptOf(id);
    if (!prompt) return;
    const std::string title = MacroHelperWindow::kCaption + prompt->title;
    HWND box = e2e::WaitTopWindow(process_->Id(), "", title, 5000);
    ASSERT_NE(box, nullptr) << title;
    HWND field = FindWindowExA(box, nullptr, "Edit", nullptr);
    EXPECT_EQ(standin::TextOf(field), prompt->defaultAnswer) << id;
    if (answer) SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer));
    PostMessageA(FindWindowExA(box, nullptr, "Button", answer ? "OK" : "Cancel"), BM_CLICK, 0, 0);
  }

  void ClearEditor() { SendMessageA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("")); }

  // Waits for the editor to hold exactly `want`.
  bool EditorHolds(const std::string& want, DWORD ms = 5000) {
    return e2e::WaitFor([&] { return EditorText() == want; }, ms);
  }

  // A window of this test with an edit control, which nothing may reach.
  HWND Witness(HWND* field) const {
    e2e::RegisterLocal("QvWitness");
    HWND witness = CreateWindowExA(0, "QvWitness", "Witness", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                                   360, 300, 120, nullptr, nullptr, e2e::Instance(), nullptr);
    *field = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 280, 80,
                             witness, nullptr, e2e::Instance(), nullptr);
    return witness;
  }

  e2e::Process editor_;
  HWND editorWindow_ = nullptr, edit_ = nullptr, window_ = nullptr;
};

// Dragging the image chooses the editor, and a drop on itself changes
// nothing; then every entry types its line, the Action button shows the menu
// and its choice is typed, in compatibility mode too.
TEST_F(MacroHelper, DraggingChoosesTheEditorAndEveryEntryTypesItsLine) {
  DragImageTo(e2e::CentreOf(Control(kIdApp)));
  EXPECT_EQ(Text(kIdApp), "Editor for Macro not selected");
  EXPECT_FALSE(IsWindowEnabled(Control(kIdAction)));
  ChooseEditor();
  // Every entry is checked against the line the menu gives it, which the
  // host tests pin down.
  int typed = 0;
  for (int32_t id : ActionIds()) {
    if (KindOf(id) != ActionKind::kTypeLine) continue;
    const std::string answer = AnswerFor(id);
    const std::optional<std::string> line = LineFor(id, answer);
    ASSERT_TRUE(line) << id;
    ClearEditor();
    Choose(id, answer.c_str());
    ASSERT_TRUE(EditorHolds(*line + "\r\n"))
        << id << ": " << EditorText() << " / " << Text(kIdInfo);
    ++typed;
  }
  EXPECT_EQ(typed, 252);

  ClearEditor();
  PostMessageA(Control(kIdAction), BM_CLICK, 0, 0);
  HWND menu = e2e::WaitTopWindow(process_->Id(), "#32768", "", 5000);
  ASSERT_NE(menu, nullptr);
  Pump(200);
  if (const char* shot = getenv("QV_HELPER_MENU_SHOT")) standin::SaveScreenshot(shot);
  // Down selects the first entry, "Open new Assistant".
  for (UINT key : {VK_DOWN, VK_RETURN}) {
    PostMessageA(menu, WM_KEYDOWN, key, 1);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
    Pump(100);
  }
  ASSERT_NO_FATAL_FAILURE(Answer(10, "Ground"));
  EXPECT_TRUE(EditorHolds("OPEN Ground\r\n")) << EditorText();

  // Compatibility mode types the same line; a cancelled prompt types nothing.
  PostMessageA(Control(kIdDoEvents), BM_CLICK, 0, 0);
  Pump(100);
  ClearEditor();
  const DWORD start = GetTickCount();
  Choose(75);
  ASSERT_TRUE(EditorHolds("ADD_TO_IO\r\n")) << EditorText();
  // Ten characters and CR, each followed by a 10 ms pause.
  EXPECT_GE(GetTickCount() - start, 100u);
  ClearEditor();
  Choose(10, nullptr);
  Choose(24, "   ");
  Choose(21, "31");
  Choose(71);
  ASSERT_TRUE(EditorHolds("ASSUME_LABEL\r\n")) << EditorText();
}

// Typing stops when the editor loses the foreground mid-line; once the
// editor has gone, nothing reaches any window.
TEST_F(MacroHelper, TypingStopsWhenTheEditorLosesTheForegroundAndNothingReachesAnother) {
  ChooseEditor();
  PostMessageA(Control(kIdDoEvents), BM_CLICK, 0, 0);  // slow typing: 10 ms a character
  HWND field = nullptr;
  HWND witness = Witness(&field);
  auto keys = std::make_unique<KeyWatch>();
  ASSERT_TRUE(keys->hooked());
  g_shiftDown = 0;
  ClearEditor();
  const std::string text = "Upper And Lower Case Words Typed Slowly Into The Chosen Editor Window";
  Choose(23, text.c_str());
  ASSERT_TRUE(e2e::WaitFor([&] { return EditorText().size() >= 12; }, 5000)) << EditorText();
  // A busy moment of this thread must not change where the typed keys go.
  Sleep(300);
  ASSERT_TRUE(standin::BringToFront(witness));
  SetFocus(field);
  EXPECT_TRUE(e2e::WaitFor(
      [&] {
        Pump(20);
        return Text(kIdInfo) == "typing stopped: the editor lost the foreground";
      },
      5000))
      << Text(kIdInfo);
  Pump(300);
  // What arrived is the start of the line, and nothing reached the witness.
  const std::string typed = EditorText();
  EXPECT_LT(typed.size(), text.size());
  EXPECT_EQ(("ADD_TEXT " + text).compare(0, typed.size(), typed), 0) << typed;
  EXPECT_EQ(e2e::WindowText(field), "");
  EXPECT_EQ(g_shiftDown.load(), 0) << "Shift left down";

  // The editor goes away; the witness holds the foreground.
  PostMessageA(Control(kIdDoEvents), BM_CLICK, 0, 0);
  TerminateProcess(editor_.Handle(), 0);
  ASSERT_TRUE(editor_.WaitExit(5000));
  ASSERT_TRUE(standin::BringToFront(witness));
  SetFocus(field);
  g_keyEvents = 0;
  Choose(22);
  Choose(25, "hello");
  Choose(8);  // Move IvAc window, without IvAc
  Pump(1500);
  keys.reset();
  EXPECT_EQ(g_keyEvents.load(), 0);
  EXPECT_EQ(e2e::WindowText(field), "");
  EXPECT_EQ(Text(kIdInfo), "unable to find IvAc Window - check if IvAc is running");
  Choose(22);
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return Text(kIdInfo) == "the editor cannot be activated: nothing typed"; }, 3000))
      << Text(kIdInfo);
  DestroyWindow(witness);
}

TEST_F(MacroHelper, ReadsIvacPastesSelectionsAndCapturesThePointer) {
  ASSERT_NO_FATAL_FAILURE(StartStandIn(standin::kFullScenario));
  const standin::StandInProcess& ivac = standin_;
  // The stand-in opens where the editor is: the editor goes in front of it.
  ASSERT_TRUE(standin::BringToFront(editorWindow_));
  ChooseEditor();
  RECT r{};
  GetWindowRect(ivac.main(), &r);
  // Where IvAc's window is; its selected and its unselected items.
  const std::pair<int32_t, std::string> reads[] = {
      {8, "MOVE_IVAC " + DecimalText(r.top) + "," + DecimalText(r.left) + "," +
              DecimalText(r.bottom - r.top) + "," + DecimalText(r.right - r.left) + "\r\n"},
      {1007, "; 1 selected Item\r\n<selection_start>\r\nEDDF\r\n<selection_end>\r\n"},
      {1008,
       "; 3 unselected Item\r\n<selection_start>\r\nEDDM\r\nEDDS\r\nEDDK\r\n"
       "<selection_end>\r\n"}};
  for (const auto& [id, want] : reads) {
    ClearEditor();
    Choose(id);
    EXPECT_TRUE(EditorHolds(want, 10000)) << id << ": " << EditorText();
  }
  // Reading changed nothing in IvAc: the dialog was cancelled, AP is still in.
  HWND band = FindWindowExA(ivac.main(), nullptr, "ReBarWindow32", nullptr);
  HWND bar = FindWindowExA(band, nullptr, "#32770", nullptr);
  EXPECT_NE(SendMessageA(FindWindowExA(bar, nullptr, "Button", "AP"), BM_GETCHECK, 0, 0), 0);
  EXPECT_TRUE(ivac.Find("dialog_ok").empty());

  // Scroll Lock captures the pointer; Copy puts it on the clipboard.
  const auto press = [] {
    keybd_event(VK_SCROLL, 0x46, 0, 0);
    keybd_event(VK_SCROLL, 0x46, KEYEVENTF_KEYUP, 0);
  };
  EXPECT_FALSE(IsWindowEnabled(Control(kIdTxtX)));
  EXPECT_EQ(Text(kIdScrll), "Press ScollLock\nto activate capture");
  press();
  SetCursorPos(123, 45);
  EXPECT_TRUE(e2e::WaitFor([&] { return Text(kIdTxtX) == "123,45"; }, 3000)) << Text(kIdTxtX);
  EXPECT_TRUE(IsWindowEnabled(Control(kIdTxtX)));
  EXPECT_EQ(Text(kIdScrll), "Press ScollLock\nto stop capture");
  SetCursorPos(140, 50);
  EXPECT_TRUE(e2e::WaitFor([&] { return Text(kIdTxtX) == "140,50"; }, 3000)) << Text(kIdTxtX);
  press();
  EXPECT_TRUE(e2e::WaitFor([&] { return !IsWindowEnabled(Control(kIdTxtX)); }, 3000));
  SetCursorPos(300, 300);
  Pump(400);
  EXPECT_EQ(Text(kIdTxtX), "140,50");
  PostMessageA(Control(kIdCopy), BM_CLICK, 0, 0);
  std::string clip;
  EXPECT_TRUE(e2e::WaitFor(
      [&] {
        if (!OpenClipboard(nullptr)) return false;
        if (HANDLE h = GetClipboardData(CF_TEXT)) {
          if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            clip = p;
            GlobalUnlock(h);
          }
        }
        CloseClipboard();
        return clip == "140,50";
      },
      3000))
      << clip;
}

}  // namespace
}  // namespace qv::helper
