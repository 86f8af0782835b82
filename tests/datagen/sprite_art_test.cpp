// The game's sprite art: palette, beans joining into blobs as the game's frame table shows them,
// fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "beans.h"
#include "draw.h"
#include "fonts.h"
#include "game_screen.h"
#include "master_palette.h"

namespace {

// Hue (degrees), saturation and value of a colour.
struct Hsv {
  double hue, saturation, value;
};
Hsv ToHsv(double r, double g, double b) {
  const double mx = std::max({r, g, b}), d = mx - std::min({r, g, b});
  const double hue = std::atan2(std::sqrt(3.0) * (g - b), 2 * r - g - b) * 180 / M_PI;
  return {hue < 0 ? hue + 360 : hue, mx > 0 ? d / mx : 0, mx / 255};
}
const uint8_t* Rgb(int index) {
  return MasterPalette().rgb + 3 * index;
}
Hsv EntryHsv(int index) {
  return ToHsv(Rgb(index)[0], Rgb(index)[1], Rgb(index)[2]);
}
double HueDistance(double a, double b) {
  return std::min(std::fabs(a - b), 360 - std::fabs(a - b));
}

// Rows where column x is opaque (transposed: columns where row y is).
std::vector<int> Opaque(const IndexedImage& s, int at, bool column) {
  std::vector<int> found;
  for (int i = 0; i < (column ? s.height : s.width); ++i)
    if (column ? s.At(at, i) : s.At(i, at)) found.push_back(i);
  return found;
}

}  // namespace

TEST(MasterPalette, ColourBarEntriesShowTheBeansColours) {
  EXPECT_EQ(Rgb(0)[0] | Rgb(0)[1] | Rgb(0)[2], 0);
  // Black beans: the bar's entry dark and nearly grey, the bean darker than every coloured one.
  const Hsv black = EntryHsv(kColourBarIndex[kBlackBean]);
  EXPECT_TRUE(black.value < 0.5 && black.saturation < 0.4);
  double level = 0, opaque = 0;
  for (uint8_t v : DrawBeanSprite(kBlackBean, 0).pixels)
    if (v) level += Rgb(v)[0] + Rgb(v)[1] + Rgb(v)[2], ++opaque;
  EXPECT_LT(level / 3 / opaque, 80);
  // Colours 2..6: red, green, blue, yellow, purple, bright and saturated, and the beans' bodies
  // (their clearly coloured pixels, eyes and outline aside) show the colour of their bar.
  const double hues[] = {355, 120, 215, 50, 280};
  for (int colour = 2; colour <= 6; ++colour) {
    const Hsv e = EntryHsv(kColourBarIndex[colour]);
    EXPECT_TRUE(HueDistance(e.hue, hues[colour - 2]) < 25 && e.saturation > 0.6 && e.value > 0.7)
        << colour;
    double r = 0, g = 0, b = 0;
    for (uint8_t v : DrawBeanSprite(colour, 0).pixels)
      if (v && EntryHsv(v).value >= 0.25 && EntryHsv(v).saturation >= 0.25)
        r += Rgb(v)[0], g += Rgb(v)[1], b += Rgb(v)[2];
    EXPECT_LT(HueDistance(ToHsv(r, g, b).hue, e.hue), 20) << colour;
  }
}

TEST(BeanSprites, TheGamesFrameTablePicksSpritesOfTheCellsOwnLinkShape) {
  // The table reaches every sprite 0..58, so every sprite's link shape is checked here.
  for (int links = 0; links < kLinkShapes; ++links)
    for (int step = 0; step < kAnimSteps; ++step) {
      const int n = kFrameTable[kLinkShape[links]][step];
      ASSERT_LT(n, kBeanSpriteCount);
      EXPECT_EQ(PoseOfSprite(n).links, links) << "links " << links << " step " << step;
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
  // Every pair of sprites that can stand side by side in a linked group meets along the whole
  // seam: the right edge column of one covers exactly the rows of the left edge column of the
  // other (and the same for above and below), in every animation frame. Free sides keep a
  // transparent margin against the next cell. Black beans never link: all their sides are free.
  for (int c = kBlackBean; c <= static_cast<int>(kLastBeanColour); ++c) {
    const int count = c == kBlackBean ? kBlackBeanSpriteCount : kBeanSpriteCount;
    std::vector<IndexedImage> sprites;
    for (int n = 0; n < count; ++n) sprites.push_back(DrawBeanSprite(c, n));
    for (int a = 0; a < count; ++a) {
      const int la = PoseOfSprite(a).links;
      const IndexedImage& sa = sprites[a];
      // The bottom margin is two rows: the frame's bottom piece overlaps the bottom row by that.
      const int sides[5][3] = {{kLinkLeft, 0, 1},
                               {kLinkRight, kBeanWidth - 1, 1},
                               {kLinkUp, 0, 0},
                               {kLinkDown, kBeanHeight - 1, 0},
                               {kLinkDown, kBeanHeight - 2, 0}};
      for (const auto& [link, at, column] : sides)
        EXPECT_EQ(Opaque(sa, at, column).empty(), !(la & link))
            << "colour " << c << " sprite " << a << " side " << link;
      for (int b = 0; b < count; ++b)  // right beside left, and above below
        for (const auto& [mine, theirs, at, column] :
             {std::array<int, 4>{kLinkRight, kLinkLeft, kBeanWidth - 1, 1},
              std::array<int, 4>{kLinkDown, kLinkUp, kBeanHeight - 1, 0}})
          if ((la & mine) && (PoseOfSprite(b).links & theirs)) {
            EXPECT_GE(Opaque(sa, at, column).size(), 12u);
            EXPECT_EQ(Opaque(sa, at, column), Opaque(sprites[b], 0, column))
                << "colour " << c << ": " << a << " then " << b << " joined " << mine;
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
      EXPECT_TRUE(Opaque(g, 0, true).empty() && Opaque(g, g.width - 1, true).empty())
          << "font " << font << " glyph " << k;
    }
  // Glyph k shows the character the game's text drawing looks up as glyph k.
  for (int k = 0; k < kLetterGlyphs; ++k) EXPECT_EQ(GlyphIndex(GlyphCharacter(k)), k) << k;
}
