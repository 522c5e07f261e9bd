#include "ivac/win32_automation.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "ivac/listview_reader.h"
#include "ivac/rules.h"
#include "ivac/win32_search.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/win32/handles.h"
#include "platform/win32/process.h"
#include "startup/app.h"

namespace qv::ivac {

namespace {

constexpr WPARAM kEnterKey = 13;

// The count of unanswered sends when the current primitive began (one
// program talks to one IvAc: the count is the process's).
unsigned long g_unansweredBefore = 0;

void Post(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  // A handle of 0 would post to this thread's own queue: never do that.
  // Once IvAc has left a message of this primitive unanswered, nothing more
  // is posted: a hung IvAc would carry it out later, out of its context (a
  // line sent with Enter after the text it was meant to carry was lost).
  if (w != nullptr && UnansweredSends() == g_unansweredBefore) PostMessageA(w, msg, wp, lp);
}

// Every message that waits for IvAc's answer gives up on a hung window.
LRESULT Send(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  LRESULT result = 0;
  if (w != nullptr) SendWithin(w, msg, wp, lp, &result);
  return result;
}

void SetTextOf(HWND w, const std::string& text) {
  Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Presses Enter in IvAc's text line, runs `meanwhile` (the pause after the
// key), then makes sure IvAc has taken the line. Enter is posted, as a key
// would come; the text set next is sent, and a sent message overtakes a
// posted one, so the next line could replace this one before IvAc saw the
// Enter (with a short Sleep two lines in a row lost the first). A caret move
// posted after the Enter shows when IvAc's thread has come past it: the caret
// stands at the end of the text until then, at its start afterwards (or the
// line is empty, sent). Bounded: a slow IvAc costs at most a second here.
void PressEnter(HWND line, const std::function<void()>& meanwhile) {
  // IvAc left a message of this primitive unanswered: nothing is posted any
  // more, and nothing is waited for a second time.
  if (UnansweredSends() != g_unansweredBefore) return meanwhile();
  LRESULT length = 0;
  if (!SendWithin(line, WM_GETTEXTLENGTH, 0, 0, &length)) length = 0;
  // A line of this very thread (an IvAc built inside this program) comes to
  // its posted messages only when this thread does: nothing to wait for.
  const bool check = length > 0 && length < 0x10000 &&
                     GetWindowThreadProcessId(line, nullptr) != GetCurrentThreadId();
  if (check) Send(line, EM_SETSEL, length, length);
  Post(line, WM_KEYDOWN, kEnterKey, 1);
  if (check) Post(line, EM_SETSEL, 0, 0);
  meanwhile();
  if (!check) return;
  const DWORD start = GetTickCount();
  LRESULT selection = 0;
  while (SendWithin(line, EM_GETSEL, 0, 0, &selection) && selection != 0 &&
         GetTickCount() - start < 1000)
    Sleep(1);
}

std::string HandleText(HWND w) {
  return DecimalText(static_cast<int64_t>(reinterpret_cast<uintptr_t>(w)));
}

// One entry of a list box, read through a buffer sized from its length.
std::optional<std::string> ListEntry(HWND list, int index) {
  const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length == LB_ERR || length < 0) return std::nullopt;
  // A list box of another process may answer in UTF-16: room for that too.
  std::string buffer(static_cast<size_t>(length) * 2 + 2, '\0');
  const LRESULT copied =
      Send(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (copied == LB_ERR || copied < 0) return std::nullopt;
  const size_t narrow = std::strlen(buffer.c_str());
  if (narrow >= static_cast<size_t>(copied)) return std::string(buffer.c_str());
  // Shorter than reported: the answer came as UTF-16 (Wine does that across
  // processes); bring it back to the ANSI code page.
  const auto* wide = reinterpret_cast<const wchar_t*>(buffer.data());
  const int wideLength = static_cast<int>(copied);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) {
    WideCharToMultiByte(CP_ACP, 0, wide, wideLength, text.data(), bytes, nullptr, nullptr);
  }
  return text;
}

std::string ButtonsIniPath(const std::string& folder) { return folder + "\\Buttons.ini"; }

// The sub-window of a clearance: what recognises it and which children it needs.
struct ClearanceWindow {
  BYTE hotKey;
  const char* markClass;
  const char* markCaption;
  const char* subwindowStatus;
  const char* elementsStatus;
  const char* doneStatus;
};

ClearanceWindow ClearanceOf(Clearance kind) {
  switch (kind) {
    case Clearance::kFlightLevel:
      return {VK_MULTIPLY,
              "Button",
              "ALL",
              "unable to detect FL subwindow - NOT ASSUMED ?",
              "unable to detect Flight Level window elements",
              "Cleared FL - done"};
    case Clearance::kSpeed:
      return {VK_F7,
              "Button",
              "CLEAR",
              "unable to detect FL subwindow - NOT ASSUMED ?",
              "unable to detect Flight Level window elements",
              "Clear Speed done"};
    case Clearance::kFix:
      break;
  }
  return {VK_ADD,
          "Static",
          "WAYPOINT",
          "unable to detect FIX subwindow - NOT ASSUMED ?",
          "unable to detect WAYPOINT window elements",
          "Cleared to Fix - done"};
}

// The list-view access of IvAc's process. The request record is built in the
// layout of that process, which need not be this program's own kind.
static_assert(sizeof(LVITEMA) == (sizeof(void*) == 8 ? kItemLayout64 : kItemLayout32).size &&
                  offsetof(LVITEMA, pszText) ==
                      (sizeof(void*) == 8 ? kItemLayout64 : kItemLayout32).textOffset &&
                  offsetof(LVITEMA, cchTextMax) ==
                      (sizeof(void*) == 8 ? kItemLayout64 : kItemLayout32).capacityOffset,
              "the record layouts match the system's own LVITEMA");
class ProcessListView : public RemoteListView {
 public:
  ProcessListView(HANDLE process, HWND view) : process_(process), view_(view) {}
  RemoteAddress Allocate(uint32_t size) override {
    void* p = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    return static_cast<RemoteAddress>(reinterpret_cast<uintptr_t>(p));
  }
  void Release(RemoteAddress address) override {
    VirtualFreeEx(process_, Pointer(address), 0, MEM_RELEASE);
  }
  bool Write(RemoteAddress address, const void* data, uint32_t size) override {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, Pointer(address), data, size, &done) && done == size;
  }
  bool Read(RemoteAddress address, void* data, uint32_t size) override {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, Pointer(address), data, size, &done) && done == size;
  }
  void GetItemText(int32_t row, RemoteAddress record) override {
    SendWithin(view_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
               static_cast<LPARAM>(reinterpret_cast<uintptr_t>(Pointer(record))));
  }

 private:
  static void* Pointer(RemoteAddress a) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(a));
  }
  HANDLE process_;
  HWND view_;
};

}  // namespace

Win32Automation::Win32Automation(std::unique_ptr<Input> input, AutomationSettings settings)
    : input_(input ? std::move(input) : std::make_unique<SystemInput>()),
      settings_(std::move(settings)) {}

void Win32Automation::Wait(int32_t ms) const { Sleep(static_cast<DWORD>(ms < 0 ? 0 : ms)); }
void Win32Automation::WaitSleep() const { Wait(FullWait(sleep_)); }
void Win32Automation::DoEvents() { PumpEvents(); }

std::string Win32Automation::TakeFault() {
  std::string fault;
  if (notInFront_) fault = kIvacNotInFront;
  if (UnansweredSends() != g_unansweredBefore) fault = kIvacNotResponding;
  // A window of IvAc's that vanished because IvAc closed is not a command
  // carried out.
  if (ivac_ != nullptr && !IsWindow(ivac_)) fault = kIvacClosed;
  lastFaultHung_ = fault == kIvacNotResponding;
  g_unansweredBefore = UnansweredSends();
  notInFront_ = false;
  return fault;
}

void Win32Automation::SettleUnanswered() { g_unansweredBefore = UnansweredSends(); }

bool Win32Automation::FrontForInput(HWND main) {
  if (BringToForeground(main)) {
    // Another program may take the foreground straight back: IvAc counts as
    // in front once it has stayed there for a moment.
    Wait(std::max<int32_t>(HalfWait(sleep_), 10));
    if (GetForegroundWindow() == main) return true;
  }
  notInFront_ = true;
  return false;
}

bool Win32Automation::StillInFront(HWND main) {
  if (GetForegroundWindow() == main) return true;
  notInFront_ = true;
  return false;
}

bool Win32Automation::Await(const std::function<bool()>& done) {
  // IvAc opens and closes its windows in its own time; on a busy PC one
  // Sleep is not always enough, so the check is repeated for a while before
  // it counts as failed.
  constexpr DWORD kPatienceMs = 1500;
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= kPatienceMs) return false;
    ::Sleep(10);
    PumpEvents();
  }
}

HWND Win32Automation::AwaitWindow(const std::function<HWND()>& find) {
  HWND found = nullptr;
  Await([&] { return (found = find()) != nullptr; });
  return found;
}

std::string Win32Automation::DefaultsFolder() const {
  return settings_.defaultsFolder.empty() ? TheApp().folders.defaults : settings_.defaultsFolder;
}

int32_t Win32Automation::CommboxFrequency() const {
  return settings_.commboxFrequency >= 0 ? settings_.commboxFrequency
                                         : TheApp().settings.commboxFrequency;
}

HWND Win32Automation::Lookup(std::string_view key) const {
  const auto it = map_.find(key);
  return it == map_.end() ? nullptr : it->second;
}

void Win32Automation::Store(std::string_view key, HWND handle) {
  map_.erase(std::string(key));
  map_.emplace(std::string(key), handle);
}

HWND Win32Automation::MainForInput() { return ivac_ != nullptr ? ivac_ : FindIvacWindow(); }

// ---------------------------------------------------------------- window map

void Win32Automation::GetHandles() {
  // A run starts here: what went unanswered before it is not its fault.
  SettleUnanswered();
  lastFaultHung_ = false;
  ivac_ = FindIvacWindow();
  if (ivac_ == nullptr || ivac_ == mapOwner_) return;
  mapOwner_ = ivac_;
  map_.clear();

  HWND rebar = ChildOf(ivac_, "ReBarWindow32");
  Store(kKeyRebar, rebar);
  HWND toolbar = rebar != nullptr ? ChildOf(rebar, "#32770") : nullptr;
  Store(kKeyToolbar, toolbar);
  const bool haveToolbar = rebar != nullptr && toolbar != nullptr;

  // One pass over the toolbar's buttons: the first button of each caption.
  std::map<std::string, HWND, std::less<>> byCaption;
  if (haveToolbar) {
    for (HWND b : ChildrenOfClass(toolbar, "Button")) byCaption.emplace(CaptionOf(b), b);
  }
  auto button = [&](std::string_view caption) -> HWND {
    const auto it = byCaption.find(caption);
    return it == byCaption.end() ? nullptr : it->second;
  };
  const bool debug = TheApp().settings.debug;
  for (std::string_view code : kToolbarCodes) {
    HWND handle = nullptr;
    if (haveToolbar) {
      handle = button(code);
      if (handle == nullptr && code == "CONNECT") handle = button(kConnectedCaption);
      if (debug) DebugLog(std::string(code) + HandleText(handle));
    }
    Store(ButtonKey(code), handle);
  }

  Store(kKeyTabs, nullptr);
  Store(kKeyText, nullptr);
  Store(kKeySelected, nullptr);
  if (haveToolbar) {
    const auto boxes = FindWindowsLike(nullptr, "COMMBox", "*32770");
    if (!boxes.empty()) {
      HWND box = boxes.front();
      if (HWND tabs = ChildOf(box, "SysTabControl32")) Store(kKeyTabs, tabs);
      for (HWND edit : ChildrenOfClass(box, "Edit")) {
        const LONG id = GetWindowLongA(edit, GWL_ID);
        if (id == 1004) Store(kKeySelected, edit);
        if (id == 1006) Store(kKeyText, edit);
      }
    }
  }
  if (debug) DebugLog("Init Done");
}

// ------------------------------------------------------------ toolbar buttons

std::string Win32Automation::SetButton(std::string_view code, bool pressed) {
  const std::string c = StripBrackets(code);
  HWND button = Lookup(ButtonKey(c));
  if (button == nullptr) return "";
  input_->KeyUp(VK_SHIFT);
  const bool isPressed = Send(button, BM_GETCHECK) != 0;
  if (isPressed != pressed) Post(button, BM_CLICK);
  Post(button, WM_KILLFOCUS);
  Wait(HalfWait(sleep_));
  return SetButtonStatus(c, pressed);
}

std::string Win32Automation::SaveButtons() {
  // All states first: a file is replaced only by a complete one.
  std::vector<std::pair<std::string, bool>> states;
  for (std::string_view code : kSavedButtonCodes) {
    HWND button = Lookup(ButtonKey(code));
    if (button == nullptr) return "unable to detect " + std::string(code) + " Button";
    states.emplace_back(std::string(code), Send(button, BM_GETCHECK) != 0);
  }
  const std::string file = ButtonsIniPath(DefaultsFolder());
  if (!files::WriteAtomic(file, ButtonsIniText(states))) return "unable to write " + file;
  return "Save Buttons - done ";
}

std::string Win32Automation::ResetButtons() {
  const std::string file = ButtonsIniPath(DefaultsFolder());
  if (!files::Exists(file)) return "Buttons not saved";
  HWND main = FindIvacWindow();
  if (main == nullptr) return "unable to detect IvAc";
  BringToForeground(main);
  HWND rebar = ChildOf(main, "ReBarWindow32");
  if (rebar == nullptr) return "unable to detect Toolbar Container button";
  HWND toolbar = ChildOf(rebar, "#32770");
  if (toolbar == nullptr) return "unable to detect Toolbar";
  profile::Snapshot saved(file);
  for (std::string_view code : kSavedButtonCodes) {
    const std::string c(code);
    HWND button = ChildOf(toolbar, "Button", c.c_str());
    if (button == nullptr) return "unable to detect " + c + " Button";
    const bool isPressed = Send(button, BM_GETCHECK) != 0;
    const auto wanted = SavedButtonFlag(saved.ReadKey("default", c, ""));
    if (!wanted) continue;
    if (*wanted != isPressed) Post(button, BM_CLICK);
    Post(button, WM_KILLFOCUS);
    DoEvents();
  }
  return "Save Buttons - done ";
}

// ----------------------------------------------------------- selection dialogs

Win32Automation::Opened Win32Automation::OpenDialog(const std::string& code) {
  Opened o;
  o.status = "unable to detect " + code + " Button";
  ShiftHold shift(*input_);
  if (code != "OCN") {
    HWND button = Lookup(ButtonKey(code));
    if (button == nullptr) return o;
    HWND main = MainForInput();
    if (!FrontForInput(main)) {
      o.status = std::string(kIvacNotInFront);
      return o;
    }
    o.wasPressed = Send(button, BM_GETCHECK) != 0;
    // Shift is a key like any other: it goes to whichever window is in front.
    if (!StillInFront(main)) {
      o.status = std::string(kIvacNotInFront);
      return o;
    }
    shift.Press();
    Post(button, BM_CLICK);
  } else {
    HWND main = MainForInput();
    if (main == nullptr) return o;
    Post(main, WM_COMMAND, kCmdOccupiedAreas, 0);
    WaitSleep();
    DoEvents();
  }
  o.status = "unable to detect " + code + " Selection window ";
  const std::string caption = DialogCaption(code);
  for (int attempt = 0; attempt < 4 && !caption.empty(); ++attempt) {
    o.dialog = FindWindowA("#32770", caption.c_str());
    if (o.dialog != nullptr) break;
    WaitSleep();
  }
  shift.Release();
  return o;
}

Win32Automation::Elements Win32Automation::FindElements(HWND dialog) {
  Elements e;
  if (dialog == nullptr || !IsWindow(dialog)) return e;
  e.list = ChildOf(dialog, "Listbox");
  e.ok = ChildOf(dialog, "Button", "&OK");
  e.cancel = ChildOf(dialog, "Button", "&Cancel");
  e.all = ChildOf(dialog, "Button", "Select &All");
  e.none = ChildOf(dialog, "Button", "Select &None");
  return e;
}

std::string Win32Automation::ApplySelection(const Elements& e, const std::string& code,
                                            std::string_view items, std::string_view preAction,
                                            bool unselect) {
  const std::string pre = ToUpper(preAction);
  if (pre == "SELECT_ALL") {
    Post(e.all, BM_CLICK);
    WaitSleep();
  } else if (pre == "SELECT_NONE") {
    Post(e.none, BM_CLICK);
    WaitSleep();
  }
  if (items.empty()) return "";
  const auto patterns = SplitItems(items);
  const LRESULT count = Send(e.list, LB_GETCOUNT);
  if (count == 0 || count == LB_ERR) return "unable to detect " + code + " list";
  for (int i = 0; i < static_cast<int>(count); ++i) {
    const auto entry = ListEntry(e.list, i);
    if (!entry) continue;
    for (const auto& pattern : patterns) {
      if (EntryMatches(*entry, pattern)) {
        Send(e.list, LB_SELITEMRANGE, unselect ? FALSE : TRUE, MAKELPARAM(i, i));
      }
    }
  }
  return "";
}

bool Win32Automation::ConfirmWithOk(HWND dialog, const Elements& e) {
  WaitSleep();
  for (int attempt = 0; attempt < 20; ++attempt) {
    Post(e.ok, BM_CLICK);
    WaitSleep();
    if (!IsWindow(dialog) || ChildOf(dialog, "Button", "&OK") == nullptr) return true;
  }
  return false;
}

std::string Win32Automation::SelectionStatus(std::string_view items, std::string_view codeAsGiven,
                                             std::string_view preAction, bool unselect,
                                             bool* done) {
  *done = false;
  const std::string code = StripBrackets(codeAsGiven);
  Opened o = OpenDialog(code);
  if (o.dialog == nullptr) return o.status;
  const Elements e = FindElements(o.dialog);
  if (e.list == nullptr || e.all == nullptr || e.none == nullptr || e.ok == nullptr) {
    return "unable to find " + std::string(codeAsGiven) + " Selection window elements";
  }
  const std::string failed = ApplySelection(e, code, items, preAction, unselect);
  if (!failed.empty()) return failed;
  const bool closed = ConfirmWithOk(o.dialog, e);
  if (code != "OCN") SetButton(code, o.wasPressed);
  if (!closed) return "unable to close " + std::string(codeAsGiven) + " Selection window";
  *done = true;
  return std::string(codeAsGiven) + " Selection - done";
}

std::string Win32Automation::SelectInDialog(std::string_view items, std::string_view code,
                                            std::string_view preAction, bool unselect) {
  bool done = false;
  return SelectionStatus(items, code, preAction, unselect, &done);
}

void Win32Automation::SaveDefault(std::string_view codeAsGiven) {
  const std::string code = StripBrackets(codeAsGiven);
  Opened o = OpenDialog(code);
  if (o.dialog == nullptr) return;
  const Elements e = FindElements(o.dialog);
  if (e.list == nullptr || e.all == nullptr || e.none == nullptr) return;

  const LRESULT count = Send(e.list, LB_GETSELCOUNT);
  bool read = count != LB_ERR && count >= 0;
  std::vector<std::string> selected;
  if (read && count > 0) {
    std::vector<int> indexes(static_cast<size_t>(count));
    const LRESULT got = Send(e.list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                             reinterpret_cast<LPARAM>(indexes.data()));
    if (got == LB_ERR || got < 0) {
      read = false;
    } else {
      indexes.resize(static_cast<size_t>(got));
      for (int index : indexes) {
        const auto text = ListEntry(e.list, index);
        if (!text) {
          read = false;
          break;
        }
        selected.push_back(*text);
      }
    }
  }
  WaitSleep();
  Post(e.cancel, BM_CLICK);
  WaitSleep();
  if (code != "OCN") SetButton(code, o.wasPressed);
  // A selection that could not be read never replaces the saved one.
  if (read) files::WriteAtomic(DefaultsFolder() + "\\" + code + ".ini", DefaultsFileText(selected));
}

std::string Win32Automation::ResetDefault(std::string_view codeAsGiven) {
  const std::string file = DefaultsFolder() + "\\" + StripBrackets(codeAsGiven) + ".ini";
  if (!files::Exists(file)) return std::string(codeAsGiven) + " default not saved";
  std::string text;
  files::ReadAll(file, text);
  bool done = false;
  const std::string status = SelectionStatus(text, codeAsGiven, "SELECT_NONE", false, &done);
  return done ? "Restore Default done" : status;
}

std::string Win32Automation::DlgOpen(std::string_view codeAsGiven) {
  const std::string code = StripBrackets(codeAsGiven);
  if (code == "OCN") return "Button OCN not allowed";
  Opened o = OpenDialog(code);
  if (o.dialog == nullptr) return o.status;
  dialog_ = o.dialog;
  dialogCode_ = code;
  return code + " OpenDlg " + HandleText(dialog_) + " - done";
}

std::string Win32Automation::DlgSelect(std::string_view items, std::string_view preAction,
                                       bool unselect) {
  if (dialog_ == nullptr) return "unable to detect  Button";
  const Elements e = FindElements(dialog_);
  if (e.list == nullptr || e.all == nullptr || e.none == nullptr) {
    return "unable to find Dialog Selection window elements";
  }
  const std::string failed = ApplySelection(e, dialogCode_, items, preAction, unselect);
  if (!failed.empty()) return failed;
  return dialogCode_ + " Selection - done";
}

std::string Win32Automation::DlgClose() {
  if (dialog_ == nullptr) return "unable to detect  Button";
  const Elements e = FindElements(dialog_);
  if (e.list == nullptr || e.all == nullptr || e.none == nullptr || e.ok == nullptr) {
    return "unable to find Dialog Selection window elements";
  }
  const bool closed = ConfirmWithOk(dialog_, e);
  const std::string code = dialogCode_;
  if (code != "OCN") SetButton(code, false);
  if (!closed) return "unable to close " + code + " Selection window";
  // The dialog is gone: nothing is remembered any more.
  dialog_ = nullptr;
  dialogCode_.clear();
  return code + " Dialog Closed";
}

// ------------------------------------------------------------------- COMMBox

std::string Win32Automation::SelectTab(std::string_view tab) {
  const int32_t frequencies = CommboxFrequency();
  const int32_t number = TabNumber(tab, frequencies);
  if (number < 1) return "";
  HWND tabs = Lookup(kKeyTabs);
  if (tabs == nullptr) return "unable to detect COMMBOX TABs ";
  const auto count = static_cast<int32_t>(Send(tabs, TCM_GETITEMCOUNT));
  if (number > count) return TabStatus(false, number, count, frequencies);
  Send(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(number - 1));
  Sleep(0);
  Send(tabs, TCM_SETCURSEL, static_cast<WPARAM>(number - 1));
  return TabStatus(true, number, count, frequencies);
}

std::string Win32Automation::SetText(std::string_view given, bool append, bool clear, bool send) {
  HWND line = Lookup(kKeyText);
  if (line == nullptr) return "unable to find Edit window";
  std::string text(given);
  if (append) text = ReadWindowText(line) + text;
  std::string status;
  if (!text.empty()) {
    SetTextOf(line, text);
    WaitSleep();
    status = text + " Text added";
  } else if (clear) {
    SetTextOf(line, "");
    WaitSleep();
    status = " Text cleared";
  }
  if (send) {
    PressEnter(line, [this] { WaitSleep(); });
    status = text + " Text sent";
  }
  return status;
}

std::string Win32Automation::ReadSelectedLabel() {
  if (mapOwner_ == nullptr) GetHandles();
  if (FindIvacWindow() == nullptr) return "";
  std::string label = TrimBlanks(ReadWindowText(Lookup(kKeySelected)));
  SettleUnanswered();  // a reader, not a primitive of a run
  return label;
}

void Win32Automation::FocusTextLine() {
  HWND line = Lookup(kKeyText);
  if (line == nullptr) return;
  LRESULT length = 0;
  // Setting the focus waits on IvAc's thread: not on one that does not answer.
  if (!SendWithin(line, WM_GETTEXTLENGTH, 0, 0, &length)) {
    SettleUnanswered();
    return;
  }
  Send(line, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
  // The focus of another program's window can only be set with its thread's
  // input shared for the moment.
  const DWORD owner = GetWindowThreadProcessId(line, nullptr);
  const DWORD self = GetCurrentThreadId();
  const bool attached = owner != 0 && owner != self && AttachThreadInput(self, owner, TRUE);
  SetFocus(line);
  if (attached) AttachThreadInput(self, owner, FALSE);
}

bool Win32Automation::ActivateIvac() {
  // The run just ended on an IvAc that did not answer: asking it again would
  // hold the panel for another full wait.
  if (std::exchange(lastFaultHung_, false)) return false;
  const bool front = BringToForeground(FindIvacWindow());
  SettleUnanswered();
  return front;
}

// ------------------------------------------------------------- traffic labels

std::string Win32Automation::LabelCommand(LabelAction action) {
  const LabelCommandInfo info = LabelCommandOf(action);
  HWND main = FindIvacWindow();
  if (main == nullptr) return "";
  BringToForeground(main);
  if (ReadWindowText(Lookup(kKeySelected)).empty()) return "no traffic label selected";
  Post(main, WM_COMMAND, static_cast<WPARAM>(info.menuId), 0);
  WaitSleep();
  DoEvents();
  return std::string(info.status);
}

std::string Win32Automation::TransferTo(std::string_view station) {
  HWND main = FindIvacWindow();
  if (main == nullptr) return "unable to detect IvAc";
  HWND connect = Lookup(ButtonKey("CONNECT"));
  if (connect == nullptr) return "unable to detect IvAc";
  if (ReadWindowText(connect) == "CONNECT") return "IvAc not connected";
  BringToForeground(main);
  if (ReadWindowText(Lookup(kKeySelected)).empty()) return "no traffic label selected";
  Post(main, WM_COMMAND, kCmdTransfer, 0);
  WaitSleep();
  DoEvents();

  HWND sub = AwaitWindow([] {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
      if (GetWindowTextLengthA(w) == 0 && ChildOf(w, "Button", "OK") != nullptr &&
          ChildOf(w, "ListBox") != nullptr)
        return w;
    }
    return static_cast<HWND>(nullptr);
  });
  if (sub == nullptr) return "unable to detect ATC subwindow - NOT ASSUMED ?";
  HWND list = ChildOf(sub, "ListBox");
  HWND ok = ChildOf(sub, "Button", "OK");
  HWND waypoint = ChildOf(sub, "Static", "WAYPOINT");
  if (list == nullptr || ok == nullptr || waypoint != nullptr) {
    return "unable to detect ATC window elements";
  }
  const std::string name(station);
  const LRESULT index = name.empty() ? LB_ERR
                                     : Send(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(name.c_str()));
  // Without a matching station nothing is confirmed: the window stays open
  // for the controller to finish by hand.
  if (index == LB_ERR || index < 0) return "ATC station " + name + " not found - not transferred";
  Send(list, LB_SETCURSEL, static_cast<WPARAM>(index));
  WaitSleep();
  Post(ok, BM_CLICK);
  WaitSleep();
  return "Transferred to ATC - done";
}

// -------------------------------------------------- clearances, occupied area

std::string Win32Automation::Clear(Clearance kind, std::string_view value) {
  const ClearanceWindow c = ClearanceOf(kind);
  HWND main = FindIvacWindow();
  if (main == nullptr) return "unable to detect IvAc";
  if (!FrontForInput(main)) return std::string(kIvacNotInFront);
  WaitSleep();
  if (!StillInFront(main)) return std::string(kIvacNotInFront);
  // The hot key is pressed and released: no key stays down after a command.
  input_->KeyDown(c.hotKey);
  input_->KeyUp(c.hotKey);
  WaitSleep();

  HWND sub = AwaitWindow([&c] { return FindUntitledDialogWith(c.markClass, c.markCaption); });
  if (sub == nullptr) return c.subwindowStatus;
  HWND clear = ChildOf(sub, "Button", "CLEAR");
  HWND list = nullptr, ok = nullptr, edit = nullptr, enter = nullptr;
  bool complete = false;
  if (kind == Clearance::kFix) {
    edit = ChildOf(sub, "Edit");
    enter = ChildOf(sub, "Button", "ENTER");
    complete = edit != nullptr && enter != nullptr && ChildOf(sub, "Static", "WAYPOINT");
  } else {
    list = ChildOf(sub, "ListBox");
    ok = ChildOf(sub, "Button", "OK");
    complete = list != nullptr && ok != nullptr && ChildOf(sub, c.markClass, c.markCaption);
  }
  if (!complete) return c.elementsStatus;

  const std::string text(value);
  if (ToUpper(text) == "<NONE>") {
    if (clear == nullptr) return c.elementsStatus;
    Post(clear, BM_CLICK);
    WaitSleep();
    return c.doneStatus;
  }
  if (kind == Clearance::kFix) {
    SetTextOf(edit, text);
    WaitSleep();
    Post(enter, BM_CLICK);
    WaitSleep();
    return c.doneStatus;
  }
  const LRESULT index = text.empty() ? LB_ERR
                                     : Send(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(text.c_str()));
  if (index == LB_ERR || index < 0) {
    // Nothing is confirmed: the window stays open for the controller.
    return std::string(kind == Clearance::kSpeed ? "speed " : "level ") + text +
           " not found - not cleared";
  }
  Send(list, LB_SETCURSEL, static_cast<WPARAM>(index));
  WaitSleep();
  Post(ok, BM_CLICK);
  WaitSleep();
  return c.doneStatus;
}

std::string Win32Automation::OccupiedArea(std::string_view argument) {
  const OccupiedAreaArgs a = ParseOccupiedArea(argument);
  if (a.name.empty()) return "";
  HWND main = FindIvacWindow();
  if (main == nullptr) return "unable to detect IvAc";
  if (!FrontForInput(main)) return std::string(kIvacNotInFront);
  WaitSleep();
  // The clicks land on whatever window is at the point: it must be IvAc's,
  // and IvAc must still be in front.
  const POINT at{a.horizontal, a.vertical};
  auto onIvac = [&] {
    HWND w = WindowFromPoint(at);
    return w != nullptr && GetAncestor(w, GA_ROOT) == main;
  };
  if (!onIvac()) {
    return "OCA point " + DecimalText(a.vertical) + "," + DecimalText(a.horizontal) +
           " is not on IvAc - nothing clicked";
  }
  if (!StillInFront(main)) return std::string(kIvacNotInFront);

  CursorRestore pointer(*input_);
  input_->SetCursor(a.horizontal, a.vertical);
  input_->RightClick();
  WaitSleep();
  if (!onIvac() || !StillInFront(main)) {
    notInFront_ = true;
    return std::string(kIvacNotInFront);
  }
  input_->LeftClick();
  // IvAc takes posted commands before pending input: let the click reach the
  // map before the command that uses the point it marks.
  WaitSleep();
  Post(main, WM_COMMAND, kCmdAddOccupiedArea, 0);
  WaitSleep();
  DoEvents();

  HWND dialog = AwaitWindow([] { return FindWindowA("#32770", "Add Occupied Area"); });
  if (dialog == nullptr) return "unable to detect OCA subwindow ";
  HWND edit = ChildOf(dialog, "Edit");
  HWND ok = ChildOf(dialog, "Button", "OK");
  HWND cancel = ChildOf(dialog, "Button", "Cancel");
  if (edit == nullptr || ok == nullptr || cancel == nullptr) {
    return "unable to detect WAYPOINT window elements";
  }
  SetTextOf(edit, a.name);
  WaitSleep();
  Post(ok, BM_CLICK);
  WaitSleep();
  return "Cleared to Fix - done";
}

// ------------------------------------------------------- map view, placement

std::string Win32Automation::DotCommand(std::string_view command) {
  HWND line = Lookup(kKeyText);
  if (line == nullptr) return "unable to find Edit window";
  const std::string text(command);
  SetTextOf(line, text);
  WaitSleep();
  PressEnter(line, [this] { WaitSleep(); });
  return text + " done";
}

std::string Win32Automation::ResetCenterpoint() {
  HWND main = FindIvacWindow();
  if (main == nullptr) return "unable to detect IvAc";
  Post(main, WM_COMMAND, kCmdResetCentre, 0);
  WaitSleep();
  DoEvents();
  return "Centerpoint Reset done";
}

std::string Win32Automation::ColorScheme(std::string_view nameGiven) {
  const std::string name(nameGiven);
  if (TrimSpaces(name).empty()) return name + " - Color Scheme not selected";
  HWND main = FindIvacWindow();
  if (main == nullptr) return "unable to detect IvAc";
  BringToForeground(main);
  Post(main, WM_COMMAND, kCmdColourScheme, 0);
  WaitSleep();
  DoEvents();

  // Other programs' file dialogs have an item 1089 too: only IvAc's own
  // windows count, and the walk skips the other programs' windows.
  DWORD ivacProcess = 0;
  GetWindowThreadProcessId(main, &ivacProcess);
  HWND dialog = AwaitWindow([&]() -> HWND {
    for (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD); top != nullptr;
         top = GetWindow(top, GW_HWNDNEXT)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(top, &owner);
      if (owner != ivacProcess) continue;
      // The same order as a walk of the whole tree: descendants first.
      std::vector<HWND> candidates = FindWindowsLike(top, "*", "*32770");
      if (Like(ClassNameOf(top), "*32770")) candidates.push_back(top);
      for (HWND w : candidates) {
        const std::string caption = CaptionOf(w);
        if (caption == "ATC" || caption == "COMMBox" || caption == "In/Out") continue;
        if (GetDlgItem(w, 1089) != nullptr) return w;
      }
    }
    return nullptr;
  });
  if (dialog == nullptr) return "unable to find Open ColorScheme dialog window";

  BringToForeground(dialog);
  DoEvents();
  WaitSleep();
  HWND combo = ChildOf(ChildOf(dialog, "COMBOBOXEX32"), "COMBOBOX");
  HWND edit = ChildOf(combo, "EDIT");
  if (edit == nullptr) return "unable to find ColorScheme edit window";
  if (ToUpper(ReadWindowText(edit)) != ToUpper(name)) {
    SetTextOf(edit, "");
    DoEvents();
    SetTextOf(edit, name);
    DoEvents();
  }
  bool closed = false;
  for (int attempt = 0; attempt < 4 && !closed; ++attempt) {
    HWND ok = GetDlgItem(dialog, 1);
    if (ok == nullptr) break;
    Post(ok, BM_CLICK);
    DoEvents();
    closed = ReadWindowText(dialog).empty();
  }
  if (!closed) {
    // The clicks are posted: give IvAc time to take them before judging.
    WaitSleep();
    closed = Await([dialog] { return !IsWindow(dialog) || ReadWindowText(dialog).empty(); });
  }
  if (!closed) return "unable to close ColorScheme dialog window";
  return "ColorScheme " + name + " - done";
}

std::string Win32Automation::MoveIvac(std::string_view placement) {
  HWND main = FindIvacWindow();
  if (main == nullptr) return "unable to find IvAc Window";
  // Placing another program's window waits for it: not for a hung one.
  if (!Answers(main)) return std::string(kIvacNotResponding);
  BringToForeground(main);
  const auto p =
      ParsePlacement(placement, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (!p) return "IvAc windows coordinates error";
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(main, &wp);
  if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_SHOWMAXIMIZED) {
    ShowWindowAsync(main, wp.showCmd == SW_SHOWMINIMIZED ? SW_RESTORE : SW_SHOWNORMAL);
    WaitSleep();
    // Answered once IvAc has carried the change out.
    if (!Answers(main)) return std::string(kIvacNotResponding);
    GetWindowPlacement(main, &wp);
  }
  if (wp.showCmd == SW_SHOWNORMAL) {
    SetWindowPos(main, HWND_TOP, p->left, p->top, p->width, p->height,
                 SWP_SHOWWINDOW | SWP_ASYNCWINDOWPOS);
    if (!Answers(main)) return std::string(kIvacNotResponding);
  }
  Wait(HalfWait(sleep_));
  DoEvents();
  return "IvAc Moved ";
}

std::string Win32Automation::ReadIvacPlacement() {
  HWND main = FindIvacWindow();
  if (main == nullptr) return "";
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  RECT r{};
  if (!GetWindowPlacement(main, &wp) || !GetWindowRect(main, &r)) return "";
  return PlacementText({r.top, r.left, r.bottom - r.top, r.right - r.left});
}

// ------------------------------------------------------------------- In/Out

std::string Win32Automation::ExtractLVitems(std::string* problem) {
  if (problem != nullptr) problem->clear();
  if (FindIvacWindow() == nullptr) return "";
  HWND inout = nullptr;
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
       w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
    if (CaptionOf(w) == "In/Out") {  // exactly, letter case included
      inout = w;
      break;
    }
  }
  if (inout == nullptr) return "";
  HWND view = FindWindowExA(inout, nullptr, "SysListView32", nullptr);
  if (view == nullptr) return "";
  HWND header = reinterpret_cast<HWND>(Send(view, LVM_GETHEADER));
  const auto rows = static_cast<int32_t>(Send(view, LVM_GETITEMCOUNT));
  const auto columns = header != nullptr ? static_cast<int32_t>(Send(header, HDM_GETITEMCOUNT)) : 0;
  if (rows <= 0 || columns <= 0) return "";
  DWORD pid = 0;
  GetWindowThreadProcessId(view, &pid);
  const win::Handle process(OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION,
      FALSE, pid));
  if (!process) return "";
  const win::ProcessKind kind = win::KindOfProcess(process.Get());
  if (kind == win::ProcessKind::kUnknown) return "";
  if (kind == win::ProcessKind::k64Bit && win::kThisProcessKind == win::ProcessKind::k32Bit) {
    // Its records and addresses do not fit in this program's.
    if (problem != nullptr) *problem = std::string(kInOutOf64BitIvac);
    return "";
  }
  ProcessListView remote(process.Get(), view);
  std::string items = ReadListViewItems(
      remote, kind == win::ProcessKind::k64Bit ? kItemLayout64 : kItemLayout32, rows, columns);
  SettleUnanswered();  // a reader, not a primitive of a run
  return items;
}

}  // namespace qv::ivac
