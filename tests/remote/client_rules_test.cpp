#include "remote/client_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qv::remote {
namespace {

TEST(RemotePrompt, TextShowsThePortAndAnswersAreTakenApart) {
  using K = RemoteAnswer::Kind;
  struct Case {
    const char* answer;
    K kind;
    const char* address;
    const char* port;
  } cases[] = {
      {"", K::kCancelled, "", ""},
      {"   ", K::kCancelled, "", ""},
      {"10.0.0.4:6811", K::kAccepted, "10.0.0.4", "6811"},
      {"  10.0.0.4 :  6811 ", K::kAccepted, "10.0.0.4", "6811"},
      {":6811", K::kIncorrect, "", "6811"},
      {"10.0.0.4:6811.7", K::kAccepted, "10.0.0.4", "6811"},
      {"10.0.0.4:1", K::kAskAgain, "10.0.0.4", "1"},
      {"10.0.0.4:2", K::kAccepted, "10.0.0.4", "2"},
      {"10.0.0.4:65534", K::kAccepted, "10.0.0.4", "65534"},
      {"10.0.0.4:65535", K::kAskAgain, "10.0.0.4", "65535"},
      {"10.0.0.4:abc", K::kAskAgain, "10.0.0.4", "abc"},
      {"fe80::1", K::kAskAgain, "fe80", ":1"},  // IPv6 cannot be typed here
  };
  for (const Case& c : cases) {
    const RemoteAnswer r = ParseRemoteAnswer(c.answer);
    EXPECT_EQ(std::tie(r.kind, r.address, r.port), std::tie(c.kind, c.address, c.port)) << c.answer;
  }
  EXPECT_EQ(RemotePromptText("6811"),
            "Insert remote <IP Address>:<port>\r\n\n(Example:  10.0.0.4:6811)");
}

}  // namespace
}  // namespace qv::remote
