#include "editor/win32/frm_main.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <optional>

#include "editor/frm_def.h"
#include "editor/win32/file_operation.h"
#include "editor/win32/panel_picture.h"
#include "panels/panel_profile.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/win32/dpi.h"
#include "platform/win32/input_box.h"
#include "startup/log.h"
#include "startup/win32/frm_config.h"
#include "startup/win32/frm_splash.h"

namespace qv::editor {

namespace {

int Px(int dip) { return win::DipToPixels(dip); }

// The program's windows by their form names, for the "FORMS:" lines.
const char* FormName(HWND w) {
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  const std::string c = cls;
  if (c == kManagerClass) return "frmMain";
  if (c == startup::kSplashClass) return "frmSplash";
  if (c == startup::kConfigClass) return "frmConfig";
  if (c == "QuorvexPanel") return "frmIVAO";
  if (c == "QuorvexServer") return "frmServer";
  if (c == "QuorvexSysTray") return "frmSysTray";
  return nullptr;
}

BOOL CALLBACK CollectForm(HWND w, LPARAM lp) {
  if (const char* name = FormName(w))
    reinterpret_cast<std::vector<std::string>*>(lp)->push_back(name);
  return TRUE;
}

}  // namespace

bool ManagerWindow::Load() {
  CreateBound(kManagerClass, WS_EX_APPWINDOW,
              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kCaption, CW_USEDEFAULT,
              CW_USEDEFAULT, 100, 100, nullptr, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE));
  if (!hwnd_) return false;
  CreateControls();
  Layout();
  // Form_Load: no description yet, the list, and NewInstance.
  win::SetText(description_, "");
  PrepareList();
  const std::string stored =
      profile::ReadKey(app_.folders.settingsFile, kConfigSection, "NewInstance", "0");
  app_.settings.newInstance = std::abs(static_cast<int64_t>(LeadingInt(stored))) != 0;
  SendMessageA(runNew_, BM_SETCHECK, app_.settings.newInstance ? BST_CHECKED : BST_UNCHECKED, 0);
  return true;
}

void ManagerWindow::CreateControls() {
  struct Group {
    const char* caption;
    int x, y, w, h;
  };
  // Group boxes first, so the buttons drawn over them stay on top.
  const Group groups[] = {
      {"Panels operation", 262, 8, 160, 156}, {"Single PC", 432, 8, 170, 86},
      {"Multi PC", 432, 100, 170, 94},        {"Folders", 262, 170, 160, 126},
      {"Extra", 432, 200, 170, 96},
  };
  for (const Group& g : groups) {
    HWND box = win::CreateButton(hwnd_, 0, g.caption, BS_GROUPBOX);
    SetWindowLongA(box, GWL_STYLE, GetWindowLongA(box, GWL_STYLE) & ~WS_TABSTOP);
    MoveWindow(box, Px(g.x), Px(g.y), Px(g.w), Px(g.h), FALSE);
  }
  tooltip_ = win::CreateTooltip(hwnd_);
  HWND label = win::CreateLabel(hwnd_, kIdLabel1, "&Available Panels:");
  MoveWindow(label, Px(10), Px(10), Px(240), Px(18), FALSE);
  filter_ = win::CreateEdit(hwnd_, kIdFilter);
  SendMessageW(filter_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Type to filter"));
  win::AddTool(tooltip_, filter_, "Show only the panels whose name holds this text");
  list_ = CreateWindowExA(
      WS_EX_CLIENTEDGE, "LISTBOX", "",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 10,
      10, hwnd_, reinterpret_cast<HMENU>(kIdList), win::Instance(), nullptr);
  win::SetFont(list_, win::UiFont());
  description_ = win::CreateLabel(hwnd_, kIdDescription, "", SS_LEFT | SS_NOPREFIX | SS_SUNKEN);
  picture_ = win::CreateLabel(hwnd_, kIdPicture, "", SS_OWNERDRAW);
  pictureFont_.Reset(win::CreatePointFont("Tahoma", 6.5, false, false, false, false));

  struct Command {
    int id;
    const char* caption;
    const char* tip;
    int x, y;
  };
  const Command commands[] = {
      {kIdNew, "Ne&w Panel", "Create Macro Panel definitions", 272, 28},
      {kIdCopy, "C&opy Panel", "Copy Macro Panel definitions", 272, 60},
      {kIdEdit, "&Edit Panel", "Edit  Macro Panel definitions", 272, 92},
      {kIdRemove, "&Remove Panel", "Remove Macro Panel definitions", 272, 124},
      {kIdStart, "Run &Panel", "Run  Macro Panel (Single PC environment)", 442, 28},
      {kIdRunClient, "Run &Client", "Run Client - (MultiPC) IvAc will NOT run on this PC", 442,
       120},
      {kIdRunServer, "Run &Server", "Run Receiver Module - (MultiPC) IvAc will run on this PC", 442,
       154},
      {kIdFolder, "Open &Macro Folder", "Open Windows Explorer on Macro folder", 272, 190},
      {kIdAppFolder, "&Open Panels Folder", "Open Windows Explorer on Panels folder", 272, 222},
      {kIdDataFolder, "Open &Data Folder",
       "Open Windows Explorer on data folder  (backup and data transfer purpose)", 272, 254},
      {kIdHelper, "Macro &Helper", "Run MacroHelper module - aid to write Macroes", 442, 220},
      {kIdConfig, "Con&fig", "General config", 442, 254},
  };
  for (const Command& c : commands) {
    HWND b = win::CreateButton(hwnd_, c.id, c.caption);
    MoveWindow(b, Px(c.x), Px(c.y), Px(c.id >= kIdStart && c.id <= kIdRunServer ? 150 : 140),
               Px(28), FALSE);
    win::AddTool(tooltip_, b, c.tip);
    if (c.id == kIdStart) start_ = b;
  }
  runNew_ = win::CreateCheckBox(hwnd_, kIdRunNew, "Run as new instance");
  MoveWindow(runNew_, Px(444), Px(62), Px(150), Px(22), FALSE);
  win::AddTool(tooltip_, runNew_, "Run another instance of Quorvex with the selected panel");

  image1_ = win::CreateLabel(hwnd_, kIdImage1, "", SS_ICON | SS_NOTIFY);
  icon_.Reset(static_cast<HICON>(LoadImageA(win::Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                            Px(48), Px(48), LR_DEFAULTCOLOR)));
  SendMessageA(image1_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.Get()), 0);
  win::AddTool(tooltip_, image1_, "About Quorvex");
  if (HICON small = win::SmallIcon())
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (HICON big = icon_.Get())
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
}

void ManagerWindow::Layout() {
  MoveWindow(filter_, Px(10), Px(30), Px(240), Px(24), FALSE);
  MoveWindow(list_, Px(10), Px(58), Px(240), Px(238), FALSE);
  MoveWindow(description_, Px(10), Px(304), Px(240), Px(50), FALSE);
  MoveWindow(picture_, Px(262), Px(304), Px(340), Px(112), FALSE);
  MoveWindow(image1_, Px(10), Px(364), Px(48), Px(48), FALSE);
  RECT r{0, 0, Px(612), Px(426)};
  AdjustWindowRectEx(&r, GetWindowLongA(hwnd_, GWL_STYLE), FALSE,
                     GetWindowLongA(hwnd_, GWL_EXSTYLE));
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ManagerWindow::Show() {
  // Form_Activate follows from the activation.
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

int ManagerWindow::Run() {
  win::ModalLoop(hwnd_, closed_);
  return 0;
}

// The list ------------------------------------------------------------------

void ManagerWindow::PrepareList() {
  names_ = ListPanels(app_.folders.panels);
  ShowList();
}

void ManagerWindow::ShowList() {
  const std::string keep = SelectedName();
  shown_ = FilterPanels(names_, win::GetText(filter_));
  win::FillListBox(list_, shown_);
  if (!keep.empty()) SelectName(keep);
  lstMacro_Click();
}

std::string ManagerWindow::SelectedName() const {
  const LRESULT i = SendMessageA(list_, LB_GETCURSEL, 0, 0);
  if (i < 0 || static_cast<size_t>(i) >= shown_.size()) return {};
  return shown_[static_cast<size_t>(i)];
}

void ManagerWindow::SelectName(const std::string& name) {
  for (size_t i = 0; i < shown_.size(); ++i) {
    if (shown_[i] == name) {
      SendMessageA(list_, LB_SETCURSEL, i, 0);
      return;
    }
  }
}

void ManagerWindow::ReselectPanel() {
  SetFocus(list_);
  if (!shown_.empty()) SendMessageA(list_, LB_SETCURSEL, 0, 0);
  SelectName(app_.currentPanel);
  lstMacro_Click();
}

// The description and the picture of the selected panel.
void ManagerWindow::lstMacro_Click() {
  const std::string name = SelectedName();
  win::SetText(description_, name.empty() ? "" : PanelDescription(app_.folders.panels, name));
  panelPicture_ = {};
  if (!name.empty()) {
    const std::string path = panels::PanelPath(app_.folders.panels, name);
    if (files::IsRegularFile(path)) {
      RECT box{};
      GetClientRect(picture_, &box);
      const panels::SnapshotReader file(path);
      panelPicture_ =
          BuildPanelPicture(file, box.right - Px(8), box.bottom - Px(8), panels::WindowsSysColor);
    }
  }
  InvalidateRect(picture_, nullptr, TRUE);
}

void ManagerWindow::lstMacro_DblClick() {
  if (IsWindowEnabled(start_) && IsWindowVisible(start_)) RunSelected(RunKind::kPanel);
}

void ManagerWindow::DrawPicture(const DRAWITEMSTRUCT& d) {
  FillRect(d.hDC, &d.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  DrawPanelPicture(d.hDC, d.rcItem, panelPicture_, pictureFont_.Get());
}

// Create, copy, edit, remove ----------------------------------------------------

void ManagerWindow::CreateAssistant() {
  std::string name;
  for (;;) {
    const std::optional<std::string> answer = win::InputBox(hwnd_, kNamePrompt, kCreateTitle, "");
    name = answer ? TrimBlanks(*answer) : std::string();
    if (name.empty()) return;
    const NameVerdict verdict = CheckNewPanelName(app_.folders.panels, name);
    if (verdict.check == NameCheck::kInvalid) {
      win::Message(hwnd_, InvalidNameText(name, verdict.reason), kCaption,
                   MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    if (verdict.check == NameCheck::kExists) {
      win::Message(hwnd_, AlreadyExistsText(name), kCaption, MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    if (!CreateNewPanel(app_.folders.panels, name)) {
      win::Message(hwnd_, InvalidNameText(name, "The panel file could not be written."), kCaption,
                   MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    break;
  }
  // A new panel must show even when the filter would hide it.
  win::SetText(filter_, "");
  PrepareList();
  SelectName(name);
  lstMacro_Click();
  app_.currentPanel = name;
  EditAssistant();
}

// The layout editor hides the manager while it is open and shows it again
// when it closes; the manager's activation then reselects the panel.
void ManagerWindow::EditAssistant() { OpenLayoutEditor(hwnd_, app_.currentPanel); }

void ManagerWindow::CopyAssistant() {
  const std::string from = SelectedName();
  if (from.empty()) return;
  const std::string title = CopyTitle();
  std::string name;
  for (;;) {
    const std::optional<std::string> answer = win::InputBox(hwnd_, CopyPrompt(from), title, "");
    name = answer ? TrimBlanks(*answer) : std::string();
    if (name.empty()) return;
    const NameVerdict verdict = CheckNewPanelName(app_.folders.panels, name);
    if (verdict.check == NameCheck::kInvalid) {
      win::Message(hwnd_, InvalidNameText(name, verdict.reason), title, MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    const CopyResult result = verdict.check == NameCheck::kExists
                                  ? CopyResult::kExists
                                  : CopyPanel(app_.folders.panels, from, name);
    if (result == CopyResult::kExists) {
      win::Message(hwnd_, AlreadyExistsText(name), title, MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    if (result != CopyResult::kCopied) {
      win::Message(hwnd_,
                   name + "\r\n\n" +
                       (result == CopyResult::kUnreadable ? from + " could not be read."
                                                          : "The panel file could not be written."),
                   title, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    break;
  }
  app_.currentPanel = name;
  win::SetText(filter_, "");
  PrepareList();
  ReselectPanel();
}

void ManagerWindow::cmdRemove_Click() {
  const std::string name = SelectedName();
  if (name.empty()) return;
  app_.currentPanel = name;
  if (win::Message(hwnd_, RemoveQuestionText(name), kCaption,
                   MB_OKCANCEL | MB_ICONSTOP | MB_DEFBUTTON2) != IDOK)
    return;
  const std::string path = panels::PanelPath(app_.folders.panels, name);
  FileOperation op;
  op.ClearSourceFiles();
  op.AddSourceFile(path);
  op.SilentMode = false;
  op.AllowUndo = true;
  op.CustomText = RemovingText(name);
  op.ConfirmOperation = true;
  op.ParentWnd = nullptr;
  const bool removed = op.DeleteFiles();
  PrepareList();
  // A removal that failed says so; one the user cancelled in the shell's own
  // question does not.
  if (!removed && !op.Aborted() && files::Exists(path))
    win::Message(hwnd_, RemoveFailedText(name), kCaption, MB_OK | MB_ICONEXCLAMATION);
}

// Runs ----------------------------------------------------------------------

void ManagerWindow::RunSelected(RunKind kind) {
  // The role is set before the selection is looked at.
  app_.role = RoleOf(kind);
  const std::string name = SelectedName();
  if (name.empty()) return;
  app_.currentPanel = name;
  if (SendMessageA(runNew_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    StartProgram(NewProcessArguments(kind, name));
    return;
  }
  if (!runHere) return;
  ShowWindow(hwnd_, SW_HIDE);
  runHere(kind);
  // The run window has closed: the manager comes back.
  if (IsWindow(hwnd_)) Show();
}

void ManagerWindow::StartProgram(const std::string& arguments) {
  const std::string exe = win::ProgramFile();
  const std::string folder = files::FolderOf(exe);
  ShellExecuteA(hwnd_, "Open", exe.c_str(), arguments.c_str(), folder.c_str(), SW_SHOWNORMAL);
}

void ManagerWindow::Explore(const std::string& folder) {
  ShellExecuteA(hwnd_, "explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ManagerWindow::cmdConfig_Click() {
  startup::ConfigWindow config(app_);
  config.ShowModal(hwnd_);
}

void ManagerWindow::Image1_Click() {
  startup::SplashWindow about;
  if (about.Load(hwnd_)) about.ShowModal(hwnd_);
}

// Lifecycle -------------------------------------------------------------------

void ManagerWindow::Form_Activate() {
  ReselectPanel();
  if (!app_.settings.debug) return;
  std::vector<std::string> forms;
  EnumThreadWindows(GetCurrentThreadId(), CollectForm, reinterpret_cast<LPARAM>(&forms));
  const std::string count = std::to_string(forms.size());
  LogLine(app_.folders.base, "FORMS:" + count);
  for (size_t i = 0; i < forms.size(); ++i)
    LogLine(app_.folders.base, "FORMS:" + count + " " + std::to_string(i) + " " + forms[i]);
}

void ManagerWindow::Form_Unload() {
  const bool on = SendMessageA(runNew_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  app_.settings.newInstance = on;
  profile::WriteKey(app_.folders.settingsFile, kConfigSection, "NewInstance", on ? "1" : "0");
}

LRESULT ManagerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (id == kIdList) {
        if (code == LBN_SELCHANGE) lstMacro_Click();
        if (code == LBN_DBLCLK) lstMacro_DblClick();
        return 0;
      }
      if (id == kIdFilter) {
        if (code == EN_CHANGE) ShowList();
        return 0;
      }
      if (id == kIdImage1) {
        if (code == STN_CLICKED) Image1_Click();
        return 0;
      }
      if (code != BN_CLICKED) break;
      switch (id) {
        case kIdNew:
          CreateAssistant();
          return 0;
        case kIdCopy:
          CopyAssistant();
          return 0;
        case kIdEdit: {
          const std::string name = SelectedName();
          if (name.empty()) return 0;
          app_.currentPanel = name;
          EditAssistant();
          return 0;
        }
        case kIdRemove:
          cmdRemove_Click();
          return 0;
        case kIdStart:
          RunSelected(RunKind::kPanel);
          return 0;
        case kIdRunClient:
          RunSelected(RunKind::kClient);
          return 0;
        case kIdRunServer:
          RunSelected(RunKind::kServer);
          return 0;
        case kIdFolder:
          Explore(app_.folders.macro);
          return 0;
        case kIdAppFolder:
          Explore(app_.folders.panels);
          return 0;
        case kIdDataFolder:
          Explore(app_.folders.base + "\\QuorvexData");
          return 0;
        case kIdHelper:
          StartProgram(NewProcessArguments(RunKind::kMacroHelper, ""));
          return 0;
        case kIdConfig:
          cmdConfig_Click();
          return 0;
        default:
          break;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (d->CtlID == kIdPicture) {
        DrawPicture(*d);
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) Form_Activate();
      break;
    case WM_CLOSE:
      Form_Unload();
      closed_ = true;
      DestroyWindow(hwnd_);
      hwnd_ = nullptr;
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace qv::editor
