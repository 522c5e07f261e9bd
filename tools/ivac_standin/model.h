// The IvAc stand-in's state: what a controller would see in IvAc (connected
// or not, the traffic on the map and the selected label, the frequencies,
// the lists of the selection dialogs and sub-windows, the In/Out rows), and
// the "key = value" settings that set it from a config file, the command line
// or a running test. Portable: no Win32 here.
//
// The windows that present this state are in the Win32 sources beside it; the
// contract they answer is IvAc's own.
#pragma once

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qv::standin {

// The 41 toolbar codes, in the order in which Quorvex looks them up.
inline constexpr const char* kToolbarCodes[] = {
    "CC",    "HS",   "LS",  "AP",  "GEO", "RR",  "RWY",  "RCL",     "T",    "VOR", "NDB",
    "FIX",   "FRQ",  "N",   "L",   "H",   "SID", "STAR", "CONNECT", "PROF", "PDV", "ATIS",
    "METAR", "FSTR", "I/O", "COM", "ATC", "L+",  "L-",   "0",       "1",    "2",   "4",
    "8",     "Z1",   "Z2",  "Z3",  "Z4",  "QDM", "VERA", "INTERCOM"};
inline constexpr int kToolbarCount = static_cast<int>(std::size(kToolbarCodes));

// IvAc shows this caption on the CONNECT button while it is connected.
inline constexpr const char* kDisconnectCaption = "DISCON";

// A selection dialog: its code, its exact caption, and the name of
// the setting that lists its entries.
struct SelectionKind {
  const char* code;
  const char* caption;
  const char* list_key;
};
inline constexpr SelectionKind kSelectionKinds[] = {
    {"AP", "Airports Selection", "airports"},
    {"SID", "SIDs Selection", "sids"},
    {"STAR", "STARs Selection", "stars"},
    {"GEO", "Geographical Data Selection", "geo"},
    {"VOR", "VORs Selection", "vors"},
    {"NDB", "NDBs Selection", "ndbs"},
    {"FIX", "FIXES Selection", "fixes"},
    {"L", "Low Airways Selection", "low_airways"},
    {"H", "High Airways Selection", "high_airways"},
    {"OCN", "Occupied Area Selection", "occupied_areas"},
};

// The kind of a selection dialog code, or nullptr.
const SelectionKind* FindSelectionKind(std::string_view code);

// The four fixed COMMBox tabs that follow the standard frequencies.
inline constexpr const char* kFixedTabs[] = {"METAR", "GUARD", "ATC", "BROADCAST"};

// IvAc's menu commands, posted as WM_COMMAND to the main window.
enum MenuCommand : int {
  kCmdAssume = 32796,
  kCmdTransfer = 32797,
  kCmdRelease = 32798,
  kCmdForceAct = 32799,
  kCmdShowFpl = 32801,
  kCmdResetCentre = 32820,
  kCmdColourScheme = 32829,
  kCmdRequestFpl = 32850,
  kCmdAddToInOut = 32861,
  kCmdAddOccupiedArea = 32862,
  kCmdOccupiedAreas = 32863,
};

// The name under which a menu command is logged ("assume", ...), "" for an
// ID that is not one of IvAc's.
std::string_view MenuCommandName(int id);

// The control channel: WM_COPYDATA with this dwData, sent to the window of
// class kMainClass, carries settings text to a running stand-in.
inline constexpr unsigned long kControlMagic = 0x56495651;  // "QVIV"
inline constexpr const char* kMainClass = "IvAcStandInMain";

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const Rect&) const = default;
};

struct State {
  // Window captions and placement (pixels at 96 dpi for the sizes; the
  // positions are screen pixels).
  std::string version = "1.2.9";  // the caption begins "IvAc " & version
  std::string station = "EDDF_TWR";
  Rect main{0, 0, 860, 660};
  int commbox_x = 0, commbox_y = 666;
  int inout_x = 866, inout_y = 0;

  bool connected = false;
  std::string selected;  // callsign of the selected traffic label, "" for none
  std::vector<std::string> traffic;

  // Standard frequencies of the COMMBox: one tab each, before the four fixed tabs.
  std::vector<std::string> frequencies;
  bool commbox_open = true;

  bool inout_open = true;
  std::vector<std::string> inout_columns;
  std::vector<std::vector<std::string>> inout_rows;

  // Entries of each selection dialog, by code, and the entries selected in it.
  std::map<std::string, std::vector<std::string>> lists;
  std::map<std::string, std::set<std::string>> chosen;

  std::vector<std::string> atc;     // controller-choice window (hand-over)
  std::vector<std::string> levels;  // flight-level window
  std::vector<std::string> speeds;  // speed window
  std::vector<std::string> route;   // fix window: the label's route points
  std::vector<std::string> schemes;
  std::string scheme = "Default";

  std::set<std::string> pressed;  // toolbar buttons pressed in at start

  // Once: the window thread stops answering for that long (a hung IvAc).
  int hang_ms = 0;

  std::string Caption() const;
  // Makes the state consistent after settings: the selected label is on the
  // map, and the CONNECT button is pressed in exactly while connected.
  void Normalise();
};

// The state a stand-in starts with before any setting: a small Frankfurt
// scenario, so that the program shows something useful with no arguments.
State DefaultState();

// Applies one setting. Keys are compared without regard to case. Returns ""
// or an error text naming the key.
//
// Lists are comma-separated; In/Out rows are separated by ";" and their cells
// by "|". Flags take yes/no, true/false, on/off, open/closed or 1/0.
std::string ApplySetting(State& state, std::string_view key, std::string_view value);

// Applies a text of settings: one "key = value" per line; blank lines and
// lines beginning with "#" or ";" are skipped. Returns the errors, each
// prefixed with "line N: ".
std::vector<std::string> ApplySettings(State& state, std::string_view text);

// Splits at `sep`, trimming blanks around each part; empty parts are dropped.
std::vector<std::string> SplitList(std::string_view value, char sep = ',');

// The help text of the settings, for --help and the documentation.
std::string_view SettingsHelp();

}  // namespace qv::standin
