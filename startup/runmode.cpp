#include "startup/runmode.h"

#include "platform/text.h"

namespace qv {

RunChoice ChooseRunMode(std::string_view commandLine) {
  RunChoice c;
  if (ToUpper(commandLine).find("*MACROHELPER") != std::string::npos) {
    c.mode = RunMode::MacroHelper;
    return c;
  }
  if (TrimSpaces(commandLine).empty()) {
    c.mode = RunMode::Manager;
    return c;
  }
  if (commandLine.find("*CLIENT") != std::string_view::npos) {
    c.mode = RunMode::Client;
    c.role = "SEND";
    c.panelName = TrimSpaces(ReplaceAll(commandLine, "*CLIENT", ""));
  } else if (commandLine.find("*SERVER") != std::string_view::npos) {
    c.mode = RunMode::Server;
    c.role = "RECV";
  } else {
    c.mode = RunMode::Panel;
    c.panelName = TrimSpaces(commandLine);
  }
  return c;
}

std::string PanelFilePath(std::string_view panelsFolder, std::string_view panelName) {
  return std::string(panelsFolder) + "\\" + std::string(panelName) + ".ini";
}

std::string PanelNotFoundText(std::string_view path) {
  return std::string(path) + "\r\n\nPanel not found";
}

}  // namespace qv
