// The address check of the remote settings: a dotted IPv4 address or an IPv6
// address in the usual colon form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Exactly four parts separated by ".", each a byte value 0 to 255.
bool IsIPv4Address(std::string_view text);

// The eight groups of an IPv6 text, each left-padded with "0" to four
// digits and joined with ":", or nothing when the text is not valid. The
// text is lower-cased and trimmed first; one "::" stands for the missing
// groups.
std::optional<std::string> NormaliseIPv6(std::string_view text);

bool IsValidAddress(std::string_view text);

}  // namespace qv
