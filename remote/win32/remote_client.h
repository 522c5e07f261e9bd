// The client side of a remote session, inside the running panel: asks for
// the server's address, opens and closes the connection, sends each click's
// macro value as a command message, and shows the connection state (the
// menu button's colour) and the reports the server sends (the status line,
// the latest few only).
#pragma once

#include <winsock2.h>
// After winsock2.h:
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "remote/protocol.h"
#include "remote/win32/socket_plus.h"
#include "startup/app.h"

namespace qv::remote {

// Menu button colours (0x00BBGGRR): closed, connected, anything between.
inline constexpr COLORREF kClosedColour = 255;
inline constexpr COLORREF kConnectedColour = 65280;
inline constexpr COLORREF kBusyColour = 65535;

class RemoteClient {
 public:
  // What the client needs of its panel window.
  struct Panel {
    HWND window = nullptr;
    std::function<void(const std::string&)> showStatus;  // set and repaint
    std::function<void(COLORREF)> menuColour;
    std::function<void()> unload;  // close the panel window
  };

  RemoteClient(App& app, Panel panel);
  ~RemoteClient();

  // Asks for the address (the prompt comes back until the answer is usable
  // or the user gives up) and starts connecting; does not wait for it.
  void ConnectRemote();
  // Sends one click's macro value; connects first when not connected.
  void SendDataToRemote(const std::string& value);
  void CloseRemoteConnection();
  bool Connected() const { return connected_; }

 private:
  bool GetRemoteInfo();
  void RefreshRemoteStatus();
  // Lets window messages run until connected or `ms` have passed.
  void WaitForConnection(DWORD ms);
  void Log(const std::string& line) const;

  void spClient_Connect(const std::string& index);
  void spClient_DataArrival(const std::string& index);
  void spClient_CloseSck(const std::string& index);
  void spClient_Error(const std::string& index, const std::string& description);

  App& app_;
  Panel panel_;
  const std::string index_;
  std::unique_ptr<CSocketPlus> spClient_;
  ClientReports reports_;
  bool connected_ = false;
};

}  // namespace qv::remote
