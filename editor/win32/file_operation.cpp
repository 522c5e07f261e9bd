#include "editor/win32/file_operation.h"

namespace qv::editor {

FILEOP_FLAGS FileOperation::Flags() const {
  FILEOP_FLAGS f = 0;
  if (AllowUndo) f |= FOF_ALLOWUNDO;
  if (SilentMode) f |= FOF_SILENT;
  if (RenameOnCollision) f |= FOF_RENAMEONCOLLISION;
  if (!ConfirmOperation) f |= FOF_NOCONFIRMATION;
  if (!ConfirmMakeDir) f |= FOF_NOCONFIRMMKDIR;
  if (!IncludeDirectories) f |= FOF_FILESONLY;
  if (!CustomText.empty()) f |= FOF_SIMPLEPROGRESS;
  if (destinations_.size() > 1) f |= FOF_MULTIDESTFILES;
  return f;
}

std::string FileOperation::PathList(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& p : paths) {
    list += p;
    list += '\0';
  }
  list += '\0';
  return list;
}

bool FileOperation::Run(UINT function) {
  aborted_ = false;
  if (sources_.empty()) {
    lastError_ = kNoSourceFiles;
    lastErrorText_ = "No source files specified file operation";
    return false;
  }
  const std::string from = PathList(sources_);
  const std::string to = PathList(destinations_);
  SHFILEOPSTRUCTA op{};
  op.hwnd = ParentWnd;
  op.wFunc = function;
  op.pFrom = from.c_str();
  op.pTo = destinations_.empty() ? nullptr : to.c_str();
  op.fFlags = Flags();
  op.lpszProgressTitle = CustomText.c_str();
  const int result = SHFileOperationA(&op);
  aborted_ = op.fAnyOperationsAborted != FALSE;
  lastError_ = static_cast<DWORD>(result);
  lastErrorText_.clear();
  return result == 0 && !aborted_;
}

}  // namespace qv::editor
