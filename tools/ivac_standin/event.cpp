#include "tools/ivac_standin/event.h"

#include "platform/text.h"

namespace qv::standin {

namespace {

void AppendQuoted(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c >= 0x7f) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

void AppendValue(std::string& out, const Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) {
    AppendQuoted(out, *s);
  } else if (const auto* i = std::get_if<int64_t>(&v)) {
    out += DecimalText(*i);
  } else if (const auto* b = std::get_if<bool>(&v)) {
    out += *b ? "true" : "false";
  } else {
    out += '[';
    bool first = true;
    for (const std::string& item : std::get<std::vector<std::string>>(v)) {
      if (!first) out += ',';
      first = false;
      AppendQuoted(out, item);
    }
    out += ']';
  }
}

// A small reader for exactly what EventLine writes (and hand-written
// equivalents with blanks between the tokens).
class Reader {
 public:
  explicit Reader(std::string_view text) : t_(text) {}

  bool Object(Event& e) {
    if (!Take('{')) return false;
    Blanks();
    if (Take('}')) return AtEnd();
    for (;;) {
      std::string name;
      Value value;
      if (!String(name) || !Take(':') || !AnyValue(value)) return false;
      e.fields[name] = std::move(value);
      if (Take(',')) continue;
      if (Take('}')) return AtEnd();
      return false;
    }
  }

 private:
  void Blanks() {
    while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\r')) ++i_;
  }
  bool Take(char c) {
    Blanks();
    if (i_ < t_.size() && t_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  bool AtEnd() {
    Blanks();
    return i_ == t_.size();
  }
  bool Word(std::string_view w) {
    if (t_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }
  static int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }
  bool String(std::string& out) {
    if (!Take('"')) return false;
    while (i_ < t_.size()) {
      const char c = t_[i_++];
      if (c == '"') return true;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (i_ >= t_.size()) return false;
      const char e = t_[i_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          if (i_ + 4 > t_.size()) return false;
          int v = 0;
          for (int k = 0; k < 4; ++k) {
            const int h = Hex(t_[i_ + k]);
            if (h < 0) return false;
            v = v * 16 + h;
          }
          i_ += 4;
          if (v > 0xff) return false;  // only what the writer produces
          out += static_cast<char>(v);
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }
  bool AnyValue(Value& v) {
    Blanks();
    if (i_ >= t_.size()) return false;
    const char c = t_[i_];
    if (c == '"') {
      std::string s;
      if (!String(s)) return false;
      v = std::move(s);
      return true;
    }
    if (c == '[') {
      ++i_;
      std::vector<std::string> items;
      if (Take(']')) {
        v = std::move(items);
        return true;
      }
      for (;;) {
        std::string s;
        if (!String(s)) return false;
        items.push_back(std::move(s));
        if (Take(',')) continue;
        if (Take(']')) break;
        return false;
      }
      v = std::move(items);
      return true;
    }
    if (Word("true")) {
      v = true;
      return true;
    }
    if (Word("false")) {
      v = false;
      return true;
    }
    const size_t start = i_;
    if (i_ < t_.size() && t_[i_] == '-') ++i_;
    while (i_ < t_.size() && t_[i_] >= '0' && t_[i_] <= '9') ++i_;
    if (i_ == start || (i_ == start + 1 && t_[start] == '-')) return false;
    int64_t n = 0;
    for (size_t k = (t_[start] == '-') ? start + 1 : start; k < i_; ++k) n = n * 10 + (t_[k] - '0');
    v = t_[start] == '-' ? -n : n;
    return true;
  }

  std::string_view t_;
  size_t i_ = 0;
};

}  // namespace

std::string EventLine(int64_t seq, int64_t ms, std::string_view event,
                      const std::vector<Field>& fields) {
  std::string out = "{\"seq\":" + DecimalText(seq) + ",\"ms\":" + DecimalText(ms) + ",\"event\":";
  AppendQuoted(out, event);
  for (const Field& f : fields) {
    out += ',';
    AppendQuoted(out, f.name);
    out += ':';
    AppendValue(out, f.value);
  }
  out += '}';
  return out;
}

std::string Event::Text(const std::string& name) const {
  const auto it = fields.find(name);
  if (it == fields.end()) return "";
  const Value& v = it->second;
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* i = std::get_if<int64_t>(&v)) return DecimalText(*i);
  if (const auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
  return "";
}

int64_t Event::Int(const std::string& name, int64_t def) const {
  const auto it = fields.find(name);
  if (it == fields.end()) return def;
  if (const auto* i = std::get_if<int64_t>(&it->second)) return *i;
  return def;
}

bool Event::Flag(const std::string& name) const {
  const auto it = fields.find(name);
  if (it == fields.end()) return false;
  if (const auto* b = std::get_if<bool>(&it->second)) return *b;
  return false;
}

std::vector<std::string> Event::List(const std::string& name) const {
  const auto it = fields.find(name);
  if (it == fields.end()) return {};
  if (const auto* l = std::get_if<std::vector<std::string>>(&it->second)) return *l;
  return {};
}

std::optional<Event> ParseEventLine(std::string_view line) {
  Event e;
  Reader r(line);
  if (!r.Object(e)) return std::nullopt;
  return e;
}

}  // namespace qv::standin
