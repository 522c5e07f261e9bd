#include "helper/win32/frm_macro_helper.h"

#include <chrono>
#include <cstring>
#include <memory>

#include "helper/action_menu.h"
#include "helper/win32/keyboard.h"
#include "ivac/automation.h"
#include "ivac/rules.h"
#include "ivac/win32_search.h"
#include "panels/win32/cmenu.h"
#include "platform/text.h"
#include "platform/win32/input_box.h"

namespace qv::helper {

namespace {

enum ControlId : int {
  kIdAction = 1,
  kIdOnTop = 2,
  kIdDoEvents = 3,
  kIdCopy = 4,
  kIdTxtX = 5,
  kIdInfo = 6,
  kIdApp = 7,
  kIdScrll = 8,
};
constexpr UINT_PTR kTimer1 = 1;

int Scale(int v) {
  static const int dpi = [] {
    HDC dc = GetDC(nullptr);
    const int d = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return d;
  }();
  return MulDiv(v, dpi, 96);
}

void Place(HWND w, int x, int y, int cx, int cy) {
  MoveWindow(w, Scale(x), Scale(y), Scale(cx), Scale(cy), FALSE);
}

// GetTheParentWindowHandle: the top-level ancestor, following GetParent.
HWND GetTheParentWindowHandle(HWND w) {
  win::DoEvents();
  for (HWND up = GetParent(w); up != nullptr; up = GetParent(w)) w = up;
  return w;
}

DWORD ProcessOf(HWND w) {
  DWORD pid = 0;
  if (w) GetWindowThreadProcessId(w, &pid);
  return pid;
}

struct FindVisible {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisibleOf(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindVisible*>(lp);
  if (IsWindowVisible(w) && ProcessOf(w) == f->pid && GetWindow(w, GW_OWNER) == nullptr) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

// A list-box entry of another process; Wine may answer in UTF-16 across
// processes, so the buffer has room for that and the answer is narrowed.
std::string ListText(HWND list, int index) {
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length < 0) return {};
  std::string buffer(static_cast<size_t>(length) * 2 + 2, '\0');
  const LRESULT copied = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(buffer.data()));
  if (copied == LB_ERR || copied < 0) return {};
  const size_t narrow = std::strlen(buffer.c_str());
  if (narrow >= static_cast<size_t>(copied)) return std::string(buffer.c_str());
  return win::Narrow(reinterpret_cast<const wchar_t*>(buffer.data()));
}

bool SetClipboardText(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  bool done = false;
  if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    if (void* p = GlobalLock(mem)) {
      std::memcpy(p, text.c_str(), text.size() + 1);
      GlobalUnlock(mem);
      done = SetClipboardData(CF_TEXT, mem) != nullptr;
    }
    if (!done) GlobalFree(mem);
  }
  CloseClipboard();
  return done;
}

// The action menu as popup menus; the sub-menus live as long as the root.
class ShownMenu {
 public:
  explicit ShownMenu(const MenuNode& root) { Fill(*root_, root); }
  int32_t Track(HWND owner) const { return root_->TrackPopup(owner, -1, -1); }

 private:
  void Fill(panels::CMenu& menu, const MenuNode& node) {
    for (const MenuNode& child : node.children) {
      if (!child.children.empty()) {
        subs_.push_back(std::make_unique<panels::CMenu>());
        panels::CMenu& sub = *subs_.back();
        sub.caption = child.caption;
        Fill(sub, child);
        menu.AddSubmenu(sub);
      } else {
        menu.AddItem(child.id, child.caption);
      }
    }
  }
  // Declared first, destroyed last: the root detaches its sub-menus.
  std::vector<std::unique_ptr<panels::CMenu>> subs_;
  std::unique_ptr<panels::CMenu> root_ = std::make_unique<panels::CMenu>();
};

}  // namespace

MacroHelperWindow::MacroHelperWindow(ivac::Win32Automation& ivac) : ivac_(ivac) {}

MacroHelperWindow::~MacroHelperWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (tooltip_) DestroyWindow(tooltip_);
}

bool MacroHelperWindow::Load() {
  RECT r{0, 0, Scale(320), Scale(244)};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&r, style, FALSE, 0);
  CreateBound("QvMacroHelper", 0, style, kCaption, Scale(80), Scale(80), r.right - r.left,
              r.bottom - r.top, nullptr, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!hwnd_) return false;
  CreateControls();
  LayOut();
  EnableWindow(cmdAction_, FALSE);
  SendMessageA(chkOnTop_, BM_SETCHECK, BST_CHECKED, 0);
  ShowWindow(hwnd_, SW_SHOW);
  ivac::KeepOnTop(hwnd_, true);
  SetTimer(hwnd_, kTimer1, 100, nullptr);
  Timer1_Timer();
  return true;
}

void MacroHelperWindow::CreateControls() {
  imgEditor_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 0, 0, 32, 32,
                               hwnd_, nullptr, win::Instance(), nullptr);
  HICON icon = LoadIconA(win::Instance(), MAKEINTRESOURCEA(1));
  if (!icon) icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // the application icon
  SendMessageA(imgEditor_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  label1_ = win::CreateLabel(
      hwnd_, 0, "click and drag the image on the left to application used as Macro editor ");
  lblApp_ = win::CreateLabel(hwnd_, kIdApp, "Editor for Macro not selected");
  cmdAction_ = win::CreateButton(hwnd_, kIdAction, "Action");
  chkOnTop_ = win::CreateCheckBox(hwnd_, kIdOnTop, "WinOnTop");
  chkDoEvents_ = win::CreateCheckBox(hwnd_, kIdDoEvents, "Compatibility mode");
  frame1_ = win::CreateButton(hwnd_, 0, "Mouse Position ", BS_GROUPBOX);
  txtX_ = win::CreateEdit(hwnd_, kIdTxtX);
  lblScrll_ = win::CreateLabel(hwnd_, kIdScrll, "Last Mouse Position  ");
  cmdCopy_ = win::CreateButton(hwnd_, kIdCopy, "Copy to Clipboard");
  lblInfo_ = win::CreateLabel(hwnd_, kIdInfo, "");
  SetWindowPos(frame1_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  LOGFONTA lf{};
  GetObjectA(win::UiFont(), sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  bold_.Reset(CreateFontIndirectA(&lf));

  tooltip_ = win::CreateTooltip(hwnd_);
  win::AddTool(tooltip_, chkOnTop_, "Set Macro Assistant Window always to foreground");
  win::AddTool(tooltip_, chkDoEvents_,
               "Enable this option to activate alternative sendkey emulation");
  win::AddTool(tooltip_, cmdCopy_, "Copy Mouse Position");
}

void MacroHelperWindow::LayOut() {
  Place(imgEditor_, 12, 12, 32, 32);
  Place(label1_, 56, 8, 256, 30);
  Place(lblApp_, 56, 40, 256, 18);
  Place(cmdAction_, 10, 64, 90, 26);
  Place(chkOnTop_, 112, 62, 190, 20);
  Place(chkDoEvents_, 112, 84, 190, 20);
  Place(frame1_, 8, 110, 304, 88);
  Place(txtX_, 18, 130, 110, 22);
  Place(cmdCopy_, 140, 129, 130, 25);
  Place(lblScrll_, 18, 158, 280, 32);
  Place(lblInfo_, 10, 204, 302, 36);
}

LRESULT MacroHelperWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (id >= kActionCommand) {
        RunAction(id - kActionCommand);
      } else if (id == kIdAction) {
        cmdAction_Click();
      } else if (id == kIdOnTop) {
        chkOnTop_Click();
      } else if (id == kIdCopy) {
        cmdCopy_Click();
      }
      return 0;
    }
    case WM_LBUTTONDOWN: {
      // Pressing on the image starts the drag; releasing anywhere chooses.
      POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT img{};
      GetWindowRect(imgEditor_, &img);
      MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&img), 2);
      if (PtInRect(&img, at)) {
        dragging_ = true;
        SetCapture(hwnd_);
        SetCursor(LoadCursor(nullptr, IDC_CROSS));
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
        POINT at{};
        GetCursorPos(&at);
        GetApplication(at);  // imgEditor_MouseUp
      }
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_TIMER:
      if (wp == kTimer1) Timer1_Timer();
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_CLOSE:
      Form_Unload();
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void MacroHelperWindow::GetApplication(POINT at) {
  HWND under = WindowFromPoint(at);
  if (!under) return;
  HWND top = GetTheParentWindowHandle(under);
  char title[101] = {};
  GetWindowTextA(top, title, sizeof title);
  if (title[0] == '\0') {
    win::SetText(lblApp_, "Editor Application for Macros not found !");
    EnableWindow(cmdAction_, FALSE);
    editorPid_ = 0;
    editorWindow_ = nullptr;
    return;
  }
  if (std::string(title) == kCaption) return;  // dropped on itself
  editorTitle_ = title;
  editorPid_ = ProcessOf(top);
  editorWindow_ = top;
  win::SetText(lblApp_, editorTitle_);
  EnableWindow(cmdAction_, TRUE);
  ShowStatus("");
}

void MacroHelperWindow::cmdAction_Click() {
  if (editorPid_ == 0) return;
  const ShownMenu menu(ActionMenu());
  // A popup menu follows the keyboard only when its owner is in front.
  SetForegroundWindow(hwnd_);
  const int32_t id = menu.Track(hwnd_);
  if (id != 0) PostMessageA(hwnd_, WM_COMMAND, static_cast<WPARAM>(kActionCommand + id), 0);
}

void MacroHelperWindow::RunAction(int32_t id) {
  if (editorPid_ == 0) return;
  switch (KindOf(id)) {
    case ActionKind::kNone:
      return;
    case ActionKind::kMoveIvac: {
      const std::string placement = ivac_.ReadIvacPlacement();
      if (placement.empty()) {
        ShowStatus(std::string(ivac::kIvacNotFound));
        return;
      }
      TypeLine(MoveIvacLine(placement));
      return;
    }
    case ActionKind::kPasteSelected:
    case ActionKind::kPasteUnselected:
      PasteSelection(SelectionCodeOf(id), KindOf(id) == ActionKind::kPasteSelected);
      return;
    case ActionKind::kTypeLine:
      break;
  }
  std::string answer;
  if (const std::optional<Prompt> prompt = PromptOf(id)) {
    const std::optional<std::string> given = win::InputBox(
        hwnd_, prompt->text, std::string(kCaption) + prompt->title, prompt->defaultAnswer);
    if (!given) return;
    answer = *given;
  }
  const std::optional<std::string> line = LineFor(id, answer);
  if (!line) {
    ShowStatus(answer.find('|') != std::string::npos
                   ? "nothing typed: \"|\" would split the script line"
                   : "nothing typed for this answer");
    return;
  }
  TypeLine(*line);
}

bool MacroHelperWindow::EditorOwnsForeground() const {
  return editorPid_ != 0 && ProcessOf(GetForegroundWindow()) == editorPid_;
}

bool MacroHelperWindow::ActivateEditor() {
  HWND target = editorWindow_;
  if (!IsWindow(target) || ProcessOf(target) != editorPid_) {
    FindVisible f{editorPid_, nullptr};
    EnumWindows(FindVisibleOf, reinterpret_cast<LPARAM>(&f));
    target = f.found;
  }
  if (target == nullptr) return false;
  if (EditorOwnsForeground()) return true;
  // The foreground can move on after it came to the editor (a closing input
  // box hands it back to its owner a moment later, later still on a loaded
  // machine), and the system resets the keyboard state as the new window's
  // thread takes it over: a Shift or Control sent before that is dropped. So
  // the editor must hold the foreground for a moment, and is brought back
  // until it does, for two seconds at most.
  constexpr int kHeldTicks = 8, kTickMs = 20;
  const auto start = std::chrono::steady_clock::now();
  int held = 0;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
    if (!EditorOwnsForeground()) {
      held = 0;
      ivac::BringToForeground(target);
    } else if (++held >= kHeldTicks) {
      return true;
    }
    win::DoEvents();
    Sleep(kTickMs);
  }
  return false;
}

void MacroHelperWindow::TypeLine(const std::string& line) {
  if (!ActivateEditor()) {
    ShowStatus("the editor cannot be activated: nothing typed");
    return;
  }
  ClsKeyboard keyboard;
  keyboard.mayType = [this] { return EditorOwnsForeground(); };
  const bool slow = SendMessageA(chkDoEvents_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  const TypeResult r = keyboard.PressString(line + "\r", slow);
  if (r.stopped) {
    ShowStatus("typing stopped: the editor lost the foreground");
  } else {
    ShowStatus(r.skipped.empty() ? line : r.Note());
  }
}

std::vector<std::string> MacroHelperWindow::GetItems(const std::string& code, bool selected,
                                                     std::string& status) {
  std::vector<std::string> items;
  ivac_.GetHandles();
  if (!ivac_.IvacFound()) {
    status = std::string(ivac::kIvacNotFound);
    return items;
  }
  // The toolbar button is left as it was found: reading a list changes
  // nothing in IvAc.
  HWND button = ivac_.Lookup(ivac::ButtonKey(code));
  const bool wasPressed = button && SendMessageA(button, BM_GETCHECK, 0, 0) != 0;
  status = ivac_.DlgOpen(code);
  HWND dialog = ivac_.RememberedDialog();
  if (status.find(" OpenDlg ") == std::string::npos || dialog == nullptr) return items;
  HWND list = ivac::ChildOf(dialog, "Listbox");
  HWND cancel = ivac::ChildOf(dialog, "Button", "&Cancel");
  if (list == nullptr || cancel == nullptr) {
    status = "unable to find " + ivac::DialogCaption(code) + " window elements";
    return items;
  }
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < static_cast<int>(count); ++i) {
    const bool isSelected = SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
    if (isSelected == selected) items.push_back(ListText(list, i));
  }
  // Cancel leaves IvAc's selection as it was.
  PostMessageA(cancel, BM_CLICK, 0, 0);
  for (int i = 0; i < 75 && IsWindow(dialog); ++i) {
    win::DoEvents();
    Sleep(20);
  }
  ivac_.SetButton(code, wasPressed);
  status.clear();
  return items;
}

void MacroHelperWindow::PasteSelection(const std::string& code, bool selected) {
  std::string status;
  const std::vector<std::string> items = GetItems(code, selected, status);
  const std::string block = SelectionBlockText(items, selected);
  if (block.empty()) {
    ShowStatus(status.empty()
                   ? "no " + std::string(selected ? "selected" : "unselected") + " items in " + code
                   : status);
    return;
  }
  if (!SetClipboardText(hwnd_, block)) {
    ShowStatus("the clipboard cannot be written");
    return;
  }
  if (!ActivateEditor()) {
    ShowStatus("the editor cannot be activated: nothing pasted");
    return;
  }
  CSendKeys keys;
  keys.mayType = [this] { return EditorOwnsForeground(); };
  ShowStatus(keys.SendKeys("~(v)") ? "pasted the " + code + " items"
                                   : "typing stopped: the editor lost the foreground");
}

void MacroHelperWindow::chkOnTop_Click() {
  ivac::KeepOnTop(hwnd_, SendMessageA(chkOnTop_, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

void MacroHelperWindow::cmdCopy_Click() { SetClipboardText(hwnd_, win::GetText(txtX_)); }

void MacroHelperWindow::Timer1_Timer() {
  const bool on = (GetKeyState(VK_SCROLL) & 1) != 0;
  if (on) {
    POINT at{};
    GetCursorPos(&at);
    const std::string text = DecimalText(at.x) + "," + DecimalText(at.y);
    if (win::GetText(txtX_) != text) win::SetText(txtX_, text);
  }
  if (on != capturing_ || firstTick_) {
    capturing_ = on;
    firstTick_ = false;
    EnableWindow(txtX_, on);
    win::SetFont(txtX_, on ? bold_.Get() : win::UiFont());
    win::SetText(lblScrll_,
                 on ? "Press ScollLock\nto stop capture" : "Press ScollLock\nto activate capture");
  }
  EnableWindow(cmdCopy_, !TrimSpaces(win::GetText(txtX_)).empty());
}

void MacroHelperWindow::ShowStatus(const std::string& text) { win::SetText(lblInfo_, text); }

void MacroHelperWindow::Form_Unload() {
  KillTimer(hwnd_, kTimer1);
  DestroyWindow(hwnd_);
  // Opened from the command line: the process ends with the window.
  PostQuitMessage(0);
}

}  // namespace qv::helper
