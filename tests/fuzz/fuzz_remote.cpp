// Fuzzes the server's message decoder and the client's report reader. The
// first byte of the input picks how the rest is cut into receives; the
// commands that come out must be the same however the bytes were cut, none
// may hold a control byte, and neither buffer may grow past its cap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "remote/protocol.h"

namespace {

using qv::remote::ClientReports;
using qv::remote::kMaxMessageBytes;
using qv::remote::Received;
using qv::remote::ServerDecoder;

std::vector<std::string> Commands(const std::vector<Received>& got) {
  std::vector<std::string> out;
  for (const Received& r : got)
    if (r.kind == Received::Kind::kCommand) out.push_back(r.text);
  return out;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = 1 + data[0] % 17;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  ServerDecoder whole("Quorvex");
  std::vector<Received> once;
  whole.Feed(bytes, once);

  ServerDecoder cut("Quorvex");
  std::vector<Received> pieces;
  ClientReports reports;
  for (size_t i = 0; i < bytes.size(); i += piece) {
    cut.Feed(bytes.substr(i, piece), pieces);
    reports.Feed(bytes.substr(i, piece));
    Check(cut.Pending() <= kMaxMessageBytes);
  }
  Check(Commands(once) == Commands(pieces));
  for (const std::string& c : Commands(once)) {
    Check(c.size() + 4 <= kMaxMessageBytes);
    for (char ch : c) {
      const unsigned char u = static_cast<unsigned char>(ch);
      Check(u == '\t' || (u >= 0x20 && u != 0x7F));
    }
  }
  Check(reports.Reports().size() <= ClientReports::kMaxReports);
  for (const std::string& r : reports.Reports()) Check(r.size() <= ClientReports::kMaxReportChars);
  return 0;
}
