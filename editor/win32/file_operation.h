// FileOperation: one move, copy, delete or rename through the shell's file
// operation, with its confirmations, progress box and recycle bin.
#pragma once

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <string>
#include <vector>

namespace qv::editor {

class FileOperation {
 public:
  // The error of an operation started without source files.
  static constexpr DWORD kNoSourceFiles = 0x800403E8;

  // Properties.
  bool AllowUndo = false;          // deletions go to the recycle bin
  bool ConfirmMakeDir = true;      // ask before creating folders
  bool ConfirmOperation = true;    // ask before the operation
  std::string CustomText;          // title of the shell's simple progress box
  bool IncludeDirectories = true;  // wildcards also match folders
  HWND ParentWnd = nullptr;        // owner of the shell's dialogs
  bool RenameOnCollision = false;  // a new name when the target exists
  bool SilentMode = false;         // no progress box

  void ClearSourceFiles() { sources_.clear(); }
  void AddSourceFile(const std::string& path) { sources_.push_back(path); }
  void ClearDestFiles() { destinations_.clear(); }
  void AddDestFile(const std::string& path) { destinations_.push_back(path); }

  // True when the shell reported success and nothing was cancelled.
  bool MoveFiles() { return Run(FO_MOVE); }
  bool CopyFiles() { return Run(FO_COPY); }
  bool DeleteFiles() { return Run(FO_DELETE); }
  bool RenameFiles() { return Run(FO_RENAME); }

  // What the last operation ended with: the shell's result (or
  // kNoSourceFiles, with its text) and whether the user cancelled a part.
  DWORD LastError() const { return lastError_; }
  std::string LastErrorText() const { return lastErrorText_; }
  bool Aborted() const { return aborted_; }

  // The shell's flags for the present properties, and the NUL-separated list
  // it takes (each path ended by a NUL, the whole by a second one).
  FILEOP_FLAGS Flags() const;
  static std::string PathList(const std::vector<std::string>& paths);

 private:
  bool Run(UINT function);

  std::vector<std::string> sources_, destinations_;
  DWORD lastError_ = 0;
  std::string lastErrorText_;
  bool aborted_ = false;
};

}  // namespace qv::editor
