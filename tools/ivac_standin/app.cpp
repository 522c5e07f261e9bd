#include "tools/ivac_standin/app.h"

#include "platform/text.h"
#include "tools/ivac_standin/resource.h"

#include <commctrl.h>

#include <algorithm>

namespace qv::standin {

namespace {

// IvAc's colour schemes as the stand-in draws them.
struct NamedPalette {
  const char* name;
  Palette palette;
};
const NamedPalette kPalettes[] = {
    {"Default",
     {RGB(20, 32, 44), RGB(44, 66, 84), RGB(150, 170, 185), RGB(90, 230, 120), RGB(255, 230, 90),
      RGB(120, 160, 220), RGB(200, 90, 90)}},
    {"Night",
     {RGB(4, 6, 10), RGB(24, 30, 38), RGB(110, 120, 130), RGB(70, 170, 95), RGB(230, 190, 70),
      RGB(80, 110, 160), RGB(160, 60, 60)}},
    {"Classic",
     {RGB(0, 40, 20), RGB(0, 80, 40), RGB(160, 200, 160), RGB(230, 230, 230), RGB(255, 255, 0),
      RGB(120, 200, 200), RGB(220, 120, 60)}},
    {"High contrast",
     {RGB(0, 0, 0), RGB(90, 90, 90), RGB(255, 255, 255), RGB(0, 255, 0), RGB(255, 255, 0),
      RGB(0, 200, 255), RGB(255, 60, 60)}},
};

const NamedPalette* FindPalette(std::string_view name) {
  for (const NamedPalette& p : kPalettes)
    if (EqualsNoCase(p.name, name)) return &p;
  return nullptr;
}

// The hot keys and the sub-window each opens.
struct HotKey {
  UINT vk;
  const char* name;
  SubWindow window;
};
const HotKey kHotKeys[] = {
    {VK_MULTIPLY, "MULTIPLY", SubWindow::kLevel},
    {VK_F7, "F7", SubWindow::kSpeed},
    {VK_ADD, "ADD", SubWindow::kFix},
};

const char* SubWindowName(SubWindow kind) {
  switch (kind) {
    case SubWindow::kLevel:
      return "level";
    case SubWindow::kSpeed:
      return "speed";
    case SubWindow::kFix:
      return "fix";
    case SubWindow::kAtc:
      return "atc";
    default:
      return "";
  }
}

}  // namespace

App& App::Get() {
  static App app;
  return app;
}

const Palette& App::palette() const {
  const NamedPalette* p = FindPalette(state_.scheme);
  return p ? p->palette : kPalettes[0].palette;
}

void App::Log(std::string_view event, const std::vector<Field>& fields) {
  log_.Write(event, fields);
}

bool App::ButtonPressed(std::string_view code) const {
  return state_.pressed.count(std::string(code)) != 0;
}

int App::ButtonIndex(std::string_view code) const {
  for (int i = 0; i < kToolbarCount; ++i)
    if (code == kToolbarCodes[i]) return i;
  return -1;
}

void App::AddDialog(HWND dialog) { dialogs_.push_back(dialog); }
void App::RemoveDialog(HWND dialog) {
  dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), dialog), dialogs_.end());
}

void App::CreateFonts() {
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  ui_font_.Reset(CreateFontIndirectA(&ncm.lfMessageFont));
  LOGFONTA lf{};
  lf.lfHeight = -Scale(12);
  lf.lfWeight = FW_NORMAL;
  lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
  map_font_.Reset(CreateFontIndirectA(&lf));
  lf.lfHeight = -Scale(13);
  lf.lfWeight = FW_BOLD;
  lstrcpynA(lf.lfFaceName, "Courier New", LF_FACESIZE);
  label_font_.Reset(CreateFontIndirectA(&lf));
}

bool App::Start(HINSTANCE instance, const State& state, const std::string& log_path,
                const std::vector<std::string>& config_errors) {
  instance_ = instance;
  state_ = state;
  state_.Normalise();
  if (!log_.Open(log_path)) return false;
  log_.SetObserver([this](const std::string& line) {
    // The status bar shows the last event without its sequence number and time.
    const size_t event = line.find("\"event\":");
    last_line_ = event == std::string::npos ? line : line.substr(event, line.size() - event - 1);
    RefreshStatus();
  });

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_TAB_CLASSES |
                                           ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES |
                                           ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  CreateFonts();

  for (const std::string& e : config_errors) Log("config_error", {{"error", e}});

  main_ = CreateMainWindow(*this);
  if (!main_) return false;
  rebar_ = FindWindowExA(main_, nullptr, REBARCLASSNAMEA, nullptr);
  toolbar_ = rebar_ ? FindWindowExA(rebar_, nullptr, "#32770", nullptr) : nullptr;
  for (int i = 0; i < kToolbarCount; ++i)
    buttons_[i] = toolbar_ ? GetDlgItem(toolbar_, kFirstButtonId + i) : nullptr;
  radar_ = FindWindowExA(main_, nullptr, "IvAcRadarView", nullptr);
  status_ = FindWindowExA(main_, nullptr, STATUSCLASSNAMEA, nullptr);
  UpdateConnectButton();

  if (state_.commbox_open) OpenCommBox();
  if (state_.inout_open) OpenInOut();
  hook_ = InstallShiftHook();

  ShowWindow(main_, SW_SHOWNORMAL);
  UpdateWindow(main_);
  SetForegroundWindow(main_);
  const RECT r = ScreenRect(main_);
  last_main_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  last_main_state_ = "normal";
  started_ = true;

  Log("ready", {{"pid", static_cast<int64_t>(GetCurrentProcessId())},
                {"main", static_cast<int64_t>(reinterpret_cast<uintptr_t>(main_))},
                {"caption", WindowText(main_)},
                {"connected", state_.connected},
                {"selected", state_.selected}});
  RefreshStatus();
  return true;
}

int App::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // Messages that arrive through the queue are the ones another program
    // posted (or real input): WM_KILLFOCUS seen here was posted, since the
    // system sends the real one.
    if (msg.message == WM_KILLFOCUS) OnPostedKillFocus(msg.hwnd);
    if (msg.message == kHangMessage && msg.hwnd == main_) {
      Log("hang", {{"ms", static_cast<int64_t>(msg.wParam)}});
      Sleep(static_cast<DWORD>(msg.wParam));
      Log("hang_over");
      continue;
    }
    // A key-down whose repeat bit says the key was down already is not a new
    // press: a hot key left down acts once, as in a plain program.
    if (msg.message == WM_KEYDOWN && msg.hwnd && GetAncestor(msg.hwnd, GA_ROOT) == main_ &&
        OnHotKey(static_cast<UINT>(msg.wParam), (msg.lParam & (1L << 30)) != 0))
      continue;
    bool done = false;
    for (HWND d : dialogs_) {
      if (IsWindow(d) && (d == msg.hwnd || IsChild(d, msg.hwnd)) && IsDialogMessageA(d, &msg)) {
        done = true;
        break;
      }
    }
    if (done) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  RemoveShiftHook();
  Log("exit");
  return static_cast<int>(msg.wParam);
}

// ---------------------------------------------------------------------------
// Control channel

bool App::Control(std::string_view text) {
  const State before = state_;
  State next = state_;
  const std::vector<std::string> errors = ApplySettings(next, text);
  next.Normalise();
  Log("control", {{"text", std::string(text)}, {"errors", errors}});
  state_ = next;
  Reconcile(before);
  if (state_.hang_ms > 0) {
    // The hang starts once the control message has been answered.
    PostMessageA(main_, kHangMessage, static_cast<WPARAM>(state_.hang_ms), 0);
    state_.hang_ms = 0;
  }
  return errors.empty();
}

void App::Reconcile(const State& before) {
  const State& now = state_;
  if (now.Caption() != before.Caption()) SetText(main_, now.Caption());
  if (now.connected != before.connected) {
    UpdateConnectButton();
    Log("connection", {{"connected", now.connected}, {"by", "control"}});
  }
  for (int i = 0; i < kToolbarCount; ++i) {
    const bool was = before.pressed.count(kToolbarCodes[i]) != 0;
    const bool is = now.pressed.count(kToolbarCodes[i]) != 0;
    if (was != is) SetButtonCheck(i, is);
  }
  if (now.selected != before.selected) {
    const std::string wanted = now.selected;
    state_.selected = before.selected;  // SelectLabel makes and logs the change
    SelectLabel(wanted, "control");
  }
  if (now.frequencies != before.frequencies && commbox_) {
    SetCommBoxTabs(commbox_, now.frequencies);
    history_.assign(now.frequencies.size() + std::size(kFixedTabs), {});
    current_tab_ = 1;
    ShowCommBoxHistory(commbox_, history_[0]);
  }
  if (now.commbox_open != before.commbox_open) {
    if (now.commbox_open)
      OpenCommBox();
    else if (commbox_)
      DestroyWindow(commbox_);
  }
  if (now.inout_open != before.inout_open) {
    if (now.inout_open)
      OpenInOut();
    else if (inout_)
      DestroyWindow(inout_);
  }
  if (inout_ && (now.inout_rows != before.inout_rows || now.inout_columns != before.inout_columns))
    FillInOut(inout_, now);
  if (!(now.main == before.main))
    SetWindowPos(main_, nullptr, now.main.x, now.main.y, Scale(now.main.w), Scale(now.main.h),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (commbox_ && (now.commbox_x != before.commbox_x || now.commbox_y != before.commbox_y))
    SetWindowPos(commbox_, nullptr, now.commbox_x, now.commbox_y, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  if (inout_ && (now.inout_x != before.inout_x || now.inout_y != before.inout_y))
    SetWindowPos(inout_, nullptr, now.inout_x, now.inout_y, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
  RefreshStatus();
}

// ---------------------------------------------------------------------------
// Status bar and toolbar

void App::RefreshStatus() {
  if (!status_) return;
  const std::string conn =
      state_.connected ? "Connected as " + state_.station : "Offline (" + state_.station + ")";
  const std::string sel =
      state_.selected.empty() ? "No label selected" : "Selected: " + state_.selected;
  SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(conn.c_str()));
  SendMessageA(status_, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(sel.c_str()));
  SendMessageA(status_, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(last_line_.c_str()));
}

void App::SetButtonCheck(int index, bool pressed) {
  if (buttons_[index])
    SendMessageA(buttons_[index], BM_SETCHECK, pressed ? BST_CHECKED : BST_UNCHECKED, 0);
}

void App::UpdateConnectButton() {
  // IvAc shows DISCON on the connect button while it is connected.
  const int i = ButtonIndex("CONNECT");
  if (buttons_[i]) {
    SetText(buttons_[i], state_.connected ? kDisconnectCaption : "CONNECT");
    SetButtonCheck(i, state_.connected);
  }
  SetText(main_, state_.Caption());
}

// Shift as the system holds it while the click is handled: every injected
// Shift event up to now, in order, as Windows keeps the key state. Not
// GetKeyState (the posted click overtakes the queued key event) and, under
// Wine, not GetAsyncKeyState either (reset to the display's keyboard when the
// foreground changes). A Shift released too early, or never, shows.
bool App::ShiftDown() const { return hook_ ? hook_shift_ : GetAsyncKeyState(VK_SHIFT) < 0; }

void App::OnToolbarClicked(int index) {
  HWND button = buttons_[index];
  const std::string code = kToolbarCodes[index];
  const bool pressed = SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
  const bool shift = ShiftDown();
  if (pressed)
    state_.pressed.insert(code);
  else
    state_.pressed.erase(code);
  Log("toolbar", {{"button", code}, {"pressed", pressed}, {"shift", shift}});

  if (code == "CONNECT") {
    state_.connected = pressed;
    UpdateConnectButton();
    Log("connection", {{"connected", state_.connected}, {"by", "toolbar"}});
  } else if (shift) {
    if (const SelectionKind* kind = FindSelectionKind(code)) OpenSelection(*kind);
  }
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
  RefreshStatus();
}

void App::OnPostedKillFocus(HWND hwnd) {
  for (int i = 0; i < kToolbarCount; ++i)
    if (buttons_[i] == hwnd) Log("killfocus", {{"button", kToolbarCodes[i]}});
}

// ---------------------------------------------------------------------------
// Traffic labels

void App::SelectLabel(const std::string& callsign, std::string_view by) {
  if (callsign == state_.selected) return;
  state_.selected = callsign;
  state_.Normalise();
  if (commbox_) SetText(GetDlgItem(commbox_, IDC_COMM_SELECTED), callsign);
  Log("label_selected", {{"callsign", callsign}, {"by", by}});
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
  RefreshStatus();
}

void App::OnMenuCommand(int id) {
  const std::string_view name = MenuCommandName(id);
  if (!name.empty()) Log("menu", {{"id", id}, {"name", name}, {"callsign", state_.selected}});
  switch (id) {
    case kCmdAssume:
    case kCmdRelease:
    case kCmdForceAct:
    case kCmdShowFpl:
    case kCmdRequestFpl:
    case kCmdAddToInOut:
      LabelAction(id);
      break;
    case kCmdTransfer:
      Transfer();
      break;
    case kCmdResetCentre:
      ResetCentre();
      break;
    case kCmdColourScheme:
      if (!scheme_dialog_) {
        scheme_dialog_ = CreateColourSchemeDialog(*this);
        Log("dialog_opened", {{"code", "SCHEME"}, {"caption", WindowText(scheme_dialog_)}});
      }
      SetForegroundWindow(scheme_dialog_);
      break;
    case kCmdAddOccupiedArea:
      TakePendingMapInput();
      if (!marked_) {
        Log("menu_ignored", {{"id", id}, {"reason", "no point marked on the map"}});
        break;
      }
      if (!area_dialog_) {
        area_dialog_ = CreateOccupiedAreaDialog(*this, *marked_);
        Log("dialog_opened", {{"code", "AREA"},
                              {"caption", WindowText(area_dialog_)},
                              {"x", static_cast<int>(marked_->x)},
                              {"y", static_cast<int>(marked_->y)}});
      }
      SetForegroundWindow(area_dialog_);
      break;
    case kCmdOccupiedAreas:
      OpenSelection(*FindSelectionKind("OCN"));
      break;
    case IDM_TOGGLE_CONNECT: {
      const int i = ButtonIndex("CONNECT");
      SendMessageA(buttons_[i], BM_CLICK, 0, 0);
      break;
    }
    case IDM_SHOW_COMMBOX:
      state_.commbox_open = true;
      OpenCommBox();
      break;
    case IDM_SHOW_INOUT:
      state_.inout_open = true;
      OpenInOut();
      break;
    case IDM_LEVEL_WINDOW:
      OnHotKey(VK_MULTIPLY);
      break;
    case IDM_SPEED_WINDOW:
      OnHotKey(VK_F7);
      break;
    case IDM_FIX_WINDOW:
      OnHotKey(VK_ADD);
      break;
    case IDM_ABOUT:
      MessageBoxA(main_,
                  "IvAc stand-in for Quorvex.\n\nIt presents IvAc's windows as Quorvex knows them, "
                  "and logs every effect of a message as one JSON "
                  "line. Select a traffic label by clicking it; Shift+click a map button to open "
                  "its selection dialog.",
                  "About the IvAc stand-in", MB_OK | MB_ICONINFORMATION);
      break;
    case IDM_EXIT:
      DestroyWindow(main_);
      break;
    default:
      if (name.empty()) Log("menu", {{"id", id}, {"name", "unknown"}});
  }
}

void App::LabelAction(int id) {
  const std::string callsign = state_.selected;
  if (callsign.empty()) {
    // IvAc ignores a label command with no label selected.
    Log("menu_ignored", {{"id", id}, {"reason", "no traffic label selected"}});
    return;
  }
  LabelInfo& info = labels_[callsign];
  std::string detail;
  switch (id) {
    case kCmdAssume:
      info.assumed = true;
      break;
    case kCmdRelease:
      info.assumed = false;
      break;
    case kCmdForceAct:
      info.active = true;
      break;
    case kCmdShowFpl:
      detail = "flight plan of " + callsign + " shown";
      break;
    case kCmdRequestFpl:
      info.fpl_requested = true;
      break;
    case kCmdAddToInOut:
      AddToInOut(callsign);
      break;
  }
  Log("label_action", {{"action", MenuCommandName(id)}, {"callsign", callsign}});
  if (!detail.empty() && commbox_) {
    // The flight plan goes to the chat history, as IvAc prints it.
    const std::string line = "FPL " + callsign + ": IFR, cruise " +
                             (info.level.empty() ? std::string("FL350") : info.level);
    history_[current_tab_ - 1].push_back(line);
    ShowCommBoxHistory(commbox_, history_[current_tab_ - 1]);
  }
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
}

void App::AddToInOut(const std::string& callsign) {
  for (const auto& row : state_.inout_rows)
    if (!row.empty() && row[0] == callsign) return;  // already listed
  std::vector<std::string> row{callsign};
  const LabelInfo& info = labels_[callsign];
  while (row.size() < state_.inout_columns.size()) row.push_back("");
  if (row.size() > 4) row[4] = info.level;
  if (row.size() > 5) row[5] = "IN";
  state_.inout_rows.push_back(row);
  if (inout_) FillInOut(inout_, state_);
  Log("inout_added",
      {{"callsign", callsign}, {"rows", static_cast<int>(state_.inout_rows.size())}});
}

void App::Transfer() {
  if (state_.selected.empty()) {
    Log("menu_ignored", {{"id", kCmdTransfer}, {"reason", "no traffic label selected"}});
    return;
  }
  OpenSubWindow(SubWindow::kAtc);
}

void App::ResetCentre() {
  centre_ = "EDDF";
  zoom_ = "100";
  Log("centre_reset", {{"centre", centre_}});
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
}

bool App::OnHotKey(UINT vk, bool repeated) {
  for (const HotKey& k : kHotKeys) {
    if (k.vk != vk) continue;
    if (repeated) {
      Log("hotkey_repeat", {{"key", k.name}});
      return true;
    }
    const bool open = !state_.selected.empty();
    Log("hotkey", {{"key", k.name}, {"callsign", state_.selected}, {"opens", open}});
    if (open) OpenSubWindow(k.window);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Sub-windows

void App::OpenSubWindow(SubWindow kind) {
  // One sub-window at a time, as in IvAc: Quorvex finds them by their
  // children, and the level, speed and fix windows all hold a CLEAR button.
  CloseSubWindow();
  sub_kind_ = kind;
  sub_callsign_ = state_.selected;
  sub_ = CreateSubWindow(*this, kind, sub_callsign_);
  Log("subwindow_opened", {{"window", SubWindowName(kind)}, {"callsign", sub_callsign_}});
  SetForegroundWindow(sub_);
}

void App::CloseSubWindow() {
  if (sub_) {
    HWND w = sub_;
    OnSubWindowClosed(w, "replaced");
    DestroyWindow(w);
  }
}

void App::OnSubWindowValue(SubWindow kind, std::string_view via, const std::string& value) {
  const std::string callsign = sub_callsign_;
  LabelInfo& info = labels_[callsign];
  if (kind == SubWindow::kAtc) {
    info.handed_to = value;
    Log("transfer", {{"callsign", callsign}, {"station", value}});
  } else {
    const char* what = SubWindowName(kind);
    (kind == SubWindow::kLevel   ? info.level
     : kind == SubWindow::kSpeed ? info.speed
                                 : info.fix) = value;
    Log("clearance", {{"kind", what}, {"callsign", callsign}, {"value", value}, {"via", via}});
  }
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
}

void App::OnSubWindowClear(SubWindow kind) {
  const std::string callsign = sub_callsign_;
  LabelInfo& info = labels_[callsign];
  switch (kind) {
    case SubWindow::kLevel:
      info.level.clear();
      break;
    case SubWindow::kSpeed:
      info.speed.clear();
      break;
    case SubWindow::kFix:
      info.fix.clear();
      break;
    case SubWindow::kAtc:
      info.handed_to.clear();
      break;
    default:
      break;
  }
  Log("clearance_cleared", {{"kind", SubWindowName(kind)}, {"callsign", callsign}});
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
}

void App::OnSubWindowAll() { Log("level_list", {{"shown", "all"}}); }

void App::OnSubWindowClosed(HWND hwnd, std::string_view reason) {
  if (hwnd != sub_) return;
  Log("subwindow_closed", {{"window", SubWindowName(sub_kind_)}, {"reason", reason}});
  sub_ = nullptr;
  sub_kind_ = SubWindow::kNone;
}

// ---------------------------------------------------------------------------
// Selection dialogs

void App::OpenSelection(const SelectionKind& kind) {
  HWND& dialog = selections_[kind.code];
  if (!dialog) {
    dialog = CreateSelectionDialog(*this, kind);
    Log("dialog_opened", {{"code", kind.code}, {"caption", kind.caption}});
  }
  SetForegroundWindow(dialog);
}

void App::OnSelectionConfirmed(const std::string& code, const std::vector<std::string>& items) {
  state_.chosen[code] = std::set<std::string>(items.begin(), items.end());
  const SelectionKind* kind = FindSelectionKind(code);
  Log("selection", {{"code", code}, {"caption", kind ? kind->caption : ""}, {"items", items}});
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
}

void App::OnDialogCancelled(HWND dialog, const std::string& code) {
  Log("dialog_cancelled", {{"code", code}});
  DestroyWindow(dialog);
}

void App::OnSelectionButton(const std::string& code, std::string_view button) {
  Log("dialog_button", {{"code", code}, {"button", button}});
}

void App::OnSelectionClosed(const std::string& code) { selections_.erase(code); }

// ---------------------------------------------------------------------------
// Colour scheme and occupied areas

void App::OnColourSchemeConfirmed(const std::string& name) {
  const NamedPalette* p = FindPalette(TrimBlanks(name));
  if (p) state_.scheme = p->name;
  Log("colour_scheme", {{"name", name}, {"known", p != nullptr}});
  if (radar_) InvalidateRect(radar_, nullptr, TRUE);
}

void App::OnColourSchemeClosed() { scheme_dialog_ = nullptr; }

bool App::OnOccupiedAreaConfirmed(const std::string& name) {
  const std::string n = TrimBlanks(name);
  if (n.empty() || !marked_) return false;
  areas_.push_back({n, *marked_});
  auto& list = state_.lists["OCN"];
  if (std::find(list.begin(), list.end(), n) == list.end()) list.push_back(n);
  state_.chosen["OCN"].insert(n);
  Log("occupied_area",
      {{"name", n}, {"x", static_cast<int>(marked_->x)}, {"y", static_cast<int>(marked_->y)}});
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
  return true;
}

void App::OnOccupiedAreaClosed() { area_dialog_ = nullptr; }

// ---------------------------------------------------------------------------
// Map

void App::OnMapRightClick(POINT screen) {
  // A right click on the map marks the point that "Add Occupied Area" uses,
  // as IvAc's context click does; the left click that follows only closes it.
  right_clicked_ = true;
  marked_ = screen;
  Log("map_point", {{"x", static_cast<int>(screen.x)}, {"y", static_cast<int>(screen.y)}});
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
}

void App::OnMapLeftClick(POINT screen, const std::string& label_hit) {
  if (right_clicked_) {
    right_clicked_ = false;
    Log("map_click", {{"button", "left"},
                      {"x", static_cast<int>(screen.x)},
                      {"y", static_cast<int>(screen.y)},
                      {"after_right", true}});
    return;
  }
  if (!label_hit.empty()) SelectLabel(label_hit, "click");
}

void App::TakePendingMapInput() {
  // Quorvex clicks and then posts the menu command at once; a posted message
  // is taken from the queue before input, so the clicks that came first are
  // handled first here.
  MSG m;
  while (radar_ && PeekMessageA(&m, radar_, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
    DispatchMessageA(&m);
}

// ---------------------------------------------------------------------------
// COMMBox

void App::OpenCommBox() {
  if (commbox_) {
    ShowWindow(commbox_, SW_SHOWNORMAL);
    return;
  }
  commbox_ = CreateCommBox(*this, state_.commbox_x, state_.commbox_y);
  SetCommBoxTabs(commbox_, state_.frequencies);
  history_.assign(state_.frequencies.size() + std::size(kFixedTabs), {});
  current_tab_ = 1;
  SetText(GetDlgItem(commbox_, IDC_COMM_SELECTED), state_.selected);
  ShowCommBoxHistory(commbox_, history_[0]);
  ShowWindow(commbox_, SW_SHOWNOACTIVATE);
}

void App::OnCommBoxClosed() {
  commbox_ = nullptr;
  state_.commbox_open = false;
  Log("window_closed", {{"window", "COMMBox"}});
}

void App::OnTabChanged() {
  if (!commbox_) return;
  const int tab = TabCtrl_GetCurSel(GetDlgItem(commbox_, IDC_COMM_TABS)) + 1;
  if (tab == current_tab_ || tab < 1 || tab > static_cast<int>(history_.size())) return;
  current_tab_ = tab;
  std::vector<std::string> names = state_.frequencies;
  for (const char* f : kFixedTabs) names.push_back(f);
  Log("tab_selected", {{"tab", tab}, {"name", names[tab - 1]}});
  ShowCommBoxHistory(commbox_, history_[tab - 1]);
}

void App::OnCommBoxEnter() {
  if (!commbox_) return;
  HWND edit = GetDlgItem(commbox_, IDC_COMM_TEXT);
  const std::string text = WindowText(edit);
  const int tab = current_tab_;
  if (tab < 1 || tab > static_cast<int>(history_.size())) return;
  std::vector<std::string> names = state_.frequencies;
  for (const char* f : kFixedTabs) names.push_back(f);
  if (text.empty()) {
    Log("chat_empty", {{"tab", tab}, {"name", names[tab - 1]}});
    return;
  }
  SetText(edit, "");
  if (text[0] == '.') {
    ApplyDotCommand(text);
    history_[tab - 1].push_back("> " + text);
  } else {
    Log("chat_sent",
        {{"tab", tab}, {"name", names[tab - 1]}, {"text", text}, {"connected", state_.connected}});
    history_[tab - 1].push_back(state_.station + ": " + text);
  }
  ShowCommBoxHistory(commbox_, history_[tab - 1]);
}

void App::ApplyDotCommand(const std::string& text) {
  // IvAc's own dot-commands: ".Z n" zooms, ".C point" centres the map.
  const std::string rest = text.substr(1);
  const size_t blank = rest.find(' ');
  const std::string command = ToUpper(rest.substr(0, blank));
  const std::string argument = blank == std::string::npos ? "" : TrimBlanks(rest.substr(blank + 1));
  const bool known = command == "Z" || command == "C";
  if (command == "Z") zoom_ = argument;
  if (command == "C") centre_ = argument;
  Log("dot_command",
      {{"text", text}, {"command", command}, {"argument", argument}, {"known", known}});
  if (radar_) InvalidateRect(radar_, nullptr, FALSE);
}

// ---------------------------------------------------------------------------
// In/Out

void App::OpenInOut() {
  if (inout_) {
    ShowWindow(inout_, SW_SHOWNORMAL);
    return;
  }
  inout_ = CreateInOut(*this, state_.inout_x, state_.inout_y);
  FillInOut(inout_, state_);
  ShowWindow(inout_, SW_SHOWNOACTIVATE);
}

void App::OnInOutClosed() {
  inout_ = nullptr;
  state_.inout_open = false;
  Log("window_closed", {{"window", "In/Out"}});
}

// ---------------------------------------------------------------------------
// Main window placement

void App::OnMainMovedOrSized() {
  if (!main_ || !started_) return;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(main_, &wp);
  const char* shown = wp.showCmd == SW_SHOWMINIMIZED   ? "minimized"
                      : wp.showCmd == SW_SHOWMAXIMIZED ? "maximized"
                                                       : "normal";
  const RECT r = ScreenRect(main_);
  const Rect now{r.left, r.top, r.right - r.left, r.bottom - r.top};
  if (now == last_main_ && last_main_state_ == shown) return;
  last_main_ = now;
  last_main_state_ = shown;
  Log("window", {{"window", "main"},
                 {"x", now.x},
                 {"y", now.y},
                 {"w", now.w},
                 {"h", now.h},
                 {"state", shown}});
}

void App::OnMainDestroyed() {
  main_ = nullptr;
  PostQuitMessage(0);
}

}  // namespace qv::standin
