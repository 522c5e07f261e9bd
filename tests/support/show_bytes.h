// Shows control and non-ASCII bytes of a text readably in failure messages
// ("a=1\r\n" as a=1\r\n, NUL as \0, others as \xNN).
#pragma once

#include <string>

namespace qv::testing {

inline std::string ShowBytes(const std::string& s) {
  static const char* const kHex = "0123456789abcdef";
  std::string o;
  for (unsigned char c : s) {
    if (c == '\r') {
      o += "\\r";
    } else if (c == '\n') {
      o += "\\n";
    } else if (c == 0) {
      o += "\\0";
    } else if (c < 32 || c >= 127) {
      o += "\\x";
      o += kHex[c >> 4];
      o += kHex[c & 15];
    } else {
      o += static_cast<char>(c);
    }
  }
  return o;
}

}  // namespace qv::testing
