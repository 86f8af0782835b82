// Group and chain points, messages, level rises, the black-bean exchange and the roll-up.
#include "engine_fixture.h"

using ScoringTest = EngineTest;

TEST_F(ScoringTest, GroupsAreNamedPointedAndRaiseTheLevel) {
  PlayerStateRecord& s = PlayerState[1];
  s.beansKilled = 56;
  ScoreGroup(1, 2, 7, 3);
  ScoreGroup(1, 2, 7, 4);  // 63 killed: level 2
  ScoreGroup(2, 0, 12, 17);
  ScoreGroup(1, 0, 0, 70);  // 133 killed: due for level 3 and 4, rises once
  EXPECT_EQ(s.level, 3u);
  EXPECT_EQ(Str(MessageLog[0]) + Str(MessageLog[1]) + Str(MessageLog[2]) + Str(MessageLog[3]) +
                Str(MessageLog[4]),
            "inc(speed)....quad(4)........ultimate(17)inc(speed)....ultimate(70)....");
  EXPECT_EQ(s.score, 0 + 500 + 33500);
  EXPECT_EQ(s.chainWeight, 1u * 1 + 2 * 2 + 68 * 3);
  EXPECT_EQ(Str(BurstAt(1, 2, 7).popupText) + "/" + std::to_string(BurstAt(1, 2, 7).popupTimer),
            "500/1")
      << "the second group at a cell overwrites the popup";
  EXPECT_EQ(TakeSounds(), (SoundList{"3/40/1", "3/40/1", "3/40/5", "3/40/1"}));
  s.level = 13;
  ScoreGroup(1, 0, 0, 100);
  EXPECT_EQ(Str(MessageLog[3]) + Str(MessageLog[4]), "ultimate(70)....ultimate(100)....")
      << "no speed message at level 13";
}

TEST_F(ScoringTest, ChainsScoreFromTwoHitsIn32BitsAndKeepTheFirstBestCombo) {
  PlayerStateRecord& s = PlayerState[2];
  const uint32_t chains[][2] = {{1, 7}, {3, 7}, {9, 100}, {9, 200}, {100, 300000}};
  for (const auto& [hits, weight] : chains) {
    s.chainHits = hits;
    s.chainWeight = weight;
    ScoreChain(2);
  }
  EXPECT_EQ(s.score, 4200 + 180000 + 360000 + 200LL * 100 * 300000 % (1LL << 32));
  EXPECT_EQ(Str(s.chainText), "1705032704");
  EXPECT_EQ(s.chainPicture, 8u);
  EXPECT_EQ(s.maxCombo * 100000 + s.maxComboPoints, 100 * 100000 + 1705032704 % 65536);
  EXPECT_EQ(TakeSounds(), (SoundList{"5/60/4", "10/60/4", "10/60/4", "10/60/4"}));
  s.chainHits = 9;
  s.chainWeight = 200;
  s.maxCombo = 9;
  s.maxComboPoints = 1;
  ScoreChain(2);
  EXPECT_EQ(Str(s.chainText) + " " + std::to_string(s.maxComboPoints), "360000 pts 1")
      << "the dot is cut from 100000 on; same hits do not replace the best combo";
}

TEST_F(ScoringTest, TheExchangeCancelsSendsAndRewardsACounterAttack) {
  const uint32_t cases[][4] = {// waiting, weight, left waiting, sent
                               {0, 5, 0, 5},
                               {8, 8, 0, 0},
                               {10, 3, 7, 0},
                               {3, 8, 0, 5}};
  for (const auto& [waiting, weight, left, sent] : cases) {
    ResetPlayerState(2);
    PlayerState[1].incomingBlackBeans = waiting;
    PlayerState[1].chainWeight = weight;
    ExchangeBlackBeans(1);
    EXPECT_EQ(PlayerState[1].incomingBlackBeans * 100 + PlayerState[2].incomingBlackBeans,
              left * 100 + sent);
  }
  EXPECT_EQ(PlayerState[1].score, 20000) << "only the last case counters";
  EXPECT_EQ(Str(PlayerState[1].chainText) + std::to_string(PlayerState[1].chainPicture),
            "20000 pts.0");
  EXPECT_EQ(TakeSounds(), SoundList{"11/80/0"});
  // In one settle step player 2's exchange already sees what player 1 has just sent.
  ResetPlayerState(1);
  ResetPlayerState(2);
  PlayerState[1].chainWeight = 5;
  PlayerState[2].chainWeight = 7;
  SettleFields();
  EXPECT_EQ(PlayerState[2].score, 20000);
  EXPECT_EQ(PlayerState[1].incomingBlackBeans, 2u);
}

TEST_F(ScoringTest, TheShownScoreRollsUpInShrinkingSteps) {
  PlayerStateRecord& s = PlayerState[1];
  s.score = 12345;
  std::vector<int64_t> steps;
  for (int64_t last = 0; s.shownScore != s.score; last = s.shownScore) {
    RollUpScore(1);
    if (steps.empty() || steps.back() != s.shownScore - last) steps.push_back(s.shownScore - last);
  }
  EXPECT_EQ(steps, (std::vector<int64_t>{1000, 500, 50, 5, 1}));
  RollUpScore(1);
  EXPECT_EQ(s.shownScore, 12345);
}
