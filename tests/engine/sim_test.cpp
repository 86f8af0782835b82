// The simulator's invariant check.
#include <cstring>
#include <functional>

#include "engine_fixture.h"

using SimTest = EngineTest;

TEST_F(SimTest, TheInvariantCheckCatchesBrokenState) {
  StartCpuMatch(SimOptions{});
  Ticks(3000);
  char report[kReportSize];
  ASSERT_TRUE(CheckEngineInvariants(&backend, report, sizeof report)) << report;
  ASSERT_EQ(FieldCell(1, 0, kTopRow).colour, kEmpty);
  PlayerStateRecord saved[3];
  memcpy(saved, PlayerState, sizeof saved);
  const std::pair<const char*, std::function<void()>> faults[] = {
      {"colour 7", [] { FieldCell(1, 2, 5).colour = 7; }},
      {"border cell (6,3)", [] { FieldCell(2, kRightBorder, 3).colour = 2; }},
      {"beans in the field, but", [] { FieldCell(1, 0, kTopRow).colour = 3; }},
      {"pair", [] { PlayerState[1].pairA.column += 1; }},
      {"message log", [] { ClearMessageLog(), MessageLog[1].Set("x"); }},
      {"sound 3 at mixer volume 42", [] { PlaySound(Sounds[3], 21, 2); }},
      {"deleted by landings: 1", [] { ++BeanTallies[2].beansOverwrittenByLanding; }},
  };
  for (const auto& [fragment, fault] : faults) {
    fault();
    EXPECT_FALSE(CheckEngineInvariants(&backend, report, sizeof report)) << fragment;
    EXPECT_NE(strstr(report, fragment), nullptr) << report;
    memcpy(PlayerState, saved, sizeof saved);
    ClearMessageLog();
    backend.sounds.clear();
  }
}
