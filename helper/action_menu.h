// The Macro Helper's action menu, decided without a window: which entries
// the menu holds and in which sub-menus, what each entry asks, and the
// script line it types for an answer. The window (helper/win32/
// frm_macro_helper.h) shows the menu and the input boxes and types the line.
//
// Every line that comes out of here is a line the interpreter understands:
// answers are trimmed (the interpreter would keep a second blank as part of
// the argument), and an answer holding "|", which splits script lines, types
// nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::helper {

struct MenuNode {
  int32_t id = 0;                  // the entry's number; 0 for a sub-menu or a separator
  std::string caption;             // "-" for a separator; "&&" shows as one "&"
  std::vector<MenuNode> children;  // a sub-menu when not empty
};

// The whole menu: the root's children are the top-level entries.
MenuNode ActionMenu();

// Every entry number of the menu, in menu order.
std::vector<int32_t> ActionIds();

// The selection windows of the "<code>" sub-menus, in menu order, and the
// toolbar codes of the button sub-menus.
inline constexpr std::array<std::string_view, 10> kSelectionCodes = {
    "AP", "GEO", "VOR", "NDB", "FIX", "H", "L", "SID", "STAR", "OCN"};
inline constexpr std::array<std::string_view, 37> kButtonCodes = {
    "CC",  "HS",   "LS",    "AP", "GEO", "RR",   "RWY",     "RCL",  "T",       "VOR",
    "NDB", "FIX",  "FRQ",   "N",  "L",   "H",    "SID",     "STAR", "CONNECT", "PROF",
    "PDV", "ATIS", "METAR", "L+", "L-",  "0",    "1",       "2",    "4",       "8",
    "Z1",  "Z2",   "Z3",    "Z4", "QDM", "VERA", "INTERCOM"};

// What an entry asks before it types: the prompt, the input box title after
// the window's caption, and the answer offered.
struct Prompt {
  std::string text;
  std::string title;
  std::string defaultAnswer;
};
std::optional<Prompt> PromptOf(int32_t id);

// What choosing an entry does beyond typing its line.
enum class ActionKind {
  kTypeLine,         // types LineFor(id, answer)
  kMoveIvac,         // types MoveIvacLine of IvAc's current placement
  kPasteSelected,    // pastes the block of the selection window's selected items
  kPasteUnselected,  // the same with the items that are not selected
  kNone,             // no such entry
};
ActionKind KindOf(int32_t id);

// The selection-window code of entries 1001 to 10012; "" for other entries.
std::string SelectionCodeOf(int32_t id);

// The line an entry types for an answer (ignored by entries that ask
// nothing); nullopt when the answer gives no line.
std::optional<std::string> LineFor(int32_t id, std::string_view answer);

// "MOVE_IVAC " and IvAc's placement "top,left,height,width".
std::string MoveIvacLine(std::string_view placement);

// The clipboard text of the copy entries: a comment line with the count,
// then a selection block of the items, every line ended by CR LF. Items that
// would end the block early or split a line are left out.
std::string SelectionBlockText(const std::vector<std::string>& items, bool selected);

}  // namespace qv::helper
