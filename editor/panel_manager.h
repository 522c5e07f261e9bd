// The panel manager's rules on whole panels: which files are panels, which
// names may become one, the texts of its prompts and messages, the command
// lines of its runs, the copy that never overwrites, and the small picture of
// a panel's grid. Portable: the window (editor/win32/frm_main.h) asks and
// shows, these functions decide.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "panels/panel_file.h"

namespace qv::editor {

// PrepareList: the names of the panels folder's ".ini" files (any letter
// case of the extension), without the extension, sorted without regard to
// case. Folders and devices named like a panel are left out.
std::vector<std::string> ListPanels(std::string_view panelsFolder);

// The list as filtered by what was typed: the names that hold the typed text
// anywhere, without regard to case; all of them when nothing was typed.
std::vector<std::string> FilterPanels(const std::vector<std::string>& names,
                                      std::string_view typed);

// What a new panel name may be. A name is refused before anything is created
// when the file name could not hold it (\ / : * ? " < > |, control
// characters), when it names a device (CON, NUL, COM1...), or when the path
// would be too long; a name whose file is there already is taken.
enum class NameCheck { kFree, kExists, kInvalid };
struct NameVerdict {
  NameCheck check = NameCheck::kFree;
  std::string reason;  // kInvalid: why, in one sentence
};
NameVerdict CheckNewPanelName(std::string_view panelsFolder, std::string_view name);

// Prompts and messages, as the manager shows them.
inline constexpr const char* kCaption = "Quorvex";
inline constexpr const char* kNamePrompt = "Panel name:";
inline constexpr const char* kCreateTitle = "Create Macro Panel";
std::string CopyPrompt(std::string_view name);  // "Copy " name " to:"
std::string CopyTitle();                        // the caption directly followed by "Copy Panel"
std::string InvalidNameText(std::string_view name, std::string_view reason);
std::string AlreadyExistsText(std::string_view name);
std::string RemoveQuestionText(std::string_view name);
std::string RemovingText(std::string_view name);  // the shell's progress title
std::string RemoveFailedText(std::string_view name);

// Creates the new-panel file only when no file of that name is there; false
// when one is, or when it cannot be written.
bool CreateNewPanel(std::string_view panelsFolder, std::string_view name);

// Copies the source panel's file byte for byte to a new name. Never replaces
// a file that is there: kExists then, and nothing is written.
enum class CopyResult { kCopied, kExists, kUnreadable, kUnwritable };
CopyResult CopyPanel(std::string_view panelsFolder, std::string_view from, std::string_view to);

// The Description of the panel's Setup section ("" when missing).
std::string PanelDescription(std::string_view panelsFolder, std::string_view name);

// The run buttons: the remote role each sets, and the arguments of the new
// process each starts.
enum class RunKind { kPanel, kClient, kServer, kMacroHelper };
std::string RoleOf(RunKind kind);
std::string NewProcessArguments(RunKind kind, std::string_view panel);

// The picture of a panel's grid, scaled to fit a box of the given pixel size
// (never enlarged beyond 1 pixel per 15 twips), in the panel's colours and
// captions. Hidden buttons and "|HIDE" buttons are left out, as the running
// panel leaves them out.
struct PictureCell {
  int32_t left = 0, top = 0, width = 0, height = 0;  // pixels, inside the picture
  uint32_t back = 0;                                 // 0x00BBGGRR
  uint32_t text = 0;
  std::string caption;
};
struct PanelPicture {
  int32_t width = 0, height = 0;  // pixels; 0 when the panel has no grid
  uint32_t back = 0;
  std::vector<PictureCell> cells;  // back to front: wide buttons last
};
PanelPicture BuildPanelPicture(const panels::ValueReader& file, int32_t boxWidth, int32_t boxHeight,
                               panels::SysColorFn sysColor);

}  // namespace qv::editor
