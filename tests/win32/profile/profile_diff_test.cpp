// Runs a corpus of awkward profile files through the engine and through the
// system's private-profile functions, and requires the same answers: read
// results and return values, write return values, and the rewritten files
// byte for byte.
//
// The system keeps recently used profiles cached; every file here is used for
// one case only, and the cache is flushed after each system call that writes.

#include <windows.h>
// <windows.h> maps the generic names to its "A" functions; here the generic
// names are the engine's.
#undef GetPrivateProfileString
#undef GetPrivateProfileSection

#include <gtest/gtest.h>

#include "support/show_bytes.h"
#include "support/temp_dir.h"

#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace qv::profile {
namespace {

using namespace std::string_literals;
using qv::testing::FileBytes;

std::string Show(const std::string& s) { return qv::testing::ShowBytes(s); }

struct CorpusFile {
  const char* name;
  std::string bytes;
};

std::string Garbage(unsigned seed, size_t size) {
  static const char alphabet[] =
      "[]=;\"' \t\r\n\x1a"
      "abAB";
  std::mt19937 rng(seed);
  std::string s(size, ' ');
  for (char& c : s) {
    const unsigned r = rng();
    c = (r % 5) ? alphabet[(r >> 3) % (sizeof alphabet - 1)] : static_cast<char>(r >> 8);
  }
  return s;
}

std::vector<CorpusFile> Corpus() {
  std::string big = "[big]\r\n";
  for (int i = 0; i < 120; ++i)
    big += "Key" + std::to_string(i) + "=value number " + std::to_string(i) + "\r\n";
  big += "[after]\r\nk=1\r\n";
  std::string panel =
      "[Setup]\r\nDescription=Tower\r\nButtonWidth=1200\r\nButtonHeight=400\r\nRows=2\r\nCols="
      "10\r\n\r\n";
  for (const std::string sec : {"01", "02", "03"})
    panel +=
        "[" + sec + "]\r\nCaption=Button " + sec +
        "\r\nMacro=\"PRESS \"\"X\"\" \"\r\ncolor=0000000012632256\r\nFontName=MS Sans Serif\r\n";
  return {
      {"plain", "[s]\r\na=1\r\n"},
      {"blanks", "  top = 0 \r\n\r\n  [ Setup ]  \r\n  Rows = 2 \r\n\tCols\t=\t10\t\r\n\r\n"},
      {"quotes",
       "[q]\r\nd=\"dq\"\r\ns='sq'\r\nm=\"mixed'\r\nl=\"\r\ne=\"\"\r\ni=\" inner \"\r\nh=\"half\r\n"
       "t=tail\"\r\n"},
      {"duplicates", "[s]\r\na=1\r\na=2\r\n[t]\r\nx=1\r\n[S]\r\na=3\r\nb=4\r\n"},
      {"comments", "; header comment\r\n[s]\r\n;a=1\r\na=2\r\n; b = 3\r\n;\r\n[t]\r\n;only\r\n"},
      {"no equals", "[s]\r\nCaption\r\nMacro=x\r\n  lonely word  \r\n"},
      {"blank lines", "\r\n\r\n[s]\r\n\r\n\r\na=1\r\n\r\n[t]\r\n\r\n"},
      {"before first section", "top=1\r\nnoeq\r\n=v\r\n[s]\r\na=1\r\n"},
      {"no final line end", "[s]\r\na=1\r\nb=2"},
      {"LF only", "[s]\na=1\nb=2\n\n[t]\nc=3\n"},
      {"CR only", "[s]\ra=1\rb=2\r"},
      {"mixed line ends", "[s]\r\n\na=1\n\rb=2\r\r\nc=3"},
      {"long values",
       "[s]\r\nv253=" + std::string(253, 'a') + "\r\nv254=" + std::string(254, 'b') +
           "\r\nv255=" + std::string(255, 'c') + "\r\nv256=" + std::string(256, 'd') +
           "\r\nv1000=" + std::string(1000, 'e') + "\r\nq252=\"" + std::string(252, 'f') +
           "\"\r\nq253=\"" + std::string(253, 'g') + "\"\r\nq254=\"" + std::string(254, 'h') +
           "\"\r\nq255=\"" + std::string(255, 'i') + "\"\r\nb254=" + std::string(250, 'j') +
           "    x\r\n"},
      {"empty values", "[s]\r\na=\r\nb=  \r\nc= \"\" \r\nd=''\r\n"},
      {"headers", "[s] junk\r\na=1\r\n[a]b]\r\nk=2\r\n[open\r\nx=3\r\n[ x ] [y]\r\nz=1\r\n"},
      {"nameless headers later", "[s]\r\na=1\r\n[]\r\ny=4\r\n[ ]\r\nz=5\r\n"},
      {"empty names", "[s]\r\n=v\r\n=w\r\nk=1\r\n=x\r\n = y\r\n[t]\r\n=1\r\n"},
      {"NUL bytes", "[s]\r\na=ab\0cd\r\nk\0junk=1\r\n\0lead=2\r\n[t\0u]\r\nz=1\r\n"s},
      {"control blanks", "[s]\r\na=1\x1a\r\n\x1a b=2\r\n\vc=3\f\r\n"},
      {"high bytes", "[\xC4]\r\n\xE4=1\r\n[s]\r\nv=\xA0x\xA0\r\nw=\x81\x8d\x8f\x90\x9d\xff\r\n"},
      {"empty", ""},
      {"only blanks", "\r\n \r\n\t\r\n"},
      {"UTF-8 mark", "\xEF\xBB\xBF[s]\r\na=1\r\n"},
      {"equal signs", "[s]\r\na=b=c\r\n==\r\nk = = v\r\n"},
      {"sections only", "[s]\r\n[t]\r\n"},
      {"letter case", "[SeTuP]\r\nROWS=2\r\nrows=3\r\n"},
      {"big section", big},
      {"panel", panel},
      {"garbage 1", Garbage(1, 600)},
      {"garbage 2", Garbage(2, 600)},
      {"garbage 3", Garbage(3, 1500)},
  };
}

// The names to ask for: first the section names a file mentions (as written)
// and its key names (as written before "="), in file order, then their
// trimmed and re-cased forms, then names it does not hold.
void NamesOf(const std::string& bytes, std::vector<std::string>& sections,
             std::vector<std::string>& keys) {
  std::vector<std::string> raw_s, raw_k;
  // Text after a UTF-8 mark is ANSI text to the engine but UTF-8 to the
  // system; only ASCII names are asked for there.
  size_t pos = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    const std::string t = TrimBlanks(line);
    if (!t.empty() && t[0] == '[' && t.find(']') != std::string::npos)
      raw_s.push_back(t.substr(1, t.rfind(']') - 1));
    else if (!t.empty())
      raw_k.push_back(line.substr(0, line.find('=')));
  }
  auto build = [](const std::vector<std::string>& raw, std::string (*recase)(std::string_view),
                  std::vector<std::string> extras, size_t cap) {
    std::vector<std::string> out;
    std::set<std::string> seen;
    auto add = [&](const std::string& n) {
      if (seen.insert(n).second) out.push_back(n);
    };
    for (const std::string& n : raw) add(n);
    for (const std::string& n : raw) add(TrimBlanks(n));
    for (const std::string& n : raw) add(recase(TrimBlanks(n)));
    for (const std::string& n : extras) add(n);
    if (out.size() > cap) out.resize(cap);
    return out;
  };
  sections = build(raw_s, &ToUpper, {"", "missing", " s", "S"}, 12);
  keys = build(raw_k, &ToLower, {"", "missing", "Caption", "a\0zz"s}, 24);
}

int g_counter = 0;

// The run's folder, removed when the program ends.
const std::string& Dir() {
  static const qv::testing::TempDir dir;
  return dir.Path();
}

// A new file name, never used before in this run.
std::string NewPath(const char* tag) {
  return Dir() + "\\" + tag + std::to_string(g_counter++) + ".ini";
}

// A file of its own with these bytes. The name is new, so appending is a
// plain write: the corpus needs no flush to disk, and there are thousands.
std::string Put(const char* tag, const std::string& bytes) {
  const std::string p = NewPath(tag);
  EXPECT_TRUE(files::Append(p, bytes)) << p;
  return p;
}

// The corpus, each in a file of its own, then paths that hold no file: a
// missing file, one in a missing folder, and a folder.
std::vector<std::pair<CorpusFile, std::string>> ReadTargets(const char* tag) {
  std::vector<std::pair<CorpusFile, std::string>> out;
  for (const CorpusFile& c : Corpus()) out.push_back({c, Put(tag, c.bytes)});
  out.push_back({{"missing file", ""}, NewPath("none")});
  out.push_back({{"file in a missing folder", ""}, Dir() + "\\no such folder\\x.ini"});
  out.push_back({{"folder", ""}, Dir()});
  return out;
}

// The key reader's routine on top of the system function.
std::string SystemReadKey(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& def) {
  char buf[kReadBufferSize + 1] = {};
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf,
                                           kReadBufferSize, file.c_str());
  if (n == 0) return "";
  return TrimRightBlanks(std::string(buf));
}

// The section reader's routine on top of the system function.
std::string SystemReadSection(const std::string& file, const std::string& section) {
  for (DWORD size = 1024;; size *= 2) {
    std::vector<char> buf(size + 2);
    const DWORD n = GetPrivateProfileSectionA(section.c_str(), buf.data(), size, file.c_str());
    if (n == size - 2) continue;
    return n == 0 ? std::string() : std::string(buf.data(), n - 1);
  }
}

TEST(ProfileDiff, KeyAndSectionReadsMatchTheSystem) {
  // Each default with the full buffer, then buffers too small for most
  // values; section buffers of many sizes.
  std::vector<std::pair<std::string, size_t>> reads;
  for (const char* d : {"d", "", "\"qd\"  ", "'q'  ", "  "}) reads.push_back({d, kReadBufferSize});
  for (size_t size : {1, 2, 3, 6}) reads.push_back({"d", size});
  const size_t sizes[] = {1024, 2, 3, 4, 5, 7, 8, 12, 30, 100};
  for (const auto& [c, file] : ReadTargets("read")) {
    std::vector<std::string> sections, keys;
    NamesOf(c.bytes, sections, keys);
    const Snapshot snap(file);
    for (const std::string& s : sections) {
      for (const std::string& k : keys) {
        for (const auto& [d, size] : reads) {
          const std::string where = std::string(c.name) + ": [" + Show(s) + "] " + Show(k) +
                                    " def " + Show(d) + " size " + std::to_string(size);
          char buf[300];
          memset(buf, 'X', sizeof buf);
          const DWORD sys = GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buf,
                                                     static_cast<DWORD>(size), file.c_str());
          std::string mine;
          const size_t n = GetPrivateProfileString(s, k, d, mine, size, file);
          ASSERT_EQ(n, sys) << where;
          ASSERT_EQ(Show(mine), Show(std::string(buf, sys))) << where;
          if (size != kReadBufferSize) continue;
          const std::string want = SystemReadKey(file, s, k, d);
          ASSERT_EQ(Show(ReadKey(file, s, k, d)), Show(want)) << where;
          ASSERT_EQ(Show(snap.ReadKey(s, k, d)), Show(want)) << where;
        }
      }
      const std::string where = std::string(c.name) + ": [" + Show(s) + "]";
      for (size_t size : sizes) {
        std::vector<char> buf(size + 8, 'X');
        const DWORD sys = GetPrivateProfileSectionA(s.c_str(), buf.data(), static_cast<DWORD>(size),
                                                    file.c_str());
        std::string mine;
        const size_t n = GetPrivateProfileSection(s, mine, size, file);
        ASSERT_EQ(n, sys) << where << " size " << size;
        ASSERT_EQ(Show(mine), Show(std::string(buf.data(), sys))) << where << " size " << size;
      }
      ASSERT_EQ(Show(ReadSection(file, s)), Show(SystemReadSection(file, s))) << where;
    }
  }
}

struct Op {
  enum Kind { kWriteKey, kDeleteKey, kDeleteSection, kWriteSection } kind;
  std::string section, key, value;  // value: the entry block for kWriteSection
};

std::string Describe(const Op& op) {
  const char* names[] = {"WriteKey", "DeleteKey", "DeleteSection", "WriteSection"};
  return std::string(names[op.kind]) + "([" + Show(op.section) + "], " + Show(op.key) + ", " +
         Show(op.value) + ")";
}

bool RunSystem(const Op& op, const std::string& file) {
  if (op.kind == Op::kWriteSection) {
    const std::string block = op.value + "\0\0"s;
    return WritePrivateProfileSectionA(op.section.c_str(), block.c_str(), file.c_str()) != FALSE;
  }
  // A key is deleted by writing no value, a section by naming no key.
  const char* key = op.kind == Op::kDeleteSection ? nullptr : op.key.c_str();
  const char* value = op.kind == Op::kWriteKey ? op.value.c_str() : nullptr;
  return WritePrivateProfileStringA(op.section.c_str(), key, value, file.c_str()) != FALSE;
}

bool RunEngine(const Op& op, const std::string& file) {
  return op.kind == Op::kWriteKey        ? WriteKey(file, op.section, op.key, op.value)
         : op.kind == Op::kDeleteKey     ? DeleteKey(file, op.section, op.key)
         : op.kind == Op::kDeleteSection ? DeleteSection(file, op.section)
                                         : WriteSection(file, op.section, op.value);
}

// Known difference: the system drops a "[]" header that is not at the top of
// the file when it rewrites it, which moves that section's keys into the
// section above. The engine keeps the header; apart from it the files agree.
std::string WithoutLaterNamelessHeaders(const std::string& bytes) {
  std::string out;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find("\r\n", pos);
    const std::string line = bytes.substr(pos, end == std::string::npos ? end : end - pos + 2);
    pos = end == std::string::npos ? bytes.size() : end + 2;
    if (line != "[]\r\n") out += line;
  }
  return out;
}

void CompareWrite(const std::string& where, const std::string& before, const Op& op,
                  const std::string& sys_file, const std::string& eng_file) {
  const bool sys = RunSystem(op, sys_file);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, sys_file.c_str());
  const bool mine = RunEngine(op, eng_file);
  const std::string sys_bytes = FileBytes(sys_file), eng_bytes = FileBytes(eng_file);
  EXPECT_EQ(mine, sys) << where << " " << Describe(op) << " on " << Show(before);
  const bool rewritten = sys_bytes != before;
  EXPECT_EQ(Show(rewritten ? WithoutLaterNamelessHeaders(eng_bytes) : eng_bytes), Show(sys_bytes))
      << where << " " << Describe(op) << " on " << Show(before);
}

TEST(ProfileDiff, WritesMatchTheSystemByteForByte) {
  // To a missing file and into a missing folder first, then on the corpus.
  const Op missing[] = {
      {Op::kWriteKey, "s", "a", "1"},       {Op::kWriteKey, "", "a", "1"},
      {Op::kDeleteKey, "s", "a", ""},       {Op::kDeleteSection, "s", "", ""},
      {Op::kWriteSection, "s", "", "a=1"s}, {Op::kWriteSection, "s", "", ""},
      {Op::kWriteSection, "", "", "a=1"s},
  };
  for (const Op& op : missing) {
    CompareWrite("missing file", "", op, NewPath("nsys"), NewPath("neng"));
    const std::string lost = Dir() + "\\no such folder\\x" + std::to_string(g_counter++) + ".ini";
    CompareWrite("missing folder", "", op, lost, lost);
  }
  for (const CorpusFile& c : Corpus()) {
    std::vector<std::string> sections, keys;
    NamesOf(c.bytes, sections, keys);
    if (sections.size() > 4) sections.resize(4);
    if (keys.size() > 5) keys.resize(5);
    const std::string current_file = Put("cur", c.bytes);
    std::vector<Op> ops = {
        {Op::kWriteKey, "New Section", "k", "v"},
        {Op::kWriteKey, "", "top", "1"},
        {Op::kWriteKey, " padded ", " name ", "  x  "},
        {Op::kDeleteSection, "missing", "", ""},
        {Op::kWriteKey, "s", "k=x", "v"},
        {Op::kWriteKey, "a]b", "k", "v"},
        {Op::kWriteKey, "[x", "k", "v"},
        {Op::kWriteKey, "s", ";c", "v"},
        {Op::kWriteKey, "s", "k", "line1\r\nline2"},
        {Op::kWriteKey, "s", "k", "ab\0cd"s},
        {Op::kWriteKey, "s", "", "empty name"},
        {Op::kWriteSection, "s", "", " k = v \0;c=1\0[x]=y\0=e"s},
    };
    for (const std::string& s : sections) {
      ops.push_back({Op::kWriteKey, s, "NewKey", " spaced value "});
      ops.push_back({Op::kDeleteSection, s, "", ""});
      ops.push_back({Op::kWriteSection, s, "", "a=1\0noeq\0 b = 2 \0a=3\0=e"s});
      ops.push_back({Op::kWriteSection, s, "", ""});
      ops.push_back({Op::kWriteSection, s, "", "x=1\0\0y=2"s});
      for (const std::string& k : keys) {
        ops.push_back({Op::kWriteKey, s, k, "changed"});
        ops.push_back({Op::kWriteKey, s, k, ""});
        ops.push_back({Op::kDeleteKey, s, k, ""});
        // The value the key already has: the system then leaves the file alone.
        const std::string current = SystemReadKey(current_file, s, k, "");
        ops.push_back({Op::kWriteKey, s, k, current});
      }
    }
    for (const Op& op : ops) {
      const std::string sys_file = Put("sys", c.bytes);
      const std::string eng_file = Put("eng", c.bytes);
      CompareWrite(c.name, c.bytes, op, sys_file, eng_file);
      if (HasFailure()) return;
    }
  }
}

TEST(ProfileDiff, StepByStepEditsMatchTheSystem) {
  // A panel being edited: every step on both files, compared after each.
  const std::string start = "[Setup]\r\nDescription=T\r\nRows=2\r\nCols=10\r\n\r\n";
  const std::string sys_file = Put("ssys", start);
  const std::string eng_file = Put("seng", start);
  const Op steps[] = {
      {Op::kWriteKey, "01", "Caption", "Go"},
      {Op::kWriteKey, "01", "Macro", "\"PRESS X\""},
      {Op::kWriteKey, "02", "Caption", "Two"},
      {Op::kWriteKey, "setup", "rows", "3"},
      {Op::kWriteSection, "03", "", "Caption=Go\0Macro=\"PRESS X\""s},
      {Op::kWriteSection, "01", "", ""},
      {Op::kDeleteKey, "02", "caption", ""},
      {Op::kWriteKey, "02", "Caption", "Again"},
      {Op::kDeleteSection, "01", "", ""},
      {Op::kWriteKey, "Setup", "Description", "  Tower  "},
  };
  for (const Op& op : steps) {
    CompareWrite("steps", FileBytes(sys_file), op, sys_file, eng_file);
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace qv::profile
