#include "platform/profile.h"

#include <gtest/gtest.h>

#include "support/show_bytes.h"
#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv::profile {
namespace {

using namespace std::string_literals;
using qv::testing::FileBytes;

// Every test gets a folder of its own, removed afterwards.
class Profile : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (tmp_.Native() / name).string(); }

  std::string Make(const std::string& name, const std::string& bytes) {
    const std::string p = Path(name);
    std::ofstream(p, std::ios::binary) << bytes;  // in place, as an editor saves
    return p;
  }

  std::string Fresh(const std::string& bytes) {
    return Make("f" + std::to_string(n_++) + ".ini", bytes);
  }

  qv::testing::TempDir tmp_;
  int n_ = 0;
};

std::string Show(const std::string& s) { return qv::testing::ShowBytes(s); }

struct ReadCase {
  const char* what;
  // The content, or "<none>" for no file, "<folder>" for a folder in its
  // place, "<nofolder>" for a path into a missing folder.
  std::string file;
  std::string section, key, def;
  std::string want;
};

const std::string k254(254, 'v');

// The reading rules (quotes among them) are compared with the system's
// functions on a corpus of awkward files by the Windows tests; these cases
// keep the edges (cuts, NUL bytes, defaults, line ends) under the sanitizers.
std::vector<ReadCase> ReadCases() {
  return {
      // The Windows comparison asks for ASCII re-casings only.
      {"non-ASCII letters keep their case", "[\xC4]\r\na=1\r\n", "\xE4", "a", "d", "d"},
      {"last line without line end", "[s]\r\na=1\r\nb=2", "s", "b", "d", "2"},
      {"LF only", "[s]\na=1\nb=2\n", "s", "b", "d", "2"},
      {"CR splits a line", "[s]\r\na=1\rb=2\r\n", "s", "a", "d", "1"},
      {"value 254 long", "[s]\r\na=" + k254 + "\r\n", "s", "a", "d", k254},
      {"value 255 long is cut", "[s]\r\na=" + k254 + "w\r\n", "s", "a", "d", k254},
      {"quoted value just fitting loses a character",
       "[s]\r\na=\"" + std::string(253, 'v') + "x\"\r\n", "s", "a", "d", std::string(253, 'v')},
      {"quoted value one shorter is whole", "[s]\r\na=\"" + std::string(253, 'v') + "\"\r\n", "s",
       "a", "d", std::string(253, 'v')},
      {"quoted value too long keeps the cut text", "[s]\r\na=\"" + std::string(300, 'v') + "\"\r\n",
       "s", "a", "d", k254},
      {"NUL ends a value", "[s]\r\na=ab\0cd\r\n"s, "s", "a", "d", "ab"},
      {"NUL ends a name", "[s]\r\nk\0junk=1\r\n"s, "s", "k", "d", "1"},
      {"NUL ends a section name", "[s\0x]\r\nk=1\r\n"s, "s", "k", "d", "1"},
      {"default of spaces keeps one, then blanks go", "[s]\r\n", "s", "a", "   ", ""},
      {"default loses its quotes", "[s]\r\n", "s", "a", "\"q\"", "q"},
      {"missing file: default loses its quotes", "<none>", "s", "a", "'q'", "q"},
      // A path that cannot be opened is an error rather than a missing file:
      // the default is given as it is, quotes included.
      {"path into a missing folder", "<nofolder>", "s", "a", "'q'", "'q'"},
      {"a folder in the file's place", "<folder>", "s", "a", "\"q\"", "\"q\""},
      {"default is cut to the buffer", "[s]\r\n", "s", "a", std::string(300, 'd'),
       std::string(254, 'd')},
      {"UTF-8 mark is not part of the first line", "\xEF\xBB\xBFk=1\r\n[s]\r\n", "", "k", "d", "1"},
  };
}

// ReadKey and a Snapshot of the same file give the same answers.
TEST_F(Profile, ReadKeyAndSnapshotFollowTheProfileRules) {
  std::filesystem::create_directories(Path("folder.ini"));
  for (const ReadCase& c : ReadCases()) {
    const bool made = c.file.rfind('<', 0) != 0;
    const std::string file = made ? Fresh(c.file)
                             : c.file == "<nofolder>"
                                 ? Path("nofolder\\x.ini")
                                 : Path(c.file.substr(1, c.file.size() - 2) + ".ini");
    EXPECT_EQ(ReadKey(file, c.section, c.key, c.def), c.want) << c.what << ": " << Show(c.file);
    const Snapshot snap(file);
    EXPECT_EQ(snap.Loaded(), made) << c.what;
    EXPECT_EQ(snap.ReadKey(c.section, c.key, c.def), c.want) << c.what << ": " << Show(c.file);
  }
}

TEST_F(Profile, ReadKeySeesTheFileChangeBetweenReadsAlsoWhenItIsOld) {
  // Same size, same second: only the content tells the two apart.
  const std::string file = Make("p.ini", "[s]\r\na=1\r\n");
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "1");
  Make("p.ini", "[s]\r\na=2\r\n");
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "2");
  std::filesystem::remove(file);
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "d");

  // Reads of a file untouched for a while are served without reading it
  // again; any change of its time or size must still be seen.
  const auto hour = std::chrono::hours(1);
  Make("p.ini", "[s]\r\na=1\r\n");
  const auto old = std::filesystem::last_write_time(file) - hour;
  std::filesystem::last_write_time(file, old);
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "1");
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "1");
  Make("p.ini", "[s]\r\na=2\r\n");  // same size, time now
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "2");
  std::filesystem::last_write_time(file, old);
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "2");
  Make("p.ini", "[s]\r\na=3\r\n");  // same size, another old time
  std::filesystem::last_write_time(file, old - hour);
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "3");
  EXPECT_TRUE(WriteKey(file, "s", "a", "4"));
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "4");
  std::filesystem::last_write_time(file, old);
  EXPECT_TRUE(WriteKey(file, "s", "a", "5"));
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "5");
}

TEST_F(Profile, GetStringCutsToTheBufferWithTheQuoteQuirkAndPreparesTheDefault) {
  struct Case {
    std::string value;
    size_t size;
    std::string want;
  } cases[] = {
      {"abcdef", 4, "abc"}, {"abcdef", 7, "abcdef"},
      {"abcdef", 1, ""},    {"\"abc\"", 5, "abc"},  // inner text 'abc"' (4) fits: quotes removed
      {"\"abc\"", 4, "ab"},                         // inner text just fits: one character lost
      {"\"abc\"", 3, "ab"},                         // inner text too long: cut, no quote removal
      {"\"abc\"", 2, "a"},  {"'abcd'", 5, "abc"},
      {"\"\"", 1, ""},      {"\"\"", 2, ""},
  };
  for (const Case& c : cases) {
    const std::string file = Fresh("[s]\r\nk=" + c.value + "\r\n");
    std::string out = "junk";
    const size_t n = GetPrivateProfileString("s", "k", "d", out, c.size, file);
    EXPECT_EQ(out, c.want) << c.value << " size " << c.size;
    EXPECT_EQ(n, c.want.size()) << c.value << " size " << c.size;
  }
  std::string out = "junk";
  EXPECT_EQ(GetPrivateProfileString("s", "k", "d", out, 0, Fresh("[s]\r\nk=v\r\n")), 0u);
  EXPECT_EQ(out, "");

  // The default, when the key is missing.
  const struct {
    std::string def, want;
  } defaults[] = {
      {"", ""},         {"x", "x"},   {"x  ", "x"},      {"x\t ", "x\t"},
      {" x ", " x"},    {"   ", " "}, {" ", " "},        {"\"q\"", "q"},
      {"\"q\"  ", "q"}, {"'q", "'q"}, {"ab\0cd"s, "ab"},
  };
  const std::string file = Fresh("[s]\r\n");
  for (const auto& c : defaults) {
    EXPECT_EQ(GetPrivateProfileString("s", "k", c.def, out, 255, file), c.want.size()) << c.def;
    EXPECT_EQ(out, c.want) << Show(c.def);
  }
}

// The rewrite rules are compared with the system's functions byte for byte by
// the Windows tests; these cases keep the rewrites (and a section write's
// parsing of its entry list) under the sanitizers.
TEST_F(Profile, WritesRewriteTheFileLikeTheSystemAndLeaveItAloneWhenNothingChanges) {
  enum Op { kKey, kDeleteKey, kDeleteSection, kSection };
  const struct {
    const char* what;
    std::string before;  // "<none>": no file
    Op op;
    std::string section, key, value;  // value: the entry block of a section write
    std::string after;
  } cases[] = {
      {"new file", "<none>", kKey, "s", "a", "1", "[s]\r\na=1\r\n"},
      {"whole file normalised",
       "top=0\r\n\r\n  [ s ]  \r\n  a = 1 \r\n\r\n;c\r\nnoeq\r\n[t]\r\nb=2", kKey, "s", "new", "v",
       "top=0\r\n[s]\r\na=1\r\n;c\r\nnoeq\r\nnew=v\r\n[t]\r\nb=2\r\n"},
      {"duplicate section: first one gets the key", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", kKey, "S", "b",
       "3", "[s]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n"},
      {"nameless section", "top=1\r\n[s]\r\n", kKey, "", "more", "2", "top=1\r\nmore=2\r\n[s]\r\n"},
      {"long value kept whole", "[s]\r\n", kKey, "s", "a", std::string(600, 'x'),
       "[s]\r\na=" + std::string(600, 'x') + "\r\n"},
      {"NUL ends the value", "[s]\r\n", kKey, "s", "a", "ab\0cd"s, "[s]\r\na=ab\r\n"},
      {"UTF-8 mark kept", "\xEF\xBB\xBF[s]\r\na=1\r\n", kKey, "s", "a", "2",
       "\xEF\xBB\xBF[s]\r\na=2\r\n"},
      {"a [] header later in the file is kept", "[s]\r\na=1\r\n[]\r\nb=2\r\n", kKey, "s", "a", "3",
       "[s]\r\na=3\r\n[]\r\nb=2\r\n"},
      {"key deleted", "[s]\r\na=1\r\nb=2\r\n", kDeleteKey, "s", "a", "", "[s]\r\nb=2\r\n"},
      {"key in a later duplicate section deleted", "[s]\r\nx=1\r\n[s]\r\na=2\r\n", kDeleteKey, "s",
       "a", "", "[s]\r\nx=1\r\n[s]\r\n"},
      {"section deleted", "[s]\r\na=1\r\n[t]\r\nb=2\r\n", kDeleteSection, "S", "", "",
       "[t]\r\nb=2\r\n"},
      {"first of duplicate sections deleted", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", kDeleteSection, "s",
       "", "", "[s]\r\nb=2\r\n"},
      {"nameless section deleted", "top=1\r\n[s]\r\na=1\r\n", kDeleteSection, "", "", "",
       "[s]\r\na=1\r\n"},
      {"section entries without = dropped", "[s]\r\na=1\r\n", kSection, "s", "", "x=1\0noeq\0y= 2"s,
       "[s]\r\nx=1\r\ny=2\r\n"},
      {"section list ends at an empty entry", "[s]\r\n", kSection, "s", "", "a=1\0\0b=2"s,
       "[s]\r\na=1\r\n"},
      {"section in a new file", "<none>", kSection, "s", "", "a=1"s, "[s]\r\na=1\r\n"},
  };
  for (const auto& c : cases) {
    const std::string file =
        c.before == "<none>" ? Path("new" + std::to_string(n_++) + ".ini") : Fresh(c.before);
    const bool ok = c.op == kKey             ? WriteKey(file, c.section, c.key, c.value)
                    : c.op == kDeleteKey     ? DeleteKey(file, c.section, c.key)
                    : c.op == kDeleteSection ? DeleteSection(file, c.section)
                                             : WriteSection(file, c.section, c.value);
    EXPECT_TRUE(ok) << c.what;
    EXPECT_EQ(Show(FileBytes(file)), Show(c.after)) << c.what;
  }
  // Writes that change nothing leave the file alone.
  const std::string before = "[s]\n  a = 1 \n\n";
  const std::string file = Fresh(before);
  EXPECT_TRUE(WriteKey(file, "S", "A", "  1"));
  EXPECT_TRUE(DeleteKey(file, "s", "b"));
  EXPECT_TRUE(DeleteKey(file, "t", "a"));
  EXPECT_TRUE(DeleteSection(file, "t"));
  // Deletion takes names as given: " s" is not "s".
  EXPECT_TRUE(DeleteSection(file, " s"));
  EXPECT_EQ(FileBytes(file), before);
  EXPECT_TRUE(WriteKey(file, "s", "a", "2"));
  EXPECT_EQ(FileBytes(file), "[s]\r\na=2\r\n");
  const std::string none = Path("none.ini");
  EXPECT_TRUE(DeleteKey(none, "s", "a"));
  EXPECT_TRUE(DeleteSection(none, "s"));
  EXPECT_TRUE(WriteSection(none, "s", ""));  // nothing to delete, nothing to add
  EXPECT_FALSE(files::Exists(none));
}

// The reader's contract, spelled out: a buffer of 1024 characters, doubled
// while the result fills it, the final character cut.
std::string ReadSectionTheLongWay(const std::string& file, const std::string& section) {
  std::string out;
  size_t size = 1024;
  size_t n;
  while ((n = GetPrivateProfileSection(section, out, size, file)) == size - 2) size *= 2;
  return n == 0 ? std::string() : out.substr(0, n - 1);
}

// The section rules (comments, lines without "=", duplicates, names) are
// compared with the system on Windows; here the raw block with its NULs, and
// blocks around the reader's buffer sizes.
TEST_F(Profile, SectionsReadThroughTheDoublingBufferFillSmallBuffersAndWriteBack) {
  EXPECT_EQ(Show(ReadSection(Fresh("[s]\r\na = 1\r\nB=\"q\"\r\n"), "S")), Show("a=1\0B=\"q\""s));
  // Section blocks (entries and their NULs) of sizes around every buffer
  // size the reader passes through: short entries, the last one padded.
  for (size_t total :
       {0u, 1u, 3u, 1020u, 1021u, 1022u, 1023u, 1024u, 1025u, 2045u, 2046u, 2047u, 4094u, 9000u}) {
    std::string body, block;
    for (int i = 0; block.size() + 20 < total; ++i) {
      body += "k" + std::to_string(i) + "=v\r\n";
      block += "k" + std::to_string(i) + "=v" + '\0';
    }
    if (total >= block.size() + 3) {
      const std::string last = "k=" + std::string(total - block.size() - 3, 'p');
      body += last + "\r\n";
      block += last + '\0';
    }
    const std::string file = Fresh("[s]\r\n" + body + "[t]\r\nx=1\r\n");
    const std::string want = block.empty() ? "" : block.substr(0, block.size() - 1);
    EXPECT_EQ(ReadSectionTheLongWay(file, "s"), want) << total;
    EXPECT_EQ(ReadSection(file, "s"), want) << total;
  }
  // A section read and written under another name moves.
  const std::string file = Fresh("[05]\r\nCaption=Go\r\nMacro=\"x = y\"\r\n[06]\r\n");
  EXPECT_TRUE(WriteSection(file, "06", ReadSection(file, "05")));
  EXPECT_TRUE(WriteSection(file, "05", ""));
  EXPECT_EQ(FileBytes(file), "[05]\r\n[06]\r\nCaption=Go\r\nMacro=\"x = y\"\r\n");
  // Observed on the system for "[s] a=1 b=2": the text "a=1\0b=2\0" needs 9.
  // Most sizes from 2 to 12, and large ones, are compared with the system on
  // Windows too; these keep cuts in a name, after a NUL and at the end here.
  const struct {
    size_t size, ret;
    std::string buffer;
  } sizes[] = {
      {10, 8, "a=1\0b=2\0"s}, {9, 7, "a=1\0b=2"s}, {7, 5, "a=1\0b"s}, {6, 4, "a=1\0"s},
      {3, 1, "a"s},           {1, 0, ""},          {0, 0, ""},
  };
  const std::string small = Fresh("[s]\r\na=1\r\nb=2\r\n");
  for (const auto& c : sizes) {
    std::string out;
    EXPECT_EQ(GetPrivateProfileSection("s", out, c.size, small), c.ret) << c.size;
    EXPECT_EQ(Show(out), Show(c.buffer)) << c.size;
  }
}

TEST_F(Profile, WritesFromSeveralThreadsAreAllKept) {
  const std::string file = Fresh("[s]\r\n");
  constexpr int kThreads = 4, kKeys = 40;
  std::atomic<int> failed{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int k = 0; k < kKeys; ++k) {
        const std::string n = std::to_string(t) + "_" + std::to_string(k);
        if (!WriteKey(file, "s", "k" + n, "v" + n)) ++failed;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failed.load(), 0);
  // No write worked on a copy that another one replaced.
  for (int t = 0; t < kThreads; ++t) {
    for (int k = 0; k < kKeys; ++k) {
      const std::string n = std::to_string(t) + "_" + std::to_string(k);
      EXPECT_EQ(ReadKey(file, "s", "k" + n, "gone"), "v" + n);
    }
  }
  EXPECT_FALSE(files::Exists(files::TempPathFor(file)));
}

// Every kind of write fails and leaves the file's bytes as they were.
void ExpectNoWriteTakes(const std::string& file, const std::string& before) {
  EXPECT_FALSE(WriteKey(file, "s", "a", "2"));
  EXPECT_FALSE(WriteKey(file, "t", "a", "2"));
  EXPECT_FALSE(DeleteKey(file, "s", "a"));
  EXPECT_FALSE(DeleteSection(file, "s"));
  EXPECT_FALSE(WriteSection(file, "s", "b=1"));
  EXPECT_EQ(FileBytes(file), before);
}

TEST_F(Profile, FailedWriteLeavesTheOldFile) {
  const std::string before = "[s]\r\na=1\r\n\r\n";
  const std::string file = Fresh(before);
  // The temporary file cannot be made: a folder is in its place.
  std::filesystem::create_directories(files::NativePath(files::TempPathFor(file)));
  ExpectNoWriteTakes(file, before);
  EXPECT_EQ(ReadKey(file, "s", "a", "d"), "1");

  // UTF-16 text is not ANSI text: it reads as an empty profile, and a write
  // would destroy it, so writes fail and leave it.
  const std::string utf16 = "\xFF\xFE[\0s\0]\0\r\0\n\0a\0=\0\x31\0"s;
  const std::string wide = Fresh(utf16);
  EXPECT_EQ(ReadKey(wide, "s", "a", "d"), "d");
  ExpectNoWriteTakes(wide, utf16);

  // A missing folder: no file, and false.
  const std::string lost = Path("missing\\x.ini");
  EXPECT_FALSE(WriteKey(lost, "s", "a", "1"));
  EXPECT_FALSE(WriteSection(lost, "s", "a=1"));
  EXPECT_FALSE(files::Exists(lost));
}

// A read-only file, or one in a read-only folder (a case of its own: the
// superuser writes read-only files, and it is skipped then).
TEST_F(Profile, ReadOnlyFileOrFolderIsNotWritten) {
  const std::string before = "[s]\r\na=1\r\n\r\n";
  const std::string ro = Fresh(before);
  std::filesystem::permissions(ro, std::filesystem::perms(0444));  // read-only for all
  if (files::Append(ro, "")) {
    std::filesystem::permissions(ro, std::filesystem::perms::owner_all);
    GTEST_SKIP() << "read-only files are writable here (superuser)";
  }
  ExpectNoWriteTakes(ro, before);
  std::filesystem::permissions(ro, std::filesystem::perms::owner_all);
#ifndef _WIN32
  ASSERT_EQ(chmod(tmp_.Native().c_str(), 0555), 0);
  ExpectNoWriteTakes(ro, before);
  chmod(tmp_.Native().c_str(), 0755);
#endif
}

// Random bytes biased towards the characters that matter to the parser.
std::string Garbage(std::mt19937& rng, size_t size) {
  static const char alphabet[] =
      "[]=;\"' \t\r\n\0\x1a"
      "abcABC";
  std::string s(size, ' ');
  for (char& c : s) {
    const unsigned r = rng();
    c = (r & 1) ? alphabet[(r >> 1) % (sizeof alphabet - 1)] : static_cast<char>(r >> 8);
  }
  return s;
}

TEST_F(Profile, AnyBytesHugeLinesAndFilesAreReadWithoutHarmAndSnapshotsAgree) {
  std::mt19937 rng(20261206);
  for (int round = 0; round < 40; ++round) {
    const std::string file = Fresh(Garbage(rng, 50 + rng() % 4000));
    const Snapshot snap(file);
    ASSERT_TRUE(snap.Loaded());
    // Ask for every name the file could hold, and some it does not.
    std::string content = FileBytes(file);
    std::vector<std::string> names = {"", "a", "A", "b", " a", "[a", ";", "abc"};
    for (int i = 0; i < 20; ++i) {
      const size_t at = rng() % content.size();
      names.push_back(content.substr(at, 1 + rng() % 4));
    }
    for (const std::string& s : names)
      for (const std::string& k : names)
        ASSERT_EQ(snap.ReadKey(s, k, "d"), ReadKey(file, s, k, "d")) << Show(s) << "/" << Show(k);
    for (const std::string& s : names) (void)ReadSection(file, s);
    // A write followed by a read gives the value back.
    ASSERT_TRUE(WriteKey(file, "round", "key", "value " + std::to_string(round)));
    EXPECT_EQ(ReadKey(file, "round", "key", "d"), "value " + std::to_string(round));
  }
  // Huge lines and files.
  std::string big = "[s]\r\n" + std::string(100000, 'k') + "=" + std::string(100000, 'v') + "\r\n" +
                    std::string(100000, '[') + "\r\n" + std::string(100000, '=') + "\r\n";
  for (int i = 0; i < 20000; ++i)
    big += "[sec" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
  const std::string file = Fresh(big);
  EXPECT_EQ(ReadKey(file, "s", std::string(100000, 'k'), "d"), std::string(254, 'v'));
  EXPECT_EQ(ReadKey(file, "sec19999", "k", "d"), "19999");
  EXPECT_EQ(Snapshot(file).ReadKey("sec12345", "K", "d"), "12345");
  EXPECT_TRUE(WriteKey(file, "sec0", "k", "new"));
  EXPECT_EQ(ReadKey(file, "sec0", "k", "d"), "new");
  EXPECT_EQ(ReadKey(file, "sec1", "k", "d"), "1");
}

// A batch gives the file that the same writes made one by one give, and
// reads every section the way ReadSection does.
TEST_F(Profile, BatchWritesEqualSingleWritesAndAllSectionsReadLikeOne) {
  struct Write {
    const char* section;
    const char* key;  // nullptr: a section write of `text`
    std::string text;
  };
  const struct {
    const char* file;
    std::vector<Write> writes;
  } cases[] = {
      {"[01]\r\na=1\r\n[02]\r\nb=2\r\n[01]\r\nc=3\r\n",
       {{"01", nullptr, "x=9"s}, {"02", nullptr, ""}, {"03", nullptr, "y=1\0z=2"s}}},
      {"[Setup]\r\nRows=2\r\n[ 05 ]\r\nk=v\r\n",
       {{"05", nullptr, "n=1"},
        {"Setup", "Rows", "3"},
        {"new", "k", "v"},
        {"new", nullptr, "w=1"}}},
      {"", {{"01", nullptr, ""}, {"02", nullptr, "a=1\0bad\0b=2"s}, {"Setup", "Cols", "4"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string one = Fresh(c.file), batch = Fresh(c.file);
    Batch b;
    for (const Write& w : c.writes) {
      if (w.key) {
        ASSERT_TRUE(WriteKey(one, w.section, w.key, w.text));
        b.WriteKey(w.section, w.key, w.text);
      } else {
        ASSERT_TRUE(WriteSection(one, w.section, w.text));
        b.WriteSection(w.section, w.text);
      }
    }
    ASSERT_TRUE(b.Commit(batch));
    EXPECT_EQ(FileBytes(batch), FileBytes(one));
    std::vector<std::pair<std::string, std::string>> all;
    ASSERT_TRUE(ReadAllSections(batch, all));
    for (const auto& [name, block] : all) EXPECT_EQ(block, ReadSection(batch, name)) << name;
  }
  std::vector<std::pair<std::string, std::string>> none;
  EXPECT_TRUE(ReadAllSections(Path("missing.ini"), none));
  EXPECT_TRUE(none.empty());
  EXPECT_FALSE(ReadAllSections(Path(""), none));  // a folder cannot be read
}

}  // namespace
}  // namespace qv::profile
