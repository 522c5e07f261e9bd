#include "ivac/listview_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace qv::ivac {
namespace {

uint64_t GetLittleEndian(const uint8_t* p, uint32_t bytes) {
  uint64_t v = 0;
  for (uint32_t i = bytes; i-- > 0;) v = (v << 8) | p[i];
  return v;
}
uint32_t Get32(const uint8_t* p) { return static_cast<uint32_t>(GetLittleEndian(p, 4)); }

// The two kinds of target process, with their layouts as the system headers
// of each kind have them.
const struct {
  const char* name;
  ItemLayout layout;
} kKinds[] = {{"32-bit", kItemLayout32}, {"64-bit", kItemLayout64}};

// A list view in a pretend process: blocks of memory at made-up addresses,
// and the list view's answer to LVM_GETITEMTEXTA, which reads the request
// record from that memory and writes the cell text where the record says.
// Any one operation can be made to fail.
class FakeRemote : public RemoteListView {
 public:
  explicit FakeRemote(ItemLayout layout = kItemLayout32, RemoteAddress base = 0x00400000)
      : layout_(layout), next_(base) {}
  std::vector<std::vector<std::string>> cells;
  std::string failOn;  // "alloc", "write" or "read"
  int failAfter = 0;   // that many of the operation succeed first
  std::map<RemoteAddress, std::vector<uint8_t>> blocks;
  std::vector<std::string> calls;
  int badAddresses = 0;

  RemoteAddress Allocate(uint32_t size) override {
    if (Fails("alloc")) return 0;
    const RemoteAddress at = next_;
    next_ += 0x1000;
    blocks[at].assign(size, 0xCC);
    return at;
  }
  void Release(RemoteAddress address) override {
    calls.push_back("free");
    if (blocks.erase(address) == 0) ++badAddresses;
  }
  bool Write(RemoteAddress address, const void* data, uint32_t size) override {
    uint8_t* at = Fails("write") ? nullptr : Memory(address, size);
    if (at != nullptr) std::memcpy(at, data, size);
    return at != nullptr;
  }
  bool Read(RemoteAddress address, void* data, uint32_t size) override {
    const uint8_t* at = Fails("read") ? nullptr : Memory(address, size);
    if (at != nullptr) std::memcpy(data, at, size);
    return at != nullptr;
  }
  void GetItemText(int32_t row, RemoteAddress record) override {
    calls.push_back("send");
    // The list view reads the record in its own process's layout.
    const uint8_t* r = Memory(record, layout_.size);
    if (r == nullptr) return;
    const uint32_t mask = Get32(r), item = Get32(r + 4), sub = Get32(r + 8);
    const RemoteAddress text = GetLittleEndian(r + layout_.textOffset, layout_.pointerSize);
    const uint32_t capacity = Get32(r + layout_.capacityOffset);
    uint8_t* buf = Memory(text, capacity);
    if (mask != 1 || item != static_cast<uint32_t>(row) || buf == nullptr || capacity == 0) {
      ++badAddresses;
      return;
    }
    const std::string& cell = cells.at(item).at(sub);
    const size_t n = std::min<size_t>(cell.size(), capacity - 1);
    std::memcpy(buf, cell.data(), n);
    buf[n] = 0;
  }

  // The pretend process's bytes at [address, address + size), inside one
  // allocated block; nullptr (and a bad address counted) otherwise.
  uint8_t* Memory(RemoteAddress address, uint32_t size) {
    auto it = blocks.upper_bound(address);
    if (it != blocks.begin()) {
      --it;
      const RemoteAddress start = it->first;
      if (address >= start && address + size <= start + it->second.size()) {
        return it->second.data() + (address - start);
      }
    }
    ++badAddresses;
    return nullptr;
  }

 private:
  // Logs the call `op`; true when it is to fail.
  bool Fails(const std::string& op) {
    calls.push_back(op);
    return failOn == op && failAfter-- <= 0;
  }
  ItemLayout layout_;
  RemoteAddress next_;
};

TEST(ItemRecord, HasTheLayoutOfEachKindOfProcess) {
  const struct {
    ItemLayout layout;
    size_t size, textAt, pointerBytes, capacityAt;
  } cases[] = {{kItemLayout32, 60, 20, 4, 24}, {kItemLayout64, 88, 24, 8, 32}};
  for (const auto& c : cases) {
    const RemoteAddress text = c.pointerBytes == 8 ? 0x123456789ABCDEF0u : 0x12345678u;
    const auto r = ItemRecord(c.layout, 3, 2, text);
    ASSERT_EQ(r.size(), c.size);
    EXPECT_EQ(Get32(&r[0]), 1u);  // LVIF_TEXT
    EXPECT_EQ(Get32(&r[4]), 3u);
    EXPECT_EQ(Get32(&r[8]), 2u);
    EXPECT_EQ(GetLittleEndian(&r[c.textAt], static_cast<uint32_t>(c.pointerBytes)), text);
    EXPECT_EQ(Get32(&r[c.capacityAt]), 255u);
    // Everything else is 0.
    for (size_t i = 12; i < r.size(); ++i) {
      const bool inText = i >= c.textAt && i < c.textAt + c.pointerBytes;
      const bool inCapacity = i >= c.capacityAt && i < c.capacityAt + 4;
      if (!inText && !inCapacity) {
        EXPECT_EQ(r[i], 0) << c.size << " byte " << i;
      }
    }
  }
}

TEST(ReadListViewItems, RowsAndColumnsInLayoutWithEmptyRowsLeftOut) {
  const struct {
    const char* name;
    std::vector<std::vector<std::string>> cells;
    std::string expected;
  } cases[] = {
      {"three by four",
       {{"DLH1", "EDDF", "EGLL", "F350"},
        {"BAW2", "EGLL", "EDDF", "F360"},
        {"AFR3", "LFPG", "EDDM", "F280"}},
       "DLH1\tEDDF\tEGLL\tF350\t\nBAW2\tEGLL\tEDDF\tF360\t\nAFR3\tLFPG\tEDDM\tF280\t\n"},
      {"empty row left out",
       {{"DLH1", "EDDF"}, {"", ""}, {"AFR3", ""}},
       "DLH1\tEDDF\t\nAFR3\t\t\n"},
      {"only empty rows", {{"", ""}, {"", ""}}, ""},
      {"long text cut to the buffer", {{std::string(300, 'x')}}, std::string(254, 'x') + "\t\n"},
  };
  for (const auto& kind : kKinds) {
    for (const auto& c : cases) {
      // A 64-bit process hands out addresses beyond 4 GB.
      FakeRemote remote(kind.layout, kind.layout.pointerSize == 8 ? 0x7FF612340000u : 0x00400000u);
      remote.cells = c.cells;
      const auto rows = static_cast<int32_t>(c.cells.size());
      const auto cols = static_cast<int32_t>(c.cells[0].size());
      EXPECT_EQ(ReadListViewItems(remote, kind.layout, rows, cols), c.expected)
          << kind.name << ", " << c.name;
      EXPECT_TRUE(remote.blocks.empty()) << kind.name << ", " << c.name << ": memory left behind";
      EXPECT_EQ(remote.badAddresses, 0) << kind.name << ", " << c.name;
    }
  }
  // One allocation, one request per cell in row and column order, one release.
  FakeRemote remote;
  remote.cells = {{"A", "B", "C"}, {"D", "E", "F"}};
  ASSERT_EQ(ReadListViewItems(remote, kItemLayout32, 2, 3), "A\tB\tC\t\nD\tE\tF\t\n");
  std::vector<std::string> expected = {"alloc"};
  for (int i = 0; i < 6; ++i) expected.insert(expected.end(), {"write", "send", "read"});
  expected.push_back("free");
  EXPECT_EQ(remote.calls, expected);
}

TEST(ReadListViewItems, NoCellsOrAnAddressA32BitListViewCannotHoldSendsNothing) {
  for (auto [rows, cols] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{-1, 2}}) {
    FakeRemote remote;
    EXPECT_EQ(ReadListViewItems(remote, kItemLayout32, rows, cols), "");
    EXPECT_TRUE(remote.calls.empty());
  }
  // A 32-bit list view would see only the low half of the address, and write
  // the text somewhere else in its process.
  for (const RemoteAddress base : {RemoteAddress{0x100000000u}, RemoteAddress{0xFFFFFF00u}}) {
    FakeRemote remote(kItemLayout32, base);
    remote.cells = {{"A"}};
    EXPECT_EQ(ReadListViewItems(remote, kItemLayout32, 1, 1), "") << base;
    EXPECT_EQ(std::count(remote.calls.begin(), remote.calls.end(), "send"), 0) << base;
    EXPECT_TRUE(remote.blocks.empty()) << base;
  }
}

TEST(ReadListViewItems, AnyFailureStopsFreesEverythingAndNeverSendsABadAddress) {
  // 2 rows x 2 columns: 1 allocation, 4 writes, 4 reads on the good path.
  const struct {
    const char* op;
    int total;
  } ops[] = {{"alloc", 1}, {"write", 4}, {"read", 4}};
  for (const auto& op : ops) {
    for (int after = 0; after < op.total; ++after) {
      FakeRemote remote;
      remote.cells = {{"A", "B"}, {"C", "D"}};
      remote.failOn = op.op;
      remote.failAfter = after;
      EXPECT_EQ(ReadListViewItems(remote, kItemLayout32, 2, 2), "") << op.op << " #" << after;
      EXPECT_TRUE(remote.blocks.empty()) << op.op << " #" << after;
      EXPECT_EQ(remote.badAddresses, 0) << op.op << " #" << after;
      // No request is sent after the failing step.
      const auto failed = std::find(remote.calls.rbegin(), remote.calls.rend(), op.op);
      EXPECT_EQ(std::find(remote.calls.rbegin(), failed, "send"), failed) << op.op << " #" << after;
    }
  }
}

}  // namespace
}  // namespace qv::ivac
