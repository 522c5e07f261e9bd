// The server window in this process: what its buttons, status line and tray
// tooltip say as it goes from closed to listening to connected and back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "remote/win32/frm_server.h"
#include "win32/support/e2e.h"

namespace qv::remote {
namespace {

TEST(ServerWindow, ButtonsStatusAndTooltipFollowTheConnection) {
  App app;
  const std::string root = e2e::CaseFolder();
  app.folders = MakeFolders(root);
  CreateFolders(app.folders);
  app.role = "RECV";
  app.settings.serverBindAddress = "127.0.0.1";
  app.settings.port = std::to_string(26000 + GetCurrentProcessId() % 4000);
  ivac::Win32Automation ivac;
  ServerWindow server(app, ivac);
  ASSERT_TRUE(server.Load());
  const HWND w = server.Hwnd();
  const HWND listen = GetDlgItem(w, ServerWindow::kIdListen);
  const HWND close = GetDlgItem(w, ServerWindow::kIdClose);
  const HWND port = GetDlgItem(w, ServerWindow::kIdPort);
  const std::string listening = "Listening 127.0.0.1 : " + app.settings.port;
  auto readOnly = [&] { return (GetWindowLongA(port, GWL_STYLE) & ES_READONLY) != 0; };

  // Closed at load.
  EXPECT_EQ(e2e::WindowText(w), "Quorvex Receiver");
  EXPECT_TRUE(IsWindowEnabled(listen));
  EXPECT_FALSE(IsWindowEnabled(close));
  EXPECT_FALSE(readOnly());
  EXPECT_EQ(server.Tray()->ToolTip(), "Quorvex - Connection Closed");

  server.cmdListen_Click();
  EXPECT_FALSE(IsWindowEnabled(listen));
  EXPECT_TRUE(IsWindowEnabled(close));
  EXPECT_TRUE(readOnly());
  EXPECT_EQ(server.StatusText(), listening);
  EXPECT_EQ(server.Tray()->ToolTip(), "Quorvex - " + listening);

  // A client: connected, Listen still disabled.
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET c = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(std::stoi(app.settings.port)));
  a.sin_addr.s_addr = inet_addr("127.0.0.1");
  ASSERT_EQ(connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_TRUE(e2e::WaitFor(
      [&] { return server.StatusText().rfind("Connection from 127.0.0.1:", 0) == 0; }, 5000))
      << server.StatusText();
  EXPECT_EQ(server.Tray()->ToolTip(), "Quorvex - Connected");
  EXPECT_FALSE(IsWindowEnabled(listen));

  // The client leaves: closed at once, listening again a second later.
  closesocket(c);
  ASSERT_TRUE(e2e::WaitFor(
      [&] { return server.Tray()->ToolTip() == "Quorvex - Connection Closed"; }, 5000));
  ASSERT_TRUE(e2e::WaitFor([&] { return server.StatusText() == listening; }, 5000))
      << server.StatusText();

  server.cmdClose_Click();
  EXPECT_TRUE(IsWindowEnabled(listen));
  EXPECT_FALSE(readOnly());
  EXPECT_EQ(server.StatusText(), "");
  WSACleanup();
}

}  // namespace
}  // namespace qv::remote
