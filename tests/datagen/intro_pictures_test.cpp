// The intro and farewell pictures, and the drawing kit they are made with.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "intro_pictures_kit.h"
#include "parts.h"

// Fontconfig, which Cairo's text uses, keeps its configuration for the life of the program and
// the leak checker of the sanitizer build reports it; that is not ours to free.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

const struct {
  const char* name;
  PaletteImage (*draw)();
} kPictures[] = {{"p18", DrawTitlePicture},
                 {"p19", [] { return DrawStripPicture(0); }},
                 {"p20", [] { return DrawStripPicture(1); }},
                 {"p21", DrawClosingPicture},
                 {"p17", DrawExitPicture}};

// Each picture is drawn at most once per test program, when a test first needs it.
const PaletteImage& Picture(size_t which) {
  static std::optional<PaletteImage> drawn[std::size(kPictures)];
  if (!drawn[which]) drawn[which] = kPictures[which].draw();
  return *drawn[which];
}

int DistinctIndices(const IndexedImage& image, int top, int bottom) {
  bool seen[256] = {};
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < image.width; ++x) seen[image.At(x, y)] = true;
  return static_cast<int>(std::count(seen, seen + 256, true));
}

// The share of pixels taken by the most common index in rows top..bottom-1.
double CommonestShare(const IndexedImage& image, int top, int bottom) {
  int counts[256] = {};
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < image.width; ++x) ++counts[image.At(x, y)];
  return static_cast<double>(*std::max_element(counts, counts + 256)) /
         (image.width * (bottom - top));
}

// Byte k (0 blue, 1 green, 2 red, 3 alpha) of pixel (x, y) of an ARGB32 surface.
int Channel(cairo_surface_t* surface, int x, int y, int k) {
  cairo_surface_flush(surface);
  return cairo_image_surface_get_data(
      surface)[y * cairo_image_surface_get_stride(surface) + 4 * x + k];
}

// The bounding box of the pixels whose alpha is above a threshold.
struct Box {
  int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
};
Box InkBox(const Canvas& canvas, int alphaAbove) {
  Box box;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x)
      if (Channel(canvas.surface(), x, y, 3) > alphaAbove) {
        box = {std::min(box.left, x), std::max(box.right, x), std::min(box.top, y),
               std::max(box.bottom, y)};
      }
  return box;
}

void FillRect(const Canvas& canvas, double r, double g, double b, int x, int y, int w, int h) {
  cairo_set_source_rgb(canvas.cr(), r, g, b);
  cairo_rectangle(canvas.cr(), x, y, w, h);
  cairo_fill(canvas.cr());
}

// Paints the whole canvas with a left-to-right ramp through stops of {offset, r, g, b}.
void PaintRamp(const Canvas& canvas, std::initializer_list<std::array<double, 4>> stops) {
  cairo_pattern_t* ramp = cairo_pattern_create_linear(0, 0, canvas.width(), 0);
  for (const auto& s : stops) cairo_pattern_add_color_stop_rgb(ramp, s[0], s[1], s[2], s[3]);
  cairo_set_source(canvas.cr(), ramp);
  cairo_paint(canvas.cr());
  cairo_pattern_destroy(ramp);
}

TEST(IntroPictures, EachHasABlackIndexZeroAndARichPalette) {
  for (size_t i = 0; i < std::size(kPictures); ++i) {
    SCOPED_TRACE(kPictures[i].name);
    const PaletteImage& p = Picture(i);
    EXPECT_EQ(p.palette.rgb[0] | p.palette.rgb[1] | p.palette.rgb[2], 0);
    EXPECT_GT(DistinctIndices(p.image, 0, p.image.height), 150);
    // The fitted palette is used, not only its first entries.
    EXPECT_LT(CommonestShare(p.image, 0, p.image.height), 0.5);
  }
  // Each of the four strips the intro slides in on its own has content.
  for (int which = 1; which <= 2; ++which)
    for (int top = 0; top < 400; top += 100) {
      SCOPED_TRACE(testing::Message() << kPictures[which].name << " strip at " << top);
      EXPECT_GT(DistinctIndices(Picture(which).image, top, top + 100), 80);
      EXPECT_LT(CommonestShare(Picture(which).image, top, top + 100), 0.4);
    }
}

TEST(IntroPictures, TitleAndClosingPosterSitOnBlack) {
  const IndexedImage& title = Picture(0).image;
  constexpr int kMargin = 4;
  int stray = 0;
  for (int y = 0; y < title.height; ++y)
    for (int x = 0; x < title.width; ++x)
      stray += (x < kMargin || y < kMargin || x >= title.width - kMargin ||
                y >= title.height - kMargin) &&
               title.At(x, y) != 0;
  EXPECT_EQ(stray, 0);
  EXPECT_LT(CommonestShare(title, 40, 110), 0.5);  // the logo itself fills the middle
  // The rounded card of the poster leaves black corners; its middle is painted.
  const IndexedImage& poster = Picture(3).image;
  for (int x : {0, poster.width - 1})
    for (int y : {0, poster.height - 1}) EXPECT_EQ(poster.At(x, y), 0) << x << "," << y;
  EXPECT_LT(CommonestShare(poster, 50, 250), 0.25);
}

TEST(IntroPictures, StripPicturesAndFarewellAreDifferentScenesDrawnTheSameEveryTime) {
  auto differingShare = [](const PaletteImage& x, const PaletteImage& y) {
    int differing = 0;
    for (size_t i = 0; i < x.image.pixels.size(); ++i) {
      const uint8_t* cx = x.palette.rgb + 3 * x.image.pixels[i];
      const uint8_t* cy = y.palette.rgb + 3 * y.image.pixels[i];
      differing += std::abs(cx[0] - cy[0]) + std::abs(cx[1] - cy[1]) + std::abs(cx[2] - cy[2]) > 60;
    }
    return static_cast<double>(differing) / x.image.pixels.size();
  };
  EXPECT_GT(differingShare(Picture(1), Picture(2)), 0.5);
  EXPECT_GT(differingShare(Picture(1), Picture(4)), 0.5);
  EXPECT_GT(differingShare(Picture(2), Picture(4)), 0.5);
  // Drawing again gives the same picture: the data set does not change from build to build.
  const PaletteImage again = DrawStripPicture(1);
  EXPECT_TRUE(again.image.pixels == Picture(2).image.pixels);
  EXPECT_EQ(memcmp(again.palette.rgb, Picture(2).palette.rgb, sizeof again.palette.rgb), 0);
}

// The fitted palette holds each of a few colours exactly; with many more colours than entries,
// all 255 entries are used, each a different colour.
TEST(IntroPicturesKit, FittedPaletteHoldsFewColoursExactlyAndSpreadsOverMany) {
  Canvas few(64, 48);
  const uint8_t colours[][3] = {{255, 0, 0},   {0, 200, 0},  {10, 20, 250},  {255, 255, 255},
                                {128, 64, 32}, {40, 40, 48}, {250, 240, 10}, {90, 0, 90}};
  for (int i = 0; i < 8; ++i)
    FillRect(few, colours[i][0] / 255.0, colours[i][1] / 255.0, colours[i][2] / 255.0, 8 * i, 0, 8,
             40);
  FillRect(few, 0, 0, 0, 0, 40, 64, 8);
  const PaletteImage result = QuantizeOwnPalette(few);
  for (int i = 0; i < 8; ++i)
    for (int y : {0, 20, 39})
      EXPECT_EQ(memcmp(result.palette.rgb + 3 * result.image.At(8 * i + 3, y), colours[i], 3), 0)
          << "colour " << i;
  for (int x = 0; x < 64; ++x) EXPECT_EQ(result.image.At(x, 44), 0);

  Canvas many(200, 100);
  for (int x = 0; x < 200; x += 4)
    for (int y = 0; y < 100; y += 4)
      FillRect(many, x / 200.0, y / 100.0, ((x + y) % 50) / 50.0, x, y, 4, 4);
  const PaletteImage spread = QuantizeOwnPalette(many);
  std::vector<uint32_t> entries;
  for (int i = 1; i < 256; ++i) {
    const uint8_t* c = spread.palette.rgb + 3 * i;
    entries.push_back((c[0] << 16) | (c[1] << 8) | c[2]);
  }
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(std::unique(entries.begin(), entries.end()), entries.end());
  EXPECT_GE(DistinctIndices(spread.image, 0, 100), 250);
}

// A smooth two-hue gradient keeps close to its true colours, on average and at worst.
TEST(IntroPicturesKit, GradientsStayCloseToTheirColours) {
  Canvas canvas(256, 64);
  PaintRamp(canvas, {{0, 0.1, 0.2, 0.9}, {0.5, 1, 1, 1}, {1, 0.95, 0.4, 0.05}});
  const PaletteImage result = QuantizeOwnPalette(canvas);
  double total = 0;
  int worst = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 256; ++x) {
      const uint8_t* c = result.palette.rgb + 3 * result.image.At(x, y);
      for (int k = 0; k < 3; ++k) {
        const int d = std::abs(Channel(canvas.surface(), x, y, 2 - k) - c[k]);
        total += d;
        worst = std::max(worst, d);
      }
    }
  EXPECT_LT(total / (256 * 64 * 3), 3.0);
  EXPECT_LE(worst, 12);
}

// The dither moves single pixels, not the average: over each 8 x 8 block of a smooth ramp the
// mapped colours average out to the true ones.
TEST(IntroPicturesKit, DitherKeepsTheAverageColour) {
  Canvas canvas(256, 16);
  PaintRamp(canvas,
            {{0, 100 / 255.0, 60 / 255.0, 140 / 255.0}, {1, 130 / 255.0, 90 / 255.0, 170 / 255.0}});
  // A coarse palette along the ramp, one entry every 8 levels: only the dither can give the
  // levels in between.
  constexpr int kStep = 8;
  PaletteData palette;
  for (int k = 0; k < 8; ++k)
    palette.Set(1 + k, static_cast<uint8_t>(92 + kStep * k), static_cast<uint8_t>(52 + kStep * k),
                static_cast<uint8_t>(132 + kStep * k));
  const IndexedImage image = QuantizeDithered(canvas, PaletteMapper(palette, 0, 255), kStep);
  for (int bx = 0; bx < 256; bx += 8) {
    double source = 0, mapped = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = bx; x < bx + 8; ++x) {
        source += Channel(canvas.surface(), x, y, 0);  // blue
        mapped += palette.rgb[3 * image.At(x, y) + 2];
      }
    EXPECT_NEAR(mapped / 64, source / 64, 1.5) << "block at " << bx;
  }
  EXPECT_GT(DistinctIndices(image, 0, 16), 1);
}

TEST(IntroPicturesKit, BlurSpreadsEvenlyAndStaysNearTheSource) {
  Canvas whole(41, 41), part(41, 41);
  FillRect(whole, 1, 1, 1, 18, 18, 5, 5);
  FillRect(part, 1, 1, 1, 18, 18, 5, 5);
  constexpr int kRadius = 2, kReach = 3 * kRadius;  // three box passes
  BlurSurface(whole.surface(), kRadius);
  auto alpha = [&](int x, int y) { return Channel(whole.surface(), x, y, 3); };
  long sum = 0;
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x) {
      sum += alpha(x, y);
      if (x < 18 - kReach || x > 22 + kReach || y < 18 - kReach || y > 22 + kReach) {
        EXPECT_EQ(alpha(x, y), 0) << x << "," << y;
      }
    }
  // Symmetric about the centre, brightest there, and (up to rounding) no light lost.
  EXPECT_EQ(alpha(17, 20), alpha(23, 20));
  EXPECT_EQ(alpha(20, 15), alpha(20, 25));
  EXPECT_GT(alpha(20, 20), alpha(20, 16));
  EXPECT_GT(alpha(20, 16), 0);
  EXPECT_NEAR(static_cast<double>(sum), 25.0 * 255, 25.0 * 255 * 0.1);
  // Blurring only a rectangle around the square gives the very same pixels.
  BlurSurfaceRect(part.surface(), kRadius, 9, 7, 24, 26);
  cairo_surface_flush(part.surface());
  EXPECT_EQ(memcmp(cairo_image_surface_get_data(part.surface()),
                   cairo_image_surface_get_data(whole.surface()),
                   41 * static_cast<size_t>(cairo_image_surface_get_stride(whole.surface()))),
            0);
}

TEST(IntroPicturesKit, BeansFillTheirBoxAndLinkedBeansJoinIntoOneBlob) {
  BeanLook look;
  look.shadow = false;
  look.colour = kBeanBlue;
  Canvas single(100, 100);
  DrawBean(single.cr(), 40, 55, 50, 40, look);
  // 50 x 40 plus about a pixel of outline on every side.
  const Box box = InkBox(single, 128);
  EXPECT_NEAR(box.left, 15, 2);
  EXPECT_NEAR(box.right, 65, 2);
  EXPECT_NEAR(box.top, 35, 2);
  EXPECT_NEAR(box.bottom, 75, 2);
  // Two white eyes either side of the middle, above the centre line.
  for (int eyeLeft : {28, 42}) {
    bool eye = false;
    for (int y = 45; y <= 56; ++y)
      for (int x = eyeLeft; x <= eyeLeft + 10; ++x)
        eye |= std::min({Channel(single.surface(), x, y, 0), Channel(single.surface(), x, y, 1),
                         Channel(single.surface(), x, y, 2)}) > 200;
    EXPECT_TRUE(eye) << "eye at " << eyeLeft;
  }

  Canvas linked(120, 60);
  const double xs[] = {30, 90}, ys[] = {30, 30};
  look.colour = kBeanGreen;
  DrawLinkedBeans(linked.cr(), xs, ys, 2, 40, 36, look);
  // Between the two beans (which stand 20 pixels apart) the blob is solid body colour.
  for (int x = 50; x <= 70; ++x)
    for (int y = 24; y <= 36; ++y) {
      EXPECT_EQ(Channel(linked.surface(), x, y, 3), 255) << x << "," << y;
      EXPECT_GT(Channel(linked.surface(), x, y, 1), Channel(linked.surface(), x, y, 2) + 40)
          << x << "," << y;  // green, not outline or background
    }
  EXPECT_EQ(Channel(linked.surface(), 60, 2, 3), 0);  // outside the beans nothing is painted
}

TEST(IntroPicturesKit, LetteringIsCentredAndLetterBoxesMatchTheInk) {
  Canvas canvas(400, 100);
  LetterStyle style;
  style.size = 50;
  style.shadowOffset = 0;
  style.shadowBlur = 0;
  DrawLettering(canvas.cr(), "PLONK", 200, 70, style);
  double centreX[8], top[8], bottom[8];
  ASSERT_EQ(LetteringBoxes(canvas.cr(), "PLONK", 200, 70, style, centreX, top, bottom, 8), 5);
  const Box ink = InkBox(canvas, 0);
  ASSERT_GE(ink.right, 0);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 200, 4);
  for (int i = 0; i < 5; ++i) {
    if (i > 0) {
      EXPECT_GT(centreX[i], centreX[i - 1] + 20);
    }
    EXPECT_NEAR(bottom[i], 70, 2);  // capitals stand on the baseline
    EXPECT_NEAR(top[i], 70 - 0.73 * style.size, 3);
    EXPECT_GT(
        Channel(canvas.surface(), static_cast<int>(centreX[i]), static_cast<int>(top[i] + 2), 3), 0)
        << i;
  }
}

}  // namespace
