#include "editor/win32/file_operation.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::editor {
namespace {

TEST(FileOperation, PropertiesBecomeTheShellsFlags) {
  struct Case {
    const char* name;
    void (*set)(FileOperation&);
    FILEOP_FLAGS flags;
  };
  const Case cases[] = {
      {"defaults", [](FileOperation&) {}, 0},
      {"AllowUndo", [](FileOperation& o) { o.AllowUndo = true; }, FOF_ALLOWUNDO},
      {"SilentMode", [](FileOperation& o) { o.SilentMode = true; }, FOF_SILENT},
      {"RenameOnCollision", [](FileOperation& o) { o.RenameOnCollision = true; },
       FOF_RENAMEONCOLLISION},
      {"ConfirmOperation off", [](FileOperation& o) { o.ConfirmOperation = false; },
       FOF_NOCONFIRMATION},
      {"ConfirmMakeDir off", [](FileOperation& o) { o.ConfirmMakeDir = false; },
       FOF_NOCONFIRMMKDIR},
      {"IncludeDirectories off", [](FileOperation& o) { o.IncludeDirectories = false; },
       FOF_FILESONLY},
      {"CustomText", [](FileOperation& o) { o.CustomText = "Removing"; }, FOF_SIMPLEPROGRESS},
      {"two destinations",
       [](FileOperation& o) {
         o.AddDestFile("a");
         o.AddDestFile("b");
       },
       FOF_MULTIDESTFILES},
  };
  for (const Case& c : cases) {
    FileOperation op;
    c.set(op);
    EXPECT_EQ(op.Flags(), c.flags) << c.name;
  }
}

TEST(FileOperation, PathListIsNulSeparatedAndDoublyEnded) {
  EXPECT_EQ(FileOperation::PathList({"C:\\a.ini", "b"}), std::string("C:\\a.ini\0b\0\0", 12));
  EXPECT_EQ(FileOperation::PathList({}), std::string("\0", 1));
}

TEST(FileOperation, WithoutSourcesNothingRunsAndItSaysWhy) {
  FileOperation op;
  EXPECT_FALSE(op.DeleteFiles());
  EXPECT_EQ(op.LastError(), FileOperation::kNoSourceFiles);
  EXPECT_EQ(op.LastErrorText(), "No source files specified file operation");
}

// A real delete through the shell is the manager's end-to-end test's.
TEST(FileOperation, CopiesWithoutQuestions) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string from = std::string(temp) + "qv_fileop_" + std::to_string(GetTickCount());
  const std::string to = from + "_copy";
  HANDLE h = CreateFileA(from.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);

  FileOperation copy;
  copy.ConfirmOperation = false;
  copy.SilentMode = true;
  copy.AddSourceFile(from);
  copy.AddDestFile(to);
  EXPECT_TRUE(copy.CopyFiles());
  EXPECT_TRUE(DeleteFileA(to.c_str()));
  DeleteFileA(from.c_str());
}

}  // namespace
}  // namespace qv::editor
