// Links, group explosions, loose beans falling and chains.
#include "engine_fixture.h"

using SettleTest = EngineTest;

TEST_F(SettleTest, GroupsExplodeAtTheThresholdOnly) {
  Rows(2, {"333..."});
  LinkCell(2, 1, 12);
  EXPECT_EQ(Row(2, 12) + std::to_string(FieldCell(2, 1, 12).links), "333...3") << "linked only";
  PlayerState[2].config.beansToLink = 3;
  LinkCell(2, 1, 12);
  EXPECT_EQ(Row(2, 12), "......");
  EXPECT_EQ(BurstAt(2, 0, 12).colour * 1000 + BurstAt(2, 0, 12).burstTimer, 3001u);
  EXPECT_EQ(Str(MessageLog[0]) + " " + Str(BurstAt(2, 1, 12).popupText), "....triple(3) 0");
  for (uint32_t link : {0u, 1u, 2u}) {  // too small a threshold plays as 3
    PlayerState[2].config.beansToLink = link;
    Rows(2, {"44...4"});
    LinkCell(2, 0, 12);
    LinkCell(2, 5, 12);
    EXPECT_EQ(Row(2, 12), "44...4") << link;
  }
  for (int i = 0; i < kColumns * kVisibleRows; ++i) FieldCell(2, i % 6, i / 6).colour = 4;
  PlayerState[2].config.beansToLink = 79;
  LinkCell(2, 0, 12);
  EXPECT_EQ(Beans(2), 78) << "above 78 nothing can explode";
}

TEST_F(SettleTest, HiddenBeansAndDiagonalBlackBeansStayOutOfGroups) {
  PlayerState[1].config.beansToLink = 5;
  FieldCell(1, 0, -1).colour = kBlackBean;
  FieldCell(1, 1, -1).colour = 2;
  Rows(1, {"22kk..", "22k...", "..k..."}, 2);
  LinkCell(1, 1, 0);
  EXPECT_EQ(FieldCell(1, 1, -1).links, kLinkDown) << "a hidden bean is linked";
  EXPECT_EQ(Row(1, 0), "22kk..") << "but not counted: 4 < 5";
  PlayerState[1].config.beansToLink = 4;
  LinkCell(1, 0, 1);
  EXPECT_EQ(FieldCell(1, 1, -1).colour * 10 + FieldCell(1, 0, -1).colour, 21u) << "nor exploded";
  EXPECT_EQ(Row(1, 0) + Row(1, 1) + Row(1, 2), "...k..........k...") << "only touching blacks go";
  EXPECT_EQ(BurstAt(1, 2, 1).colour, kBlackBean);
  EXPECT_EQ(PlayerState[1].beansKilled, 4u);
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
  EXPECT_EQ(FieldCell(1, 1, 10).links, kLinkLeft);
  SettleFields();
  EXPECT_EQ(Row(1, 11), "33....");
  EXPECT_EQ(FieldCell(1, 1, 11).links + FieldCell(1, 0, 10).links, kLinkDown) << "side links go";
  EXPECT_EQ(PlayerState[1].resolving, 1);
  SettleFields();
  EXPECT_EQ(FieldCell(1, 1, 12).links, kLinkLeft) << "linked once its column rests";
  EXPECT_EQ(PlayerState[1].resolving, 0);
}

TEST_F(SettleTest, AChainOfTwoHitsIsWeightedAndScored) {
  Rows(1, {".3....", "33....", "33....", "22.2.."});
  Pair(1, 5, 2, 2, 12);
  LandPair(1);     // hit 1: four 2s
  SettleFields();  // column 0 comes to rest and joins five 3s: hit 2
  const PlayerStateRecord& s = PlayerState[1];
  EXPECT_EQ(s.score, 500 + 1000 + 200 * 2 * (2 * 1 + 3 * 2));
  EXPECT_EQ(Str(s.chainText) + " " + std::to_string(s.chainPicture), "3200 pts. 2");
  EXPECT_EQ(s.maxCombo * 100000 + s.maxComboPoints, 203200);
  EXPECT_EQ(s.chainHits + s.chainWeight, 0u);
  EXPECT_EQ(PlayerState[2].incomingBlackBeans, 8u);
  EXPECT_EQ(TakeSounds(), (SoundList{"2/30/2", "3/40/1", "3/40/1", "4/60/0"}));
  EXPECT_EQ(Str(MessageLog[0]) + Str(MessageLog[1]), "quad(4)....super(5)....");
  // Two groups completed by one landing are hits 1 and 2.
  Rows(1, {"22..33", "222333"});
  Pair(1, 2, 3, 3, 11, 3);
  LandPair(1);
  EXPECT_EQ(s.chainHits * 100 + s.chainWeight, 2u * 100 + 4 * 1 + 4 * 2);
}

TEST_F(SettleTest, ColumnsSettleLeftToRightAndAPassedGapClosesTheChain) {
  Rows(1, {"42....", "2.....", "22...."});
  PlayerState[1].resolving = 1;
  SettleFields();  // column 1 comes to rest; its group reaches into column 0
  EXPECT_EQ(Row(1, 10) + Row(1, 11), "4...........");
  EXPECT_EQ(PlayerState[1].resolving + PlayerState[1].chainHits, 0u) << "closed and released";
  EXPECT_EQ(PlayerState[2].incomingBlackBeans, 2u);
  // A column with two gaps: the upper segment moves first, links come after the last step.
  ResetPlayerState(1);
  Rows(1, {"4.....", "......", "33....", ".5....", "25...."});
  FieldCell(1, 0, 10).links = kLinkRight | kLinkUp;
  FieldCell(1, 1, 10).links = kLinkLeft | kLinkDown;
  SettleFields();
  EXPECT_EQ(Row(1, 9) + Row(1, 10) + Row(1, 11), "4.....33.....5....");
  SettleFields();
  EXPECT_EQ(Row(1, 10) + Row(1, 11), "43....35....");
  EXPECT_EQ(FieldCell(1, 0, 11).links, kLinkUp) << "up and down bits travel, side bits do not";
  EXPECT_EQ(FieldCell(1, 1, 10).links, kLinkDown);
}

TEST_F(SettleTest, ColourCountsStopAtThirty) {
  for (int i = 0; i < kColumns * kVisibleRows; ++i)
    FieldCell(1, i / kVisibleRows, i % kVisibleRows).colour = i < 40 ? 2 : i < 70 ? kBlackBean : 5;
  SettleFields();
  const uint32_t* counts = PlayerState[1].colourCounts;
  EXPECT_EQ((std::vector<uint32_t>(counts, counts + 6)),
            (std::vector<uint32_t>{30, 30, 0, 0, 8, 0}));
}
