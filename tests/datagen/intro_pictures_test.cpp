// The intro and farewell pictures, and the drawing kit they are made with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "intro_pictures_kit.h"
#include "parts.h"

// Fontconfig, which Cairo's text uses, keeps its configuration for the life of the program and
// the leak checker of the sanitizer build reports it; that is not ours to free.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

// Distinct indices and the share of the commonest one in rows top..bottom-1.
std::pair<int, double> IndexSpread(const IndexedImage& image, int top, int bottom) {
  int counts[256] = {};
  for (int i = top * image.width; i < bottom * image.width; ++i) ++counts[image.pixels[i]];
  return {256 - static_cast<int>(std::count(counts, counts + 256, 0)),
          *std::max_element(counts, counts + 256) / double(image.width * (bottom - top))};
}

// Byte k (0 blue, 1 green, 2 red, 3 alpha) of pixel (x, y) of a canvas.
int Channel(const Canvas& canvas, int x, int y, int k) {
  cairo_surface_flush(canvas.surface());
  return cairo_image_surface_get_data(
      canvas.surface())[y * cairo_image_surface_get_stride(canvas.surface()) + 4 * x + k];
}

void FillRect(const Canvas& canvas, double r, double g, double b, int x, int y, int w, int h) {
  cairo_set_source_rgb(canvas.cr(), r, g, b);
  cairo_rectangle(canvas.cr(), x, y, w, h);
  cairo_fill(canvas.cr());
}

}  // namespace

TEST(IntroPictures, RichPalettesOnBlackWithTheirMarginsAndStrips) {
  const PaletteImage pictures[] = {DrawTitlePicture(), DrawStripPicture(0), DrawStripPicture(1),
                                   DrawClosingPicture(), DrawExitPicture()};
  for (const PaletteImage& p : pictures) {
    SCOPED_TRACE(&p - pictures);
    EXPECT_EQ(p.palette.rgb[0] | p.palette.rgb[1] | p.palette.rgb[2], 0);
    const auto [distinct, commonest] = IndexSpread(p.image, 0, p.image.height);
    EXPECT_TRUE(distinct > 150 && commonest < 0.5);  // the fitted palette is used, and widely
    // Each of the four strips the intro slides in of a full-screen picture has content.
    for (int top = 0; p.image.height == 400 && top < 400; top += 100) {
      const auto [stripDistinct, stripCommonest] = IndexSpread(p.image, top, top + 100);
      EXPECT_TRUE(stripDistinct > 80 && stripCommonest < 0.4) << "strip at " << top;
    }
  }
  // The title on black with a margin, the logo filling its middle; the poster's card's corners.
  const IndexedImage& title = pictures[0].image;
  for (int y = 0; y < title.height; ++y)
    for (int x = 0; x < title.width; ++x)
      ASSERT_TRUE(title.At(x, y) == 0 ||
                  (x >= 4 && y >= 4 && x < title.width - 4 && y < title.height - 4))
          << x << "," << y;
  EXPECT_LT(IndexSpread(title, 40, 110).second, 0.5);
  const IndexedImage& poster = pictures[3].image;
  for (int x : {0, poster.width - 1})
    for (int y : {0, poster.height - 1}) EXPECT_EQ(poster.At(x, y), 0) << x << "," << y;
  EXPECT_LT(IndexSpread(poster, 50, 250).second, 0.25);
}

// A fitted palette holds a few flat colours exactly; a smooth gradient of far more colours keeps
// them through the dither: each 8 x 8 block averages out to the true colours, without drift.
TEST(IntroPicturesKit, PaletteAndDitherKeepThePicturesColours) {
  Canvas flat(256, 8), ramp(128, 128);
  const uint8_t colours[][3] = {{255, 0, 0},   {0, 200, 0},  {10, 20, 250},  {255, 255, 255},
                                {128, 64, 32}, {40, 40, 48}, {250, 240, 10}, {90, 0, 90}};
  for (int i = 0; i < 8; ++i)
    FillRect(flat, colours[i][0] / 255.0, colours[i][1] / 255.0, colours[i][2] / 255.0, 32 * i, 0,
             32, 8);
  const PaletteImage fitted = QuantizeOwnPalette(flat);
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(memcmp(fitted.palette.rgb + 3 * fitted.image.At(32 * i + 9, 3), colours[i], 3), 0);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) FillRect(ramp, 0.2 + x / 200.0, 0.1 + y / 160.0, 0.5, x, y, 1, 1);
  const PaletteImage dithered = QuantizeOwnPalette(ramp);
  double noise = 0, drift = 0;  // the mean error of the blocks' colours, without and with sign
  for (int b = 0; b < 256; ++b)
    for (int k = 0; k < 3; ++k) {
      double error = 0;
      for (int i = 0; i < 64; ++i) {
        const int x = b % 16 * 8 + i % 8, y = b / 16 * 8 + i / 8;
        error += dithered.palette.rgb[3 * dithered.image.At(x, y) + k] - Channel(ramp, x, y, 2 - k);
      }
      noise += std::fabs(error) / (64 * 768), drift += error / (64 * 768);
    }
  EXPECT_TRUE(noise < 0.4 && std::fabs(drift) < 0.15) << noise << " " << drift;
}

TEST(IntroPicturesKit, LetteringIsCentredAndItsBoxesStandOnItsLetters) {
  Canvas canvas(400, 100);
  LetterStyle style;
  style.size = 50;
  style.shadowOffset = style.shadowBlur = 0;
  DrawLettering(canvas.cr(), "PLONK", 200, 70, style);
  double centreX[8], top[8], bottom[8];
  ASSERT_EQ(LetteringBoxes(canvas.cr(), "PLONK", 200, 70, style, centreX, top, bottom, 8), 5);
  int left = 400, right = -1;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 400; ++x)
      if (Channel(canvas, x, y, 3) > 0) left = std::min(left, x), right = std::max(right, x);
  EXPECT_NEAR((left + right) / 2.0, 200, 4);
  // Each box stands on the baseline, a capital's height high, over ink, right of the one before.
  for (int i = 0; i < 5; ++i)
    EXPECT_TRUE(centreX[i] > (i > 0 ? centreX[i - 1] + 20 : 0) && std::fabs(bottom[i] - 70) <= 2 &&
                std::fabs(top[i] - (70 - 0.73 * style.size)) <= 3 &&
                Channel(canvas, static_cast<int>(centreX[i]), static_cast<int>(top[i] + 2), 3) > 0)
        << i;
}
