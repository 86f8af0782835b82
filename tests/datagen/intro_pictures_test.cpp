// The intro and farewell pictures, and the drawing kit they are made with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "intro_pictures_kit.h"
#include "parts.h"
#include "platform.h"

// Fontconfig, which Cairo's text uses, keeps its configuration for the life of the program and
// the leak checker of the sanitizer build reports it; that is not ours to free.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

struct PictureCase {
  const char* name;
  PaletteImage (*draw)();
  int width, height;
};

PaletteImage DrawMeadow() {
  return DrawStripPicture(0);
}
PaletteImage DrawNight() {
  return DrawStripPicture(1);
}

const PictureCase kPictures[] = {
    {"p18", DrawTitlePicture, 430, 152}, {"p19", DrawMeadow, 640, 400},
    {"p20", DrawNight, 640, 400},        {"p21", DrawClosingPicture, 212, 307},
    {"p17", DrawExitPicture, 640, 400},
};

// Each picture is drawn at most once per test program, when a test first needs it.
const PaletteImage& Picture(size_t which) {
  static std::optional<PaletteImage> drawn[std::size(kPictures)];
  if (!drawn[which]) drawn[which] = kPictures[which].draw();
  return *drawn[which];
}

int DistinctIndices(const IndexedImage& image, int top, int bottom) {
  bool seen[256] = {};
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < image.width; ++x)
      if (!seen[image.At(x, y)]) {
        seen[image.At(x, y)] = true;
        ++count;
      }
  return count;
}

// The share of pixels taken by the most common index in rows top..bottom-1.
double CommonestShare(const IndexedImage& image, int top, int bottom) {
  int counts[256] = {};
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < image.width; ++x) ++counts[image.At(x, y)];
  return static_cast<double>(*std::max_element(counts, counts + 256)) /
         (image.width * (bottom - top));
}

TEST(IntroPictures, EachHasItsSizeABlackIndexZeroAndARichPalette) {
  for (size_t i = 0; i < std::size(kPictures); ++i) {
    SCOPED_TRACE(kPictures[i].name);
    const PaletteImage& p = Picture(i);
    EXPECT_EQ(p.image.width, kPictures[i].width);
    EXPECT_EQ(p.image.height, kPictures[i].height);
    ASSERT_EQ(p.image.pixels.size(), static_cast<size_t>(kPictures[i].width) * kPictures[i].height);
    EXPECT_EQ(p.palette.rgb[0], 0);
    EXPECT_EQ(p.palette.rgb[1], 0);
    EXPECT_EQ(p.palette.rgb[2], 0);
    EXPECT_GT(DistinctIndices(p.image, 0, p.image.height), 150);
    // The fitted palette is used, not only its first entries.
    EXPECT_LT(CommonestShare(p.image, 0, p.image.height), 0.5);
  }
}

TEST(IntroPictures, TitleSitsOnBlackWithACleanMargin) {
  const IndexedImage& title = Picture(0).image;
  constexpr int kMargin = 4;
  int stray = 0;
  for (int y = 0; y < title.height; ++y)
    for (int x = 0; x < title.width; ++x) {
      const bool margin =
          x < kMargin || y < kMargin || x >= title.width - kMargin || y >= title.height - kMargin;
      if (margin && title.At(x, y) != 0) ++stray;
    }
  EXPECT_EQ(stray, 0);
  // The logo itself fills the middle.
  EXPECT_LT(CommonestShare(title, 40, 110), 0.5);
}

TEST(IntroPictures, EveryStripOfBothStripPicturesHasContent) {
  for (int which = 1; which <= 2; ++which) {
    const IndexedImage& image = Picture(which).image;
    constexpr int kStripHeight = 100;
    for (int strip = 0; strip < 4; ++strip) {
      SCOPED_TRACE(testing::Message() << kPictures[which].name << " strip " << strip);
      const int top = strip * kStripHeight;
      EXPECT_GT(DistinctIndices(image, top, top + kStripHeight), 80);
      EXPECT_LT(CommonestShare(image, top, top + kStripHeight), 0.4);
    }
  }
}

TEST(IntroPictures, TheTwoStripPicturesAndTheFarewellAreDifferentScenes) {
  const PaletteImage& a = Picture(1);
  const PaletteImage& b = Picture(2);
  const PaletteImage& farewell = Picture(4);
  auto differingShare = [](const PaletteImage& x, const PaletteImage& y) {
    int differing = 0;
    for (size_t i = 0; i < x.image.pixels.size(); ++i) {
      const uint8_t* cx = x.palette.rgb + 3 * x.image.pixels[i];
      const uint8_t* cy = y.palette.rgb + 3 * y.image.pixels[i];
      const int d = std::abs(cx[0] - cy[0]) + std::abs(cx[1] - cy[1]) + std::abs(cx[2] - cy[2]);
      differing += d > 60;
    }
    return static_cast<double>(differing) / x.image.pixels.size();
  };
  EXPECT_GT(differingShare(a, b), 0.5);
  EXPECT_GT(differingShare(a, farewell), 0.5);
  EXPECT_GT(differingShare(b, farewell), 0.5);
}

TEST(IntroPictures, ClosingPosterIsCentredOnBlack) {
  const IndexedImage& poster = Picture(3).image;
  // The rounded card leaves black corners; its middle is painted.
  EXPECT_EQ(poster.At(0, 0), 0);
  EXPECT_EQ(poster.At(poster.width - 1, 0), 0);
  EXPECT_EQ(poster.At(0, poster.height - 1), 0);
  EXPECT_EQ(poster.At(poster.width - 1, poster.height - 1), 0);
  EXPECT_LT(CommonestShare(poster, 50, 250), 0.25);
}

// The palette fitted to a picture with few colours holds each of them exactly.
TEST(IntroPicturesKit, FewColoursComeThroughExactly) {
  Canvas canvas(64, 48);
  const uint8_t colours[][3] = {{255, 0, 0},   {0, 200, 0},  {10, 20, 250},  {255, 255, 255},
                                {128, 64, 32}, {40, 40, 48}, {250, 240, 10}, {90, 0, 90}};
  for (int i = 0; i < 8; ++i) {
    cairo_set_source_rgb(canvas.cr(), colours[i][0] / 255.0, colours[i][1] / 255.0,
                         colours[i][2] / 255.0);
    cairo_rectangle(canvas.cr(), 8 * i, 0, 8, 40);
    cairo_fill(canvas.cr());
  }
  cairo_set_source_rgb(canvas.cr(), 0, 0, 0);
  cairo_rectangle(canvas.cr(), 0, 40, 64, 8);
  cairo_fill(canvas.cr());
  const PaletteImage result = QuantizeOwnPalette(canvas);
  for (int i = 0; i < 8; ++i) {
    for (int y : {0, 20, 39}) {
      const uint8_t* c = result.palette.rgb + 3 * result.image.At(8 * i + 3, y);
      EXPECT_EQ(c[0], colours[i][0]) << "colour " << i;
      EXPECT_EQ(c[1], colours[i][1]) << "colour " << i;
      EXPECT_EQ(c[2], colours[i][2]) << "colour " << i;
    }
  }
  for (int x = 0; x < 64; ++x) EXPECT_EQ(result.image.At(x, 44), 0);
}

// A smooth two-hue gradient keeps close to its true colours, on average and at worst.
TEST(IntroPicturesKit, GradientsStayCloseToTheirColours) {
  Canvas canvas(256, 64);
  cairo_pattern_t* ramp = cairo_pattern_create_linear(0, 0, 256, 0);
  cairo_pattern_add_color_stop_rgb(ramp, 0, 0.1, 0.2, 0.9);
  cairo_pattern_add_color_stop_rgb(ramp, 0.5, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(ramp, 1, 0.95, 0.4, 0.05);
  cairo_set_source(canvas.cr(), ramp);
  cairo_paint(canvas.cr());
  cairo_pattern_destroy(ramp);
  const PaletteImage result = QuantizeOwnPalette(canvas);
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  double total = 0;
  int worst = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 256; ++x) {
      const uint32_t argb = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
      const int source[3] = {static_cast<int>((argb >> 16) & 0xFF),
                             static_cast<int>((argb >> 8) & 0xFF), static_cast<int>(argb & 0xFF)};
      const uint8_t* c = result.palette.rgb + 3 * result.image.At(x, y);
      for (int k = 0; k < 3; ++k) {
        const int d = std::abs(source[k] - c[k]);
        total += d;
        worst = std::max(worst, d);
      }
    }
  EXPECT_LT(total / (256 * 64 * 3), 3.0);
  EXPECT_LE(worst, 12);
}

cairo_surface_t* SquareOnClear() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 41, 41);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgba(cr, 1, 1, 1, 1);
  cairo_rectangle(cr, 18, 18, 5, 5);
  cairo_fill(cr);
  cairo_destroy(cr);
  return surface;
}

TEST(IntroPicturesKit, BlurSpreadsEvenlyAndStaysNearTheSource) {
  cairo_surface_t* surface = SquareOnClear();
  constexpr int kRadius = 2;
  BlurSurface(surface, kRadius);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  auto alpha = [&](int x, int y) { return data[y * stride + 4 * x + 3]; };
  long sum = 0;
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x) {
      sum += alpha(x, y);
      // Three box passes reach at most 3 * radius beyond the square.
      if (x < 18 - 3 * kRadius || x > 22 + 3 * kRadius || y < 18 - 3 * kRadius ||
          y > 22 + 3 * kRadius) {
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
  cairo_surface_t* part = SquareOnClear();
  BlurSurfaceRect(part, kRadius, 9, 7, 24, 26);
  const unsigned char* partData = cairo_image_surface_get_data(part);
  EXPECT_EQ(memcmp(partData, data, static_cast<size_t>(stride) * 41), 0);
  cairo_surface_destroy(part);
  cairo_surface_destroy(surface);
}

TEST(IntroPicturesKit, LinkedBeansJoinIntoOneSolidBlob) {
  Canvas canvas(120, 60);
  const double xs[] = {30, 90};
  const double ys[] = {30, 30};
  BeanLook look;
  look.shadow = false;
  look.colour = kBeanGreen;
  DrawLinkedBeans(canvas.cr(), xs, ys, 2, 40, 36, look);
  cairo_surface_flush(canvas.surface());
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  // Between the two beans (which stand 20 pixels apart) the blob is solid body colour.
  for (int x = 50; x <= 70; ++x)
    for (int y = 24; y <= 36; ++y) {
      const unsigned char* p = data + y * stride + 4 * x;
      EXPECT_EQ(p[3], 255) << x << "," << y;
      EXPECT_GT(p[1], p[2] + 40) << x << "," << y;  // green, not outline or background
    }
  // Outside the beans nothing is painted.
  EXPECT_EQ(data[2 * stride + 4 * 60 + 3], 0);
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
  cairo_surface_flush(canvas.surface());
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  auto inked = [&](int x, int y) { return data[y * stride + 4 * x + 3] > 0; };
  int left = 400, right = -1;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 400; ++x)
      if (inked(x, y)) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  ASSERT_GE(right, 0);
  EXPECT_NEAR((left + right) / 2.0, 200, 4);
  for (int i = 0; i < 5; ++i) {
    if (i > 0) {
      EXPECT_GT(centreX[i], centreX[i - 1] + 20);
    }
    EXPECT_NEAR(bottom[i], 70, 2);  // capitals stand on the baseline
    EXPECT_NEAR(top[i], 70 - 0.73 * style.size, 3);
    EXPECT_TRUE(inked(static_cast<int>(centreX[i]), static_cast<int>(top[i] + 2))) << i;
  }
}

TEST(IntroPictures, DrawingTwiceGivesTheSamePicture) {
  // The data set must not change from one build to the next.
  const PaletteImage again = DrawStripPicture(1);
  EXPECT_TRUE(again.image.pixels == Picture(2).image.pixels);
  EXPECT_EQ(memcmp(again.palette.rgb, Picture(2).palette.rgb, sizeof again.palette.rgb), 0);
}

// With many more colours than entries, all 255 entries are used, each a different colour.
TEST(IntroPicturesKit, ManyColoursFillTheWholePalette) {
  Canvas canvas(200, 100);
  for (int x = 0; x < 200; x += 4)
    for (int y = 0; y < 100; y += 4) {
      cairo_set_source_rgb(canvas.cr(), x / 200.0, y / 100.0, ((x + y) % 50) / 50.0);
      cairo_rectangle(canvas.cr(), x, y, 4, 4);
      cairo_fill(canvas.cr());
    }
  const PaletteImage result = QuantizeOwnPalette(canvas);
  std::vector<uint32_t> entries;
  for (int i = 1; i < 256; ++i) {
    const uint8_t* c = result.palette.rgb + 3 * i;
    entries.push_back((c[0] << 16) | (c[1] << 8) | c[2]);
  }
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(std::unique(entries.begin(), entries.end()), entries.end());
  EXPECT_GE(DistinctIndices(result.image, 0, 100), 250);
}

// The dither moves single pixels, not the average: over each 8 x 8 block of a smooth ramp the
// mapped colours average out to the true ones.
TEST(IntroPicturesKit, DitherKeepsTheAverageColour) {
  Canvas canvas(256, 16);
  cairo_pattern_t* ramp = cairo_pattern_create_linear(0, 0, 256, 0);
  cairo_pattern_add_color_stop_rgb(ramp, 0, 100 / 255.0, 60 / 255.0, 140 / 255.0);
  cairo_pattern_add_color_stop_rgb(ramp, 1, 130 / 255.0, 90 / 255.0, 170 / 255.0);
  cairo_set_source(canvas.cr(), ramp);
  cairo_paint(canvas.cr());
  cairo_pattern_destroy(ramp);
  // A coarse palette along the ramp, one entry every 8 levels: only the dither can give the
  // levels in between.
  constexpr int kStep = 8;
  PaletteData palette;
  for (int k = 0; k < 8; ++k)
    palette.Set(1 + k, static_cast<uint8_t>(92 + kStep * k), static_cast<uint8_t>(52 + kStep * k),
                static_cast<uint8_t>(132 + kStep * k));
  const PaletteMapper mapper(palette, 0, 255);
  const IndexedImage image = QuantizeDithered(canvas, mapper, kStep);
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  int distinct = 0;
  for (int bx = 0; bx < 256; bx += 8) {
    double source = 0, mapped = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = bx; x < bx + 8; ++x) {
        source += data[y * stride + 4 * x];  // blue channel
        mapped += palette.rgb[3 * image.At(x, y) + 2];
      }
    EXPECT_NEAR(mapped / 64, source / 64, 1.5) << "block at " << bx;
  }
  distinct = DistinctIndices(image, 0, 16);
  EXPECT_GT(distinct, 1);
}

TEST(IntroPicturesKit, BeanFillsItsBoxAroundItsCentre) {
  Canvas canvas(100, 100);
  BeanLook look;
  look.shadow = false;
  look.colour = kBeanBlue;
  DrawBean(canvas.cr(), 40, 55, 50, 40, look);
  cairo_surface_flush(canvas.surface());
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  int left = 100, right = -1, top = 100, bottom = -1;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      if (data[y * stride + 4 * x + 3] > 128) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  // 50 x 40 plus about a pixel of outline on every side.
  EXPECT_NEAR(left, 15, 2);
  EXPECT_NEAR(right, 65, 2);
  EXPECT_NEAR(top, 35, 2);
  EXPECT_NEAR(bottom, 75, 2);
  // Two white eyes either side of the middle, above the centre line.
  auto whiteAt = [&](int x, int y) {
    const unsigned char* p = data + y * stride + 4 * x;
    return p[0] > 200 && p[1] > 200 && p[2] > 200;
  };
  bool leftEye = false, rightEye = false;
  for (int y = 45; y <= 56; ++y) {
    for (int x = 28; x <= 38; ++x) leftEye |= whiteAt(x, y);
    for (int x = 42; x <= 52; ++x) rightEye |= whiteAt(x, y);
  }
  EXPECT_TRUE(leftEye);
  EXPECT_TRUE(rightEye);
}

TEST(IntroPicturesKit, PreviewPngShowsThePaletteColours) {
  PaletteImage picture;
  picture.image = IndexedImage(3, 2);
  picture.palette.Set(7, 10, 200, 30);
  picture.palette.Set(9, 250, 5, 128);
  picture.image.At(1, 0) = 7;
  picture.image.At(2, 1) = 9;
  const std::string path = testing::TempDir() + "intro_preview_test.png";
  ASSERT_TRUE(WritePreviewPng(picture, path.c_str()));
  cairo_surface_t* back = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(back), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(back), 3);
  const unsigned char* data = cairo_image_surface_get_data(back);
  const int stride = cairo_image_surface_get_stride(back);
  auto rgb = [&](int x, int y) {
    return reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
  };
  EXPECT_EQ(rgb(0, 0), 0u);
  EXPECT_EQ(rgb(1, 0), (10u << 16) | (200u << 8) | 30u);
  EXPECT_EQ(rgb(2, 1), (250u << 16) | (5u << 8) | 128u);
  cairo_surface_destroy(back);
  std::remove(path.c_str());
}

// Writes the pictures, and screens of the intro composed with the game's drawing code, as PNGs
// when PLONKIX_PICTURE_PREVIEW names a directory. Without it the test only composes them.
TEST(IntroPictures, PreviewScreens) {
  const char* dir = std::getenv("PLONKIX_PICTURE_PREVIEW");
  auto write = [&](const PaletteImage& picture, const std::string& name) {
    if (dir) {
      EXPECT_TRUE(WritePreviewPng(picture, (std::string(dir) + "/" + name + ".png").c_str()));
    }
  };
  for (size_t i = 0; i < std::size(kPictures); ++i) write(Picture(i), kPictures[i].name);
  auto screen = [](const PaletteImage& source) {
    PaletteImage s;
    s.image = IndexedImage(kScreenWidth, kScreenHeight);
    s.palette = source.palette;
    return s;
  };
  // The title zooming in at 60 %, and at full size.
  for (int scale : {60, 100}) {
    PaletteImage frame = screen(Picture(0));
    IndexedImage title = Picture(0).image;
    const Sprite sprite{title.pixels.data(), title.width, title.height};
    DrawSpriteScaled(frame.image.pixels.data(), 320, 200, scale, scale, sprite);
    EXPECT_GT(DistinctIndices(frame.image, 0, kScreenHeight), 100);
    write(frame, "intro_title_" + std::to_string(scale));
  }
  // The strips of both strip pictures half-way in (m = -160).
  for (int which = 1; which <= 2; ++which) {
    PaletteImage frame = screen(Picture(which));
    IndexedImage picture = Picture(which).image;
    constexpr int m = -160;
    const int centres[4] = {2 * m + 960, -2 * m - 320, 2 * m + 960, -2 * m - 320};
    for (int strip = 0; strip < 4; ++strip) {
      const Sprite sprite{picture.pixels.data() + strip * 100 * kScreenWidth, kScreenWidth, 100};
      DrawSpriteOpaque(frame.image.pixels.data(), centres[strip], 50 + 100 * strip, sprite);
    }
    write(frame, std::string("intro_strips_") + kPictures[which].name);
  }
  // The closing poster centred on black.
  PaletteImage frame = screen(Picture(3));
  IndexedImage poster = Picture(3).image;
  DrawSpriteOpaque(frame.image.pixels.data(), 320, 200,
                   Sprite{poster.pixels.data(), poster.width, poster.height});
  EXPECT_EQ(frame.image.At(320 - 106 - 1, 200), 0);
  write(frame, "intro_poster");
}

}  // namespace
