// The server window in this process, on loopback in the case's own folder:
// what its buttons, status line and tray tooltip say as it goes from closed to
// listening to connected and back; then the tray icon's menu: its items, which
// of them can be chosen in each state, what choosing them does, and the
// balloons the check box allows.
#include <windowsx.h>

#include <gtest/gtest.h>

#include <string>

#include "remote/win32/frm_server.h"
#include "win32/support/e2e.h"
#include "win32/support/loopback_client.h"
#include "win32/support/menu_visit.h"

namespace qv::remote {
namespace {

TEST(ServerWindow, ButtonsStatusTooltipAndTrayMenuFollowTheConnection) {
  App app;
  app.folders = MakeFolders(e2e::CaseFolder());
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
  e2e::LoopbackClient c;
  ASSERT_TRUE(c.Connect(std::stoi(app.settings.port)));
  ASSERT_TRUE(e2e::WaitFor(
      [&] { return server.StatusText().rfind("Connection from 127.0.0.1:", 0) == 0; }, 5000))
      << server.StatusText();
  EXPECT_EQ(server.Tray()->ToolTip(), "Quorvex - Connected");
  EXPECT_FALSE(IsWindowEnabled(listen));

  // The client leaves: closed at once, listening again a second later.
  c.Close();
  ASSERT_TRUE(e2e::WaitFor(
      [&] { return server.Tray()->ToolTip() == "Quorvex - Connection Closed"; }, 5000));
  ASSERT_TRUE(e2e::WaitFor([&] { return server.StatusText() == listening; }, 5000))
      << server.StatusText();

  server.cmdClose_Click();
  EXPECT_TRUE(IsWindowEnabled(listen));
  EXPECT_FALSE(readOnly());
  EXPECT_EQ(server.StatusText(), "");

  const panels::SysTray* tray = server.Tray();
  const HWND balloons = GetDlgItem(w, ServerWindow::kIdBalloons);
  // Opens the menu as a right click on the icon does, then presses `keys`
  // (arrows pass over separators, not over grayed items).
  auto menu = [&](const std::vector<UINT>& keys) {
    return e2e::Visit(keys, [&] {
      SendMessageA(tray->Hwnd(), panels::SysTray::kCallbackMessage, 0, WM_RBUTTONDOWN);
    });
  };
  // Closed, balloons off.
  const std::vector<std::string> closed = {"Restore Window (default)",
                                           "-",
                                           "&Show balloon on events",
                                           "&Don't &Show balloon on events (grayed)",
                                           "-",
                                           "&Listen",
                                           "&Close Connection (grayed)"};
  e2e::MenuVisit v = menu({VK_ESCAPE});
  ASSERT_TRUE(v.seen);
  EXPECT_EQ(e2e::Shown(v), closed);

  // "Show balloon on events" ticks the box; "Listen" listens.
  menu({VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_EQ(Button_GetCheck(balloons), BST_CHECKED);
  menu({VK_UP, VK_UP, VK_RETURN});
  EXPECT_EQ(server.StatusText(), listening);
  EXPECT_EQ(tray->BalloonText(), listening);
  EXPECT_EQ(e2e::Shown(menu({VK_ESCAPE})),
            (std::vector<std::string>{
                "Restore Window (default)", "-", "&Show balloon on events (grayed)",
                "&Don't &Show balloon on events", "-", "&Listen (grayed)", "&Close Connection"}));

  // A client's arrival shows in a balloon.
  ASSERT_TRUE(c.Connect(std::stoi(app.settings.port)));
  EXPECT_TRUE(e2e::WaitFor([&] { return tray->BalloonText() == "Connection Established"; }, 5000))
      << tray->BalloonText();

  // "Close Connection" closes; with balloons off no balloon follows.
  menu({VK_UP, VK_UP, VK_UP, VK_RETURN});
  EXPECT_EQ(Button_GetCheck(balloons), BST_UNCHECKED);
  menu({VK_UP, VK_RETURN});
  EXPECT_EQ(server.StatusText(), "");
  EXPECT_EQ(tray->ToolTip(), "Quorvex - Connection Closed");
  EXPECT_EQ(tray->BalloonText(), "Connection Established");
  EXPECT_EQ(e2e::Shown(menu({VK_ESCAPE})), closed);
}

}  // namespace
}  // namespace qv::remote
