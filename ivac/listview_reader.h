// Reading the item texts of a list view that lives in another process (IvAc's
// In/Out list). The request record and the text buffer are placed inside
// that process (one block, used again for every cell), the list view fills
// the buffer, and it is copied back. The
// process access sits behind a small interface so that the reading rules
// (row and column order, TAB and LF layout, the clean-up on any failure) are
// the same everywhere. Portable: no Win32 here.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qv::ivac {

// A 32-bit address inside the other process; 0 is none.
using RemoteAddress = uint32_t;

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

// The list view's item request record (LVITEMA of a 32-bit process, 40 bytes,
// little-endian): mask LVIF_TEXT, the row and column, the text buffer's
// address and a capacity of 255; every other field 0.
inline constexpr uint32_t kItemRecordSize = 40;
inline constexpr uint32_t kTextBufferSize = 255;
std::array<uint8_t, kItemRecordSize> ItemRecord(int32_t row, int32_t column,
                                                RemoteAddress textBuffer);

// Every row's cells, each followed by TAB, each row ended by LF; rows whose
// cells are all empty are left out. As soon as an allocation, a write or a
// read fails, the reader releases what it holds and returns "": it never
// hands the list view an address it could not fill.
std::string ReadListViewItems(RemoteListView& view, int32_t rows, int32_t columns);

}  // namespace qv::ivac
