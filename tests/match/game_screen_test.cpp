// Everything a match draws, pixel by pixel: the game screen, the status panel, and the start and
// result displays over them. Every sprite is a synthetic one whose pixels say which sprite it is,
// and the frame is compared with the same sprite or text drawn alone.
#include "game_screen.h"

#include "engine.h"
#include "game_data.h"
#include "match_flow.h"
#include "platform.h"
#include "test_support.h"

namespace {

constexpr uint8_t kBackground = 3;

auto Sp(const Sprite& s, int x, int y) {
  return Shows(FrameBuffer, [&](uint8_t* t) { DrawSprite(t, x, y, s); });
}
auto Dots(const Sprite& s, int x, int y, uint32_t scale) {
  return Shows(FrameBuffer, [&](uint8_t* t) { DrawSpriteDotted(t, x, y, scale, scale, s); });
}
auto Txt(const char* text, int x, int y, int font) {
  return Shows(FrameBuffer, [&](uint8_t* t) { DrawText(t, text, x, y, font); });
}

class Screen : public ::testing::Test {
 protected:
  HeadlessSession session;
  std::vector<std::vector<uint8_t>> store;

  static uint8_t At(int x, int y) { return FrameBuffer[y * kScreenWidth + x]; }
  static std::vector<uint8_t> Frame() { return {FrameBuffer, FrameBuffer + kScreenBytes}; }

  void SetUp() override {
    AllocateScreenBuffers();
    FillWords(BackBuffer, kScreenWords, kBackground);
    MakeSprites(false);
    for (int p = 1; p <= kPlayers; ++p) {  // empty fields, no pairs
      PlayerState[p] = PlayerStateRecord{};
      PlayerState[p].level = PlayerState[p].config.dropSpeed = 1;
    }
    tickCount = spinCounter = paused = 0;
    ClearMessageLog();
    fpsText.Clear();
  }
  void TearDown() override { MakeSprites(true); }

  // Bean [c][n]: pixels 1 + n, 100 + c, then 150 + c (black beans have ten sprites, as loaded).
  // Glyph g of font f: 1 + g, then 240 + f. Pictures are plain fills, but chain picture k has
  // only its top row of 20 + 2 k: its dot grids keep to rows of their own, off the chain texts.
  void MakeSprites(bool clear) {
    auto make = [&](int w, int h, int fill, int first = 0, int second = 0) {
      if (clear) return Sprite{};
      store.emplace_back(static_cast<size_t>(w) * h, static_cast<uint8_t>(fill));
      if (first) store.back()[0] = static_cast<uint8_t>(first);
      if (second) store.back()[1] = static_cast<uint8_t>(second);
      return Sprite{store.back().data(), w, h};
    };
    for (int c = 1; c <= 6; ++c)
      for (int n = 0; n < (c == 1 ? kBlackBeanSprites : kBeanSpritesPerColour); ++n)
        BeanSprites[c][n] = make(33, 28, 150 + c, 1 + n, 100 + c);
    static constexpr int kGlyph[3][2] = {{19, 16}, {12, 13}, {12, 19}};
    for (int f = 0; f < 3; ++f)
      for (int g = 0; g < (f == 2 ? kFont2Glyphs : kGlyphsPerFont); ++g)
        FontGlyphs[f][g] = make(kGlyph[f][0], kGlyph[f][1], 240 + f, 1 + g);
    for (int k = 0; k < kChainPictures; ++k) {
      ChainPictures[k] = make(200, 20 + 2 * k, 0);
      if (!clear) std::fill_n(store.back().begin(), 200, static_cast<uint8_t>(70 + k));
    }
    Sprite* frame[] = {&FrameTop,          &FrameTopMirror, &FrameBottom,
                       &FrameBottomMirror, &FrameSide,      &FrameSideMirror};
    for (int k = 0; k < 6; ++k) *frame[k] = k < 4 ? make(199, 18, 60 + k) : make(14, 374, 60 + k);
    for (int k = 0; k < 2; ++k) StartPictures[k] = make(274, 110, 80 + k);
    ResultPictures[0] = make(312, 49, 82);
    ResultPictures[1] = make(310, 52, 83);
    for (int k = 0; k < kAnimImages; ++k)
      AnimFrames[k] = make(kAnimWidth, kAnimHeight, 90 + k).pixels;
  }
};

TEST_F(Screen, FieldsPairsFrameAndBothPanels) {
  FieldCell(1, 2, 5) = Cell{3, kLinkLeft | kLinkDown, 72};  // sprite 11
  FieldCell(2, 1, 11) = Cell{6, 0, 0};
  PlayerStateRecord &one = PlayerState[1], &two = PlayerState[2];
  one.pairA = PairBean{2, 1, 5, 40};  // sprite 1
  one.pairB = PairBean{2, 2, 2, 0};
  one.slideOffset = -7;
  one.fallProgress = 11;
  one.shownScore = 12345;
  one.score = 99999;
  one.nextColourA = 2;
  one.nextColourB = 5;
  one.config.dropSpeed = 2;
  one.level = 7;
  one.colourCounts[2 - 1] = 3;
  one.colourCounts[1 - 1] = 30;
  two.shownScore = 1234567890123;
  two.nextColourA = 6;
  two.gameOver = 1;
  two.config.dropSpeed = 99;  // the most a hand-edited file gives: 2 of 4 digits shown
  two.level = 13;
  two.colourCounts[6 - 1] = 2;
  AddMessage("quad(4)....");
  AddMessage("....ultimate(17)");
  fpsText.Set("69");
  spinCounter = 37;  // frame 9
  ComposeGameScreen();
  const std::tuple<const Sprite&, int, int> sprites[] = {
      {BeanSprites[3][11], 102, 173}, {BeanSprites[6][0], 472, 341}, {BeanSprites[5][1], 88, 72},
      {BeanSprites[2][0], 88, 100},   {BeanSprites[2][0], 257, 35},  {BeanSprites[5][0], 257, 63},
      {BeanSprites[6][0], 383, 35}};
  for (const auto& [sprite, x, y] : sprites) EXPECT_TRUE(Sp(sprite, x, y)) << x << "," << y;
  const std::tuple<const char*, int, int, int> texts[] = {
      {"12345", 118, 9, 2},         {"1234567890", 522, 9, 2},         {"game over", 522, 190, 0},
      {"quad(4)....", 319, 112, 1}, {"....ultimate(17)", 319, 126, 1}, {"69", 319, 10, 2},
      {"level:14", 275, 391, 1},    {"level:12", 365, 391, 1}};
  for (const auto& [text, x, y, font] : texts) EXPECT_TRUE(Txt(text, x, y, font)) << text;
  EXPECT_FALSE(Txt("game over", 118, 190, 0));
  EXPECT_TRUE(Dots(Sprite{AnimFrames[9], kAnimWidth, kAnimHeight}, 320, 329, 200));
  // Link shapes and phases choose the frame (above); a black bean keeps links it landed on but
  // has only unlinked frames; no sprite for an empty cell or an unknown colour.
  for (uint32_t links = 0; links < 16; ++links)
    EXPECT_EQ(&BeanSprite(kBlackBean, links, 44), &BeanSprites[kBlackBean][2]) << links;
  EXPECT_EQ(BeanSprite(kEmpty, 0, 0).pixels, BeanSprite(7, 0, 0).pixels);
  EXPECT_EQ(BeanSprite(7, 0, 0).pixels, nullptr);
  // {x, y, colour}: the frame, its side pieces over the ends of the top and bottom pieces; the
  // colour bars (in odd columns and even rows, where the animation's dots never fall).
  const int bg = kBackground,
            pixels[][3] = {
                {31, 0, 60},    {205, 17, 60},  {435, 0, 61},    {609, 17, 61},   {31, 365, 62},
                {217, 382, 62}, {423, 382, 63}, {609, 365, 63},  {17, 0, 64},     {30, 373, 64},
                {206, 200, 65}, {421, 5, 64},   {623, 5, 65},    {218, 382, bg},  {247, 304, 32},
                {251, 312, 32}, {305, 290, 28}, {391, 364, 169}, {393, 372, 169}, {253, 308, bg},
                {247, 303, bg}, {247, 313, bg}, {307, 290, bg},  {389, 368, bg},  {248, 308, bg}};
  for (const auto& f : pixels) EXPECT_EQ(At(f[0], f[1]), f[2]) << f[0] << "," << f[1];
}

TEST_F(Screen, DangerAndPauseTextsBlinkOverTheCentreAnimation) {
  PlayerState[1].incomingBlackBeans = 12;
  PlayerState[2].incomingBlackBeans = 7;
  paused = 1;
  for (uint32_t t = 0; t < kTicksPerMeterPeriod; ++t) {
    tickCount = t;
    ComposeGameScreen();
    const bool danger = t % 28 < 14, pause = t % 35 < 25;
    EXPECT_EQ(bool(Txt("danger -12-", 118, 391, 0)), danger) << t;
    EXPECT_EQ(bool(Txt("danger -7-", 522, 391, 0)), danger) << t;
    EXPECT_EQ(bool(Txt("paused", 320, 314, 0)), pause) << t;
    EXPECT_EQ(bool(Txt("exit (y/n)", 322, 338, 0)), pause) << t;
  }
  PlayerState[1].incomingBlackBeans = paused = tickCount = 0;
  ComposeGameScreen();
  EXPECT_FALSE(Txt("danger -0-", 118, 391, 0));
  EXPECT_FALSE(Txt("paused", 320, 314, 0));
}

TEST_F(Screen, BurstsAndPopupsRiseAndGrowAlsoOnAnAbsentPlayersField) {
  PlayerStateRecord& two = PlayerState[2];
  two.absent = 1;
  two.incomingBlackBeans = 9;  // player 1's chains still pile up here
  two.shownScore = 500;
  two.nextColourA = 3;
  ComposeGameScreen();
  const std::vector<uint8_t> none = Frame();
  EXPECT_TRUE(Txt("level:1", 275, 391, 1));
  EXPECT_FALSE(Txt("level:1", 365, 391, 1) || Txt("500", 522, 9, 2) ||
               Txt("danger -9-", 522, 391, 0) || Sp(BeanSprites[3][0], 383, 35));
  Burst &burst = BurstAt(1, 3, 8), &popup = BurstAt(2, 1, 4);
  burst.colour = 5;
  popup.popupText.Set("4500");
  const uint32_t timers[][2] = {{1, 1}, {40, 60}, {159, 119}};  // burst, popup
  for (const auto& t : timers) {
    burst.burstTimer = t[0];
    popup.popupTimer = t[1];
    ComposeGameScreen();
    EXPECT_TRUE(Dots(BeanSprites[5][0], 135, 257, 100 + 8 * t[0])) << t[0];
    EXPECT_TRUE(Txt("4500", 472, 145 - static_cast<int>(t[1] / 2), 1)) << t[1];
  }
  // At the ends of their timers bursts, popups and chain displays are gone.
  burst.burstTimer = 160;
  popup.popupTimer = 120;
  PlayerState[1].chainTimer = PlayerState[2].chainTimer = 360;
  ComposeGameScreen();
  EXPECT_EQ(none, Frame());
}

TEST_F(Screen, ChainDisplaySlidesRestsAndDissolves) {
  PlayerState[1].chainPicture = 3;
  PlayerState[2].chainPicture = 0;  // the counter-attack picture has no second picture
  PlayerState[1].chainText.Set("3200 pts.");
  PlayerState[2].chainText.Set("20000 pts.");
  const Sprite &picture = ChainPictures[3], &under = ChainPictures[1], &counter = ChainPictures[0];
  // {t, x of player 1's pictures, of player 1's text, of player 2's text, scale of the dot grids}
  const int stages[][5] = {{40, -40, -40, 680, 0},   {119, 118, 118, 522, 0},
                           {199, 118, 118, 522, 0},  {200, 118, 118, 522, 108},
                           {250, 118, 18, 622, 508}, {290, 118, -62, 702, 828}};
  for (const auto& s : stages) {
    PlayerState[1].chainTimer = PlayerState[2].chainTimer = s[0];
    ComposeGameScreen();
    auto shows = [&](const Sprite& sprite, int x, int y) {
      return s[4] ? Dots(sprite, x, y, s[4]) : Sp(sprite, x, y);
    };
    EXPECT_TRUE(Txt("3200 pts.", s[2], 200, 0)) << s[0];
    EXPECT_TRUE(Txt("20000 pts.", s[3], 200, 0)) << s[0];
    EXPECT_TRUE(shows(picture, s[1], 175)) << s[0];
    EXPECT_TRUE(shows(under, s[1], 225)) << s[0];
    EXPECT_TRUE(shows(counter, 640 - s[1], 175)) << s[0];
    EXPECT_FALSE(shows(under, 640 - s[1], 225)) << s[0];
  }
}

TEST_F(Screen, StartPictureDropsBlinksAndShrinksWhileTheNamesSlideIn) {
  PlayerState[1].config.name = {kNameCapacity, 5, {'A', 'L', 'I', 'C', 'E'}, {}};
  PlayerState[2].config.name = {kNameCapacity, 0, {'B', 'O', 'B'}, {}};
  // {t, picture, y, scale}; player 2's name is empty (it draws nothing) until t = 320.
  const int stages[][4] = {{50, 0, 50, 50},    {99, 1, 148, 99},  {150, 0, 150, 100},
                           {320, 1, 150, 100}, {321, 0, 150, 99}, {400, 1, 150, 20},
                           {420, 0, 0, 0}};
  for (const auto& s : stages) {
    startPictureIndex = s[1];
    PlayerState[2].config.name.length = s[0] < 320 ? 0 : 3;
    ComposeGameScreen();
    std::vector<uint8_t> expected = Frame();
    DrawSpriteScaled(expected.data(), 320, s[2], s[3], s[3], StartPictures[s[1]]);
    DrawText(expected.data(), "ALICE", s[0] - 159, 230, 1);
    DrawText(expected.data(), s[0] < 320 ? "" : "BOB", 801 - s[0], 230, 1);
    DrawStartSequence(s[0]);
    EXPECT_TRUE(Frame() == expected) << s[0];
  }
}

TEST_F(Screen, ResultItemsSlideInOneAfterAnother) {
  PlayerStateRecord& one = PlayerState[1];
  one.maxCombo = 3;
  one.maxComboPoints = 3200;
  one.beansKilled = 57;
  one.gameOver = 1;
  PlayerState[2].beansKilled = 4;
  const char* texts[2][3] = {{"maximum combo 3 hits", "3200 pts.scored", "57 beans killed"},
                             {"maximum combo 0 hits", "0 pts.scored", "4 beans killed"}};
  const int y[3] = {240, 255, 280}, no = 9999;
  // t, player 1's three lines and picture (player 2's mirror them: 522 for 118, 640 - x).
  const int stages[][5] = {{100, -82, no, no, 760},   {199, 116, no, no, 562},
                           {320, 118, -42, no, 320},  {399, 118, 116, no, 162},
                           {520, 118, 118, -42, 160}, {700, 118, 118, 118, 160},
                           {1999, 118, 118, 118, 160}};
  for (const auto& s : stages) {
    PlayerState[2].absent = s[0] == 1999;  // an absent player has no results
    ComposeGameScreen();
    std::vector<uint8_t> expected = Frame();
    for (int p = 0; p < 2 - PlayerState[2].absent; ++p) {
      auto x = [&](int v) { return p ? 640 - v : v; };
      for (int line = 0; line < 3 && s[1 + line] != no; ++line)
        DrawText(expected.data(), texts[p][line], x(s[1 + line]), y[line], 1);
      DrawSprite(expected.data(), x(s[4]), p ? 340 : 60, ResultPictures[1 - p]);
    }
    DrawResults(s[0]);
    EXPECT_TRUE(Frame() == expected) << s[0];
  }
}

}  // namespace
