// The after-game screen: the rank lines and both pages with their fades and key waits.
#include "after_game.h"

#include "highscores.h"
#include "screen_fixture.h"

namespace {
using namespace screens;

void SetName(HighScoreName& name, const char* text) {
  name = HighScoreName{kNameCapacity, static_cast<uint32_t>(strlen(text)), {}};
  memcpy(name.chars, text, name.length);
}

class AfterGameTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    HighScoreTable = HighScoreTableRecord{};
    for (int i = 0; i < kHighScoreRanks; ++i) {
      SetName(HighScoreTable.killerKingsName[i], "kingy");
      SetName(HighScoreTable.comboDemonsName[i], "demon");
      HighScoreTable.comboDemons[i].combo = static_cast<uint16_t>(9 - i);
    }
  }
  std::string Lines(HighScorePage page, int rank) {
    char first[kRankLineBytes], second[kRankLineBytes];
    FormatRankLines(page, rank, first, second);
    return std::string(first) + "|" + second;
  }
};

TEST_F(AfterGameTest, RankLinesHaveTheirFixedWidthsAndShowNamesAsStored) {
  HighScoreTable.killerKingsBeans[0] = 12;
  EXPECT_EQ(Lines(kKillerKingsPage, 1), "1.kingy  0000000000 pts.|12 beans killed");
  SetName(HighScoreTable.killerKingsName[1], "");
  HighScoreTable.killerKingsScore[1] = 4294967295u;
  EXPECT_EQ(Lines(kKillerKingsPage, 2), "2.  4294967295 pts.|0 beans killed");
  HighScoreTable.comboDemons[2] = ComboEntry{7, 65535};
  SetName(HighScoreTable.comboDemonsName[2], "ab");
  EXPECT_EQ(Lines(kComboDemonsPage, 3), "3.ab  07 hit-combo|65535 pts.scored");
  HighScoreTable.comboDemons[7].combo = 123;       // longer than the fill: shown whole
  HighScoreTable.comboDemonsName[7].length = 200;  // never more than five characters
  EXPECT_EQ(Lines(kComboDemonsPage, 8), "8.demon  123 hit-combo|0 pts.scored");
}

TEST_F(AfterGameTest, EachPageFadesInWaitsForAFreshKeyAndFadesOut) {
  std::vector<uint8_t> kings(kScreenBytes, 0), demons(kScreenBytes, 0);
  DrawHighScorePage(kings.data(), kKillerKingsPage);
  DrawHighScorePage(demons.data(), kComboDemonsPage);
  const std::vector<uint8_t> black(kScreenBytes, 0);
  EXPECT_TRUE(LineShows(kings.data(), black.data(), "killer kings", 320, 20, 3));
  EXPECT_TRUE(LineShows(demons.data(), black.data(), "1.demon  09 hit-combo", 320, 62));
  EXPECT_TRUE(LineShows(demons.data(), black.data(), "0 pts.scored", 320, 82));
  EXPECT_TRUE(LineShows(demons.data(), black.data(), "8.demon  02 hit-combo", 320, 370));
  EXPECT_TRUE(LineShows(demons.data(), black.data(), "0 pts.scored", 320, 390));

  uint32_t kingsFull = 0, lastKings = 0, firstDemons = 0;
  backend.onPoll = [&](HeadlessBackend& b) {
    const bool full = memcmp(b.colours, PictureColours(2).data(), kPaletteBytes) == 0;
    if (b.lastFrame == kings) {
      lastKings = b.now;
      if (full && !kingsFull) kingsFull = b.now;
    }
    if (b.lastFrame == demons && !firstDemons) firstDemons = b.now;
  };
  // A key held from the match and keys during the fade-ins do not turn the pages.
  KeyState[scan::kReturn] = 1;
  backend.KeyUp(2000, keysym::kReturn);
  for (uint32_t at : {500u, 3000u, 4300u, 6000u}) backend.Tap(at, keysym::kSpace, 40);
  AfterGameScreen();
  EXPECT_NEAR(kingsFull, 64 * kTickMs, 2 * kTickMs) << "a fade-in of 64 ticks";
  EXPECT_GE(lastKings, 3000u + 60 * kTickMs) << "turned by the key at 3000, then faded out";
  EXPECT_LT(firstDemons, 4300u);
  EXPECT_GE(backend.now, 6000u + 60 * kTickMs);
  EXPECT_EQ(SoundsPlayed(), (SoundLog{{18, 40, 0}, {18, 40, 0}}));
  EXPECT_TRUE(DisplayBlack());
  EXPECT_EQ(memcmp(Palette, PictureColours(2).data(), kPaletteBytes), 0) << "Palette is kept";
  EXPECT_FALSE(TickHandlerActive);
}

}  // namespace
