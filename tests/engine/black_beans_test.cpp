// Placing waiting black beans: full rows from the top, then one run at a random column.
#include <algorithm>

#include "engine_fixture.h"

using BlackBeanTest = EngineTest;

namespace {
// Places n black beans for player 1; returns rows -10..13 as text.
std::vector<std::string> Place(uint32_t n) {
  ResetPlayerState(1);
  PlayerState[1].incomingBlackBeans = n;
  PlaceBlackBeans(1);
  std::vector<std::string> rows;
  for (int y = kTopRow; y <= kFloorRow; ++y) rows.push_back(EngineTest::Row(1, y));
  return rows;
}
}  // namespace

TEST_F(BlackBeanTest, FullRowsFromTheTopThenOneRandomRun) {
  int starts[6] = {};
  for (uint64_t seed = 0; seed < 60; ++seed) {
    SeedRandom(seed);
    const auto one = Place(1), five = Place(5), fourteen = Place(14);
    ++starts[one[0].find('k')];
    EXPECT_EQ(std::count(one[0].begin(), one[0].end(), 'k'), 1);
    EXPECT_EQ(five[0], "kkkkk.");
    EXPECT_EQ(fourteen[0] + fourteen[1] + fourteen[3], "kkkkkkkkkkkk......");
    EXPECT_LT(fourteen[2].find("kk"), 4u);
    EXPECT_EQ(std::count(fourteen[2].begin(), fourteen[2].end(), 'k'), 2);
  }
  // The start is Random(6 - rest): a run never reaches the last column.
  for (int x = 0; x < 6; ++x) EXPECT_EQ(starts[x] > 0, x < 5) << x;
  // A full row still draws the start column.
  SeedRandom(5);
  EXPECT_EQ(Place(6)[0] + Place(0)[1], "kkkkkk......");
  const uint32_t after = Random(1000);
  SeedRandom(5);
  for (int i = 0; i < 6 + 6 + 1 + 6 + 1; ++i) Random(i == 12 || i == 19 ? 6 : 16);
  EXPECT_EQ(Random(1000), after);
}

TEST_F(BlackBeanTest, SixtySixOrMoreLoseAtOnceAndSixtyOneToSixtyFiveWhenColumnThreeIsHit) {
  int partialRowOutcomes[2] = {};
  for (uint32_t n = 55; n <= 70; ++n)
    for (uint64_t seed = 0; seed < 12; ++seed) {
      SeedRandom(seed);
      ResetPlayerState(1);
      PlayerState[1].resolving = 1;
      PlayerState[1].incomingBlackBeans = n;
      SettleFields();
      const bool hit = FieldCell(1, 3, 0).colour == kBlackBean;
      EXPECT_EQ(PlayerState[1].gameOver, hit ? 1 : 0);
      EXPECT_EQ(PlayerState[1].resolving, 1) << "the pair waits until they have fallen";
      if (n > 60 && n < 66)
        ++partialRowOutcomes[hit];
      else
        EXPECT_EQ(hit, n >= 66) << n;
    }
  EXPECT_GT(partialRowOutcomes[0] * partialRowOutcomes[1], 0);
}

TEST_F(BlackBeanTest, HugeCountsFillTheColumnsWithoutTouchingTheBorder) {
  for (uint32_t n : {138u, 143u, 144u, 0xFFFFFFFFu}) {
    const auto rows = Place(n);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "kkkkkk"), 23) << n;
    EXPECT_EQ(rows.back(), "......") << n;
    for (int y = kTopRow; y <= kFloorRow; ++y)
      EXPECT_EQ(FieldCell(1, kLeftBorder, y).colour + FieldCell(1, kRightBorder, y).colour, 0u);
    EXPECT_EQ(BeanTallies[1].blackBeansPlaced * 10 + PlayerState[1].incomingBlackBeans, 1380u);
  }
}

TEST_F(BlackBeanTest, WaitingBeansDropOnlyAfterALandingAndNeverOnAnAbsentPlayer) {
  PlayerState[1].incomingBlackBeans = PlayerState[2].incomingBlackBeans = 5;
  PlayerState[2].absent = PlayerState[2].resolving = 1;
  SettleFields();
  EXPECT_EQ(Beans(1) + Beans(2), 0) << "player 1's pair is still falling, player 2 is absent";
  PlayerState[1].resolving = 1;
  SettleFields();
  EXPECT_EQ(Beans(1), 5);
  ResetPlayerState(1);  // a placed bean replaces one resting in the hidden rows, links and all
  FieldCell(1, 0, -10) = Cell{3, kLinkDown, 0};
  PlayerState[1].incomingBlackBeans = 6;
  PlaceBlackBeans(1);
  EXPECT_EQ(FieldCell(1, 0, -10).colour * 10 + FieldCell(1, 0, -10).links, 10u + kLinkDown);
}
