// The macro script interpreter (ExecuteScript): runs a script line by line,
// hands each command to one IvAc automation primitive and shows its status
// text, keeps selection blocks, nests INCLUDE files and carries out panel
// navigation when a run ends. The same interpreter serves the running panel
// and, with Role::kServer, the remote server window.
//
// One run at a time: primitives let pending window events run, so a click,
// a received command, navigation or closing can arrive while a script runs.
// A new run is refused then (the click does nothing); navigation and closing
// asked for by the user are deferred and carried out, in order, as soon as
// the run has ended.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ivac/automation.h"
#include "panels/script.h"

namespace qv::panels {

// Everything of its window the interpreter needs. The panel window and the
// server window implement it; host tests use a recording fake.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // The status line lblInfo: set the caption and repaint at once.
  virtual void ShowStatus(std::string_view text) = 0;
  virtual std::string StatusText() const = 0;

  // One line of the diagnostic log. Called only when debugging is on.
  virtual void Log(std::string_view line) = 0;

  // The current panel name, and switching the window to another panel whose
  // file exists (the name becomes current, the window is rebuilt).
  virtual std::string CurrentPanel() const = 0;
  virtual void ShowPanel(std::string_view name) = 0;

  // Closing the window as the user asked (a deferred close ends up here).
  virtual void CloseWindow() = 0;
  // CLOSE: ends the program at once, without window-closing events. The
  // program never comes back; a test fake does, and the run stops.
  virtual void EndProgram() = 0;

  // RUN_PANEL: a new process of this program with `panel` as its command line.
  virtual void StartPanelProcess(std::string_view panel) = 0;
  // LINK: the shell's "open" on a file with parameters, from the program's
  // folder; the result is the shell's return value.
  virtual int64_t ShellOpen(std::string_view file, std::string_view parameters) = 0;

  // Server only: ENABLE_MONITOR starts the monitor timer; SELECT remembers
  // the callsign so the monitor does not report it back.
  virtual void StartMonitor(int32_t intervalMs, int32_t ioPeriodMs) = 0;
  virtual void SetLastSelection(std::string_view callsign) = 0;
};

struct ScriptContext {
  Role role = Role::kPanel;
  std::string macroFolder;
  std::string panelsFolder;
  bool debug = false;
  // The server takes scripts from the network: LINK may start programs
  // only when its settings allow it, and INCLUDE names stay inside the
  // macro folder.
  bool allowLink = true;
  bool confineIncludes = false;
};

// How deep INCLUDE files may nest. The language has no conditionals, so a
// file that includes itself would otherwise never end.
inline constexpr int kMaxIncludeDepth = 32;

enum class RunResult {
  kRan,      // the script ran (or stopped at the start check)
  kRefused,  // another run is in progress
};

class Interpreter {
 public:
  Interpreter(ScriptContext context, ivac::Automation& ivac, ScriptHost& host);

  // ExecuteScript: runs `script` to its end. `origin` is the macro file the
  // script came from, if any (so that it cannot include itself).
  RunResult Execute(std::string_view script, std::string_view origin = {});
  bool Running() const { return depth_ > 0; }

  // OpenAssistant: switches to `name` when its panel file exists; false when
  // it does not. Asked for while a run is in progress, the switch is
  // deferred until the run has ended.
  bool OpenAssistant(std::string_view name);

  // The user's "Previous Assistant" (menu, Backspace, tray) and closing.
  // While a run is in progress both are deferred until it ends.
  void PreviousAssistant();
  void RequestClose();

  // The panel stack: pushed by CALL, popped by BACK and PreviousAssistant.
  const std::vector<std::string>& PanelStack() const { return stack_; }

  const ScriptContext& Context() const { return context_; }
  void SetDebug(bool on) { context_.debug = on; }

  // The status texts of the refusals this interpreter adds.
  static std::string IncludeCycleText(std::string_view name);
  static std::string IncludeDepthText(std::string_view name);

 private:
  enum class Navigation { kNone, kCall, kOpen, kBack };
  struct Deferred {
    enum class Kind { kOpen, kBack, kClose } kind;
    std::string panel;  // for kOpen
  };

  void Run(std::string_view script);
  bool StartCheck(std::string_view script);
  void EnableMonitor(std::string_view arguments);
  void Show(const std::string& text);
  // Takes the automation's fault after a primitive; when there is one, shows
  // it and stops the run.
  bool Faulted();
  void Include(std::string_view name);
  void Link(std::string_view argument);
  void Select(std::string_view argument);
  void TagLine(std::string_view tag, std::string_view argument, std::string& block);
  void Navigate(Navigation nav, const std::string& target);
  bool SwitchTo(std::string_view name);
  void PopAndOpen();
  void RunDeferred();

  ScriptContext context_;
  ivac::Automation& ivac_;
  ScriptHost& host_;
  std::vector<std::string> stack_;
  std::vector<std::string> includeChain_;  // upper-cased paths of running files
  std::vector<Deferred> deferred_;
  int depth_ = 0;
  bool stopped_ = false;  // CLOSE or an unreadable file: unwind every level
  bool ended_ = false;    // CLOSE: the program has ended
};

// --------------------------------------------------------------------------
// From a button's "macro" value to a script.

// Which key a click runs: type 1 runs "macroReleased" while its kept state is
// on; type 2 runs "macro" when the click latched it down, "macroReleased"
// when it came up; every other type runs "macro".
std::string_view MacroKeyFor(int32_t type, bool keptStateOn, bool latchedDown);

// In the client role a value is sent to the server unless it begins,
// upper-cased, with "*OPEN".
bool SendsToRemote(std::string_view trimmedValue);

struct ScriptSource {
  // kTooLarge: over 1 MB; kNotAFile: a folder or a device name.
  enum class Kind { kEmpty, kInline, kFile, kMissingFile, kUnreadable, kTooLarge, kNotAFile };
  Kind kind = Kind::kEmpty;
  std::string script;  // the script to run (inline text or file content)
  std::string path;    // the macro file, for kFile, kMissingFile, kUnreadable
};

// Resolves a trimmed "macro" value: "|" and the inline script, or a file in
// the macro folder.
ScriptSource ResolveMacro(std::string_view value, std::string_view macroFolder);

// The text shown for a missing macro file: the path, CR LF, LF, "file not
// found " (with its trailing space).
std::string FileNotFoundText(std::string_view path);

// The text shown for a macro file that is there but cannot be read (held
// open by another program without sharing, no permission): the path, CR LF,
// LF, "file cannot be read".
std::string FileUnreadableText(std::string_view path);

// The text shown for a macro file that is refused (kTooLarge, kNotAFile):
// the path, CR LF, LF, and why.
std::string FileRefusedText(const ScriptSource& source);

}  // namespace qv::panels
