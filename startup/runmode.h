// The run mode, chosen once at start from the command line.
#pragma once

#include <string>
#include <string_view>

namespace qv {

enum class RunMode { Manager, Panel, Client, Server, MacroHelper };

struct RunChoice {
  RunMode mode = RunMode::Manager;
  std::string panelName;  // Panel and Client modes: trimmed name
  std::string role;       // "", "SEND" (client panel) or "RECV" (server)
};

// "*MACROHELPER" in any letter case wins; then "*CLIENT" and "*SERVER",
// both case-sensitive, "*CLIENT" first; any other non-blank text is a panel
// name; a blank line is the panel manager.
RunChoice ChooseRunMode(std::string_view commandLine);

// Panels folder & "\" & name & ".ini".
std::string PanelFilePath(std::string_view panelsFolder, std::string_view panelName);

// The text of the "Panel not found" message: the path, CR LF, LF, and the words.
std::string PanelNotFoundText(std::string_view path);

}  // namespace qv
