#include "remote/win32/remote_client.h"

#include <utility>

#include "platform/profile.h"
#include "platform/text.h"
#include "platform/win32/input_box.h"
#include "platform/win32/ui.h"
#include "remote/client_rules.h"
#include "startup/log.h"
#include "startup/settings.h"

namespace qv::remote {

RemoteClient::RemoteClient(App& app, Panel panel)
    : app_(app), panel_(std::move(panel)), index_(app.settings.serverName) {}

RemoteClient::~RemoteClient() = default;

void RemoteClient::Log(const std::string& line) const {
  if (app_.settings.debug) LogLine(app_.folders.base, line);
}

bool RemoteClient::GetRemoteInfo() {
  std::string answer = app_.settings.serverAddress + ":" + app_.settings.port;
  for (;;) {
    const std::optional<std::string> typed =
        win::InputBox(panel_.window, RemotePromptText(app_.settings.port), kPromptTitle, answer);
    const RemoteAnswer r = ParseRemoteAnswer(typed.value_or(""));
    using Kind = RemoteAnswer::Kind;
    if (r.kind == Kind::kCancelled) return false;
    answer = TrimSpaces(typed.value_or(""));
    if (r.kind == Kind::kIncorrect) {
      win::Message(panel_.window, kParameterIncorrect, kParametersTitle,
                   MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    if (r.kind == Kind::kAskAgain) continue;
    if (r.kind == Kind::kConfirmAddress &&
        win::Message(panel_.window, AddressQuestionText(r.address), kParametersTitle,
                     MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDOK)
      continue;
    app_.settings.serverAddress = r.address;
    app_.settings.port = r.port;
    profile::WriteKey(app_.folders.settingsFile, kConfigSection, "Port", r.port);
    profile::WriteKey(app_.folders.settingsFile, kConfigSection, "ServerAddress", r.address);
    return true;
  }
}

void RemoteClient::ConnectRemote() {
  if (!GetRemoteInfo()) {
    panel_.showStatus("Remote Session cancelled - starting normal session");
    if (panel_.unload) panel_.unload();
    return;
  }
  panel_.showStatus("Opening Connection ...");
  Log("Connection " + app_.settings.serverName + " - " + app_.settings.serverAddress + ":" +
      app_.settings.port);
  spClient_ = std::make_unique<CSocketPlus>();
  spClient_->ArrayAdd(index_);
  spClient_->onConnect = [this](const std::string& i) { spClient_Connect(i); };
  spClient_->onDataArrival = [this](const std::string& i, size_t) { spClient_DataArrival(i); };
  spClient_->onCloseSck = [this](const std::string& i) { spClient_CloseSck(i); };
  spClient_->onError = [this](const std::string& i, int32_t, const std::string& description,
                              const std::string&, bool&) { spClient_Error(i, description); };
  reports_.Clear();
  spClient_->Connect(index_, app_.settings.serverAddress, LeadingInt(app_.settings.port));
  RefreshRemoteStatus();
}

void RemoteClient::WaitForConnection(DWORD ms) {
  const DWORD start = GetTickCount();
  while (spClient_ && spClient_->State(index_) != sckConnected &&
         spClient_->State(index_) != sckError && spClient_->State(index_) != sckClosed &&
         GetTickCount() - start < ms) {
    win::DoEvents();
    Sleep(10);
  }
  RefreshRemoteStatus();
}

void RemoteClient::SendDataToRemote(const std::string& value) {
  if (!connected_ || !spClient_ || spClient_->State(index_) != sckConnected) {
    ConnectRemote();
    // The connection completes as a window message: let it come, briefly.
    WaitForConnection(2000);
  }
  if (connected_ && spClient_ && spClient_->State(index_) == sckConnected) {
    spClient_->SendData(index_, CommandMessage(app_.settings.serverName, value));
    Log("Sending " + app_.settings.serverName + ":\r\n" + value);
    RefreshRemoteStatus();
    return;
  }
  CloseRemoteConnection();
  panel_.showStatus("Unable to send data to Quorvex Server - check if Server is listening");
}

void RemoteClient::CloseRemoteConnection() {
  panel_.showStatus("Closing Connection ...");
  if (spClient_) spClient_->CloseSck(index_);
  reports_.Clear();
  RefreshRemoteStatus();
}

void RemoteClient::RefreshRemoteStatus() {
  const int32_t state = spClient_ ? spClient_->State(index_) : sckClosed;
  panel_.showStatus(reports_.Text());
  connected_ = state == sckConnected;
  if (panel_.menuColour)
    panel_.menuColour(state == sckClosed      ? kClosedColour
                      : state == sckConnected ? kConnectedColour
                                              : kBusyColour);
}

void RemoteClient::spClient_Connect(const std::string&) { RefreshRemoteStatus(); }

void RemoteClient::spClient_DataArrival(const std::string& index) {
  std::string bytes;
  spClient_->GetData(index, bytes);
  reports_.Feed(bytes);
  RefreshRemoteStatus();
}

void RemoteClient::spClient_CloseSck(const std::string& index) {
  panel_.showStatus("Connection closed");
  spClient_->CloseSck(index);
  reports_.Clear();
  connected_ = false;
  Log("Connection closed");
  RefreshRemoteStatus();
  panel_.showStatus("Connection closed");
}

void RemoteClient::spClient_Error(const std::string& index, const std::string& description) {
  Log(description + " - Error on Sender " + index);
  spClient_->CloseSck(index);
  reports_.Clear();
  RefreshRemoteStatus();
  panel_.showStatus(description);
  win::Message(panel_.window, description, "Error on Sender " + index, MB_OK | MB_ICONERROR);
}

}  // namespace qv::remote
