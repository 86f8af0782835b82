// The simulator's invariant check and repeatability.
#include <cstring>
#include <functional>

#include "engine_fixture.h"
#include "sim_core.h"

using SimTest = EngineTest;

TEST_F(SimTest, TheInvariantCheckCatchesBrokenState) {
  SimOptions options;
  StartCpuMatch(options);
  for (int i = 0; i < 3000; ++i) MatchTick();
  char report[kReportSize];
  ASSERT_TRUE(CheckEngineInvariants(&backend, report, sizeof report)) << report;
  ASSERT_EQ(FieldCell(1, 0, kTopRow).colour, kEmpty);
  PlayerStateRecord saved[3];
  memcpy(saved, PlayerState, sizeof saved);
  const std::pair<const char*, std::function<void()>> faults[] = {
      {"colour 7", [] { FieldCell(1, 2, 5).colour = 7; }},
      {"border cell (6,3)", [] { FieldCell(2, kRightBorder, 3).colour = 2; }},
      {"border cell (2,13)", [] { FieldCell(1, 2, kFloorRow).links = kLinkUp; }},
      {"beans in the field, but", [] { FieldCell(1, 0, kTopRow).colour = 3; }},
      {"colourCounts[3]", [] { PlayerState[2].colourCounts[2] = 31; }},
      {"pair", [] { PlayerState[1].pairA.column += 1; }},
      {"level 14", [] { PlayerState[2].level = 14; }},
      {"message log", [] { ClearMessageLog(), MessageLog[1].Set("x"); }},
      {"sound 3 at mixer volume 42", [] { PlaySound(Sounds[3], 21, 2); }},
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

TEST_F(SimTest, TheSameSeedPlaysTheSameMatch) {
  SimOptions options;
  options.check = true;
  options.players[1].strength = 5;
  options.players[2].beansToLink = 3;
  char report[kReportSize] = {};
  auto play = [&](uint64_t seed) {
    SeedRandom(seed);
    return PlayCpuMatch(options, backend, report, sizeof report);
  };
  const MatchResult runs[3] = {play(9), play(9), play(10)};
  EXPECT_FALSE(runs[0].violation) << report;
  EXPECT_NE(runs[0].winner, kCapped);
  EXPECT_EQ(runs[0].ticks, runs[1].ticks);
  EXPECT_EQ(runs[0].score[1], runs[1].score[1]);
  EXPECT_EQ(runs[0].score[2], runs[1].score[2]);
  EXPECT_NE(runs[0].ticks, runs[2].ticks);
}
