// CSocketPlus against Winsock on loopback, both ends in this process: the
// notifications come as window messages, which the test lets run while it
// waits.
#include "remote/win32/socket_plus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/support/e2e.h"

namespace qv::remote {
namespace {

const std::string kIndex = "Quorvex";

// A listening server element and a client element, connected to each other.
class SocketPair : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.ArrayAdd(kIndex));
    ASSERT_TRUE(client.ArrayAdd(kIndex));
    server.onConnectionRequest = [this](const std::string& index, uintptr_t id) {
      events.push_back("request");
      server.CloseSck(index);
      const SocketResult r = server.Accept(index, id);
      events.push_back(r ? "accepted" : "accept failed " + r.description);
    };
    server.onDataArrival = [this](const std::string& index, size_t) {
      std::string data;
      EXPECT_TRUE(server.GetData(index, data));
      received += data;
    };
    server.onCloseSck = [this](const std::string&) {
      events.push_back("server close with " + std::to_string(received.size()));
    };
    client.onConnect = [this](const std::string&) { events.push_back("connect"); };
    client.onError = [this](const std::string&, int32_t number, const std::string& text,
                            const std::string& source, bool&) {
      events.push_back(std::to_string(number) + " " + text + " " + source);
    };
    client.onDataArrival = [this](const std::string& index, size_t) {
      std::string data;
      EXPECT_TRUE(client.GetData(index, data));
      clientReceived += data;
    };
  }

  int Listen() {
    EXPECT_TRUE(server.Bind(kIndex, 0, "127.0.0.1"));
    EXPECT_TRUE(server.Listen(kIndex));
    EXPECT_EQ(server.State(kIndex), sckListening);
    return server.LocalPort(kIndex);
  }

  void ConnectPair() {
    const int port = Listen();
    ASSERT_GT(port, 0);
    ASSERT_TRUE(client.Connect(kIndex, "127.0.0.1", port));
    ASSERT_TRUE(e2e::WaitFor(
        [&] {
          return client.State(kIndex) == sckConnected && server.State(kIndex) == sckConnected;
        },
        5000));
  }

  CSocketPlus server, client;
  std::vector<std::string> events;
  std::string received, clientReceived;
};

// One connection: bytes both ways, a large send, and bytes sent just before
// the client closes; then a connection refused.
TEST_F(SocketPair, ConnectsCarriesBytesClosesAfterTheLastBytesAndIsRefused) {
  ConnectPair();
  EXPECT_EQ(events, (std::vector<std::string>{"request", "accepted", "connect"}));
  EXPECT_EQ(server.RemoteHostIP(kIndex), "127.0.0.1");
  EXPECT_EQ(server.RemotePort(kIndex), client.LocalPort(kIndex));
  EXPECT_EQ(client.RemoteHost(kIndex), "");  // emptied once connected

  ASSERT_TRUE(client.SendData(kIndex, std::string("Quorvex:\r\n|A\0B\r\n", 16)));
  ASSERT_TRUE(e2e::WaitFor([&] { return received.size() == 16; }, 5000));
  EXPECT_EQ(received, std::string("Quorvex:\r\n|A\0B\r\n", 16));
  ASSERT_TRUE(server.SendData(kIndex, "Quorvex:SEL AFR1\r"));
  ASSERT_TRUE(e2e::WaitFor([&] { return clientReceived == "Quorvex:SEL AFR1\r"; }, 5000));

  // A large send arrives whole and completes once.
  received.clear();
  std::string big(300000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  int completes = 0;
  // Each pass reports what it sent and what is left; the passes add up to
  // the whole, and only the last one, just before the completion, leaves 0.
  std::vector<std::pair<size_t, size_t>> progress;
  client.onSendProgress = [&](const std::string&, size_t sent, size_t left) {
    EXPECT_EQ(completes, 0);
    progress.emplace_back(sent, left);
  };
  client.onSendComplete = [&](const std::string&) { ++completes; };
  ASSERT_TRUE(client.SendData(kIndex, big));
  ASSERT_TRUE(e2e::WaitFor([&] { return received.size() >= big.size(); }, 10000))
      << received.size();
  EXPECT_TRUE(received == big);
  EXPECT_TRUE(e2e::WaitFor([&] { return completes > 0; }, 2000));
  EXPECT_EQ(completes, 1);
  size_t total = 0;
  for (size_t i = 0; i < progress.size(); ++i) {
    total += progress[i].first;
    EXPECT_EQ(progress[i].second == 0, i + 1 == progress.size()) << i;
    EXPECT_EQ(total + progress[i].second, big.size()) << i;
  }
  EXPECT_EQ(total, big.size());

  // Bytes sent before a close arrive before the close.
  received.clear();
  client.onSendProgress = nullptr;
  client.onSendComplete = nullptr;
  const std::string last(5000, 'x');
  ASSERT_TRUE(client.SendData(kIndex, last));
  client.CloseSck(kIndex);
  EXPECT_EQ(client.State(kIndex), sckClosed);
  ASSERT_TRUE(e2e::WaitFor([&] { return server.State(kIndex) == sckClosing; }, 5000));
  EXPECT_EQ(events.back(), "server close with 5000");
  EXPECT_EQ(received, last);
  EXPECT_TRUE(server.CloseSck(kIndex));
  // Listening again on the same port works once closed.
  const int port = Listen();
  EXPECT_GT(port, 0);

  // Now nobody listens there: the refused connection is an error event.
  server.CloseSck(kIndex);
  ASSERT_TRUE(client.Connect(kIndex, "127.0.0.1", port));
  ASSERT_TRUE(e2e::WaitFor([&] { return client.State(kIndex) == sckError; }, 5000));
  EXPECT_EQ(events.back(), "10061 Connection refused. CSocketPlus.PostSocket");
  EXPECT_TRUE(client.CloseSck(kIndex));
  EXPECT_EQ(client.State(kIndex), sckClosed);
}

TEST_F(SocketPair, ArgumentAndStateErrorsChangeNothing) {
  const int port = Listen();
  struct Case {
    const char* what;
    SocketResult result;
    int32_t number;
  } cases[] = {
      {"accept while listening", server.Accept(kIndex, 1), kErrInvalidOperation},
      {"connect while listening", server.Connect(kIndex, "127.0.0.1", port), kErrInvalidOperation},
      {"port 0", client.Connect(kIndex, "127.0.0.1", 0), kErrArgument},
      {"port 65536", client.Connect(kIndex, "127.0.0.1", 65536), kErrArgument},
      {"send while closed", client.SendData(kIndex, "x"), kErrWrongState},
      {"unknown index", client.Listen("nothing"), kErrUnknownIndex},
      {"index twice", client.ArrayAdd(kIndex), kErrIndexInUse},
      {"bind to a bad address", client.Bind(kIndex, 0, "300.1.1.1"), kErrArgument},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result.number, c.number) << c.what;
    EXPECT_EQ(c.result.description, SocketErrorText(c.number)) << c.what;
  }
  EXPECT_EQ(server.State(kIndex), sckListening);
  EXPECT_EQ(client.State(kIndex), sckClosed);
  EXPECT_EQ(client.ArrayCount(), 1u);
}

TEST_F(SocketPair, AConnectionNobodyAcceptsIsClosed) {
  server.onConnectionRequest = [this](const std::string&, uintptr_t) {
    events.push_back("request");
  };
  client.onCloseSck = [this](const std::string&) { events.push_back("client close"); };
  const int port = Listen();
  ASSERT_TRUE(client.Connect(kIndex, "127.0.0.1", port));
  ASSERT_TRUE(e2e::WaitFor(
      [&] { return std::find(events.begin(), events.end(), "client close") != events.end(); },
      5000));
  EXPECT_EQ(server.State(kIndex), sckListening);
}

}  // namespace
}  // namespace qv::remote
