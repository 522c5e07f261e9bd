// A modal input box: a prompt, one text line, OK and Cancel. Returns the
// text on OK, nothing on Cancel or when the box is closed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace qv::remote {

// The box's window class, for tests that answer it from outside; its edit
// line has the control ID kInputBoxEditId.
inline constexpr const char* kInputBoxClass = "QuorvexInputBox";
inline constexpr int kInputBoxEditId = 301;

std::optional<std::string> InputBox(HWND owner, std::string_view prompt, std::string_view title,
                                    std::string_view defaultText);

}  // namespace qv::remote
