#include "startup/log.h"

#include <cstdio>
#include <ctime>

#include "platform/files.h"

namespace qv {

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string DumpFilePath(std::string_view baseFolder, const Date& d) {
  char name[32];
  std::snprintf(name, sizeof name, "\\Dump_%04d%02d%02d.TXT", d.year % 10000, d.month % 100,
                d.day % 100);
  return std::string(baseFolder) + name;
}

void LogLineTo(std::string_view baseFolder, std::string_view text, const Date& date) {
  std::string line(text);
  line += "\r\n";
  files::Append(DumpFilePath(baseFolder, date), line);
}

void LogLine(std::string_view baseFolder, std::string_view text) {
  LogLineTo(baseFolder, text, Today());
}

}  // namespace qv
