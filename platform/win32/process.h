// What kind of program another process is: its pointers and records are 32-
// or 64-bit whatever this program is built as.
#pragma once

#include <windows.h>

namespace qv::win {

enum class ProcessKind { kUnknown, k32Bit, k64Bit };

// `process` needs PROCESS_QUERY_LIMITED_INFORMATION (or more).
ProcessKind KindOfProcess(HANDLE process);

// This program's own kind.
constexpr ProcessKind kThisProcessKind =
    sizeof(void*) == 8 ? ProcessKind::k64Bit : ProcessKind::k32Bit;

}  // namespace qv::win
