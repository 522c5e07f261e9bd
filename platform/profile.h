// Profile (INI) files with the semantics of the Windows private-profile
// functions, implemented in the program itself: the same results on every
// system, far faster than the system's functions for bulk reads, and writes
// that replace the file in one step (a crash never leaves half a panel).
//
// Texts are ANSI bytes. Section and key names compare without regard to
// case. Paths follow the program's "\" convention (platform/files.h).
//
// Where the engine knowingly differs from the system functions:
// - A write replaces the file (temporary file, then rename): it needs the
//   right to create files in the folder and to replace the file, and the file
//   gets new attributes; a file held open without delete sharing cannot be
//   replaced, and the write fails instead.
// - A "[]" header below the top of the file is kept on rewrite (the system
//   drops it, which moves that section's keys into the section above).
// - DeleteSection reports a failed rewrite as false.
// - A file that starts with a UTF-8 mark keeps the mark; the text after it is
//   read and written as ANSI bytes, not converted. UTF-16 files read as empty
//   and are never rewritten (writes fail).
// - A file name without a folder is taken relative to the current folder,
//   not the Windows folder. Texts are taken as single-byte ANSI text.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::profile {

// The size of the buffer every reader uses; a value is cut to one less.
inline constexpr size_t kReadBufferSize = 255;

// Read key: the value of `key` in `section`, read as through a buffer of
// 255 characters, cut at the first NUL and stripped of trailing blanks. A
// key that is present with an empty value reads as ""; the default is
// returned only when the key (or the file, or the section) is missing.
std::string ReadKey(std::string_view file, std::string_view section, std::string_view key,
                    std::string_view def);

// Write key: creates the file, the section (at the end of the file) and the
// key (at the end of its section) when missing; replaces an existing value
// where it stands. False when the file cannot be written; the old file is
// then left as it was.
bool WriteKey(std::string_view file, std::string_view section, std::string_view key,
              std::string_view value);

// Removes one key, or a whole section.
bool DeleteKey(std::string_view file, std::string_view section, std::string_view key);
bool DeleteSection(std::string_view file, std::string_view section);

// Read section: the raw section block, entries separated by NUL ("k=v\0k2=v2"),
// as returned through a buffer of 1024 characters doubled while full, with
// its last character cut. "" when the section is missing or empty.
std::string ReadSection(std::string_view file, std::string_view section);

// Write section: replaces every entry of the section with the entries of
// `block` (separated by NUL; entries without "=" are dropped).
bool WriteSection(std::string_view file, std::string_view section, std::string_view block);

// Every named section of the file with its block as ReadSection gives it,
// in file order (only the first of several sections of one name). A missing
// file gives none; false when the file is there but cannot be read, so that
// a caller never mistakes an unreadable file for empty sections.
bool ReadAllSections(std::string_view file, std::vector<std::pair<std::string, std::string>>& out);

// Several key and section writes applied in order and written in one
// rewrite of the file: all of them land, or (false) the file stays as it was.
class Batch {
 public:
  void WriteKey(std::string_view section, std::string_view key, std::string_view value);
  void WriteSection(std::string_view section, std::string_view block);
  bool Commit(std::string_view file) const;
  bool Empty() const { return writes_.empty(); }

 private:
  struct Write {
    std::string section, key, text;
    bool isKey = false;
  };
  std::vector<Write> writes_;
};

// Lower-level mirrors of the system functions, for the differential tests and
// for callers that need the exact return values. `size` is the buffer size in
// characters; the result holds what the buffer would hold before its final NUL.
// (<windows.h> defines these two names as macros: a file that includes it
// calls them after #undef GetPrivateProfileString / GetPrivateProfileSection.)
size_t GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                               std::string& out, size_t size, std::string_view file);
size_t GetPrivateProfileSection(std::string_view section, std::string& out, size_t size,
                                std::string_view file);

// A snapshot of one file for bulk reads (loading a whole panel): parsed once,
// then every read is a lookup. Reads give exactly what ReadKey gives on the
// file as it was when the snapshot was taken.
class Snapshot {
 public:
  explicit Snapshot(std::string_view file);
  ~Snapshot();
  Snapshot(Snapshot&&) noexcept;
  Snapshot& operator=(Snapshot&&) noexcept;

  std::string ReadKey(std::string_view section, std::string_view key, std::string_view def) const;
  bool Loaded() const;  // false when the file could not be read

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qv::profile
