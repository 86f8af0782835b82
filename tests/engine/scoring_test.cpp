// Group and chain points, messages, level rises, the black-bean exchange and the roll-up.
#include "engine_fixture.h"

using ScoringTest = EngineTest;

namespace {
std::string Text(const FixedText<18>& t) {
  return std::string(t.chars, t.length);
}
std::string Text(const FixedText<10>& t) {
  return std::string(t.chars, t.length);
}
}  // namespace

TEST_F(ScoringTest, GroupsAreNamedPointedAndPoppedUp) {
  EXPECT_EQ(std::string(GroupSizeName(9).chars, GroupSizeName(9).length), "awesome");
  ScoreGroup(1, 2, 7, 17);
  ScoreGroup(2, 0, 12, 4);
  EXPECT_EQ(Text(MessageLog[0]), "ultimate(17)....");
  EXPECT_EQ(Text(MessageLog[1]), "....quad(4)");
  EXPECT_EQ(PlayerState[1].score, 7000);
  EXPECT_EQ(Text(BurstAt(1, 2, 7).popupText), "7000");
  EXPECT_EQ(BurstAt(1, 2, 7).popupTimer, 1u);
  EXPECT_EQ(PlayerState[2].chainWeight, 2u);
  ScoreGroup(2, 0, 12, 3);  // the second hit of the chain, popped up at the same cell
  EXPECT_EQ(PlayerState[2].chainWeight, 2u + 1 * 2);
  EXPECT_EQ(Text(BurstAt(2, 0, 12).popupText), "0");
  EXPECT_EQ(TakeSounds(), (SoundList{"3/40/1", "3/40/5", "3/40/5"}));
}

TEST_F(ScoringTest, TheLevelRisesOneStepPerGroupUpToThirteen) {
  PlayerStateRecord& s = PlayerState[1];
  s.beansKilled = 56;
  ScoreGroup(1, 0, 0, 3);
  EXPECT_EQ(s.level, 1u);
  ScoreGroup(1, 0, 0, 4);
  EXPECT_EQ(s.level, 2u);
  EXPECT_EQ(Text(MessageLog[1]), "inc(speed)....");
  EXPECT_EQ(Text(MessageLog[2]), "quad(4)....");
  ScoreGroup(1, 0, 0, 70);  // 133 killed: due for level 3 only
  EXPECT_EQ(s.level, 3u);
  ScoreGroup(1, 0, 0, 60);
  EXPECT_EQ(s.level, 4u);
  ScoreGroup(2, 0, 0, 60);
  EXPECT_EQ(Text(MessageLog[4]), "....ultimate(60)");
  EXPECT_EQ(Text(MessageLog[3]), "....inc(speed)");
  s.level = 13;
  s.beansKilled = 5000;
  ClearMessageLog();
  ScoreGroup(1, 0, 0, 3);
  EXPECT_EQ(s.level, 13u);
  EXPECT_EQ(Text(MessageLog[0]), "triple(3)....");
  EXPECT_TRUE(MessageLog[1].Empty());
}

TEST_F(ScoringTest, ChainsScoreFromTwoHitsAndKeepTheFirstBestCombo) {
  PlayerStateRecord& s = PlayerState[2];
  s.chainHits = 1;
  s.chainWeight = 7;
  ScoreChain(2);
  EXPECT_EQ(s.score, 0);
  EXPECT_EQ(s.chainTimer, 0u);
  s.chainHits = 3;
  ScoreChain(2);
  EXPECT_EQ(s.score, 4200);
  s.chainHits = 9;
  s.chainWeight = 100;
  ScoreChain(2);
  EXPECT_EQ(s.chainPicture, 8u);
  EXPECT_EQ(Text(s.chainText), "180000 pts") << "the dot is cut from 100000 on";
  EXPECT_EQ(s.maxCombo, 9);
  EXPECT_EQ(s.maxComboPoints, 180000 % 65536);
  s.chainWeight = 200;
  ScoreChain(2);
  EXPECT_EQ(s.maxComboPoints, 180000 % 65536) << "same hits, more points: no new record";
  s.score = 0;
  s.chainHits = 100;
  s.chainWeight = 300000;
  ScoreChain(2);
  EXPECT_EQ(s.score, int64_t{200} * 100 * 300000 % (int64_t{1} << 32)) << "32-bit chain points";
  EXPECT_EQ(TakeSounds(), (SoundList{"5/60/4", "10/60/4", "10/60/4", "10/60/4"}));
}

TEST_F(ScoringTest, TheExchangeCancelsSendsAndRewardsACounterAttack) {
  struct Case {
    uint32_t waiting, weight, leftWaiting, sent;
    int64_t bonus;
  };
  for (const Case& c :
       {Case{0, 5, 0, 5, 0}, Case{8, 8, 0, 0, 0}, Case{10, 3, 7, 0, 0}, Case{3, 8, 0, 5, 20000}}) {
    ResetPlayerState(1);
    ResetPlayerState(2);
    PlayerState[1].incomingBlackBeans = c.waiting;
    PlayerState[1].chainWeight = c.weight;
    ExchangeBlackBeans(1);
    EXPECT_EQ(PlayerState[1].incomingBlackBeans, c.leftWaiting);
    EXPECT_EQ(PlayerState[2].incomingBlackBeans, c.sent);
    EXPECT_EQ(PlayerState[1].score, c.bonus);
  }
  EXPECT_EQ(Text(PlayerState[1].chainText), "20000 pts.");
  EXPECT_EQ(PlayerState[1].chainPicture, 0u);
  EXPECT_EQ(TakeSounds(), SoundList{"11/80/0"});
  // In one settle step player 2's exchange already sees what player 1 has just sent.
  ResetPlayerState(1);
  ResetPlayerState(2);
  PlayerState[1].chainWeight = 5;
  PlayerState[2].chainWeight = 7;
  SettleFields();
  EXPECT_EQ(PlayerState[2].score, 20000);
  EXPECT_EQ(PlayerState[1].incomingBlackBeans, 2u);
  EXPECT_EQ(PlayerState[2].incomingBlackBeans, 0u);
}

TEST_F(ScoringTest, TheShownScoreRollsUpInShrinkingSteps) {
  PlayerStateRecord& s = PlayerState[1];
  s.score = 12345;
  std::vector<int64_t> steps;
  for (int64_t last = 0; s.shownScore != s.score; last = s.shownScore) {
    RollUpScore(1);
    if (steps.empty() || steps.back() != s.shownScore - last) steps.push_back(s.shownScore - last);
    ASSERT_LE(s.shownScore, s.score);
  }
  EXPECT_EQ(steps, (std::vector<int64_t>{1000, 500, 50, 5, 1}));
  EXPECT_EQ(s.shownScore, 12345);
  RollUpScore(1);
  EXPECT_EQ(s.shownScore, 12345);
}
