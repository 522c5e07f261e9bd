#include "platform/profile.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

// The rules below follow the private-profile functions byte for byte, including
// their odd corners, because panel files are shared with tools that use those
// functions and every reader must agree on what a file says:
//
// - A line ends at CR or LF (any run of them). Blanks (tab, LF, VT, FF, CR, ^Z,
//   space) around a line, around a section name inside its brackets, before
//   "=" and after "=" do not count. Blank lines are dropped on rewrite.
// - "[" starts a section header only if the line has a "]"; the name runs to
//   the last "]". Anything else is an entry: a name with or without "=" and a
//   value. Comments (";") are entries too: kept on rewrite, left out of
//   section reads, but a key ";x" can still be read by name.
// - An entry with an empty name is dropped when the entry before it in the
//   same section also has an empty name.
// - Lines before the first section form a section without a name (reached
//   with the section name "").
// - Names compare without regard to ASCII case; text after a NUL byte in a
//   name or value is not seen.
// - Only the first section of a name and the first key of a name in it are
//   seen by key reads and writes.
// - A rewrite writes every section as "[name]" CR LF and every entry as
//   "name=value" (or "name") CR LF, nothing else.

namespace qv::profile {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

bool IsSpace(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20;
}

std::string_view TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && IsSpace(s[b])) ++b;
  return s.substr(b);
}

std::string_view TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && IsSpace(s[e - 1])) --e;
  return s.substr(0, e);
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

// The part a C string would show.
std::string_view CutAtNul(std::string_view s) {
  const size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

struct Entry {
  std::string name;
  std::string value;
  bool has_value = false;  // false for a line without "="
};

struct Section {
  std::string name;
  bool header = false;  // written as "[name]"; false only for the lines before any header
  std::vector<Entry> entries;
};

enum class Encoding { kAnsi, kUtf8Bom, kUtf16 };

struct Document {
  Encoding encoding = Encoding::kAnsi;
  std::vector<Section> sections;
};

// How opening the file went: a missing file is an empty profile; a file that
// exists but cannot be read (or a path into a missing folder) is an error.
enum class Status { kLoaded, kMissing, kFailed };

Document Parse(std::string_view bytes) {
  Document doc;
  if (bytes.empty()) return doc;  // an empty file has not even the nameless section
  if (bytes.substr(0, 3) == std::string_view(kUtf8Bom, 3)) {
    doc.encoding = Encoding::kUtf8Bom;
    bytes.remove_prefix(3);
  } else if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                   (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
    // UTF-16 text is not ANSI text: seen as an empty profile, never rewritten.
    doc.encoding = Encoding::kUtf16;
    return doc;
  }

  doc.sections.emplace_back();
  Section* section = &doc.sections.back();
  const Entry* previous = nullptr;
  size_t pos = 0;
  const size_t end = bytes.size();
  while (pos < end) {
    const size_t start = pos;
    while (pos < end && bytes[pos] != '\n' && bytes[pos] != '\r') ++pos;
    std::string_view line = Trim(bytes.substr(start, pos - start));
    while (pos < end && (bytes[pos] == '\n' || bytes[pos] == '\r')) ++pos;
    if (line.empty()) continue;

    if (line.front() == '[') {
      const size_t close = line.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        Section next;
        next.name = std::string(CutAtNul(Trim(line.substr(1, close - 1))));
        next.header = true;
        doc.sections.push_back(std::move(next));
        section = &doc.sections.back();
        previous = nullptr;
        continue;
      }
    }

    Entry entry;
    std::string_view name = line;
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos) {
      name = TrimRight(line.substr(0, eq));
      entry.value = std::string(CutAtNul(TrimLeft(line.substr(eq + 1))));
      entry.has_value = true;
    }
    if (name.empty() && previous && previous->name.empty()) continue;
    entry.name = std::string(CutAtNul(name));
    section->entries.push_back(std::move(entry));
    previous = &section->entries.back();
  }
  return doc;
}

std::string Serialize(const Document& doc) {
  size_t size = doc.encoding == Encoding::kUtf8Bom ? 3 : 0;
  for (const Section& s : doc.sections) {
    size += s.name.size() + 4;
    for (const Entry& e : s.entries) size += e.name.size() + e.value.size() + 3;
  }
  std::string out;
  out.reserve(size);
  if (doc.encoding == Encoding::kUtf8Bom) out += kUtf8Bom;
  for (const Section& s : doc.sections) {
    // A "[]" header in the middle of a file is kept: leaving it out would move
    // its keys into the section above.
    if (s.header || !s.name.empty()) {
      out += '[';
      out += s.name;
      out += "]\r\n";
    }
    for (const Entry& e : s.entries) {
      out += e.name;
      if (e.has_value) {
        out += '=';
        out += e.value;
      }
      out += "\r\n";
    }
  }
  return out;
}

// Reads the file. `bytes` holds its content when the status is kLoaded.
Status ReadFile(std::string_view file, std::string& bytes) {
  if (files::ReadAll(file, bytes)) return Status::kLoaded;
  bytes.clear();
  if (files::Exists(file)) return Status::kFailed;
  const std::string folder = files::FolderOf(file);
  if (!folder.empty() && !files::IsDirectory(folder)) return Status::kFailed;
  return Status::kMissing;
}

// Case-insensitive hashing so that lookups need no lower-cased copy.
struct NoCaseHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const {
    size_t h = 14695981039346656037ull & static_cast<size_t>(-1);
    for (char c : s) h = (h ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
    return h;
  }
};

struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};

using NameIndex = std::unordered_map<std::string, size_t, NoCaseHash, NoCaseEqual>;

// A parsed file with the first section of every name and the first key of
// every name in it indexed: what every key read looks at.
struct Indexed {
  Document doc;
  NameIndex sections;
  std::vector<NameIndex> keys;  // parallel to doc.sections; empty for shadowed sections

  explicit Indexed(Document d) : doc(std::move(d)) {
    keys.resize(doc.sections.size());
    for (size_t i = 0; i < doc.sections.size(); ++i) {
      if (!sections.emplace(doc.sections[i].name, i).second) continue;
      const std::vector<Entry>& entries = doc.sections[i].entries;
      keys[i].reserve(entries.size());
      for (size_t k = 0; k < entries.size(); ++k) keys[i].emplace(entries[k].name, k);
    }
  }

  const Entry* Find(std::string_view section, std::string_view key) const {
    const auto s = sections.find(Trim(CutAtNul(section)));
    if (s == sections.end()) return nullptr;
    const auto k = keys[s->second].find(Trim(CutAtNul(key)));
    if (k == keys[s->second].end()) return nullptr;
    return &doc.sections[s->second].entries[k->second];
  }
};

// The value as copied into a buffer of `size` characters. Of a value wrapped
// in matching quotes the opening quote is always skipped; the closing one is
// dropped only when the text after the opening quote fits the buffer. When
// that text fits exactly (no room left for its final NUL), the closing quote
// is already cut off and the last real character is dropped in its place.
std::string CopyEntry(std::string_view value, size_t size) {
  if (size == 0) return {};
  bool quoted = false;
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::string out(value.substr(0, size - 1));
  if (quoted && size >= value.size() && !out.empty()) out.pop_back();
  return out;
}

// The default as the system uses it: trailing spaces go, but a default made
// of spaces only keeps one.
std::string_view PrepareDefault(std::string_view def) {
  def = CutAtNul(def);
  size_t last = def.size();
  if (last == 0) return def;
  --last;
  while (last > 0 && def[last] == ' ') --last;
  return def.substr(0, last + 1);
}

size_t GetString(const Indexed* indexed, Status status, std::string_view section,
                 std::string_view key, std::string_view def, std::string& out, size_t size) {
  out.clear();
  if (size == 0) return 0;
  def = PrepareDefault(def);
  if (status == Status::kFailed) {
    out.assign(def.substr(0, size - 1));
    return out.size();
  }
  const Entry* entry = indexed ? indexed->Find(section, key) : nullptr;
  out = CopyEntry(entry && entry->has_value ? std::string_view(entry->value) : def, size);
  return out.size();
}

std::string ReadKeyFrom(const Indexed* indexed, Status status, std::string_view section,
                        std::string_view key, std::string_view def) {
  std::string out;
  if (GetString(indexed, status, section, key, def, out, kReadBufferSize) == 0) return {};
  return TrimRightBlanks(CutAtNul(out));
}

// Bulk readers call ReadKey thousands of times on one file. The parsed file is
// kept with the bytes it came from and the file's size and time when they
// were read. A file whose size and time are unchanged, and whose time is more
// than a few seconds old (coarse file times cannot tell apart two changes in
// the same tick), is taken as unchanged, as the system's own profile cache
// does; any other file is read again, and its parse reused only when the
// bytes are exactly the same.
struct FileStamp {
  bool valid = false;
  std::uintmax_t size = 0;
  std::filesystem::file_time_type time;
};

FileStamp StampOf(std::string_view file) {
  FileStamp stamp;
  std::error_code ec;
  const std::filesystem::path path(files::NativePath(file));
  stamp.size = std::filesystem::file_size(path, ec);
  if (ec) return stamp;
  stamp.time = std::filesystem::last_write_time(path, ec);
  if (ec) return stamp;
  // Times in the last seconds, or in the future, prove nothing.
  const auto now = std::filesystem::file_time_type::clock::now();
  stamp.valid = stamp.time < now - std::chrono::milliseconds(2100);
  return stamp;
}

class ParseCache {
 public:
  // The parse of the file when its stamp shows it unchanged since it was read.
  std::shared_ptr<const Indexed> Unchanged(std::string_view file, const FileStamp& stamp) {
    if (!stamp.valid) return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = items_.begin(); it != items_.end(); ++it) {
      if (it->file == file && it->stamp.valid && it->stamp.size == stamp.size &&
          it->stamp.time == stamp.time) {
        items_.splice(items_.begin(), items_, it);
        return items_.front().parsed;
      }
    }
    return nullptr;
  }

  // The parse of `bytes`, read from the file after its stamp was taken.
  std::shared_ptr<const Indexed> Get(std::string_view file, const FileStamp& stamp,
                                     std::string&& bytes) {
    if (bytes.size() > kMaxBytes) return std::make_shared<const Indexed>(Parse(bytes));
    std::lock_guard<std::mutex> lock(mutex_);
    // One item per file: an item holding older bytes must never answer again.
    for (auto it = items_.begin(); it != items_.end(); ++it) {
      if (it->file != file) continue;
      if (it->bytes == bytes) {
        it->stamp = stamp;
        items_.splice(items_.begin(), items_, it);
        return items_.front().parsed;
      }
      items_.erase(it);
      break;
    }
    auto parsed = std::make_shared<const Indexed>(Parse(bytes));
    items_.push_front(Item{std::string(file), stamp, std::move(bytes), parsed});
    if (items_.size() > kMaxItems) items_.pop_back();
    return parsed;
  }

 private:
  static constexpr size_t kMaxItems = 4;
  static constexpr size_t kMaxBytes = 4u << 20;
  struct Item {
    std::string file;
    FileStamp stamp;
    std::string bytes;
    std::shared_ptr<const Indexed> parsed;
  };
  std::mutex mutex_;
  std::list<Item> items_;
};

ParseCache& Cache() {
  static ParseCache cache;
  return cache;
}

// One write: load, change, and write the whole file back in one step when
// the change did anything. The file must be writable in place first, as it
// must be for the system functions. Writes of this process take turns, so
// that none works on a copy that another is about to replace.
bool Change(std::string_view file, const std::function<bool(Document&)>& change) {
  static std::mutex turns;
  const std::lock_guard<std::mutex> turn(turns);
  std::string bytes;
  const Status status = ReadFile(file, bytes);
  if (status == Status::kFailed) return false;
  if (status == Status::kLoaded && !files::Append(file, {})) return false;
  Document doc = Parse(bytes);
  if (doc.encoding == Encoding::kUtf16) return false;
  if (!change(doc)) return true;
  return files::WriteAtomic(file, Serialize(doc));
}

// The first section whose name matches the trimmed `name`.
Section* FindSection(Document& doc, std::string_view name) {
  name = Trim(CutAtNul(name));
  for (Section& s : doc.sections)
    if (EqualsNoCase(s.name, name)) return &s;
  return nullptr;
}

// Appends a new entry to the first section that matches, creating the section
// at the end of the file when there is none. New names keep trailing blanks.
Entry& AddEntry(Document& doc, std::string_view section, std::string_view key) {
  Section* s = FindSection(doc, section);
  if (!s) {
    Section created;
    created.name = std::string(TrimLeft(CutAtNul(section)));
    created.header = !created.name.empty();
    doc.sections.push_back(std::move(created));
    s = &doc.sections.back();
  }
  s->entries.emplace_back();
  s->entries.back().name = std::string(TrimLeft(CutAtNul(key)));
  return s->entries.back();
}

}  // namespace

size_t GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                               std::string& out, size_t size, std::string_view file) {
  std::string bytes;
  const Status status = ReadFile(file, bytes);
  if (status != Status::kLoaded) return GetString(nullptr, status, section, key, def, out, size);
  const Indexed indexed(Parse(bytes));
  return GetString(&indexed, status, section, key, def, out, size);
}

size_t GetPrivateProfileSection(std::string_view section, std::string& out, size_t size,
                                std::string_view file) {
  out.clear();
  std::string bytes;
  if (size == 0 || ReadFile(file, bytes) != Status::kLoaded) return 0;
  const Document doc = Parse(bytes);
  section = CutAtNul(section);
  const Section* found = nullptr;
  for (const Section& s : doc.sections) {
    if (EqualsNoCase(s.name, section)) {  // not trimmed, unlike key reads
      found = &s;
      break;
    }
  }
  if (!found) return 0;

  // The system fills a wide buffer of twice the size, entry by entry, each
  // part cut to what still fits, and then converts it into the caller's
  // buffer; a conversion that does not fit reports size - 2.
  const size_t wide = 2 * size;
  std::string w;
  size_t left = wide;
  for (const Entry& e : found->entries) {
    if (left <= 2) break;
    if (e.name.empty() && !e.has_value) continue;
    if (!e.name.empty() && e.name[0] == ';') continue;
    std::string_view part = std::string_view(e.name).substr(0, left - 2);
    w.append(part);
    w += '\0';
    left -= part.size() + 1;
    if (left < 2) break;
    if (e.has_value) {
      w.back() = '=';
      part = std::string_view(e.value).substr(0, left - 2);
      w.append(part);
      w += '\0';
      left -= part.size() + 1;
    }
  }
  const size_t wide_ret = left <= 1 ? wide - 2 : wide - left;
  if (wide_ret == 0) return 0;
  if (wide_ret + 1 >= size) {
    out.assign(w, 0, size - 2);
    return size - 2;
  }
  out.assign(w, 0, wide_ret);
  return wide_ret;
}

std::string ReadKey(std::string_view file, std::string_view section, std::string_view key,
                    std::string_view def) {
  const FileStamp stamp = StampOf(file);
  if (const std::shared_ptr<const Indexed> same = Cache().Unchanged(file, stamp))
    return ReadKeyFrom(same.get(), Status::kLoaded, section, key, def);
  std::string bytes;
  const Status status = ReadFile(file, bytes);
  if (status != Status::kLoaded) return ReadKeyFrom(nullptr, status, section, key, def);
  const std::shared_ptr<const Indexed> indexed = Cache().Get(file, stamp, std::move(bytes));
  return ReadKeyFrom(indexed.get(), status, section, key, def);
}

namespace {

// A section's entries as the system's section read gives them: every entry
// followed by its NUL, without the last one; comments and empty lines left out.
std::string BlockOf(const Section& s) {
  std::string block;
  for (const Entry& e : s.entries) {
    if (e.name.empty() && !e.has_value) continue;
    if (!e.name.empty() && e.name[0] == ';') continue;
    block += e.name;
    if (e.has_value) {
      block += '=';
      block += e.value;
    }
    block += '\0';
  }
  if (!block.empty()) block.pop_back();
  return block;
}

}  // namespace

std::string ReadSection(std::string_view file, std::string_view section) {
  // What the doubling buffer converges to: every entry followed by its NUL,
  // without the last one.
  std::string bytes;
  if (ReadFile(file, bytes) != Status::kLoaded) return {};
  const Document doc = Parse(bytes);
  section = CutAtNul(section);
  for (const Section& s : doc.sections) {
    if (EqualsNoCase(s.name, section)) return BlockOf(s);
  }
  return {};
}

namespace {

// The sections of a document by name, for batches that write thousands of
// sections: each write finds its sections without a scan of the file.
class SectionIndex {
 public:
  explicit SectionIndex(const Document& doc) { Rebuild(doc); }
  void Rebuild(const Document& doc) {
    byName_.clear();
    for (size_t i = 0; i < doc.sections.size(); ++i) byName_[doc.sections[i].name].push_back(i);
    size_ = doc.sections.size();
  }
  bool Stale(const Document& doc) const { return size_ != doc.sections.size(); }
  const std::vector<size_t>* Find(std::string_view name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &it->second;
  }

 private:
  std::unordered_map<std::string, std::vector<size_t>, NoCaseHash, NoCaseEqual> byName_;
  size_t size_ = 0;
};

// One section write: every section of the name loses its entries, and the
// block's entries go to the first (created at the end when missing). False
// when nothing changed. The entry list ends at an empty entry, as a double
// NUL ends it for the system; entries without "=" are dropped; every other
// entry is added, even when its key is already there.
bool ApplySectionIndexed(Document& doc, SectionIndex& index, std::string_view section,
                         std::string_view block) {
  if (index.Stale(doc)) index.Rebuild(doc);
  bool changed = false;
  if (const std::vector<size_t>* same = index.Find(CutAtNul(section))) {
    for (size_t i : *same) {
      if (doc.sections[i].entries.empty()) continue;
      doc.sections[i].entries.clear();
      changed = true;
    }
  }
  Section* target = nullptr;
  if (const std::vector<size_t>* found = index.Find(Trim(CutAtNul(section))))
    target = &doc.sections[found->front()];
  size_t pos = 0;
  while (pos < block.size()) {
    size_t nul = block.find('\0', pos);
    if (nul == std::string_view::npos) nul = block.size();
    const std::string_view item = block.substr(pos, nul - pos);
    if (item.empty()) break;
    pos = nul + 1;
    const size_t eq = item.find('=');
    if (eq == std::string_view::npos) continue;
    Entry* entry = nullptr;
    if (target) {
      target->entries.emplace_back();
      entry = &target->entries.back();
      entry->name = std::string(TrimLeft(CutAtNul(item.substr(0, eq))));
    } else {
      entry = &AddEntry(doc, section, item.substr(0, eq));
      index.Rebuild(doc);
      target = &doc.sections.back();
    }
    entry->value = std::string(TrimLeft(item.substr(eq + 1)));
    entry->has_value = true;
    changed = true;
  }
  return changed;
}

}  // namespace

namespace {

// The change of one key write; false when the value is already there.
bool ApplyKey(Document& doc, std::string_view section, std::string_view key,
              std::string_view value) {
  const std::string_view text = TrimLeft(CutAtNul(value));
  Entry* entry = nullptr;
  if (Section* s = FindSection(doc, section)) {
    const std::string_view name = Trim(CutAtNul(key));
    for (Entry& e : s->entries) {
      if (EqualsNoCase(e.name, name)) {
        entry = &e;
        break;
      }
    }
  }
  if (entry && entry->has_value && entry->value == text) return false;
  if (!entry) entry = &AddEntry(doc, section, key);
  entry->value = std::string(text);
  entry->has_value = true;
  return true;
}

}  // namespace

bool WriteKey(std::string_view file, std::string_view section, std::string_view key,
              std::string_view value) {
  return Change(file, [&](Document& doc) { return ApplyKey(doc, section, key, value); });
}

bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  return Change(file, [&](Document& doc) {
    // Deletion matches names exactly as given (no trimming), in every section
    // of that name, and removes the first key found.
    section = CutAtNul(section);
    key = CutAtNul(key);
    for (Section& s : doc.sections) {
      if (!EqualsNoCase(s.name, section)) continue;
      for (auto it = s.entries.begin(); it != s.entries.end(); ++it) {
        if (EqualsNoCase(it->name, key)) {
          s.entries.erase(it);
          return true;
        }
      }
    }
    return false;
  });
}

bool DeleteSection(std::string_view file, std::string_view section) {
  return Change(file, [&](Document& doc) {
    section = CutAtNul(section);
    for (auto it = doc.sections.begin(); it != doc.sections.end(); ++it) {
      if (EqualsNoCase(it->name, section)) {
        doc.sections.erase(it);
        return true;
      }
    }
    return false;
  });
}

bool WriteSection(std::string_view file, std::string_view section, std::string_view block) {
  return Change(file, [&](Document& doc) {
    SectionIndex index(doc);
    return ApplySectionIndexed(doc, index, section, block);
  });
}

bool ReadAllSections(std::string_view file, std::vector<std::pair<std::string, std::string>>& out) {
  out.clear();
  std::string bytes;
  const Status status = ReadFile(file, bytes);
  if (status == Status::kFailed) return false;
  if (status == Status::kMissing) return true;
  const Document doc = Parse(bytes);
  if (doc.encoding == Encoding::kUtf16) return false;
  std::unordered_set<std::string_view, NoCaseHash, NoCaseEqual> seen;
  for (const Section& s : doc.sections) {
    if (!s.header || !seen.insert(s.name).second) continue;  // the first of a name is read
    out.emplace_back(s.name, BlockOf(s));
  }
  return true;
}

void Batch::WriteKey(std::string_view section, std::string_view key, std::string_view value) {
  writes_.push_back({std::string(section), std::string(key), std::string(value), true});
}

void Batch::WriteSection(std::string_view section, std::string_view block) {
  writes_.push_back({std::string(section), {}, std::string(block), false});
}

bool Batch::Commit(std::string_view file) const {
  return Change(file, [&](Document& doc) {
    bool changed = false;
    SectionIndex index(doc);
    for (const Write& w : writes_)
      changed |= w.isKey ? ApplyKey(doc, w.section, w.key, w.text)
                         : ApplySectionIndexed(doc, index, w.section, w.text);
    return changed;
  });
}

struct Snapshot::Impl {
  Status status = Status::kMissing;
  std::shared_ptr<const Indexed> indexed;
};

Snapshot::Snapshot(std::string_view file) : impl_(std::make_unique<Impl>()) {
  std::string bytes;
  impl_->status = ReadFile(file, bytes);
  if (impl_->status == Status::kLoaded)
    impl_->indexed = std::make_shared<const Indexed>(Parse(bytes));
}

Snapshot::~Snapshot() = default;
Snapshot::Snapshot(Snapshot&&) noexcept = default;
Snapshot& Snapshot::operator=(Snapshot&&) noexcept = default;

std::string Snapshot::ReadKey(std::string_view section, std::string_view key,
                              std::string_view def) const {
  if (!impl_) return ReadKeyFrom(nullptr, Status::kMissing, section, key, def);
  return ReadKeyFrom(impl_->indexed.get(), impl_->status, section, key, def);
}

bool Snapshot::Loaded() const { return impl_ && impl_->status == Status::kLoaded; }

}  // namespace qv::profile
