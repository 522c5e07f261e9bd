#include "panels/win32/frm_ivao.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "editor/frm_edit_button.h"
#include "panels/panel_profile.h"
#include "panels/win32/cmenu.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/win32/dpi.h"
#include "remote/win32/remote_client.h"
#include "startup/log.h"

namespace qv::panels {

namespace {

constexpr int kIdExit = 101;
constexpr int kIdMenu = 102;
constexpr int kIdOnTop = 103;
constexpr int kIdInfo = 104;
constexpr int kIdText1 = 105;
constexpr UINT_PTR kTimeOutTimer = 1;
// Connecting waits until the window is shown: the address prompt is a
// window of its own.
constexpr UINT kConnectRemoteMessage = WM_APP + 20;

// Sizes of the control box, in twips.
constexpr int kBoxButtonWidth = 345;
constexpr int kBoxButtonHeight = 285;
constexpr int kInfoHeight = 285;

int Px(int twips) { return win::TwipsToPixelsX(twips); }
int Py(int twips) { return win::TwipsToPixelsY(twips); }

int ScreenWidthTwips() { return win::PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)); }
int ScreenHeightTwips() { return win::PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)); }

std::string ProgramPath() {
  char buf[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return buf;
}

void KeepOnTop(HWND w, bool on) {
  SetWindowPos(w, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Text1 hands Backspace to its window.
LRESULT CALLBACK Text1Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_CHAR && wp == VK_BACK) {
    SendMessageA(reinterpret_cast<HWND>(ref), WM_CHAR, wp, lp);
    return 0;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace

PanelWindow::PanelWindow(App& app, ivac::Automation& ivac)
    : app_(app),
      ivac_(ivac),
      interpreter_(
          ScriptContext{Role::kPanel, app.folders.macro, app.folders.panels, app.settings.debug},
          ivac, *this) {}

PanelWindow::~PanelWindow() {
  remote_.reset();
  tray_.reset();
  if (hwnd_) DestroyWindow(hwnd_);
  if (tooltip_) DestroyWindow(tooltip_);  // top-level, not a child of the panel
}

std::string PanelWindow::PanelFile() const {
  return PanelPath(app_.folders.panels, app_.currentPanel);
}

bool PanelWindow::Load() {
  CreateBound("QuorvexPanel", WS_EX_APPWINDOW, WS_POPUP | WS_CLIPCHILDREN, "Quorvex", 0, 0,
              Px(currentTwips_.cx), Py(currentTwips_.cy), nullptr);
  if (!hwnd_) return false;
  cmdExit_ = win::CreateButton(hwnd_, kIdExit, "X");
  cmdMenu_ = win::CreateButton(hwnd_, kIdMenu, "M");
  chkOnTop_ = win::CreateCheckBox(hwnd_, kIdOnTop, "");
  // No SS_NOTIFY: a press on the status line reaches the window, which drags.
  lblInfo_ = win::CreateLabel(hwnd_, kIdInfo, "", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE);
  text1_ = win::CreateEdit(hwnd_, kIdText1);
  SetWindowSubclass(text1_, Text1Proc, 1, reinterpret_cast<DWORD_PTR>(hwnd_));
  grid_.Create(hwnd_);
  tooltip_ = win::CreateTooltip(hwnd_);
  win::AddTool(tooltip_, cmdExit_, "Exit");
  win::AddTool(tooltip_, cmdMenu_, "Open Function Menu");
  win::AddTool(tooltip_, chkOnTop_, "Set Macro Assistant Window always to foreground");

  grid_.onClick = [this](int index) { cmdCommand_Click(index); };
  grid_.onRightUp = [this](int index, bool altOnly) { OpenMacroFileOrEditor(index, altOnly); };
  grid_.onBackgroundDown = [this] {
    pointerOver_ = false;
    StartDrag();
  };
  grid_.onBackgroundDoubleClick = [this] { ShowControlButtons(); };
  grid_.onMouseMove = [this](bool overButton) {
    if (!overButton) pointerOver_ = true;
  };

  if (app_.settings.debug) Log("FormLoad frmIVAO");
  if (app_.role == "SEND") {
    remote::RemoteClient::Panel panel;
    panel.window = hwnd_;
    panel.showStatus = [this](const std::string& text) { ShowStatus(text); };
    panel.menuColour = [this](COLORREF colour) {
      menuBrush_.Reset(CreateSolidBrush(colour));
      InvalidateRect(cmdMenu_, nullptr, TRUE);
    };
    panel.unload = [this] { PostMessageA(hwnd_, WM_CLOSE, 0, 0); };
    remote_ = std::make_unique<remote::RemoteClient>(app_, std::move(panel));
    // The menu button shows the link's state in its colour, which a themed
    // push button would not paint.
    SendMessageA(cmdMenu_, BM_SETSTYLE, BS_OWNERDRAW, FALSE);
  }
  StartAssistant();
  if (sysTray_) CreateTray();
  ShowWindow(hwnd_, SW_SHOW);
  // The client role connects to its server once the window is up, whether
  // or not the system activates it.
  if (remote_) PostMessageA(hwnd_, kConnectRemoteMessage, 0, 0);
  return true;
}

void PanelWindow::CreateTray() {
  tray_ = std::make_unique<SysTray>();
  trayTitle_ = tray_->AddMenuItem("Panel: " + app_.currentPanel, "none", true);
  tray_->AddMenuItem("-", "");
  trayStd_ = tray_->AddMenuItem("Window Standard", "std");
  trayOnTop_ = tray_->AddMenuItem("Window On Top", "ontop");
  tray_->AddMenuItem("-", "");
  trayPrev_ = tray_->AddMenuItem("Previous Panel", "prev");
  tray_->AddMenuItem("Close Menu", "close");
  tray_->AddMenuItem("-", "");
  tray_->AddMenuItem("Exit", "exit");
  tray_->SetToolTip("Quorvex - " + win::GetText(hwnd_));

  tray_->MenuClick = [this](int, const std::string& key) {
    if (key == "ontop") {
      SetOnTop(true);
    } else if (key == "std") {
      SetOnTop(false);
    } else if (key == "prev" || key == "exit") {
      cmdExit_Click();
    }
  };
  tray_->SysTrayDoubleClick = [this](int) {
    KeepOnTop(hwnd_, true);
    ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    KeepOnTop(hwnd_, onTop_);
  };
  tray_->SysTrayMouseDown = [this](int button) {
    if (button != 2) return;
    tray_->SetMenuCaption(trayTitle_, "Panel: " + win::GetText(hwnd_));
    tray_->EnableMenuItem(trayOnTop_, !onTop_);
    tray_->EnableMenuItem(trayStd_, onTop_);
    tray_->EnableMenuItem(trayPrev_, win::GetText(cmdExit_) == "<");
    tray_->ShowMenu();
  };

  // No taskbar button while the icon stands for the window.
  ShowWindow(hwnd_, SW_HIDE);
  LONG ex = GetWindowLongA(hwnd_, GWL_EXSTYLE);
  ex = (ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW;
  SetWindowLongA(hwnd_, GWL_EXSTYLE, ex);
}

int PanelWindow::ControlRowBottom() const { return 1 + Py(kBoxButtonHeight); }

void PanelWindow::PlaceControlRow() {
  const int bw = Px(kBoxButtonWidth), bh = Py(kBoxButtonHeight);
  MoveWindow(cmdExit_, 1, 1, bw, bh, TRUE);
  const int menuLeft = 1 + bw + 4;
  MoveWindow(cmdMenu_, menuLeft, 1, bw, bh, TRUE);
}

void PanelWindow::StartAssistant() {
  PlaceControlRow();
  const bool hasPrevious = !interpreter_.PanelStack().empty();
  win::SetText(cmdExit_, hasPrevious ? "<" : "X");
  win::SetToolText(tooltip_, cmdExit_, hasPrevious ? "Previous Assistant" : "Exit");

  Imposta();

  RECT wr{};
  GetWindowRect(hwnd_, &wr);
  const int windowWidth = wr.right - wr.left;
  const int bw = Px(kBoxButtonWidth);
  const int menuRight = 1 + bw + 4 + bw;
  // The keep-on-top box sits at the right end of the control row.
  const int check = GetSystemMetrics(SM_CXMENUCHECK) + 2;
  const int infoWidth = std::max(0, windowWidth - (menuRight + 6) - check);
  MoveWindow(lblInfo_, menuRight + 4, 2, infoWidth, Py(kInfoHeight), TRUE);
  MoveWindow(chkOnTop_, windowWidth - check - 1, 1 + (Py(kBoxButtonHeight) - check) / 2, check,
             check, TRUE);

  ShowStatus("Running panel: " + app_.currentPanel);
  startTime_ = GetTickCount64();
  if (autoHide_)
    SetTimer(hwnd_, kTimeOutTimer, 500, nullptr);
  else
    KillTimer(hwnd_, kTimeOutTimer);
  if (tray_) tray_->SetToolTip("Quorvex - " + win::GetText(hwnd_));
}

void PanelWindow::Imposta() {
  // Hiding hands the activation to another window; a panel that had it (a
  // switch from its menu or keyboard) takes it back once shown again.
  const bool wasActive = GetForegroundWindow() == hwnd_;
  ShowWindow(hwnd_, SW_HIDE);
  const SnapshotReader file(PanelFile());
  setup_ = ReadSetup(file, SetupReader::kRunningPanel);

  if (setup_.onTop != onTop_) SetOnTop(setup_.onTop);
  autoHide_ = setup_.autoHide;
  sysTray_ = setup_.sysTray;
  win::SetText(hwnd_, app_.currentPanel + " - " + setup_.description);

  back_ = PanelColor(setup_.backColor);
  backBrush_.Reset(CreateSolidBrush(back_));
  grid_.SetBackColor(back_);
  InvalidateRect(hwnd_, nullptr, TRUE);

  app_.layout.spacingX = setup_.spacingX;
  app_.layout.spacingY = setup_.spacingY;
  app_.layout.borderTop = setup_.borderTop;
  app_.layout.borderLeft = setup_.borderLeft;

  // Position: the file's, or the default rule on the window's present size
  // (the previous panel's window, with its control row when it shows).
  if (layouts_ > 0) {
    RECT now{};
    GetWindowRect(hwnd_, &now);
    currentTwips_ =
        SIZE{win::PixelsToTwipsX(now.right - now.left), win::PixelsToTwipsY(now.bottom - now.top)};
  }
  const int topTw = setup_.top ? *setup_.top : DefaultTop(ScreenWidthTwips(), currentTwips_.cy);
  const int leftTw =
      setup_.left ? *setup_.left : DefaultLeft(ScreenHeightTwips(), currentTwips_.cx);
  const int widthTw = GridWidth(setup_);
  const int heightTw = GridHeight(setup_);
  // A size that would come out negative is not applied.
  if (widthTw >= 0) currentTwips_.cx = widthTw;
  if (heightTw >= 0) currentTwips_.cy = heightTw;

  const WindowOrigin at = KeepOnScreen({topTw, leftTw}, currentTwips_.cx, currentTwips_.cy,
                                       ScreenWidthTwips(), ScreenHeightTwips());
  const int top = at.top, left = at.left;

  gridPx_ = SIZE{Px(currentTwips_.cx), Py(currentTwips_.cy)};
  SetWindowPos(hwnd_, nullptr, Px(left), Py(top), gridPx_.cx, gridPx_.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  MoveWindow(grid_.Hwnd(), 0, 0, gridPx_.cx, gridPx_.cy, FALSE);
  MoveWindow(text1_, gridPx_.cx + Px(500), gridPx_.cy + Py(500), 20, 20, FALSE);

  // The grid: one button per cell, row by row.
  const int count = ButtonCount(setup_);
  grid_.SetButtons(LayOutGrid(file, setup_, GridMode::kRunning));
  kept_.assign(static_cast<size_t>(count) + 1, 0);
  ++layouts_;

  // The control box goes in before the window shows, so that the grid never
  // flashes at the top.
  ShowControlButtons();
  ShowWindow(hwnd_, SW_SHOWNA);
  // Wine drops the topmost state of a window that was hidden when it got
  // it; once shown the window takes it for good.
  if (onTop_) KeepOnTop(hwnd_, true);
  if (wasActive) {
    SetForegroundWindow(hwnd_);
    SetFocus(text1_);
  }
}

void PanelWindow::ShowControlButtons() {
  hideReference_ = 0;
  controlsVisible_ = true;
  const int row = ControlRowBottom();
  SetWindowPos(hwnd_, nullptr, 0, 0, gridPx_.cx, row + gridPx_.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  MoveWindow(grid_.Hwnd(), 0, row, gridPx_.cx, gridPx_.cy, TRUE);
  for (HWND w : {chkOnTop_, cmdExit_, cmdMenu_, lblInfo_}) ShowWindow(w, SW_SHOWNA);
}

void PanelWindow::HideControlButtons() {
  for (HWND w : {chkOnTop_, cmdExit_, cmdMenu_, lblInfo_}) ShowWindow(w, SW_HIDE);
  controlsVisible_ = false;
  MoveWindow(grid_.Hwnd(), 0, 0, gridPx_.cx, gridPx_.cy, TRUE);
  hideReference_ = 0;
  SetWindowPos(hwnd_, nullptr, 0, 0, gridPx_.cx, gridPx_.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PanelWindow::SetOnTop(bool on) {
  onTop_ = on;
  Button_SetCheck(chkOnTop_, on ? BST_CHECKED : BST_UNCHECKED);
  KeepOnTop(hwnd_, on);
}

void PanelWindow::SetAutoHide(bool on) {
  autoHide_ = on;
  if (on) {
    SetTimer(hwnd_, kTimeOutTimer, 500, nullptr);
    return;
  }
  KillTimer(hwnd_, kTimeOutTimer);
  if (!controlsVisible_) ShowControlButtons();
}

void PanelWindow::cmdCommand_Click(int index) {
  // One run at a time: a click that arrives while a script runs (the
  // automation lets pending events run) is not taken.
  if (interpreter_.Running()) return;
  GridButton* b = grid_.Button(index);
  if (!b || !b->enabled) return;
  const std::string file = PanelFile();
  const int32_t type = static_cast<int32_t>(ReadButtonType(ProfileReader(file), index));
  // The button is a check box: every click flips its value.
  const bool latched = !b->pressed;
  b->pressed = latched;
  grid_.Invalidate(index);
  UpdateWindow(grid_.Hwnd());
  const int layout = layouts_;

  RunButtonScript(index, type, latched);

  if (!hwnd_ || closing_) return;
  // A script that switched the panel leaves the new panel's buttons alone.
  if (layout == layouts_) {
    if (GridButton* now = grid_.Button(index)) {
      if (type == 1) {
        int16_t& kept = kept_[static_cast<size_t>(index)];
        kept = kept == 0 ? 1 : 0;
        ReloadButton(index, kept == 1);
        now->pressed = false;
      } else if (type == 2) {
        ReloadButton(index, now->pressed);
      } else {
        now->pressed = false;
      }
      grid_.Invalidate(index);
    }
  }
  SetFocus(text1_);
  if (app_.role != "SEND" && activateIvac) {
    activateIvac();
    // IvAc came to the front; a panel that stays on top must be seen above
    // it. Wine without a window manager raises IvAc's window over every
    // other one and restacks a window only when its z-order really changes,
    // so the panel leaves the topmost band for a moment and comes back.
    if (onTop_) {
      KeepOnTop(hwnd_, false);
      KeepOnTop(hwnd_, true);
    }
  }
}

void PanelWindow::RunButtonScript(int index, int32_t type, bool latchedDown) {
  const std::string file = PanelFile();
  const bool keptOn =
      kept_.size() > static_cast<size_t>(index) && kept_[static_cast<size_t>(index)];
  const std::string_view key = MacroKeyFor(type, keptOn, latchedDown);
  const std::string value = TrimSpaces(ProfileReader(file).Read(SectionName(index), key, ""));
  if (value.empty()) return;
  if (app_.role == "SEND" && SendsToRemote(value)) {
    // The client hands the value to the server; nothing runs here.
    if (remote_) remote_->SendDataToRemote(value);
    return;
  }
  const ScriptSource source = ResolveMacro(value, app_.folders.macro);
  switch (source.kind) {
    case ScriptSource::Kind::kMissingFile:
      win::Message(hwnd_, FileNotFoundText(source.path), win::GetText(hwnd_), MB_OK | MB_ICONERROR);
      return;
    case ScriptSource::Kind::kUnreadable:
      win::Message(hwnd_, FileUnreadableText(source.path), win::GetText(hwnd_),
                   MB_OK | MB_ICONERROR);
      return;
    case ScriptSource::Kind::kTooLarge:
    case ScriptSource::Kind::kNotAFile:
      win::Message(hwnd_, FileRefusedText(source), win::GetText(hwnd_), MB_OK | MB_ICONERROR);
      return;
    case ScriptSource::Kind::kEmpty:
      return;
    case ScriptSource::Kind::kInline:
    case ScriptSource::Kind::kFile:
      if (!source.script.empty())
        interpreter_.Execute(source.script,
                             source.kind == ScriptSource::Kind::kFile ? source.path : "");
      return;
  }
}

void PanelWindow::ReloadButton(int index, bool downLook) {
  GridButton* b = grid_.Button(index);
  if (!b) return;
  const RECT old = b->rect;
  ReloadLook(*b, ProfileReader(PanelFile()), index, downLook, setup_, GridMode::kRunning);
  InvalidateRect(grid_.Hwnd(), &old, FALSE);
  grid_.Invalidate(index);
}

void PanelWindow::OpenMacroFileOrEditor(int index, bool altOnly) {
  const std::string value =
      TrimSpaces(ProfileReader(PanelFile()).Read(SectionName(index), "macro", ""));
  if (!altOnly || value.empty() || value[0] == '|') {
    if (altOnly && value.empty()) return;
    // The button editor, modal over this window; a saved button shows its
    // new look at once (a hidden one disappears).
    if (!editor::EditButton(hwnd_, PanelFile(), app_.folders.macro, index)) return;
    const GridButton* b = grid_.Button(index);
    const bool down =
        (b && b->pressed) || (static_cast<size_t>(index) < kept_.size() && kept_[index] == 1);
    ReloadButton(index, down);
    return;
  }
  const std::string path = app_.folders.macro + "\\" + value;
  ShellExecuteA(hwnd_, "open", path.c_str(), nullptr, app_.folders.macro.c_str(), SW_SHOWNORMAL);
  win::DoEvents();
}

void PanelWindow::cmdExit_Click() {
  if (win::GetText(cmdExit_) == "X")
    PostMessageA(hwnd_, WM_CLOSE, 0, 0);
  else
    PreviousAssistant();
  SetFocus(text1_);
}

void PanelWindow::PreviousAssistant() { interpreter_.PreviousAssistant(); }

bool PanelWindow::OpenAssistant(const std::string& name) {
  return interpreter_.OpenAssistant(name);
}

void PanelWindow::cmdMenu_Click() {
  SetFocus(text1_);
  KillTimer(hwnd_, kTimeOutTimer);
  CMenu menu;
  menu.AddItem(kMenuPrevious, "Previous Assistant", false, false, false,
               interpreter_.PanelStack().empty());
  menu.AddItem(kMenuOnTop, "WinOnTop", false, onTop_);
  menu.AddItem(kMenuAutoHide, "AutoHide ControlBox", false, autoHide_);
  if (app_.role == "SEND") {
    menu.AddItem(0, "-");
    menu.AddItem(kMenuConnect, "Connect");
    menu.AddItem(kMenuDisconnect, "Disconnect");
    menu.AddItem(0, "-");
  }
  menu.AddItem(kMenuExit, "Exit");
  const int32_t chosen = menu.TrackPopup(hwnd_, -1, -1, cmdMenu_);
  if (autoHide_) SetTimer(hwnd_, kTimeOutTimer, 500, nullptr);
  switch (chosen) {
    case kMenuPrevious:
      PreviousAssistant();
      break;
    case kMenuOnTop:
      SetOnTop(!onTop_);
      break;
    case kMenuExit:
      PostMessageA(hwnd_, WM_CLOSE, 0, 0);
      break;
    case kMenuAutoHide:
      SetAutoHide(!autoHide_);
      break;
    case kMenuConnect:
      if (remote_) remote_->ConnectRemote();
      break;
    case kMenuDisconnect:
      if (remote_) remote_->CloseRemoteConnection();
      break;
    default:
      break;
  }
}

void PanelWindow::DrawMenuButton(const DRAWITEMSTRUCT& d) {
  RECT r = d.rcItem;
  FillRect(d.hDC, &r, menuBrush_ ? menuBrush_.Get() : GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(d.hDC, &r, (d.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  SetBkMode(d.hDC, TRANSPARENT);
  SetTextColor(d.hDC, RGB(0, 0, 0));
  const std::string caption = win::GetText(cmdMenu_);
  DrawTextA(d.hDC, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PanelWindow::tmrTimeOut_Timer() {
  POINT pt{};
  GetCursorPos(&pt);
  const HWND under = WindowFromPoint(pt);
  bool ours = under == hwnd_ || under == chkOnTop_ || under == cmdExit_ || under == cmdMenu_;
  if (under == grid_.Hwnd()) {
    // A grid button under the pointer counts as away from the surface.
    POINT client = pt;
    ScreenToClient(grid_.Hwnd(), &client);
    ours = grid_.HitTest(client) == 0;
  }
  if (!ours) pointerOver_ = false;
  if (!autoHide_) return;
  const int64_t s =
      static_cast<int64_t>(GetTickCount64() / 1000) - static_cast<int64_t>(startTime_ / 1000);
  if (!controlsVisible_) {
    if (pointerOver_) {
      if (hideReference_ == 0) hideReference_ = s;
      if (s - hideReference_ == 1) ShowControlButtons();
    } else {
      hideReference_ = 0;
    }
  } else {
    if (!pointerOver_) {
      if (hideReference_ == 0) hideReference_ = s;
      if (s - hideReference_ == 1) HideControlButtons();
    } else {
      hideReference_ = 0;
    }
  }
}

void PanelWindow::StartDrag() {
  ReleaseCapture();
  SendMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void PanelWindow::Form_Unload() {
  tray_.reset();
  if (remote_) remote_->CloseRemoteConnection();
  const std::string line = TrimSpaces(app_.commandLine);
  if (!line.empty()) {
    if (app_.settings.debug) Log("END after Commandline " + app_.commandLine);
  } else if (app_.settings.debug) {
    Log("FormUnload frmIVAO");
  }
  // Closing ends the window's message loop: the program's, or the panel
  // manager's run in this process, which then shows the manager again.
  PostQuitMessage(0);
}

// ScriptHost ------------------------------------------------------------

void PanelWindow::ShowStatus(std::string_view text) {
  status_ = std::string(text);
  win::SetText(lblInfo_, status_);
  UpdateWindow(lblInfo_);
}

std::string PanelWindow::StatusText() const { return status_; }

void PanelWindow::Log(std::string_view line) { LogLine(app_.folders.base, line); }

std::string PanelWindow::CurrentPanel() const { return app_.currentPanel; }

void PanelWindow::ShowPanel(std::string_view name) {
  // The interpreter has logged the switch ("Assistant=" + name).
  app_.currentPanel = std::string(name);
  StartAssistant();
}

void PanelWindow::CloseWindow() { PostMessageA(hwnd_, WM_CLOSE, 0, 0); }

void PanelWindow::EndProgram() {
  // No ghost icon and no half-open link survive the end.
  tray_.reset();
  ExitProcess(0);
}

void PanelWindow::StartPanelProcess(std::string_view panel) {
  const std::string exe = ProgramPath();
  const std::string folder = files::FolderOf(exe);
  ShellExecuteA(hwnd_, "Open", exe.c_str(), std::string(panel).c_str(), folder.c_str(),
                SW_SHOWNORMAL);
}

int64_t PanelWindow::ShellOpen(std::string_view file, std::string_view parameters) {
  const std::string folder = files::FolderOf(ProgramPath());
  const HINSTANCE r = ShellExecuteA(hwnd_, "open", std::string(file).c_str(),
                                    std::string(parameters).c_str(), folder.c_str(), SW_SHOWNORMAL);
  return static_cast<int64_t>(reinterpret_cast<INT_PTR>(r));
}

// Messages ---------------------------------------------------------------

LRESULT PanelWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kIdExit:
          if (HIWORD(wp) == BN_CLICKED) cmdExit_Click();
          return 0;
        case kIdMenu:
          if (HIWORD(wp) == BN_CLICKED) cmdMenu_Click();
          return 0;
        case kIdOnTop:
          if (HIWORD(wp) == BN_CLICKED) SetOnTop(Button_GetCheck(chkOnTop_) == BST_CHECKED);
          return 0;
        default:
          break;
      }
      break;
    case WM_TIMER:
      if (wp == kTimeOutTimer) tmrTimeOut_Timer();
      return 0;
    case WM_CHAR:
      if (wp == VK_BACK && win::GetText(cmdExit_) == "<") cmdExit_Click();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      StartDrag();
      return 0;
    case WM_MOUSEMOVE:
      pointerOver_ = true;
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && firstActivation_) {
        firstActivation_ = false;
        if (firstActivation) firstActivation();
      }
      break;
    case WM_KILLFOCUS:
      pointerOver_ = false;
      break;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, backBrush_.Get());
      return 1;
    }
    case kConnectRemoteMessage:
      if (remote_) remote_->ConnectRemote();
      return 0;
    case WM_DRAWITEM:
      if (wp == kIdMenu) {
        DrawMenuButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
      }
      break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, back_);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(backBrush_.Get());
    }
    case WM_CLOSE:
      if (interpreter_.Running()) {
        // Closing waits for the running script to end.
        interpreter_.RequestClose();
        return 0;
      }
      closing_ = true;
      Form_Unload();
      DestroyWindow(hwnd_);
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace qv::panels
