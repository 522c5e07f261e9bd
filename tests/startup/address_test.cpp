#include "startup/address.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(AddressCheck, IPv4NeedsFourByteParts) {
  struct Case {
    const char* text;
    bool valid;
  } cases[] = {
      {"192.168.0.1", true}, {"0.0.0.0", true}, {"255.255.255.255", true},
      {"256.1.1.1", false},  {"1.2.3", false},  {"1.2.3.4.5", false},
      {"1..3.4", false},     {"1.2.3.", false}, {"a.b.c.d", false},
      {"1.2.3.-4", false},   {"", false},       {"999999999999.1.1.1", false},
      {" 10.0.0.1", true},  // a part converts with blanks around it
  };
  for (const Case& c : cases) EXPECT_EQ(IsIPv4Address(c.text), c.valid) << c.text;
}

TEST(AddressCheck, IPv6NormalisesToEightPaddedGroups) {
  struct Case {
    const char* text;
    const char* normal;  // nullptr: invalid
  } cases[] = {
      {"::1", "0000:0000:0000:0000:0000:0000:0000:0001"},
      {"fe80::1:2", "fe80:0000:0000:0000:0000:0000:0001:0002"},
      {"  FE80::ABCD ", "fe80:0000:0000:0000:0000:0000:0000:abcd"},
      {"1:2:3:4:5:6:7:8", "0001:0002:0003:0004:0005:0006:0007:0008"},
      {"::", "0000:0000:0000:0000:0000:0000:0000:0000"},
      {"1::", "0001:0000:0000:0000:0000:0000:0000:0000"},
      {"1::2::3", nullptr},            // two gaps
      {"1:2:3:4:5:6:7", nullptr},      // seven groups without a gap
      {"1:2:3:4:5:6:7:8:9", nullptr},  // nine groups
      {"1:2:3:4::5:6:7:8", nullptr},   // a gap with eight groups around it
      {"12345::1", nullptr},           // five digits
      {"g::1", nullptr},
      {"1:2:3:4:5:6:7:", nullptr},  // empty last group
      {"", nullptr},
  };
  for (const Case& c : cases) {
    const auto n = NormaliseIPv6(c.text);
    if (c.normal) {
      ASSERT_TRUE(n.has_value()) << c.text;
      EXPECT_EQ(*n, c.normal) << c.text;
    } else {
      EXPECT_FALSE(n.has_value()) << c.text << " gave " << n.value_or("");
    }
  }
}

// Valid addresses of both forms pass the settings' save in its tests.
TEST(AddressCheck, EitherFormIsValid) {
  EXPECT_FALSE(IsValidAddress("ivac-pc"));
  EXPECT_FALSE(IsValidAddress(std::string(100000, ':')));
}

}  // namespace
}  // namespace qv
