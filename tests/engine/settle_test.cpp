// Links, group explosions, loose beans falling and chains.
#include "engine_fixture.h"

using SettleTest = EngineTest;

TEST_F(SettleTest, GroupsExplodeAtTheThresholdOnly) {
  Rows(2, {"333..."});
  LinkCell(2, 1, 12);
  EXPECT_EQ(FieldCell(2, 1, 12).links, kLinkLeft | kLinkRight);
  EXPECT_EQ(Row(2, 12), "333...") << "three beans with beansToLink 4";
  PlayerState[2].config.beansToLink = 3;
  LinkCell(2, 1, 12);
  EXPECT_EQ(Row(2, 12), "......");
  EXPECT_EQ(BurstAt(2, 0, 12).burstTimer, 1u);
  EXPECT_EQ(BurstAt(2, 0, 12).colour, 3u);
  EXPECT_EQ(MessageLog[0].length, 13u);
  EXPECT_EQ(std::string(MessageLog[0].chars, 13), "....triple(3)");
  EXPECT_EQ(std::string(BurstAt(2, 1, 12).popupText.chars, 1), "0");
  EXPECT_EQ(PlayerState[2].chainWeight, 1u);
  // Too small a threshold from the configuration plays as 3: pairs and lone beans stay.
  for (uint32_t link : {0u, 1u, 2u}) {
    PlayerState[2].config.beansToLink = link;
    Rows(2, {"44...4"});
    LinkCell(2, 0, 12);
    LinkCell(2, 5, 12);
    EXPECT_EQ(Row(2, 12), "44...4") << link;
  }
  // Above 78 nothing can explode, even a full field of one colour.
  for (int x = 0; x < kColumns; ++x)
    for (int y = 0; y <= kBottomRow; ++y) FieldCell(2, x, y).colour = 4;
  PlayerState[2].config.beansToLink = 79;
  LinkCell(2, 0, 12);
  EXPECT_EQ(Beans(2), 78);
  PlayerState[2].config.beansToLink = 78;
  LinkCell(2, 0, 12);
  EXPECT_EQ(Beans(2), 0);
}

TEST_F(SettleTest, HiddenRowsAndDiagonalBlackBeansStayOutOfGroups) {
  PlayerState[1].config.beansToLink = 5;
  FieldCell(1, 0, -1).colour = kBlackBean;
  FieldCell(1, 1, -1).colour = 2;
  const char* rows[3] = {"22kk..", "22k...", "..k..."};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < kColumns; ++x)
      FieldCell(1, x, y).colour = rows[y][x] == '2' ? 2 : rows[y][x] == 'k' ? kBlackBean : kEmpty;
  LinkCell(1, 1, 0);
  EXPECT_EQ(FieldCell(1, 1, -1).links, kLinkDown) << "a hidden bean can be linked";
  EXPECT_EQ(Row(1, 0), "22kk..") << "but it is not counted: 4 < 5";
  PlayerState[1].config.beansToLink = 4;
  LinkCell(1, 0, 1);
  EXPECT_EQ(PlayerState[1].beansKilled, 4u);
  EXPECT_EQ(FieldCell(1, 1, -1).colour, 2u);
  EXPECT_EQ(FieldCell(1, 0, -1).colour, kBlackBean) << "hidden black beans are not taken";
  // Black beans touching the group go with it; diagonal ones and those beyond them stay.
  EXPECT_EQ(Row(1, 0), "...k..");
  EXPECT_EQ(Row(1, 1), "......");
  EXPECT_EQ(Row(1, 2), "..k...");
  EXPECT_EQ(BurstAt(1, 2, 1).colour, kBlackBean);
  EXPECT_EQ(BurstAt(1, 2, 1).burstTimer, 1u);
  EXPECT_EQ(BeanTallies[1].blackBeansTaken, 2u);
  EXPECT_EQ(FieldCell(1, 2, 0).links, 0u);
}

TEST_F(SettleTest, AHangingBeanIsLinkedAndCanExplodeWhereItHangs) {
  Rows(1, {"3.....", "3....."});
  Pair(1, 3, 3, 0, 10, 1);  // B over column 0, A hanging over column 1
  LandPair(1);
  EXPECT_EQ(Row(1, 10), "......") << "the hanging bean exploded before falling";
  EXPECT_EQ(Beans(1), 0);
  // With a higher threshold it hangs linked, then falls one row per settle step.
  ResetPlayerState(1);
  PlayerState[1].config.beansToLink = 5;
  Rows(1, {"3.....", "3....."});
  Pair(1, 3, 3, 0, 10, 1);
  LandPair(1);
  EXPECT_EQ(FieldCell(1, 1, 10).links, kLinkLeft);
  SettleFields();
  EXPECT_EQ(Row(1, 11), "33....");
  EXPECT_EQ(FieldCell(1, 1, 11).links, 0u) << "a falling bean loses its side links";
  EXPECT_EQ(FieldCell(1, 0, 10).links & kLinkRight, 0u) << "and so does its old neighbour";
  EXPECT_EQ(PlayerState[1].resolving, 1);
  SettleFields();
  EXPECT_EQ(Row(1, 12), "33....");
  EXPECT_EQ(FieldCell(1, 1, 12).links, kLinkLeft) << "linked once its column has come to rest";
  EXPECT_EQ(PlayerState[1].resolving, 0);
}

TEST_F(SettleTest, ChainWeightAndPointsOfTwoHits) {
  Rows(1, {".3....", "33....", "33....", "22.2.."});
  Pair(1, 5, 2, 2, 12);
  LandPair(1);  // hit 1: the four 2s
  EXPECT_EQ(PlayerState[1].chainWeight, 2u);
  SettleFields();  // column 0 comes to rest and completes five 3s: hit 2
  const PlayerStateRecord& s = PlayerState[1];
  EXPECT_EQ(s.score, 500 + 1000 + 3200);
  EXPECT_EQ(std::string(s.chainText.chars, s.chainText.length), "3200 pts.");
  EXPECT_EQ(s.chainPicture, 2u);
  EXPECT_EQ(s.chainTimer, 1u);
  EXPECT_EQ(s.maxCombo, 2);
  EXPECT_EQ(s.maxComboPoints, 3200);
  EXPECT_EQ(s.chainHits, 0u);
  EXPECT_EQ(PlayerState[2].incomingBlackBeans, 8u);
  EXPECT_EQ(Row(1, 12), "..5...");
  EXPECT_EQ(TakeSounds(), (SoundList{"2/30/2", "3/40/1", "3/40/1", "4/60/0"}));
  EXPECT_EQ(std::string(MessageLog[0].chars, MessageLog[0].length), "quad(4)....");
  EXPECT_EQ(std::string(MessageLog[1].chars, MessageLog[1].length), "super(5)....");
}

TEST_F(SettleTest, TwoGroupsOfOneLandingAreHitsOneAndTwo) {
  Rows(1, {"22..33", "222333"});
  Pair(1, 2, 3, 3, 11, 3);  // A left of B
  LandPair(1);
  EXPECT_EQ(PlayerState[1].chainHits, 2u);
  EXPECT_EQ(PlayerState[1].chainWeight, 4u * 1 + 4u * 2);
  SettleFields();
  EXPECT_EQ(std::string(PlayerState[1].chainText.chars, 9), "4800 pts.");
}

TEST_F(SettleTest, AGapLeftBehindTheSweepClosesTheChainEarly) {
  Rows(1, {"42....", "2.....", "22...."});
  PlayerState[1].resolving = 1;
  SettleFields();  // column 1 comes to rest and explodes a group reaching into column 0
  EXPECT_EQ(Row(1, 10), "4.....");
  EXPECT_EQ(PlayerState[1].resolving, 0) << "no later column was falling: the pair is released";
  EXPECT_EQ(PlayerState[1].chainHits, 0u);
  EXPECT_EQ(PlayerState[2].incomingBlackBeans, 2u);
  SettleFields();
  EXPECT_EQ(Row(1, 11), "4.....") << "the bean left hanging falls afterwards";
}

TEST_F(SettleTest, AColumnWithTwoGapsFallsFromTheTopAndLinksLast) {
  Rows(1, {"4.....", "......", "33....", ".5....", "25...."});
  FieldCell(1, 0, 10).links = kLinkRight | kLinkUp;
  FieldCell(1, 1, 10).links = kLinkLeft | kLinkDown;
  SettleFields();
  EXPECT_EQ(FieldCell(1, 0, 9).colour, 4u) << "the upper segment moves first";
  EXPECT_EQ(FieldCell(1, 0, 10).colour, 3u);
  EXPECT_EQ(FieldCell(1, 1, 10).links, kLinkLeft | kLinkDown);
  SettleFields();
  EXPECT_EQ(FieldCell(1, 0, 10).colour, 4u);
  EXPECT_EQ(FieldCell(1, 0, 11).colour, 3u);
  EXPECT_EQ(FieldCell(1, 0, 11).links, kLinkUp) << "up and down bits travel, side bits do not";
  EXPECT_EQ(FieldCell(1, 1, 10).links, kLinkDown);
  EXPECT_EQ(FieldCell(1, 0, 10).links, 0u);
}

TEST_F(SettleTest, ColourCountsStopAtThirty) {
  for (int i = 0; i < kColumns * kVisibleRows; ++i)
    FieldCell(1, i / kVisibleRows, i % kVisibleRows).colour = i < 40 ? 2 : i < 70 ? kBlackBean : 5;
  FieldCell(2, 0, 12).colour = 6;
  SettleFields();
  EXPECT_EQ(PlayerState[1].colourCounts[kBlackBean - 1], 30u);
  EXPECT_EQ(PlayerState[1].colourCounts[2 - 1], 30u);
  EXPECT_EQ(PlayerState[1].colourCounts[5 - 1], 8u);
  EXPECT_EQ(PlayerState[1].colourCounts[3 - 1], 0u);
  EXPECT_EQ(PlayerState[2].colourCounts[6 - 1], 1u);
}
