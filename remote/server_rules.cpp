#include "remote/server_rules.h"

#include <algorithm>
#include <utility>

#include "panels/interpreter.h"
#include "platform/text.h"

namespace qv::remote {

namespace {

bool IsDeviceName(std::string_view part) {
  // The device is the part before the first "." ("NUL.txt" is NUL too), with
  // trailing blanks ignored as Windows ignores them.
  std::string base = ToUpper(part.substr(0, part.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view d : kDevices)
    if (base == d) return true;
  if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT"))) {
    const unsigned char n = static_cast<unsigned char>(base[3]);
    // Digits, and the superscript digits 1 to 3 of the ANSI code page.
    return (n >= '0' && n <= '9') || n == 0xB9 || n == 0xB2 || n == 0xB3;
  }
  return false;
}

}  // namespace

bool IsConfinedMacroName(std::string_view name) {
  if (name.empty() || name.size() > kMaxMacroNameChars) return false;
  for (char ch : name) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) return false;
    if (std::string_view(":*?\"<>|").find(ch) != std::string_view::npos) return false;
  }
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("\\/", start);
    const std::string_view part =
        name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    // An empty part is a leading separator (absolute or UNC path) or "\\".
    if (part.empty() || part == "." || part == "..") return false;
    if (part.back() == '.' || part.back() == ' ') return false;
    if (IsDeviceName(part)) return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

std::string MacroNameRefusedText(std::string_view name) {
  std::string s("file name refused - not a macro of this server: ");
  for (char ch : name.substr(0, 200)) s += static_cast<unsigned char>(ch) < 0x20 ? '?' : ch;
  return s;
}

bool IsServerRefusal(std::string_view status) {
  return status == kLinkRefused || status.starts_with("file name refused - ");
}

RemoteScript ResolveRemoteCommand(std::string_view command, std::string_view macroFolder) {
  RemoteScript r;
  if (command.empty()) return r;
  if (command.front() != '|' && !IsConfinedMacroName(command)) {
    r.status = MacroNameRefusedText(command);
    return r;
  }
  // From here on a file is read as a panel's click reads it, size cap and all.
  panels::ScriptSource source = panels::ResolveMacro(command, macroFolder);
  using Kind = panels::ScriptSource::Kind;
  switch (source.kind) {
    case Kind::kEmpty:
      break;
    case Kind::kMissingFile:
      r.status = panels::FileNotFoundText(source.path);
      break;
    case Kind::kUnreadable:
      r.status = panels::FileUnreadableText(source.path);
      break;
    case Kind::kTooLarge:
    case Kind::kNotAFile:
      r.status = panels::FileRefusedText(source);
      break;
    case Kind::kInline:
    case Kind::kFile:
      r.run = !source.script.empty();
      r.script = std::move(source.script);
      if (source.kind == Kind::kFile) r.origin = source.path;
      break;
  }
  return r;
}

MonitorTiming ClampMonitor(int32_t intervalMs, int32_t ioPeriodMs) {
  MonitorTiming t;
  t.intervalMs = std::clamp(intervalMs, kMinMonitorIntervalMs, kMaxMonitorIntervalMs);
  t.ioPeriodMs = std::clamp(ioPeriodMs, t.intervalMs, kMaxMonitorIoPeriodMs);
  return t;
}

void Monitor::Start(MonitorTiming timing) {
  timing_ = ClampMonitor(timing.intervalMs, timing.ioPeriodMs);
  ticks_ = 0;
  active_ = true;
}

std::vector<std::string> Monitor::Tick(std::string_view selection,
                                       const std::function<std::string()>& readIo) {
  std::vector<std::string> reports;
  if (!active_) return reports;
  ++ticks_;
  if (!selection.empty() && selection != lastSelection_) {
    reports.push_back("SEL " + std::string(selection) + "\r");
    lastSelection_ = selection;
  }
  if (int64_t{timing_.intervalMs} * ticks_ >= timing_.ioPeriodMs) {
    std::string io = readIo ? readIo() : std::string();
    if (!io.empty() && io != lastIo_) reports.push_back("I/O " + io + "\r");
    // An empty read counts: a list that comes back is reported again.
    lastIo_ = std::move(io);
    ticks_ = 0;
  }
  return reports;
}

void CommandQueue::Drain(const std::function<void(const std::string&)>& run) {
  if (draining_) return;
  draining_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{draining_};
  while (!queue_.empty()) {
    const std::string command = std::move(queue_.front());
    queue_.pop_front();
    run(command);
  }
}

}  // namespace qv::remote
