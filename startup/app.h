// Process-wide values: the folders, the settings, the remote role, the
// current panel name and the layout values, set at start and read
// everywhere for the whole run.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "startup/runmode.h"
#include "startup/settings.h"

namespace qv {

struct Folders {
  std::string base;          // application-data folder & "\Quorvex"
  std::string config;        // base & "\Config"
  std::string data;          // base & "\QuorvexData"
  std::string macro;         // data & "\Macro"
  std::string panels;        // data & "\Panels"
  std::string defaults;      // data & "\Default"
  std::string settingsFile;  // config & "\Config.ini"
};

Folders MakeFolders(std::string_view appDataFolder);

// Creates the folders one level at a time, in order: base, data, macro,
// config, defaults, panels. Failures are skipped.
void CreateFolders(const Folders& f);

// Where the application-data folder comes from, in this order: the
// "AppData" environment variable, the shell's per-user folder (26), the
// all-users folder (35), the executable's folder.
struct AppDataSources {
  std::function<std::string()> environment;           // "AppData", "" when unset
  std::function<std::string(int csidl)> shellFolder;  // "" on failure
  std::function<std::string()> executableFolder;
};
inline constexpr int kCsidlAppData = 26;
inline constexpr int kCsidlCommonAppData = 35;
std::string ResolveAppDataFolder(const AppDataSources& sources);

struct App {
  Folders folders;
  Settings settings;
  std::string role;          // "", "SEND" or "RECV"
  std::string currentPanel;  // panel name without folder and ".ini"
  LayoutValues layout;       // twips, set by the window that lays out a grid
  std::string commandLine;   // as the process received it
};

App& TheApp();

// Steps of the start that need no window: folders, Config.ini read and
// written back, the "CommandLine=" log line. Returns the run choice; the
// caller opens the first window.
RunChoice Start(App& app, const AppDataSources& sources, std::string_view commandLine);

// Appends a line to the day's log when Debug is on.
void DebugLog(std::string_view text);

}  // namespace qv
