// The game's sprite art: palette, beans joining into blobs as the game's frame table shows them,
// fonts, animations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "animations.h"
#include "beans.h"
#include "draw.h"
#include "fonts.h"
#include "game_screen.h"
#include "master_palette.h"
#include "preview.h"

namespace {

struct Hsv {
  double hue, saturation, value;
};
Hsv ToHsv(double r, double g, double b) {
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
  double h = 0;
  if (d > 0) {
    if (mx == r)
      h = 60 * std::fmod((g - b) / d + 6, 6);
    else if (mx == g)
      h = 60 * ((b - r) / d + 2);
    else
      h = 60 * ((r - g) / d + 4);
  }
  return {h, mx > 0 ? d / mx : 0, mx};
}
Hsv EntryHsv(int index) {
  const uint8_t* c = MasterPalette().rgb + 3 * index;
  return ToHsv(c[0] / 255.0, c[1] / 255.0, c[2] / 255.0);
}
double HueDistance(double a, double b) {
  const double d = std::fabs(a - b);
  return std::min(d, 360 - d);
}

// The mean colour of a sprite's opaque pixels that are clearly coloured (eyes and outline aside).
Hsv MeanBodyColour(const IndexedImage& sprite) {
  double r = 0, g = 0, b = 0;
  int n = 0;
  for (uint8_t v : sprite.pixels) {
    const Hsv hsv = EntryHsv(v);
    if (!v || hsv.value < 0.25 || hsv.saturation < 0.25) continue;
    const uint8_t* c = MasterPalette().rgb + 3 * v;
    r += c[0], g += c[1], b += c[2], ++n;
  }
  return n ? ToHsv(r / n / 255, g / n / 255, b / n / 255) : Hsv{0, 0, 0};
}

long Opaque(const IndexedImage& s) {
  return std::count_if(s.pixels.begin(), s.pixels.end(), [](uint8_t v) { return v; });
}
// Rows where column x is opaque, and columns where row y is.
std::vector<int> OpaqueRows(const IndexedImage& s, int x) {
  std::vector<int> rows;
  for (int y = 0; y < s.height; ++y)
    if (s.At(x, y)) rows.push_back(y);
  return rows;
}
std::vector<int> OpaqueColumns(const IndexedImage& s, int y) {
  std::vector<int> cols;
  for (int x = 0; x < s.width; ++x)
    if (s.At(x, y)) cols.push_back(x);
  return cols;
}

}  // namespace

TEST(MasterPalette, ColourBarEntriesShowTheBeansColours) {
  EXPECT_EQ(MasterPalette().rgb[0] | MasterPalette().rgb[1] | MasterPalette().rgb[2], 0);
  // The entries the status panel's bars use. Black beans: dark and nearly grey, and the black
  // bean darker than every coloured one.
  EXPECT_LT(EntryHsv(28).value, 0.5);
  EXPECT_LT(EntryHsv(28).saturation, 0.4);
  const IndexedImage black = DrawBeanSprite(kBlackBean, 0);
  double level = 0;
  for (uint8_t v : black.pixels)
    if (v)
      level += MasterPalette().rgb[3 * v] + MasterPalette().rgb[3 * v + 1] +
               MasterPalette().rgb[3 * v + 2];
  EXPECT_LT(level / 3 / Opaque(black), 80);
  // Colours 2..6: red, green, blue, yellow, purple, bright and saturated.
  const struct {
    int colour, index;
    double hue;
  } bars[] = {{2, 32, 355}, {3, 96, 120}, {4, 144, 215}, {5, 207, 50}, {6, 169, 280}};
  for (const auto& bar : bars) {
    SCOPED_TRACE("colour " + std::to_string(bar.colour));
    const Hsv e = EntryHsv(bar.index);
    EXPECT_LT(HueDistance(e.hue, bar.hue), 25);
    EXPECT_GT(e.saturation, 0.6);
    EXPECT_GT(e.value, 0.7);
    // The beans' bodies show the colour of their bar.
    EXPECT_LT(HueDistance(MeanBodyColour(DrawBeanSprite(bar.colour, 0)).hue, e.hue), 20);
  }
}

TEST(BeanSprites, TheGamesFrameTablePicksSpritesOfTheCellsOwnLinkShape) {
  // The table reaches every sprite 0..58, so every sprite's link shape is checked here.
  for (int links = 0; links < kLinkShapes; ++links)
    for (int step = 0; step < kAnimSteps; ++step) {
      const int n = kFrameTable[kLinkShape[links]][step];
      ASSERT_LT(n, kBeanSpriteCount);
      EXPECT_EQ(PoseOfSprite(n).links, links) << "links " << links << " step " << step;
      EXPECT_EQ(BeanSpriteFor(links, step), n) << "the previews show another sprite";
    }
  // The first sprite of a shape is its resting frame, and the animated frames differ from it.
  for (int n : {1, 6, 11, 16, 24, 32, 36, 40, 50, 55}) {
    EXPECT_NE(PoseOfSprite(n).motion, BeanMotion::kRest) << n;
    EXPECT_NE(DrawBeanSprite(3, n).pixels,
              DrawBeanSprite(3, PoseOfSprite(n).links ? n - 1 : 0).pixels)
        << n;
  }
}

TEST(BeanSprites, JoinedSidesMeetTheirNeighboursAndFreeSidesKeepAMargin) {
  // Every pair of sprites that can stand side by side in a linked group must meet along the
  // whole seam: the right edge column of one covers exactly the rows of the left edge column of
  // the other (and the same for above and below), in every animation frame. Black beans never
  // link: all their sides are free.
  for (int c = kBlackBean; c <= static_cast<int>(kLastBeanColour); ++c) {
    const int count = c == kBlackBean ? kBlackBeanSpriteCount : kBeanSpriteCount;
    std::vector<IndexedImage> sprites;
    for (int n = 0; n < count; ++n) sprites.push_back(DrawBeanSprite(c, n));
    for (int a = 0; a < count; ++a) {
      const int la = PoseOfSprite(a).links;
      const IndexedImage& sa = sprites[a];
      // Free sides keep at least one transparent pixel against the neighbouring cell.
      const bool freeSide[4] = {!(la & kLinkLeft), !(la & kLinkRight), !(la & kLinkUp),
                                !(la & kLinkDown)};
      const bool clearSide[4] = {OpaqueRows(sa, 0).empty(), OpaqueRows(sa, kBeanWidth - 1).empty(),
                                 OpaqueColumns(sa, 0).empty(),
                                 OpaqueColumns(sa, kBeanHeight - 1).empty()};
      for (int side = 0; side < 4; ++side)
        EXPECT_EQ(clearSide[side], freeSide[side])
            << "colour " << c << " sprite " << a << " side " << side;
      for (int b = 0; b < count; ++b) {
        const int lb = PoseOfSprite(b).links;
        const IndexedImage& sb = sprites[b];
        if ((la & kLinkRight) && (lb & kLinkLeft)) {
          const std::vector<int> rows = OpaqueRows(sa, kBeanWidth - 1);
          EXPECT_GE(rows.size(), 12u);
          EXPECT_EQ(rows, OpaqueRows(sb, 0)) << "colour " << c << ": " << a << " beside " << b;
        }
        if ((la & kLinkDown) && (lb & kLinkUp)) {
          const std::vector<int> cols = OpaqueColumns(sa, kBeanHeight - 1);
          EXPECT_GE(cols.size(), 12u);
          EXPECT_EQ(cols, OpaqueColumns(sb, 0)) << "colour " << c << ": " << a << " above " << b;
        }
      }
    }
  }
}

TEST(Fonts, GlyphsKeepTheirOuterColumnsEmptyAndShowTheGamesCharacters) {
  // Fonts 0, 1 and 3 step by their width minus 2, and neighbouring digit glyphs share a column
  // on the sheet: the outer columns stay empty, or a glyph would carry a sliver of another.
  for (int font = 0; font < 4; ++font)
    for (int k = 0; k < (font == 2 ? kDigitGlyphs : kLetterGlyphs); ++k) {
      const IndexedImage g = DrawGlyph(font, k);
      EXPECT_TRUE(OpaqueRows(g, 0).empty()) << "font " << font << " glyph " << k;
      EXPECT_TRUE(OpaqueRows(g, g.width - 1).empty()) << "font " << font << " glyph " << k;
    }
  // Glyph k shows the character the game's text drawing looks up as glyph k.
  for (int k = 0; k < kLetterGlyphs; ++k) EXPECT_EQ(GlyphIndex(GlyphCharacter(k)), k) << k;
}

TEST(Animations, TenLoopingFramesOfBoldShapes) {
  for (int a = 0; a < kAnimationCount; ++a) {
    const std::vector<IndexedImage> frames = DrawAnimation(a);
    ASSERT_EQ(frames.size(), static_cast<size_t>(kAnimationFrames));
    for (int f = 0; f < kAnimationFrames; ++f) {
      EXPECT_GT(Opaque(frames[f]), 300) << a << ":" << f;
      // Every frame moves on from the one before, the last one into the first.
      EXPECT_NE(frames[f].pixels, frames[(f + 1) % kAnimationFrames].pixels) << a << ":" << f;
    }
  }
}
