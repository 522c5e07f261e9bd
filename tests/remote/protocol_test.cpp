#include "remote/protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remote/socket_errors.h"

namespace qv::remote {
namespace {

using Kind = Received::Kind;

std::vector<Received> FeedAll(ServerDecoder& d, const std::vector<std::string>& receives) {
  std::vector<Received> out;
  for (const std::string& r : receives) d.Feed(r, out);
  return out;
}

std::string Commands(const std::vector<Received>& got) {
  std::string s;
  for (const Received& r : got) s += (r.kind == Kind::kCommand ? "C[" : "R[") + r.text + "]";
  return s;
}

// A message whole, cut in its payload or two in one receive, a stranger's
// name, a NUL, colons and backslashes are also sent to the server over a
// socket by its end-to-end tests.
TEST(ServerDecoder, ReceivesAreSplitAndJoinedIntoWholeMessagesWithThePayloadAsSent) {
  EXPECT_EQ(CommandMessage("Quorvex", "|SEND_TEXT hi"), "Quorvex:\r\n|SEND_TEXT hi\r\n");
  const std::string a = CommandMessage("Quorvex", "|CLEARED_TO_FL 350");
  const std::string b = CommandMessage("Quorvex", "|SEND_TEXT two");
  // One and a half, then the rest; then byte by byte (a cut at every place,
  // in the header and between CR and LF among them): the two commands, once each.
  ServerDecoder d("Quorvex");
  const std::string both = "C[|CLEARED_TO_FL 350]C[|SEND_TEXT two]";
  EXPECT_EQ(Commands(FeedAll(d, {a + b.substr(0, 5), b.substr(5)})), both);
  EXPECT_EQ(d.Pending(), 0u);
  std::vector<Received> out;
  for (char ch : a + b) d.Feed(std::string(1, ch), out);
  EXPECT_EQ(Commands(out), both);

  // A half message never runs.
  out.clear();
  d.Feed("Quorvex:\r\n|CLEARED_TO_FL 3", out);
  EXPECT_TRUE(out.empty());
  d.Reset();  // the client went away
  d.Feed("50\r\n", out);
  EXPECT_EQ(Commands(out), "R[??? 50]");
  // Payload text (backslashes, tabs, the server's own name) is kept as sent, at any length.
  std::vector<std::string> payloads = {"|SEND_TEXT Quorvex says hello Quorvex",
                                       "|SEND_TEXT tab\there", "sub\\Tower.txt"};
  for (size_t n : {107u, 108u, 254u, 4000u})
    payloads.push_back("|SEND_TEXT " + std::string(n - 11, 'x'));
  for (const std::string& p : payloads) {
    ServerDecoder one("Quorvex");
    EXPECT_EQ(Commands(FeedAll(one, {CommandMessage("Quorvex", p)})), "C[" + p + "]") << p.size();
  }
}

TEST(ServerDecoder, RefusesBadAndOverlongMessagesAndFindsTheNextGoodOne) {
  struct Case {
    const char* name;
    std::string server;
    std::string bytes;
    std::string want;
  } cases[] = {
      {"the name in another case", "Quorvex", "quorvex:\r\n|X\r\n", "R[??? quorvex|X]"},
      {"a longer name ending in ours", "Quorvex", "MyQuorvex:\r\n|X\r\n", "R[??? MyQuorvex|X]"},
      {"a lone CR in the payload", "Quorvex", "Quorvex:\r\n|A\rB\r\n",
       "R[??? message with control characters refused]"},
      {"a line that is no header", "Quorvex", "hello\r\n", "R[??? hello]"},
      {"empty name: a named message", "", "Quorvex:\r\n|X\r\n", "R[??? Quorvex|X]"},
      {"empty name: its own empty header", "", ":\r\n|X\r\n", "C[|X]"},
  };
  for (const Case& c : cases) {
    ServerDecoder d(c.server);
    EXPECT_EQ(Commands(FeedAll(d, {c.bytes})), c.want) << c.name;
  }
  // The next good message after garbage is found.
  const std::string good = CommandMessage("Quorvex", "|SEND_TEXT ok");
  struct Garbage {
    const char* name;
    std::string before;
    size_t refusals;
  } garbage[] = {
      {"garbage lines", "abc\r\ndef\r\n", 2},
      {"a message cut off", "Quorvex:\r\n|SEND_TE", 1},
      {"a header alone", "Quorvex:\r\n", 1},
      {"binary bytes", std::string("\x01\x02\xff\x00|", 5), 1},
      {"a stranger's header", "Other:\r\n", 1},
  };
  for (const Garbage& c : garbage) {
    ServerDecoder d("Quorvex");
    const auto got = FeedAll(d, {c.before, good});
    ASSERT_EQ(got.size(), c.refusals + 1) << c.name << ": " << Commands(got);
    for (size_t i = 0; i < c.refusals; ++i) EXPECT_EQ(got[i].kind, Kind::kRefused) << c.name;
    EXPECT_EQ(Commands({got.back()}), "C[|SEND_TEXT ok]") << c.name;
  }
  // An overlong message, in one receive or in small pieces: refused once, not
  // cut, then the next runs.
  const std::string huge = "|SEND_TEXT " + std::string(kMaxMessageBytes, 'y');
  for (size_t piece : {huge.size() + 20, size_t{1000}}) {
    ServerDecoder d("Quorvex");
    const std::string bytes = CommandMessage("Quorvex", huge) + good;
    std::vector<Received> out;
    for (size_t i = 0; i < bytes.size(); i += piece) d.Feed(bytes.substr(i, piece), out);
    EXPECT_EQ(Commands(out), "R[" + OverlongText() + "]C[|SEND_TEXT ok]") << piece;
    EXPECT_LE(d.Pending(), kMaxMessageBytes);
  }
  // Endless bytes without a line break keep the buffer bounded.
  ServerDecoder d("Quorvex");
  std::vector<Received> out;
  for (int i = 0; i < 300; ++i) {
    d.Feed(std::string(1000, 'z'), out);
    ASSERT_LE(d.Pending(), kMaxMessageBytes);
  }
  EXPECT_EQ(out.size(), 1u);
}

TEST(ClientReports, KeepsTheLatestWholeReports) {
  ClientReports r;
  r.Feed("Quorvex:SEL AFR1");
  EXPECT_EQ(r.Text(), "");
  r.Feed("234\rQuorvex:I/O DLH4AB\t\n\r");
  EXPECT_EQ(r.Text(), "Quorvex:SEL AFR1234\r\r\nQuorvex:I/O DLH4AB\t\n\r\r\n");
  for (int i = 0; i < 100; ++i) r.Feed("Quorvex:SEL X" + std::to_string(i) + "\r");
  ASSERT_EQ(r.Reports().size(), ClientReports::kMaxReports);
  EXPECT_EQ(r.Reports().back(), "Quorvex:SEL X99\r");
  r.Feed("Quorvex:I/O " + std::string(10000, 'q') + "\r");
  EXPECT_EQ(r.Reports().back().size(), ClientReports::kMaxReportChars);
  EXPECT_LE(r.Text().size(), ClientReports::kMaxReports * (ClientReports::kMaxReportChars + 2));
  r.Clear();
  EXPECT_EQ(r.Text(), "");
}

TEST(SocketErrors, NumbersHaveTheirTexts) {
  struct Case {
    int32_t number;
    const char* text;
  } cases[] = {
      {10061, "Connection refused."},
      {10048, "Address already in use."},
      {11004, "Valid name, no data record of requested type."},
      {40020, "Invalid operation at current state"},
      {40029, "Unknown index."},
      {7, "Out of memory"},
      {10059, "Unknown error."},
      {0, "Unknown error."},
  };
  for (const Case& c : cases) EXPECT_EQ(SocketErrorText(c.number), c.text) << c.number;
  const SocketResult r = SocketFailure(10048, "Listen");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.source, "CSocketPlus.Listen");
  EXPECT_EQ(r.description, "Address already in use.");
}

}  // namespace
}  // namespace qv::remote
