// A blocking client socket of the test on 127.0.0.1, for the server tests.
#pragma once

#include <winsock2.h>

#include <functional>
#include <string>

namespace qv::e2e {

class LoopbackClient {
 public:
  LoopbackClient();
  ~LoopbackClient();
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  bool Connect(int port);
  // Sends all of `bytes`; false when the connection failed on the way.
  bool Send(const std::string& bytes);
  // Reads what arrives into `received` until `done` holds or `ms` pass.
  bool ReceiveUntil(const std::function<bool(const std::string&)>& done, DWORD ms);
  void Close();

  std::string received;

 private:
  SOCKET s_ = INVALID_SOCKET;
};

}  // namespace qv::e2e
