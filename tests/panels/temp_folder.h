// A throw-away folder for tests that need macro and panel files, with paths
// in the program's "\" convention.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace qv::panels::testing {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "qv_panels_";
    if (info) name += std::string(info->test_suite_name()) + "_" + info->name();
    name += "_" + std::to_string(counter++);
    for (char& c : name)
      if (c == '/') c = '_';
    root_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The root, "\"-joined with `sub` when given.
  std::string Path(std::string_view sub = {}) const {
    std::string p = root_.string();
    if (!sub.empty()) {
      p += '\\';
      p += sub;
    }
    return p;
  }

  std::string Folder(std::string_view sub) const {
    const std::string p = Path(sub);
    files::CreateFolder(p);
    return p;
  }

  void Write(std::string_view sub, std::string_view content) const {
    ASSERT_TRUE(files::WriteAtomic(Path(sub), content)) << sub;
  }

 private:
  std::filesystem::path root_;
};

}  // namespace qv::panels::testing
