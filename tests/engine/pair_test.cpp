// The falling pair: reset, moves, rotation, soft drop, gravity, landing and the loss rule.
#include "engine_fixture.h"

using PairTest = EngineTest;

TEST_F(PairTest, ResetEmptiesEverythingButOptionsAndDrawsInOrder) {
  PlayerState[1].config.beansToLink = 6;
  PlayerState[1].cpuControlled = 1;
  FieldCell(1, kRightBorder, kFloorRow).colour = 3;
  FieldCell(1, 2, -10) = Cell{4, 8, 9};
  PlayerState[1].score = 99;
  PlayerState[1].bursts[5][12].popupText.Set("1500");
  SeedRandom(42);
  ResetPlayerState(1);
  SeedRandom(42);
  uint32_t draws[6];
  for (int i = 0; i < 6; ++i) draws[i] = i == 3 || i == 5 ? Random(16) : Random(5) + 2;
  const PlayerStateRecord& s = PlayerState[1];
  EXPECT_EQ(s.nextColourA, draws[0]);
  EXPECT_EQ(s.nextColourB, draws[1]);
  EXPECT_EQ(s.pairA.colour, draws[2]);
  EXPECT_EQ(s.pairA.phase, draws[3]);
  EXPECT_EQ(s.pairB.colour, draws[4]);
  EXPECT_EQ(s.pairB.phase, draws[5]);
  for (int x = kLeftBorder; x <= kRightBorder; ++x)
    for (int y = kTopRow; y <= kFloorRow; ++y) {
      EXPECT_EQ(FieldCell(1, x, y).colour, 0u);
      EXPECT_EQ(FieldCell(1, x, y).links, 0u);
    }
  EXPECT_EQ(s.level, 1u);
  EXPECT_EQ(s.score, 0);
  EXPECT_TRUE(s.bursts[5][12].popupText.Empty());
  EXPECT_EQ(s.config.beansToLink, 6u);
  EXPECT_EQ(s.cpuControlled, 1);
  EXPECT_EQ(s.pairA.column, 3);
  EXPECT_EQ(s.pairA.row, -3);
  EXPECT_EQ(s.pairB.row, -2);
}

TEST_F(PairTest, MovesAreRefusedAtWallsAndDuringTheSlide) {
  PlayerStateRecord& s = PlayerState[1];
  Pair(1, 2, 3, 0, 5);
  s.inputLeft = 1;
  ApplyPlayerActions();
  EXPECT_EQ(s.pairB.column, 0);
  EXPECT_EQ(s.slideOffset, 0);
  s.inputLeft = 0;
  s.inputRight = 1;
  ApplyPlayerActions();
  EXPECT_EQ(s.pairB.column, 1);
  EXPECT_EQ(s.slideOffset, -16);
  for (int i = 0; i < 15; ++i) AdvanceAnimations();
  ApplyPlayerActions();
  EXPECT_EQ(s.pairB.column, 1) << "still sliding";
  AdvanceAnimations();
  ApplyPlayerActions();
  EXPECT_EQ(s.pairB.column, 2);
  Rows(1, {"...4.."});  // a bean beside bean B blocks the move
  Pair(1, 2, 3, 2, 12);
  s.slideOffset = 0;
  ApplyPlayerActions();
  EXPECT_EQ(s.pairB.column, 2);
  Pair(1, 2, 3, 5, 5);
  ApplyPlayerActions();
  EXPECT_EQ(s.pairB.column, 5) << "the wall refuses";
  s.inputLeft = s.inputRight = 1;
  Pair(1, 2, 3, 3, 5);
  ApplyPlayerActions();
  EXPECT_EQ(s.pairB.column, 3) << "left, then right again";
  EXPECT_EQ(s.slideOffset, -16);
}

TEST_F(PairTest, RotationTurnsClockwiseWithCooldownOrSwapsWhenBlocked) {
  PlayerStateRecord& s = PlayerState[2];
  Pair(2, 2, 3, 2, 5);
  s.inputRotate = 1;
  const int expected[4][2] = {{3, 5}, {2, 6}, {1, 5}, {2, 4}};
  for (int turn = 0; turn < 4; ++turn) {
    ApplyPlayerActions();
    EXPECT_EQ(s.orientation, (turn + 1) % 4u);
    EXPECT_EQ(s.pairA.column, expected[turn][0]);
    EXPECT_EQ(s.pairA.row, expected[turn][1]);
    EXPECT_EQ(s.rotateCooldown, 10u);
    ApplyPlayerActions();  // refused during the cooldown
    EXPECT_EQ(s.orientation, (turn + 1) % 4u);
    s.rotateCooldown = 0;
  }
  EXPECT_EQ(TakeSounds(), SoundList(4, "1/10/7"));
  // Orientation 3 -> 0 moves A up, in the hidden rows too.
  Pair(2, 2, 3, 2, -2, 3);
  ApplyPlayerActions();
  EXPECT_EQ(s.pairA.row, -3);
  // Upright against the right wall: the colours swap, the cooldown still starts.
  s.rotateCooldown = 0;
  Pair(2, 2, 3, 5, 5);
  ApplyPlayerActions();
  EXPECT_EQ(s.orientation, 0u);
  EXPECT_EQ(s.pairA.colour, 3u);
  EXPECT_EQ(s.pairB.colour, 2u);
  EXPECT_EQ(s.rotateCooldown, 10u);
  // A bean in the corner the turn sweeps past blocks it as well.
  s.rotateCooldown = 0;
  Pair(2, 2, 3, 2, 5);
  FieldCell(2, 3, 4).colour = 6;
  ApplyPlayerActions();
  EXPECT_EQ(s.orientation, 0u);
  EXPECT_EQ(TakeSounds(), SoundList(3, "1/10/7"));
}

TEST_F(PairTest, HeldRotateTurnsEveryTwelveTicks) {
  KeyState[kKeysOne[2]] = 1;
  std::vector<int> turns;
  uint32_t last = PlayerState[1].orientation;
  for (int t = 0; t < 40; ++t) {
    MatchTick();
    if (PlayerState[1].orientation != last) turns.push_back(t), last = PlayerState[1].orientation;
  }
  EXPECT_EQ(turns, (std::vector<int>{4, 16, 28}));
}

TEST_F(PairTest, SoftDropScoresFiveEvenWhenItLands) {
  PlayerStateRecord& s = PlayerState[1];
  Pair(1, 2, 3, 0, 11);
  s.inputDown = 1;
  ApplyPlayerActions();
  EXPECT_EQ(s.pairB.row, 12);
  ApplyPlayerActions();
  EXPECT_EQ(s.score, 10);
  EXPECT_EQ(s.resolving, 1);
  EXPECT_EQ(Row(1, 12), "3.....");
  EXPECT_EQ(TakeSounds(), SoundList{"2/30/2"});
}

TEST_F(PairTest, GravitySpeedFollowsLevelTimesDropSpeed) {
  // Ticks per row for level x drop speed = 1 .. 26.
  const int expected[27] = {0, 54, 28, 18, 14, 12, 10, 8, 8, 6, 6, 6, 6, 6,
                            4, 4,  4,  4,  4,  4,  4,  4, 4, 4, 4, 4, 4};
  PlayerStateRecord& s = PlayerState[1];
  for (uint32_t drop = 1; drop <= 2; ++drop) {
    for (uint32_t level = 1; level <= 13; ++level) {
      s.level = level;
      s.config.dropSpeed = drop;
      s.fallProgress = 0;
      Pair(1, 2, 3, 0, 0);
      int steps = 0;
      while (s.pairB.row == 0) PairGravity(1), ++steps;
      EXPECT_EQ(2 * steps, expected[level * drop]) << "level " << level << " drop " << drop;
    }
  }
}

TEST_F(PairTest, LandingWritesLinksAndRespawns) {
  PlayerStateRecord& s = PlayerState[1];
  Rows(1, {"2.....", "2....."});
  Pair(1, 4, 2, 0, 10);
  s.nextColourA = 5;
  s.nextColourB = 6;
  PairGravity(1);
  EXPECT_EQ(Row(1, 9), "4.....");
  EXPECT_EQ(FieldCell(1, 0, 10).links, kLinkDown);
  EXPECT_EQ(FieldCell(1, 0, 11).links, kLinkUp);
  EXPECT_EQ(s.chainHits, 0u) << "three beans with beansToLink 4";
  EXPECT_EQ(s.resolving, 1);
  EXPECT_EQ(s.pairA.colour, 5u);
  EXPECT_EQ(s.pairB.colour, 6u);
  EXPECT_EQ(s.pairA.column * 100 + s.pairA.row, 3 * 100 - 3);
  EXPECT_EQ(s.pairB.column * 100 + s.pairB.row, 3 * 100 - 2);
  // A waiting pair neither falls nor reacts.
  s.inputLeft = 1;
  ApplyPlayerActions();
  ReadPlayerInputs();
  EXPECT_EQ(s.pairB.column, 3);
  EXPECT_EQ(s.fallProgress, 0u);
}

TEST_F(PairTest, BeansLandingInHiddenRowsStayUnlinked) {
  Rows(1, {"2.....", "3.....", "4.....", "5.....", "6.....", "2.....", "3.....", "4.....", "5.....",
           "6.....", "2.....", "3.....", "4....."});
  Pair(1, 2, 2, 0, -1);
  LandPair(1);
  EXPECT_EQ(FieldCell(1, 0, -1).colour, 2u);
  EXPECT_EQ(FieldCell(1, 0, -1).links, 0u);
  EXPECT_EQ(FieldCell(1, 0, 0).links, 0u);
  EXPECT_EQ(PlayerState[1].chainHits, 0u);
}

TEST_F(PairTest, OnlyTheSpawnColumnsTopCellLosesTheGame) {
  Rows(1, {"kk.kkk"});
  for (int x : {0, 1, 2, 4, 5}) FieldCell(1, x, 0).colour = 4;
  CheckTopOut(1);
  EXPECT_EQ(PlayerState[1].gameOver, 0);
  FieldCell(1, 3, 0).colour = kBlackBean;
  CheckTopOut(1);
  EXPECT_EQ(PlayerState[1].gameOver, 1);
  EXPECT_EQ(TakeSounds(), SoundList{"12/60/0"});
}
