#include "panels/script_check_cli.h"

#include "panels/script_check.h"
#include "platform/files.h"
#include "platform/text.h"

namespace qv::scriptcheck {

namespace {

constexpr const char* kUsage =
    "usage: scriptcheck [--server] [--macros FOLDER] FILE...\n"
    "\n"
    "Lists the lines of Quorvex macro scripts that will silently do nothing:\n"
    "unknown command words, tag sub-commands that do nothing, DLG_OPEN\n"
    "arguments that are refused, INCLUDE files that are missing, selection\n"
    "blocks left open, lines after a command that ends the script, and panel\n"
    "values longer than 254 characters, which are cut when read.\n"
    "\n"
    "  FILE            a macro file, or a panel file (name ending in .ini),\n"
    "                  whose grid buttons and their macro files are checked\n"
    "  --macros FOLDER the macro folder for INCLUDE and for the files buttons\n"
    "                  name; by default the macro file's own folder, or the\n"
    "                  Macro folder beside a panel file's folder\n"
    "  --server        check scripts as the remote server runs them\n"
    "\n"
    "Exit status: 0 nothing found, 1 findings, 2 bad arguments or a file that\n"
    "cannot be read.\n";

bool IsPanelFile(const std::string& path) {
  return path.size() >= 4 && EqualsNoCase(std::string_view(path).substr(path.size() - 4), ".ini");
}

// The folder that holds `folder`; "" stands for the current folder, and a
// relative path climbs with "..".
std::string ParentFolder(const std::string& folder) {
  if (folder.empty()) return "..";
  const size_t cut = folder.find_last_of("\\/");
  const std::string last = cut == std::string::npos ? folder : folder.substr(cut + 1);
  if (last == "." || last == "..") return folder + "\\..";
  if (cut == std::string::npos) return ".";
  return folder.substr(0, cut);  // "" for a folder at the root of the drive
}

// A panel file lives in the panels folder; the macro folder is beside it.
std::string SiblingMacroFolder(const std::string& panelFile) {
  return ParentFolder(files::FolderOf(panelFile)) + "\\Macro";
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  panels::CheckOptions base;
  std::string macros;
  std::vector<std::string> inputs;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h" || a == "/?") {
      out << kUsage;
      return kClean;
    }
    if (a == "--server") {
      base.role = panels::Role::kServer;
    } else if (a == "--macros") {
      if (++i >= args.size()) {
        err << "scriptcheck: --macros needs a folder\n" << kUsage;
        return kTrouble;
      }
      macros = args[i];
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      err << "scriptcheck: unknown option " << a << "\n" << kUsage;
      return kTrouble;
    } else {
      inputs.push_back(a);
    }
  }
  if (inputs.empty()) {
    err << kUsage;
    return kTrouble;
  }

  int status = kClean;
  for (const std::string& file : inputs) {
    panels::CheckOptions options = base;
    const bool panel = IsPanelFile(file);
    if (!macros.empty())
      options.macroFolder = macros;
    else if (panel)
      options.macroFolder = SiblingMacroFolder(file);
    else
      options.macroFolder = files::FolderOf(file);
    if (options.macroFolder.empty()) options.macroFolder.assign(1, '.');  // the current folder

    const auto findings =
        panel ? panels::CheckPanelFile(file, options) : panels::CheckMacroFile(file, options);
    for (const panels::Finding& f : findings) {
      if (f.kind == panels::Finding::Kind::kUnreadableFile) {
        err << panels::FormatFinding(f) << "\n";
        status = kTrouble;
        continue;
      }
      out << panels::FormatFinding(f) << "\n";
      if (status == kClean) status = kFindings;
    }
  }
  return status;
}

}  // namespace qv::scriptcheck
