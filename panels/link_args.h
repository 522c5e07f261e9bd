// Word splitting of a LINK argument with the command-line rules of the
// system's CommandLineToArgvW, implemented here so that the portable core and
// its tests split exactly as the program does on Windows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::panels {

// Splits `line` into words. Blanks (space, tab) separate words outside
// quotes; a quote toggles quoting and is removed; 2n backslashes before a
// quote give n backslashes and the quote acts, 2n+1 give n backslashes and a
// literal quote; backslashes not before a quote are kept; a doubled quote
// inside quotes is a literal quote. The first word is read like a program
// path: it ends at the next blank outside quotes and backslashes in it are
// never special. An empty line gives no words (the system function gives the
// program's own path instead; callers treat a blank argument as nothing).
std::vector<std::string> SplitCommandLine(std::string_view line);

// The LINK parameter text: every word after the first, each followed by
// one space.
std::string JoinParameters(const std::vector<std::string>& words);

}  // namespace qv::panels
