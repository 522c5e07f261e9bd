#include "remote/win32/socket_plus.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <set>
#include <utility>

namespace qv::remote {

namespace {

constexpr UINT kLookupMessage = 0x8000;  // WM_APP: a name look-up finished
constexpr UINT kSocketMessage = 0x8001;  // a socket notification
constexpr long kEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
constexpr int kDefaultChunk = 8192;

// What the process shares between its socket objects: Winsock itself, the
// message window, and who owns which socket and look-up.
struct Module {
  int objects = 0;
  HWND window = nullptr;
  std::map<SOCKET, CSocketPlus*> sockets;
  std::map<HANDLE, CSocketPlus*> lookups;
  std::set<SOCKET> waiting;  // accepted connections no Accept has taken yet
};

Module& M() {
  static Module m;
  return m;
}

LRESULT CALLBACK MessageWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kSocketMessage) {
    const auto it = M().sockets.find(static_cast<SOCKET>(wp));
    if (it != M().sockets.end()) it->second->WndProc(msg, wp, lp);
    return 0;
  }
  if (msg == kLookupMessage) {
    const auto it = M().lookups.find(reinterpret_cast<HANDLE>(wp));
    if (it != M().lookups.end()) it->second->WndProc(msg, wp, lp);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

HWND MessageWindow() {
  Module& m = M();
  if (m.window) return m.window;
  static const char kClass[] = "QuorvexSocketWindow";
  WNDCLASSA wc{};
  wc.lpfnWndProc = MessageWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  m.window = CreateWindowExA(0, kClass, "SOCKET_WINDOW", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             wc.hInstance, nullptr);
  return m.window;
}

// Notifications of a socket that is going away may already wait in the
// queue; the handle number can come back with the next socket, so they are
// taken out rather than left to reach it.
void PurgeMessages(SOCKET s) {
  const HWND w = M().window;
  if (!w) return;
  std::vector<MSG> keep;
  MSG msg;
  while (PeekMessageA(&msg, w, kSocketMessage, kSocketMessage, PM_REMOVE))
    if (static_cast<SOCKET>(msg.wParam) != s) keep.push_back(msg);
  for (const MSG& k : keep) PostMessageA(w, k.message, k.wParam, k.lParam);
}

bool Register(SOCKET s, CSocketPlus* owner) {
  M().sockets[s] = owner;
  return WSAAsyncSelect(s, MessageWindow(), kSocketMessage, kEvents) == 0;
}

void Unregister(SOCKET s) {
  if (M().window) WSAAsyncSelect(s, M().window, 0, 0);
  M().sockets.erase(s);
  PurgeMessages(s);
}

std::string Dotted(const in_addr& a) {
  const char* t = inet_ntoa(a);
  return t ? t : "";
}

}  // namespace

CSocketPlus::CSocketPlus() {
  if (M().objects++ == 0) {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
  }
}

CSocketPlus::~CSocketPlus() {
  for (auto& [index, e] : elements_) {
    if (e.lookup) {
      WSACancelAsyncRequest(e.lookup);
      M().lookups.erase(e.lookup);
    }
    if (e.socket != INVALID_SOCKET) DestroySocket(e);
  }
  elements_.clear();
  if (--M().objects == 0) {
    if (M().window) DestroyWindow(M().window);
    M().window = nullptr;
    for (SOCKET s : M().waiting) closesocket(s);
    M().waiting.clear();
    WSACleanup();
  }
}

CSocketPlus::Element* CSocketPlus::Find(const std::string& index) {
  const auto it = elements_.find(index);
  return it == elements_.end() ? nullptr : &it->second;
}

const CSocketPlus::Element* CSocketPlus::Find(const std::string& index) const {
  const auto it = elements_.find(index);
  return it == elements_.end() ? nullptr : &it->second;
}

const std::string* CSocketPlus::IndexOf(SOCKET s) const {
  for (const auto& [index, e] : elements_)
    if (e.socket == s) return &index;
  return nullptr;
}

// Elements ---------------------------------------------------------------

SocketResult CSocketPlus::ArrayAdd(const std::string& index) {
  if (elements_.count(index)) return SocketFailure(kErrIndexInUse, "ArrayAdd");
  elements_.emplace(index, Element{});
  return {};
}

SocketResult CSocketPlus::ArrayRemove(const std::string& index) {
  if (!Find(index)) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  CloseSck(index);
  elements_.erase(index);
  return {};
}

bool CSocketPlus::ArrayIndexInUse(const std::string& index) const { return Find(index) != nullptr; }

// Properties -------------------------------------------------------------

int32_t CSocketPlus::State(const std::string& index) const {
  const Element* e = Find(index);
  return e ? e->state : sckClosed;
}

std::string CSocketPlus::Tag(const std::string& index) const {
  const Element* e = Find(index);
  return e ? e->tag : std::string();
}

void CSocketPlus::SetTag(const std::string& index, std::string_view tag) {
  if (Element* e = Find(index)) e->tag = tag;
}

std::string CSocketPlus::RemoteHost(const std::string& index) const {
  const Element* e = Find(index);
  return e ? e->remoteHost : std::string();
}

int32_t CSocketPlus::RemotePort(const std::string& index) const {
  const Element* e = Find(index);
  return e ? e->remotePort : 0;
}

std::string CSocketPlus::RemoteHostIP(const std::string& index) const {
  const Element* e = Find(index);
  return e ? e->remoteHostIP : std::string();
}

int32_t CSocketPlus::LocalPort(const std::string& index) const {
  const Element* e = Find(index);
  if (!e) return 0;
  return e->boundPort != 0 ? e->boundPort : e->localPort;
}

SocketResult CSocketPlus::SetLocalPort(const std::string& index, int32_t port) {
  Element* e = Find(index);
  if (!e) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  if (e->state != sckClosed) return SocketFailure(kErrInvalidOperation, "LocalPort");
  if (port < 0 || port > 65535) return SocketFailure(kErrArgument, "LocalPort");
  e->localPort = port;
  return {};
}

std::string CSocketPlus::LocalHostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name) != 0) return {};
  return name;
}

std::string CSocketPlus::LocalIP(const std::string& index) const {
  const Element* e = Find(index);
  if (e && e->state == sckConnected) return e->localIP;
  const std::string name = LocalHostName();
  const hostent* h = name.empty() ? nullptr : gethostbyname(name.c_str());
  if (!h || h->h_addrtype != AF_INET || !h->h_addr_list || !h->h_addr_list[0]) return {};
  in_addr a;
  std::copy_n(h->h_addr_list[0], sizeof a, reinterpret_cast<char*>(&a));
  return Dotted(a);
}

size_t CSocketPlus::BytesReceived(const std::string& index) const {
  const Element* e = Find(index);
  return e ? e->recvBuffer.size() : 0;
}

uintptr_t CSocketPlus::SocketHandle(const std::string& index) const {
  const Element* e = Find(index);
  return e ? static_cast<uintptr_t>(e->socket) : static_cast<uintptr_t>(INVALID_SOCKET);
}

// Creating and binding ---------------------------------------------------

void CSocketPlus::ReadOptions(Element& e) {
  int size = 0, len = sizeof size;
  e.recvChunk =
      getsockopt(e.socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&size), &len) == 0 &&
              size > 0
          ? size
          : kDefaultChunk;
  len = sizeof size;
  e.sendChunk =
      getsockopt(e.socket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<char*>(&size), &len) == 0 &&
              size > 0
          ? size
          : kDefaultChunk;
}

void CSocketPlus::ReadEnds(Element& e) {
  sockaddr_in a{};
  int len = sizeof a;
  if (getsockname(e.socket, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
    e.boundPort = ntohs(a.sin_port);
    e.localIP = Dotted(a.sin_addr);
  }
  len = sizeof a;
  if (getpeername(e.socket, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
    e.remotePort = ntohs(a.sin_port);
    e.remoteHostIP = Dotted(a.sin_addr);
  }
}

SocketResult CSocketPlus::CreateSocket(Element& e, const std::string& operation) {
  if (e.socket != INVALID_SOCKET) return {};
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    e.state = sckError;
    return SocketFailure(WSAGetLastError(), operation);
  }
  e.socket = s;
  ReadOptions(e);
  if (!Register(s, this)) {
    const int error = WSAGetLastError();
    DestroySocket(e);
    return SocketFailure(error, operation);
  }
  return {};
}

SocketResult CSocketPlus::BindInternal(Element& e, int32_t port, const std::string& address) {
  if (e.state == sckOpen) return {};
  if (port < 0 || port > 65535) return SocketFailure(kErrArgument, "BindInternal");
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(port));
  a.sin_addr.s_addr = INADDR_ANY;
  if (!address.empty()) {
    a.sin_addr.s_addr = inet_addr(address.c_str());
    if (a.sin_addr.s_addr == INADDR_NONE && address != "255.255.255.255")
      return SocketFailure(kErrArgument, "BindInternal");
  }
  if (SocketResult r = CreateSocket(e, "BindInternal"); !r) return r;
  if (bind(e.socket, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
    return SocketFailure(WSAGetLastError(), "BindInternal");
  if (port != 0) {
    e.localPort = port;
  } else {
    sockaddr_in b{};
    int len = sizeof b;
    if (getsockname(e.socket, reinterpret_cast<sockaddr*>(&b), &len) == 0)
      e.boundPort = ntohs(b.sin_port);
  }
  return {};
}

SocketResult CSocketPlus::Bind(const std::string& index, int32_t port, const std::string& address) {
  Element* e = Find(index);
  if (!e) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  if (e->state != sckClosed) return SocketFailure(kErrInvalidOperation, "Bind");
  if (SocketResult r = BindInternal(*e, port, address); !r) return r;
  e->state = sckOpen;
  return {};
}

SocketResult CSocketPlus::Listen(const std::string& index) {
  Element* e = Find(index);
  if (!e) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  if (e->state != sckClosed && e->state != sckOpen)
    return SocketFailure(kErrInvalidOperation, "Listen");
  if (SocketResult r = BindInternal(*e, e->localPort, ""); !r) return r;
  if (listen(e->socket, 5) != 0) return SocketFailure(WSAGetLastError(), "Listen");
  e->state = sckListening;
  return {};
}

// Connecting -------------------------------------------------------------

SocketResult CSocketPlus::Connect(const std::string& index, const std::string& host, int32_t port) {
  Element* e = Find(index);
  if (!e) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  if (e->state != sckClosed) return SocketFailure(kErrInvalidOperation, "Connect");
  if (port < 1 || port > 65535) return SocketFailure(kErrArgument, "Connect");
  if (!host.empty()) e->remoteHost = host;
  e->remotePort = port;
  if (SocketResult r = BindInternal(*e, e->localPort, ""); !r) return r;
  const unsigned long address = inet_addr(e->remoteHost.c_str());
  if (address != INADDR_NONE) {
    ConnectToIP(index, address);
    return {};
  }
  e->state = sckResolvingHost;
  e->hostEntry.assign(MAXGETHOSTSTRUCT, 0);
  e->lookup = WSAAsyncGetHostByName(MessageWindow(), kLookupMessage, e->remoteHost.c_str(),
                                    e->hostEntry.data(), static_cast<int>(e->hostEntry.size()));
  if (!e->lookup) {
    const int error = WSAGetLastError();
    e->hostEntry.clear();
    e->state = sckError;
    RaiseError(index, error, "ResolveIfHostname");
    return {};
  }
  M().lookups[e->lookup] = this;
  return {};
}

void CSocketPlus::OnLookupDone(HANDLE task, int error) {
  M().lookups.erase(task);
  std::string index;
  for (auto& [i, e] : elements_)
    if (e.lookup == task) index = i;
  Element* e = Find(index);
  if (!e) return;
  e->lookup = nullptr;
  if (e->state != sckResolvingHost) return;
  const hostent* h = reinterpret_cast<const hostent*>(e->hostEntry.data());
  if (error != 0 || h->h_addrtype != AF_INET || !h->h_addr_list || !h->h_addr_list[0]) {
    e->hostEntry.clear();
    e->state = sckError;
    RaiseError(index, error != 0 ? error : WSANO_DATA, "ConnectToIP");
    return;
  }
  e->state = sckHostResolved;
  in_addr a;
  std::copy_n(h->h_addr_list[0], sizeof a, reinterpret_cast<char*>(&a));
  e->hostEntry.clear();
  ConnectToIP(index, a.s_addr);
}

void CSocketPlus::ConnectToIP(const std::string& index, uint32_t address) {
  Element* e = Find(index);
  if (!e) return;
  e->state = sckConnecting;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(e->remotePort));
  a.sin_addr.s_addr = address;
  if (connect(e->socket, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return;
  const int error = WSAGetLastError();
  if (error == WSAEWOULDBLOCK) return;  // completion comes as FD_CONNECT
  e->state = sckError;
  RaiseError(index, error, "ConnectToIP");
}

SocketResult CSocketPlus::Accept(const std::string& index, uintptr_t requestID) {
  Element* e = Find(index);
  if (!e) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  if (e->state != sckClosed) return SocketFailure(kErrInvalidOperation, "Accept");
  const SOCKET s = static_cast<SOCKET>(requestID);
  if (M().sockets.count(s)) return SocketFailure(kErrWrongState, "Accept");
  if (M().waiting.erase(s) == 0) acceptedElsewhere_ = true;
  e->socket = s;
  ReadOptions(*e);
  ReadEnds(*e);
  e->remoteHost.clear();
  e->state = sckConnected;
  Register(s, this);
  // Whatever the peer sent (or its close) before it was accepted is read
  // now, as if it had just arrived.
  PostMessageA(MessageWindow(), kSocketMessage, static_cast<WPARAM>(s),
               WSAMAKESELECTREPLY(FD_READ, 0));
  return {};
}

void CSocketPlus::OnAccept(const std::string& index) {
  Element* e = Find(index);
  sockaddr_in peer{};
  int len = sizeof peer;
  const SOCKET s = accept(e->socket, reinterpret_cast<sockaddr*>(&peer), &len);
  if (s == INVALID_SOCKET) {
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) return;
    e->state = sckError;
    RaiseError(index, error, "PostSocket");
    return;
  }
  // Quiet until someone accepts it: it inherited the listener's notifications.
  WSAAsyncSelect(s, MessageWindow(), 0, 0);
  M().waiting.insert(s);
  const int32_t oldPort = e->remotePort;
  std::string oldIP = e->remoteHostIP, oldHost = e->remoteHost;
  e->remotePort = ntohs(peer.sin_port);
  e->remoteHostIP = Dotted(peer.sin_addr);
  e->remoteHost.clear();
  if (onConnectionRequest) onConnectionRequest(index, static_cast<uintptr_t>(s));
  e = Find(index);
  if (e && e->state == sckListening) {
    e->remotePort = oldPort;
    e->remoteHostIP = std::move(oldIP);
    e->remoteHost = std::move(oldHost);
  }
  if (M().waiting.erase(s)) {
    PurgeMessages(s);
    closesocket(s);
  }
}

// Sending and receiving --------------------------------------------------

SocketResult CSocketPlus::SendData(const std::string& index, std::string_view bytes) {
  Element* e = Find(index);
  if (!e) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  if (e->state != sckConnected) return SocketFailure(kErrWrongState, "SendData");
  if (bytes.empty()) return {};
  const bool idle = e->sendBuffer.empty();
  e->sendBuffer.append(bytes.data(), bytes.size());
  if (idle) SendBuffered(index);
  return {};
}

void CSocketPlus::SendBuffered(const std::string& index) {
  size_t sent = 0;
  for (;;) {
    Element* e = Find(index);
    if (!e || e->state != sckConnected || e->sendBuffer.empty()) return;
    const size_t chunk = std::min(e->sendBuffer.size(), static_cast<size_t>(e->sendChunk));
    const int n = send(e->socket, e->sendBuffer.data(), static_cast<int>(chunk), 0);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      e->sendBuffer.erase(0, static_cast<size_t>(n));
      if (e->sendBuffer.empty()) {
        if (onSendProgress) onSendProgress(index, sent, 0);
        if (onSendComplete) onSendComplete(index);
        return;
      }
      continue;
    }
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      // The rest goes on FD_WRITE.
      if (sent > 0 && onSendProgress) onSendProgress(index, sent, e->sendBuffer.size());
      return;
    }
    e->state = sckError;
    RaiseError(index, error, "SendBufferedData");
    return;
  }
}

bool CSocketPlus::ReceiveAvailable(Element& e, bool all, size_t& received, int& error) {
  received = 0;
  error = 0;
  std::string chunk(static_cast<size_t>(std::max(e.recvChunk, kDefaultChunk)), '\0');
  for (;;) {
    const int n = recv(e.socket, chunk.data(), static_cast<int>(chunk.size()), 0);
    if (n == 0) return false;
    if (n < 0) {
      const int code = WSAGetLastError();
      if (code != WSAEWOULDBLOCK) error = code;
      return true;
    }
    e.recvBuffer.append(chunk.data(), static_cast<size_t>(n));
    received += static_cast<size_t>(n);
    if (!all) return true;
  }
}

SocketResult CSocketPlus::ReceiveData(const std::string& index, std::string& data, int64_t maxLen,
                                      bool remove) {
  data.clear();
  Element* e = Find(index);
  if (!e) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  if (e->state != sckConnected && !acceptedElsewhere_)
    return SocketFailure(kErrWrongState, remove ? "GetData" : "PeekData");
  if (maxLen < -1) return SocketFailure(kErrArgument, "RecvData");
  const size_t n = maxLen < 0 ? e->recvBuffer.size()
                              : std::min(e->recvBuffer.size(), static_cast<size_t>(maxLen));
  data.assign(e->recvBuffer, 0, n);
  if (remove) e->recvBuffer.erase(0, n);
  return {};
}

SocketResult CSocketPlus::GetData(const std::string& index, std::string& data, int64_t maxLen) {
  return ReceiveData(index, data, maxLen, true);
}

SocketResult CSocketPlus::PeekData(const std::string& index, std::string& data, int64_t maxLen) {
  return ReceiveData(index, data, maxLen, false);
}

// Closing ----------------------------------------------------------------

void CSocketPlus::DestroySocket(Element& e) {
  if (e.socket == INVALID_SOCKET) return;
  Unregister(e.socket);
  closesocket(e.socket);
  e.socket = INVALID_SOCKET;
}

SocketResult CSocketPlus::CloseSck(const std::string& index) {
  Element* e = Find(index);
  if (!e) return SocketFailure(kErrUnknownIndex, "GetSocketIndex");
  e->state = sckClosing;
  if (e->lookup) {
    WSACancelAsyncRequest(e->lookup);
    M().lookups.erase(e->lookup);
    e->lookup = nullptr;
    e->hostEntry.clear();
  }
  DestroySocket(*e);
  e->boundPort = 0;
  e->remoteHostIP.clear();
  e->recvBuffer.clear();
  e->sendBuffer.clear();
  e->sendChunk = e->recvChunk = 0;
  e->state = sckClosed;
  return {};
}

void CSocketPlus::RaiseError(const std::string& index, int32_t number, std::string_view operation) {
  const SocketResult r = SocketFailure(number, operation);
  bool cancelDisplay = true;
  if (onError) onError(index, r.number, r.description, r.source, cancelDisplay);
  if (!cancelDisplay) MessageBoxA(nullptr, r.description.c_str(), r.source.c_str(), MB_OK);
}

// Notifications ----------------------------------------------------------

void CSocketPlus::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kSocketMessage)
    OnSocketMessage(static_cast<SOCKET>(wp), WSAGETSELECTEVENT(lp), WSAGETSELECTERROR(lp));
  else if (msg == kLookupMessage)
    OnLookupDone(reinterpret_cast<HANDLE>(wp), WSAGETASYNCERROR(lp));
}

void CSocketPlus::OnPeerClosed(const std::string& index) {
  Element* e = Find(index);
  if (!e || e->state != sckConnected) return;
  // Everything the peer sent before it closed is delivered first.
  size_t received = 0;
  int error = 0;
  ReceiveAvailable(*e, true, received, error);
  if (!e->recvBuffer.empty() && received > 0 && onDataArrival)
    onDataArrival(index, e->recvBuffer.size());
  e = Find(index);
  if (!e || e->state != sckConnected) return;
  e->state = sckClosing;
  if (onCloseSck) onCloseSck(index);
}

void CSocketPlus::OnSocketMessage(SOCKET s, int event, int error) {
  const std::string* found = IndexOf(s);
  if (!found) return;
  const std::string index = *found;
  Element* e = Find(index);
  if (error != 0) {
    // A peer that vanished (reset, abort) has closed all the same.
    if (event == FD_CLOSE) {
      OnPeerClosed(index);
      return;
    }
    e->state = sckError;
    RaiseError(index, error, "PostSocket");
    return;
  }
  switch (event) {
    case FD_READ: {
      if (e->state != sckConnected) return;
      size_t received = 0;
      int code = 0;
      const bool open = ReceiveAvailable(*e, false, received, code);
      if (code != 0) {
        e->state = sckError;
        RaiseError(index, code, "RecvDataToBuffer");
        return;
      }
      if (received > 0 && onDataArrival) onDataArrival(index, e->recvBuffer.size());
      if (!open) OnPeerClosed(index);
      return;
    }
    case FD_WRITE:
      if (e->state == sckConnected && !e->sendBuffer.empty()) SendBuffered(index);
      return;
    case FD_ACCEPT:
      if (e->state == sckListening) OnAccept(index);
      return;
    case FD_CONNECT:
      if (e->state != sckConnecting) return;
      ReadEnds(*e);
      e->remoteHost.clear();
      e->state = sckConnected;
      if (onConnect) onConnect(index);
      return;
    case FD_CLOSE:
      OnPeerClosed(index);
      return;
    default:
      return;
  }
}

}  // namespace qv::remote
