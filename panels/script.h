// The macro script language: separators, line splitting, command words, tag
// lines and their sub-commands. Shared by the interpreter and the script
// checker so that both read a script the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv::panels {

// Who runs a script: a panel window, or the remote server window, whose
// interpreter has no exempt prefixes, no log lines, no CLOSE/RUN_PANEL, ends
// at CALL/BACK/OPEN, does not split LINK into words and knows ENABLE_MONITOR.
enum class Role { kPanel, kServer };

// CR LF becomes LF, then every "|" becomes LF. A lone CR is no separator.
std::string NormalizeSeparators(std::string_view script);

// Walks the lines of a normalised script. Each line is returned as it
// stands (not trimmed); the line after the last LF is returned only when
// it is not empty, as the interpreter stops on empty remaining text.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line);
  size_t LineNumber() const { return number_; }  // of the line last returned, from 1

 private:
  std::string_view text_;
  size_t pos_ = 0;
  size_t number_ = 0;
};

// One command line, already trimmed of spaces: the command word before the
// first space and the argument after that one space, kept as it is.
struct CommandLine {
  std::string_view word;
  std::string_view argument;
};
CommandLine SplitCommand(std::string_view line);

// The second split, for tag lines: an argument that, upper-cased, begins
// with "SELECT" or "UNSELECT" and holds a space is cut into its first word
// (the sub-command) and the trimmed rest (the item text). Only tag lines are
// cut again, where the item text means something: "SEND_TEXT selected runway
// 27" sends its whole text, not just "selected".
struct TagArgument {
  std::string_view subCommand;
  std::string item;
};
TagArgument SplitTagArgument(std::string_view argument);

enum class Command : uint8_t {
  kUnknown,
  // navigation and program
  kClose,
  kBack,
  kCall,
  kOpen,
  kRunPanel,
  kInclude,
  kLink,
  // chat text, COMMBox, map
  kClearText,
  kAddTextNoSpace,
  kAddText,
  kSendText,
  kCommBox,
  kZoom,
  kCenterpoint,
  kResetCenterpoint,
  kColorScheme,
  kMoveIvac,
  // toolbar
  kPress,
  kRelease,
  kSaveButtons,
  kResetButtons,
  // traffic label
  kAddToIo,
  kForceAct,
  kAssumeLabel,
  kReleaseLabel,
  kReqFpl,
  kShowFpl,
  kTransferTo,
  // clearances
  kClearedToFl,
  kClearedToFix,
  kClearedToSpeed,
  kOca,
  kSelect,
  // selection dialogs
  kSelectionStart,
  kDlgOpen,
  kDlgSelectNone,
  kDlgSelectAll,
  kDlgSelect,
  kDlgUnselect,
  kDlgClose,
  // server only
  kEnableMonitor,
  // a bracket tag as command word
  kTag,
};

// The command of a word, compared upper-cased as a whole word, for a role.
Command LookupCommand(std::string_view word, Role role);

// The ten bracket tags, in any letter case.
bool IsBracketTag(std::string_view word);

// DLG_OPEN accepts only these, exactly as written (capitals, brackets); the
// occupied-area tag "[OCN]" is not among them.
bool IsDlgOpenTag(std::string_view argument);

enum class TagSub : uint8_t {
  kNothing,
  kSelectNone,
  kSelectAll,
  kSelectNoneExceptSelection,
  kSelectAllExceptSelection,
  kSelect,
  kUnselect,
  kSaveDefault,
  kResetDefault,
};
TagSub LookupTagSub(std::string_view subCommand);

// The marker lines of a selection block.
inline constexpr std::string_view kSelectionStart = "<SELECTION_START>";
inline constexpr std::string_view kSelectionEnd = "<SELECTION_END>";
bool IsSelectionEnd(std::string_view trimmedLine);

// A comment or empty line (after trimming spaces).
bool IsIgnoredLine(std::string_view trimmedLine);

// The panel's start check: a script that begins, upper-cased, with "OPEN ",
// "CLOSE", "CALL ", "BACK", "RUN_PANEL" or "LINK" runs without looking for
// IvAc. Looks at the script exactly as received.
bool ExemptFromStartCheck(std::string_view script);

}  // namespace qv::panels
