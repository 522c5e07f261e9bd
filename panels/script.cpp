#include "panels/script.h"

#include <array>

#include "platform/text.h"

namespace qv::panels {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

struct Word {
  std::string_view name;
  Command command;
};

// Upper-case keywords. Looked up by a length-bucketed linear scan: the table
// is small and scripts are short, so nothing cleverer pays off.
constexpr std::array<Word, 42> kWords = {{
    {"CLOSE", Command::kClose},
    {"BACK", Command::kBack},
    {"CALL", Command::kCall},
    {"OPEN", Command::kOpen},
    {"RUN_PANEL", Command::kRunPanel},
    {"INCLUDE", Command::kInclude},
    {"LINK", Command::kLink},
    {"CLEAR_TEXT", Command::kClearText},
    {"ADD_TEXT_NOSPACE", Command::kAddTextNoSpace},
    {"ADD_TEXT", Command::kAddText},
    {"SEND_TEXT", Command::kSendText},
    {"COMMBOX", Command::kCommBox},
    {"ZOOM", Command::kZoom},
    {"CENTERPOINT", Command::kCenterpoint},
    {"RESET_CENTERPOINT", Command::kResetCenterpoint},
    {"COLORSCHEME", Command::kColorScheme},
    {"MOVE_IVAC", Command::kMoveIvac},
    {"PRESS", Command::kPress},
    {"RELEASE", Command::kRelease},
    {"SAVE_BUTTONS", Command::kSaveButtons},
    {"RESET_BUTTONS", Command::kResetButtons},
    {"ADD_TO_IO", Command::kAddToIo},
    {"FORCE_ACT", Command::kForceAct},
    {"ASSUME_LABEL", Command::kAssumeLabel},
    {"RELEASE_LABEL", Command::kReleaseLabel},
    {"REQ_FPL", Command::kReqFpl},
    {"SHOW_FPL", Command::kShowFpl},
    {"TRANSFER_TO", Command::kTransferTo},
    {"CLEARED_TO_FL", Command::kClearedToFl},
    {"CLEARED_TO_FIX", Command::kClearedToFix},
    {"CLEARED_TO_SPEED", Command::kClearedToSpeed},
    {"OCA", Command::kOca},
    {"SELECT", Command::kSelect},
    {"<SELECTION_START>", Command::kSelectionStart},
    {"DLG_OPEN", Command::kDlgOpen},
    {"DLG_SELECT_NONE", Command::kDlgSelectNone},
    {"DLG_SELECT_ALL", Command::kDlgSelectAll},
    {"DLG_SELECT", Command::kDlgSelect},
    {"DLG_UNSELECT", Command::kDlgUnselect},
    {"DLG_CLOSE", Command::kDlgClose},
    {"ENABLE_MONITOR", Command::kEnableMonitor},
    {"", Command::kUnknown},
}};

constexpr std::array<std::string_view, 10> kTags = {"[SID]", "[STAR]", "[H]",   "[L]",   "[AP]",
                                                    "[GEO]", "[FIX]",  "[VOR]", "[NDB]", "[OCN]"};

bool EqualsUpper(std::string_view text, std::string_view upperWord) {
  if (text.size() != upperWord.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (Upper(text[i]) != upperWord[i]) return false;
  return true;
}

bool StartsUpper(std::string_view text, std::string_view upperPrefix) {
  return text.size() >= upperPrefix.size() &&
         EqualsUpper(text.substr(0, upperPrefix.size()), upperPrefix);
}

}  // namespace

std::string NormalizeSeparators(std::string_view script) {
  std::string out;
  out.reserve(script.size());
  for (size_t i = 0; i < script.size(); ++i) {
    const char c = script[i];
    if (c == '\r' && i + 1 < script.size() && script[i + 1] == '\n') continue;  // CR LF -> LF
    out += c == '|' ? '\n' : c;
  }
  return out;
}

bool LineCursor::Next(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  const size_t lf = text_.find('\n', pos_);
  if (lf == std::string_view::npos) {
    line = text_.substr(pos_);
    pos_ = text_.size();
  } else {
    line = text_.substr(pos_, lf - pos_);
    pos_ = lf + 1;
  }
  ++number_;
  return true;
}

CommandLine SplitCommand(std::string_view line) {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return {line, {}};
  return {line.substr(0, space), line.substr(space + 1)};
}

TagArgument SplitTagArgument(std::string_view argument) {
  TagArgument t;
  t.subCommand = argument;
  if (!StartsUpper(argument, "SELECT") && !StartsUpper(argument, "UNSELECT")) return t;
  const size_t space = argument.find(' ');
  if (space == std::string_view::npos) return t;
  t.subCommand = argument.substr(0, space);
  t.item = TrimSpaces(argument.substr(space + 1));
  return t;
}

Command LookupCommand(std::string_view word, Role role) {
  if (word.empty()) return Command::kUnknown;
  if (word.front() == '[' && IsBracketTag(word)) return Command::kTag;
  for (const Word& w : kWords) {
    if (w.name.empty()) break;
    if (!EqualsUpper(word, w.name)) continue;
    switch (w.command) {
      case Command::kClose:
      case Command::kRunPanel:
        return role == Role::kServer ? Command::kUnknown : w.command;
      case Command::kEnableMonitor:
        return role == Role::kServer ? w.command : Command::kUnknown;
      default:
        return w.command;
    }
  }
  return Command::kUnknown;
}

bool IsBracketTag(std::string_view word) {
  for (std::string_view t : kTags)
    if (EqualsUpper(word, t)) return true;
  return false;
}

bool IsDlgOpenTag(std::string_view argument) {
  for (std::string_view t : kTags)
    if (t != "[OCN]" && argument == t) return true;
  return false;
}

TagSub LookupTagSub(std::string_view sub) {
  struct Entry {
    std::string_view name;
    TagSub sub;
  };
  static constexpr Entry kSubs[] = {
      {"SELECT_NONE", TagSub::kSelectNone},
      {"SELECT_ALL", TagSub::kSelectAll},
      {"SELECT_NONE_EXCEPT_SELECTION", TagSub::kSelectNoneExceptSelection},
      {"SELECT_ALL_EXCEPT_SELECTION", TagSub::kSelectAllExceptSelection},
      {"SELECT", TagSub::kSelect},
      {"UNSELECT", TagSub::kUnselect},
      {"SAVE_DEFAULT", TagSub::kSaveDefault},
      {"RESET_DEFAULT", TagSub::kResetDefault},
  };
  for (const Entry& e : kSubs)
    if (EqualsUpper(sub, e.name)) return e.sub;
  return TagSub::kNothing;
}

bool IsSelectionEnd(std::string_view line) { return EqualsUpper(line, kSelectionEnd); }

bool IsIgnoredLine(std::string_view line) { return line.empty() || line.front() == ';'; }

bool ExemptFromStartCheck(std::string_view script) {
  static constexpr std::string_view kPrefixes[] = {"OPEN ", "CLOSE",     "CALL ",
                                                   "BACK",  "RUN_PANEL", "LINK"};
  for (std::string_view p : kPrefixes)
    if (StartsUpper(script, p)) return true;
  return false;
}

}  // namespace qv::panels
