#include "startup/app.h"

#include "platform/files.h"
#include "startup/log.h"

namespace qv {

Folders MakeFolders(std::string_view appData) {
  Folders f;
  f.base = std::string(appData) + "\\Quorvex";
  f.config = f.base + "\\Config";
  f.data = f.base + "\\QuorvexData";
  f.macro = f.data + "\\Macro";
  f.panels = f.data + "\\Panels";
  f.defaults = f.data + "\\Default";
  f.settingsFile = f.config + "\\Config.ini";
  return f;
}

void CreateFolders(const Folders& f) {
  for (const std::string* p : {&f.base, &f.data, &f.macro, &f.config, &f.defaults, &f.panels})
    files::CreateFolder(*p);
}

std::string ResolveAppDataFolder(const AppDataSources& s) {
  std::string folder = s.environment ? s.environment() : std::string();
  if (folder.empty() && s.shellFolder) folder = s.shellFolder(kCsidlAppData);
  if (folder.empty() && s.shellFolder) folder = s.shellFolder(kCsidlCommonAppData);
  if (folder.empty() && s.executableFolder) folder = s.executableFolder();
  return folder;
}

App& TheApp() {
  static App app;
  return app;
}

RunChoice Start(App& app, const AppDataSources& sources, std::string_view commandLine) {
  app.commandLine = std::string(commandLine);
  app.folders = MakeFolders(ResolveAppDataFolder(sources));
  CreateFolders(app.folders);
  app.settings = ReadSettings(app.folders.settingsFile);
  WriteBackSettings(app.folders.settingsFile, app.settings, app.layout);
  if (app.settings.debug) LogLine(app.folders.base, "CommandLine=" + app.commandLine);
  RunChoice choice = ChooseRunMode(commandLine);
  app.role = choice.role;
  return choice;
}

void DebugLog(std::string_view text) {
  const App& app = TheApp();
  if (app.settings.debug) LogLine(app.folders.base, text);
}

}  // namespace qv
