// Reading the item texts of a list view that lives in another process (IvAc's
// In/Out list). The request record and the text buffer are placed inside
// that process (one block, used again for every cell), the list view fills
// the buffer, and it is copied back. The record has the layout of the
// target process, 32- or 64-bit, whichever this program is. The process
// access sits behind a small interface so that the reading rules (row and
// column order, TAB and LF layout, the clean-up on any failure) are the same
// everywhere. Portable: no Win32 here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv::ivac {

// The status when IvAc's list is there but this program cannot read it: a
// 32-bit program cannot place records in a 64-bit process.
inline constexpr std::string_view kInOutOf64BitIvac =
    "unable to read the In/Out list - IvAc is a 64-bit program, use the 64-bit Quorvex";

// An address inside the other process; 0 is none.
using RemoteAddress = uint64_t;

// What the reader needs from the other process and its list view.
class RemoteListView {
 public:
  virtual ~RemoteListView() = default;
  // Reserves and commits read-write memory; 0 when that fails.
  virtual RemoteAddress Allocate(uint32_t size) = 0;
  virtual void Release(RemoteAddress address) = 0;
  virtual bool Write(RemoteAddress address, const void* data, uint32_t size) = 0;
  virtual bool Read(RemoteAddress address, void* data, uint32_t size) = 0;
  // LVM_GETITEMTEXTA for `row` with the request record at `record`.
  virtual void GetItemText(int32_t row, RemoteAddress record) = 0;
};

// The list view's item request record as the target process lays it out
// (LVITEMA, little-endian): mask LVIF_TEXT, the row and column, the text
// buffer's address and a capacity of 255; every other field 0. The record
// is reserved at the structure's full size, so that a list view that writes
// back more than the text fields cannot reach the text buffer behind it.
struct ItemLayout {
  uint32_t size;            // the whole LVITEMA
  uint32_t textOffset;      // pszText
  uint32_t pointerSize;     // 4 or 8
  uint32_t capacityOffset;  // cchTextMax
};
inline constexpr ItemLayout kItemLayout32{60, 20, 4, 24};
inline constexpr ItemLayout kItemLayout64{88, 24, 8, 32};
inline constexpr uint32_t kTextBufferSize = 255;

std::vector<uint8_t> ItemRecord(const ItemLayout& layout, int32_t row, int32_t column,
                                RemoteAddress textBuffer);

// Every row's cells, each followed by TAB, each row ended by LF; rows whose
// cells are all empty are left out. As soon as an allocation, a write or a
// read fails, or the other process hands out an address its own layout
// cannot hold, the reader releases what it holds and returns "": it never
// hands the list view an address it could not fill.
std::string ReadListViewItems(RemoteListView& view, const ItemLayout& layout, int32_t rows,
                              int32_t columns);

}  // namespace qv::ivac
