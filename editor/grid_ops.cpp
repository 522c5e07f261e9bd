#include "editor/grid_ops.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "editor/setup_fields.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace qv::editor {

using panels::SectionName;
using panels::SetupFields;

namespace {

constexpr size_t kRowsField = 3;
constexpr size_t kColsField = 4;
// Rows and Cols of 100 or more read as 2 and 10: a grid never grows to that.
constexpr int32_t kMaxLines = 99;

// The button sections of a file by position, as moves see them.
class Sections {
 public:
  bool Load(std::string_view file) {
    std::vector<std::pair<std::string, std::string>> all;
    if (!profile::ReadAllSections(file, all)) return false;
    for (auto& [name, block] : all) {
      const int32_t n = PositionOf(name);
      if (n > 0) blocks_[n] = std::move(block);
    }
    return true;
  }
  // Read a, write it as b, write an empty list as a.
  void Move(int32_t a, int32_t b) {
    std::string moved = Take(a);
    Put(b, std::move(moved));
    Put(a, {});
  }
  void Swap(int32_t a, int32_t b) {
    std::string first = Take(a);
    std::string second = Take(b);
    Put(a, std::move(second));
    Put(b, std::move(first));
  }
  void Put(int32_t n, std::string block) {
    blocks_[n] = std::move(block);
    if (touchedSet_.insert(n).second) touched_.push_back(n);
  }
  void AddTo(profile::Batch& batch) const {
    for (int32_t n : touched_) batch.WriteSection(SectionName(n), blocks_.at(n));
  }
  std::vector<int32_t> Touched() const {
    std::vector<int32_t> t = touched_;
    std::sort(t.begin(), t.end());
    return t;
  }

 private:
  std::string Take(int32_t n) const {
    const auto it = blocks_.find(n);
    return it == blocks_.end() ? std::string() : it->second;
  }
  // Only the names the readers use for a position ("07", not "7").
  static int32_t PositionOf(const std::string& name) {
    if (name.empty() || name.size() > 9) return 0;
    if (!std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return 0;
    const int32_t n = std::stoi(name);
    return n > 0 && SectionName(n) == name ? n : 0;
  }

  std::unordered_map<int32_t, std::string> blocks_;
  std::vector<int32_t> touched_;
  std::unordered_set<int32_t> touchedSet_;
};

GridResult Fail(std::string error) {
  GridResult r;
  r.error = std::move(error);
  return r;
}

std::string ReadError(std::string_view file) {
  return "Cannot read " + std::string(file) + ": the panel file is unchanged.";
}

std::string WriteError(std::string_view file) {
  return "Cannot write " + std::string(file) + ": the panel file is unchanged.";
}

// Writes the moved sections, and the Setup texts when the grid size changed,
// in one rewrite.
GridResult Commit(std::string_view file, const Sections& sections, const SetupFields& fields,
                  bool saveSetup) {
  profile::Batch batch;
  sections.AddTo(batch);
  if (saveSetup) AddSetupWrites(batch, fields);
  if (!batch.Empty() && !batch.Commit(file)) return Fail(WriteError(file));
  GridResult r;
  r.ok = true;
  r.fields = fields;
  r.touched = sections.Touched();
  return r;
}

void InsertColumn(Sections& s, int32_t column, bool after, int32_t rows, int32_t cols) {
  int32_t k = after ? column + 1 : column;
  int32_t shift = rows - 1;
  if (k > cols) {
    k = 1;
    shift = rows - 2;
  }
  if (shift < 0) return;
  for (int32_t p = rows * cols; p >= 1; --p) {
    const int32_t c = MenuColumn(p, cols);
    const int32_t target = p + shift + 1;
    if (target != p) s.Move(p, target);
    if (c == k && --shift < 0) break;
  }
}

void RemoveColumn(Sections& s, int32_t column, int32_t rows, int32_t cols) {
  int32_t removed = 0;
  for (int32_t p = column + 1; p <= rows * cols; ++p) {
    if (MenuColumn(p, cols) == column) {
      if (++removed > rows) break;
      continue;
    }
    const int32_t target = p - removed - 1;
    if (target != p) s.Move(p, target);
  }
}

}  // namespace

int32_t MenuRow(int32_t n, int32_t cols) { return cols > 0 ? (n - 1) / cols + 1 : 1; }

int32_t MenuColumn(int32_t n, int32_t cols) { return n - (MenuRow(n, cols) - 1) * cols; }

bool IsGrayed(GridCommand command, int32_t n, int32_t rows, int32_t cols, bool haveCopy) {
  const int32_t row = MenuRow(n, cols);
  switch (command) {
    case GridCommand::kSwapPrevious:
      return n <= 1;
    case GridCommand::kSwapNext:
      return n >= rows * cols;
    case GridCommand::kSwapUp:
      return row <= 1;
    case GridCommand::kSwapBelow:
      return row >= rows;
    case GridCommand::kInsertRowBefore:
    case GridCommand::kInsertRowAfter:
      return rows >= kMaxLines;
    case GridCommand::kInsertColumnBefore:
    case GridCommand::kInsertColumnAfter:
      return cols >= kMaxLines;
    case GridCommand::kPaste:
      return !haveCopy;
    default:
      return false;
  }
}

std::string MenuCaption(GridCommand command, int32_t n, int32_t cols) {
  switch (command) {
    case GridCommand::kSwapPrevious:
      return "Swap with Previous Button";
    case GridCommand::kSwapNext:
      return "Swap with Next Button";
    case GridCommand::kSwapUp:
      return "Swap up";
    case GridCommand::kSwapBelow:
      return "Swap Below";
    case GridCommand::kInsertRowBefore:
      return "Insert full Row before";
    case GridCommand::kInsertRowAfter:
      return "Insert full Row after";
    case GridCommand::kRemoveRow:
      return "Remove this Row (" + std::to_string(MenuRow(n, cols)) + ")";
    case GridCommand::kInsertColumnBefore:
      return "Insert full Column before";
    case GridCommand::kInsertColumnAfter:
      return "Insert full Column after";
    case GridCommand::kRemoveColumn:
      return "Remove this Column (" + std::to_string(MenuColumn(n, cols)) + ")";
    case GridCommand::kCopy:
      return "Copy";
    case GridCommand::kPaste:
      return "Paste";
  }
  return {};
}

GridResult ApplyGridCommand(std::string_view file, GridCommand command, int32_t n,
                            const SetupFields& fields) {
  const panels::PanelSetup setup = SetupFromFields(fields);
  const int32_t rows = std::max(setup.rows, 0), cols = std::max(setup.cols, 0);
  if (n < 1 || n > rows * cols) return Fail("There is no button " + std::to_string(n) + ".");
  if (IsGrayed(command, n, rows, cols, true)) return Fail("That change is not possible here.");

  Sections s;
  if (!s.Load(file)) return Fail(ReadError(file));
  const int32_t row = MenuRow(n, cols), column = MenuColumn(n, cols);
  SetupFields out = fields;
  bool saveSetup = true;
  switch (command) {
    case GridCommand::kSwapPrevious:
    case GridCommand::kSwapNext:
    case GridCommand::kSwapUp:
    case GridCommand::kSwapBelow: {
      const int32_t other = command == GridCommand::kSwapPrevious ? n - 1
                            : command == GridCommand::kSwapNext   ? n + 1
                            : command == GridCommand::kSwapUp     ? n - cols
                                                                  : n + cols;
      s.Swap(n, other);
      saveSetup = false;
      break;
    }
    case GridCommand::kInsertRowBefore:
    case GridCommand::kInsertRowAfter: {
      const int32_t first =
          command == GridCommand::kInsertRowBefore ? (row - 1) * cols + 1 : row * cols + 1;
      for (int32_t p = rows * cols; p >= first; --p) s.Move(p, p + cols);
      out[kRowsField] = std::to_string(rows + 1);
      break;
    }
    case GridCommand::kRemoveRow:
      for (int32_t p = row * cols + 1; p <= rows * cols; ++p) s.Move(p, p - cols);
      out[kRowsField] = std::to_string(rows - 1);
      break;
    case GridCommand::kInsertColumnBefore:
    case GridCommand::kInsertColumnAfter:
      InsertColumn(s, column, command == GridCommand::kInsertColumnAfter, rows, cols);
      out[kColsField] = std::to_string(cols + 1);
      break;
    case GridCommand::kRemoveColumn:
      RemoveColumn(s, column, rows, cols);
      out[kColsField] = std::to_string(cols - 1);
      break;
    case GridCommand::kCopy:
    case GridCommand::kPaste:
      return Fail("Copy and paste are not grid moves.");
  }
  return Commit(file, s, out, saveSetup);
}

GridResult SwapButtons(std::string_view file, int32_t a, int32_t b, const SetupFields& fields) {
  const panels::PanelSetup setup = SetupFromFields(fields);
  const int32_t count = panels::ButtonCount(setup);
  if (a < 1 || b < 1 || a > count || b > count) return Fail("There is no such button.");
  Sections s;
  if (!s.Load(file)) return Fail(ReadError(file));
  if (a != b) s.Swap(a, b);
  return Commit(file, s, fields, false);
}

bool CopyButton(std::string_view file, int32_t n, std::string& block) {
  block.clear();
  std::vector<std::pair<std::string, std::string>> all;
  if (!profile::ReadAllSections(file, all)) return false;
  const std::string name = SectionName(n);
  for (auto& [section, entries] : all) {
    if (section == name) {
      block = std::move(entries);
      break;
    }
  }
  return true;
}

GridResult PasteButton(std::string_view file, int32_t n, std::string_view block,
                       const SetupFields& fields) {
  if (n < 1) return Fail("There is no such button.");
  Sections s;
  if (!s.Load(file)) return Fail(ReadError(file));
  s.Put(n, std::string(block));
  return Commit(file, s, fields, false);
}

bool GridUndo::Before(std::string_view file) {
  Clear();
  file_ = std::string(file);
  existed_ = files::Exists(file);
  if (existed_ && !files::ReadAll(file, before_)) return false;
  pending_ = true;
  return true;
}

void GridUndo::After(std::string_view file) {
  ready_ = pending_ && file == file_ && files::ReadAll(file, after_);
  pending_ = false;
}

void GridUndo::Clear() {
  file_.clear();
  before_.clear();
  after_.clear();
  pending_ = ready_ = false;
}

bool GridUndo::Restore(std::string_view file, std::string& error) {
  if (!ready_ || file != file_) {
    error = "Nothing to undo.";
    return false;
  }
  std::string now;
  if (!files::ReadAll(file, now) || now != after_) {
    error = "The panel file has changed since the last grid change: nothing was undone.";
    return false;
  }
  const bool ok = existed_ ? files::WriteAtomic(file, before_) : files::Remove(file);
  if (!ok) {
    error = WriteError(file);
    return false;
  }
  Clear();
  return true;
}

}  // namespace qv::editor
