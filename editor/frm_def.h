// frmDef: the panel layout editor. Edits a panel's Setup section (cell
// size, rows and columns, gaps, margins, position, window options and
// background colour) and opens the live preview, which is rebuilt as the
// geometry fields change.
#pragma once

#include <windows.h>

#include <string>

namespace qv::editor {

inline constexpr const char* kDefClass = "QuorvexDefine";
inline constexpr const char* kDefCaption = "Define Macro Panel";

// Control IDs: the text field of Setup key i (in the order the keys are
// written) is kDefFieldBase + i; the three check boxes are the fields of
// OnTop, AutoHide and SysTray.
enum DefId : int {
  kDefFieldBase = 2000,
  kDefPicBack = 2010,
  kDefBackColor = 2020,
  kDefGetPosition = 2021,
  kDefUpdate = 2022,
  kDefSave = 2023,
  kDefCancel = IDCANCEL,
  kDefNote = 2025,
};

// Opens the layout editor on the panel `panelName` of the panels folder and
// returns when it closes. The owner (the panel manager) is hidden meanwhile
// and shown again afterwards.
void OpenLayoutEditor(HWND owner, const std::string& panelName);

}  // namespace qv::editor
