// CSocketPlus: an event-driven TCP socket object over Winsock. One object
// holds several socket elements, each named by a text index; every property
// and method takes that index first. Winsock reports what happens on a
// socket as window messages (WSAAsyncSelect) to one hidden message window of
// the process, which hands each one to the object that owns the socket; the
// object raises its events from there. Everything runs on the user-interface
// thread: no threads, and no blocking call once a socket exists.
//
// Rules worth knowing:
// - Methods report argument and state errors as a SocketResult (numbers and
//   texts of remote/socket_errors.h); failures inside a notification arrive
//   as the onError event.
// - When the peer closes, every byte it sent before is delivered
//   (onDataArrival) before onCloseSck.
// - An event handler may call any method of the object, but must not destroy
//   the object itself.
#pragma once

#include <winsock2.h>
// After winsock2.h:
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "remote/socket_errors.h"

namespace qv::remote {

class CSocketPlus {
 public:
  CSocketPlus();
  ~CSocketPlus();
  CSocketPlus(const CSocketPlus&) = delete;
  CSocketPlus& operator=(const CSocketPlus&) = delete;

  // Events; the element's index comes first.
  std::function<void(const std::string& index)> onCloseSck;
  std::function<void(const std::string& index)> onConnect;
  std::function<void(const std::string& index, uintptr_t requestID)> onConnectionRequest;
  std::function<void(const std::string& index, size_t bytesTotal)> onDataArrival;
  // `cancelDisplay` comes in true; a handler that sets it false gets a
  // message box with the description, titled with the source.
  std::function<void(const std::string& index, int32_t number, const std::string& description,
                     const std::string& source, bool& cancelDisplay)>
      onError;
  std::function<void(const std::string& index)> onSendComplete;
  std::function<void(const std::string& index, size_t bytesSent, size_t bytesRemaining)>
      onSendProgress;

  // Elements.
  SocketResult ArrayAdd(const std::string& index);
  SocketResult ArrayRemove(const std::string& index);
  bool ArrayIndexInUse(const std::string& index) const;
  size_t ArrayCount() const { return elements_.size(); }

  // Properties (an unknown index reads as a closed, empty element).
  int32_t State(const std::string& index) const;
  std::string Tag(const std::string& index) const;
  void SetTag(const std::string& index, std::string_view tag);
  std::string RemoteHost(const std::string& index) const;
  int32_t RemotePort(const std::string& index) const;
  std::string RemoteHostIP(const std::string& index) const;
  // The bound port once bound, else the port asked for.
  int32_t LocalPort(const std::string& index) const;
  SocketResult SetLocalPort(const std::string& index, int32_t port);
  // The connection's local address when connected, otherwise the first
  // address of this computer's name.
  std::string LocalIP(const std::string& index) const;
  static std::string LocalHostName();
  size_t BytesReceived(const std::string& index) const;
  uintptr_t SocketHandle(const std::string& index) const;

  // Methods. Ports are the texts or numbers the callers have; a port that is
  // not a number from 1 (0 for Bind) to 65535 is refused with 40014.
  SocketResult Bind(const std::string& index, int32_t port, const std::string& address);
  SocketResult Listen(const std::string& index);
  SocketResult Connect(const std::string& index, const std::string& host, int32_t port);
  SocketResult Accept(const std::string& index, uintptr_t requestID);
  SocketResult SendData(const std::string& index, std::string_view bytes);
  // Everything received so far (or at most maxLen bytes) as text; GetData
  // takes it out of the buffer, PeekData leaves it.
  SocketResult GetData(const std::string& index, std::string& data, int64_t maxLen = -1);
  SocketResult PeekData(const std::string& index, std::string& data, int64_t maxLen = -1);
  SocketResult CloseSck(const std::string& index);

  // Called by the message window only.
  void WndProc(UINT msg, WPARAM wp, LPARAM lp);

 private:
  struct Element {
    SOCKET socket = INVALID_SOCKET;
    int32_t state = sckClosed;
    std::string tag, remoteHost, remoteHostIP, localIP;
    int32_t remotePort = 0, localPort = 0, boundPort = 0;
    std::string sendBuffer, recvBuffer;
    int sendChunk = 0, recvChunk = 0;
    HANDLE lookup = nullptr;
    std::vector<char> hostEntry;  // the name look-up's answer
  };

  Element* Find(const std::string& index);
  const Element* Find(const std::string& index) const;
  const std::string* IndexOf(SOCKET s) const;
  SocketResult CreateSocket(Element& e, const std::string& operation);
  SocketResult BindInternal(Element& e, int32_t port, const std::string& address);
  void ReadOptions(Element& e);
  void ReadEnds(Element& e);
  void ConnectToIP(const std::string& index, uint32_t address);
  void DestroySocket(Element& e);
  void RaiseError(const std::string& index, int32_t number, std::string_view operation);
  void SendBuffered(const std::string& index);
  // Receives what the socket holds; returns false when the peer has closed.
  bool ReceiveAvailable(Element& e, bool all, size_t& received, int& error);
  void OnSocketMessage(SOCKET s, int event, int error);
  void OnLookupDone(HANDLE task, int error);
  void OnAccept(const std::string& index);
  void OnPeerClosed(const std::string& index);
  SocketResult ReceiveData(const std::string& index, std::string& data, int64_t maxLen,
                           bool remove);

  std::map<std::string, Element> elements_;
  bool acceptedElsewhere_ = false;
};

}  // namespace qv::remote
