// The scriptcheck program's command line, kept in the core so that its tests
// run it with their own arguments and streams on every build.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qv::scriptcheck {

// Exit codes.
inline constexpr int kClean = 0;     // nothing found
inline constexpr int kFindings = 1;  // at least one line does nothing
inline constexpr int kTrouble = 2;   // bad arguments, or a file that cannot be read

// Runs the checker over the files named in `args` (without the program
// name); findings go to `out`, usage and errors to `err`.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qv::scriptcheck
