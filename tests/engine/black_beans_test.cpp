// Placing waiting black beans: full rows from the top, then one run at a random column.
#include <algorithm>

#include "engine_fixture.h"

using BlackBeanTest = EngineTest;

namespace {
// Places n black beans for player 1 and returns the occupied columns of each hidden row.
std::vector<std::string> Place(uint32_t n) {
  ResetPlayerState(1);
  PlayerState[1].incomingBlackBeans = n;
  PlaceBlackBeans(1);
  std::vector<std::string> rows;
  for (int y = kTopRow; y <= kFloorRow; ++y) rows.push_back(EngineTest::Row(1, y));
  return rows;
}
}  // namespace

TEST_F(BlackBeanTest, SmallCountsFillFromTheTopRowWithOneRandomRun) {
  bool seenColumn[6] = {};
  for (uint64_t seed = 0; seed < 60; ++seed) {
    SeedRandom(seed);
    const auto one = Place(1);
    const size_t column = one[0].find('k');
    ASSERT_NE(column, std::string::npos);
    seenColumn[column] = true;
    EXPECT_EQ(std::count(one[0].begin(), one[0].end(), 'k'), 1);
    EXPECT_EQ(Place(5)[0], "kkkkk.");
    const auto fourteen = Place(14);
    EXPECT_EQ(fourteen[0] + fourteen[1], "kkkkkkkkkkkk");
    EXPECT_LT(fourteen[2].find("kk"), 4u);
    EXPECT_EQ(std::count(fourteen[2].begin(), fourteen[2].end(), 'k'), 2);
    EXPECT_EQ(fourteen[3], "......");
  }
  // The start column is Random(6 - rest), so a run never reaches the last column.
  for (int x = 0; x < 6; ++x) EXPECT_EQ(seenColumn[x], x < 5) << x;
  EXPECT_EQ(PlayerState[1].incomingBlackBeans, 0u);
}

TEST_F(BlackBeanTest, AFullRowStillDrawsTheStartColumn) {
  SeedRandom(5);
  const auto six = Place(6);
  EXPECT_EQ(six[0], "kkkkkk");
  EXPECT_EQ(six[1], "......");
  const uint32_t after = Random(1000);
  SeedRandom(5);
  for (int i = 0; i < 6; ++i) Random(16);  // the cleared player's reset draws
  for (int i = 0; i < 6; ++i) Random(16);  // one phase per bean
  Random(6);
  EXPECT_EQ(Random(1000), after);
}

TEST_F(BlackBeanTest, SixtySixOrMoreLoseAtOnceAndSixtyOneToSixtyFiveWhenColumnThreeIsHit) {
  int partialRowOutcomes[2] = {};
  for (uint32_t n = 55; n <= 70; ++n) {
    for (uint64_t seed = 0; seed < 12; ++seed) {
      SeedRandom(seed);
      ResetPlayerState(1);
      PlayerState[1].resolving = 1;
      PlayerState[1].incomingBlackBeans = n;
      SettleFields();
      const bool hit = FieldCell(1, 3, 0).colour == kBlackBean;
      EXPECT_EQ(PlayerState[1].gameOver, hit ? 1 : 0);
      if (n <= 60 || n >= 66) {
        EXPECT_EQ(hit, n >= 66) << n;
      } else {
        ++partialRowOutcomes[hit];
      }
      EXPECT_EQ(PlayerState[1].resolving, 1) << "the pair waits until they have fallen";
    }
  }
  EXPECT_GT(partialRowOutcomes[0], 0);
  EXPECT_GT(partialRowOutcomes[1], 0);
}

TEST_F(BlackBeanTest, HugeCountsFillTheColumnsWithoutTouchingTheBorder) {
  for (uint32_t n : {138u, 143u, 144u, 1000u, 0xFFFFFFFFu}) {
    const auto rows = Place(n);
    for (int y = kTopRow; y <= kBottomRow; ++y) EXPECT_EQ(rows[y - kTopRow], "kkkkkk") << n;
    EXPECT_EQ(rows.back(), "......") << n;
    for (int y = kTopRow; y <= kFloorRow; ++y) {
      EXPECT_EQ(FieldCell(1, kLeftBorder, y).colour, 0u);
      EXPECT_EQ(FieldCell(1, kRightBorder, y).colour, 0u);
    }
    EXPECT_EQ(BeanTallies[1].blackBeansPlaced, 138u);
    EXPECT_EQ(PlayerState[1].incomingBlackBeans, 0u);
  }
}

TEST_F(BlackBeanTest, WaitingBeansDropOnlyAfterALandingAndNeverOnAnAbsentPlayer) {
  PlayerState[1].incomingBlackBeans = 5;
  PlayerState[2].absent = 1;
  PlayerState[2].incomingBlackBeans = 5;
  PlayerState[2].resolving = 1;
  SettleFields();
  EXPECT_EQ(Beans(1), 0) << "the pair is falling";
  EXPECT_EQ(Beans(2), 0);
  EXPECT_EQ(PlayerState[2].incomingBlackBeans, 5u);
  PlayerState[1].resolving = 1;
  SettleFields();
  EXPECT_EQ(Beans(1), 5);
  // A placed bean replaces one resting in the hidden rows, keeping its links.
  ResetPlayerState(1);
  FieldCell(1, 0, -10) = Cell{3, kLinkDown, 0};
  PlayerState[1].incomingBlackBeans = 6;
  PlaceBlackBeans(1);
  EXPECT_EQ(FieldCell(1, 0, -10).colour, kBlackBean);
  EXPECT_EQ(FieldCell(1, 0, -10).links, kLinkDown);
  EXPECT_EQ(BeanTallies[1].beansOverwritten, 1u);
}
