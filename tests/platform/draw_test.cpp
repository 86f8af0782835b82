// Sprite placement, clipping, scaling, dotted grids, lines and text placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>
#include <vector>

#include "platform.h"

namespace {
// A screen buffer with guard bytes on both sides, to catch writes outside it.
struct GuardedScreen {
  static constexpr size_t kGuard = 4096;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kScreenBytes + 2 * kGuard, 0xEE);
  explicit GuardedScreen(uint8_t fill = 0) { memset(pixels(), fill, kScreenBytes); }
  uint8_t* pixels() { return bytes.data() + kGuard; }
  uint8_t At(int x, int y) { return pixels()[y * kScreenWidth + x]; }
  bool GuardsIntact() const {
    return std::count(bytes.begin(), bytes.begin() + kGuard, 0xEE) +
               std::count(bytes.end() - kGuard, bytes.end(), 0xEE) ==
           2 * kGuard;
  }
  int CountNonZero() { return kScreenBytes - std::count(pixels(), pixels() + kScreenBytes, 0); }
};

// A sprite whose pixels all differ from their neighbours; every seventh is transparent.
struct NumberedSprite {
  std::vector<uint8_t> data;
  Sprite sprite;
  NumberedSprite(int w, int h, bool holes = false) : data(w * h) {
    for (int i = 0; i < w * h; ++i)
      data[i] = holes && i % 7 == 3 ? 0 : static_cast<uint8_t>(1 + (i % w + 40 * (i / w)) % 255);
    sprite = Sprite{data.data(), w, h};
  }
};

TEST(DrawSprite, LandsCentredClippedAtEveryEdgeAndWritesNothingOutside) {
  NumberedSprite n(33, 28, true);
  constexpr int32_t kFar = 2000000000;
  const int32_t places[][2] = {{0, 0},     {639, 399}, {5, 9},      {320, 200}, {-16, 200},
                               {624, 387}, {655, 413}, {-100, 50},  {800, 50},  {50, -100},
                               {50, 500},  {-kFar, 0}, {kFar, kFar}};
  for (const bool opaque : {false, true})
    for (const auto& p : places) {
      GuardedScreen s(5), expected(5);
      (opaque ? DrawSpriteOpaque : DrawSprite)(s.pixels(), p[0], p[1], n.sprite);
      for (int sy = 0; sy < 28; ++sy)
        for (int sx = 0; sx < 33; ++sx) {
          const int64_t x = int64_t{p[0]} - 16 + sx, y = int64_t{p[1]} - 14 + sy;
          const uint8_t c = n.data[sy * 33 + sx];
          if (x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight && (opaque || c))
            expected.pixels()[y * kScreenWidth + x] = c;
        }
      EXPECT_EQ(s.bytes, expected.bytes) << (opaque ? "opaque " : "") << p[0] << "," << p[1];
    }
  GuardedScreen far;
  for (const auto& p : places)
    if (p[0] < -50 || p[0] > 700 || p[1] < -50 || p[1] > 450) {
      DrawSpriteScaled(far.pixels(), p[0], p[1], 300, 300, n.sprite);
      DrawSpriteDotted(far.pixels(), p[0], p[1], 500, 500, n.sprite);
    }
  EXPECT_EQ(far.CountNonZero(), 0);
  EXPECT_TRUE(far.GuardsIntact());
}

TEST(DrawSpriteScaled, FullSizeIsDrawSpriteOtherSizesPickWholePixelsAndDotsFollowTheScale) {
  NumberedSprite n(10, 6);
  GuardedScreen plain, full, fullDots, twice, half, dots;
  DrawSprite(plain.pixels(), 100, 100, n.sprite);
  DrawSpriteScaled(full.pixels(), 100, 100, 100, 100, n.sprite);
  DrawSpriteDotted(fullDots.pixels(), 100, 100, 100, 100, n.sprite);
  EXPECT_TRUE(full.bytes == plain.bytes && fullDots.bytes == plain.bytes);
  DrawSpriteScaled(twice.pixels(), 100, 100, 200, 200, n.sprite);  // 20 x 12 from (90, 94)
  DrawSpriteScaled(half.pixels(), 100, 100, 50, 50, n.sprite);     // 5 x 3 from (98, 99)
  DrawSpriteDotted(dots.pixels(), 100, 100, 500, 500, n.sprite);   // 5 apart from (75, 85)
  for (int i = 0; i < 240; ++i) {
    ASSERT_EQ(twice.At(90 + i % 20, 94 + i / 20), n.data[i / 40 * 10 + i % 20 / 2]) << i;
    ASSERT_TRUE(i >= 15 || half.At(98 + i % 5, 99 + i / 5) == n.data[i / 5 * 20 + i % 5 * 2]);
    ASSERT_TRUE(i >= 60 || dots.At(75 + i % 10 * 5, 85 + i / 10 * 5) == n.data[i]) << i;
  }
  EXPECT_EQ(std::tuple(twice.CountNonZero(), half.CountNonZero(), dots.CountNonZero()),
            std::tuple(240, 15, 60));
}

TEST(DrawSpriteScaled, ClippedLeftAndTopContinueTheSameSourceWalk) {
  // Drawn partly off the left/top edge, the visible part must equal the same drawing made fully
  // on screen and shifted: the clipping start fractions must match the unclipped walk.
  NumberedSprite n(37, 23);
  for (uint32_t scale : {37u, 50u, 73u, 100u, 150u, 200u, 333u}) {
    GuardedScreen clipped, whole, dots;
    DrawSpriteScaled(clipped.pixels(), 3, 2, scale, scale, n.sprite);
    DrawSpriteScaled(whole.pixels(), 3 + 200, 2 + 150, scale, scale, n.sprite);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x)
        ASSERT_EQ(clipped.At(x, y), whole.At(x + 200, y + 150))
            << "scale " << scale << " at " << x << "," << y;
    DrawSpriteDotted(dots.pixels(), 3, 2, scale, scale, n.sprite);
    EXPECT_TRUE(dots.GuardsIntact());
  }
}

TEST(DrawLine, EveryPixelOfSteepAndFlatLinesInEitherDirection) {
  // The minor coordinate steps once twice the error reaches the major distance.
  for (const auto& [x1, y1, x2, y2, count, midX, midY] :
       std::vector<std::array<int, 7>>{{100, 50, 100, 60, 11, 100, 55},
                                       {10, 60, 12, 50, 11, 11, 53},
                                       {5, 5, 25, 9, 21, 8, 6},
                                       {50, 50, 54, 52, 5, 51, 51}}) {
    GuardedScreen s;
    DrawLine(s.pixels(), x1, y1, x2, y2, 9);
    EXPECT_EQ(std::tuple(s.CountNonZero(), s.At(x1, y1), s.At(x2, y2), s.At(midX, midY)),
              std::tuple(count, 9, 9, 9))
        << x1 << "," << y1 << " to " << x2 << "," << y2;
  }
}

// Fonts with the real glyph sizes; each glyph is a solid block of its own index + 1.
class TextTest : public ::testing::Test {
 protected:
  std::vector<std::vector<uint8_t>> store;
  void SetUp() override {
    const int sizes[4][2] = {{19, 16}, {12, 13}, {12, 19}, {49, 36}};
    for (int f = 0; f < 4; ++f)
      for (int g = 0; g < kGlyphsPerFont; ++g) {
        store.emplace_back(sizes[f][0] * sizes[f][1], static_cast<uint8_t>(g + 1));
        FontGlyphs[f][g] = Sprite{store.back().data(), sizes[f][0], sizes[f][1]};
      }
  }
  void TearDown() override {
    for (auto& font : FontGlyphs)
      for (auto& g : font) g = Sprite{};
  }
};

TEST_F(TextTest, GlyphsSitAtTheirSpacingCentredOnThePoint) {
  const int spacing[] = {17, 10, 11, 47, 22};  // from glyph 0's width; font 4 is font 3 halved
  for (int f = 0; f < 5; ++f) EXPECT_EQ(FontSpacing(f), spacing[f]) << "font " << f;
  const struct {
    const char* text;
    int font;
    std::vector<std::pair<int, int>> row;  // x, glyph index + 1 (0: nothing) on row 100
  } cases[] = {
      // Centres 312 and 329: "a" spans 303..321, "b" 320..338 (drawn later, on top).
      {"ab", 0, {{302, 0}, {303, 1}, {319, 1}, {320, 2}, {338, 2}, {339, 0}}},
      // Upper case shares the lower-case glyphs; a blank or a character without a glyph draws
      // nothing but keeps its place.
      {"A Z", 1, {{310, 1}, {320, 0}, {330, 26}}},
      {"a~?", 1, {{320, 0}, {330, 48}}},
      // Font 2 draws its other glyph (10) for everything that is not a digit, blanks included.
      {"12:34", 2, {{298, 2}, {320, 11}, {342, 5}}},
      {" ", 2, {{320, 11}}},
  };
  for (const auto& c : cases) {
    GuardedScreen s;
    DrawText(s.pixels(), c.text, 320, 100, c.font);
    for (const auto& [x, value] : c.row) EXPECT_EQ(s.At(x, 100), value) << c.text << " at " << x;
    if (c.font == 0) {
      EXPECT_EQ(std::tuple(s.At(310, 92), s.At(310, 108)), std::tuple(1, 0));
    }
  }
  GuardedScreen half;
  DrawText(half.pixels(), "b", 320, 100, 4);
  EXPECT_EQ(std::tuple(half.At(320, 100), half.CountNonZero()), std::tuple(2, 24 * 18));
}

TEST(FixedTextTest, WritersCutWhatDoesNotFit) {
  FixedText<5> t;
  char text[8];
  t.Set("abcdefgh");
  t.CopyTo(text);
  EXPECT_STREQ(text, "abcde");
}
}  // namespace
