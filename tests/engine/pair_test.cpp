// The falling pair: turns, gravity at every level, and a landing that never deletes a field bean.
// Moving, landing and losing, met in every match, are pinned by the recorded replays.
#include "engine_fixture.h"

using PairTest = EngineTest;

TEST_F(PairTest, GravityFollowsLevelTimesDropSpeed) {
  PlayerStateRecord& s = PlayerState[1];
  // Ticks per row (two per gravity step) for level x drop speed = 1 .. 26.
  const int expected[27] = {0, 54, 28, 18, 14, 12, 10, 8, 8, 6, 6, 6, 6, 6,
                            4, 4,  4,  4,  4,  4,  4,  4, 4, 4, 4, 4, 4};
  for (s.config.dropSpeed = 1; s.config.dropSpeed <= 2; ++s.config.dropSpeed)
    for (s.level = 1; s.level <= 13; ++s.level) {
      s.fallProgress = 0;
      Pair(1, 2, 3, 0, 0);
      int ticks = 0;
      for (; s.pairB.row == 0; ticks += 2) PairGravity(1);
      EXPECT_EQ(ticks, expected[s.level * s.config.dropSpeed]) << s.level;
    }
}

TEST_F(PairTest, ALandingNeverDeletesAFieldBean) {
  // A chain closed with the loose 5 still over a gap in column 0, and the released pair slid
  // in under it: the 5 falls into the pair's cell, and the pair lands on the 2.
  Rows(1, {"....6.", "5...6.", "....k.", "23..k."});
  Pair(1, 3, 5, 0, 11, 1);
  SettleFields();
  PairGravity(1);
  // Two beans that fell into both cells of an upright pair: A above them, then B on A.
  Pair(1, 2, 3, 4, 10);
  LandPair(1);
  EXPECT_EQ(
      Cat(Row(1, 7, 6), Row(1, 10, 3, true), Beans(1), BeanTallies[1].beansOverwrittenByLanding),
      "....3.....2.....6.5...6.53..k.23..k. 8.....48.....4.... 11 0");
}

TEST_F(PairTest, TurnsGoRoundClockwiseAndATurnWithoutRoomSwapsTheColours) {
  PlayerStateRecord& s = PlayerState[1];
  Pair(1, 2, 3, 2, 5);
  s.inputRotate = 1;
  std::string turns;
  for (int i = 0; i < 5; ++i) {
    FieldCell(1, 1, 4).colour = i == 3 ? kBlackBean : kEmpty;  // over A when it is on the left
    s.rotateCooldown = 0;
    ApplyPlayerActions();
    turns += Cat(s.pairA.column, s.pairA.row, s.orientation, s.pairA.colour) + "|";
  }
  EXPECT_EQ(turns, "3 5 1 2|2 6 2 2|1 5 3 2|1 5 3 3|2 4 0 3|");
}
