// The computer player: top colours, target choice and how often each strength drops.
#include "engine_fixture.h"

using CpuTest = EngineTest;

namespace {
// Sets the top colours of player 1's columns over a black floor (0: an empty column), then
// returns "column orientation" of the target for the pair (a, b).
std::string Target(std::vector<uint32_t> tops, uint32_t a, uint32_t b) {
  for (int x = 0; x < kColumns; ++x) {
    FieldCell(1, x, 12).colour = tops[x] != kEmpty ? kBlackBean : kEmpty;
    FieldCell(1, x, 11).colour = tops[x];
  }
  PlayerState[1].pairA.colour = a;
  PlayerState[1].pairB.colour = b;
  ChooseCpuTarget(1);
  return EngineTest::Cat(PlayerState[1].cpuTargetColumn, PlayerState[1].cpuTargetOrientation);
}
}  // namespace

TEST_F(CpuTest, TargetsFollowTheRulesInOrderLeftmostFirst) {
  EXPECT_EQ(Target({2, 5, 2, 5, 5, 5}, 2, 2), "0 0") << "one colour: upright on the first match";
  EXPECT_EQ(Target({5, 5, 5, 3, 2, 5}, 2, 3), "4 1") << "B on column 3, A on column 4";
  EXPECT_EQ(Target({5, 2, 3, 3, 2, 5}, 2, 3), "1 3");
  EXPECT_EQ(Target({5, 5, 3, 0, 0, 5}, 2, 3), "3 1") << "b next to an empty column";
  EXPECT_EQ(Target({5, 5, 5, 0, 0, 2}, 2, 3), "3 3") << "two empty columns";
  EXPECT_EQ(Target({5, 5, 5, 5, 2, 5}, 2, 3), "4 3") << "any column showing a";
  EXPECT_EQ(Target({5, 5, 3, 5, 5, 2}, 2, 3), "3 1") << "column 5 is never read alone";
  for (int y = 0; y <= kBottomRow; ++y) FieldCell(1, 0, y).colour = FieldCell(1, 1, y).colour = 6;
  EXPECT_EQ(TopColour(1, 0), 0u) << "a full column reads as empty";
  ResetPlayerState(1);
  bool seen[6] = {};
  for (int i = 0; i < 100; ++i) seen[Target({5, 5, 5, 5, 5, 5}, 2, 3)[0] - '0'] = true;
  EXPECT_EQ(std::vector<bool>(seen, seen + 6), (std::vector<bool>{0, 1, 1, 1, 1, 1}));
}

TEST_F(CpuTest, StrengthSetsHowOftenTheActionStepsDrop) {
  // Soft drops in 64 ticks above the target: more with each strength; 0 and 6 play as 1.
  const int64_t drops[7] = {3, 3, 4, 5, 15, 15, 3};
  PlayerState[2].absent = 1;
  for (uint32_t strength = 0; strength <= 6; ++strength) {
    ResetPlayerState(1);
    PlayerState[1].cpuControlled = 1;
    PlayerState[1].config.cpuStrength = strength;
    PlayerState[1].cpuTargetColumn = kSpawnColumn;
    Pair(1, 2, 3, kSpawnColumn, -8);  // high enough not to land
    tickCount = 0;
    Ticks(64);
    EXPECT_EQ(PlayerState[1].score, kSoftDropPoints * drops[strength]) << strength;
  }
}
