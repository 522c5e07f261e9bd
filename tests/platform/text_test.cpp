#include "platform/text.h"

#include <gtest/gtest.h>

#include <limits>

namespace qv {
namespace {

TEST(LeadingNumber, ReadsTheLeadingDecimalNumberOnlyAndRoundsHalvesToEven) {
  struct Case {
    const char* text;
    double want;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"  42", 42},
      {"\t7x", 7},
      {"-3.5", -3.5},
      {"+8", 8},
      {"12.5.7", 12.5},
      {"1,5", 1},
      {".5", 0.5},
      {"-", 0},
      {"- 3", 0},
      {"3e2", 3},
      {"&H10", 16},
      {"&hff", 255},
      {"&H8000000F", -2147483633.0},
      {"&HFFFFFFFF", -1},
      {"&H", 0},
      {"&Hxyz", 0},
      {"  -0002147483633", -2147483633.0},
      {"0000016777215", 16777215},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.want) << c.text;
  // Beyond what a double holds: too large saturates, too small is 0.
  const std::string tiny = "0." + std::string(400, '0') + "1";
  const std::string huge = "1" + std::string(400, '0');
  EXPECT_EQ(LeadingNumber(tiny), 0.0);
  EXPECT_EQ(LeadingNumber("-" + tiny), 0.0);
  EXPECT_EQ(LeadingNumber("000." + std::string(400, '0') + "7x"), 0.0);
  EXPECT_EQ(LeadingNumber(huge), std::numeric_limits<double>::max());
  EXPECT_EQ(LeadingNumber("-" + huge + ".5"), -std::numeric_limits<double>::max());
  // Halves go to the even neighbour, exactly; huge or garbage values
  // saturate or give 0.
  const struct {
    double value;
    int32_t want;
  } halves[] = {{12.5, 12},
                {13.5, 14},
                {-12.5, -12},
                {-13.5, -14},
                {0.5, 0},
                {2.4, 2},
                {2.6, 3},
                {-2.6, -3},
                {65535.4, 65535},
                {65535.6, 65536},
                {1e300, std::numeric_limits<int32_t>::max()},
                {-1e300, std::numeric_limits<int32_t>::min()}};
  for (const auto& c : halves) EXPECT_EQ(RoundHalfEven(c.value), c.want) << c.value;
  // Digit-by-digit summing makes "12.5" a hair above the half on some FPUs.
  const struct {
    const char* text;
    int32_t want;
  } ints[] = {{"12.5", 12}, {"13.5", 14},   {"30.5", 30},     {"0.5", 0},  {"2.5", 2},
              {"-2.5", -2}, {"2.50000", 2}, {"2.5000001", 3}, {"1.15", 1}, {"65535.5", 65536}};
  for (const auto& c : ints) EXPECT_EQ(LeadingInt(c.text), c.want) << c.text;
  EXPECT_EQ(LeadingInt("99999999999999999999"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(LeadingInt("-99999999999999999999"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(LeadingInt("&H123456789"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(LeadingInt(std::string(5000, '9')), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(LeadingInt("\x01\xff garbage"), 0);
  EXPECT_EQ(FloorInt(2.9), 2);
  EXPECT_EQ(FloorInt(-0.5), -1);
  // Wider numbers keep all their digits (the colour forms are checked with
  // the panel file's encodings).
  EXPECT_EQ(Format13(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

TEST(TrimAndCase, SpacesOnlyVersusBlanksAndAsciiCaseOnly) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimBlanks(" \ta\t "), "a");
  EXPECT_EQ(TrimRightBlanks("a \t"), "a");
  EXPECT_EQ(TrimLeftSpaces("  a "), "a ");
  EXPECT_EQ(TrimRightSpaces("  a "), "  a");
  EXPECT_EQ(TrimSpaces("    "), "");
  // Comparisons ignore ASCII case only.
  EXPECT_TRUE(EqualsNoCase("ReBarWindow32", "rebarwindow32"));
  EXPECT_FALSE(EqualsNoCase("abc", "abd"));
  EXPECT_FALSE(EqualsNoCase("\xe9", "\xc9"));  // accented letters stay distinct
  EXPECT_TRUE(StartsWithNoCase("Unselect all", "UNSELECT"));
  EXPECT_EQ(ToUpper("a*b?c"), "A*B?C");
}

TEST(Like, PatternRulesAndManyStarsStayFast) {
  struct Case {
    const char* text;
    const char* pattern;
    bool want;
  } cases[] = {
      {"IvAc 1.2", "IvAc 1*", true},
      {"IvAc 2", "IvAc 1*", false},
      {"", "*", true},
      {"", "", true},
      {"a", "", false},
      {"EDDF", "ED??", true},
      {"EDDF", "ED?", false},
      {"RWY27", "RWY##", true},
      {"RWY2L", "RWY##", false},
      {"B", "[A-C]", true},
      {"D", "[A-C]", false},
      {"D", "[!A-C]", true},
      {"B", "[!A-C]", false},
      {"B", "[C-A]", true},
      {"-", "[A-]", true},
      {"LIRF", "*R*", true},
      {"LIRF", "*X*", false},
      {"aXbXc", "*X*X*", true},
      {"abc", "a*c*", true},
      {"abc", "*b", false},
      {"a[b", "a[[]b", true},
      {"a*b", "a[*]b", true},
      {"axb", "a[*]b", false},
      {"EDDF", "EDDF", true},
      {"eddf", "EDDF", false},
      // Malformed classes match nothing, wherever they stand.
      {"a", "[a", false},
      {"abc", "abc[", false},
      {"abc", "*[x", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Like(c.text, c.pattern), c.want) << c.text << " like " << c.pattern;
  const std::string text(20000, 'a');
  EXPECT_FALSE(Like(text, "*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(Like(text, "*a*a*a*a*a*a*a*a*"));
}

}  // namespace
}  // namespace qv
