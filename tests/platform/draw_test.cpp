// Sprite placement, clipping, scaling, dotted grids, lines and text placement.
#include <gtest/gtest.h>

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
  const int32_t places[][2] = {{0, 0},     {639, 399}, {5, 9},           {320, 200},
                               {-16, 200}, {655, 413}, {-100, 50},       {800, 50},
                               {50, -100}, {50, 500},  {-2000000000, 0}, {2000000000, 2000000000}};
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

TEST(DrawSpriteScaled, FullSizeEqualsDrawSpriteAndDoublingAndHalvingPickWholePixels) {
  NumberedSprite n(10, 6);
  GuardedScreen a, b, c;
  DrawSprite(a.pixels(), 100, 100, n.sprite);
  DrawSpriteScaled(b.pixels(), 100, 100, 100, 100, n.sprite);
  DrawSpriteDotted(c.pixels(), 100, 100, 100, 100, n.sprite);
  EXPECT_EQ(a.bytes, b.bytes);
  EXPECT_EQ(a.bytes, c.bytes);
  const struct {
    uint32_t scale;
    int left, top, w, h;
    int step;  // source pixels per drawn pixel (negative: drawn pixels per source pixel)
  } cases[] = {{200, 90, 94, 20, 12, -2}, {50, 98, 99, 5, 3, 2}};
  for (const auto& c : cases) {
    GuardedScreen s;
    DrawSpriteScaled(s.pixels(), 100, 100, c.scale, c.scale, n.sprite);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) {
        const int sx = c.step > 0 ? x * c.step : x / -c.step,
                  sy = c.step > 0 ? y * c.step : y / -c.step;
        ASSERT_EQ(s.At(c.left + x, c.top + y), n.data[sy * 10 + sx]) << c.scale << "%";
      }
    EXPECT_EQ(s.CountNonZero(), c.w * c.h);
  }
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

TEST(DrawSpriteDotted, EverySourcePixelBecomesOneDotOnAGridOfTheScale) {
  const struct {
    int w, h, x, y, scale, left, top, gap;
  } cases[] = {{4, 3, 100, 100, 200, 96, 97, 2}, {30, 20, 320, 200, 500, 245, 150, 5}};
  for (const auto& c : cases) {
    GuardedScreen d;
    NumberedSprite n(c.w, c.h);
    DrawSpriteDotted(d.pixels(), c.x, c.y, c.scale, c.scale, n.sprite);
    EXPECT_EQ(d.CountNonZero(), c.w * c.h) << c.scale << "%";
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        ASSERT_EQ(d.At(c.left + c.gap * x, c.top + c.gap * y), n.data[y * c.w + x]) << c.scale;
  }
}

TEST(DrawLine, EveryPixelOfSteepAndFlatLinesInEitherDirection) {
  const struct {
    int x1, y1, x2, y2, pixels;
  } cases[] = {{100, 50, 100, 60, 11}, {10, 60, 12, 50, 11}, {5, 5, 25, 9, 21}};
  for (const auto& c : cases) {
    GuardedScreen s;
    DrawLine(s.pixels(), c.x1, c.y1, c.x2, c.y2, 9);
    EXPECT_EQ(s.CountNonZero(), c.pixels) << c.x1 << "," << c.y1;
    EXPECT_EQ(s.At(c.x1, c.y1), 9);
    EXPECT_EQ(s.At(c.x2, c.y2), 9);
  }
}

TEST(FillAndCopy, MoveWholeBuffers) {
  GuardedScreen a, b;
  FillWords(a.pixels(), kScreenWords, 0x83);
  CopyWords(a.pixels(), b.pixels(), kScreenWords);
  EXPECT_EQ(b.At(0, 0), 0x83);
  EXPECT_EQ(b.At(639, 399), 0x83);
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

TEST_F(TextTest, GlyphsSitAtTheirSpacingCentredOnThePoint) {
  const int spacing[] = {17, 10, 11, 47, 22};  // from glyph 0's width; font 4 is font 3 halved
  for (int f = 0; f < 5; ++f) EXPECT_EQ(FontSpacing(f), spacing[f]) << "font " << f;
  const struct {
    const char* text;
    int font;
    std::vector<std::tuple<int, int, int>> pixels;  // x, y, glyph index + 1 (0: nothing)
  } cases[] = {
      // Centres 312 and 329: "a" spans 303..321, "b" 320..338 (drawn later, on top).
      {"ab",
       0,
       {{302, 100, 0},
        {303, 100, 1},
        {319, 100, 1},
        {320, 100, 2},
        {338, 100, 2},
        {339, 100, 0},
        {310, 92, 1},
        {310, 108, 0}}},
      // Upper case shares the lower-case glyphs; a blank or a character without a glyph draws
      // nothing but keeps its place.
      {"A Z", 1, {{310, 100, 1}, {320, 100, 0}, {330, 100, 26}}},
      {"a~?", 1, {{320, 100, 0}, {330, 100, 48}}},
      // Font 2 draws its other glyph (10) for everything that is not a digit, blanks included.
      {"12:34", 2, {{298, 100, 2}, {320, 100, 11}, {342, 100, 5}}},
      {" ", 2, {{320, 100, 11}}},
  };
  for (const auto& c : cases) {
    GuardedScreen s;
    DrawText(s.pixels(), c.text, 320, 100, c.font);
    for (const auto& [x, y, value] : c.pixels)
      EXPECT_EQ(s.At(x, y), value) << "\"" << c.text << "\" at " << x << "," << y;
  }
  GuardedScreen half;
  DrawText(half.pixels(), "b", 320, 100, 4);
  EXPECT_EQ(half.At(320, 100), 2);
  EXPECT_EQ(half.CountNonZero(), 24 * 18) << "font 4: font 3 at half size";
}

TEST(TextHelpers, NumbersArePlainDecimalAndFixedTextsCutWhatDoesNotFit) {
  char buf[32];
  for (const auto& [number, text] : std::vector<std::pair<int64_t, const char*>>{
           {0, "0"}, {-42, "-42"}, {9223372036854775807LL, "9223372036854775807"}}) {
    FormatNumber(buf, sizeof buf, number);
    EXPECT_STREQ(buf, text);
  }
  FixedText<5> t;
  t.Set("abcdefgh");
  t.CopyTo(buf);
  EXPECT_STREQ(buf, "abcde");
  t.Set("");
  EXPECT_TRUE(t.Empty());
}
}  // namespace
