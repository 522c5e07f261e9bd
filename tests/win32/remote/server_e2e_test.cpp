// The server window from end to end: quorvex.exe *SERVER listens on
// loopback only (ServerBindAddress=127.0.0.1) beside the IvAc stand-in; the
// test is the client, with plain sockets, and reads the effects from the
// stand-in's log and from the server's status line.
#include <winsock2.h>
// After winsock2.h:
#include <string>
#include <vector>

#include "remote/protocol.h"
#include "remote/server_rules.h"
#include "win32/support/loopback_client.h"
#include "win32/support/program_case.h"

namespace {

using namespace qv::e2e;
using qv::standin::Where;

constexpr int kStatusLineId = 205;  // lblInfo
constexpr int kListenId = 201;      // cmdListen

std::string Command(const std::string& payload) {
  return qv::remote::CommandMessage("Quorvex", payload);
}

class ServerE2E : public ProgramCase {
 protected:
  void SetUp() override {
    ProgramCase::SetUp();
    static int next = 0;
    port_ = 20000 + static_cast<int>(GetCurrentProcessId() % 4000) * 10 + next++ % 10;
    Write("Config\\Config.ini", "[default]\r\nSleep=0\r\nPort=" + std::to_string(port_) +
                                    "\r\nServerBindAddress=127.0.0.1\r\n");
  }

  // Starts quorvex.exe *SERVER, presses Listen and waits until it listens.
  void StartServer() {
    window_ = Start("*SERVER", "QuorvexServer", "Quorvex Receiver");
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(kListenId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window_, kListenId)));
    ASSERT_TRUE(WaitListening());
  }

  ::testing::AssertionResult WaitListening(DWORD ms = 5000) const {
    return WaitStatus("Listening 127.0.0.1 : " + std::to_string(port_), ms);
  }
  std::string Status() const { return qv::standin::TextOf(GetDlgItem(window_, kStatusLineId)); }
  ::testing::AssertionResult WaitStatus(const std::string& want, DWORD ms = 5000) const {
    return WaitText(GetDlgItem(window_, kStatusLineId), want, ms);
  }
  ::testing::AssertionResult WaitConnected(int ms = 5000) const {
    if (WaitFor([&] { return Status().rfind("Connection from 127.0.0.1:", 0) == 0; }, ms))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "status line is \"" << Status() << "\"";
  }

  // The chat lines the stand-in received after `after`, in order.
  std::vector<std::string> ChatSince(int64_t after) const {
    std::vector<std::string> lines;
    for (const auto& e : standin_.Find("chat_sent", after)) lines.push_back(e.Text("text"));
    return lines;
  }

  // The data folder of a client panel "Remote" of two buttons, whose
  // settings name this server's address and port.
  std::string ClientFolder() {
    const std::string client = root_ + "\\client";
    for (const char* sub : {"", "\\Quorvex", "\\Quorvex\\Config", "\\Quorvex\\QuorvexData",
                            "\\Quorvex\\QuorvexData\\Panels", "\\Quorvex\\QuorvexData\\Macro"})
      CreateDirectoryA((client + sub).c_str(), nullptr);
    WriteAt(client + "\\Quorvex\\Config\\Config.ini",
            "[default]\r\nServerAddress=127.0.0.1\r\nPort=" + std::to_string(port_) + "\r\n");
    WriteAt(client + "\\Quorvex\\QuorvexData\\Panels\\Remote.ini",
            "[Setup]\r\nDescription=remote\r\nButtonWidth=1200\r\nButtonHeight=420\r\nRows=1\r\n"
            "Cols=2\r\nTop=9000\r\nLeft=9000\r\n[01]\r\nLabel=Hello\r\n"
            "Macro=|SEND_TEXT hello: from the client\r\n[02]\r\nLabel=Monitor\r\n"
            "Macro=|ENABLE_MONITOR 200,400\r\n");
    return client;
  }

  int port_ = 0;
  HWND window_ = nullptr;
};

TEST_F(ServerE2E, ClientCommandsRunWholeInOrderOneClientAtATimeAndTheMonitorReports) {
  Macro("Tower.txt", "COMMBOX 1\r\nSEND_TEXT from the file\r\n");
  Write("Config\\Secret.txt", "SEND_TEXT secret\r\n");
  ASSERT_NO_FATAL_FAILURE(StartStandIn(qv::standin::kFullScenario));
  ASSERT_NO_FATAL_FAILURE(StartServer());
  LoopbackClient c;
  ASSERT_TRUE(c.Connect(port_));
  ASSERT_TRUE(WaitConnected());
  const int64_t start = standin_.LastSeq();

  // A message cut in two receives runs once, whole; two in one run in order.
  const std::string first = Command("|SEND_TEXT QNH: 1013 c:\\\\x");
  ASSERT_TRUE(c.Send(first.substr(0, 14)));
  Sleep(300);
  ASSERT_TRUE(c.Send(first.substr(14)));
  ASSERT_TRUE(c.Send(Command("|SEND_TEXT two") + Command("|SEND_TEXT three")));
  ASSERT_TRUE(c.Send(Command("Tower.txt")));
  EXPECT_TRUE(standin_.WaitFor("chat_sent", Where{{"text", "from the file"}}, start, 10000));
  EXPECT_TRUE(WaitStatus("Tower.txt"));
  EXPECT_EQ(ChatSince(start),
            (std::vector<std::string>{"QNH: 1013 c:\\\\x", "two", "three", "from the file"}));

  // Refused: a name outside the macro folder, LINK without RemoteLink, a
  // stranger's name, control bytes. None of them reaches IvAc.
  const struct {
    std::string bytes;
    std::string status;
  } refusals[] = {
      {Command("..\\Config\\Secret.txt"),
       qv::remote::MacroNameRefusedText("..\\Config\\Secret.txt")},
      {Command("|LINK notepad.exe"), std::string(qv::remote::kLinkRefused)},
      {"Other:\r\n|SEND_TEXT stranger\r\n", "??? Other|SEND_TEXT stranger"},
      {std::string("Quorvex:\r\n|SEND_TEXT a\0b\r\n", 26), qv::remote::ControlBytesText()},
  };
  for (const auto& r : refusals) {
    ASSERT_TRUE(c.Send(r.bytes));
    EXPECT_TRUE(WaitStatus(r.status));
  }
  ASSERT_TRUE(c.Send(Command("|SEND_TEXT last")));
  EXPECT_TRUE(standin_.WaitFor("chat_sent", Where{{"text", "last"}}, start, 10000));
  EXPECT_EQ(ChatSince(start).size(), 5u);

  // The monitor reports IvAc's selection and its in/out list.
  ASSERT_TRUE(c.Send(Command("|ENABLE_MONITOR 200,400")));
  auto receives = [&](const std::string& report) -> ::testing::AssertionResult {
    if (c.ReceiveUntil([&](const std::string& r) { return r.find(report) != std::string::npos; },
                       5000))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "received " << c.received;
  };
  // The selection IvAc had, then a new one.
  EXPECT_TRUE(receives("Quorvex:SEL AFR1234\r"));
  EXPECT_TRUE(receives("Quorvex:I/O DLH4AB\t"));
  ASSERT_TRUE(standin_.Control("selected = BAW915\n"));
  EXPECT_TRUE(receives("Quorvex:SEL BAW915\r"));
  // Each report once: the selection did not change again.
  Sleep(1000);
  c.ReceiveUntil([](const std::string&) { return false; }, 300);
  EXPECT_EQ(c.received.find("SEL AFR1234"), c.received.rfind("SEL AFR1234")) << c.received;

  // One client at a time: nobody listens while one is connected.
  LoopbackClient b;
  EXPECT_FALSE(b.Connect(port_));

  // The client leaves in the middle of a message: the whole commands before
  // it still run, the cut one never does, and the server listens again.
  const int64_t left = standin_.LastSeq();
  ASSERT_TRUE(c.Send(Command("|SEND_TEXT one") + Command("|SEND_TEXT two") +
                     "Quorvex:\r\n|CLEARED_TO_FL 3"));
  c.Close();
  EXPECT_TRUE(standin_.WaitFor("chat_sent", Where{{"text", "two"}}, left, 10000));
  EXPECT_TRUE(WaitListening(8000));
  EXPECT_TRUE(standin_.Find("clearance", left).empty());

  // A flood of garbage and half messages, then a good command that runs.
  ASSERT_TRUE(b.Connect(port_));
  ASSERT_TRUE(WaitConnected());
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 131 + i / 7) & 0xFF);
  for (int i = 0; i < 50; ++i) garbage += "Quorvex:\r\n|SEND_TE";
  ASSERT_TRUE(b.Send(garbage));
  ASSERT_TRUE(b.Send(Command("|SEND_TEXT after the flood")));
  EXPECT_TRUE(standin_.WaitFor("chat_sent", Where{{"text", "after the flood"}}, left, 10000));
  EXPECT_EQ(ChatSince(left), (std::vector<std::string>{"one", "two", "after the flood"}));
  b.Close();
  EXPECT_TRUE(WaitListening(8000));

  // Thousands of commands run once each, in order: 1000 by default to keep
  // the suite short, QV_REMOTE_LOAD=10000 for the full load.
  const char* env = std::getenv("QV_REMOTE_LOAD");
  const int n = env ? std::atoi(env) : 1000;
  ASSERT_TRUE(c.Connect(port_));
  ASSERT_TRUE(WaitConnected());
  const int64_t loaded = standin_.LastSeq();
  std::string all;
  for (int i = 1; i <= n; ++i) all += Command("|SEND_TEXT line " + std::to_string(i));
  const DWORD t0 = GetTickCount();
  ASSERT_TRUE(c.Send(all));
  ASSERT_TRUE(
      standin_.WaitFor("chat_sent", Where{{"text", "line " + std::to_string(n)}}, loaded, n * 200));
  const DWORD ms = GetTickCount() - t0;
  const std::vector<std::string> got = ChatSince(loaded);
  ASSERT_EQ(got.size(), static_cast<size_t>(n));
  for (int i = 1; i <= n; ++i) ASSERT_EQ(got[i - 1], "line " + std::to_string(i));
  std::printf("%d commands in %lu ms\n", n, static_cast<unsigned long>(ms));
}

// A client panel of a second quorvex.exe drives the server. Its address
// prompt first: an answer without a port is refused with a message, a port
// out of range asks again, a name that is no address asks first, and Cancel
// ends the client without touching its settings. Then OK takes the saved
// address, a click runs on the server's IvAc, the monitor's reports show on
// the panel's status line, and the server listens again once the panel
// closes.
TEST_F(ServerE2E, ClientPromptAndPanelClicksRunOnTheServer) {
  const std::string client = ClientFolder();
  ASSERT_NO_FATAL_FAILURE(StartStandIn(qv::standin::kFullScenario));
  ASSERT_NO_FATAL_FAILURE(StartServer());
  auto panel = std::make_unique<Process>();
  ASSERT_TRUE(panel->Start(g_quorvex, "*CLIENT Remote", client));
  // Waits for the prompt, checks what it offers, answers `typed` with OK
  // (Escape: Cancel).
  auto answer = [&](const std::string& offered, const std::string& typed) {
    HWND box = WaitTopWindow(panel->Id(), "QuorvexInputBox", "", 10000);
    if (box == nullptr) return ::testing::AssertionFailure() << "no prompt";
    if (WindowText(box) != "Connecting to Remote module")
      return ::testing::AssertionFailure() << "prompt titled " << WindowText(box);
    const std::string shown = qv::standin::TextOf(GetDlgItem(box, 301));
    if (shown != offered) return ::testing::AssertionFailure() << "prompt offers " << shown;
    SendMessageA(GetDlgItem(box, 301), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(typed == "\x1b" ? IDCANCEL : IDOK, BN_CLICKED), 0);
    WaitFor([&] { return !IsWindow(box); }, 5000);
    return ::testing::AssertionSuccess();
  };
  const std::string saved = "127.0.0.1:" + std::to_string(port_);
  MessageBoxInfo box;

  ASSERT_TRUE(answer(saved, "127.0.0.1"));
  ASSERT_TRUE(WaitMessageBox(panel->Id(), 5000, box));
  EXPECT_EQ(box.caption, "Quorvex - Remote Parameters");
  EXPECT_EQ(box.text, "Remote parameter incorrect !");
  AnswerMessageBox(box.window, IDOK);

  ASSERT_TRUE(answer("127.0.0.1", " 127.0.0.1:70000 "));
  ASSERT_TRUE(answer("127.0.0.1:70000", "tower-pc:4000"));
  ASSERT_TRUE(WaitMessageBox(panel->Id(), 5000, box));
  EXPECT_EQ(box.caption, "Quorvex - Remote Parameters");
  EXPECT_EQ(
      box.text,
      "tower-pc\r\n\nRemote IP address should be wrong.\r\nWould you like to proceed anyway ?");
  AnswerMessageBox(box.window, IDCANCEL);

  ASSERT_TRUE(answer("tower-pc:4000", "\x1b"));
  EXPECT_TRUE(panel->WaitExit(10000));
  const std::string ini = ReadFileText(client + "\\Quorvex\\Config\\Config.ini");
  EXPECT_NE(ini.find("ServerAddress=127.0.0.1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Port=" + std::to_string(port_) + "\r\n"), std::string::npos) << ini;

  panel = std::make_unique<Process>();
  ASSERT_TRUE(panel->Start(g_quorvex, "*CLIENT Remote", client));
  ASSERT_TRUE(answer(saved, saved));
  ASSERT_TRUE(WaitConnected(10000));

  HWND window = WaitTopWindow(panel->Id(), "QuorvexPanel", "", 5000);
  const HWND grid = FindWindowExA(window, nullptr, "QuorvexGrid", nullptr);
  ASSERT_NE(grid, nullptr);
  // The menu button turns green once connected (left of its "M").
  RECT menu;
  GetWindowRect(GetDlgItem(window, 102), &menu);
  const POINT menuSample{menu.left + 4, (menu.top + menu.bottom) / 2};
  EXPECT_TRUE(
      WaitFor([&] { return PixelAt(nullptr, menuSample.x, menuSample.y) == RGB(0, 255, 0); }, 5000))
      << std::hex << PixelAt(nullptr, menuSample.x, menuSample.y);

  const int64_t start = standin_.LastSeq();
  WaitForInputIdle(panel->Handle(), 5000);
  Sleep(500);
  qv::standin::ClickAt(GridCentre(grid, 1, 2, 420), false);
  EXPECT_TRUE(
      standin_.WaitFor("chat_sent", Where{{"text", "hello: from the client"}}, start, 10000));
  EXPECT_TRUE(WaitStatus("|SEND_TEXT hello: from the client"));

  Sleep(500);
  qv::standin::ClickAt(GridCentre(grid, 2, 2, 420), false);
  const HWND status = GetDlgItem(window, 104);
  EXPECT_TRUE(WaitFor(
      [&] {
        return qv::standin::TextOf(status).find("Quorvex:SEL AFR1234\r\r\n") != std::string::npos;
      },
      8000))
      << qv::standin::TextOf(status);
  // What the screen shows with the reports in, for the documentation.
  qv::standin::SaveScreenshot(CaseFolder() + "\\client.bmp");

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(panel->WaitExit(10000));
  EXPECT_TRUE(WaitListening(8000));
}

}  // namespace

int main(int argc, char** argv) { return RunSuite(argc, argv); }
