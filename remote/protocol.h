// What travels between a client panel and the server window over one TCP
// connection, and how each end reads it back.
//
// A command message (client to server) is the server name, ":", CR LF, the
// button's macro value (an inline script beginning with "|", or the bare
// name of a macro file), CR LF. A monitor report (server to client) is the
// server name, ":", the report ("SEL " and a callsign, or "I/O " and the
// In/Out list text) and one CR.
//
// TCP delivers a byte stream, not messages: one receive may hold half a
// message or several. Each end therefore keeps a buffer per connection and
// takes whole messages off its front; what is left waits for the next
// receive. A buffer never grows past kMaxMessageBytes: a message that would
// is refused as a whole, never cut and run. Portable: no Winsock here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv::remote {

inline constexpr size_t kMaxMessageBytes = 64 * 1024;

// The command message for `payload` (the trimmed macro value).
std::string CommandMessage(std::string_view serverName, std::string_view payload);

// The monitor report message; `report` already ends with its CR.
std::string ReportMessage(std::string_view serverName, std::string_view report);

// What the server took off its buffer: a command to run, or a refusal whose
// status text the server shows instead.
struct Received {
  enum class Kind { kCommand, kRefused };
  Kind kind = Kind::kRefused;
  std::string text;  // the command (the payload as sent), or the status text
};

// Status texts of the refusals. A message under another server name shows
// "??? " and that name and payload, as a stranger's message always did.
inline constexpr std::string_view kRefusedPrefix = "??? ";
std::string OverlongText();
std::string ControlBytesText();

// The server's side of the stream: takes command messages apart.
//
// A message is accepted only when its first line is exactly the server's
// name followed by ":"; the payload is delivered exactly as sent (colons,
// backslashes and a mention of the name inside it stay). A payload that
// holds NUL or another control byte (TAB apart) is refused. Lines that are
// no header are refused one by one, so the stream finds its way back to the
// next good message after garbage; a header of this server that turns up
// where a payload or a header was expected (the rest of a message that was
// cut off) starts a new message, and what came before it is refused.
class ServerDecoder {
 public:
  explicit ServerDecoder(std::string serverName);

  // Appends one receive and hands out every message it completes, in order.
  void Feed(std::string_view bytes, std::vector<Received>& out);
  // The connection ended: a message that is not complete is dropped unrun.
  void Reset();
  size_t Pending() const { return buffer_.size(); }

 private:
  bool TakeLine(std::string& line);
  void OnLine(const std::string& line, std::vector<Received>& out);
  bool EndsWithOwnHeader(std::string_view line) const;

  std::string name_;
  std::string header_;  // name_ + ":"
  std::string buffer_;
  std::string pendingHeader_;  // a header line waiting for its payload
  bool havePendingHeader_ = false;
  bool skipping_ = false;  // after an overlong message: drop through the next CR LF
};

// The client's side: the reports received since the connection was made,
// as its status line shows them. Each complete report (ended by its CR) is
// kept followed by CR LF; only the latest kMaxReports are kept, each cut to
// kMaxReportChars, so the status line never grows without bound.
class ClientReports {
 public:
  static constexpr size_t kMaxReports = 6;
  static constexpr size_t kMaxReportChars = 512;

  void Feed(std::string_view bytes);
  void Clear();
  // The reports, oldest first, each followed by CR LF.
  std::string Text() const;
  const std::vector<std::string>& Reports() const { return reports_; }

 private:
  std::string pending_;
  std::vector<std::string> reports_;
};

// A text safe for a one-line status: control bytes become "?", and at most
// `limit` characters are kept.
std::string Printable(std::string_view text, size_t limit = 200);

}  // namespace qv::remote
