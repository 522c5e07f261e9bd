// A modal input box: a prompt (it may hold line breaks), one text line, OK
// and Cancel, beside its owner, which stays disabled while it is shown.
// Returns the text on OK (or Enter), nothing on Cancel, Escape or when the box
// is closed. Its edit line is an "Edit" and its buttons are captioned "OK"
// and "Cancel", so that other programs can answer it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace qv::win {

// The box's window class, for tests that answer it from outside; its edit
// line has the control ID kInputBoxEditId.
inline constexpr const char* kInputBoxClass = "QuorvexInputBox";
inline constexpr int kInputBoxEditId = 301;

std::optional<std::string> InputBox(HWND owner, std::string_view prompt, std::string_view title,
                                    std::string_view defaultText);

}  // namespace qv::win
