// Links and explosions at the threshold, hidden rows, colour counts, and placing waiting black
// beans: full rows from the top, then one run at a random column. Chains and falling columns,
// met in every match, are pinned by the recorded replays and the simulator's recorded seed.
#include <algorithm>

#include "engine_fixture.h"

using SettleTest = EngineTest;

TEST_F(SettleTest, TooSmallAThresholdPlaysAsThree) {
  for (uint32_t link : {0u, 1u, 2u}) {
    PlayerState[2].config.beansToLink = link;
    Rows(2, {"44...4"});
    LinkCell(2, 0, 12);
    LinkCell(2, 5, 12);
    EXPECT_EQ(Row(2, 12), "44...4") << link;
  }
}

TEST_F(SettleTest, HiddenBeansAndDiagonalBlackBeansStayOutOfGroups) {
  PlayerState[1].config.beansToLink = 5;
  Rows(1, {"k2....", "22kk..", "22k...", "..k..."}, 2);
  LinkCell(1, 1, 0);
  EXPECT_EQ(Cat(Row(1, 0), Row(1, -1, 1, true)), "22kk.. .8....")
      << "a hidden bean is linked but not counted: 4 < 5";
  PlayerState[1].config.beansToLink = 4;
  LinkCell(1, 0, 1);
  EXPECT_EQ(Cat(Row(1, -1, 4), BurstAt(1, 2, 1).colour, PlayerState[1].beansKilled),
            "k2.......k..........k... 1 4")
      << "hidden beans and diagonal black beans stay";
  for (int y = 0; y <= kBottomRow; ++y) FieldCell(2, 5, y).colour = 2 + y % 5;
  Pair(2, 2, 2, 5, -1);
  LandPair(2);
  EXPECT_EQ(Row(2, -2, 2, true), "............") << "a pair landing in the hidden rows";
}

TEST_F(SettleTest, ColourCountsStopAtThirty) {
  for (int i = 0; i < kColumns * kVisibleRows; ++i)
    FieldCell(1, i / kVisibleRows, i % kVisibleRows).colour = i < 40 ? 2 : i < 70 ? kBlackBean : 5;
  SettleFields();
  const uint32_t* n = PlayerState[1].colourCounts;
  EXPECT_EQ(Cat(n[0], n[1], n[2], n[3], n[4], n[5]), "30 30 0 0 8 0");
}

TEST_F(SettleTest, FullRowsFromTheTopThenOneRandomRunOverOldLinks) {
  int starts[6] = {};
  for (uint64_t seed = 0; seed < 60; ++seed) {
    SeedRandom(seed);
    ResetPlayerState(1);
    FieldCell(1, 0, kTopRow) = Cell{3, kLinkDown, 0};  // replaced, but its links stay
    PlayerState[1].incomingBlackBeans = 13;
    PlaceBlackBeans(1);
    const std::string run = Row(1, kTopRow + 2);
    ++starts[run.find('k')];
    EXPECT_EQ(Cat(Row(1, kTopRow, 2), std::count(run.begin(), run.end(), 'k'), Row(1, kTopRow + 3),
                  Row(1, kTopRow, 1, true), BeanTallies[1].beansOverwrittenByBlackBeans,
                  PlayerState[1].incomingBlackBeans),
              "kkkkkkkkkkkk 1 ...... 8..... 1 0");
  }
  // The start is Random(6 - rest): a run never reaches the last column.
  for (int x = 0; x < 6; ++x) EXPECT_EQ(starts[x] > 0, x < 5) << x;
}

// Only a bean in the top visible cell of column 3 loses: from 66 beans on always, from 61 by
// chance.
TEST_F(SettleTest, WaitingBeansDropAfterALandingAndSixtySixOrMoreLoseAtOnce) {
  PlayerState[1].incomingBlackBeans = PlayerState[2].incomingBlackBeans = 5;
  PlayerState[2].absent = PlayerState[2].resolving = 1;
  SettleFields();
  EXPECT_EQ(Beans(1) + Beans(2), 0) << "player 1's pair is still falling, player 2 is absent";
  int partialRowOutcomes[2] = {};
  for (uint32_t n = 60; n <= 67; ++n)
    for (uint64_t seed = 0; seed < 12; ++seed) {
      SeedRandom(seed);
      ResetPlayerState(1);
      PlayerState[1].resolving = 1;
      PlayerState[1].incomingBlackBeans = n;
      SettleFields();
      const bool hit = FieldCell(1, 3, 0).colour == kBlackBean;
      EXPECT_EQ(Cat(Beans(1), PlayerState[1].gameOver, PlayerState[1].resolving), Cat(n, hit, 1))
          << "lost when column 3 is hit; the pair waits until the beans have fallen";
      EXPECT_TRUE(hit == (n >= 66) || (n > 60 && n < 66)) << n;
      partialRowOutcomes[hit] += n > 60 && n < 66;
    }
  EXPECT_GT(partialRowOutcomes[0] * partialRowOutcomes[1], 0);
}

TEST_F(SettleTest, HugeCountsFillTheColumnsWithoutTouchingTheBorder) {
  for (uint32_t n : {138u, 144u, 0xFFFFFFFFu}) {
    PlayerState[1].incomingBlackBeans = n;
    PlaceBlackBeans(1);
    EXPECT_EQ(Row(1, kTopRow, 23), std::string(138, 'k')) << n;
    EXPECT_EQ(Row(1, kFloorRow), "......") << n;
    for (int y = kTopRow; y <= kFloorRow; ++y)
      EXPECT_EQ(FieldCell(1, kLeftBorder, y).colour + FieldCell(1, kRightBorder, y).colour, 0u);
  }
  EXPECT_EQ(BeanTallies[1].blackBeansPlaced, 3u * 138);
}
