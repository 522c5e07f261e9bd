#include "startup/win32/version_info.h"

#include <cstdio>

namespace qv::startup {

bool VersionInfo::Load(std::string_view fileOrModule) {
  block_.clear();
  fixed_ = {};
  translation_ = "040904E4";
  error_.clear();
  std::string name(fileOrModule);
  // A loaded module's name stands for its file.
  if (HMODULE module = GetModuleHandleA(name.c_str())) {
    char path[MAX_PATH] = {};
    if (GetModuleFileNameA(module, path, MAX_PATH) > 0) name = path;
  }
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(name.c_str(), &ignored);
  if (size == 0) {
    error_ = "Unable to retrieve version information.";
    return false;
  }
  block_.assign(size, '\0');
  if (!GetFileVersionInfoA(name.c_str(), 0, size, block_.data())) {
    block_.clear();
    error_ = "Unable to retrieve version information.";
    return false;
  }
  void* data = nullptr;
  UINT len = 0;
  if (VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", &data, &len) && len >= 4) {
    const auto* words = static_cast<const WORD*>(data);
    char text[16];
    std::snprintf(text, sizeof text, "%04X%04X", words[0], words[1]);
    translation_ = text;
  }
  if (VerQueryValueA(block_.data(), "\\", &data, &len) && len >= sizeof(VS_FIXEDFILEINFO)) {
    fixed_ = *static_cast<const VS_FIXEDFILEINFO*>(data);
  } else {
    error_ = "Unable to retrieve fixed file information.";
  }
  return true;
}

std::string VersionInfo::Value(std::string_view name) const {
  if (block_.empty()) return {};
  const std::string query = "\\StringFileInfo\\" + translation_ + "\\" + std::string(name);
  void* data = nullptr;
  UINT len = 0;
  // VerQueryValueA takes a writable block; a copy keeps this one unchanged.
  std::string block = block_;
  if (!VerQueryValueA(block.data(), query.c_str(), &data, &len) || !data || len == 0) return {};
  return std::string(static_cast<const char*>(data));
}

std::string VersionInfo::FileTypeText() const {
  switch (fixed_.dwFileType) {
    case VFT_APP:
      return "Application";
    case VFT_DLL:
      return "DLL";
    case VFT_DRV:
      return "Driver";
    case VFT_FONT:
      return "Font";
    case VFT_VXD:
      return "Virtual device";
    case VFT_STATIC_LIB:
      return "Static library";
    default:
      return "Unknown";
  }
}

std::string VersionInfo::FileOsText() const {
  switch (fixed_.dwFileOS) {
    case VOS_NT_WINDOWS32:
      return "Win32 API";
    case VOS_NT:
      return "Windows NT";
    case VOS__WINDOWS32:
      return "Win32";
    case VOS_DOS_WINDOWS32:
      return "Win32 on DOS";
    default:
      return "Unknown";
  }
}

}  // namespace qv::startup
