#include "remote/server_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv::remote {
namespace {

TEST(MacroNames, OnlyRelativeNamesInsideTheMacroFolder) {
  struct Case {
    std::string name;
    bool ok;
  } cases[] = {
      {"Tower.txt", true},
      {"sub\\Tower.txt", true},
      {"sub/Tower.txt", true},
      {"Tower", true},
      {"a..b.txt", true},
      {"COMMENTS.txt", true},
      {"", false},
      {"..\\Config\\Config.ini", false},
      {"sub\\..\\..\\x.txt", false},
      {"..", false},
      {".\\Tower.txt", false},
      {"\\Windows\\win.ini", false},
      {"/etc/passwd", false},
      {"\\\\server\\share\\x.txt", false},
      {"C:\\x.txt", false},
      {"C:x.txt", false},
      {"Tower.txt:secret", false},
      {"sub\\\\Tower.txt", false},
      {"sub\\", false},
      {"Tower.txt.", false},
      {"Tower.txt ", false},
      {"NUL", false},
      {"nul.txt", false},
      {"sub\\CON", false},
      {"COM1.txt", false},
      {"lpt9", false},
      {"AUX .txt", false},
      {"CONOUT$", false},
      {"*.txt", false},
      {"a?.txt", false},
      {"\"Tower.txt\"", false},
      {std::string("Tow\0er.txt", 10), false},
      {"Tow\ter.txt", false},
      {std::string(kMaxMacroNameChars, 'a'), true},
      {std::string(kMaxMacroNameChars + 1, 'a'), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsConfinedMacroName(c.name), c.ok) << c.name;
}

TEST(Monitor, TimingIsClampedToWhatATimerCanKeepAndOnlyChangesAreReported) {
  struct Case {
    int32_t interval, io;
    int32_t wantInterval, wantIo;
  } cases[] = {
      {500, 2000, 500, 2000},
      {0, 0, kMinMonitorIntervalMs, kMinMonitorIntervalMs},
      {-5, -5, kMinMonitorIntervalMs, kMinMonitorIntervalMs},
      {INT32_MAX, INT32_MAX, kMaxMonitorIntervalMs, kMaxMonitorIoPeriodMs},
      {1000, 10, 1000, 1000},
  };
  for (const Case& c : cases) {
    const MonitorTiming t = ClampMonitor(c.interval, c.io);
    EXPECT_EQ(t.intervalMs, c.wantInterval) << c.interval << "," << c.io;
    EXPECT_EQ(t.ioPeriodMs, c.wantIo) << c.interval << "," << c.io;
  }
  // At 500 and 2000 the list is read every fourth tick.
  Monitor m;
  m.Start({500, 2000});
  std::vector<int> readTicks;
  for (int tick = 1; tick <= 12; ++tick)
    m.Tick("", [&] {
      readTicks.push_back(tick);
      return std::string();
    });
  EXPECT_EQ(readTicks, (std::vector<int>{4, 8, 12}));
  // The largest clamped values still read the list, without overflow.
  Monitor big;
  big.Start({INT32_MAX, INT32_MAX});
  int bigReads = 0;
  for (int tick = 0; tick < 60; ++tick) big.Tick("", [&] { return ++bigReads, std::string(); });
  EXPECT_EQ(bigReads, 1);

  // Only changes are reported.
  Monitor changes;
  changes.Start({100, 100});  // the list is read on every tick
  struct Step {
    const char* selection;
    const char* io;
    std::vector<std::string> want;
  } steps[] = {
      {"AFR1", "A\t\n", {"SEL AFR1\r", "I/O A\t\n\r"}},
      {"AFR1", "A\t\n", {}},
      {"", "", {}},                        // none selected, list empty: nothing
      {"AFR1", "A\t\n", {"I/O A\t\n\r"}},  // same callsign: not again; the list came back
      {"BAW9", "B\t\n", {"SEL BAW9\r", "I/O B\t\n\r"}},
  };
  for (const Step& s : steps)
    EXPECT_EQ(changes.Tick(s.selection, [&] { return std::string(s.io); }), s.want) << s.selection;
  // The client's own SELECT is not reported back.
  changes.SetLastSelection("DLH4");
  EXPECT_EQ(changes.Tick("DLH4", [] { return std::string("B\t\n"); }), std::vector<std::string>{});
  changes.Stop();
  EXPECT_TRUE(changes.Tick("EZY1", [] { return std::string("C"); }).empty());
}

TEST(CommandQueue, RunsOneAtATimeInArrivalOrder) {
  CommandQueue q;
  std::vector<std::string> ran;
  int depth = 0, deepest = 0;
  std::function<void(const std::string&)> run = [&](const std::string& c) {
    ++depth;
    deepest = std::max(deepest, depth);
    ran.push_back(c);
    if (c == "a") {
      // Commands arriving while "a" runs (its run lets messages in) wait.
      q.Push("c");
      q.Drain(run);
      q.Push("d");
    }
    --depth;
  };
  q.Push("a");
  q.Push("b");
  q.Drain(run);
  EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(deepest, 1);
  EXPECT_FALSE(q.Draining());
  q.Push("x");
  q.Clear();
  q.Drain(run);
  EXPECT_EQ(ran.size(), 4u);
}

}  // namespace
}  // namespace qv::remote
