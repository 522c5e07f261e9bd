// Text rules shared by every part of the program: how numbers are read from
// profile values and fields, the two kinds of trimming, case-insensitive
// comparison, and the pattern match used for window captions and selection
// items. Portable: no Win32 here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The leading-number rule: leading blanks are skipped, then the longest
// prefix that forms a decimal number (optional sign, digits, one "." as the
// decimal point) is taken; "&H" followed by hexadecimal digits is a 32-bit
// two's-complement hexadecimal number. No number gives 0. A comma is never a
// decimal point, whatever the locale.
double LeadingNumber(std::string_view text);

// Nearest integer, halves to the even neighbour (12.5 -> 12, 13.5 -> 14),
// saturated to the 32-bit range (NaN gives 0).
int32_t RoundHalfEven(double value);

// LeadingNumber then RoundHalfEven: how every integer setting is read.
int32_t LeadingInt(std::string_view text);

// Integer part, rounded towards minus infinity and saturated (Int()).
int32_t FloorInt(double value);

// Trims spaces only (the classic Trim).
std::string TrimSpaces(std::string_view text);
std::string TrimLeftSpaces(std::string_view text);
std::string TrimRightSpaces(std::string_view text);

// Trims blanks: spaces and tabs.
std::string TrimBlanks(std::string_view text);
std::string TrimRightBlanks(std::string_view text);

// ASCII case mapping; bytes above 127 are left as they are.
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Replaces every occurrence of `what` with `with`.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

// Decimal text of an integer, and the "0000000000000" number format used
// for colours (at least 13 digits, zero-padded, "-" before negative values).
std::string DecimalText(int64_t value);
std::string Format13(int64_t value);

// The pattern match: "*" any run of characters, "?" one character, "#" one
// digit, "[list]" one character of the list (ranges "a-z", "!" first
// negates). Case-sensitive: callers upper-case both sides when case must not
// matter. A malformed pattern (a "[" without its "]") matches nothing; the
// matcher never throws.
bool Like(std::string_view text, std::string_view pattern);

}  // namespace qv
