// VersionInfo: the version resource of a file or of a loaded module: its
// translation, its standard string values and its fixed file information.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qv::startup {

class VersionInfo {
 public:
  // Reads the resource of a file, or of a loaded module by its name. False
  // when there is none; Error() then says why.
  bool Load(std::string_view fileOrModule);

  // Language and code page as eight hexadecimal digits ("040904B0"),
  // "040904E4" when the resource lists none.
  const std::string& Translation() const { return translation_; }

  // A string value ("FileVersion", "ProductName", "CompanyName",
  // "FileDescription", "InternalName", "OriginalFileName", "ProductVersion",
  // "Comments", "PrivateBuild", "SpecialBuild"...); "" when missing.
  std::string Value(std::string_view name) const;
  std::string FileVersion() const { return Value("FileVersion"); }

  // Fixed file information, raw and as text.
  const VS_FIXEDFILEINFO& Fixed() const { return fixed_; }
  std::string FileTypeText() const;  // "Application", "DLL", "Driver"...
  std::string FileOsText() const;    // "Win32 API", "Windows NT"...

  const std::string& Error() const { return error_; }

 private:
  std::string block_;
  std::string translation_ = "040904E4";
  VS_FIXEDFILEINFO fixed_{};
  std::string error_;
};

}  // namespace qv::startup
