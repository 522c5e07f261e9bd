// The remote link's own cost: from a command message leaving the client's
// socket to the server window having run it (its status line shows the
// command), over loopback, against a plain one-byte socket round trip on
// loopback measured in the same run. No IvAc runs, so every command stops at
// the interpreter's start check: what is left is the link itself (framing,
// queue, window messages, the check for IvAc and the status line).
#include <winsock2.h>
// After winsock2.h:
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "remote/protocol.h"
#include "win32/support/e2e.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Spread {
  double min, median, p90, max;
};

Spread SpreadOf(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  const size_t n = ms.size();
  return {ms.front(), ms[n / 2], ms[n * 9 / 10], ms.back()};
}

void Print(const char* name, const Spread& s) {
  std::printf("  %-34s %9.3f %9.3f %9.3f %9.3f\n", name, s.min, s.median, s.p90, s.max);
}

SOCKET Connected(int port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(port));
  a.sin_addr.s_addr = inet_addr("127.0.0.1");
  if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  const BOOL on = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  return s;
}

// One byte there and back between two sockets of this process.
std::vector<double> PlainRoundTrips(int runs) {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = inet_addr("127.0.0.1");
  bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
  int len = sizeof a;
  getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
  listen(listener, 1);
  SOCKET client = Connected(ntohs(a.sin_port));
  SOCKET server = accept(listener, nullptr, nullptr);
  std::vector<double> ms;
  char byte = 'x';
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    send(client, &byte, 1, 0);
    recv(server, &byte, 1, 0);
    send(server, &byte, 1, 0);
    recv(client, &byte, 1, 0);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  closesocket(client);
  closesocket(server);
  closesocket(listener);
  return ms;
}

std::string StatusOf(HWND server) { return qv::e2e::WindowText(GetDlgItem(server, 205)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s quorvex.exe [runs]\n", argv[0]);
    return 2;
  }
  const std::string quorvex = qv::e2e::WindowsPath(argv[1]);
  const int runs = argc > 2 ? std::max(10, std::atoi(argv[2])) : 300;
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);

  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string root =
      std::string(temp) + "qv_remote_bench_" + std::to_string(GetCurrentProcessId());
  const int port = 24000 + static_cast<int>(GetCurrentProcessId() % 4000);
  std::filesystem::create_directories(root + "\\Quorvex\\Config");
  std::ofstream(root + "\\Quorvex\\Config\\Config.ini", std::ios::binary)
      << "[default]\r\nSleep=0\r\nPort=" << port << "\r\nServerBindAddress=127.0.0.1\r\n";

  int rc = 1;
  {
    qv::e2e::Process server;
    HWND window = nullptr;
    SOCKET client = INVALID_SOCKET;
    if (server.Start(quorvex, "*SERVER", root) && qv::e2e::WaitFor(
                                                      [&] {
                                                        const auto w = qv::e2e::TopWindowsOf(
                                                            server.Id(), "QuorvexServer", "");
                                                        window = w.empty() ? nullptr : w.front();
                                                        return window != nullptr;
                                                      },
                                                      20000)) {
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(201, BN_CLICKED), 0);
      qv::e2e::WaitFor([&] { return StatusOf(window).rfind("Listening", 0) == 0; }, 5000);
      client = Connected(port);
    }
    if (client != INVALID_SOCKET &&
        qv::e2e::WaitFor([&] { return StatusOf(window).rfind("Connection from", 0) == 0; }, 5000)) {
      std::vector<double> link;
      for (int i = 0; i <= runs; ++i) {
        const std::string payload = "|SEND_TEXT " + std::to_string(i);
        const std::string message = qv::remote::CommandMessage("Quorvex", payload);
        const auto start = Clock::now();
        send(client, message.data(), static_cast<int>(message.size()), 0);
        while (StatusOf(window) != payload) {
        }
        if (i > 0)  // the first one pays for warming up
          link.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      }
      const Spread plain = SpreadOf(PlainRoundTrips(runs));
      const Spread remote = SpreadOf(link);
      std::printf("Remote link over loopback, %d runs (ms)\n", runs);
      std::printf("  %-34s %9s %9s %9s %9s\n", "case", "min", "median", "p90", "max");
      Print("plain socket round trip", plain);
      Print("command sent to command run", remote);
      std::printf("  command / round trip (median): %.1fx\n", remote.median / plain.median);
      rc = 0;
    } else {
      std::fprintf(stderr, "the server did not take the connection\n");
    }
    if (client != INVALID_SOCKET) closesocket(client);
  }
  std::filesystem::remove_all(root);
  return rc;
}
