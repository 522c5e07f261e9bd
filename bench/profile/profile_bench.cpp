// Reads every key of a panel with 400 buttons of 26 keys: through a snapshot,
// through single key reads, and (Windows build) through the system function
// with the same reader routine. Every route must give the same values; the
// snapshot must be at least ten times as fast as the system.
//
//   qv_profile_bench [runs]

#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace {

const char* const kKeys[] = {
    "Caption",    "Macro",         "color",   "TextColor", "FontName", "FontSize", "FontBold",
    "FontItalic", "FontUnderline", "ToolTip", "type",      "Picture",  "Sound",    "Visible",
    "Enabled",    "Left",          "Top",     "Width",     "Height",   "HotKey",   "Group",
    "Style",      "BorderColor",   "Align",   "Shape",     "Comment"};

std::string SectionName(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", i);
  return buf;
}

// Appends the pieces to the text (no temporaries joined with "+").
template <class... Parts>
void Add(std::string& text, const Parts&... parts) {
  (text.append(parts), ...);
}

std::string PanelText() {
  std::string s;
  Add(s, "[Setup]\r\nDescription=Bench\r\nButtonWidth=1200\r\nButtonHeight=400\r\n",
      "Rows=20\r\nCols=20\r\n\r\n");
  for (int i = 1; i <= 400; ++i) {
    const std::string n = std::to_string(i);
    Add(s, "[", SectionName(i), "]\r\n");
    Add(s, "Caption=Button ", n, "\r\n");
    Add(s, "Macro=\"PRESS \"\"F", n, "\"\" : WAIT 200 : SEND \"\".atis ", n, "\"\"\"\r\n");
    Add(s, "color=0000000012632256\r\nTextColor=0000000000000000\r\nFontName=MS Sans Serif\r\n");
    Add(s, "FontSize=8.25\r\nFontBold=0\r\nFontItalic=0\r\nFontUnderline=0\r\n");
    Add(s, "ToolTip=Runs button ", n, "\r\ntype=0\r\nPicture=\r\nSound=\r\nVisible=-1\r\n");
    Add(s, "Enabled=-1\r\nLeft=", std::to_string(i * 15), "\r\nTop=0\r\nWidth=1200\r\n");
    Add(s, "Height=400\r\nHotKey=\r\nGroup=", std::to_string(i % 7), "\r\nStyle=1\r\n");
    Add(s, "BorderColor=0000000000000000\r\nAlign=2\r\nShape=0\r\nComment=  spaced  \r\n\r\n");
  }
  return s;
}

#ifdef _WIN32
std::string SystemReadKey(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& def) {
  char buf[qv::profile::kReadBufferSize + 1] = {};
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf,
                                           qv::profile::kReadBufferSize, file.c_str());
  if (n == 0) return "";
  return qv::TrimRightBlanks(std::string(buf));
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::filesystem::path dir = qv::bench::ScratchFolder("qv_profile_bench");
  const std::string file = (dir / "Bench.ini").string();
  const std::string text = PanelText();
  { std::ofstream(file, std::ios::binary) << text; }
  // A panel being loaded is an old file; the system caches only files that
  // have not changed in the last seconds.
  std::filesystem::last_write_time(file,
                                   std::filesystem::last_write_time(file) - std::chrono::hours(1));

  std::vector<std::string> sections;
  for (int i = 1; i <= 400; ++i) sections.push_back(SectionName(i));
  const size_t reads = sections.size() * (sizeof kKeys / sizeof kKeys[0]);

  // One pass of every route; all must agree value for value.
  std::vector<std::string> snap_values, key_values, sys_values;
  auto by_snapshot = [&] {
    snap_values.clear();
    const qv::profile::Snapshot snap(file);
    for (const std::string& s : sections)
      for (const char* k : kKeys) snap_values.push_back(snap.ReadKey(s, k, "?"));
    qv::bench::Keep(snap_values);
  };
  auto by_read_key = [&] {
    key_values.clear();
    for (const std::string& s : sections)
      for (const char* k : kKeys) key_values.push_back(qv::profile::ReadKey(file, s, k, "?"));
    qv::bench::Keep(key_values);
  };

  char title[128];
  std::snprintf(title, sizeof title, "Profile reads: %zu keys (400 x 26, %zu bytes), %s", reads,
                text.size(),
#ifdef _WIN32
                "Windows build");
#else
                "host build");
#endif
  qv::bench::Report report(title);
#ifdef _WIN32
  auto by_system = [&] {
    sys_values.clear();
    for (const std::string& s : sections)
      for (const char* k : kKeys) sys_values.push_back(SystemReadKey(file, s, k, "?"));
    qv::bench::Keep(sys_values);
  };
  report.Add(qv::bench::Measure("system GetPrivateProfileStringA", runs, by_system));
#endif
  report.Add(qv::bench::Measure("engine Snapshot (load + reads)", runs, by_snapshot));
  report.Add(qv::bench::Measure("engine ReadKey", runs, by_read_key));

  int status = 0;
  if (snap_values != key_values) {
    std::fprintf(stderr, "Snapshot and ReadKey disagree\n");
    status = 1;
  }
  for (size_t i = 0; i < snap_values.size(); ++i) {
    if (snap_values[i] == "?") {
      std::fprintf(stderr, "value %zu missing\n", i);
      status = 1;
      break;
    }
  }
#ifdef _WIN32
  report.Print("system GetPrivateProfileStringA");
  if (snap_values != sys_values) {
    std::fprintf(stderr, "Snapshot and the system disagree\n");
    status = 1;
  }
  const double speedup =
      report.Speedup("engine Snapshot (load + reads)", "system GetPrivateProfileStringA");
  if (speedup < 10) {
    std::fprintf(stderr, "Snapshot only %.1fx as fast as the system (10x required)\n", speedup);
    status = 1;
  }
#else
  report.Print("engine ReadKey");
#endif
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return status;
}
