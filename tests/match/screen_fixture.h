// Drawing checks without the data set: every sprite the game screen uses is replaced by a
// synthetic one whose pixels say which sprite it is, and the frame is compared with what a sprite
// or text drawn alone at the expected place would give.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine.h"
#include "game_data.h"
#include "game_screen.h"
#include "headless.h"
#include "platform.h"
#include "random.h"

constexpr uint8_t kBackground = 3;

class ScreenTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  std::vector<std::vector<uint8_t>> pixels;  // storage of the synthetic sprites
  std::vector<uint8_t> alone = std::vector<uint8_t>(kScreenBytes);

  void SetUp() override {
    AllocateScreenBuffers();
    FillWords(BackBuffer, kScreenWords, kBackground);
    MakeSprites();
    SeedRandom(11);
    for (int p = 1; p <= kPlayers; ++p) {
      PlayerState[p].config = PlayerConfig{};
      PlayerState[p].config.dropSpeed = 1;
      PlayerState[p].config.beansToLink = 4;
      PlayerState[p].cpuControlled = 0;
      PlayerState[p].absent = 0;
      ResetPlayerState(p);
      // Park the pairs out of sight unless a test places them.
      PlayerState[p].pairA.row = PlayerState[p].pairB.row = -20;
    }
    tickCount = spinCounter = messageTimer = 0;
    paused = 0;
    ClearMessageLog();
    fpsText.Clear();
  }

  void TearDown() override {
    for (auto& colour : BeanSprites)
      for (auto& s : colour) s = Sprite{};
    for (auto& font : FontGlyphs)
      for (auto& s : font) s = Sprite{};
    for (auto& s : ChainPictures) s = Sprite{};
    StartPictures[0] = StartPictures[1] = ResultPictures[0] = ResultPictures[1] = {};
    FrameTop = FrameTopMirror = FrameBottom = FrameBottomMirror = FrameSide = FrameSideMirror = {};
    for (auto& f : AnimFrames) f = nullptr;
  }

  Sprite Make(int width, int height, uint8_t fill, uint8_t mark1 = 0, uint8_t mark2 = 0) {
    pixels.emplace_back(static_cast<size_t>(width) * height, fill);
    std::vector<uint8_t>& p = pixels.back();
    if (mark1) p[0] = mark1;
    if (mark2 && p.size() > 1) p[1] = mark2;
    return Sprite{p.data(), width, height};
  }

  // Bean [c][n]: first pixel 1 + n, second 100 + c, the rest 150 + c. Black beans have ten
  // sprites only, as the loader cuts them.
  void MakeSprites() {
    for (int c = 1; c <= 6; ++c) {
      const int count = c == kBlackBean ? kBlackBeanSprites : kBeanSpritesPerColour;
      for (int n = 0; n < count; ++n)
        BeanSprites[c][n] = Make(33, 28, static_cast<uint8_t>(150 + c), static_cast<uint8_t>(1 + n),
                                 static_cast<uint8_t>(100 + c));
    }
    // Glyphs: first pixel 1 + glyph index, the rest 240 + font.
    static constexpr int kGlyphW[3] = {19, 12, 12}, kGlyphH[3] = {16, 13, 19};
    for (int f = 0; f < 3; ++f) {
      const int count = f == 2 ? kFont2Glyphs : kGlyphsPerFont;
      for (int g = 0; g < count; ++g)
        FontGlyphs[f][g] = Make(kGlyphW[f], kGlyphH[f], static_cast<uint8_t>(240 + f),
                                static_cast<uint8_t>(1 + g));
    }
    static constexpr int kChainW[9] = {200, 236, 230, 210, 169, 199, 200, 237, 235};
    static constexpr int kChainH[9] = {50, 40, 34, 40, 40, 41, 41, 40, 41};
    for (int k = 0; k < kChainPictures; ++k)
      ChainPictures[k] = Make(kChainW[k], kChainH[k], static_cast<uint8_t>(70 + k));
    FrameTop = Make(199, 18, 60);
    FrameTopMirror = Make(199, 18, 61);
    FrameBottom = Make(199, 18, 62);
    FrameBottomMirror = Make(199, 18, 63);
    FrameSide = Make(14, 374, 64);
    FrameSideMirror = Make(14, 374, 65);
    StartPictures[0] = Make(274, 110, 80);
    StartPictures[1] = Make(274, 110, 81);
    ResultPictures[0] = Make(312, 49, 82);
    ResultPictures[1] = Make(310, 52, 83);
    for (int k = 0; k < kAnimImages; ++k)
      AnimFrames[k] = Make(kAnimWidth, kAnimHeight, 90 + k).pixels;
  }

  static void Compose() {
    CopyWords(BackBuffer, FrameBuffer, kScreenWords);
    DrawStatusPanel();
    DrawGameScreen();
  }

  // Every pixel that the drawing alone would set shows in the frame with that value.
  template <typename Draw>
  ::testing::AssertionResult ShowsDrawing(Draw draw) {
    memset(alone.data(), 0, alone.size());
    draw(alone.data());
    int set = 0;
    for (int i = 0; i < kScreenBytes; ++i) {
      if (!alone[i]) continue;
      ++set;
      if (FrameBuffer[i] != alone[i])
        return ::testing::AssertionFailure()
               << "pixel (" << i % kScreenWidth << ", " << i / kScreenWidth << ") is "
               << int(FrameBuffer[i]) << ", expected " << int(alone[i]);
    }
    if (set == 0) return ::testing::AssertionFailure() << "the drawing sets no pixel on screen";
    return ::testing::AssertionSuccess();
  }
  ::testing::AssertionResult Shows(const Sprite& s, int x, int y) {
    return ShowsDrawing([&](uint8_t* t) { DrawSprite(t, x, y, s); });
  }
  ::testing::AssertionResult ShowsDotted(const Sprite& s, int x, int y, uint32_t scale) {
    return ShowsDrawing([&](uint8_t* t) { DrawSpriteDotted(t, x, y, scale, scale, s); });
  }
  ::testing::AssertionResult ShowsText(const char* text, int x, int y, int font) {
    return ShowsDrawing([&](uint8_t* t) { DrawText(t, text, x, y, font); });
  }

  // The rectangle [x0, x1) x [y0, y1) of the frame equals that of a reference frame.
  static ::testing::AssertionResult SameRegion(const std::vector<uint8_t>& reference, int x0,
                                               int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (FrameBuffer[y * kScreenWidth + x] != reference[y * kScreenWidth + x])
          return ::testing::AssertionFailure() << "differs at (" << x << ", " << y << ")";
    return ::testing::AssertionSuccess();
  }
  static std::vector<uint8_t> Frame() {
    return std::vector<uint8_t>(FrameBuffer, FrameBuffer + kScreenBytes);
  }
};
