// The game's art where the game shows it: the palette's colour bars, beans joining into blobs as
// the game's frame table shows them, fonts, frame pieces that leave the beans visible, texts on
// dark windows and over the logo. (That no sprite on a sheet overwrites another shows in the
// data-set test: every sprite the game cuts is its drawing.)
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "beans.h"
#include "draw.h"
#include "fonts.h"
#include "game_art.h"
#include "game_screen.h"
#include "info_pages.h"
#include "main_menu.h"
#include "master_palette.h"
#include "menu_art.h"
#include "options_screen.h"

namespace {

struct Hsv {  // hue in degrees
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

// Relative luminance of a master palette entry, and the contrast ratio of two luminances.
double Luminance(uint8_t index) {
  const auto linear = [index](int k) {
    const double v = Rgb(index)[k] / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(0) + 0.7152 * linear(1) + 0.0722 * linear(2);
}
double Contrast(double a, double b) {
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The value below which a share q of the values lie.
double Quantile(std::vector<double> values, double q) {
  std::nth_element(values.begin(), values.begin() + values.size() * q, values.end());
  return values[values.size() * q];
}

Sprite SpriteOf(IndexedImage& image) {
  return Sprite{image.pixels.data(), image.width, image.height};
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

TEST(FramePieces, LeaveTheBeansUnderThemVisible) {
  // The side piece overlaps column 0 from its fifth column on; the bottom piece the bottom row
  // down to its last two rows, which no bean reaches; the top piece covers the hidden row.
  const IndexedImage side = DrawFrameSide(), bottom = DrawFrameBottom(), top = DrawFrameTop();
  for (int x = 0; x < side.width; ++x) EXPECT_EQ(Opaque(side, x, true).empty(), x >= 4) << x;
  for (int y = 0; y < bottom.height; ++y) EXPECT_EQ(Opaque(bottom, y, false).empty(), y < 16) << y;
  EXPECT_EQ(std::count(top.pixels.begin(), top.pixels.end(), 0), 0);
}

TEST(GameBackground, TextsAndBeansStandOnDarkWindows) {
  const IndexedImage bg = DrawGameBackground();
  // Every cell of both wells, the message lines, the frames-per-second meter, the animation, and
  // each side's next pair, name, level text, danger warning and colour bars.
  std::vector<std::pair<int, int>> dark{{kPanelCentreX, kFpsY}};
  for (int x = -70; x <= 70; x += 10) dark.push_back({kAnimX + x, kAnimY});
  for (int k = 0; k < kMessageLines; ++k)
    for (int x = -80; x <= 80; x += 20)
      dark.push_back({kPanelCentreX + x, kMessageY + kMessageLineStep * k});
  for (int p = 1; p <= 2; ++p) {
    for (int cell = 0; cell < kVisibleRows * kColumns; ++cell)
      dark.push_back({kFieldOriginX[p] + kCellWidth * (cell % kColumns),
                      kFieldOriginY + kCellHeight * (cell / kColumns)});
    dark.insert(dark.end(), {{kNextPairX[p], kNextPairAY},
                             {kNextPairX[p], kNextPairBY},
                             {kNameX[p], kNameY},
                             {kLevelTextX[p], kLevelTextY},
                             {kPanelX[p], kDangerY}});
    for (int k = 1; k <= 6; ++k)
      dark.push_back({kColourBarX[p], kColourBarTop + kColourBarRowStep * k + 4});
  }
  for (const auto& [x, y] : dark) EXPECT_LT(Luminance(bg.At(x, y)), 0.04) << x << "," << y;

  // Below the side pieces (y 374..382) only the background draws the rails: same colours.
  const IndexedImage side = DrawFrameSide();
  for (int p = 0; p < 2; ++p)
    for (int y : {200, 376, 381})
      for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(bg.At(kFrameSideX[2 * p] - 7 + i, y) == side.At(i, 100) &&
                    bg.At(kFrameSideX[2 * p + 1] + 6 - i, y) == side.At(i, 100))
            << p << ":" << y;
}

TEST(MenuArt, TextsOverTheLogoStandOutItsDotsShowAndTheTilesOnlySprinkle) {
  static std::vector<IndexedImage> glyphs;  // font 3, as the game holds it; font 4 draws it halved
  for (int k = 0; k < kLetterGlyphs; ++k) glyphs.push_back(DrawGlyph(3, k));
  for (int k = 0; k < kLetterGlyphs; ++k) FontGlyphs[3][k] = SpriteOf(glyphs[k]);
  IndexedImage logo = DrawLogo();
  std::vector<uint8_t> behind(640 * 400), text(640 * 400);
  DrawSprite(behind.data(), kLogoX, kLogoY, SpriteOf(logo));
  // A text where the game draws it: its fill is every glyph pixel lighter than the dark outline,
  // its colour the fill's median luminance, set against each logo pixel the fill covers.
  int crossing = 0;
  const auto check = [&](const std::string& line, int32_t x, int32_t y, int font) {
    std::fill(text.begin(), text.end(), 0);
    DrawText(text.data(), line.c_str(), x, y, font);
    std::vector<double> fill, under, ratios;
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] && Luminance(text[i]) > 0.1) {
        fill.push_back(Luminance(text[i]));
        if (behind[i]) under.push_back(Luminance(behind[i]));
      }
    if (under.empty()) return;
    ++crossing;
    for (double l : under) ratios.push_back(Contrast(Quantile(fill, 0.5), l));
    const double median = Quantile(ratios, 0.5), low = Quantile(ratios, 0.3);
    EXPECT_TRUE(median >= 4.5 && low >= 3)
        << line << " at y " << y << ": " << median << ", " << low;
  };
  // Every text of the menu, the options, the credits and the help.
  for (int i = 0; i < kMenuItems; ++i)
    check({kMenuItemTexts[i].chars, kMenuItemTexts[i].length}, kScreenCentreX, kMenuItemY[i],
          kMenuFont);
  for (const PageLine* page : {kOptionLabels, kCreditLines, kHelpLines})
    for (int j = 0; j < kPageLines; ++j)
      check({page[j].chars, page[j].length}, kScreenCentreX, PageLineY(j), kSmallFont);
  for (const char* word : kInputWords)
    check(word, kOptionValueX, OptionRowY(kRowInput), kSmallFont);
  for (const auto& key : kKeyNames)
    check({key.chars, key.length}, kOptionValueX, OptionRowY(kRowKeyConfig), kSmallFont);
  EXPECT_GE(crossing, 10);

  // While the logo zooms in, each of its pixels is one dot over the menu picture (opaque
  // everywhere: it is copied whole into the back buffer): the brightest tenth stand out clearly.
  const IndexedImage menu = DrawMenuPicture();
  ASSERT_EQ(std::count(menu.pixels.begin(), menu.pixels.end(), 0), 0);
  std::vector<uint8_t> screen(menu.pixels);
  DrawSpriteDotted(screen.data(), kLogoX, kLogoY, kLogoDotsScale, kLogoDotsScale, SpriteOf(logo));
  std::vector<double> dots;
  for (size_t i = 0; i < screen.size(); ++i)
    if (screen[i] != menu.pixels[i])
      dots.push_back(Contrast(Luminance(screen[i]), Luminance(menu.pixels[i])));
  ASSERT_GT(dots.size(), 1000u);
  EXPECT_GE(Quantile(dots, 0.9), 7.0);

  // The tile is laid 40 times over the whole menu: it may only sprinkle a few dots.
  const IndexedImage tile = DrawTile();
  const long opaque = tile.pixels.size() - std::count(tile.pixels.begin(), tile.pixels.end(), 0);
  EXPECT_TRUE(opaque > 20 && opaque < tile.width * tile.height / 20) << opaque;
}
