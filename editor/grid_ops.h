// Grid editing of a panel file: swapping buttons, inserting and removing
// whole rows and columns, and pasting a copied button, all by moving whole
// button sections. Each operation reads the file once, makes every move in
// memory and writes the result (with the grid size in "Setup") in one
// rewrite: a read or write that fails leaves the file exactly as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "panels/panel_file.h"

namespace qv::editor {

// The preview's grid menu; the values are its command ids.
enum class GridCommand : int32_t {
  kSwapPrevious = 1,
  kSwapNext = 2,
  kSwapUp = 3,
  kSwapBelow = 4,
  kInsertRowBefore = 5,
  kInsertRowAfter = 6,
  kRemoveRow = 7,
  kInsertColumnBefore = 8,
  kInsertColumnAfter = 9,
  kRemoveColumn = 10,
  kCopy = 20,
  kPaste = 21,
};

// Row and column of button n from 1, as the grid menu counts them.
int32_t MenuRow(int32_t n, int32_t cols);
int32_t MenuColumn(int32_t n, int32_t cols);

// Whether the menu greys the command for button n of a rows x cols grid.
bool IsGrayed(GridCommand command, int32_t n, int32_t rows, int32_t cols, bool haveCopy);

// The menu caption of a command ("Remove this Row (2)").
std::string MenuCaption(GridCommand command, int32_t n, int32_t cols);

struct GridResult {
  bool ok = false;
  std::string error;             // why nothing was changed
  panels::SetupFields fields;    // the Setup texts as saved (Rows or Cols changed)
  std::vector<int32_t> touched;  // positions whose sections were written
};

// Applies a swap, insert or remove to button n. `fields` are the layout
// editor's Setup texts; Rows and Cols come from them, and an insert or
// remove saves all seventeen with the new Rows or Cols in the same write.
GridResult ApplyGridCommand(std::string_view file, GridCommand command, int32_t n,
                            const panels::SetupFields& fields);

// Swaps the sections of buttons a and b (drag and drop).
GridResult SwapButtons(std::string_view file, int32_t a, int32_t b,
                       const panels::SetupFields& fields);

// Copy: the entries of button n's section. False when the file cannot be
// read (an empty button copies as an empty block, and true).
bool CopyButton(std::string_view file, int32_t n, std::string& block);
// Paste: `block` becomes button n's section.
GridResult PasteButton(std::string_view file, int32_t n, std::string_view block,
                       const panels::SetupFields& fields);

// The file as it was before the last grid operation, so that it can be put
// back. Restoring refuses when the file has changed since the operation
// (another editor saved in between): undoing would silently drop that.
class GridUndo {
 public:
  // Call before an operation; false when the file cannot be read.
  bool Before(std::string_view file);
  // Call after a successful operation: the file as the operation left it.
  void After(std::string_view file);
  // Forgets the snapshot (a failed operation, a new panel).
  void Clear();
  bool Available() const { return ready_; }
  // Puts the file back; false with the reason when it cannot.
  bool Restore(std::string_view file, std::string& error);

 private:
  std::string file_, before_, after_;
  bool existed_ = false;
  bool pending_ = false;
  bool ready_ = false;
};

}  // namespace qv::editor
