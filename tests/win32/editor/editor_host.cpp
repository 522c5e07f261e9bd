// Opens the panel editors on their own, for the editor tests and the
// screenshots: "editor_host <panel>" opens the layout editor on a panel of
// the AppData folder's panels folder, as the panel manager does.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "editor/frm_def.h"
#include "startup/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  qv::App& app = qv::TheApp();
  const qv::AppDataSources sources{
      [] {
        char value[MAX_PATH] = {};
        const DWORD n = GetEnvironmentVariableA("APPDATA", value, MAX_PATH);
        return n > 0 && n < MAX_PATH ? std::string(value) : std::string();
      },
      [](int) { return std::string(); }, [] { return std::string(); }};
  qv::Start(app, sources, "");
  const std::string panel = commandLine ? commandLine : "";
  if (panel.empty()) return 2;
  qv::editor::OpenLayoutEditor(nullptr, panel);
  return 0;
}
