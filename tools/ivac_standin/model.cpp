#include "tools/ivac_standin/model.h"

#include "platform/text.h"

#include <algorithm>

namespace qv::standin {

namespace {

// Flags: the usual spellings of a yes and a no.
bool ParseFlag(std::string_view value, bool& out) {
  const std::string v = ToLower(TrimBlanks(value));
  if (v == "yes" || v == "true" || v == "on" || v == "open" || v == "1") {
    out = true;
    return true;
  }
  if (v == "no" || v == "false" || v == "off" || v == "closed" || v == "close" || v == "0") {
    out = false;
    return true;
  }
  return false;
}

bool IsInteger(std::string_view text) {
  if (text.empty()) return false;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

// "x, y" or "x, y, w, h": exactly `count` integers.
bool ParseInts(std::string_view value, size_t count, std::vector<int>& out) {
  const std::vector<std::string> parts = SplitList(value);
  if (parts.size() != count) return false;
  out.clear();
  for (const std::string& p : parts) {
    if (!IsInteger(p)) return false;
    out.push_back(LeadingInt(p));
  }
  return true;
}

std::vector<std::vector<std::string>> ParseRows(std::string_view value) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& row : SplitList(value, ';')) {
    std::vector<std::string> cells;
    // Cells keep their empty parts: "A||C" is three cells.
    size_t start = 0;
    for (;;) {
      const size_t bar = row.find('|', start);
      cells.push_back(TrimBlanks(std::string_view(row).substr(
          start, bar == std::string::npos ? std::string::npos : bar - start)));
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

// Standard frequencies generated for "frequencies = N".
std::vector<std::string> GeneratedFrequencies(int count) {
  static const char* const kNames[] = {"119.900", "121.900", "124.850", "120.800",
                                       "136.125", "118.780", "127.275", "121.755"};
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back(i < 8 ? kNames[i] : "FREQ " + DecimalText(i + 1));
  return out;
}

const SelectionKind* KindOfListKey(std::string_view key) {
  for (const SelectionKind& k : kSelectionKinds)
    if (key == k.list_key) return &k;
  return nullptr;
}

}  // namespace

const SelectionKind* FindSelectionKind(std::string_view code) {
  for (const SelectionKind& k : kSelectionKinds)
    if (EqualsNoCase(code, k.code)) return &k;
  return nullptr;
}

std::string_view MenuCommandName(int id) {
  switch (id) {
    case kCmdAssume:
      return "assume";
    case kCmdTransfer:
      return "transfer";
    case kCmdRelease:
      return "release";
    case kCmdForceAct:
      return "force_act";
    case kCmdShowFpl:
      return "show_fpl";
    case kCmdResetCentre:
      return "reset_centre";
    case kCmdColourScheme:
      return "colour_scheme";
    case kCmdRequestFpl:
      return "request_fpl";
    case kCmdAddToInOut:
      return "add_to_io";
    case kCmdAddOccupiedArea:
      return "add_occupied_area";
    case kCmdOccupiedAreas:
      return "occupied_areas";
    default:
      return "";
  }
}

std::vector<std::string> SplitList(std::string_view value, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(sep, start);
    if (end == std::string_view::npos) end = value.size();
    std::string part = TrimBlanks(value.substr(start, end - start));
    if (!part.empty()) out.push_back(std::move(part));
    start = end + 1;
  }
  return out;
}

std::string State::Caption() const {
  return "IvAc " + version + " - " + station + (connected ? " (connected)" : " (offline)") +
         " [Quorvex stand-in]";
}

void State::Normalise() {
  if (!selected.empty() && std::find(traffic.begin(), traffic.end(), selected) == traffic.end())
    traffic.push_back(selected);
  if (connected)
    pressed.insert("CONNECT");
  else
    pressed.erase("CONNECT");
}

State DefaultState() {
  State s;
  s.traffic = {"DLH4AB", "AFR1234", "BAW915", "EZY73KL", "RYR8821", "UAE45"};
  s.selected = "";
  s.frequencies = GeneratedFrequencies(3);
  s.inout_columns = {"Callsign", "Type", "From", "To", "Level", "Status"};
  s.inout_rows = {{"DLH4AB", "A321", "EDDM", "EDDF", "FL110", "IN"},
                  {"BAW915", "A320", "EGLL", "EDDF", "FL240", "IN"},
                  {"EZY73KL", "A319", "EDDF", "LFPG", "FL090", "OUT"}};
  s.lists["AP"] = {"EDDF", "EDDM", "EDDS", "EDDK", "EDDL", "EDFH", "ETOU"};
  s.lists["SID"] = {"ANEKI7L", "CINDY7S", "MARUN7F", "OBOKA7G", "SOBRA7L", "TOBAK7M"};
  s.lists["STAR"] = {"ASPAT2A", "KERAX2B", "PSA2A", "SPESA2B", "UNOKO2A"};
  s.lists["GEO"] = {"COASTLINE", "EDDF TMA", "EDGG BORDER", "RIVERS"};
  s.lists["VOR"] = {"FFM", "RID", "CHA", "TAU", "KIR", "SPESA"};
  s.lists["NDB"] = {"FR", "FW", "NF", "RID"};
  s.lists["FIX"] = {"ASPAT", "CINDY", "KERAX", "MARUN", "OBOKA", "SOBRA", "TOBAK", "UNOKO"};
  s.lists["L"] = {"L603", "L984", "T161", "T163", "Y164"};
  s.lists["H"] = {"UL603", "UL984", "UN850", "UT161", "UZ29"};
  s.lists["OCN"] = {"ED-R132", "ED-R205", "TRA LAUTER"};
  s.chosen["AP"] = {"EDDF"};
  s.atc = {"EDDF_APP 120.800", "EDDF_DEP 120.150", "EDDF_GND 121.900",
           "EDDF_TWR 119.900", "EDGG_CTR 128.050", "EDGG_HEF_CTR 135.650"};
  for (int fl = 10; fl <= 410; fl += 10) {
    std::string t = DecimalText(fl);
    while (t.size() < 3) t.insert(t.begin(), '0');
    s.levels.push_back("FL" + t);
  }
  s.speeds = {"160", "170", "180", "200", "210", "220", "250", "280", "300", "M.78", "M.80"};
  s.route = {"ANEKI", "CINDY", "KERAX", "MARUN", "OBOKA", "SOBRA", "TOBAK"};
  s.schemes = {"Default", "Night", "Classic", "High contrast"};
  s.scheme = "Default";
  s.pressed = {"AP", "VOR", "COM", "I/O", "RWY"};
  return s;
}

std::string ApplySetting(State& s, std::string_view key_in, std::string_view value) {
  const std::string key = ToLower(TrimBlanks(key_in));
  const std::string v = TrimBlanks(value);
  bool flag = false;
  std::vector<int> ints;

  if (key == "version") {
    if (v.empty() || v[0] != '1') return "version: IvAc's caption needs a version beginning \"1\"";
    s.version = v;
  } else if (key == "station") {
    s.station = v;
  } else if (key == "connected") {
    if (!ParseFlag(v, flag)) return "connected: expected yes or no, got \"" + v + "\"";
    s.connected = flag;
  } else if (key == "selected") {
    s.selected = v;
  } else if (key == "traffic") {
    s.traffic = SplitList(v);
  } else if (key == "frequencies") {
    if (IsInteger(v)) {
      const int n = LeadingInt(v);
      if (n < 0 || n > 16) return "frequencies: a count from 0 to 16, got " + v;
      s.frequencies = GeneratedFrequencies(n);
    } else {
      s.frequencies = SplitList(v);
    }
  } else if (key == "commbox") {
    if (!ParseFlag(v, flag)) return "commbox: expected open or closed, got \"" + v + "\"";
    s.commbox_open = flag;
  } else if (key == "inout_window") {
    if (!ParseFlag(v, flag)) return "inout_window: expected open or closed, got \"" + v + "\"";
    s.inout_open = flag;
  } else if (key == "inout_columns") {
    s.inout_columns = SplitList(v);
  } else if (key == "inout") {
    s.inout_rows = ParseRows(v);
  } else if (key == "inout_add") {
    for (auto& row : ParseRows(v)) s.inout_rows.push_back(std::move(row));
  } else if (const SelectionKind* kind = KindOfListKey(key)) {
    s.lists[kind->code] = SplitList(v);
  } else if (key.size() > 9 && key.ends_with("_selected") &&
             KindOfListKey(std::string_view(key).substr(0, key.size() - 9))) {
    const SelectionKind* k = KindOfListKey(std::string_view(key).substr(0, key.size() - 9));
    const std::vector<std::string> items = SplitList(v);
    s.chosen[k->code] = std::set<std::string>(items.begin(), items.end());
  } else if (key == "atc") {
    s.atc = SplitList(v);
  } else if (key == "levels") {
    s.levels = SplitList(v);
  } else if (key == "speeds") {
    s.speeds = SplitList(v);
  } else if (key == "route") {
    s.route = SplitList(v);
  } else if (key == "schemes") {
    s.schemes = SplitList(v);
  } else if (key == "scheme") {
    s.scheme = v;
  } else if (key == "pressed") {
    s.pressed.clear();
    for (const std::string& code : SplitList(v)) {
      // Codes are taken in any case, as a user types them; kept as IvAc spells them.
      const auto known = std::find_if(std::begin(kToolbarCodes), std::end(kToolbarCodes),
                                      [&](const char* c) { return EqualsNoCase(code, c); });
      if (known == std::end(kToolbarCodes))
        return "pressed: \"" + code + "\" is not a toolbar code";
      s.pressed.insert(*known);
    }
  } else if (key == "main") {
    if (!ParseInts(v, 4, ints) || ints[2] < 200 || ints[3] < 150)
      return "main: expected x, y, width, height (at least 200 x 150), got \"" + v + "\"";
    s.main = {ints[0], ints[1], ints[2], ints[3]};
  } else if (key == "commbox_at") {
    if (!ParseInts(v, 2, ints)) return "commbox_at: expected x, y, got \"" + v + "\"";
    s.commbox_x = ints[0];
    s.commbox_y = ints[1];
  } else if (key == "inout_at") {
    if (!ParseInts(v, 2, ints)) return "inout_at: expected x, y, got \"" + v + "\"";
    s.inout_x = ints[0];
    s.inout_y = ints[1];
  } else if (key == "hang") {
    const int ms = LeadingInt(v);
    if (!IsInteger(v) || ms < 0 || ms > 60000)
      return "hang: milliseconds from 0 to 60000, got " + v;
    s.hang_ms = ms;
  } else {
    return "unknown setting \"" + key + "\"";
  }
  return "";
}

std::vector<std::string> ApplySettings(State& s, std::string_view text) {
  std::vector<std::string> errors;
  size_t start = 0;
  int line_no = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line = TrimBlanks(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line = TrimBlanks(line.substr(0, line.size() - 1));
    start = end + 1;
    ++line_no;
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const size_t eq = line.find('=');
    std::string error;
    if (eq == std::string::npos)
      error = "expected \"key = value\", got \"" + line + "\"";
    else
      error = ApplySetting(s, line.substr(0, eq), line.substr(eq + 1));
    if (!error.empty()) errors.push_back("line " + DecimalText(line_no) + ": " + error);
  }
  return errors;
}

std::string_view SettingsHelp() {
  return R"(Settings (config file lines "key = value", or --set key=value):
  version        IvAc version in the caption (must begin "1")   1.2.9
  station        controller callsign shown in the caption        EDDF_TWR
  connected      yes/no: CONNECT button captioned DISCON          no
  selected       callsign of the selected traffic label, or empty
  traffic        callsigns on the map, comma-separated
  frequencies    standard COMMBox frequencies: a list, or a count
  commbox        open/closed                                     open
  inout_window   open/closed                                     open
  inout_columns  In/Out column titles, comma-separated
  inout          In/Out rows: cells separated by "|", rows by ";"
  inout_add      rows to append to the In/Out list
  airports sids stars geo vors ndbs fixes low_airways high_airways
  occupied_areas entries of each selection dialog, comma-separated
  <list>_selected  entries selected in that dialog (airports_selected = EDDF)
  atc            stations in the controller-choice window
  levels speeds  entries of the flight-level and speed windows
  route          route points in the fix window
  schemes scheme colour schemes, and the one in use
  pressed        toolbar codes pressed in at start
  main           main window x, y, width, height
  commbox_at inout_at   x, y of the COMMBox and the In/Out window
  hang           a running stand-in stops answering for that many ms
)";
}

}  // namespace qv::standin
