#include "remote/win32/frm_server.h"

#include <shellapi.h>
#include <windowsx.h>

#include <ctime>

#include "platform/files.h"
#include "platform/text.h"
#include "platform/win32/dpi.h"
#include "startup/log.h"

namespace qv::remote {

namespace {

constexpr UINT_PTR kMonitorTimer = 1;   // tmrMonitor
constexpr UINT_PTR kRelistenTimer = 2;  // a second after a client left

int Px(int dip) { return MulDiv(dip, win::ScreenDpiX(), 96); }

constexpr COLORREF kLookColour[] = {RGB(160, 160, 160), RGB(220, 0, 0), RGB(0, 190, 0),
                                    RGB(0, 80, 230)};

// A filled disc of `colour` on a transparent ground: the state pictures.
HICON StatePicture(COLORREF colour, int size) {
  win::WindowDC screen(nullptr);
  HDC dc = CreateCompatibleDC(screen.Get());
  win::Bitmap colourBits(CreateCompatibleBitmap(screen.Get(), size, size));
  win::Bitmap maskBits(CreateBitmap(size, size, 1, 1, nullptr));
  win::Brush fill(CreateSolidBrush(colour));
  const RECT all{0, 0, size, size};
  {
    win::Selected bmp(dc, colourBits.Get());
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    win::Selected brush(dc, fill.Get());
    win::Selected pen(dc, GetStockObject(BLACK_PEN));
    Ellipse(dc, 1, 1, size - 1, size - 1);
  }
  {
    win::Selected bmp(dc, maskBits.Get());
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    win::Selected brush(dc, GetStockObject(BLACK_BRUSH));
    win::Selected pen(dc, GetStockObject(BLACK_PEN));
    Ellipse(dc, 1, 1, size - 1, size - 1);
  }
  DeleteDC(dc);
  ICONINFO info{TRUE, 0, 0, maskBits.Get(), colourBits.Get()};
  return CreateIconIndirect(&info);
}

std::string Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &t);
  char buf[64] = {};
  std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", &local);
  return buf;
}

}  // namespace

ServerWindow::ServerWindow(App& app, ivac::Win32Automation& ivac)
    : app_(app),
      ivac_(ivac),
      interpreter_(
          [&app] {
            panels::ScriptContext c{panels::Role::kServer, app.folders.macro, app.folders.panels,
                                    app.settings.debug};
            c.allowLink = app.settings.remoteLink;
            c.confineIncludes = true;
            return c;
          }(),
          ivac, *this),
      index_(app.settings.serverName),
      decoder_(app.settings.serverName) {}

ServerWindow::~ServerWindow() {
  tray_.reset();
  if (hwnd_) DestroyWindow(hwnd_);
}

bool ServerWindow::Load() {
  for (int i = 0; i < 4; ++i) {
    icons_[i].Reset(StatePicture(kLookColour[i], GetSystemMetrics(SM_CXICON)));
    smallIcons_[i].Reset(StatePicture(kLookColour[i], GetSystemMetrics(SM_CXSMICON)));
  }
  CreateBound("QuorvexServer", 0, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
              "Quorvex Receiver", CW_USEDEFAULT, CW_USEDEFAULT, Px(330), Px(190), nullptr, 0,
              GetSysColorBrush(COLOR_BTNFACE));
  if (!hwnd_) return false;
  CreateControls();

  spServer_.ArrayAdd(index_);
  spServer_.onConnectionRequest = [this](const std::string& i, uintptr_t id) {
    spServer_ConnectionRequest(i, id);
  };
  spServer_.onDataArrival = [this](const std::string& i, size_t) { spServer_DataArrival(i); };
  spServer_.onCloseSck = [this](const std::string& i) { spServer_CloseSck(i); };
  spServer_.onError = [this](const std::string& i, int32_t, const std::string& description,
                             const std::string&, bool&) { spServer_Error(i, description); };
  win::SetText(txtPort_, app_.settings.port);

  CreateTray();
  SetToolTip("Quorvex - Connection Closed");
  if (app_.settings.debug) Log("FormLoad frmServer");
  cmdClose_Click();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  return true;
}

void ServerWindow::CreateControls() {
  picInfo_ = win::CreateLabel(hwnd_, kIdPicture, "", SS_ICON | SS_CENTERIMAGE);
  label1_ = win::CreateLabel(hwnd_, kIdPortLabel, "Port");
  txtPort_ = win::CreateEdit(hwnd_, kIdPort);
  cmdListen_ = win::CreateButton(hwnd_, kIdListen, "Listen");
  cmdClose_ = win::CreateButton(hwnd_, kIdClose, "Close");
  chkBallons_ = win::CreateCheckBox(hwnd_, kIdBalloons, "Show balloon on events");
  lblInfo_ = win::CreateLabel(hwnd_, kIdInfo, "", SS_LEFT | SS_NOPREFIX | SS_SUNKEN);
  MoveWindow(picInfo_, Px(10), Px(8), Px(36), Px(36), FALSE);
  MoveWindow(label1_, Px(56), Px(15), Px(30), Px(20), FALSE);
  MoveWindow(txtPort_, Px(88), Px(12), Px(64), Px(22), FALSE);
  MoveWindow(cmdListen_, Px(162), Px(10), Px(70), Px(26), FALSE);
  MoveWindow(cmdClose_, Px(238), Px(10), Px(70), Px(26), FALSE);
  MoveWindow(chkBallons_, Px(56), Px(44), Px(250), Px(20), FALSE);
  MoveWindow(lblInfo_, Px(10), Px(72), Px(298), Px(76), FALSE);
}

void ServerWindow::CreateTray() {
  tray_ = std::make_unique<panels::SysTray>();
  tray_->AddMenuItem("Restore Window", "open", true);
  tray_->AddMenuItem("-", "");
  trayBalloonOn_ = tray_->AddMenuItem("&Show balloon on events", "Ballon");
  trayBalloonOff_ = tray_->AddMenuItem("&Don't &Show balloon on events", "noBallon");
  tray_->AddMenuItem("-", "");
  trayListen_ = tray_->AddMenuItem("&Listen", "listen");
  trayClose_ = tray_->AddMenuItem("&Close Connection", "close");
  tray_->MenuClick = [this](int, const std::string& key) { m_frmSysTray_MenuClick(key); };
  tray_->SysTrayDoubleClick = [this](int) {
    RestoreWindow();
    restoring_ = false;
  };
  tray_->SysTrayMouseDown = [this](int button) {
    if (button != 2) return;
    const bool closed = spServer_.State(index_) == sckClosed && !established_;
    tray_->EnableMenuItem(trayClose_, !closed);
    tray_->EnableMenuItem(trayListen_, closed);
    const bool ticked = Button_GetCheck(chkBallons_) == BST_CHECKED;
    tray_->EnableMenuItem(trayBalloonOff_, ticked);
    tray_->EnableMenuItem(trayBalloonOn_, !ticked);
    tray_->ShowMenu();
  };
}

// Buttons -----------------------------------------------------------------

std::string ServerWindow::ListeningText() const {
  return "Listening " + listenAddress_ + " : " + win::GetText(txtPort_);
}

void ServerWindow::cmdListen_Click() {
  const std::string portText = TrimSpaces(win::GetText(txtPort_));
  // Config.ini's ServerBindAddress chooses the address; without it, the
  // first address of this computer's name.
  listenAddress_ = app_.settings.serverBindAddress.empty() ? spServer_.LocalIP(index_)
                                                           : app_.settings.serverBindAddress;
  SocketResult r;
  if (portText.empty() || portText.find_first_not_of("0123456789") != std::string::npos)
    r = SocketFailure(kErrVariantType, "BindInternal");
  else
    r = spServer_.Bind(index_, LeadingInt(portText), listenAddress_);
  if (r) r = spServer_.Listen(index_);
  if (!r) {
    // Nothing is left half bound: the element goes back to closed.
    spServer_.CloseSck(index_);
    RefreshServerStatus();
    win::Message(hwnd_, r.description, "Error on Receiver ", MB_OK | MB_ICONERROR);
    return;
  }
  EnableWindow(cmdListen_, FALSE);
  EnableWindow(cmdClose_, TRUE);
  established_ = false;
  StopMonitor();
  decoder_.Reset();
  RefreshServerStatus();
  if (spServer_.State(index_) == sckListening) {
    ShowStatus(ListeningText());
    SetToolTip("Quorvex - " + ListeningText());
  }
}

void ServerWindow::cmdClose_Click() {
  KillTimer(hwnd_, kRelistenTimer);
  spServer_.CloseSck(index_);
  spServer_.SetTag(index_, "");
  established_ = false;
  StopMonitor();
  decoder_.Reset();
  queue_.Clear();
  RefreshServerStatus();
}

void ServerWindow::StopMonitor() {
  monitor_.Stop();
  KillTimer(hwnd_, kMonitorTimer);
}

// State ------------------------------------------------------------------

void ServerWindow::SetLook(Look look, bool iconsToo) {
  const int i = static_cast<int>(look);
  if (pictureLook_ != i) {
    pictureLook_ = i;
    SendMessageA(picInfo_, STM_SETICON, reinterpret_cast<WPARAM>(icons_[i].Get()), 0);
    UpdateWindow(picInfo_);
  }
  if (!iconsToo || iconLook_ == i) return;
  iconLook_ = i;
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_[i].Get()));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcons_[i].Get()));
  if (tray_) tray_->SetIconHandle(smallIcons_[i].Get());
}

void ServerWindow::Balloon(const std::string& text) {
  if (tray_ && Button_GetCheck(chkBallons_) == BST_CHECKED)
    tray_->ShowBalloonTip(text, "Quorvex ", NIIF_INFO, 10000);
}

void ServerWindow::SetToolTip(const std::string& text) {
  if (tray_) tray_->SetToolTip(text);
}

void ServerWindow::RefreshServerStatus() {
  ShowStatus(spServer_.Tag(index_));
  const int32_t state = spServer_.State(index_);
  if (state == sckClosed) {
    SendMessageA(txtPort_, EM_SETREADONLY, FALSE, 0);
    EnableWindow(cmdListen_, TRUE);
    EnableWindow(cmdClose_, FALSE);
    SetLook(Look::kRed);
    Balloon("Connection Closed");
    SetToolTip("Quorvex - Connection Closed");
    return;
  }
  SendMessageA(txtPort_, EM_SETREADONLY, TRUE, 0);
  EnableWindow(cmdListen_, FALSE);
  EnableWindow(cmdClose_, TRUE);
  if (state == sckConnected) {
    if (!established_) {
      Balloon("Connection Established");
      SetToolTip("Quorvex - Connected");
    }
    established_ = true;
    SetLook(Look::kGreen);
    return;
  }
  SetLook(Look::kGray);
  Balloon(ListeningText());
  SetToolTip("Quorvex - " + ListeningText());
}

// Socket events ----------------------------------------------------------

void ServerWindow::spServer_ConnectionRequest(const std::string& index, uintptr_t requestID) {
  // Listening stops: a second client finds nobody listening.
  spServer_.CloseSck(index);
  spServer_.Accept(index, requestID);
  decoder_.Reset();
  SetLook(Look::kGreen);
  const std::string peer =
      spServer_.RemoteHostIP(index) + ":" + DecimalText(spServer_.RemotePort(index));
  Balloon("Connection Request " + DecimalText(static_cast<int64_t>(requestID)));
  SetToolTip("Quorvex - Connection Request ");
  spServer_.SetTag(index, "Connection from " + peer);
  if (app_.settings.debug) Log("Connection from " + peer);
  RefreshServerStatus();
}

void ServerWindow::spServer_DataArrival(const std::string& index) {
  SetLook(Look::kBlue);
  std::string bytes;
  spServer_.GetData(index, bytes);
  std::vector<Received> messages;
  decoder_.Feed(bytes, messages);
  for (Received& m : messages) {
    if (m.kind == Received::Kind::kCommand) {
      queue_.Push(std::move(m.text));
    } else {
      // Kept as the latest event: a command running meanwhile must not
      // paint its own text over the refusal when it ends.
      spServer_.SetTag(index, m.text);
      ShowStatus(m.text);
      SetLook(Look::kGreen, false);
    }
  }
  established_ = true;
  RunQueuedCommands();
}

void ServerWindow::RunQueuedCommands() {
  bool ran = false;
  queue_.Drain([&](const std::string& command) {
    SetLook(Look::kBlue);
    spServer_.SetTag(index_, command);
    if (tray_ && Button_GetCheck(chkBallons_) == BST_CHECKED)
      tray_->ShowBalloonTip(command, "Quorvex", NIIF_INFO, 1000);
    ran |= ElaboraComando(command);
    win::DoEvents();
    RefreshServerStatus();
  });
  // IvAc's text line gets the focus back once the commands that came
  // together have run (a nested call returns at once: the outer one is
  // still running them).
  if (ran && !queue_.Draining()) ivac_.FocusTextLine();
}

bool ServerWindow::ElaboraComando(const std::string& command) {
  const RemoteScript r = ResolveRemoteCommand(command, app_.folders.macro);
  if (!r.run) {
    // The reason stays on the status line rather than the command.
    if (!r.status.empty()) spServer_.SetTag(index_, r.status);
    return false;
  }
  interpreter_.Execute(r.script, r.origin);
  if (IsServerRefusal(status_)) spServer_.SetTag(index_, status_);
  return true;
}

void ServerWindow::spServer_CloseSck(const std::string& index) {
  StopMonitor();
  spServer_.CloseSck(index);
  spServer_.SetTag(index, "");
  // A message the client left unfinished is dropped; whole ones still run.
  decoder_.Reset();
  established_ = false;
  SetLook(Look::kRed);
  RefreshServerStatus();
  SetTimer(hwnd_, kRelistenTimer, 1000, nullptr);
}

void ServerWindow::spServer_Error(const std::string& index, const std::string& description) {
  StopMonitor();
  spServer_.CloseSck(index);
  spServer_.SetTag(index, "");
  decoder_.Reset();
  SetLook(Look::kRed);
  RefreshServerStatus();
  ShowStatus(Now() + " Error " + description);
  Balloon(" Error \r\n" + description);
}

// Monitor ----------------------------------------------------------------

void ServerWindow::StartMonitor(int32_t intervalMs, int32_t ioPeriodMs) {
  monitor_.Start(ClampMonitor(intervalMs, ioPeriodMs));
  SetTimer(hwnd_, kMonitorTimer, static_cast<UINT>(monitor_.Timing().intervalMs), nullptr);
}

void ServerWindow::SetLastSelection(std::string_view callsign) {
  monitor_.SetLastSelection(callsign);
}

void ServerWindow::tmrMonitor_Timer() {
  if (interpreter_.Running() || !monitor_.Active()) return;
  const std::string selection = ivac_.ReadSelectedLabel();
  for (const std::string& report :
       monitor_.Tick(selection, [this] { return ivac_.ExtractLVitems(); }))
    SendToClient(report);
}

void ServerWindow::SendToClient(const std::string& report) {
  if (!established_ || spServer_.State(index_) != sckConnected) return;
  spServer_.SendData(index_, ReportMessage(app_.settings.serverName, report));
  if (app_.settings.debug) Log("Sending " + app_.settings.serverName + ":" + report);
}

// Tray and window --------------------------------------------------------

void ServerWindow::RestoreWindow() {
  ShowWindow(hwnd_, SW_RESTORE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void ServerWindow::m_frmSysTray_MenuClick(const std::string& key) {
  if (key == "open" || key == "close" || key == "listen") {
    restoring_ = true;
    win::DoEvents();
    if (key == "open") {
      RestoreWindow();
    } else {
      ShowWindow(hwnd_, SW_RESTORE);
      if (key == "close")
        cmdClose_Click();
      else
        cmdListen_Click();
    }
  } else if (key == "Ballon") {
    Button_SetCheck(chkBallons_, BST_CHECKED);
  } else if (key == "noBallon") {
    Button_SetCheck(chkBallons_, BST_UNCHECKED);
  }
}

void ServerWindow::Form_Resize(WPARAM how) {
  if (how == SIZE_MINIMIZED && !restoring_ && tray_)
    tray_->ShowBalloonTip("Double Click on this Icon to restore window\r\nSingle click for Menu",
                          "Quorvex ", NIIF_INFO, 10000);
  if (how != SIZE_MINIMIZED) restoring_ = false;
}

// ScriptHost -------------------------------------------------------------

void ServerWindow::ShowStatus(std::string_view text) {
  status_ = std::string(text);
  win::SetText(lblInfo_, status_);
  UpdateWindow(lblInfo_);
}

void ServerWindow::Log(std::string_view line) { LogLine(app_.folders.base, line); }

int64_t ServerWindow::ShellOpen(std::string_view file, std::string_view parameters) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::string folder = files::FolderOf(exe);
  const HINSTANCE r = ShellExecuteA(hwnd_, "open", std::string(file).c_str(),
                                    std::string(parameters).c_str(), folder.c_str(), SW_SHOWNORMAL);
  return static_cast<int64_t>(reinterpret_cast<INT_PTR>(r));
}

// Messages ---------------------------------------------------------------

LRESULT ServerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        if (LOWORD(wp) == kIdListen) {
          cmdListen_Click();
          return 0;
        }
        if (LOWORD(wp) == kIdClose) {
          cmdClose_Click();
          return 0;
        }
      }
      break;
    case WM_TIMER:
      if (wp == kMonitorTimer) {
        tmrMonitor_Timer();
      } else if (wp == kRelistenTimer) {
        KillTimer(hwnd_, kRelistenTimer);
        if (spServer_.State(index_) == sckClosed) cmdListen_Click();
      }
      return 0;
    case WM_SIZE:
      Form_Resize(wp);
      break;
    case WM_CLOSE:
      tray_.reset();
      if (app_.settings.debug) Log("FormUnload frmServer");
      DestroyWindow(hwnd_);
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace qv::remote
