// The script checker: finds the lines of a macro script that the interpreter
// will silently skip or that cannot do what they seem to say, so a user can
// see why a macro "does nothing". It reads scripts exactly as the interpreter
// does (same splitting, same command words) and changes nothing in how they
// run. Used by the scriptcheck program and, later, by the editors.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "panels/script.h"

namespace qv::panels {

struct Finding {
  enum class Kind {
    kUnknownCommand,    // the command word is no command for this role
    kIgnoredTagSub,     // a tag line whose sub-command does nothing
    kRefusedDlgOpen,    // DLG_OPEN with an argument it does not accept
    kUnknownCode,       // a toolbar or dialog code IvAc does not have
    kMissingInclude,    // INCLUDE of a file that is not in the macro folder
    kSelfInclude,       // INCLUDE of the file itself: refused when run
    kOpenBlock,         // a selection block that is never closed
    kUnreachable,       // lines after a command that ends the script
    kValueCut,          // a panel value longer than its readers see
    kMissingMacroFile,  // a button names a macro file that does not exist
    kUnreadableFile,
  };
  std::string where;  // the macro file, or the panel file and button
  size_t line = 0;    // line of the script from 1; 0 for the whole value
  Kind kind = Kind::kUnknownCommand;
  std::string text;     // the line (trimmed) or the key
  std::string message;  // what happens to it
};

struct CheckOptions {
  Role role = Role::kPanel;
  std::string macroFolder;
};

// Checks one script. `where` names it in the findings; `selfName` is the
// script's own macro file name when it is one, for the self-include check.
std::vector<Finding> CheckScript(std::string_view script, const CheckOptions& options,
                                 std::string_view where, std::string_view selfName = {});

// Checks a macro file in the macro folder, or anywhere when given a path.
std::vector<Finding> CheckMacroFile(std::string_view path, const CheckOptions& options);

// Checks one "macro" value of a button: an inline script, or the macro file
// it names. Files already in `checkedFiles` (upper-case paths) are skipped.
std::vector<Finding> CheckValue(std::string_view macroValue, const CheckOptions& options,
                                std::string_view where,
                                std::set<std::string>* checkedFiles = nullptr);

// Checks every grid button of a panel file: the "macro" and "macroReleased"
// values (inline scripts and the macro files they name) and every value of
// the button's section that readers will cut.
std::vector<Finding> CheckPanelFile(std::string_view panelFile, const CheckOptions& options);

// One line per finding: where, line number, message and the text.
std::string FormatFinding(const Finding& finding);

}  // namespace qv::panels
