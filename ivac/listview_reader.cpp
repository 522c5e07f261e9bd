#include "ivac/listview_reader.h"

namespace qv::ivac {

namespace {

void PutLittleEndian(uint8_t* at, uint64_t v, uint32_t bytes) {
  for (uint32_t i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Releases a remote block when the reader leaves, whatever the path.
class RemoteBlock {
 public:
  RemoteBlock(RemoteListView& view, uint32_t size) : view_(view), at_(view.Allocate(size)) {}
  ~RemoteBlock() {
    if (at_ != 0) view_.Release(at_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  RemoteAddress at() const { return at_; }

 private:
  RemoteListView& view_;
  RemoteAddress at_;
};

}  // namespace

std::vector<uint8_t> ItemRecord(const ItemLayout& layout, int32_t row, int32_t column,
                                RemoteAddress textBuffer) {
  std::vector<uint8_t> r(layout.size, 0);
  PutLittleEndian(&r[0], 1, 4);  // mask: LVIF_TEXT
  PutLittleEndian(&r[4], static_cast<uint32_t>(row), 4);
  PutLittleEndian(&r[8], static_cast<uint32_t>(column), 4);
  PutLittleEndian(&r[layout.textOffset], textBuffer, layout.pointerSize);
  PutLittleEndian(&r[layout.capacityOffset], kTextBufferSize, 4);
  return r;
}

std::string ReadListViewItems(RemoteListView& view, const ItemLayout& layout, int32_t rows,
                              int32_t columns) {
  if (rows <= 0 || columns <= 0) return "";
  // One block for the whole read: the request record, then the text buffer.
  RemoteBlock block(view, layout.size + kTextBufferSize);
  if (block.at() == 0) return "";
  const RemoteAddress record = block.at();
  const RemoteAddress text = block.at() + layout.size;
  // A 32-bit process's list view sees only the low half of an address.
  if (layout.pointerSize < 8 && (text + kTextBufferSize) >> (8 * layout.pointerSize) != 0) {
    return "";
  }
  std::string result;
  for (int32_t row = 0; row < rows; ++row) {
    std::string line;
    for (int32_t column = 0; column < columns; ++column) {
      const auto request = ItemRecord(layout, row, column, text);
      if (!view.Write(record, request.data(), layout.size)) return "";
      view.GetItemText(row, record);
      char buffer[kTextBufferSize + 1] = {};
      if (!view.Read(text, buffer, kTextBufferSize)) return "";
      line += buffer;  // cut at the first NUL
      line += '\t';
    }
    if (line.find_first_not_of('\t') != std::string::npos) result += line + "\n";
  }
  return result;
}

}  // namespace qv::ivac
