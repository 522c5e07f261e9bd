#include "remote/protocol.h"

#include <utility>

namespace qv::remote {

namespace {

bool IsControl(unsigned char c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

bool HasControl(std::string_view s) {
  for (char c : s)
    if (IsControl(static_cast<unsigned char>(c))) return true;
  return false;
}

std::string Refusal(std::string_view what) {
  std::string s(kRefusedPrefix);
  s += Printable(what);
  return s;
}

void Refuse(std::vector<Received>& out, std::string text) {
  out.push_back({Received::Kind::kRefused, std::move(text)});
}

// The header line without its closing ":".
std::string_view NameOf(std::string_view header) {
  return header.empty() ? header : header.substr(0, header.size() - 1);
}

}  // namespace

std::string CommandMessage(std::string_view serverName, std::string_view payload) {
  std::string m;
  m.reserve(serverName.size() + payload.size() + 5);
  m += serverName;
  m += ":\r\n";
  m += payload;
  m += "\r\n";
  return m;
}

std::string ReportMessage(std::string_view serverName, std::string_view report) {
  std::string m(serverName);
  m += ':';
  m += report;
  return m;
}

std::string OverlongText() {
  return std::string(kRefusedPrefix) + "message longer than 65536 bytes refused";
}

std::string ControlBytesText() {
  return std::string(kRefusedPrefix) + "message with control characters refused";
}

std::string Printable(std::string_view text, size_t limit) {
  std::string s;
  const size_t n = text.size() < limit ? text.size() : limit;
  s.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    s += IsControl(c) ? '?' : static_cast<char>(c);
  }
  return s;
}

// ---------------------------------------------------------------------------

ServerDecoder::ServerDecoder(std::string serverName)
    : name_(std::move(serverName)), header_(name_ + ":") {}

void ServerDecoder::Reset() {
  buffer_.clear();
  pendingHeader_.clear();
  havePendingHeader_ = false;
  skipping_ = false;
}

bool ServerDecoder::TakeLine(std::string& line) {
  const size_t end = buffer_.find("\r\n");
  if (end == std::string::npos) return false;
  line.assign(buffer_, 0, end);
  buffer_.erase(0, end + 2);
  return true;
}

bool ServerDecoder::EndsWithOwnHeader(std::string_view line) const {
  return !name_.empty() && line.size() >= header_.size() &&
         line.substr(line.size() - header_.size()) == header_;
}

void ServerDecoder::Feed(std::string_view bytes, std::vector<Received>& out) {
  buffer_.append(bytes.data(), bytes.size());
  std::string line;
  while (TakeLine(line)) {
    if (skipping_) {
      // The tail of a message that was refused as too long.
      skipping_ = false;
      continue;
    }
    OnLine(line, out);
  }
  if (skipping_) {
    // Still inside the refused message; a CR may begin the CR LF that ends it.
    const bool cr = !buffer_.empty() && buffer_.back() == '\r';
    buffer_.assign(cr ? "\r" : "");
    return;
  }
  // The part of a line that has come so far (a CR at its end may begin the
  // CR LF), measured as OnLine measures a whole line.
  size_t partial = buffer_.size();
  if (partial > 0 && buffer_.back() == '\r') --partial;
  const size_t size = havePendingHeader_ ? pendingHeader_.size() + partial + 4 : partial + 2;
  if (size > kMaxMessageBytes) {
    Refuse(out, OverlongText());
    const bool cr = !buffer_.empty() && buffer_.back() == '\r';
    buffer_.assign(cr ? "\r" : "");
    pendingHeader_.clear();
    havePendingHeader_ = false;
    skipping_ = true;
  }
}

void ServerDecoder::OnLine(const std::string& line, std::vector<Received>& out) {
  const std::string_view view(line);
  if (!havePendingHeader_) {
    if (view.empty()) return;  // a blank line between messages
    if (view.size() + 2 > kMaxMessageBytes) {
      Refuse(out, OverlongText());
      return;
    }
    if (view.back() != ':') {
      Refuse(out, Refusal(view));
      return;
    }
    havePendingHeader_ = true;
    pendingHeader_ = line;
    // Garbage glued to the front of this server's header: a name never holds
    // a control byte or "|", so such a prefix cannot be another server's name.
    if (view.size() > header_.size() && EndsWithOwnHeader(view)) {
      const std::string_view prefix = view.substr(0, view.size() - header_.size());
      if (HasControl(prefix) || prefix.find('|') != std::string_view::npos) {
        Refuse(out, Refusal(prefix));
        pendingHeader_ = header_;
      }
    }
    return;
  }

  if (pendingHeader_.size() + line.size() + 4 > kMaxMessageBytes) {
    havePendingHeader_ = false;
    pendingHeader_.clear();
    Refuse(out, OverlongText());
    return;
  }
  if (EndsWithOwnHeader(view)) {
    // A header where the payload belongs: the previous message was cut off.
    std::string cut(NameOf(pendingHeader_));
    cut += view.substr(0, view.size() - header_.size());
    Refuse(out, Refusal(cut));
    pendingHeader_ = header_;
    return;
  }

  havePendingHeader_ = false;
  const std::string header = std::move(pendingHeader_);
  pendingHeader_.clear();
  if (header != header_) {
    std::string stranger(NameOf(header));
    stranger += line;
    Refuse(out, Refusal(stranger));
    return;
  }
  if (HasControl(view)) {
    Refuse(out, ControlBytesText());
    return;
  }
  out.push_back({Received::Kind::kCommand, line});
}

// ---------------------------------------------------------------------------

void ClientReports::Feed(std::string_view bytes) {
  pending_.append(bytes.data(), bytes.size());
  size_t start = 0;
  for (size_t cr = pending_.find('\r'); cr != std::string::npos; cr = pending_.find('\r', start)) {
    std::string_view report(pending_.data() + start, cr + 1 - start);
    start = cr + 1;
    // A peer that ends its reports with CR LF: the LF belongs to the last one.
    if (!report.empty() && report.front() == '\n') report.remove_prefix(1);
    if (report.size() <= 1) continue;
    std::string kept(report.substr(0, report.size() - 1).substr(0, kMaxReportChars - 1));
    kept += '\r';
    reports_.push_back(std::move(kept));
    if (reports_.size() > kMaxReports) reports_.erase(reports_.begin());
  }
  pending_.erase(0, start);
  // A report that never ends is dropped rather than kept for ever.
  if (pending_.size() > kMaxMessageBytes) pending_.clear();
}

void ClientReports::Clear() {
  pending_.clear();
  reports_.clear();
}

std::string ClientReports::Text() const {
  std::string s;
  for (const std::string& r : reports_) {
    s += r;
    s += "\r\n";
  }
  return s;
}

}  // namespace qv::remote
