#include "panels/panel_profile.h"

#include "platform/files.h"

namespace qv::panels {

std::string ProfileReader::Read(std::string_view section, std::string_view key,
                                std::string_view def) const {
  return profile::ReadKey(file_, section, key, def);
}

std::string SnapshotReader::Read(std::string_view section, std::string_view key,
                                 std::string_view def) const {
  return snapshot_.ReadKey(section, key, def);
}

bool CreatePanelFile(std::string_view file, std::string_view description) {
  return files::WriteAtomic(file, SetupTemplate(description));
}

bool WriteSetupFields(std::string_view file, const SetupFields& fields) {
  bool ok = true;
  for (size_t i = 0; i < kSetupKeys.size(); ++i)
    ok = profile::WriteKey(file, kSetupSection, kSetupKeys[i], fields[i]) && ok;
  return ok;
}

bool WriteButtonFields(std::string_view file, int32_t n, const ButtonFields& fields) {
  const std::string section = SectionName(n);
  const auto order = ButtonWriteOrder();
  bool ok = true;
  for (size_t i = 0; i < order.size(); ++i)
    ok = profile::WriteKey(file, section, order[i], fields[i]) && ok;
  return ok;
}

long StoredValueLength(std::string_view file, std::string_view section, std::string_view key) {
  // A default that no value can equal tells a missing key from a present one.
  static constexpr std::string_view kMissing = "\x01missing\x01";
  std::string out;
  size_t size = 1024;
  for (;;) {
    const size_t got = profile::GetPrivateProfileString(section, key, kMissing, out, size, file);
    if (got + 1 < size || size >= (size_t{1} << 24)) break;
    size *= 2;
  }
  if (out == kMissing) return -1;
  return static_cast<long>(out.size());
}

}  // namespace qv::panels
