// The panel definition file on disk, through the profile engine: readers for
// single values and for loading a whole panel, and the writers of the panel
// manager, the layout editor and the button editor.
#pragma once

#include <string>
#include <string_view>

#include "panels/panel_file.h"
#include "platform/profile.h"

namespace qv::panels {

// Reads every value afresh from the file (the editors, the click handler).
class ProfileReader : public ValueReader {
 public:
  explicit ProfileReader(std::string_view file) : file_(file) {}
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view def) const override;

 private:
  std::string file_;
};

// Reads the file once and answers from memory (loading a whole grid).
class SnapshotReader : public ValueReader {
 public:
  explicit SnapshotReader(std::string_view file) : snapshot_(file) {}
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view def) const override;
  bool Loaded() const { return snapshot_.Loaded(); }

 private:
  profile::Snapshot snapshot_;
};

// Writes the seven-line template of a new panel, replacing any file there.
bool CreatePanelFile(std::string_view file, std::string_view description);

// Writes all 17 Setup keys in their order, as the layout editor saves.
bool WriteSetupFields(std::string_view file, const SetupFields& fields);

// Writes all 26 keys of button n in the button editor's order.
bool WriteButtonFields(std::string_view file, int32_t n, const ButtonFields& fields);

// The full length of a stored value, beyond what readers see (254 at most);
// -1 when the key is missing. For the script checker.
long StoredValueLength(std::string_view file, std::string_view section, std::string_view key);

}  // namespace qv::panels
