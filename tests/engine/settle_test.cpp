// Links, group explosions, loose beans falling, chains, and placing waiting black beans: full
// rows from the top, then one run at a random column.
#include <algorithm>

#include "engine_fixture.h"

using SettleTest = EngineTest;

TEST_F(SettleTest, GroupsExplodeAtTheThresholdOnly) {
  Rows(2, {"333..."});
  PlayerState[2].config.beansToLink = 3;
  LinkCell(2, 1, 12);
  EXPECT_EQ(Cat(Row(2, 12), BurstAt(2, 0, 12).colour, BurstAt(2, 0, 12).burstTimer, MessageLog[0],
                BurstAt(2, 1, 12).popupText),
            "...... 3 1 ....triple(3) 0");
  for (uint32_t link : {0u, 1u, 2u}) {  // too small a threshold plays as 3
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
}

TEST_F(SettleTest, AHangingBeanIsLinkedAndMayExplodeWhereItHangs) {
  for (uint32_t link : {4u, 5u}) {
    ResetPlayerState(1);
    PlayerState[1].config.beansToLink = link;
    Rows(1, {"3.....", "3....."});
    Pair(1, 3, 3, 0, 10, 1);  // A hangs over column 1
    LandPair(1);
    EXPECT_EQ(Beans(1), link == 4 ? 0 : 4);
  }
  std::string steps = Row(1, 10, 3, true);
  for (int i = 0; i < 2; ++i) {
    SettleFields();
    steps += Cat("", Row(1, 10, 3), Row(1, 10, 3, true), PlayerState[1].resolving);
  }
  // Side links break as the bean falls; its column is linked once it rests.
  EXPECT_EQ(steps,
            "a1....4........... 3.....33....3..... 8.....4........... 1 "
            "3.....3.....33.... 8.....4.....21.... 0");
}

TEST_F(SettleTest, AChainOfTwoHitsIsWeightedAndScored) {
  Rows(1, {".3....", "33....", "33....", "22.2.."});
  Pair(1, 5, 2, 2, 12);
  LandPair(1);     // hit 1: four 2s
  SettleFields();  // column 0 comes to rest and joins five 3s: hit 2
  const PlayerStateRecord& s = PlayerState[1];
  EXPECT_EQ(Cat(s.score, s.chainHits, s.chainWeight, PlayerState[2].incomingBlackBeans),
            Cat(500 + 1000 + 200 * 2 * (2 * 1 + 3 * 2), 0, 0, 8));
  EXPECT_EQ(TakeSounds(), (SoundList{"2 30 2", "3 40 1", "3 40 1", "4 60 0"}));
  // Two groups completed by one landing are hits 1 and 2.
  Rows(1, {"22..33", "222333"});
  Pair(1, 2, 3, 3, 11, 3);
  LandPair(1);
  EXPECT_EQ(Cat(s.chainHits, s.chainWeight), Cat(2, 4 * 1 + 4 * 2));
}

TEST_F(SettleTest, ColumnsSettleLeftToRightAndAPassedGapClosesTheChain) {
  Rows(1, {"42....", "2.....", "22...."});
  PlayerState[1].resolving = 1;
  SettleFields();  // column 1 comes to rest; its group reaches into column 0
  EXPECT_EQ(Cat(Row(1, 10, 2), PlayerState[1].resolving, PlayerState[1].chainHits,
                PlayerState[2].incomingBlackBeans),
            "4........... 0 0 2")
      << "closed and released";
  // A column with two gaps: the upper segment moves first, links come after the last step;
  // up and down bits travel with a bean, side bits do not.
  ResetPlayerState(1);
  Rows(1, {"4.....", "......", "33....", ".5....", "25...."});
  FieldCell(1, 0, 10).links = kLinkRight | kLinkUp;
  FieldCell(1, 1, 10).links = kLinkLeft | kLinkDown;
  SettleFields();
  EXPECT_EQ(Row(1, 9, 3), "4.....33.....5....");
  SettleFields();
  EXPECT_EQ(Cat(Row(1, 10, 2), Row(1, 10, 2, true)), "43....35.... .8....4.....");
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
