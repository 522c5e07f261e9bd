#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "panels/panel_file.h"

namespace qv::panels {
namespace {

// A 19200 x 14400 twips screen (1280 x 960 pixels at 96 dpi) and a
// 3000 x 2000 twips panel.
TEST(KeepOnScreen, PutsAWindowBeyondAnEdgeAgainstItAndNegativesAtZero) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const struct {
    WindowOrigin wanted, placed;
  } cases[] = {
      {{1000, 2000}, {1000, 2000}},      // on the screen: kept
      {{14400, 19200}, {14400, 19200}},  // on the edges: kept
      {{14401, 500}, {12400, 500}},      // below the bottom: against it
      {{500, 19201}, {500, 16200}},      // beyond the right: against it
      {{20000, 30000}, {12400, 16200}},  // both
      {{-5, -1}, {0, 0}},                // negative: 0
      {{kMax, kMin}, {12400, 0}},        // extremes neither overflow nor wrap
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeepOnScreen(c.wanted, 3000, 2000, 19200, 14400), c.placed)
        << c.wanted.top << "," << c.wanted.left;
  }
  // A window larger than the screen that is pushed back starts at 0, not
  // above or left of it.
  EXPECT_EQ(KeepOnScreen({20000, 30000}, 40000, 30000, 19200, 14400), (WindowOrigin{0, 0}));
}

}  // namespace
}  // namespace qv::panels
