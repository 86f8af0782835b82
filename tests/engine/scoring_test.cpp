// Group and chain points, messages, level rises and the roll-up of the shown score. The
// black-bean exchange is pinned by the simulator's recorded seed, the sounds' volumes and
// channels by its check.
#include "engine_fixture.h"

using ScoringTest = EngineTest;

TEST_F(ScoringTest, GroupsAreNamedPointedAndRaiseTheLevel) {
  PlayerStateRecord& s = PlayerState[1];
  s.beansKilled = 56;
  ScoreGroup(1, 2, 7, 3);
  ScoreGroup(1, 2, 7, 4);  // 63 killed: level 2
  ScoreGroup(2, 0, 12, 17);
  ScoreGroup(1, 0, 0, 70);  // 133 killed: due for level 3 and 4, rises once
  EXPECT_EQ(Cat(MessageLog[0], MessageLog[1], MessageLog[2], MessageLog[3], MessageLog[4]),
            "inc(speed).... quad(4).... ....ultimate(17) inc(speed).... ultimate(70)....");
  EXPECT_EQ(Cat(s.level, s.score, s.chainWeight, BurstAt(1, 2, 7).popupText),
            Cat(3, 500 + 33500, 1 * 1 + 2 * 2 + 68 * 3, 500))
      << "the second group at a cell overwrites the popup";
}

TEST_F(ScoringTest, ChainsScoreFromTwoHitsIn32BitsAndKeepTheFirstBestCombo) {
  PlayerStateRecord& s = PlayerState[2];
  const uint32_t chains[][2] = {{1, 7}, {2, 7}, {7, 10}, {8, 99}, {100, 300000}, {100, 1}};
  std::string shown;
  for (const auto& [hits, weight] : chains) {
    s.chainHits = hits;
    s.chainWeight = weight;
    ScoreChain(2);
    shown += Cat(s.chainPicture, s.chainText) + "|";
  }
  EXPECT_EQ(shown, "0 |2 2800 pts.|7 14000 pts.|8 158400 pts|8 1705032704|8 20000 pts.|");
  EXPECT_EQ(Cat(s.score, s.maxCombo, s.maxComboPoints),
            Cat(2800 + 14000 + 158400 + 1705032704 + 20000, 100, 1705032704 % 65536));
  EXPECT_EQ(SoundsPlayed(backend),
            (SoundLog{{4, 60, 4}, {9, 60, 4}, {10, 60, 4}, {10, 60, 4}, {10, 60, 4}}));
}

TEST_F(ScoringTest, TheShownScoreRollsUpInShrinkingSteps) {
  PlayerStateRecord& s = PlayerState[1];
  s.score = 12345;
  std::vector<int64_t> steps;
  for (int64_t last = 0; s.shownScore != s.score; last = s.shownScore) {
    RollUpScore(1);
    if (steps.empty() || steps.back() != s.shownScore - last) steps.push_back(s.shownScore - last);
  }
  RollUpScore(1);
  EXPECT_EQ(steps, (std::vector<int64_t>{1000, 500, 50, 5, 1}));
  EXPECT_EQ(s.shownScore, 12345);
}
