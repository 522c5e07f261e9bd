#include "tools/ivac_standin/event_log.h"

namespace qv::standin {

bool EventLog::Open(const std::string& path) {
  if (path.empty()) return true;
  file_.Reset(CreateFileA(path.c_str(), FILE_APPEND_DATA,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file_);
}

void EventLog::Write(std::string_view event, const std::vector<Field>& fields) {
  const std::string line =
      EventLine(++seq_, static_cast<int64_t>(GetTickCount() - start_), event, fields);
  if (file_) {
    // One unbuffered WriteFile per line: the line reaches the file whole and
    // other processes read it at once; a crash of the stand-in loses nothing
    // that was logged. (No FlushFileBuffers: a disk sync per event would make
    // window drags crawl, and readers do not need it.)
    const std::string data = line + "\n";
    DWORD written = 0;
    WriteFile(file_.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  }
  if (observer_) observer_(line);
}

}  // namespace qv::standin
