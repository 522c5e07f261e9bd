// The stand-in's event log: one JSON object per line (event.h), written and
// flushed to the file as each effect happens, so that a test in another
// process reads it at once. The file is shared for reading and writing.
#pragma once

#include "tools/ivac_standin/event.h"
#include "tools/ivac_standin/win_util.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::standin {

class EventLog {
 public:
  // Appends to `path`; "" logs nowhere (the events still reach the observer).
  bool Open(const std::string& path);

  void Write(std::string_view event, const std::vector<Field>& fields = {});

  // Called with every line written (the main window shows the last one).
  void SetObserver(std::function<void(const std::string& line)> observer) {
    observer_ = std::move(observer);
  }

 private:
  KernelHandle file_;
  int64_t seq_ = 0;
  DWORD start_ = GetTickCount();
  std::function<void(const std::string&)> observer_;
};

}  // namespace qv::standin
