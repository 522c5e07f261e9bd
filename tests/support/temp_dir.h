// A fresh folder per test, removed afterwards. Its path uses the program's
// "\" convention, so it can be handed to the portable core as it is.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace qv::testing {

// A file's bytes; "<missing>" when it cannot be read.
inline std::string FileBytes(const std::string& path) {
  std::string out;
  return files::ReadAll(path, out) ? out : "<missing>";
}

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    native_ = std::filesystem::temp_directory_path() /
              ("qv_test_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(native_);
    path_ = native_.string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(native_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(native_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder itself, and a path below it joined the program's way.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  std::string Path(const std::string& sub) const { return sub.empty() ? path_ : *this / sub; }
  const std::filesystem::path& Native() const { return native_; }

  // Makes a sub-folder, or writes a file, below the folder.
  std::string Folder(const std::string& sub) const {
    files::CreateFolder(*this / sub);
    return *this / sub;
  }
  void Write(const std::string& sub, std::string_view content) const {
    ASSERT_TRUE(files::WriteAtomic(*this / sub, content)) << sub;
  }

 private:
  std::filesystem::path native_;
  std::string path_;
};

}  // namespace qv::testing
