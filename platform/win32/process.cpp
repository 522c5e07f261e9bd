#include "platform/win32/process.h"

namespace qv::win {

ProcessKind KindOfProcess(HANDLE process) {
  // A 32-bit process on 64-bit Windows runs under the WOW64 layer. On 32-bit
  // Windows no process does, and every process is 32-bit.
  BOOL targetWow = FALSE;
  if (!IsWow64Process(process, &targetWow)) return ProcessKind::kUnknown;
  if (targetWow) return ProcessKind::k32Bit;
  if constexpr (kThisProcessKind == ProcessKind::k64Bit) return ProcessKind::k64Bit;
  BOOL selfWow = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &selfWow)) return ProcessKind::kUnknown;
  return selfWow ? ProcessKind::k64Bit : ProcessKind::k32Bit;
}

}  // namespace qv::win
