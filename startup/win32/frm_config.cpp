#include "startup/win32/frm_config.h"

#include "platform/win32/dpi.h"

namespace qv::startup {

namespace {

int Px(int dip) { return win::DipToPixels(dip); }

}  // namespace

void ConfigWindow::ShowModal(HWND owner) {
  done_ = false;
  RECT at{};
  const bool besideOwner = owner && GetWindowRect(owner, &at);
  CreateBound(kConfigClass, WS_EX_DLGMODALFRAME, WS_POPUP | WS_CAPTION | WS_SYSMENU, kConfigCaption,
              besideOwner ? at.left + Px(30) : CW_USEDEFAULT,
              besideOwner ? at.top + Px(30) : CW_USEDEFAULT, Px(456), Px(290), owner, CS_DBLCLKS,
              GetSysColorBrush(COLOR_BTNFACE));
  if (!hwnd_) return;
  Form_Load();
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  // Form_Activate: the focus goes to the server name.
  SetFocus(txtServerName_);
  win::ModalLoop(hwnd_, done_);
  if (hwnd_) Unload();
  if (owner) {
    EnableWindow(owner, TRUE);
    // On unload the panel manager is made visible again.
    ShowWindow(owner, SW_SHOW);
    SetForegroundWindow(owner);
  }
}

void ConfigWindow::Form_Load() {
  struct Row {
    HWND* box;
    int id;
    const char* label;
    const char* tip;
  };
  const Row rows[] = {
      {&txtServerName_, kIdServerName, "Server Name",
       "Name of the server to connect (usually Quorvex)"},
      {&txtServerAddress_, kIdServerAddress, "Remote Server Address",
       "IP Address of the PC running Quorvex Server "},
      {&txtPort_, kIdPort, "Port", "Port used to exchange messages from Client to Server"},
      {&txtComBoxFreq_, kIdComBoxFreq, "IvAc COMMBOX Frequencies",
       "Nr. of COMMBOX frequencies in IvAc (PDV->COMMBox options)"},
      {&txtSleep_, kIdSleep, "milliseconds delay ",
       "milliseconds delay between commands - use it to tweak problem on executing commands"},
  };
  tooltip_ = win::CreateTooltip(hwnd_);
  HWND picture = win::CreateLabel(hwnd_, kIdPicture, "", SS_ICON);
  SendMessageA(picture, STM_SETICON,
               reinterpret_cast<WPARAM>(LoadImageA(win::Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                   Px(48), Px(48), LR_SHARED)),
               0);
  MoveWindow(picture, Px(16), Px(16), Px(48), Px(48), FALSE);
  int y = 16;
  for (const Row& r : rows) {
    HWND label = win::CreateLabel(hwnd_, 0, r.label);
    *r.box = win::CreateEdit(hwnd_, r.id);
    MoveWindow(label, Px(84), Px(y + 3), Px(180), Px(20), FALSE);
    MoveWindow(*r.box, Px(272), Px(y), Px(160), Px(24), FALSE);
    win::AddTool(tooltip_, *r.box, r.tip);
    y += 32;
  }
  chkDebug_ = win::CreateCheckBox(hwnd_, kIdDebug, "Activate Logging");
  MoveWindow(chkDebug_, Px(272), Px(y), Px(160), Px(22), FALSE);
  win::AddTool(tooltip_, chkDebug_,
               "Log every command and its result in the data folder, one file per day");
  HWND save = win::CreateButton(hwnd_, kIdSave, "Save", BS_DEFPUSHBUTTON);
  HWND cancel = win::CreateButton(hwnd_, kIdCancel, "Exit");
  MoveWindow(save, Px(244), Px(y + 34), Px(90), Px(28), FALSE);
  MoveWindow(cancel, Px(342), Px(y + 34), Px(90), Px(28), FALSE);
  win::AddTool(tooltip_, save, "Save Current Config");
  win::AddTool(tooltip_, cancel, "Cancel changes in config");
  if (HICON small = win::SmallIcon())
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  GetConfig();
  changed_ = false;
}

void ConfigWindow::GetConfig() {
  loading_ = true;
  Settings read = ReadSettings(app_.folders.settingsFile);
  read.newInstance = app_.settings.newInstance;  // the manager's own key
  app_.settings = read;
  const ConfigFields f = FieldsFromSettings(app_.settings);
  win::SetText(txtSleep_, f.sleep);
  win::SetText(txtPort_, f.port);
  win::SetText(txtServerAddress_, f.serverAddress);
  win::SetText(txtServerName_, f.serverName);
  win::SetText(txtComBoxFreq_, f.comBoxFreq);
  SendMessageA(chkDebug_, BM_SETCHECK, f.debug ? BST_CHECKED : BST_UNCHECKED, 0);
  loading_ = false;
}

bool ConfigWindow::DoSaveConfig() {
  ConfigFields f;
  f.serverName = win::GetText(txtServerName_);
  f.serverAddress = win::GetText(txtServerAddress_);
  f.port = win::GetText(txtPort_);
  f.comBoxFreq = win::GetText(txtComBoxFreq_);
  f.sleep = win::GetText(txtSleep_);
  f.debug = SendMessageA(chkDebug_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (!SaveConfig(f, app_.settings, app_.folders.settingsFile, *this)) return false;
  changed_ = false;
  return true;
}

void ConfigWindow::cmdSave_Click() {
  if (DoSaveConfig()) Unload();
}

// The close box: unsaved changes are offered for saving first. A save that
// fails keeps the window open; its message has said why.
void ConfigWindow::Form_QueryUnload() {
  if (changed_ && win::Message(hwnd_, "Save changes ?", kConfigCaption,
                               MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
    if (!DoSaveConfig()) return;
  }
  Unload();
}

void ConfigWindow::Unload() {
  done_ = true;
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void ConfigWindow::Message(std::string_view text) {
  win::Message(hwnd_, text, kConfigCaption, MB_OK | MB_ICONEXCLAMATION);
}

bool ConfigWindow::ConfirmAddress(std::string_view text) {
  return win::Message(hwnd_, text, kAddressQuestionTitle,
                      MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDOK;
}

void ConfigWindow::Focus(Field field) {
  switch (field) {
    case Field::ServerName:
      SetFocus(txtServerName_);
      break;
    case Field::ServerAddress:
      SetFocus(txtServerAddress_);
      break;
    case Field::Port:
      SetFocus(txtPort_);
      break;
    case Field::ComBoxFreq:
      SetFocus(txtComBoxFreq_);
      break;
    case Field::Sleep:
      SetFocus(txtSleep_);
      break;
  }
}

LRESULT ConfigWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == EN_CHANGE && !loading_) {
        changed_ = true;
        return 0;
      }
      if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case kIdSave:
            cmdSave_Click();
            return 0;
          case kIdCancel:
          case IDCANCEL:  // Escape
            Unload();
            return 0;
          case kIdDebug:
            changed_ = true;
            return 0;
          default:
            break;
        }
      }
      if (LOWORD(wp) == IDOK) {  // Enter: the default button
        cmdSave_Click();
        return 0;
      }
      break;
    case WM_CLOSE:
      Form_QueryUnload();
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace qv::startup
