#include "startup/win32/frm_splash.h"

#include <shellapi.h>

#include "platform/files.h"
#include "platform/win32/dpi.h"
#include "startup/win32/version_info.h"

namespace qv::startup {

namespace {

int Px(int dip) { return win::DipToPixels(dip); }

HICON ProgramIcon(int size) {
  return static_cast<HICON>(
      LoadImageA(win::Instance(), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

std::string SplashWindow::HomePage() {
  std::string folder = files::FolderOf(win::ProgramFile());
  const std::string programFolder = folder;
  for (int up = 0; up < 4 && !folder.empty(); ++up) {
    const std::string readme = folder + "\\README.md";
    if (files::IsRegularFile(readme)) return readme;
    folder = files::FolderOf(folder);
  }
  return programFolder;
}

bool SplashWindow::Load(HWND owner) {
  owner_ = owner;
  CreateBound(kSplashClass, WS_EX_DLGMODALFRAME, WS_POPUP | WS_CAPTION | WS_SYSMENU, "About ...", 0,
              0, Px(440), Px(250), owner, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE));
  if (!hwnd_) return false;
  description_ =
      win::CreateLabel(hwnd_, kIdDescription, kDescription, SS_LEFT | SS_NOTIFY | SS_NOPREFIX);
  version_ = win::CreateLabel(hwnd_, kIdVersion, "", SS_LEFT | SS_NOTIFY);
  home_ = win::CreateLabel(hwnd_, kIdHome, "Application Homepage", SS_LEFT | SS_NOTIFY);
  me_ = win::CreateLabel(hwnd_, kIdMe, "The Quorvex developers", SS_LEFT | SS_NOTIFY);
  hint_ = win::CreateLabel(hwnd_, kIdHint, "click anywhere to close this window",
                           SS_CENTER | SS_NOTIFY);
  image1_ = win::CreateLabel(hwnd_, kIdImage1, "", SS_ICON | SS_NOTIFY);
  image2_ = win::CreateLabel(hwnd_, kIdImage2, "", SS_ICON);
  bigIcon_.Reset(ProgramIcon(Px(48)));
  smallIcon_.Reset(ProgramIcon(Px(32)));
  SendMessageA(image1_, STM_SETICON, reinterpret_cast<WPARAM>(bigIcon_.Get()), 0);
  SendMessageA(image2_, STM_SETICON, reinterpret_cast<WPARAM>(smallIcon_.Get()), 0);
  LOGFONTA lf{};
  GetObjectA(win::UiFont(), sizeof lf, &lf);
  lf.lfUnderline = TRUE;
  linkFont_.Reset(CreateFontIndirectA(&lf));
  lf.lfUnderline = FALSE;
  lf.lfWeight = FW_BOLD;
  boldFont_.Reset(CreateFontIndirectA(&lf));
  win::SetFont(home_, linkFont_.Get());
  win::SetFont(me_, linkFont_.Get());
  win::SetFont(description_, boldFont_.Get());
  tooltip_ = win::CreateTooltip(hwnd_);
  win::AddTool(tooltip_, home_, "Connect to application website");
  win::AddTool(tooltip_, me_, "Software Author IVAO status");
  if (HICON small = win::SmallIcon())
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

  // The version of the program's own file; left empty when it cannot be read.
  VersionInfo info;
  if (info.Load(win::ProgramFile())) win::SetText(version_, info.FileVersion());
  Layout();
  return true;
}

void SplashWindow::Layout() {
  MoveWindow(image1_, Px(16), Px(16), Px(48), Px(48), FALSE);
  // Room for the "Loading ..." lines under the description at start-up.
  MoveWindow(description_, Px(80), Px(14), Px(340), Px(76), FALSE);
  MoveWindow(version_, Px(80), Px(92), Px(340), Px(20), FALSE);
  MoveWindow(home_, Px(80), Px(128), Px(200), Px(20), FALSE);
  MoveWindow(me_, Px(80), Px(152), Px(200), Px(20), FALSE);
  MoveWindow(image2_, Px(380), Px(136), Px(32), Px(32), FALSE);
  MoveWindow(hint_, Px(10), Px(186), Px(410), Px(20), FALSE);
  // Centred on the screen's work area.
  RECT work{}, r{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(hwnd_, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SplashWindow::AppendLoading() {
  win::SetText(description_, win::GetText(description_) + "\r\n\nLoading ...");
}

void SplashWindow::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

void SplashWindow::ShowModal(HWND owner) {
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  win::ModalLoop(hwnd_, closed_);
  if (owner) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
  }
  Unload();
}

void SplashWindow::Unload() {
  closed_ = true;
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void SplashWindow::OpenLink() {
  ShellExecuteA(hwnd_, "open", HomePage().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT SplashWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == STN_CLICKED) {
        switch (LOWORD(wp)) {
          case kIdHome:
          case kIdMe:
            OpenLink();
            return 0;
          case kIdImage2:
            return 0;
          default:  // the description, the version, the hint, Image1
            closed_ = true;
            return 0;
        }
      }
      break;
    case WM_CTLCOLORSTATIC: {
      const HWND control = reinterpret_cast<HWND>(lp);
      const HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      if (control == home_ || control == me_) SetTextColor(dc, RGB(0, 0, 204));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == home_ || reinterpret_cast<HWND>(wp) == me_) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      closed_ = true;
      return 0;
    case WM_CLOSE:
      closed_ = true;
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace qv::startup
