#include "win32/support/loopback_client.h"

namespace qv::e2e {

LoopbackClient::LoopbackClient() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}

LoopbackClient::~LoopbackClient() {
  Close();
  WSACleanup();
}

bool LoopbackClient::Connect(int port) {
  Close();
  s_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(port));
  a.sin_addr.s_addr = inet_addr("127.0.0.1");
  return connect(s_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

bool LoopbackClient::Send(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const int n = send(s_, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool LoopbackClient::ReceiveUntil(const std::function<bool(const std::string&)>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done(received)) {
    if (GetTickCount() - start > ms) return false;
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s_, &set);
    timeval tv{0, 50000};
    if (select(0, &set, nullptr, nullptr, &tv) == 1) {
      char buf[4096];
      const int n = recv(s_, buf, sizeof buf, 0);
      if (n <= 0) return done(received);
      received.append(buf, static_cast<size_t>(n));
    }
  }
  return true;
}

void LoopbackClient::Close() {
  if (s_ != INVALID_SOCKET) closesocket(s_);
  s_ = INVALID_SOCKET;
}

}  // namespace qv::e2e
