// The game screen and status panel, pixel by pixel, with synthetic sprites.
#include <set>

#include "screen_fixture.h"

namespace {

using GameScreen = ScreenTest;

int SpriteNumber(const Sprite& s) {
  return s.pixels ? s.pixels[0] - 1 : -1;
}

TEST_F(GameScreen, LinkBitsAndPhaseChooseTheBeanSprite) {
  // (links, phase) -> sprite number, read off the shape and frame tables by hand.
  struct Case {
    uint32_t links, phase;
    int sprite;
  };
  const Case cases[] = {
      {0, 0, 0},     {0, 43, 1},   {0, 56, 5},    {0, 127, 6},  {0, 112, 9},   {1, 0, 19},
      {1, 91, 19},   {1, 92, 20},  {1, 124, 22},  {2, 95, 16},  {2, 104, 17},  {3, 0, 35},
      {3, 88, 36},   {3, 104, 38}, {3, 127, 36},  {4, 20, 28},  {4, 64, 29},   {8, 124, 26},
      {5, 80, 56},   {6, 72, 50},  {6, 96, 53},   {9, 100, 14}, {10, 104, 42}, {12, 104, 34},
      {12, 127, 32}, {15, 0, 46},  {15, 127, 46}, {7, 50, 47},  {11, 9, 48},   {13, 3, 44},
      {14, 60, 45},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SpriteNumber(BeanSprite(4, c.links, c.phase)), c.sprite)
        << "links " << c.links << " phase " << c.phase;
  // Every link value has its own shape, and every entry names a sprite that exists.
  std::set<int> shapes(std::begin(kLinkShape), std::end(kLinkShape));
  EXPECT_EQ(shapes.size(), 16u);
  for (const auto& row : kFrameTable)
    for (uint8_t n : row) EXPECT_LT(n, kBeanSpritesPerColour);
  EXPECT_EQ(BeanSprite(kEmpty, 0, 0).pixels, nullptr);
}

TEST_F(GameScreen, BlackBeansWithStaleLinksStayVisible) {
  // Black beans are placed over cells that keep their link bits; the bean must still show.
  for (uint32_t links = 0; links < 16; ++links) {
    const Sprite& s = BeanSprite(kBlackBean, links, 44);
    ASSERT_NE(s.pixels, nullptr) << "links " << links;
    EXPECT_EQ(SpriteNumber(s), 2);  // the unlinked bean's frame at step 11
  }
  FieldCell(1, 2, 6) = Cell{kBlackBean, kLinkLeft | kLinkUp | kLinkDown, 100};
  FieldCell(2, 4, 3) = Cell{kBlackBean, kLinkRight, 0};
  Compose();
  EXPECT_TRUE(Shows(BeanSprites[1][6], CellX(1, 2), CellY(6)));  // step 25 of shape 0
  EXPECT_TRUE(Shows(BeanSprites[1][0], CellX(2, 4), CellY(3)));
}

TEST_F(GameScreen, FieldCellsAndFallingPairsDrawAtTheirPlaces) {
  FieldCell(1, 2, 5) = Cell{3, kLinkLeft | kLinkDown, 72};  // shape 6, step 18: sprite 11
  FieldCell(1, 3, 5) = Cell{3, kLinkLeft, 0};               // shape 2: sprite 19
  FieldCell(2, 1, 11) = Cell{6, 0, 0};
  FieldCell(2, 4, -1) = Cell{5, 0, 0};  // hidden rows are not drawn
  PlayerStateRecord& one = PlayerState[1];
  one.pairA = PairBean{2, 1, 5, 40};  // phase 40: sprite 1
  one.pairB = PairBean{2, 2, 2, 0};
  one.slideOffset = -7;
  one.fallProgress = 11;
  one.resolving = 1;  // drawn while the field settles too
  Compose();
  EXPECT_TRUE(Shows(BeanSprites[3][11], 102, 173));
  EXPECT_TRUE(Shows(BeanSprites[3][19], 135, 173));
  EXPECT_TRUE(Shows(BeanSprites[6][0], 472, 341));
  EXPECT_TRUE(Shows(BeanSprites[5][1], 36 + 66 - 14, 33 + 28 + 11));
  EXPECT_TRUE(Shows(BeanSprites[2][0], 36 + 66 - 14, 33 + 56 + 11));
  // Nothing of colour 5 above row 0 in player 2's well (the frame covers y < 18 there).
  for (int y = 18; y < 19 + 14; ++y)
    for (int x = 439 + 4 * 33 - 16; x < 439 + 4 * 33 + 16; ++x)
      ASSERT_NE(FrameBuffer[y * kScreenWidth + x], 155) << x << "," << y;
}

TEST_F(GameScreen, FrameAndPlayerPanels) {
  PlayerStateRecord& one = PlayerState[1];
  PlayerStateRecord& two = PlayerState[2];
  one.shownScore = 12345;
  one.score = 99999;  // the shown score is drawn, not the score
  one.nextColourA = 2;
  one.nextColourB = 5;
  two.shownScore = 1234567890123;  // cut to ten characters
  two.nextColourA = 6;
  two.nextColourB = 6;
  two.gameOver = 1;
  Compose();
  // The side pieces overlap the ends of the top and bottom pieces, and the scores the tops.
  auto at = [](int x, int y) { return FrameBuffer[y * kScreenWidth + x]; };
  EXPECT_EQ(at(31, 0), 60);
  EXPECT_EQ(at(205, 17), 60);
  EXPECT_EQ(at(435, 0), 61);
  EXPECT_EQ(at(609, 17), 61);
  EXPECT_EQ(at(31, 365), 62);
  EXPECT_EQ(at(217, 382), 62);
  EXPECT_EQ(at(423, 382), 63);
  EXPECT_EQ(at(609, 365), 63);
  EXPECT_EQ(at(218, 382), kBackground);
  EXPECT_EQ(at(422, 382), kBackground);
  EXPECT_TRUE(Shows(FrameSide, 24, 187));
  EXPECT_TRUE(Shows(FrameSideMirror, 213, 187));
  EXPECT_TRUE(Shows(FrameSide, 428, 187));
  EXPECT_TRUE(Shows(FrameSideMirror, 617, 187));
  EXPECT_TRUE(ShowsText("12345", 118, 9, 2));
  EXPECT_TRUE(ShowsText("1234567890", 522, 9, 2));
  EXPECT_TRUE(Shows(BeanSprites[2][0], 257, 35));
  EXPECT_TRUE(Shows(BeanSprites[5][0], 257, 63));
  EXPECT_TRUE(Shows(BeanSprites[6][0], 383, 35));
  EXPECT_TRUE(Shows(BeanSprites[6][0], 383, 63));
  EXPECT_TRUE(ShowsText("game over", 522, 190, 0));
  EXPECT_FALSE(ShowsText("game over", 118, 190, 0));
}

TEST_F(GameScreen, DangerWarningBlinksWithTheTickCount) {
  PlayerState[1].incomingBlackBeans = 12;
  PlayerState[2].incomingBlackBeans = 4000000000u;
  for (uint32_t t : {0u, 13u, 28u, 41u, 125u}) {
    tickCount = t;
    Compose();
    EXPECT_TRUE(ShowsText("danger -12-", 118, 391, 0)) << "tick " << t;
    EXPECT_TRUE(ShowsText("danger -4000000000-", 522, 391, 0)) << "tick " << t;
  }
  for (uint32_t t : {14u, 27u, 42u, 139u}) {
    tickCount = t;
    PlayerState[1].incomingBlackBeans = PlayerState[2].incomingBlackBeans = 0;
    Compose();
    const std::vector<uint8_t> without = Frame();
    PlayerState[1].incomingBlackBeans = 12;
    PlayerState[2].incomingBlackBeans = 7;
    Compose();
    EXPECT_TRUE(SameRegion(without, 0, 383, 640, 400)) << "tick " << t;
  }
}

TEST_F(GameScreen, AbsentPlayerShowsNoPanelButKeepsBursts) {
  PlayerStateRecord& two = PlayerState[2];
  two.absent = 1;
  ResetPlayerState(2);
  two.incomingBlackBeans = 9;  // player 1's chains still pile up here
  two.shownScore = 500;
  tickCount = 0;
  BurstAt(2, 2, 6) = Burst{4, 3, 0, {}};
  Compose();
  const std::vector<uint8_t> shown = Frame();
  // Reference: the background with only what every mode draws in player 2's half.
  CopyWords(BackBuffer, FrameBuffer, kScreenWords);
  DrawSprite(FrameBuffer, 522, 9, FrameTopMirror);
  DrawSprite(FrameBuffer, 428, 187, FrameSide);
  DrawSprite(FrameBuffer, 617, 187, FrameSideMirror);
  for (int y = 0; y < 30; ++y)  // no score over the frame
    for (int x = 423; x < 622; ++x)
      ASSERT_EQ(shown[y * kScreenWidth + x], FrameBuffer[y * kScreenWidth + x]);
  for (int y = 20; y < 78; ++y)  // no next pair
    for (int x = 366; x < 400; ++x) ASSERT_EQ(shown[y * kScreenWidth + x], kBackground);
  for (int y = 383; y < 400; ++y)  // no level text, no danger warning
    for (int x = 330; x < 640; ++x) ASSERT_EQ(shown[y * kScreenWidth + x], kBackground);
  memcpy(FrameBuffer, shown.data(), kScreenBytes);
  EXPECT_TRUE(ShowsDotted(BeanSprites[4][0], CellX(2, 2), CellY(6), 124));
  EXPECT_TRUE(ShowsText("level:1", 275, 391, 1));
}

TEST_F(GameScreen, BurstsGrowAndPopupsRiseUntilTheirTimersEnd) {
  Burst& popup = BurstAt(1, 3, 8);
  popup.popupText.Set("4500");
  Burst& burst = BurstAt(2, 1, 4);
  burst.colour = 5;
  for (uint32_t t : {1u, 60u, 119u}) {
    popup.popupTimer = t;
    burst.burstTimer = 0;
    Compose();
    EXPECT_TRUE(ShowsText("4500", CellX(1, 3), CellY(8) - static_cast<int>(t / 2), 1)) << t;
  }
  for (uint32_t t : {1u, 40u, 159u}) {
    popup.popupTimer = 0;
    burst.burstTimer = t;
    Compose();
    EXPECT_TRUE(ShowsDotted(BeanSprites[5][0], CellX(2, 1), CellY(4), 100 + 8 * t)) << t;
  }
  BurstAt(2, 0, 12) = Burst{kBlackBean, 40, 0, {}};  // a black bean taken by an explosion
  Compose();
  EXPECT_TRUE(ShowsDotted(BeanSprites[1][0], CellX(2, 0), CellY(12), 420));

  // Finished timers show nothing.
  BurstAt(2, 0, 12).burstTimer = 0;
  popup.popupTimer = burst.burstTimer = 0;
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
  two.chainPicture = 8;
  const Sprite pictures[3] = {ChainPictures[1], ChainPictures[3], ChainPictures[8]};
  const Sprite& under = pictures[0];
  // The texts cover parts of the pictures and the dots cover the texts, so each is checked in a
  // frame without the other.
  auto composePictures = [&] {
    one.chainText.Clear();
    two.chainText.Clear();
    Compose();
  };
  auto composeTexts = [&] {
    one.chainText.Set("3200 pts.");
    two.chainText.Set("123456 pts");
    ChainPictures[1] = ChainPictures[3] = ChainPictures[8] = Sprite{};
    Compose();
    ChainPictures[1] = pictures[0];
    ChainPictures[3] = pictures[1];
    ChainPictures[8] = pictures[2];
  };
  struct Stage {
    uint32_t t;
    int x1, x2;  // where the pictures and texts of players 1 and 2 stand
  };
  for (const Stage& s : {Stage{40, -40, 680}, Stage{60, 0, 640}, Stage{119, 118, 522},
                         Stage{120, 118, 522}, Stage{199, 118, 522}}) {
    one.chainTimer = two.chainTimer = s.t;
    composePictures();
    EXPECT_TRUE(Shows(pictures[1], s.x1, 175)) << "t " << s.t;
    EXPECT_TRUE(Shows(under, s.x1, 225)) << "t " << s.t;
    EXPECT_TRUE(Shows(pictures[2], s.x2, 175)) << "t " << s.t;
    EXPECT_TRUE(Shows(under, s.x2, 225)) << "t " << s.t;
    composeTexts();
    EXPECT_TRUE(ShowsText("3200 pts.", s.x1, 200, 0)) << "t " << s.t;
    EXPECT_TRUE(ShowsText("123456 pts", s.x2, 200, 0)) << "t " << s.t;
  }
  // Leaving: the pictures turn into growing dot grids in place, the texts slide outwards.
  for (uint32_t t : {200u, 260u, 280u, 359u}) {
    const bool textOnScreen = t < 300;
    const uint32_t scale = 8 * t - 1492;
    one.chainTimer = t;
    two.chainTimer = 0;
    composePictures();
    if (t == 200) {  // later the picture lies under the second picture's grid
      EXPECT_TRUE(ShowsDotted(pictures[1], 118, 175, scale));
    }
    EXPECT_TRUE(ShowsDotted(under, 118, 225, scale)) << "t " << t;
    composeTexts();
    if (textOnScreen) {
      EXPECT_TRUE(ShowsText("3200 pts.", 518 - 2 * static_cast<int>(t), 200, 0)) << "t " << t;
    }
    one.chainTimer = 0;
    two.chainTimer = t;
    composePictures();
    EXPECT_TRUE(ShowsDotted(under, 522, 225, scale)) << "t " << t;
    composeTexts();
    if (textOnScreen) {
      EXPECT_TRUE(ShowsText("123456 pts", 2 * static_cast<int>(t) + 122, 200, 0)) << "t " << t;
    }
  }
  // Over: nothing left of the display.
  one.chainTimer = two.chainTimer = 0;
  composeTexts();
  const std::vector<uint8_t> none = Frame();
  one.chainTimer = two.chainTimer = 360;
  composeTexts();
  EXPECT_EQ(none, Frame());
  composePictures();
  EXPECT_EQ(none, Frame());
}

TEST_F(GameScreen, CounterAttackShowsNoSecondPicture) {
  PlayerStateRecord& one = PlayerState[1];
  one.chainPicture = 0;
  one.chainTimer = 150;
  Compose();
  EXPECT_TRUE(Shows(ChainPictures[0], 118, 175));
  one.chainText.Set("20000 pts.");
  Compose();
  EXPECT_TRUE(ShowsText("20000 pts.", 118, 200, 0));
  for (int i = 0; i < kScreenBytes; ++i) ASSERT_NE(FrameBuffer[i], 71) << i;
}

TEST_F(GameScreen, PauseQuestionBlinks) {
  paused = 1;
  for (uint32_t t : {0u, 24u, 35u, 94u, 129u}) {
    tickCount = t;
    Compose();
    EXPECT_TRUE(ShowsText("paused", 320, 314, 0)) << "tick " << t;
    EXPECT_TRUE(ShowsText("exit (y/n)", 322, 338, 0)) << "tick " << t;
  }
  for (uint32_t t : {25u, 34u, 60u, 139u}) {
    tickCount = t;
    Compose();
    EXPECT_FALSE(ShowsText("paused", 320, 314, 0)) << "tick " << t;
  }
  paused = 0;
  tickCount = 0;
  Compose();
  EXPECT_FALSE(ShowsText("paused", 320, 314, 0));
  EXPECT_FALSE(ShowsText("exit (y/n)", 322, 338, 0));
}

TEST_F(GameScreen, StatusPanelTexts) {
  AddMessage("quad(4)....");
  AddMessage("....ultimate(17)");
  fpsText.Set("69");
  PlayerState[1].config.dropSpeed = 2;
  PlayerState[1].level = 7;
  PlayerState[2].config.dropSpeed = 1;
  PlayerState[2].level = 13;
  Compose();
  EXPECT_TRUE(ShowsText("quad(4)....", 319, 112, 1));
  EXPECT_TRUE(ShowsText("....ultimate(17)", 319, 126, 1));
  EXPECT_TRUE(ShowsText("69", 319, 10, 2));
  EXPECT_TRUE(ShowsText("level:14", 275, 391, 1));
  EXPECT_TRUE(ShowsText("level:13", 365, 391, 1));
  // A drop speed that only a hand-edited options file can hold: the number is cut to 2 digits.
  PlayerState[2].config.dropSpeed = 100;
  Compose();
  EXPECT_TRUE(ShowsText("level:13", 365, 391, 1));
}

TEST_F(GameScreen, ColourBarsAndCentreAnimation) {
  for (auto& frame : AnimFrames) frame = nullptr;  // the animation would cover the bars' dots
  PlayerState[1].colourCounts[2 - 1] = 3;
  PlayerState[1].colourCounts[1 - 1] = 30;
  PlayerState[2].colourCounts[6 - 1] = 2;
  Compose();
  auto at = [](int x, int y) { return FrameBuffer[y * kScreenWidth + x]; };
  for (int x : {247, 249, 251})
    for (int y = 304; y <= 312; ++y) EXPECT_EQ(at(x, y), 32) << x << "," << y;
  EXPECT_EQ(at(248, 308), kBackground);
  EXPECT_EQ(at(253, 308), kBackground);
  EXPECT_EQ(at(247, 303), kBackground);
  EXPECT_EQ(at(247, 313), kBackground);
  EXPECT_EQ(at(305, 289), 28);  // 30 black beans: 247 .. 305
  EXPECT_EQ(at(307, 289), kBackground);
  for (int x : {393, 391})
    for (int y = 364; y <= 372; ++y) EXPECT_EQ(at(x, y), 169) << x << "," << y;
  EXPECT_EQ(at(389, 368), kBackground);
  EXPECT_EQ(at(395, 368), kBackground);

  MakeSprites();
  for (uint32_t spin : {0u, 3u, 4u, 39u}) {
    spinCounter = spin;
    Compose();
    EXPECT_TRUE(ShowsDotted(Sprite{AnimFrames[spin / 4], kAnimWidth, kAnimHeight}, 320, 329, 200))
        << "spin " << spin;
  }
}

}  // namespace
