// A modal input box: a prompt, one line of text and OK / Cancel, owned by a
// window that stays disabled while it is shown. Win32 only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace qv::helper {

// The answer, or nullopt when the box was cancelled or closed. The prompt may
// hold line breaks. The box's edit control is an "Edit" and its buttons are
// captioned "OK" and "Cancel", so that other programs can answer it.
std::optional<std::string> InputBox(HWND owner, std::string_view prompt, std::string_view title,
                                    std::string_view defaultAnswer);

}  // namespace qv::helper
