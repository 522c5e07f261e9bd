// The socket's vocabulary that needs no Winsock: the element states, the
// numbered errors the socket object raises and the texts of the Winsock
// error codes. The Win32 socket (remote/win32/socket_plus.h) reports every
// failure with these numbers and texts, so that the status lines and message
// boxes of the client and the server read the same on every build.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::remote {

// States of one socket element. Value 3 is never used.
enum SocketState : int32_t {
  sckClosed = 0,
  sckOpen = 1,
  sckListening = 2,
  sckResolvingHost = 4,
  sckHostResolved = 5,
  sckConnecting = 6,
  sckConnected = 7,
  sckClosing = 8,
  sckError = 9,
};

// Errors of the object itself (argument and state errors).
enum ObjectError : int32_t {
  kErrOutOfMemory = 7,
  kErrWrongState = 40006,
  kErrArgument = 40014,
  kErrVariantType = 40018,
  kErrInvalidOperation = 40020,
  kErrIndexType = 40027,
  kErrIndexInUse = 40028,
  kErrUnknownIndex = 40029,
};

// The description of an object error or of a Winsock error code; "Unknown
// error." for any other number.
std::string_view SocketErrorText(int32_t number);

// A failure as the object reports it: number, description and the source
// "CSocketPlus." followed by the operation. Number 0 is success.
struct SocketResult {
  int32_t number = 0;
  std::string description;
  std::string source;

  bool Ok() const { return number == 0; }
  explicit operator bool() const { return Ok(); }
};

// The failure `number` raised by `operation` ("Listen", "ConnectToIP"...).
SocketResult SocketFailure(int32_t number, std::string_view operation);

}  // namespace qv::remote
