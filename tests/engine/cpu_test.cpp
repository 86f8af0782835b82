// The computer player: top colours, target choice and its one-action-at-a-time input rule.
#include "engine_fixture.h"

using CpuTest = EngineTest;

namespace {
// Sets the top colours of player 1's columns (0 = empty column) over a black floor.
void Tops(std::initializer_list<uint32_t> tops) {
  int x = 0;
  for (uint32_t colour : tops) {
    FieldCell(1, x, 12).colour = colour != kEmpty ? kBlackBean : kEmpty;
    FieldCell(1, x, 11).colour = colour;
    ++x;
  }
}
std::pair<uint32_t, uint32_t> Target(uint32_t a, uint32_t b) {
  PlayerState[1].pairA.colour = a;
  PlayerState[1].pairB.colour = b;
  ChooseCpuTarget(1);
  return {PlayerState[1].cpuTargetColumn, PlayerState[1].cpuTargetOrientation};
}
using Choice = std::pair<uint32_t, uint32_t>;
}  // namespace

TEST_F(CpuTest, TopColourReadsFullAndEmptyColumnsAsZero) {
  Rows(1, {".4....", "k2...."});
  for (int y = 0; y <= kBottomRow; ++y) FieldCell(1, 2, y).colour = 5;
  EXPECT_EQ(TopColour(1, 0), kBlackBean);
  EXPECT_EQ(TopColour(1, 1), 4u);
  EXPECT_EQ(TopColour(1, 2), 0u);
  EXPECT_EQ(TopColour(1, 3), 0u);
}

TEST_F(CpuTest, TargetsFollowTheRulesInOrderLeftmostFirst) {
  Tops({2, 5, 2, 5, 5, 5});
  EXPECT_EQ(Target(2, 2), Choice(0, 0)) << "one colour: upright on the leftmost match";
  Tops({5, 5, 5, 3, 2, 5});
  EXPECT_EQ(Target(2, 3), Choice(4, 1)) << "B on column 3, A on column 4";
  Tops({5, 2, 3, 5, 5, 5});
  EXPECT_EQ(Target(2, 3), Choice(1, 3));
  Tops({5, 5, 3, 0, 0, 5});
  EXPECT_EQ(Target(2, 3), Choice(3, 1)) << "b next to an empty column";
  Tops({5, 5, 5, 0, 0, 5});
  EXPECT_EQ(Target(2, 3), Choice(3, 3)) << "two empty columns";
  Tops({5, 5, 5, 5, 2, 5});
  EXPECT_EQ(Target(2, 3), Choice(4, 3)) << "any column with a";
  Tops({5, 5, 3, 5, 5, 2});
  EXPECT_EQ(Target(2, 3), Choice(3, 1)) << "column 5 is never looked at alone";
  Tops({5, 5, 5, 5, 5, 5});
  bool seen[6] = {};
  for (int i = 0; i < 100; ++i) {
    const Choice choice = Target(2, 3);
    EXPECT_EQ(choice.second, 1u);
    seen[choice.first] = true;
  }
  EXPECT_FALSE(seen[0]);
  for (int x = 1; x < 6; ++x) EXPECT_TRUE(seen[x]);
  // An empty field, and one whose first two columns are full, read alike.
  ResetPlayerState(1);
  EXPECT_EQ(Target(2, 3), Choice(0, 3));
  for (int y = 0; y <= kBottomRow; ++y) FieldCell(1, 0, y).colour = FieldCell(1, 1, y).colour = 6;
  EXPECT_EQ(Target(2, 3), Choice(0, 3));
}

TEST_F(CpuTest, TheInputRuleTurnsThenMovesThenDrops) {
  PlayerStateRecord& s = PlayerState[1];
  s.cpuControlled = 1;
  s.config.cpuStrength = 5;
  auto flags = [&] {
    ReadPlayerInputs();
    return std::to_string(s.inputRotate) + std::to_string(s.inputLeft) +
           std::to_string(s.inputRight) + std::to_string(s.inputDown);
  };
  EXPECT_EQ(flags(), "0100") << "the first pair heads for column 0, upright";
  s.cpuTargetColumn = 4;
  s.cpuTargetOrientation = 3;
  EXPECT_EQ(flags(), "1000");
  Pair(1, 2, 3, 4, 0, 3);
  EXPECT_EQ(flags(), "0010");
  Pair(1, 2, 3, 5, 0, 3);  // A is in column 4
  EXPECT_EQ(flags(), "0001");
}

TEST_F(CpuTest, StrengthSetsHowOftenTheActionStepsDrop) {
  // Soft drops (5 points each) in the first 64 ticks with the pair above its target.
  const int64_t drops[7] = {3, 3, 4, 5, 15, 15, 3};  // strengths 0..6; 0 and 6 play as 1
  PlayerState[2].absent = 1;
  for (uint32_t strength = 0; strength <= 6; ++strength) {
    ResetPlayerState(1);
    PlayerState[1].cpuControlled = 1;
    PlayerState[1].config.cpuStrength = strength;
    PlayerState[1].cpuTargetColumn = kSpawnColumn;
    Pair(1, 2, 3, kSpawnColumn, -8);  // high enough not to land
    tickCount = 0;
    Ticks(64);
    EXPECT_EQ(PlayerState[1].score, 5 * drops[strength]) << "strength " << strength;
  }
  // Over whole meter periods, the share of action steps that drop grows with the strength.
  uint32_t previous = 0;
  for (uint32_t strength = 1; strength <= 5; ++strength) {
    uint32_t count = 0;
    for (uint32_t t = kInputCadence; t < kTicksPerMeterPeriod; t += kActionCadence)
      count += CpuWantsDrop(strength, t);
    EXPECT_GE(count, previous) << strength;
    if (strength < 5) {
      EXPECT_GT(count, previous) << strength;
    }
    previous = count;
  }
}
