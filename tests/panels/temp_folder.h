// A throw-away folder for tests that need macro and panel files: the shared
// TempDir, with sub-folders and files made below it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace qv::panels::testing {

class TempFolder : public qv::testing::TempDir {
 public:
  // The root, "\"-joined with `sub` when given.
  std::string Path(std::string_view sub = {}) const {
    return sub.empty() ? TempDir::Path() : *this / std::string(sub);
  }

  std::string Folder(std::string_view sub) const {
    const std::string p = Path(sub);
    files::CreateFolder(p);
    return p;
  }

  void Write(std::string_view sub, std::string_view content) const {
    ASSERT_TRUE(files::WriteAtomic(Path(sub), content)) << sub;
  }
};

}  // namespace qv::panels::testing
