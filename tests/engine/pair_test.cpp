// The falling pair: moves, rotation, gravity, landing and the loss rule.
#include "engine_fixture.h"

using PairTest = EngineTest;

TEST_F(PairTest, MovesAreRefusedAtWallsAndDuringTheSlide) {
  PlayerStateRecord& s = PlayerState[1];
  Pair(1, 2, 3, 0, 5);
  s.inputLeft = 1;
  ApplyPlayerActions();
  EXPECT_EQ(Cat(Where(1), s.slideOffset), "0 4 0 5 0");
  Pair(1, 2, 3, 3, 5);
  s.inputLeft = 0;
  s.inputRight = 1;
  std::string columns;
  for (int i = 0; i < 40; ++i, AdvanceAnimations()) {
    ApplyPlayerActions();
    columns += std::to_string(s.pairB.column);
  }
  EXPECT_EQ(columns, std::string(16, '4') + std::string(24, '5')) << "one move per 16 ticks";
  s.inputLeft = 1;
  ApplyPlayerActions();  // at the right wall: left, then right again
  EXPECT_EQ(Cat(Where(1), s.slideOffset), "5 4 5 5 -16");
}

TEST_F(PairTest, RotationTurnsClockwiseWithCooldownOrSwapsColoursWhenBlocked) {
  PlayerStateRecord& s = PlayerState[2];
  FieldCell(2, 3, 4).colour = 6;
  s.inputRotate = 1;
  std::string seen;
  // Four turns at column 1, each tried twice within the cooldown; then blocked turns at the
  // wall and past a bean in the swept corner, which swap the colours.
  for (int column : {1, 5, 2}) {
    Pair(2, 2, 3, column, 5);
    for (int turn = 0; turn < (column == 1 ? 4 : 1); ++turn, s.rotateCooldown = 0) {
      ApplyPlayerActions();
      ApplyPlayerActions();
      seen += Cat(Where(2), s.rotateCooldown, s.pairA.colour) + "|";
    }
  }
  EXPECT_EQ(seen, "2 5 1 5 10 2|1 6 1 5 10 2|0 5 1 5 10 2|1 4 1 5 10 2|5 4 5 5 10 3|2 4 2 5 10 3|");
  EXPECT_EQ(TakeSounds(), SoundList(6, "1 10 7"));
}

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

TEST_F(PairTest, LandingLinksRespawnsWaitsAndTheSpawnColumnLoses) {
  PlayerStateRecord& s = PlayerState[1];
  Rows(1, {"2.....", "2....."});
  Pair(1, 4, 2, 0, 10);
  s.nextColourA = 5;
  PairGravity(1);  // resting on a bean: lands at once
  s.inputLeft = 1;
  ApplyPlayerActions();
  EXPECT_EQ(Cat(Row(1, 9, 2), Row(1, 9, 3, true), Where(1), s.pairA.colour),
            "4.....2..... ......8.....4..... 3 -3 3 -2 5")
      << "linked, and the next pair waits";
  // Beans landing in the hidden rows get no links; a bean at the top of column 3 loses.
  for (int y = 0; y <= kBottomRow; ++y) FieldCell(1, 5, y).colour = 2 + y % 5;
  Pair(1, 2, 2, 5, -1);
  LandPair(1);
  FieldCell(1, 3, 0).colour = kBlackBean;
  CheckTopOut(1);
  EXPECT_EQ(Cat(Row(1, -1, 2), Row(1, -1, 2, true), s.gameOver), ".....2...k.2 ............ 1");
  EXPECT_EQ(TakeSounds(), (SoundList{"2 30 2", "2 30 2", "12 60 0"}));
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
