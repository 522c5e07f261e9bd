#include "tools/ivac_standin/event.h"

#include <gtest/gtest.h>

namespace qv::standin {
namespace {

TEST(EventLine, WritesSeqMsAndEventFirstThenTheFieldsInOrderEscaped) {
  EXPECT_EQ(EventLine(3, 120, "toolbar", {{"button", "AP"}, {"pressed", true}, {"tab", 6}}),
            R"({"seq":3,"ms":120,"event":"toolbar","button":"AP","pressed":true,"tab":6})");
  EXPECT_EQ(EventLine(1, 0, "selection", {{"items", std::vector<std::string>{"EDDF", "EDDM"}}}),
            R"({"seq":1,"ms":0,"event":"selection","items":["EDDF","EDDM"]})");
  EXPECT_EQ(EventLine(1, 0, "selection", {{"items", std::vector<std::string>{}}}),
            R"({"seq":1,"ms":0,"event":"selection","items":[]})");
  // Quotes, controls and high bytes are escaped.
  EXPECT_EQ(EventLine(1, 0, "chat", {{"text", std::string("a\"b\\c\n\t\x01\xe9")}}),
            R"({"seq":1,"ms":0,"event":"chat","text":"a\"b\\c\n\t\u0001\u00e9"})");
}

TEST(ParseEventLine, ReadsBackWhatIsWrittenAndAcceptsBlanks) {
  const std::string line = EventLine(42, 7, "selection",
                                     {{"code", "AP"},
                                      {"items", std::vector<std::string>{"A\"1", "\xe9"}},
                                      {"x", -12},
                                      {"ok", false}});
  const auto e = ParseEventLine(line);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Name(), "selection");
  EXPECT_EQ(e->Int("seq"), 42);
  EXPECT_EQ(e->Text("code"), "AP");
  EXPECT_EQ(e->List("items"), (std::vector<std::string>{"A\"1", "\xe9"}));
  EXPECT_EQ(e->Int("x"), -12);
  EXPECT_EQ(e->Text("x"), "-12");
  EXPECT_FALSE(e->Flag("ok"));
  EXPECT_EQ(e->Text("ok"), "false");
  EXPECT_EQ(e->Text("missing"), "");
  EXPECT_FALSE(e->Has("missing"));
  // Blanks between tokens are accepted.
  const auto spaced = ParseEventLine(R"( { "event" : "x" , "n" : 5 , "l" : [ "a" , "b" ] } )");
  ASSERT_TRUE(spaced);
  EXPECT_EQ(spaced->Name(), "x");
  EXPECT_EQ(spaced->Int("n"), 5);
  EXPECT_EQ(spaced->List("l").size(), 2u);
}

TEST(ParseEventLine, RefusesWhatIsNotAFlatObject) {
  for (const char* bad : {"", "{", "[]", R"({"a":})", R"({"a":1,})", R"({"a":{"b":1}})",
                          R"({"a":"x)", R"({"a":1} x)", R"({"a":"\u0100"})", R"({"a":-})"})
    EXPECT_FALSE(ParseEventLine(bad)) << bad;
  EXPECT_TRUE(ParseEventLine("{}"));
}

}  // namespace
}  // namespace qv::standin
