// The entry procedure: settle the folders and settings, then open exactly
// one first window according to the command line.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "editor/win32/frm_main.h"
#include "helper/win32/frm_macro_helper.h"
#include "ivac/win32_automation.h"
#include "panels/win32/frm_ivao.h"
#include "platform/files.h"
#include "remote/win32/frm_server.h"
#include "startup/app.h"
#include "startup/win32/frm_splash.h"

namespace {

using namespace qv;

std::string EnvironmentAppData() {
  char buf[MAX_PATH + 1] = {};
  const DWORD n = GetEnvironmentVariableA("AppData", buf, sizeof buf);
  return (n > 0 && n < sizeof buf) ? std::string(buf, n) : std::string();
}

std::string ShellFolder(int csidl) {
  char buf[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf))) return {};
  return std::string(buf);  // up to the first NUL
}

std::string ExecutableFolder() {
  char buf[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return files::FolderOf(std::string(buf, n < sizeof buf ? n : 0));
}

int MessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

// Panel and client panel mode: one running panel window; the process ends
// when it closes.
int RunPanel(App& app) {
  ivac::Win32Automation ivac;
  ivac.SetSleepMs(app.settings.sleep);
  panels::PanelWindow panel(app, ivac);
  panel.activateIvac = [&ivac] {
    // A hung IvAc is not waited for twice.
    if (ivac.ActivateIvac()) ivac.FocusTextLine();
  };
  panel.firstActivation = [&ivac] { ivac.ForgetMapOwner(); };
  if (!panel.Load()) return 1;
  return MessageLoop();
}

// Server mode: the remote server window; the process ends when it closes.
int RunServer(App& app) {
  ivac::Win32Automation ivac;
  ivac.SetSleepMs(app.settings.sleep);
  remote::ServerWindow server(app, ivac);
  if (!server.Load()) return 1;
  return MessageLoop();
}

// Macro Helper mode: the helper window; the process ends when it closes.
int RunMacroHelper(App& app) {
  ivac::Win32Automation ivac;
  ivac.SetSleepMs(app.settings.sleep);
  helper::MacroHelperWindow window(ivac);
  if (!window.Load()) return 1;
  return MessageLoop();
}

// Manager mode: the splash for half a second, then the panel manager. Its
// runs in this process use the modes above, each until its window closes.
int RunManager(App& app) {
  startup::SplashWindow splash;
  if (splash.Load(nullptr)) {
    splash.AppendLoading();
    splash.Show();
  }
  win::DoEvents();
  Sleep(500);
  win::DoEvents();
  if (splash.Hwnd()) UpdateWindow(splash.Hwnd());
  editor::ManagerWindow manager(app);
  manager.runHere = [&app](editor::RunKind kind) {
    if (kind == editor::RunKind::kServer)
      RunServer(app);
    else if (kind == editor::RunKind::kPanel || kind == editor::RunKind::kClient)
      RunPanel(app);
  };
  if (!manager.Load()) return 1;
  manager.Show();
  splash.Unload();
  return manager.Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);

  App& app = TheApp();
  const AppDataSources sources{EnvironmentAppData, ShellFolder, ExecutableFolder};
  const RunChoice choice = Start(app, sources, commandLine ? commandLine : "");

  switch (choice.mode) {
    case RunMode::MacroHelper:
      // Only the Macro Helper defers to a copy that is already open.
      if (HWND existing = FindWindowA(nullptr, "Macro Helper")) {
        SetForegroundWindow(existing);
        return 0;
      }
      return RunMacroHelper(app);
    case RunMode::Server:
      return RunServer(app);
    case RunMode::Panel:
    case RunMode::Client: {
      const std::string path = PanelFilePath(app.folders.panels, choice.panelName);
      if (!files::IsRegularFile(path)) {  // a folder named like a panel is none
        MessageBoxA(nullptr, PanelNotFoundText(path).c_str(), "Quorvex",
                    MB_OK | MB_ICONEXCLAMATION);
        return 0;
      }
      app.currentPanel = choice.panelName;
      return RunPanel(app);
    }
    case RunMode::Manager:
      return RunManager(app);
  }
  return 0;
}
