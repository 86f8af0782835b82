// The game's sprite art: palette, beans joining into blobs, fonts, frame pieces, animations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "animations.h"
#include "beans.h"
#include "fonts.h"
#include "game_art.h"
#include "master_palette.h"
#include "sheets.h"

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

// The mean hue of a sprite's opaque pixels that are clearly coloured (eyes and outline aside).
Hsv MeanBodyColour(const IndexedImage& sprite) {
  double r = 0, g = 0, b = 0;
  int n = 0;
  for (uint8_t v : sprite.pixels) {
    if (!v) continue;
    const uint8_t* c = MasterPalette().rgb + 3 * v;
    const Hsv hsv = ToHsv(c[0] / 255.0, c[1] / 255.0, c[2] / 255.0);
    if (hsv.value < 0.25 || hsv.saturation < 0.25) continue;
    r += c[0], g += c[1], b += c[2], ++n;
  }
  return n ? ToHsv(r / n / 255, g / n / 255, b / n / 255) : Hsv{0, 0, 0};
}

bool ColumnOpaque(const IndexedImage& s, int x, int y) {
  return s.At(x, y) != 0;
}

// Rows where the given column is opaque.
std::vector<int> OpaqueRows(const IndexedImage& s, int x) {
  std::vector<int> rows;
  for (int y = 0; y < s.height; ++y)
    if (ColumnOpaque(s, x, y)) rows.push_back(y);
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
  // Black beans: dark and nearly grey.
  const Hsv black = EntryHsv(kColourBarIndex[kBlackBean]);
  EXPECT_LT(black.value, 0.5);
  EXPECT_LT(black.saturation, 0.4);
  // Colours 2..6: red, green, blue, yellow, purple, bright and saturated.
  const double wantHue[7] = {0, 0, 355, 120, 215, 50, 280};
  for (int c = kFirstBeanColour; c <= kLastBeanColour; ++c) {
    const Hsv e = EntryHsv(kColourBarIndex[c]);
    EXPECT_LT(HueDistance(e.hue, wantHue[c]), 25) << "colour " << c;
    EXPECT_GT(e.saturation, 0.6) << "colour " << c;
    EXPECT_GT(e.value, 0.7) << "colour " << c;
  }
}

TEST(BeanSprites, BodiesHaveTheHueOfTheirColourBar) {
  for (int c = kFirstBeanColour; c <= kLastBeanColour; ++c) {
    const Hsv body = MeanBodyColour(DrawBeanSprite(c, 0));
    EXPECT_LT(HueDistance(body.hue, EntryHsv(kColourBarIndex[c]).hue), 20) << "colour " << c;
  }
  // The black bean is darker than every coloured one.
  const IndexedImage black = DrawBeanSprite(kBlackBean, 0);
  double sum = 0;
  int n = 0;
  for (uint8_t v : black.pixels)
    if (v)
      sum += MasterPalette().rgb[3 * v] + MasterPalette().rgb[3 * v + 1] +
             MasterPalette().rgb[3 * v + 2],
          ++n;
  EXPECT_LT(sum / n / 3, 80);
}

TEST(BeanSprites, PosesFollowTheLinkShapes) {
  // Sprite ranges and the links they show, as the game's tables select them.
  struct Range {
    int first, last, links;
  } ranges[] = {{0, 9, 0},    {10, 14, 9},  {15, 18, 2},  {19, 22, 1},  {23, 26, 8},  {27, 30, 4},
                {31, 34, 12}, {35, 38, 3},  {39, 43, 10}, {44, 44, 13}, {45, 45, 14}, {46, 46, 15},
                {47, 47, 7},  {48, 48, 11}, {49, 53, 6},  {54, 58, 5}};
  for (const Range& r : ranges)
    for (int n = r.first; n <= r.last; ++n) EXPECT_EQ(PoseOfSprite(n).links, r.links) << n;
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
  // the other (and the same for above and below), in every animation frame.
  for (int c = kFirstBeanColour; c <= kLastBeanColour; ++c) {
    std::vector<IndexedImage> sprites;
    for (int n = 0; n < kBeanSpriteCount; ++n) sprites.push_back(DrawBeanSprite(c, n));
    for (int a = 0; a < kBeanSpriteCount; ++a) {
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
      for (int b = 0; b < kBeanSpriteCount; ++b) {
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

TEST(BeanSprites, BlackBeansAreDrawnForTheirTenSprites) {
  for (int n = 0; n < kBlackBeanSpriteCount; ++n) {
    const IndexedImage s = DrawBeanSprite(kBlackBean, n);
    const long opaque =
        std::count_if(s.pixels.begin(), s.pixels.end(), [](uint8_t v) { return v; });
    EXPECT_GT(opaque, kBeanWidth * kBeanHeight / 2) << n;
    EXPECT_TRUE(OpaqueRows(s, 0).empty()) << n;
  }
}

TEST(Fonts, DigitGlyphsLeaveTheSharedColumnEmpty) {
  // Neighbouring digit glyphs overlap by one column on the sheet: it must stay empty, or a
  // digit would carry a sliver of its neighbour.
  for (int k = 0; k < kDigitGlyphs; ++k) {
    const IndexedImage g = DrawGlyph(2, k);
    EXPECT_TRUE(OpaqueRows(g, 0).empty()) << k;
    EXPECT_TRUE(OpaqueRows(g, g.width - 1).empty()) << k;
    EXPECT_GT(OpaqueColumns(g, g.height / 2).size(), 1u) << k;
  }
  MasterPictures pictures = BuildMasterPictures();
  for (int k = 0; k < kDigitGlyphs; ++k)
    EXPECT_EQ(Cut(pictures, GlyphRect(2, k)).pixels, DrawGlyph(2, k).pixels) << k;
}

TEST(Fonts, GlyphsFitTheirBoxesAndKeepTheSpacingGap) {
  // Fonts 0, 1 and 3 step by their width minus 2: the outer columns stay clear so neighbours
  // never touch.
  for (int font : {0, 1, 3})
    for (int k = 0; k < kLetterGlyphs; ++k) {
      const IndexedImage g = DrawGlyph(font, k);
      EXPECT_EQ(g.width, kGlyphSize[font].width);
      EXPECT_EQ(g.height, kGlyphSize[font].height);
      EXPECT_TRUE(OpaqueRows(g, 0).empty()) << "font " << font << " glyph " << k;
      EXPECT_TRUE(OpaqueRows(g, g.width - 1).empty()) << "font " << font << " glyph " << k;
    }
  EXPECT_EQ(GlyphCharacter(0), 'A');
  EXPECT_EQ(GlyphCharacter(35), '9');
  EXPECT_EQ(GlyphCharacter(36), '!');
  EXPECT_EQ(GlyphCharacter(45), '/');
  EXPECT_EQ(GlyphCharacter(47), '?');
}

TEST(FramePieces, LeaveTheBeansUnderThemVisible) {
  // The side piece overlaps column 0 from its fifth column on; the bottom piece overlaps the
  // bottom row down to its last two rows.
  const IndexedImage side = DrawFrameSide();
  ASSERT_EQ(side.width, 14);
  ASSERT_EQ(side.height, 374);
  for (int x = 0; x < 14; ++x) EXPECT_EQ(OpaqueRows(side, x).empty(), x >= 4) << x;
  const IndexedImage bottom = DrawFrameBottom();
  for (int y = 0; y < 18; ++y) EXPECT_EQ(OpaqueColumns(bottom, y).empty(), y < 16) << y;
  // Beans of the bottom row never reach those last two rows.
  for (int n = 0; n < kBeanSpriteCount; ++n) {
    if (PoseOfSprite(n).links & kLinkDown) continue;
    const IndexedImage s = DrawBeanSprite(2, n);
    EXPECT_TRUE(OpaqueColumns(s, kBeanHeight - 2).empty()) << n;
    EXPECT_TRUE(OpaqueColumns(s, kBeanHeight - 1).empty()) << n;
  }
  // The top piece is solid: it covers the hidden row above the field.
  const IndexedImage top = DrawFrameTop();
  EXPECT_EQ(std::count(top.pixels.begin(), top.pixels.end(), 0), 0);
}

TEST(Animations, TenLoopingFramesOfBoldShapes) {
  for (int a = 0; a < kAnimationCount; ++a) {
    const std::vector<IndexedImage> frames = DrawAnimation(a);
    ASSERT_EQ(frames.size(), static_cast<size_t>(kAnimationFrames));
    for (int f = 0; f < kAnimationFrames; ++f) {
      EXPECT_EQ(frames[f].width, kAnimationWidth);
      EXPECT_EQ(frames[f].height, kAnimationHeight);
      const long opaque = std::count_if(frames[f].pixels.begin(), frames[f].pixels.end(),
                                        [](uint8_t v) { return v; });
      EXPECT_GT(opaque, 300) << a << ":" << f;
      // Every frame moves on from the one before, the last one into the first.
      EXPECT_NE(frames[f].pixels, frames[(f + 1) % kAnimationFrames].pixels) << a << ":" << f;
    }
  }
}
