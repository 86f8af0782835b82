// The falling pair: reset, moves, rotation, soft drop, gravity, landing and the loss rule.
#include "engine_fixture.h"

using PairTest = EngineTest;

TEST_F(PairTest, ResetKeepsOptionsEmptiesEverythingAndDrawsInOrder) {
  PlayerStateRecord& s = PlayerState[1];
  s.config.beansToLink = 6;
  FieldCell(1, kRightBorder, kFloorRow) = FieldCell(1, 2, -10) = Cell{4, 8, 9};
  SeedRandom(42);
  ResetPlayerState(1);
  SeedRandom(42);
  const std::vector<uint32_t> drawn = {Random(5) + 2, Random(5) + 2, Random(5) + 2,
                                       Random(16),    Random(5) + 2, Random(16)};
  EXPECT_EQ(drawn, (std::vector<uint32_t>{s.nextColourA, s.nextColourB, s.pairA.colour,
                                          s.pairA.phase, s.pairB.colour, s.pairB.phase}));
  EXPECT_EQ(Beans(1) + FieldCell(1, kRightBorder, kFloorRow).colour + FieldCell(1, 2, -10).links,
            0u);
  EXPECT_EQ(Where(1) + " " + std::to_string(s.level * 10 + s.config.beansToLink), "3,-3 3,-2 16");
}

TEST_F(PairTest, MovesAreRefusedAtWallsAndDuringTheSlide) {
  PlayerStateRecord& s = PlayerState[1];
  Pair(1, 2, 3, 0, 5);
  s.inputLeft = 1;
  ApplyPlayerActions();
  EXPECT_EQ(Where(1) + " " + std::to_string(s.slideOffset), "0,4 0,5 0");
  s.inputLeft = 0;
  s.inputRight = 1;
  std::string columns;
  for (int i = 0; i < 18; ++i, AdvanceAnimations()) {
    ApplyPlayerActions();
    columns += std::to_string(s.pairB.column);
  }
  EXPECT_EQ(columns, "111111111111111122") << "one move per 16 ticks of slide";
  Pair(1, 2, 3, 5, 5);
  s.slideOffset = 0;
  ApplyPlayerActions();
  s.inputLeft = 1;
  ApplyPlayerActions();  // from column 5: left, then right again
  EXPECT_EQ(Where(1) + " " + std::to_string(s.slideOffset), "5,4 5,5 -16");
}

TEST_F(PairTest, RotationTurnsClockwiseWithCooldownOrSwapsColoursWhenBlocked) {
  PlayerStateRecord& s = PlayerState[2];
  Pair(2, 2, 3, 2, 5);
  s.inputRotate = 1;
  for (const char* where : {"3,5 2,5", "2,6 2,5", "1,5 2,5", "2,4 2,5"}) {
    ApplyPlayerActions();
    ApplyPlayerActions();  // refused during the cooldown
    EXPECT_EQ(Where(2) + " " + std::to_string(s.rotateCooldown), std::string(where) + " 10");
    s.rotateCooldown = 0;
  }
  Pair(2, 2, 3, 2, -2, 3);
  ApplyPlayerActions();
  EXPECT_EQ(Where(2), "2,-3 2,-2") << "3 -> 0 moves A up, in the hidden rows too";
  FieldCell(2, 3, 4).colour = 6;
  for (int column : {5, 2}) {  // against the wall; past a bean in the swept corner
    s.rotateCooldown = 0;
    Pair(2, 2, 3, column, 5);
    ApplyPlayerActions();
    EXPECT_EQ(s.orientation * 100 + s.pairA.colour * 10 + s.pairB.colour, 32u);
  }
  EXPECT_EQ(TakeSounds(), SoundList(7, "1/10/7"));
}

TEST_F(PairTest, SoftDropScoresAndGravityFollowsLevelTimesDropSpeed) {
  PlayerStateRecord& s = PlayerState[1];
  Pair(1, 2, 3, 0, 11);
  s.inputDown = 1;
  ApplyPlayerActions();
  ApplyPlayerActions();
  EXPECT_EQ(std::to_string(s.score) + Row(1, 12), "103.....") << "the landing step scores too";
  EXPECT_EQ(TakeSounds(), SoundList{"2/30/2"});
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

TEST_F(PairTest, LandingLinksRespawnsAndWaits) {
  PlayerStateRecord& s = PlayerState[1];
  Rows(1, {"2.....", "2....."});
  Pair(1, 4, 2, 0, 10);
  s.nextColourA = 5;
  PairGravity(1);  // resting on a bean: lands at once
  EXPECT_EQ(Row(1, 9) + Row(1, 10), "4.....2.....");
  EXPECT_EQ(FieldCell(1, 0, 10).links * 10 + FieldCell(1, 0, 11).links, kLinkDown * 10 + kLinkUp);
  s.inputLeft = 1;
  ApplyPlayerActions();
  ReadPlayerInputs();
  EXPECT_EQ(Where(1) + " " + std::to_string(s.pairA.colour), "3,-3 3,-2 5") << "it waits";
  // Beans landing in the hidden rows get no links.
  for (int y = 0; y <= kBottomRow; ++y) FieldCell(1, 5, y).colour = 2 + y % 5;
  Pair(1, 2, 2, 5, -1);
  LandPair(1);
  EXPECT_EQ(FieldCell(1, 5, -1).colour * 100 + FieldCell(1, 5, -1).links + FieldCell(1, 5, 0).links,
            200u);
  // Only a bean in the spawn column's top visible cell loses the game.
  for (int x : {0, 1, 2, 4}) FieldCell(1, x, 0).colour = 3;
  CheckTopOut(1);
  FieldCell(1, 3, 0).colour = kBlackBean;
  EXPECT_EQ(s.gameOver, 0);
  CheckTopOut(1);
  EXPECT_EQ(s.gameOver, 1);
  EXPECT_EQ(TakeSounds(), (SoundList{"2/30/2", "2/30/2", "12/60/0"}));
}
