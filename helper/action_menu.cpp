#include "helper/action_menu.h"

#include <cmath>

#include "platform/text.h"

namespace qv::helper {

namespace {

MenuNode Item(int32_t id, std::string caption) { return {id, std::move(caption), {}}; }
MenuNode Separator() { return {0, "-", {}}; }
MenuNode Sub(std::string caption, std::vector<MenuNode> children) {
  return {0, std::move(caption), std::move(children)};
}

// Entries of the selection sub-menus: 1000 x position of the code + 1..12.
constexpr int32_t kSelectionBase = 1000;

MenuNode SelectionMenu(size_t position, std::string_view codeView) {
  const std::string code(codeView);
  const int32_t base = kSelectionBase * static_cast<int32_t>(position + 1);
  return Sub("<" + code + ">",
             {
                 Item(base + 1, "Press " + code + " Button"),
                 Item(base + 2, "Release " + code + " Button"),
                 Item(base + 3, code + " Select ..."),
                 Item(base + 4, code + " Unselect ..."),
                 Item(base + 5, code + ": press Select_All button"),
                 Item(base + 6, code + ": press Select_None button"),
                 Item(base + 7, code + " Copy&&Paste Current IvAc Selected Items"),
                 Item(base + 8, code + " Copy&&Paste Current IvAc unSelected Items"),
                 Item(base + 9, code + " Select_All_Except_Selection"),
                 Item(base + 10, code + " Select_None_Except_Selection"),
                 Item(base + 11, code + " Save current Selection as Default "),
                 Item(base + 12, code + " Reset Default selection"),
             });
}

MenuNode ButtonMenu(std::string caption, int32_t base) {
  MenuNode m = Sub(std::move(caption), {});
  for (size_t i = 0; i < kButtonCodes.size(); ++i)
    m.children.push_back(Item(base + static_cast<int32_t>(i + 1), std::string(kButtonCodes[i])));
  return m;
}

// The selection entry's code and number (1..12), or nullopt.
std::optional<std::pair<std::string, int32_t>> SelectionEntry(int32_t id) {
  const int32_t position = id / kSelectionBase;
  const int32_t entry = id % kSelectionBase;
  if (position < 1 || position > static_cast<int32_t>(kSelectionCodes.size()) || entry < 1 ||
      entry > 12)
    return std::nullopt;
  return std::make_pair(std::string(kSelectionCodes[static_cast<size_t>(position - 1)]), entry);
}

// The toolbar code of entries 500/600/700 + position.
std::optional<std::string> ButtonCode(int32_t id, int32_t base) {
  const int32_t position = id - base;
  if (position < 1 || position > static_cast<int32_t>(kButtonCodes.size())) return std::nullopt;
  return std::string(kButtonCodes[static_cast<size_t>(position - 1)]);
}

// A plain decimal number without sign: digits with at most one ".".
std::optional<double> Number(std::string_view text) {
  const std::string t = TrimSpaces(text);
  bool digits = false, point = false;
  for (char c : t) {
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return LeadingNumber(t);
}

std::string ThreeDigits(int32_t value) {
  std::string s = DecimalText(value);
  while (s.size() < 3) s.insert(s.begin(), '0');
  return s;
}

}  // namespace

MenuNode ActionMenu() {
  MenuNode zoom = Sub("Set Zoom to ...", {});
  for (int32_t i = 0; i <= 12; ++i) zoom.children.push_back(Item(201 + i, DecimalText(10 * i)));
  zoom.children.push_back(Separator());
  zoom.children.push_back(Item(220, "Custom ..."));

  MenuNode root;
  root.children = {
      Item(10, "Open new Assistant"),
      Item(11, "Back to Previous Assistant"),
      Item(12, "Change Colorscheme"),
      Item(13, "Include Macro"),
      Separator(),
      Sub("Text",
          {Item(21, "Set COMMBox Freq."), Separator(), Item(22, "Clear Text"), Item(23, "Add Text"),
           Item(24, "Add Text (without space)"), Item(25, "Send Text")}),
      Separator(),
      Item(2, "Reset Centerpoint"),
      Item(3, "Set Centerpoint to ..."),
      zoom,
      Separator(),
      Item(4, "Cleared FL"),
      Item(5, "Cleared Waypoint"),
      Item(6, "Cleared Speed"),
      Item(14, "Empty FL tag"),
      Item(15, "Empty Waypoint tag"),
      Item(16, "Empty Speed tag"),
      Separator(),
      Sub("Label", {Item(71, "Assume"), Item(72, "Release"), Item(73, "Transfer"),
                    Item(74, "Send Force Act"), Item(75, "Add to In/Out"), Item(76, "Request FPL"),
                    Item(77, "Show FPL")}),
      Separator(),
      Item(8, "Move IvAc window"),
      Item(9, "OCN"),
      Separator(),
      ButtonMenu("Click Button", 500),
      ButtonMenu("Press Button", 600),
      ButtonMenu("Release Button", 700),
      Sub("Buttons", {Item(551, "Save Buttons Status"), Item(552, "Reset Buttons Status")}),
      Separator(),
  };
  for (size_t i = 0; i < kSelectionCodes.size(); ++i)
    root.children.push_back(SelectionMenu(i, kSelectionCodes[i]));
  return root;
}

std::vector<int32_t> ActionIds() {
  std::vector<int32_t> ids;
  const MenuNode root = ActionMenu();
  const auto walk = [&ids](const MenuNode& node, const auto& self) -> void {
    for (const MenuNode& child : node.children) {
      if (child.id != 0) ids.push_back(child.id);
      self(child, self);
    }
  };
  walk(root, walk);
  return ids;
}

std::optional<Prompt> PromptOf(int32_t id) {
  switch (id) {
    case 10:
      return Prompt{"New Assistant:", " - Open new Assistant", ""};
    case 12:
      return Prompt{"Colorscheme Filename:\r\n\n(without path)", " - Change IvAc ColorScheme", ""};
    case 13:
      return Prompt{"Include Macro Filename:\r\n\n(without path)", " - Include Macro", ""};
    case 21:
      return Prompt{"Frequency Tab Number (1..n)", " - Change COMMBox TAB", ""};
    case 23:
      return Prompt{"Enter Text:", " - Add Text to chat window", ""};
    case 24:
      return Prompt{"Enter Text:", " - Add Text (without spaces) to chat window", ""};
    case 25:
      return Prompt{"Enter Text:", " - Send Text from chat window", ""};
    case 3:
      return Prompt{"Fix Name:", " - Set centerpoint to:", ""};
    case 220:
      return Prompt{"Zoom Level:", " - Set Zoom Level", ""};
    case 4:
      return Prompt{"FL \r\n\nNote:\r\nthree digit - Example 3000ft=030", " - Cleared to FL", ""};
    case 5:
      return Prompt{"Waypoint:", " - Cleared to Waypoint", ""};
    case 6:
      return Prompt{"Speed:", " - Cleared to Speed", ""};
    case 73:
      return Prompt{"Controller:", " - Transfer to ...", ""};
    case 9:
      return Prompt{"Text:", " - Occupied Area", "X,Y,"};
    default:
      break;
  }
  if (const auto sel = SelectionEntry(id)) {
    const auto& [code, entry] = *sel;
    if (entry == 3) return Prompt{code + " items to select:", " - Select " + code + " items", ""};
    if (entry == 4)
      return Prompt{code + " items to unselect:", " - Unselect " + code + " items", ""};
  }
  return std::nullopt;
}

ActionKind KindOf(int32_t id) {
  if (id == 8) return ActionKind::kMoveIvac;
  if (const auto sel = SelectionEntry(id)) {
    if (sel->second == 7) return ActionKind::kPasteSelected;
    if (sel->second == 8) return ActionKind::kPasteUnselected;
    return ActionKind::kTypeLine;
  }
  const std::vector<int32_t> ids = ActionIds();
  for (int32_t known : ids)
    if (known == id) return ActionKind::kTypeLine;
  return ActionKind::kNone;
}

std::string SelectionCodeOf(int32_t id) {
  const auto sel = SelectionEntry(id);
  return sel ? sel->first : std::string();
}

std::optional<std::string> LineFor(int32_t id, std::string_view rawAnswer) {
  if (rawAnswer.find('|') != std::string_view::npos) return std::nullopt;
  const std::string answer = TrimSpaces(rawAnswer);
  const auto withAnswer = [&answer](std::string_view word) -> std::optional<std::string> {
    if (answer.empty()) return std::nullopt;
    return std::string(word) + " " + answer;
  };
  switch (id) {
    case 10:
      return withAnswer("OPEN");
    case 11:
      return "BACK";
    case 12:
      return withAnswer("COLORSCHEME");
    case 13:
      return withAnswer("INCLUDE");
    case 21: {
      const auto n = Number(answer);
      if (!n || *n != std::floor(*n) || *n < 1 || *n > 30) return std::nullopt;
      return "COMMBOX " + DecimalText(static_cast<int64_t>(*n));
    }
    case 22:
      return "CLEAR_TEXT";
    case 23:
      return withAnswer("ADD_TEXT");
    case 24:
      return withAnswer("ADD_TEXT_NOSPACE");
    case 25:
      // The text is sent as the user wrote it; an empty one only presses Enter.
      return rawAnswer.empty() ? std::string("SEND_TEXT") : "SEND_TEXT " + std::string(rawAnswer);
    case 2:
      return "RESET_CENTERPOINT";
    case 3:
      return withAnswer("CENTERPOINT");
    case 220:
      return withAnswer("ZOOM");
    case 4: {
      // Flight levels are three digits: 0 empties the tag, 10 to 999 are
      // written with leading zeros, anything else is no level.
      const auto n = Number(answer);
      if (!n) return std::nullopt;
      if (*n == 0) return "CLEARED_TO_FL <none>";
      if (*n < 10 || *n >= 1000) return std::nullopt;
      return "CLEARED_TO_FL " + ThreeDigits(static_cast<int32_t>(*n));
    }
    case 5:
      return withAnswer("CLEARED_TO_FIX");
    case 6: {
      // To the nearest ten; a speed that rounds to 0 or above 999 is a typo.
      const auto n = Number(answer);
      if (!n) return std::nullopt;
      if (*n == 0) return "CLEARED_TO_SPEED <none>";
      const double tens = std::floor(*n / 10 + 0.5) * 10;
      if (tens < 10 || tens > 999) return std::nullopt;
      return "CLEARED_TO_SPEED " + ThreeDigits(static_cast<int32_t>(tens));
    }
    case 14:
      return "CLEARED_TO_FL <none>";
    case 15:
      return "CLEARED_TO_FIX <none>";
    case 16:
      return "CLEARED_TO_SPEED <none>";
    case 71:
      return "ASSUME_LABEL";
    case 72:
      return "RELEASE_LABEL";
    case 73:
      return withAnswer("TRANSFER_TO");
    case 74:
      return "FORCE_ACT";
    case 75:
      return "ADD_TO_IO";
    case 76:
      return "REQ_FPL";
    case 77:
      return "SHOW_FPL";
    case 9:
      return withAnswer("OCA");
    case 551:
      return "SAVE_BUTTONS";
    case 552:
      return "RESET_BUTTONS";
    default:
      break;
  }
  if (id >= 201 && id <= 213) return "ZOOM " + DecimalText(10 * (id - 201));
  // "Click Button" and "Press Button" both press.
  if (const auto code = ButtonCode(id, 500)) return "PRESS [" + *code + "]";
  if (const auto code = ButtonCode(id, 600)) return "PRESS [" + *code + "]";
  if (const auto code = ButtonCode(id, 700)) return "RELEASE [" + *code + "]";
  if (const auto sel = SelectionEntry(id)) {
    const std::string tag = "[" + sel->first + "]";
    switch (sel->second) {
      case 1:
        return "PRESS " + tag;
      case 2:
        return "RELEASE " + tag;
      case 3:
        return withAnswer(tag + " SELECT");
      case 4:
        return withAnswer(tag + " UNSELECT");
      case 5:
        return tag + " Select_All";
      case 6:
        return tag + " Select_None";
      case 9:
        return tag + " Select_All_Except_Selection";
      case 10:
        return tag + " Select_None_Except_Selection";
      case 11:
        return tag + " SAVE_DEFAULT";
      case 12:
        return tag + " RESET_DEFAULT";
      default:
        break;
    }
  }
  return std::nullopt;
}

std::string MoveIvacLine(std::string_view placement) {
  return "MOVE_IVAC " + std::string(placement);
}

std::string SelectionBlockText(const std::vector<std::string>& items, bool selected) {
  std::vector<std::string> kept;
  for (const std::string& item : items) {
    const std::string t = TrimSpaces(item);
    // A line the block would skip, end early or split.
    if (t.empty() || t[0] == ';' || ToUpper(t) == "<SELECTION_END>" ||
        t.find_first_of("|\r\n") != std::string::npos)
      continue;
    kept.push_back(t);
  }
  if (kept.empty()) return {};
  std::string out = "; " + DecimalText(static_cast<int64_t>(kept.size())) +
                    (selected ? " selected Item" : " unselected Item") + "\r\n";
  out += "<selection_start>\r\n";
  for (const std::string& item : kept) out += item + "\r\n";
  out += "<selection_end>\r\n";
  return out;
}

}  // namespace qv::helper
