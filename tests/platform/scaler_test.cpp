// The picture on an output of any size: where it goes, whole multiples, the smooth step down,
// new colours, and converting only what changed.
#include "scaler.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {
// Every channel of every entry differs from its neighbours'.
uint32_t Colour(int i, int shift = 0) {
  i = (i + shift) & 0xFF;
  return 0xFF000000u | i << 16 | (255 - i) << 8 | ((i * 7) & 0xFF);
}

struct Output {
  int w, h;
  std::vector<uint32_t> pixels;
  PictureScaler scaler;
  Output(int width, int height, int shift = 0) : w(width), h(height), pixels(w * h, 0x5A5A5A5A) {
    scaler.SetOutput(reinterpret_cast<uint8_t*>(pixels.data()), w * 4, w, h);
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = Colour(i, shift);
    scaler.SetColours(colours);
  }
  uint32_t At(int x, int y) const { return pixels[y * w + x]; }
};

std::vector<uint8_t> RandomPicture(unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> picture(kScreenBytes);
  for (uint8_t& p : picture) p = static_cast<uint8_t>(random());
  return picture;
}

TEST(ScalerTest, ThePictureTakesTheLargestCentred16By10Rectangle) {
  const struct {
    int w, h;
    PixelRect fit;
    int whole, upscale;
  } cases[] = {
      {640, 400, {0, 0, 640, 400}, 1, 1},       {1280, 800, {0, 0, 1280, 800}, 2, 2},
      {1600, 1000, {0, 0, 1600, 1000}, 2, 3},   {1000, 700, {0, 37, 1000, 625}, 1, 2},
      {1500, 600, {270, 0, 960, 600}, 1, 2},    {1920, 1080, {96, 0, 1728, 1080}, 2, 3},
      {3840, 2160, {192, 0, 3456, 2160}, 5, 6}, {300, 100, {70, 0, 160, 100}, 1, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitPicture(c.w, c.h), c.fit) << c.w << " x " << c.h;
    EXPECT_EQ(WholeScaleFitting(c.w, c.h), c.whole) << c.w << " x " << c.h;
    EXPECT_EQ(UpscaleFor(c.fit), c.upscale) << c.w << " x " << c.h;
  }
}

TEST(ScalerTest, AWholeMultipleRepeatsEveryPixelBetweenBlackBars) {
  Output out(1400, 800);  // 2x, bars of 60 pixels left and right
  const auto picture = RandomPicture(1);
  const std::vector<PixelRect> whole{PixelRect{0, 0, 1400, 800}};
  EXPECT_EQ(out.scaler.Show(picture.data()), whole);
  for (int y = 0; y < 800; ++y)
    for (int x = 0; x < 1400; ++x) {
      const bool bar = x < 60 || x >= 1340;
      ASSERT_EQ(out.At(x, y), bar ? 0 : Colour(picture[(y / 2) * 640 + (x - 60) / 2]))
          << x << "," << y;
    }
}

TEST(ScalerTest, OnlyWhatChangedIsConvertedAndItMatchesAWholeConversion) {
  auto before = RandomPicture(2), after = before;
  after[0] ^= 1;
  after[kScreenBytes - 1] ^= 1;
  for (int y = 100; y < 120; ++y)
    for (int x = 30; x < 41; ++x) after[y * 640 + x] ^= 0x55;
  for (int x = 0; x < 640; ++x) after[200 * 640 + x] ^= 0x0F;
  const int sizes[][2] = {{640, 400}, {1920, 1200}, {1000, 700}, {1600, 1000}, {500, 400}, {1, 1}};
  for (const auto& size : sizes) {
    Output changed(size[0], size[1]), whole(size[0], size[1]);
    changed.scaler.Show(before.data());
    const auto shown = changed.pixels;
    const auto rects = changed.scaler.Show(after.data());
    whole.scaler.Show(after.data());
    ASSERT_EQ(changed.pixels, whole.pixels) << size[0] << " x " << size[1];
    for (int i = 0; i < changed.w * changed.h; ++i) {
      if (changed.pixels[i] == shown[i]) continue;
      const int x = i % changed.w, y = i / changed.w;
      bool sent = false;
      for (const PixelRect& r : rects)
        sent |= x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
      ASSERT_TRUE(sent) << "(" << x << ", " << y << ") changed outside the rectangles sent, "
                        << size[0] << " x " << size[1];
    }
    EXPECT_TRUE(changed.scaler.Show(after.data()).empty()) << "nothing changed";
  }
}

TEST(ScalerTest, TheSmoothStepBlendsOnlyWhereAnUpscaledPixelIsCutAcross) {
  // 1000 x 625: upscaled 2x, then down to 78 %. Only output pixel 3 reads across the edge after
  // source pixel 1: 98 % of the way into the upscaled pixel that follows it.
  for (const bool across : {true, false}) {
    Output out(1000, 700);
    std::vector<uint8_t> picture(kScreenBytes);
    for (int i = 0; i < kScreenBytes; ++i) {
      picture[i] = (across ? i % 640 : i / 640) < 2 ? 1 : 2;
    }
    out.scaler.Show(picture.data());
    const uint32_t a = Colour(1), b = Colour(2);
    for (int line = 0; line < 625; line += 31) {
      int blended = 0;
      for (int i = 0; i < (across ? 1000 : 625); ++i) {
        const uint32_t c = across ? out.At(i, 37 + line) : out.At(line, 37 + i);
        if (c == a || c == b) continue;
        ++blended;
        EXPECT_EQ(i, 3) << (across ? "row " : "column ") << line;
        for (int shift : {0, 8, 16, 24}) {  // 250/256 of the way from a to b
          const int from = (a >> shift) & 0xFF, to = (b >> shift) & 0xFF;
          EXPECT_EQ(static_cast<int>((c >> shift) & 0xFF), (from * 6 + to * 250) >> 8);
        }
      }
      EXPECT_EQ(blended, 1) << (across ? "row " : "column ") << line;
    }
  }
}

TEST(ScalerTest, NewColoursRedrawTheLastPictureWhole) {
  Output out(1280, 800), recoloured(1280, 800, 77);
  const auto picture = RandomPicture(3);
  out.scaler.Show(picture.data());
  recoloured.scaler.Show(picture.data());
  uint32_t colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = Colour(i, 77);
  out.scaler.SetColours(colours);
  const std::vector<PixelRect> whole{PixelRect{0, 0, 1280, 800}};
  EXPECT_EQ(out.scaler.Redraw(), whole);
  EXPECT_EQ(out.pixels, recoloured.pixels);
  EXPECT_TRUE(out.scaler.Show(picture.data()).empty());
}
}  // namespace
