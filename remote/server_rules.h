// Rules of the server window that need no window: which macro file names a
// network peer may name, the limits of the monitor, and the queue that runs
// received commands one at a time. Portable: no Win32 here.
//
// The server runs on the controller's own PC and takes commands from anyone
// who can reach its port and knows its name. What a command may touch is
// therefore narrower than on a local panel: a macro file or INCLUDE name
// must stay inside the macro folder, and LINK (which starts programs) is
// refused unless Config.ini says RemoteLink=1.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::remote {

// A macro file name from the network: a relative path inside the macro
// folder. Refused: empty names, absolute paths ("\x", "/x"), UNC paths,
// drive letters and alternate streams (any ":"), ".." and "." parts, empty
// parts, parts ending in "." or " " (Windows would drop those), wildcards
// and quotes, device names (CON, NUL, COM1...) with or without extension,
// control bytes, and names longer than kMaxMacroNameChars.
inline constexpr size_t kMaxMacroNameChars = 200;
bool IsConfinedMacroName(std::string_view name);

// ElaboraComando's first half: what a received command runs. An inline
// command ("|" and the script) runs as it is; any other command names a
// macro file of the server, which must pass IsConfinedMacroName and is then
// read as a panel's click reads it (1 MB at most). When nothing runs,
// `status` says why ("" for an empty command).
struct RemoteScript {
  bool run = false;
  std::string script;
  std::string origin;  // the macro file, for a file command
  std::string status;
};
RemoteScript ResolveRemoteCommand(std::string_view command, std::string_view macroFolder);

// Status texts of the server's refusals.
std::string MacroNameRefusedText(std::string_view name);
inline constexpr std::string_view kLinkRefused = "LINK refused - RemoteLink is off on this server";
// True for the texts above: after a run the status line shows the command,
// unless the run ended on one of these refusals, which stays in view.
bool IsServerRefusal(std::string_view status);

// ENABLE_MONITOR's two numbers, held to a range a timer can keep: the
// interval from 100 ms to one minute, the I/O period from one interval to an
// hour.
struct MonitorTiming {
  int32_t intervalMs = 0;
  int32_t ioPeriodMs = 0;
};
inline constexpr int32_t kMinMonitorIntervalMs = 100;
inline constexpr int32_t kMaxMonitorIntervalMs = 60 * 1000;
inline constexpr int32_t kMaxMonitorIoPeriodMs = 60 * 60 * 1000;
MonitorTiming ClampMonitor(int32_t intervalMs, int32_t ioPeriodMs);

// The monitor's memory between ticks: what it last reported of the
// selection and of the In/Out list, and the ticks since the list was read.
class Monitor {
 public:
  void Start(MonitorTiming timing);
  void Stop() { active_ = false; }
  bool Active() const { return active_; }
  MonitorTiming Timing() const { return timing_; }

  // A callsign the client selected itself is not reported back.
  void SetLastSelection(std::string_view callsign) { lastSelection_ = callsign; }

  // One timer tick. `selection` is the callsign now selected in IvAc ("" for
  // none); `readIo` reads the In/Out list and is called only when the I/O
  // period has passed. Returns the reports to send, each ended by its CR.
  std::vector<std::string> Tick(std::string_view selection,
                                const std::function<std::string()>& readIo);

 private:
  MonitorTiming timing_;
  bool active_ = false;
  int32_t ticks_ = 0;
  std::string lastSelection_;
  std::string lastIo_;
};

// Received commands wait here and run one after the other, in arrival
// order. A command runs to its end before the next starts, also when the
// run lets window messages in and more commands arrive meanwhile: those are
// queued, and the drain that is already running takes them.
class CommandQueue {
 public:
  void Push(std::string command) { queue_.push_back(std::move(command)); }
  void Drain(const std::function<void(const std::string&)>& run);
  // The connection ended: commands not yet started are dropped.
  void Clear() { queue_.clear(); }
  bool Draining() const { return draining_; }
  size_t Size() const { return queue_.size(); }

 private:
  std::deque<std::string> queue_;
  bool draining_ = false;
};

}  // namespace qv::remote
