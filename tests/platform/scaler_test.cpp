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
    Recolour(shift);
  }
  void Recolour(int shift) {
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = Colour(i, shift);
    scaler.SetColours(colours);
  }
  uint32_t At(int x, int y) const { return pixels[y * w + x]; }
};

std::vector<uint8_t> RandomPicture() {
  std::mt19937 random(7);
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
      {1001, 400, {180, 0, 640, 400}, 1, 1},    {1281, 801, {0, 0, 1281, 800}, 2, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitPicture(c.w, c.h), c.fit) << c.w << " x " << c.h;
    EXPECT_EQ(WholeScaleFitting(c.w, c.h), c.whole) << c.w << " x " << c.h;
    EXPECT_EQ(UpscaleFor(c.fit), c.upscale) << c.w << " x " << c.h;
  }
}

TEST(ScalerTest, AWholeMultipleRepeatsEveryPixelBetweenBlackBars) {
  Output out(1400, 800);  // 2x, bars of 60 pixels left and right
  const auto picture = RandomPicture();
  const std::vector<PixelRect> whole{{0, 0, 1400, 800}};
  EXPECT_EQ(out.scaler.Show(picture.data()), whole);
  for (int y = 0; y < 800; ++y)
    for (int x = 0; x < 1400; ++x)
      ASSERT_EQ(out.At(x, y), x < 60 || x >= 1340 ? 0 : Colour(picture[y / 2 * 640 + (x - 60) / 2]))
          << x << "," << y;
}

TEST(ScalerTest, TheSmoothStepBlendsOnlyWhereAnUpscaledPixelIsCutAcross) {
  // 1000 x 625: upscaled 2x, then down to 78 %. Only output pixel 3 reads across the edge after
  // source pixel 1, 250/256 of the way into the upscaled pixel that follows it.
  for (const bool across : {true, false}) {
    Output out(1000, 700);
    std::vector<uint8_t> picture(kScreenBytes);
    for (int i = 0; i < kScreenBytes; ++i) picture[i] = (across ? i % 640 : i / 640) < 2 ? 1 : 2;
    out.scaler.Show(picture.data());
    for (int i = 0; i < 600; ++i) {
      const uint32_t c = across ? out.At(i, 37 + 300) : out.At(300, 37 + i);
      uint32_t expected = Colour(i < 3 ? 1 : 2);
      for (int shift = 0; i == 3 && shift < 32; shift += 8)
        expected =
            (expected & ~(0xFFu << shift)) |
            ((((Colour(1) >> shift & 0xFF) * 6 + (Colour(2) >> shift & 0xFF) * 250) >> 8) << shift);
      ASSERT_EQ(c, expected) << (across ? "column " : "row ") << i;
    }
  }
}

TEST(ScalerTest, OnlyWhatChangedIsConvertedSentAndRight) {
  auto before = RandomPicture(), after = before;
  after[0] ^= 1;
  after[kScreenBytes - 1] ^= 1;
  for (int y = 100; y < 120; ++y)
    for (int x = 30; x < 41; ++x) after[y * 640 + x] ^= 0x55;
  for (int x = 0; x < 640; ++x) after[200 * 640 + x] ^= 0x0F;
  for (const auto& [w, h] : {std::pair{640, 400}, {1920, 1200}, {1000, 700}, {500, 400}, {1, 1}}) {
    Output changed(w, h), whole(w, h);
    changed.scaler.Show(before.data());
    const auto shown = changed.pixels;
    const auto rects = changed.scaler.Show(after.data());
    whole.scaler.Show(after.data());
    ASSERT_EQ(changed.pixels, whole.pixels) << w << " x " << h;
    for (int i = 0; i < w * h; ++i) {
      bool sent = changed.pixels[i] == shown[i];
      for (const PixelRect& r : rects)
        sent |= i % w >= r.x && i % w < r.x + r.w && i / w >= r.y && i / w < r.y + r.h;
      ASSERT_TRUE(sent) << "(" << i % w << ", " << i / w << ") changed outside what was sent";
    }
    EXPECT_TRUE(changed.scaler.Show(after.data()).empty()) << "nothing changed";
    // New colours: the last picture again, whole.
    Output recoloured(w, h, 77);
    recoloured.scaler.Show(after.data());
    changed.Recolour(77);
    EXPECT_EQ(changed.scaler.Show(after.data()), (std::vector<PixelRect>{{0, 0, w, h}}));
    EXPECT_EQ(changed.pixels, recoloured.pixels) << w << " x " << h;
    EXPECT_EQ(changed.scaler.Redraw().size(), 1u) << "the last picture again, whole";
  }
}
}  // namespace
