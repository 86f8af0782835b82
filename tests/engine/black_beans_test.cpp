// Placing waiting black beans: full rows from the top, then one run at a random column.
#include <algorithm>

#include "engine_fixture.h"

using BlackBeanTest = EngineTest;

TEST_F(BlackBeanTest, FullRowsFromTheTopThenOneRandomRunOverOldLinks) {
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
TEST_F(BlackBeanTest, WaitingBeansDropAfterALandingAndSixtySixOrMoreLoseAtOnce) {
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

TEST_F(BlackBeanTest, HugeCountsFillTheColumnsWithoutTouchingTheBorder) {
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
