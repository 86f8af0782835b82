// The game screen and status panel, pixel by pixel, with synthetic sprites.
#include "screen_fixture.h"

namespace {

using GameScreen = ScreenTest;

int SpriteNumber(const Sprite& s) {
  return s.pixels ? s.pixels[0] - 1 : -1;
}
uint8_t At(int x, int y) {
  return FrameBuffer[y * kScreenWidth + x];
}

TEST_F(GameScreen, LinksAndPhaseChooseTheSprite) {
  // {links, phase, sprite}, read off the link-shape and frame tables by hand.
  const int cases[][3] = {{0, 43, 1},    {0, 56, 5},    {0, 127, 6},   {1, 92, 20}, {2, 104, 17},
                          {3, 88, 36},   {4, 64, 29},   {5, 80, 56},   {6, 96, 53}, {9, 100, 14},
                          {10, 104, 42}, {12, 104, 34}, {15, 127, 46}, {7, 50, 47}, {14, 60, 45}};
  for (const auto& c : cases)
    EXPECT_EQ(SpriteNumber(BeanSprite(4, c[0], c[1])), c[2]) << c[0] << " " << c[1];
  EXPECT_EQ(BeanSprite(kEmpty, 0, 0).pixels, nullptr);
}

TEST_F(GameScreen, BlackBeansWithStaleLinksStayVisible) {
  // A black bean placed over a linked cell keeps the links; it has only the unlinked frames.
  for (uint32_t links = 0; links < 16; ++links)
    EXPECT_EQ(SpriteNumber(BeanSprite(kBlackBean, links, 44)), 2) << links;
  FieldCell(1, 2, 6) = Cell{kBlackBean, kLinkLeft | kLinkUp | kLinkDown, 100};
  Compose();
  EXPECT_TRUE(Sp(BeanSprites[1][6], CellX(1, 2), CellY(6)));
}

TEST_F(GameScreen, FieldsPairsFrameAndPanels) {
  FieldCell(1, 2, 5) = Cell{3, kLinkLeft | kLinkDown, 72};  // sprite 11
  FieldCell(2, 1, 11) = Cell{6, 0, 0};
  PlayerStateRecord& one = PlayerState[1];
  one.pairA = PairBean{2, 1, 5, 40};  // sprite 1
  one.pairB = PairBean{2, 2, 2, 0};
  one.slideOffset = -7;
  one.fallProgress = 11;
  one.shownScore = 12345;
  one.score = 99999;
  one.nextColourA = 2;
  one.nextColourB = 5;
  PlayerState[2].shownScore = 1234567890123;
  PlayerState[2].nextColourA = 6;
  PlayerState[2].gameOver = 1;
  Compose();
  EXPECT_TRUE(Sp(BeanSprites[3][11], 102, 173));
  EXPECT_TRUE(Sp(BeanSprites[6][0], 472, 341));
  EXPECT_TRUE(Sp(BeanSprites[5][1], 88, 72));
  EXPECT_TRUE(Sp(BeanSprites[2][0], 88, 100));
  EXPECT_TRUE(Txt("12345", 118, 9, 2));
  EXPECT_TRUE(Txt("1234567890", 522, 9, 2));
  EXPECT_TRUE(Sp(BeanSprites[2][0], 257, 35));
  EXPECT_TRUE(Sp(BeanSprites[5][0], 257, 63));
  EXPECT_TRUE(Sp(BeanSprites[6][0], 383, 35));
  EXPECT_TRUE(Txt("game over", 522, 190, 0));
  EXPECT_FALSE(Txt("game over", 118, 190, 0));
  // The frame: side pieces over the ends of the top and bottom pieces.
  const int frame[][3] = {{31, 0, 60},   {205, 17, 60},          {435, 0, 61},   {609, 17, 61},
                          {31, 365, 62}, {217, 382, 62},         {423, 382, 63}, {609, 365, 63},
                          {17, 0, 64},   {30, 373, 64},          {206, 200, 65}, {421, 5, 64},
                          {623, 5, 65},  {218, 382, kBackground}};
  for (const auto& f : frame) EXPECT_EQ(At(f[0], f[1]), f[2]) << f[0] << "," << f[1];
}

TEST_F(GameScreen, DangerAndPauseTextsBlink) {
  PlayerState[1].incomingBlackBeans = 12;
  PlayerState[2].incomingBlackBeans = 7;
  paused = 1;
  for (uint32_t t = 0; t < kTicksPerMeterPeriod; ++t) {
    tickCount = t;
    Compose();
    const bool danger = t % 28 < 14, pause = t % 35 < 25;
    EXPECT_EQ(bool(Txt("danger -12-", 118, 391, 0)), danger) << t;
    EXPECT_EQ(bool(Txt("danger -7-", 522, 391, 0)), danger) << t;
    EXPECT_EQ(bool(Txt("paused", 320, 314, 0)), pause) << t;
    EXPECT_EQ(bool(Txt("exit (y/n)", 322, 338, 0)), pause) << t;
  }
  PlayerState[1].incomingBlackBeans = PlayerState[2].incomingBlackBeans = 0;
  paused = 0;
  tickCount = 0;
  Compose();
  EXPECT_FALSE(Txt("danger -0-", 118, 391, 0));
  EXPECT_FALSE(Txt("paused", 320, 314, 0));
}

TEST_F(GameScreen, AbsentPlayerShowsNoPanelButKeepsItsBursts) {
  PlayerState[2].absent = 1;
  PlayerState[2].incomingBlackBeans = 9;  // player 1's chains still pile up here
  PlayerState[2].shownScore = 500;
  BurstAt(2, 2, 6) = Burst{4, 3, 0, {}};
  Compose();
  EXPECT_TRUE(Dots(BeanSprites[4][0], CellX(2, 2), CellY(6), 124));
  EXPECT_TRUE(Txt("level:1", 275, 391, 1));
  for (int y = 0; y < 400; ++y)
    for (int x = 330; x < 640; ++x) {
      const uint8_t v = At(x, y);
      // No score, next pair, level text or warning: no glyph or bean pixels outside the burst.
      ASSERT_TRUE((y >= 170 && y <= 232) || v < 100 || v > 250 || v == kBackground)
          << x << "," << y;
    }
}

TEST_F(GameScreen, BurstsGrowAndPopupsRiseUntilTheirTimersEnd) {
  Burst& popup = BurstAt(1, 3, 8);
  popup.popupText.Set("4500");
  Burst& burst = BurstAt(2, 1, 4);
  burst.colour = 5;
  for (uint32_t t : {1u, 60u, 119u}) {
    popup.popupTimer = t;
    Compose();
    EXPECT_TRUE(Txt("4500", CellX(1, 3), CellY(8) - static_cast<int>(t / 2), 1)) << t;
  }
  popup.popupTimer = 0;
  for (uint32_t t : {1u, 40u, 159u}) {
    burst.burstTimer = t;
    Compose();
    EXPECT_TRUE(Dots(BeanSprites[5][0], CellX(2, 1), CellY(4), 100 + 8 * t)) << t;
  }
  burst.burstTimer = 0;
  Compose();
  const std::vector<uint8_t> none = Frame();
  popup.popupTimer = 120;
  burst.burstTimer = 160;
  Compose();
  EXPECT_EQ(none, Frame());
}

TEST_F(GameScreen, ChainDisplaySlidesRestsAndDissolves) {
  PlayerStateRecord& one = PlayerState[1];
  PlayerStateRecord& two = PlayerState[2];
  one.chainPicture = 3;
  two.chainPicture = 0;  // the counter-attack picture has no second picture
  const Sprite saved[3] = {ChainPictures[0], ChainPictures[1], ChainPictures[3]};
  // The texts cover parts of the pictures and the dots the texts: each is checked alone.
  auto compose = [&](bool texts) {
    one.chainText.Set(texts ? "3200 pts." : "");
    two.chainText.Set(texts ? "20000 pts." : "");
    for (int k : {0, 1, 3}) ChainPictures[k] = texts ? Sprite{} : saved[k == 3 ? 2 : k];
    Compose();
  };
  // {t, x of player 1, x of player 2}
  const int stages[][3] = {{40, -40, 680}, {119, 118, 522}, {120, 118, 522}, {199, 118, 522}};
  for (const auto& s : stages) {
    one.chainTimer = two.chainTimer = s[0];
    compose(false);
    EXPECT_TRUE(Sp(saved[2], s[1], 175)) << s[0];
    EXPECT_TRUE(Sp(saved[1], s[1], 225)) << s[0];
    EXPECT_TRUE(Sp(saved[0], s[2], 175)) << s[0];
    for (int i = 0; i < kScreenBytes; ++i)
      ASSERT_FALSE(i % kScreenWidth > 320 && FrameBuffer[i] == 71);
    compose(true);
    EXPECT_TRUE(Txt("3200 pts.", s[1], 200, 0)) << s[0];
    EXPECT_TRUE(Txt("20000 pts.", s[2], 200, 0)) << s[0];
  }
  two.chainTimer = 0;
  for (int t : {200, 280, 359}) {  // the pictures turn into growing grids, the texts leave
    one.chainTimer = t;
    compose(false);
    EXPECT_TRUE(Dots(saved[1], 118, 225, 8 * t - 1492)) << t;
    EXPECT_TRUE(t > 200 || Dots(saved[2], 118, 175, 108));  // later under the second grid
    compose(true);
    EXPECT_TRUE(t > 300 || Txt("3200 pts.", 518 - 2 * t, 200, 0)) << t;
  }
  one.chainTimer = 0;
  compose(false);
  const std::vector<uint8_t> none = Frame();
  one.chainTimer = two.chainTimer = 360;
  compose(false);
  EXPECT_EQ(none, Frame());
}

TEST_F(GameScreen, StatusPanel) {
  AddMessage("quad(4)....");
  AddMessage("....ultimate(17)");
  fpsText.Set("69");
  PlayerState[1].config.dropSpeed = 2;
  PlayerState[1].level = 7;
  PlayerState[2].config.dropSpeed = 100;  // only a hand-edited file holds this: 2 digits shown
  PlayerState[2].level = 13;
  PlayerState[1].colourCounts[2 - 1] = 3;
  PlayerState[1].colourCounts[1 - 1] = 30;
  PlayerState[2].colourCounts[6 - 1] = 2;
  spinCounter = 39;
  Compose();
  EXPECT_TRUE(Txt("quad(4)....", 319, 112, 1));
  EXPECT_TRUE(Txt("....ultimate(17)", 319, 126, 1));
  EXPECT_TRUE(Txt("69", 319, 10, 2));
  EXPECT_TRUE(Txt("level:14", 275, 391, 1));
  EXPECT_TRUE(Txt("level:13", 365, 391, 1));
  EXPECT_TRUE(Dots(Sprite{AnimFrames[9], kAnimWidth, kAnimHeight}, 320, 329, 200));
  // The bars, without the animation's dots over them.
  for (auto& frame : AnimFrames) frame = nullptr;
  Compose();
  for (int y = 304; y <= 312; ++y)
    for (int x : {247, 249, 251}) EXPECT_EQ(At(x, y), 32) << x << "," << y;
  for (int y = 364; y <= 372; ++y)
    for (int x : {393, 391}) EXPECT_EQ(At(x, y), 169) << x << "," << y;
  EXPECT_EQ(At(305, 289), 28);
  const int empty[][2] = {{248, 308}, {253, 308}, {247, 303}, {247, 313}, {307, 289}, {389, 368}};
  for (const auto& e : empty) EXPECT_EQ(At(e[0], e[1]), kBackground) << e[0] << "," << e[1];
}

}  // namespace
