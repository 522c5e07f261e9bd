#include "helper/player.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace qv::helper {
namespace {

// Records "+16 +65 -65 -16"; throws on the call numbered `throwAt` (from 1).
class RecordingSender : public KeySender {
 public:
  void Key(uint8_t vk, bool down) override {
    ++calls;
    if (calls == throwAt) throw std::runtime_error("sender failed");
    if (!log.empty()) log += ' ';
    log += (down ? "+" : "-") + std::to_string(vk);
  }
  std::string log;
  int calls = 0;
  int throwAt = -1;
};

// Allows the first `n` key presses.
MayType Allow(int n) {
  return [n]() mutable { return n-- > 0; };
}

TEST(Play, StopsAndSenderFailuresReleaseWhatIsDownAndHeldKeysStayOnlyWhenAsked) {
  struct Case {
    std::string_view keys;
    int allowed;
    bool finished;
    std::string_view want;
  } cases[] = {
      {"+(ab)", 99, true, "+16 +65 -65 +66 -66 -16"},
      {"+(ab)", 0, false, ""},
      {"+(ab)", 1, false, "+16 -16"},
      {"+(ab)", 2, false, "+16 +65 -65 -16"},
      // Released last pressed first.
      {"~(%(x))", 2, false, "+17 +18 -18 -17"},
  };
  for (const Case& c : cases) {
    const SendKeysResult parsed = ParseSendKeys(c.keys, UsLayout);
    RecordingSender sender;
    EXPECT_EQ(Play(parsed.events, sender, Allow(c.allowed)), c.finished) << c.keys;
    EXPECT_EQ(sender.log, c.want) << c.keys << " allowed " << c.allowed;
  }

  // Held keys stay down only when asked and played to the end.
  const KeyEvents held = CharKeys('A', UsLayout, true, false);
  const struct {
    bool keep;
    int allowed;
    std::string_view want;
  } keeps[] = {
      {true, 99, "+16 +65"},
      {false, 99, "+16 +65 -65 -16"},
      {true, 1, "+16 -16"},
  };
  for (const auto& c : keeps) {
    RecordingSender sender;
    Play(held, sender, Allow(c.allowed), c.keep);
    EXPECT_EQ(sender.log, c.want) << c.keep << " " << c.allowed;
  }
  // A sender that fails still gets every held key released.
  const KeyEvents nested = ParseSendKeys("~(%(x))", UsLayout).events;
  struct Failure {
    int throwAt;
    std::string_view want;
  } failures[] = {
      {3, "+17 +18 -18 -17"},      // the press of x fails
      {4, "+17 +18 +88 -18 -17"},  // the release of x fails
      {5, "+17 +18 +88 -88 -17"},  // the release of Alt fails: not asked twice
      {1, ""},                     // the very first press fails
  };
  for (const Failure& c : failures) {
    RecordingSender sender;
    sender.throwAt = c.throwAt;
    EXPECT_THROW(Play(nested, sender), std::runtime_error) << c.throwAt;
    EXPECT_EQ(sender.log, c.want) << c.throwAt;
  }
}

TEST(TypeText, SkipsWhatTheLayoutCannotTypeAndAStopReleasesTheShiftOfACharacter) {
  RecordingSender sender;
  int pauses = 0;
  const TypeResult r = TypeText(
      "a\xE9"
      "B\x01",
      UsLayout, sender, {}, [&] { ++pauses; });
  EXPECT_EQ(std::tie(sender.log, r.typed, r.skipped, r.stopped, pauses),
            std::make_tuple("+65 -65 +16 +66 -66 -16", 2u, "\xE9\x01", false, 2));
  EXPECT_EQ(r.Note(), "not typed, no key on this keyboard layout: \xE9\x01");
  EXPECT_EQ(TypeResult{}.Note(), "");

  // 'a' is one press, 'B' needs Shift then B: the third press is refused,
  // and the Shift let go.
  RecordingSender stopped;
  const TypeResult s = TypeText("aBc", UsLayout, stopped, Allow(2));
  EXPECT_EQ(std::tie(s.stopped, s.typed, stopped.log),
            std::make_tuple(true, 1u, "+65 -65 +16 -16"));
}

}  // namespace
}  // namespace qv::helper
