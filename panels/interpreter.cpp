#include "panels/interpreter.h"

#include <utility>

#include "panels/link_args.h"
#include "panels/panel_file.h"
#include "platform/files.h"
#include "platform/text.h"
#include "remote/server_rules.h"

namespace qv::panels {

namespace {

std::string_view TrimSpaceView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

std::string Cat(std::string_view a, std::string_view b) {
  std::string s;
  s.reserve(a.size() + b.size());
  s += a;
  s += b;
  return s;
}

bool IsFile(const std::string& path) { return files::IsRegularFile(path); }

ivac::LabelAction LabelOf(Command c) {
  switch (c) {
    case Command::kAddToIo:
      return ivac::LabelAction::kAddToIo;
    case Command::kForceAct:
      return ivac::LabelAction::kForceAct;
    case Command::kAssumeLabel:
      return ivac::LabelAction::kAssume;
    case Command::kReleaseLabel:
      return ivac::LabelAction::kRelease;
    case Command::kReqFpl:
      return ivac::LabelAction::kRequestFpl;
    default:
      return ivac::LabelAction::kShowFpl;
  }
}

}  // namespace

Interpreter::Interpreter(ScriptContext context, ivac::Automation& ivac, ScriptHost& host)
    : context_(std::move(context)), ivac_(ivac), host_(host) {}

std::string Interpreter::IncludeCycleText(std::string_view name) {
  return Cat(Cat("INCLUDE ", name), " refused - the file is already running");
}

std::string Interpreter::IncludeDepthText(std::string_view name) {
  return Cat(Cat("INCLUDE ", name), " refused - more than 32 nested files");
}

RunResult Interpreter::Execute(std::string_view script, std::string_view origin) {
  if (depth_ > 0) return RunResult::kRefused;
  stopped_ = false;
  ended_ = false;
  includeChain_.clear();
  if (!origin.empty()) includeChain_.push_back(ToUpper(origin));
  Run(script);
  includeChain_.clear();
  if (!ended_) RunDeferred();
  deferred_.clear();
  return RunResult::kRan;
}

void Interpreter::Show(const std::string& text) {
  if (!Faulted()) host_.ShowStatus(text);
}

bool Interpreter::Faulted() {
  const std::string fault = ivac_.TakeFault();
  if (fault.empty()) return false;
  // The primitive could not do its work: its fault replaces its status, and
  // nothing after it runs (the next line would act on a state it assumes).
  host_.ShowStatus(fault);
  if (context_.role == Role::kPanel && context_.debug) host_.Log(Cat("lblInfo=", fault));
  stopped_ = true;
  return true;
}

bool Interpreter::StartCheck(std::string_view script) {
  const bool panel = context_.role == Role::kPanel;
  if (panel && ExemptFromStartCheck(script)) return true;
  ivac_.GetHandles();
  if (ivac_.IvacFound()) return true;
  if (!panel && Like(script, "ENABLE_MONITOR*"))
    EnableMonitor(ReplaceAll(script, "ENABLE_MONITOR ", ""));
  Show(std::string(ivac::kIvacNotFound));
  if (panel && context_.debug) {
    host_.Log(Cat("Script=", script));
    host_.Log(Cat("lblInfo=", host_.StatusText()));
  }
  return false;
}

void Interpreter::EnableMonitor(std::string_view arguments) {
  const size_t comma = arguments.find(',');
  const std::string_view before = arguments.substr(0, comma);
  const std::string_view after =
      comma == std::string_view::npos ? std::string_view() : arguments.substr(comma + 1);
  host_.StartMonitor(LeadingInt(before), LeadingInt(after));
  ivac_.GetHandles();
  if (!ivac_.IvacFound()) Show(std::string(ivac::kIvacNotFound));
}

void Interpreter::Run(std::string_view script) {
  struct Depth {
    int& d;
    explicit Depth(int& depth) : d(depth) { ++d; }
    ~Depth() { --d; }
  } depth(depth_);

  if (!StartCheck(script)) return;

  const bool panel = context_.role == Role::kPanel;
  const bool log = panel && context_.debug;
  const std::string text = NormalizeSeparators(script);
  LineCursor lines(text);
  std::string block;
  bool inBlock = false;
  Navigation nav = Navigation::kNone;
  std::string target;

  std::string_view raw;
  while (lines.Next(raw)) {
    const std::string_view line = TrimSpaceView(raw);
    if (IsIgnoredLine(line)) continue;
    if (inBlock) {
      if (IsSelectionEnd(line)) {
        inBlock = false;
      } else {
        block += line;
        block += '\n';
      }
      continue;
    }
    if (log) host_.Log(Cat("ExecuteRow=", line));

    const CommandLine cl = SplitCommand(line);
    const std::string_view arg = cl.argument;
    const Command command = LookupCommand(cl.word, context_.role);
    bool endLoop = false;
    switch (command) {
      case Command::kUnknown:
        break;
      case Command::kClose:
        host_.EndProgram();
        stopped_ = ended_ = true;
        return;
      case Command::kBack:
        nav = Navigation::kBack;
        endLoop = true;
        break;
      case Command::kCall:
        nav = Navigation::kCall;
        target = arg;
        endLoop = true;
        break;
      case Command::kOpen:
        nav = Navigation::kOpen;
        target = arg;
        endLoop = true;
        break;
      case Command::kRunPanel:
        if (IsFile(PanelPath(context_.panelsFolder, arg))) host_.StartPanelProcess(arg);
        break;
      case Command::kInclude:
        Include(arg);
        break;
      case Command::kLink:
        Link(arg);
        break;
      case Command::kClearText:
        Show(ivac_.SetText("", false, true, false));
        break;
      case Command::kAddTextNoSpace:
        Show(ivac_.SetText(arg, true, false, false));
        break;
      case Command::kAddText:
        Show(ivac_.SetText(Cat(" ", arg), true, false, false));
        break;
      case Command::kSendText:
        Show(ivac_.SetText(arg, false, false, true));
        break;
      case Command::kCommBox:
        Show(ivac_.SelectTab(arg));
        break;
      case Command::kZoom:
        Show(ivac_.DotCommand(Cat(".Z ", arg)));
        break;
      case Command::kCenterpoint:
        Show(ivac_.DotCommand(Cat(".C ", arg)));
        break;
      case Command::kResetCenterpoint:
        Show(ivac_.ResetCenterpoint());
        break;
      case Command::kColorScheme:
        Show(ivac_.ColorScheme(arg));
        break;
      case Command::kMoveIvac:
        Show(ivac_.MoveIvac(arg));
        break;
      case Command::kPress:
        Show(ivac_.SetButton(arg, true));
        break;
      case Command::kRelease:
        Show(ivac_.SetButton(arg, false));
        break;
      case Command::kSaveButtons:
        Show(ivac_.SaveButtons());
        break;
      case Command::kResetButtons:
        Show(ivac_.ResetButtons());
        break;
      case Command::kAddToIo:
      case Command::kForceAct:
      case Command::kAssumeLabel:
      case Command::kReleaseLabel:
      case Command::kReqFpl:
      case Command::kShowFpl:
        Show(ivac_.LabelCommand(LabelOf(command)));
        break;
      case Command::kTransferTo:
        Show(ivac_.TransferTo(arg));
        break;
      case Command::kClearedToFl:
        Show(ivac_.Clear(ivac::Clearance::kFlightLevel, arg));
        break;
      case Command::kClearedToFix:
        Show(ivac_.Clear(ivac::Clearance::kFix, arg));
        break;
      case Command::kClearedToSpeed:
        Show(ivac_.Clear(ivac::Clearance::kSpeed, arg));
        break;
      case Command::kOca:
        Show(ivac_.OccupiedArea(arg));
        break;
      case Command::kSelect:
        Select(arg);
        break;
      case Command::kSelectionStart:
        block.clear();
        inBlock = true;
        break;
      case Command::kDlgOpen:
        if (IsDlgOpenTag(arg)) {
          if (ivac_.DialogRemembered()) {
            ivac_.ForgetDialogCode();
            Show(ivac_.DlgClose());
          }
          Show(ivac_.DlgOpen(arg));
        }
        break;
      case Command::kDlgSelectNone:
        Show(ivac_.DlgSelect(block, "SELECT_NONE", false));
        break;
      case Command::kDlgSelectAll:
        Show(ivac_.DlgSelect(block, "SELECT_ALL", true));
        break;
      case Command::kDlgSelect:
        Show(ivac_.DlgSelect(arg, "", false));
        break;
      case Command::kDlgUnselect:
        Show(ivac_.DlgSelect(arg, "", true));
        break;
      case Command::kDlgClose:
        if (ivac_.DialogRemembered()) {
          ivac_.ForgetDialogCode();
          Show(ivac_.DlgClose());
        }
        break;
      case Command::kEnableMonitor:
        EnableMonitor(arg);
        break;
      case Command::kTag:
        TagLine(cl.word, arg, block);
        break;
    }
    if (stopped_ || Faulted()) return;
    if (endLoop) break;
    block.clear();
    if (log) host_.Log(Cat("lblInfo=", host_.StatusText()));
  }
  // A script that ends inside a block drops the block: nothing reads it.

  if (panel) Navigate(nav, target);
}

void Interpreter::Select(std::string_view argument) {
  ivac_.GetHandles();
  if (!ivac_.IvacFound()) {
    Show(std::string(ivac::kIvacNotFound));
    return;
  }
  if (context_.role == Role::kServer) host_.SetLastSelection(argument);
  // The status line is left as it was.
  ivac_.SetText(Cat(".s ", TrimSpaces(argument)), false, true, true);
}

void Interpreter::TagLine(std::string_view tag, std::string_view argument, std::string& block) {
  const TagArgument t = SplitTagArgument(argument);
  switch (LookupTagSub(t.subCommand)) {
    case TagSub::kNothing:
      break;
    case TagSub::kSelectNone:
      Show(ivac_.SelectInDialog("", tag, t.subCommand, false));
      break;
    case TagSub::kSelectAll:
      Show(ivac_.SelectInDialog("", tag, t.subCommand, true));
      break;
    case TagSub::kSelectNoneExceptSelection:
      Show(ivac_.SelectInDialog(block, tag, "SELECT_NONE", false));
      break;
    case TagSub::kSelectAllExceptSelection:
      Show(ivac_.SelectInDialog(block, tag, "SELECT_ALL", true));
      break;
    case TagSub::kSelect:
    case TagSub::kUnselect:
      // The item after the sub-command selects one entry; a block given
      // before the line wins over it.
      if (!t.item.empty() && block.empty()) block = t.item + '\n';
      Show(ivac_.SelectInDialog(block, tag, "", LookupTagSub(t.subCommand) == TagSub::kUnselect));
      break;
    case TagSub::kSaveDefault:
      ivac_.SaveDefault(tag);
      break;
    case TagSub::kResetDefault:
      Show(ivac_.ResetDefault(tag));
      break;
  }
}

void Interpreter::Include(std::string_view name) {
  if (context_.confineIncludes && !remote::IsConfinedMacroName(name)) {
    Show(remote::MacroNameRefusedText(name));
    return;
  }
  const std::string path = Cat(Cat(context_.macroFolder, "\\"), name);
  // No name names no file (the path would be the macro folder itself).
  if (TrimBlanks(name).empty()) return;
  if (!files::Exists(path) && !files::IsDeviceName(path)) return;
  const std::string key = ToUpper(path);
  for (const std::string& running : includeChain_) {
    if (running == key) {
      Show(IncludeCycleText(name));
      return;
    }
  }
  if (depth_ > kMaxIncludeDepth) {
    Show(IncludeDepthText(name));
    return;
  }
  std::string content;
  switch (files::ReadScript(path, content)) {
    case files::ScriptRead::kOk:
      break;
    case files::ScriptRead::kMissing:
      return;
    case files::ScriptRead::kUnreadable:
      // A file that exists but cannot be read abandons the whole run.
      stopped_ = true;
      return;
    case files::ScriptRead::kTooLarge:
      Show(Cat(Cat("INCLUDE ", name), " refused - the file is larger than 1 MB"));
      stopped_ = true;
      return;
    case files::ScriptRead::kNotAFile:
      Show(Cat(Cat("INCLUDE ", name), " refused - not a file"));
      stopped_ = true;
      return;
  }
  includeChain_.push_back(key);
  Run(content);
  includeChain_.pop_back();
}

void Interpreter::Link(std::string_view argument) {
  // A blank argument would make the shell open the program itself.
  if (TrimBlanks(argument).empty()) return;
  if (!context_.allowLink) {
    Show(std::string(remote::kLinkRefused));
    return;
  }
  std::string file, parameters;
  if (context_.role == Role::kPanel) {
    const std::vector<std::string> words = SplitCommandLine(argument);
    file = TrimSpaces(words.front());
    parameters = TrimSpaces(JoinParameters(words));
  } else {
    file = TrimSpaces(argument);
  }
  Show(DecimalText(host_.ShellOpen(file, parameters)));
}

bool Interpreter::OpenAssistant(std::string_view name) {
  if (!Running()) return SwitchTo(name);
  if (!IsFile(PanelPath(context_.panelsFolder, name))) return false;
  deferred_.push_back({Deferred::Kind::kOpen, std::string(name)});
  return true;
}

bool Interpreter::SwitchTo(std::string_view name) {
  if (!IsFile(PanelPath(context_.panelsFolder, name))) return false;
  if (context_.debug) host_.Log(Cat("Assistant=", name));
  host_.ShowPanel(name);
  return true;
}

void Interpreter::PopAndOpen() {
  if (stack_.empty()) return;
  const std::string name = std::move(stack_.back());
  stack_.pop_back();
  SwitchTo(name);
}

void Interpreter::Navigate(Navigation nav, const std::string& target) {
  switch (nav) {
    case Navigation::kNone:
      break;
    case Navigation::kCall:
      if (target.empty()) break;
      // Pushed even when the called panel does not exist: a BACK then
      // reopens the current panel.
      stack_.push_back(host_.CurrentPanel());
      SwitchTo(target);
      break;
    case Navigation::kOpen:
      if (!target.empty()) SwitchTo(target);
      break;
    case Navigation::kBack:
      PopAndOpen();
      break;
  }
}

void Interpreter::PreviousAssistant() {
  if (Running()) {
    deferred_.push_back({Deferred::Kind::kBack, {}});
    return;
  }
  PopAndOpen();
}

void Interpreter::RequestClose() {
  if (Running()) {
    deferred_.push_back({Deferred::Kind::kClose, {}});
    return;
  }
  host_.CloseWindow();
}

void Interpreter::RunDeferred() {
  // Taken out first: what runs here may ask for more, and is then no longer
  // inside a run.
  std::vector<Deferred> pending;
  pending.swap(deferred_);
  for (const Deferred& d : pending) {
    switch (d.kind) {
      case Deferred::Kind::kClose:
        host_.CloseWindow();
        return;
      case Deferred::Kind::kOpen:
        SwitchTo(d.panel);
        break;
      case Deferred::Kind::kBack:
        PopAndOpen();
        break;
    }
  }
}

// ---------------------------------------------------------------------------

std::string_view MacroKeyFor(int32_t type, bool keptStateOn, bool latchedDown) {
  if (type == 1) return keptStateOn ? "macroReleased" : "macro";
  if (type == 2) return latchedDown ? "macro" : "macroReleased";
  return "macro";
}

bool SendsToRemote(std::string_view trimmedValue) {
  return !StartsWithNoCase(trimmedValue, "*OPEN");
}

ScriptSource ResolveMacro(std::string_view value, std::string_view macroFolder) {
  ScriptSource s;
  const std::string v = TrimSpaces(value);
  if (v.empty()) return s;
  if (v.front() == '|') {
    s.kind = ScriptSource::Kind::kInline;
    s.script = v.substr(1);
    return s;
  }
  s.path = Cat(Cat(macroFolder, "\\"), v);
  switch (files::ReadScript(s.path, s.script)) {
    case files::ScriptRead::kOk:
      s.kind = ScriptSource::Kind::kFile;
      break;
    case files::ScriptRead::kMissing:
      s.kind = ScriptSource::Kind::kMissingFile;
      break;
    case files::ScriptRead::kUnreadable:
      s.kind = ScriptSource::Kind::kUnreadable;
      break;
    case files::ScriptRead::kTooLarge:
      s.kind = ScriptSource::Kind::kTooLarge;
      break;
    case files::ScriptRead::kNotAFile:
      s.kind = ScriptSource::Kind::kNotAFile;
      break;
  }
  return s;
}

std::string FileNotFoundText(std::string_view path) { return Cat(path, "\r\n\nfile not found "); }

std::string FileUnreadableText(std::string_view path) {
  return Cat(path, "\r\n\nfile cannot be read");
}

std::string FileRefusedText(const ScriptSource& source) {
  return Cat(source.path, source.kind == ScriptSource::Kind::kTooLarge
                              ? "\r\n\nfile larger than 1 MB - not run"
                              : "\r\n\nnot a file - not run");
}

}  // namespace qv::panels
