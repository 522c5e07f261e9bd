// The rules of the IvAc automation that need no window: toolbar codes, the
// selection dialogs' captions, tab numbers, waits, the saved-state file
// formats and the parsing of command arguments. Portable: no Win32 here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ivac/automation.h"

namespace qv::ivac {

// IvAc's toolbar codes, in the order in which the map looks them up.
inline constexpr std::array<std::string_view, 41> kToolbarCodes = {
    "CC",    "HS",   "LS",  "AP",  "GEO", "RR",  "RWY",  "RCL",     "T",    "VOR", "NDB",
    "FIX",   "FRQ",  "N",   "L",   "H",   "SID", "STAR", "CONNECT", "PROF", "PDV", "ATIS",
    "METAR", "FSTR", "I/O", "COM", "ATC", "L+",  "L-",   "0",       "1",    "2",   "4",
    "8",     "Z1",   "Z2",  "Z3",  "Z4",  "QDM", "VERA", "INTERCOM"};

// The buttons whose states SAVE_BUTTONS keeps, in file order.
inline constexpr std::array<std::string_view, 22> kSavedButtonCodes = {
    "FSTR", "I/O", "COM", "ATC", "CC",  "HS",  "LS", "AP", "GEO", "RR",  "RWY",
    "RCL",  "T",   "VOR", "NDB", "FIX", "FRQ", "N",  "L",  "H",   "SID", "STAR"};

// IvAc shows this caption on the CONNECT button while it is connected.
inline constexpr std::string_view kConnectedCaption = "DISCON";

// Map keys of the windows that are not toolbar buttons.
inline constexpr std::string_view kKeyRebar = "ReBarWindow32";
inline constexpr std::string_view kKeyToolbar = "ReBar32770";
inline constexpr std::string_view kKeyTabs = "COMMBOXTabs";
inline constexpr std::string_view kKeyText = "COMMBOXText";
inline constexpr std::string_view kKeySelected = "COMMBOXSelected";

// IvAc's menu commands (WM_COMMAND to the main window).
inline constexpr int kCmdAssume = 32796;
inline constexpr int kCmdTransfer = 32797;
inline constexpr int kCmdRelease = 32798;
inline constexpr int kCmdForceAct = 32799;
inline constexpr int kCmdShowFpl = 32801;
inline constexpr int kCmdResetCentre = 32820;
inline constexpr int kCmdColourScheme = 32829;
inline constexpr int kCmdRequestFpl = 32850;
inline constexpr int kCmdAddToInOut = 32861;
inline constexpr int kCmdAddOccupiedArea = 32862;
inline constexpr int kCmdOccupiedAreas = 32863;

// The map key of a toolbar button: the code followed by "Btn".
std::string ButtonKey(std::string_view code);

// A code as the primitives use it: every "[" and "]" removed.
std::string StripBrackets(std::string_view code);

// The waits: `Sleep` itself (a negative setting waits 0) and `Sleep`/2
// rounded to the nearest integer, halves to even (25 gives 12, 1 gives 0).
int32_t FullWait(int32_t sleepMs);
int32_t HalfWait(int32_t sleepMs);

// The caption of the selection dialog that a code opens; "" for a code that
// opens none. "OCN" is opened by a menu command, the others by Shift+click.
std::string DialogCaption(std::string_view code);

// True for a text that is a plain decimal number (blanks around it, an
// optional sign, digits with at most one "."): the numbers the COMMBOX and
// MOVE_IVAC arguments accept.
bool IsNumber(std::string_view text);

// The COMMBox tab an argument addresses: a number's integer part, or a named
// tab after the `frequencies` standard ones; 0 for anything else.
int32_t TabNumber(std::string_view argument, int32_t frequencies);

// "selected 2 COMMBox TAB (max=7 - std freq:3)" and its "unable to" twin.
std::string TabStatus(bool selected, int32_t number, int32_t count, int32_t frequencies);

// Set button's status: "Button AP Pressed - done" / "Button AP released - done".
std::string SetButtonStatus(std::string_view code, bool pressed);

// The pattern lines of a selection block (CR LF or LF separated).
std::vector<std::string> SplitItems(std::string_view items);

// A list entry against one pattern, letter case ignored.
bool EntryMatches(std::string_view entry, std::string_view pattern);

// The defaults file of a selection: each entry and CR LF, then one more CR LF.
std::string DefaultsFileText(const std::vector<std::string>& selected);

// Buttons.ini: section "Default", one key per saved button, "-1" for pressed
// in and "0" for released, in the order given.
std::string ButtonsIniText(const std::vector<std::pair<std::string, bool>>& states);

// A saved button value read as a flag: "" leaves the button as it is
// (nullopt); "0" is released; "-1", any other non-zero number or "True" is
// pressed in.
std::optional<bool> SavedButtonFlag(std::string_view value);

// The menu command and success status of a simple label action.
struct LabelCommandInfo {
  int menuId;
  std::string_view status;
};
LabelCommandInfo LabelCommandOf(LabelAction action);

// MOVE_IVAC's placement "top,left,height,width" checked against the screen
// size in pixels. Every part must be a number (rounded, halves to even); a
// negative top or left is taken as 0; the height and width must lie between
// 10 and the screen's size, top and left at most the screen's size.
struct Placement {
  int32_t top = 0, left = 0, height = 0, width = 0;
  bool operator==(const Placement&) const = default;
};
std::optional<Placement> ParsePlacement(std::string_view text, int32_t screenWidth,
                                        int32_t screenHeight);
std::string PlacementText(const Placement& p);

// OCA's argument "vertical,horizontal,name": an empty coordinate counts as -1;
// the name is the trimmed text after the second comma.
struct OccupiedAreaArgs {
  int32_t vertical = -1, horizontal = -1;
  std::string name;
};
OccupiedAreaArgs ParseOccupiedArea(std::string_view argument);

}  // namespace qv::ivac
