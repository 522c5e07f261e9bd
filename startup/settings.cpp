#include "startup/settings.h"

#include <cmath>

#include "platform/profile.h"
#include "platform/text.h"
#include "startup/address.h"

namespace qv {

namespace {

std::string Read(std::string_view file, const char* key, const char* def) {
  return profile::ReadKey(file, kConfigSection, key, def);
}

// The keys go into one rewrite of the file: a failed save leaves the file
// as it was, never half of the new settings in it.
void Put(profile::Batch& batch, const char* key, std::string_view value) {
  batch.WriteKey(kConfigSection, key, TrimSpaces(value));
}

void PutSettings(profile::Batch& batch, const Settings& s) {
  Put(batch, "Sleep", DecimalText(s.sleep));
  Put(batch, "COMMBoxFrequency", DecimalText(s.commboxFrequency));
  Put(batch, "ServerName", s.serverName);
  Put(batch, "Port", s.port);
  Put(batch, "ServerAddress", s.serverAddress);
  Put(batch, "Debug", FlagText(s.debug));
}

}  // namespace

Settings ReadSettings(std::string_view file) {
  Settings s;
  s.sleep = LeadingInt(Read(file, "Sleep", "25"));
  s.commboxFrequency = LeadingInt(Read(file, "COMMBoxFrequency", "3"));
  s.port = Read(file, "Port", "6811");
  s.serverName = Read(file, "ServerName", "Quorvex");
  s.serverAddress = Read(file, "ServerAddress", "");
  // A flag is on when its number is not 0: 0.4 counts, unrounded.
  s.debug = LeadingNumber(Read(file, "Debug", "0")) != 0;
  s.remoteLink = LeadingNumber(Read(file, "RemoteLink", "0")) != 0;
  s.serverBindAddress = TrimSpaces(Read(file, "ServerBindAddress", ""));
  return s;
}

bool WriteSettings(std::string_view file, const Settings& s) {
  profile::Batch batch;
  PutSettings(batch, s);
  return batch.Commit(file);
}

void WriteBackSettings(std::string_view file, const Settings& s, const LayoutValues& layout) {
  profile::Batch batch;
  Put(batch, "SpacingX", DecimalText(layout.spacingX));
  Put(batch, "SpacingY", DecimalText(layout.spacingY));
  Put(batch, "BorderTop", DecimalText(layout.borderTop));
  Put(batch, "BorderLeft", DecimalText(layout.borderLeft));
  PutSettings(batch, s);
  batch.Commit(file);
}

ConfigFields FieldsFromSettings(const Settings& s) {
  ConfigFields f;
  f.sleep = s.sleep < 5 ? "5" : DecimalText(s.sleep);
  f.port = s.port;
  f.serverAddress = s.serverAddress;
  f.serverName = s.serverName;
  f.comBoxFreq = s.commboxFrequency < 1 ? "1" : DecimalText(s.commboxFrequency);
  f.debug = s.debug;
  return f;
}

std::string NotSavedText(std::string_view file) {
  return "The settings could not be saved in\r\n" + std::string(file);
}

std::string AddressQuestionText(std::string_view typed) {
  return std::string(typed) +
         "\r\n\nRemote IP address should be wrong.\r\nWould you like to proceed anyway ?";
}

bool SaveConfig(const ConfigFields& f, Settings& settings, std::string_view file,
                SaveConfigUi& ui) {
  using Field = SaveConfigUi::Field;
  const double freq = LeadingNumber(f.comBoxFreq);
  if (std::floor(freq) < 1) {
    ui.Message(kMsgFrequency);
    ui.Focus(Field::ComBoxFreq);
    return false;
  }
  const int32_t port = LeadingInt(f.port);
  if (port > 65535 || port < 0) {
    ui.Message(kMsgPort);
    ui.Focus(Field::Port);
    return false;
  }
  const std::string address = TrimSpaces(f.serverAddress);
  if (!address.empty() && !IsValidAddress(address)) {
    if (!ui.ConfirmAddress(AddressQuestionText(f.serverAddress))) {
      ui.Focus(Field::ServerAddress);
      return false;
    }
  }
  const std::string name = TrimSpaces(f.serverName);
  if (name.empty()) {
    ui.Message(kMsgServerName);
    ui.Focus(Field::ServerName);
    return false;
  }
  Settings next = settings;
  next.sleep = LeadingInt(f.sleep);
  next.commboxFrequency = FloorInt(freq);
  next.port = DecimalText(port);
  next.serverName = name;
  next.serverAddress = address;
  next.debug = f.debug;
  // A file that cannot be written is said, and the window stays open.
  if (!WriteSettings(file, next)) {
    ui.Message(NotSavedText(file));
    return false;
  }
  settings = next;
  return true;
}

}  // namespace qv
