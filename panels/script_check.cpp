#include "panels/script_check.h"

#include <algorithm>
#include <set>

#include "ivac/rules.h"
#include "panels/panel_file.h"
#include "panels/panel_profile.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace qv::panels {

namespace {

bool IsFile(const std::string& path) { return files::IsRegularFile(path); }

std::string Quoted(std::string_view s) {
  std::string q;
  q.reserve(s.size() + 2);
  q.push_back('"');
  q.append(s);
  q.push_back('"');
  return q;
}

std::string BaseName(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// A script line with the number a user finds it by: the line of the file, or
// for a script without line breaks (an inline value) its "|"-separated
// command.
struct NumberedLine {
  size_t number;
  std::string_view text;
};

std::vector<NumberedLine> NumberedLines(const std::string& text) {
  std::vector<NumberedLine> lines;
  const bool byCommand = text.find('\n') == std::string::npos;
  size_t fileLine = 1, command = 0, start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n' && text[i] != '|') continue;
    lines.push_back(
        {byCommand ? ++command : fileLine, std::string_view(text).substr(start, i - start)});
    if (i < text.size() && text[i] == '\n') ++fileLine;
    start = i + 1;
  }
  return lines;
}

std::string UnknownMessage(std::string_view line, std::string_view word, Role role) {
  if (!line.empty() && line.front() == '\t')
    return "the line begins with a tab and is not recognised; it does nothing";
  if (EqualsNoCase(word, kSelectionEnd)) return "<SELECTION_END> without a block to end; ignored";
  const Role other = role == Role::kPanel ? Role::kServer : Role::kPanel;
  if (LookupCommand(word, other) != Command::kUnknown)
    return Quoted(ToUpper(word)) + (role == Role::kPanel
                                        ? " works only in a server's script; ignored on a panel"
                                        : " does nothing in a script run by the server");
  return "unknown command word " + Quoted(word) + "; the line does nothing";
}

// Every key of a button section as the readers name it, twins included.
const std::vector<std::string>& ReaderKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> k;
    for (const ButtonKey& b : kButtonKeys) {
      k.emplace_back(b.read);
      if (b.hasTwin) k.push_back(std::string(b.read) + std::string(kReleasedSuffix));
    }
    return k;
  }();
  return keys;
}

// Section and key (upper case) of every line whose value is longer than a
// reader sees: only those can have been cut. One pass over the file, so that
// the exact measure runs for the few long values, not for every key.
std::set<std::pair<std::string, std::string>> LongValues(const std::string& file) {
  std::set<std::pair<std::string, std::string>> found;
  std::string text;
  if (!files::ReadAll(file, text)) return found;
  std::string section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = TrimBlanks(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.front() == '[') {
      const size_t close = line.find(']');
      section = ToUpper(
          TrimBlanks(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos || line.size() - eq - 1 < profile::kReadBufferSize) continue;
    found.emplace(section, ToUpper(TrimBlanks(line.substr(0, eq))));
  }
  return found;
}

bool IsToolbarCode(std::string_view argument) {
  const std::string code = ivac::StripBrackets(argument);
  return std::find(ivac::kToolbarCodes.begin(), ivac::kToolbarCodes.end(), code) !=
         ivac::kToolbarCodes.end();
}

}  // namespace

std::vector<Finding> CheckScript(std::string_view script, const CheckOptions& options,
                                 std::string_view where, std::string_view selfName) {
  std::vector<Finding> out;
  auto add = [&](size_t line, Finding::Kind kind, std::string_view text, std::string message) {
    out.push_back({std::string(where), line, kind, std::string(text), std::move(message)});
  };

  const std::string text = ReplaceAll(script, "\r\n", "\n");
  bool inBlock = false;
  size_t blockStart = 0;
  size_t endedAt = 0;
  for (const NumberedLine& nl : NumberedLines(text)) {
    const std::string line = TrimSpaces(nl.text);
    if (IsIgnoredLine(line)) continue;
    if (endedAt) {
      add(nl.number, Finding::Kind::kUnreachable, line,
          "never runs: the script ends at line " + std::to_string(endedAt));
      break;
    }
    if (inBlock) {
      if (IsSelectionEnd(line)) inBlock = false;
      continue;
    }
    const CommandLine cl = SplitCommand(line);
    switch (LookupCommand(cl.word, options.role)) {
      case Command::kUnknown:
        add(nl.number, Finding::Kind::kUnknownCommand, line,
            UnknownMessage(line, cl.word, options.role));
        break;
      case Command::kPress:
      case Command::kRelease:
        if (!IsToolbarCode(cl.argument))
          add(nl.number, Finding::Kind::kUnknownCode, line,
              "toolbar code " + Quoted(cl.argument) +
                  " is not one of IvAc's toolbar buttons (codes are case-sensitive); the line "
                  "does nothing");
        break;
      case Command::kTag: {
        const TagArgument t = SplitTagArgument(cl.argument);
        if (ivac::DialogCaption(ivac::StripBrackets(cl.word)).empty())
          add(nl.number, Finding::Kind::kUnknownCode, line,
              "dialog code " + Quoted(cl.word) +
                  " opens no IvAc selection dialog (codes are written in capitals); the line "
                  "does nothing");
        else if (LookupTagSub(t.subCommand) == TagSub::kNothing)
          add(nl.number, Finding::Kind::kIgnoredTagSub, line,
              t.subCommand.empty() ? std::string("a tag without a sub-command does nothing")
                                   : "tag sub-command " + Quoted(t.subCommand) + " does nothing");
        break;
      }
      case Command::kDlgOpen:
        if (!IsDlgOpenTag(cl.argument))
          add(nl.number, Finding::Kind::kRefusedDlgOpen, line,
              "DLG_OPEN accepts only [SID] [STAR] [H] [L] [AP] [GEO] [FIX] [VOR] [NDB], "
              "written in capitals; the line does nothing");
        break;
      case Command::kInclude:
        if (!selfName.empty() && EqualsNoCase(cl.argument, selfName))
          add(nl.number, Finding::Kind::kSelfInclude, line,
              "the file includes itself; the interpreter refuses it");
        else if (!IsFile(options.macroFolder + "\\" + std::string(cl.argument)))
          add(nl.number, Finding::Kind::kMissingInclude, line,
              "INCLUDE file " + Quoted(cl.argument) + " is not in the macro folder; nothing runs");
        break;
      case Command::kSelectionStart:
        inBlock = true;
        blockStart = nl.number;
        break;
      case Command::kClose:
      case Command::kBack:
      case Command::kCall:
      case Command::kOpen:
        endedAt = nl.number;
        break;
      default:
        break;
    }
  }
  if (inBlock)
    add(blockStart, Finding::Kind::kOpenBlock, std::string(kSelectionStart),
        "the selection block is never closed by <SELECTION_END>; its lines are dropped");
  return out;
}

std::vector<Finding> CheckMacroFile(std::string_view path, const CheckOptions& options) {
  std::string content;
  if (!IsFile(std::string(path)) || !files::ReadAll(path, content))
    return {{std::string(path), 0, Finding::Kind::kUnreadableFile, "", "cannot read the file"}};
  return CheckScript(content, options, path, BaseName(path));
}

std::vector<Finding> CheckValue(std::string_view macroValue, const CheckOptions& options,
                                std::string_view where, std::set<std::string>* checkedFiles) {
  const std::string value = TrimSpaces(macroValue);
  if (value.empty() || IsHideTag(value)) return {};
  if (value.front() == '|') return CheckScript(std::string_view(value).substr(1), options, where);
  const std::string path = options.macroFolder + "\\" + value;
  if (!IsFile(path))
    return {{std::string(where), 0, Finding::Kind::kMissingMacroFile, value,
             "macro file " + Quoted(value) + " is not in the macro folder"}};
  if (checkedFiles && !checkedFiles->insert(ToUpper(path)).second) return {};
  return CheckMacroFile(path, options);
}

std::vector<Finding> CheckPanelFile(std::string_view panelFile, const CheckOptions& options) {
  const std::string file(panelFile);
  if (!IsFile(file)) return {{file, 0, Finding::Kind::kUnreadableFile, "", "cannot read the file"}};

  std::vector<Finding> out;
  std::set<std::string> checkedFiles;
  const SnapshotReader reader(file);
  const PanelSetup setup = ReadSetup(reader, SetupReader::kRunningPanel);
  const int32_t count = ButtonCount(setup);

  // Only a value stored longer than readers see may have been cut (its
  // 254th character may be a blank, so the read value can be shorter): those
  // are measured in the file itself.
  const auto longValues = LongValues(file);
  auto checkCut = [&](std::string_view section, std::string_view key, const std::string& where) {
    if (!longValues.count({ToUpper(section), ToUpper(key)})) return;
    const long length = StoredValueLength(file, section, key);
    if (length < static_cast<long>(profile::kReadBufferSize)) return;
    const std::string name(key);
    out.push_back({where, 0, Finding::Kind::kValueCut, name,
                   name + " is " + std::to_string(length) +
                       " characters long; readers see only its first " +
                       std::to_string(profile::kReadBufferSize - 1)});
  };
  for (std::string_view key : kSetupKeys) checkCut(kSetupSection, key, file + " Setup");

  for (int32_t n = 1; n <= count; ++n) {
    const std::string section = SectionName(n);
    const std::string where = file + " button " + section;

    for (const std::string& key : ReaderKeys()) checkCut(section, key, where);

    for (std::string_view key : {std::string_view("macro"), std::string_view("macroReleased")}) {
      const std::string value = TrimSpaces(reader.Read(section, key, ""));
      const std::string at = where + " " + std::string(key);
      for (Finding& f : CheckValue(value, options, at, &checkedFiles)) out.push_back(std::move(f));
    }
  }
  return out;
}

std::string FormatFinding(const Finding& f) {
  std::string s = f.where;
  if (f.line) s.append(":").append(std::to_string(f.line));
  s.append(": ").append(f.message);
  if (!f.text.empty() && f.kind != Finding::Kind::kMissingMacroFile) s.append(": ").append(f.text);
  return s;
}

}  // namespace qv::panels
