#include "ivac/listview_reader.h"

namespace qv::ivac {

namespace {

void Put32(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
  at[2] = static_cast<uint8_t>(v >> 16);
  at[3] = static_cast<uint8_t>(v >> 24);
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

std::array<uint8_t, kItemRecordSize> ItemRecord(int32_t row, int32_t column,
                                                RemoteAddress textBuffer) {
  std::array<uint8_t, kItemRecordSize> r{};
  Put32(&r[0], 1);  // mask: LVIF_TEXT
  Put32(&r[4], static_cast<uint32_t>(row));
  Put32(&r[8], static_cast<uint32_t>(column));
  Put32(&r[20], textBuffer);
  Put32(&r[24], kTextBufferSize);
  return r;
}

std::string ReadListViewItems(RemoteListView& view, int32_t rows, int32_t columns) {
  if (rows <= 0 || columns <= 0) return "";
  // One block for the whole read: the request record, then the text buffer.
  RemoteBlock block(view, kItemRecordSize + kTextBufferSize);
  if (block.at() == 0) return "";
  const RemoteAddress record = block.at();
  const RemoteAddress text = block.at() + kItemRecordSize;
  std::string result;
  for (int32_t row = 0; row < rows; ++row) {
    std::string line;
    for (int32_t column = 0; column < columns; ++column) {
      const auto request = ItemRecord(row, column, text);
      if (!view.Write(record, request.data(), kItemRecordSize)) return "";
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
