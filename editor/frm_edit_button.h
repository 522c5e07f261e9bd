// frmEditButton: the button editor. Edits one button section of a panel
// file, both looks with a live sample of each, and saves all its keys in one
// write. Modal over the window it was opened from, and always on top.
#pragma once

#include <windows.h>

#include <string>

namespace qv::editor {

inline constexpr const char* kEditButtonClass = "QuorvexEditButton";

// Control IDs, for the tests that drive the editor from outside. The two
// looks share their layout: the normal look's controls are kUpBase + offset,
// the down look's kDownBase + offset.
enum EditButtonId : int {
  kCboButtonType = 1001,
  kTxtExpandX = 1002,
  kTxtExpandY = 1003,
  kChkHidden = 1004,
  kUpBase = 1100,
  kDownBase = 1200,
  kLookFrame = 0,
  kLookLabel = 1,
  kLookMacro = 2,
  kLookTooltip = 3,
  kLookPicBack = 4,
  kLookBackColor = 5,
  kLookSelectMacro = 6,
  kLookEditMacro = 7,
  kLookFont = 8,
  kLookExample = 9,
  kLookFindings = 10,
  kCmdClear = 1301,
  kCmdSave = 1302,
  kCmdCancel = IDCANCEL,
};

// Opens the editor for button `index` of `panelFile` and returns once it is
// closed: true when the button was saved (the caller then shows it again
// from the file).
bool EditButton(HWND owner, const std::string& panelFile, const std::string& macroFolder,
                int index);

}  // namespace qv::editor
