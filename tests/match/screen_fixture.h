// Drawing checks without the data set: every sprite is a synthetic one whose pixels say which
// sprite it is, and the frame is compared with the same sprite or text drawn alone.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine.h"
#include "game_data.h"
#include "game_screen.h"
#include "headless.h"
#include "platform.h"

constexpr uint8_t kBackground = 3;

class ScreenTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  std::vector<std::vector<uint8_t>> store;

  void SetUp() override {
    AllocateScreenBuffers();
    FillWords(BackBuffer, kScreenWords, kBackground);
    MakeSprites();
    for (int p = 1; p <= kPlayers; ++p) {
      PlayerState[p] = PlayerStateRecord{};
      PlayerState[p].config.dropSpeed = 1;
      ResetPlayerState(p);
      PlayerState[p].pairA.row = PlayerState[p].pairB.row = -20;  // out of sight
    }
    tickCount = spinCounter = 0;
    paused = 0;
    ClearMessageLog();
    fpsText.Clear();
  }
  void TearDown() override { MakeSprites(true); }

  Sprite Make(int w, int h, int fill, int first = 0, int second = 0) {
    store.emplace_back(static_cast<size_t>(w) * h, static_cast<uint8_t>(fill));
    if (first) store.back()[0] = static_cast<uint8_t>(first);
    if (second) store.back()[1] = static_cast<uint8_t>(second);
    return Sprite{store.back().data(), w, h};
  }
  // Bean [c][n]: pixels 1 + n, 100 + c, then 150 + c (black beans have ten sprites, as loaded).
  // Glyph g of font f: 1 + g, then 240 + f. Pictures are plain fills.
  void MakeSprites(bool clear = false) {
    auto make = [&](int w, int h, int fill, int first = 0, int second = 0) {
      return clear ? Sprite{} : Make(w, h, fill, first, second);
    };
    for (int c = 1; c <= 6; ++c)
      for (int n = 0; n < (c == 1 ? kBlackBeanSprites : kBeanSpritesPerColour); ++n)
        BeanSprites[c][n] = make(33, 28, 150 + c, 1 + n, 100 + c);
    static constexpr int kGlyph[3][2] = {{19, 16}, {12, 13}, {12, 19}};
    for (int f = 0; f < 3; ++f)
      for (int g = 0; g < (f == 2 ? kFont2Glyphs : kGlyphsPerFont); ++g)
        FontGlyphs[f][g] = make(kGlyph[f][0], kGlyph[f][1], 240 + f, 1 + g);
    static constexpr int kChain[9][2] = {{200, 50}, {236, 40}, {230, 34}, {210, 40}, {169, 40},
                                         {199, 41}, {200, 41}, {237, 40}, {235, 41}};
    for (int k = 0; k < kChainPictures; ++k)
      ChainPictures[k] = make(kChain[k][0], kChain[k][1], 70 + k);
    FrameTop = make(199, 18, 60);
    FrameTopMirror = make(199, 18, 61);
    FrameBottom = make(199, 18, 62);
    FrameBottomMirror = make(199, 18, 63);
    FrameSide = make(14, 374, 64);
    FrameSideMirror = make(14, 374, 65);
    StartPictures[0] = make(274, 110, 80);
    StartPictures[1] = make(274, 110, 81);
    ResultPictures[0] = make(312, 49, 82);
    ResultPictures[1] = make(310, 52, 83);
    for (int k = 0; k < kAnimImages; ++k)
      AnimFrames[k] = make(kAnimWidth, kAnimHeight, 90 + k).pixels;
  }

  static void Compose() {
    CopyWords(BackBuffer, FrameBuffer, kScreenWords);
    DrawStatusPanel();
    DrawGameScreen();
  }
  static std::vector<uint8_t> Frame() { return {FrameBuffer, FrameBuffer + kScreenBytes}; }

  // Every pixel the drawing sets on its own shows in the frame with the same value.
  template <typename Draw>
  static ::testing::AssertionResult Shows(Draw draw) {
    std::vector<uint8_t> alone(kScreenBytes, 0);
    draw(alone.data());
    int set = 0;
    for (int i = 0; i < kScreenBytes; ++i) {
      if (!alone[i]) continue;
      ++set;
      if (FrameBuffer[i] != alone[i])
        return ::testing::AssertionFailure()
               << "differs at (" << i % kScreenWidth << ", " << i / kScreenWidth << ")";
    }
    if (!set) return ::testing::AssertionFailure() << "nothing of it on screen";
    return ::testing::AssertionSuccess();
  }
  static auto Sp(const Sprite& s, int x, int y) {
    return Shows([&](uint8_t* t) { DrawSprite(t, x, y, s); });
  }
  static auto Dots(const Sprite& s, int x, int y, uint32_t scale) {
    return Shows([&](uint8_t* t) { DrawSpriteDotted(t, x, y, scale, scale, s); });
  }
  static auto Txt(const char* text, int x, int y, int font) {
    return Shows([&](uint8_t* t) { DrawText(t, text, x, y, font); });
  }
  // The rectangle [x0, x1) x [y0, y1) of the frame equals that of the reference.
  static bool SameRegion(const std::vector<uint8_t>& ref, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (FrameBuffer[y * kScreenWidth + x] != ref[y * kScreenWidth + x]) return false;
    return true;
  }
};
