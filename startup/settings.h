// Program-wide settings, kept in Config.ini, section "default".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

struct Settings {
  int32_t sleep = 25;            // base delay of the automation, milliseconds
  int32_t commboxFrequency = 3;  // frequency tabs IvAc's COMMBox shows
  std::string port = "6811";     // TCP port of the remote session, as text
  std::string serverName = "Quorvex";
  std::string serverAddress;
  bool debug = false;        // diagnostic log on or off
  bool newInstance = false;  // panel manager: run panels in a new process
  // The remote server, read only (never written back): whether a client's
  // LINK may start programs on this PC, and the address to listen on (""
  // for the first address of this computer's name).
  bool remoteLink = false;
  std::string serverBindAddress;
};

inline constexpr const char* kConfigSection = "default";

// Reads Sleep, COMMBoxFrequency, Port, ServerName, ServerAddress, Debug,
// RemoteLink and ServerBindAddress with their defaults (missing file or key)
// and conversions.
Settings ReadSettings(std::string_view configFile);

// The write-back at start: the four layout values, then the six settings,
// in this order, each as trimmed text.
struct LayoutValues {
  int32_t spacingX = 0, spacingY = 0, borderTop = 0, borderLeft = 0;
};
void WriteBackSettings(std::string_view configFile, const Settings& s, const LayoutValues& layout);

// Writes the six settings the settings window edits, in this order: Sleep,
// COMMBoxFrequency, ServerName, Port, ServerAddress, Debug. False when any
// of them could not be written.
bool WriteSettings(std::string_view configFile, const Settings& s);

// "-1" / "0" as the settings file stores the Debug flag.
inline const char* FlagText(bool on) { return on ? "-1" : "0"; }

// The settings window's fields, as text.
struct ConfigFields {
  std::string serverName, serverAddress, port, comBoxFreq, sleep;
  bool debug = false;
};

// GetConfig: what the settings window shows for the given settings.
ConfigFields FieldsFromSettings(const Settings& s);

// The questions and messages SaveConfig may need; the window answers them.
class SaveConfigUi {
 public:
  enum class Field { ServerName, ServerAddress, Port, ComBoxFreq, Sleep };
  virtual ~SaveConfigUi() = default;
  // A plain message box with the exclamation icon, titled "Preferences".
  virtual void Message(std::string_view text) = 0;
  // The address question (OK and Cancel, Cancel default); true for OK.
  virtual bool ConfirmAddress(std::string_view text) = 0;
  virtual void Focus(Field field) = 0;
};

inline constexpr const char* kMsgFrequency = "Frequency number - Invalid value";
inline constexpr const char* kMsgPort = "Port number - Invalid value";
inline constexpr const char* kMsgServerName = "Server Name cannot be empty";
inline constexpr const char* kAddressQuestionTitle = "Quorvex - Remote Parameters";
std::string AddressQuestionText(std::string_view typed);
// The message of a save whose file could not be written.
std::string NotSavedText(std::string_view file);

// SaveConfig: checks the fields in order (frequency, port, address, name),
// stopping at the first failure with its message and the focus on that
// field; when all pass, stores them in `settings`, writes them to the file
// and returns true. A failure leaves `settings` and the file untouched.
bool SaveConfig(const ConfigFields& fields, Settings& settings, std::string_view configFile,
                SaveConfigUi& ui);

}  // namespace qv
