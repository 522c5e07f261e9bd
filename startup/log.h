// The diagnostic log: one plain line per call, appended to the day's file
// base folder & "\Dump_" & YYYYMMDD & ".TXT". Callers test the Debug setting
// first; logging itself never fails visibly.
#pragma once

#include <string>
#include <string_view>

namespace qv {

struct Date {
  int year = 0, month = 0, day = 0;
};

Date Today();  // local date

std::string DumpFilePath(std::string_view baseFolder, const Date& date);

// Appends the text and CR LF to the day's file: open, append, close. The
// text is written unchanged, line breaks and all. Errors are swallowed.
void LogLineTo(std::string_view baseFolder, std::string_view text, const Date& date);
void LogLine(std::string_view baseFolder, std::string_view text);

}  // namespace qv
