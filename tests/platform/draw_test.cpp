// Sprite placement, clipping, scaling, dotted grids, lines and text placement.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform.h"

namespace {
// A screen buffer with guard bytes on both sides, to catch writes outside it.
struct GuardedScreen {
  static constexpr size_t kGuard = 4096;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kScreenBytes + 2 * kGuard, 0xEE);
  GuardedScreen() { memset(pixels(), 0, kScreenBytes); }
  uint8_t* pixels() { return bytes.data() + kGuard; }
  uint8_t At(int x, int y) { return pixels()[y * kScreenWidth + x]; }
  bool GuardsIntact() const {
    for (size_t i = 0; i < kGuard; ++i)
      if (bytes[i] != 0xEE || bytes[bytes.size() - 1 - i] != 0xEE) return false;
    return true;
  }
  int CountNonZero() {
    int n = 0;
    for (int i = 0; i < kScreenBytes; ++i) n += pixels()[i] != 0;
    return n;
  }
};

// A sprite whose pixels are all different from their neighbours and never 0.
struct NumberedSprite {
  std::vector<uint8_t> data;
  Sprite sprite;
  NumberedSprite(int w, int h) : data(w * h) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) data[y * w + x] = static_cast<uint8_t>(1 + (x + 40 * y) % 255);
    sprite = Sprite{data.data(), w, h};
  }
};

TEST(DrawSprite, ClipsAtTheTopLeftCorner) {
  GuardedScreen s;
  NumberedSprite n(33, 28);
  DrawSprite(s.pixels(), 0, 0, n.sprite);
  // Only the lower-right quarter lands: sprite columns 16..32 of rows 14..27 at (0..16, 0..13).
  EXPECT_EQ(s.At(0, 0), n.data[14 * 33 + 16]);
  EXPECT_EQ(s.At(16, 13), n.data[27 * 33 + 32]);
  EXPECT_EQ(s.At(17, 0), 0);
  EXPECT_EQ(s.At(0, 14), 0);
  EXPECT_EQ(s.CountNonZero(), 17 * 14);
}

TEST(DrawSprite, ClipsAtTheBottomRightAndKeepsTransparency) {
  GuardedScreen s;
  NumberedSprite n(10, 10);
  n.data[9 * 10 + 0] = 0;  // a transparent pixel
  memset(s.pixels(), 5, kScreenBytes);
  DrawSprite(s.pixels(), 639, 399, n.sprite);  // left 634, top 394
  EXPECT_EQ(s.At(634, 394), n.data[0]);
  EXPECT_EQ(s.At(639, 399), n.data[5 * 10 + 5]);
  DrawSpriteOpaque(s.pixels(), 5, 9, n.sprite);  // rows 4..13, columns 0..9
  EXPECT_EQ(s.At(0, 13), 0) << "opaque drawing copies colour 0";
  EXPECT_TRUE(s.GuardsIntact());
}

TEST(DrawSprite, FarOutsideDrawsNothingAndWritesNothing) {
  GuardedScreen s;
  NumberedSprite n(33, 28);
  const int32_t places[][2] = {{-100, 50}, {800, 50},        {50, -100},
                               {50, 500},  {-2000000000, 0}, {2000000000, 2000000000}};
  for (auto& p : places) {
    DrawSprite(s.pixels(), p[0], p[1], n.sprite);
    DrawSpriteOpaque(s.pixels(), p[0], p[1], n.sprite);
    DrawSpriteScaled(s.pixels(), p[0], p[1], 300, 300, n.sprite);
    DrawSpriteDotted(s.pixels(), p[0], p[1], 500, 500, n.sprite);
  }
  EXPECT_EQ(s.CountNonZero(), 0);
  EXPECT_TRUE(s.GuardsIntact());
}

TEST(DrawSpriteScaled, AtFullSizeScaledAndDottedEqualDrawSprite) {
  GuardedScreen a, b, c;
  NumberedSprite n(33, 28);
  DrawSprite(a.pixels(), 100, 100, n.sprite);
  DrawSpriteScaled(b.pixels(), 100, 100, 100, 100, n.sprite);
  DrawSpriteDotted(c.pixels(), 100, 100, 100, 100, n.sprite);
  EXPECT_EQ(memcmp(a.pixels(), b.pixels(), kScreenBytes), 0);
  EXPECT_EQ(memcmp(a.pixels(), c.pixels(), kScreenBytes), 0);
}

TEST(DrawSpriteScaled, DoublesAndHalves) {
  GuardedScreen s;
  NumberedSprite n(10, 6);
  DrawSpriteScaled(s.pixels(), 100, 100, 200, 200, n.sprite);  // 20 x 12 from (90, 94)
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(s.At(90 + x, 94 + y), n.data[(y / 2) * 10 + x / 2]);
  EXPECT_EQ(s.CountNonZero(), 240);

  GuardedScreen h;
  DrawSpriteScaled(h.pixels(), 100, 100, 50, 50, n.sprite);  // 5 x 3 from (98, 99)
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(h.At(98 + x, 99 + y), n.data[(2 * y) * 10 + 2 * x]);
  EXPECT_EQ(h.CountNonZero(), 15);
}

TEST(DrawSpriteScaled, ClippedLeftAndTopContinueTheSameSourceWalk) {
  // Drawn partly off the left/top edge, the visible part must equal the same drawing made fully
  // on screen and shifted: the clipping start fractions must match the unclipped walk.
  NumberedSprite n(37, 23);
  for (uint32_t scale : {37u, 50u, 73u, 100u, 150u, 200u, 333u}) {
    GuardedScreen clipped, whole;
    DrawSpriteScaled(clipped.pixels(), 3, 2, scale, scale, n.sprite);
    DrawSpriteScaled(whole.pixels(), 3 + 200, 2 + 150, scale, scale, n.sprite);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x)
        ASSERT_EQ(clipped.At(x, y), whole.At(x + 200, y + 150))
            << "scale " << scale << " at " << x << "," << y;
    GuardedScreen clippedDots, wholeDots;
    DrawSpriteDotted(clippedDots.pixels(), 3, 2, scale, scale, n.sprite);
    DrawSpriteDotted(wholeDots.pixels(), 3 + 200, 2 + 150, scale, scale, n.sprite);
    EXPECT_TRUE(clippedDots.GuardsIntact());
  }
}

TEST(DrawSpriteDotted, At200PercentLeavesGaps) {
  GuardedScreen d;
  NumberedSprite small(4, 3);
  DrawSpriteDotted(d.pixels(), 100, 100, 200, 200, small.sprite);  // 8 x 6 from (96, 97)
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const uint8_t expected = (x % 2 == 0 && y % 2 == 0) ? small.data[(y / 2) * 4 + x / 2] : 0;
      ASSERT_EQ(d.At(96 + x, 97 + y), expected) << x << "," << y;
    }
  EXPECT_EQ(d.CountNonZero(), 12) << "each source pixel exactly once";
}

TEST(DrawSpriteDotted, FiveHundredPercentIsASparseGridOfEveryPixel) {
  GuardedScreen d;
  NumberedSprite n(30, 20);
  DrawSpriteDotted(d.pixels(), 320, 200, 500, 500, n.sprite);
  EXPECT_EQ(d.CountNonZero(), 600);
  EXPECT_EQ(d.At(320 - 75, 200 - 50), n.data[0]);
  EXPECT_EQ(d.At(320 - 75 + 5, 200 - 50 + 5), n.data[1 * 30 + 1]);
}

TEST(DrawLine, VerticalLineSetsEveryPixel) {
  GuardedScreen s;
  DrawLine(s.pixels(), 100, 50, 100, 60, 9);
  for (int y = 50; y <= 60; ++y) EXPECT_EQ(s.At(100, y), 9);
  EXPECT_EQ(s.CountNonZero(), 11);
  GuardedScreen r;
  DrawLine(r.pixels(), 10, 60, 12, 50, 3);  // steep, drawn upwards: still 11 pixels
  EXPECT_EQ(r.CountNonZero(), 11);
  EXPECT_EQ(r.At(12, 50), 3);
  EXPECT_EQ(r.At(10, 60), 3);
  GuardedScreen f;
  DrawLine(f.pixels(), 5, 5, 25, 9, 4);  // flat lines are drawn too
  EXPECT_EQ(f.CountNonZero(), 21);
}

TEST(FillAndCopy, MoveWholeBuffers) {
  GuardedScreen a, b;
  FillWords(a.pixels(), kScreenWords, 0x83);
  EXPECT_EQ(a.At(0, 0), 0x83);
  EXPECT_EQ(a.At(639, 399), 0x83);
  CopyWords(a.pixels(), b.pixels(), kScreenWords);
  EXPECT_EQ(memcmp(a.pixels(), b.pixels(), kScreenBytes), 0);
  FillWords(a.pixels(), 0, 1);
  EXPECT_EQ(a.At(0, 0), 0x83);
  EXPECT_TRUE(a.GuardsIntact() && b.GuardsIntact());
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

TEST_F(TextTest, SpacingComesFromGlyphZero) {
  EXPECT_EQ(FontSpacing(0), 17);
  EXPECT_EQ(FontSpacing(1), 10);
  EXPECT_EQ(FontSpacing(2), 11);
  EXPECT_EQ(FontSpacing(3), 47);
  EXPECT_EQ(FontSpacing(4), 22);
}

TEST_F(TextTest, TwoLettersInFontZeroAreCentredOn312And329) {
  GuardedScreen s;
  DrawText(s.pixels(), "ab", 320, 100, 0);
  // Glyph centres 312 and 329: "a" spans 303..321, "b" 320..338 (drawn later, on top).
  EXPECT_EQ(s.At(303, 100), 1);
  EXPECT_EQ(s.At(319, 100), 1);
  EXPECT_EQ(s.At(320, 100), 2);
  EXPECT_EQ(s.At(338, 100), 2);
  EXPECT_EQ(s.At(339, 100), 0);
  EXPECT_EQ(s.At(302, 100), 0);
  EXPECT_EQ(s.At(310, 92), 1);  // 16 rows centred on y: 92..107
  EXPECT_EQ(s.At(310, 108), 0);
}

TEST_F(TextTest, UpperCaseSharesTheLowerCaseGlyphsAndSpacesStayEmpty) {
  GuardedScreen s;
  DrawText(s.pixels(), "A Z", 320, 100, 1);  // x0 = 320 - 20 = 300: centres 310, 320, 330
  EXPECT_EQ(s.At(310, 100), 1);
  EXPECT_EQ(s.At(330, 100), 26);
  EXPECT_EQ(s.At(320, 100), 0) << "the blank keeps its place but draws nothing";
  GuardedScreen t;
  DrawText(t.pixels(), "a~?", 320, 100, 1);
  EXPECT_EQ(t.At(320, 100), 0) << "a character without a glyph draws nothing";
  EXPECT_EQ(t.At(330, 100), 48);
}

TEST_F(TextTest, FontTwoDrawsTheOtherGlyphForEveryNonDigit) {
  GuardedScreen s;
  DrawText(s.pixels(), "12:34", 320, 100, 2);  // x0 = 320 - 33 = 287: centres 298..342
  EXPECT_EQ(s.At(298, 100), 2);
  EXPECT_EQ(s.At(320, 100), 11);  // glyph 10 in the middle
  EXPECT_EQ(s.At(342, 100), 5);
  GuardedScreen b;
  DrawText(b.pixels(), " ", 320, 100, 2);
  EXPECT_EQ(b.At(320, 100), 11) << "a blank draws the other glyph too";
}

TEST_F(TextTest, FontFourIsFontThreeAtHalfSize) {
  GuardedScreen s;
  DrawText(s.pixels(), "b", 320, 100, 4);  // x0 = 320 - 22 = 298; centre 320; 24 x 18
  EXPECT_EQ(s.At(320, 100), 2);
  EXPECT_EQ(s.CountNonZero(), 24 * 18);
}

TEST_F(TextTest, NumbersArePlainDecimal) {
  char buf[32];
  FormatNumber(buf, sizeof buf, 0);
  EXPECT_STREQ(buf, "0");
  FormatNumber(buf, sizeof buf, -42);
  EXPECT_STREQ(buf, "-42");
  FormatNumber(buf, sizeof buf, 9223372036854775807LL);
  EXPECT_STREQ(buf, "9223372036854775807");
}

TEST(FixedTextTest, WritersCutWhatDoesNotFit) {
  FixedText<5> t;
  t.Set("abcdefgh");
  EXPECT_EQ(t.length, 5u);
  char out[8];
  t.CopyTo(out);
  EXPECT_STREQ(out, "abcde");
  t.Set("");
  EXPECT_TRUE(t.Empty());
}
}  // namespace
