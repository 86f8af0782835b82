// The art fits the places where the game draws it: the frame pieces leave the beans visible,
// texts stand on dark windows, the texts the menu's screens draw over the logo stand out from it.
// (That no sprite on a sheet overwrites another shows in the data-set test: every sprite the
// game cuts is its drawing.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "fonts.h"
#include "game_art.h"
#include "info_pages.h"
#include "main_menu.h"
#include "master_palette.h"
#include "menu_art.h"
#include "options_screen.h"

namespace {

// Whether the rectangle x0..x1, y0..y1 of a picture is transparent.
bool Empty(const IndexedImage& s, int x0, int y0, int x1, int y1) {
  bool empty = true;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) empty &= !s.At(x, y);
  return empty;
}

// Relative luminance of a master palette entry, and the contrast ratio of two luminances.
double Luminance(uint8_t index) {
  const auto linear = [index](int k) {
    const double v = MasterPalette().rgb[3 * index + k] / 255.0;
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

TEST(FramePieces, LeaveTheBeansUnderThemVisible) {
  // The side piece overlaps column 0 from its fifth column on; the bottom piece overlaps the
  // bottom row down to its last two rows, which no bean reaches (see the bean sprites' test).
  const IndexedImage side = DrawFrameSide();
  for (int x = 0; x < side.width; ++x)
    EXPECT_EQ(Empty(side, x, 0, x, side.height - 1), x >= 4) << x;
  const IndexedImage bottom = DrawFrameBottom();
  for (int y = 0; y < bottom.height; ++y)
    EXPECT_EQ(Empty(bottom, 0, y, bottom.width - 1, y), y < 16) << y;
  // The top piece is solid: it covers the hidden row above the field.
  const IndexedImage top = DrawFrameTop();
  EXPECT_EQ(std::count(top.pixels.begin(), top.pixels.end(), 0), 0);
}

TEST(GameBackground, TextsAndBeansStandOnDarkWindows) {
  const IndexedImage bg = DrawGameBackground();
  const auto dark = [&](int x, int y) { return Luminance(bg.At(x, y)) < 0.04; };
  // Every cell of both wells.
  for (int p = 1; p <= 2; ++p)
    for (int r = 0; r < kVisibleRows; ++r)
      for (int c = 0; c < kColumns; ++c)
        EXPECT_TRUE(dark(kFieldOriginX[p] + kCellWidth * c, kFieldOriginY + kCellHeight * r))
            << p << ":" << c << "," << r;
  // The message lines, the frames-per-second meter, the next pairs, the names, the level texts,
  // the danger warnings and the colour bars with the animation.
  for (int k = 0; k < kMessageLines; ++k)
    for (int x = kPanelCentreX - 80; x <= kPanelCentreX + 80; x += 20)
      EXPECT_TRUE(dark(x, kMessageY + kMessageLineStep * k)) << x << "," << k;
  EXPECT_TRUE(dark(kPanelCentreX, kFpsY));
  for (int p = 1; p <= 2; ++p) {
    for (int y : {kNextPairAY, kNextPairBY}) EXPECT_TRUE(dark(kNextPairX[p], y));
    EXPECT_TRUE(dark(kNameX[p], kNameY));
    EXPECT_TRUE(dark(kLevelTextX[p], kLevelTextY));
    EXPECT_TRUE(dark(kPanelX[p], kDangerY));
    for (int k = 1; k <= 6; ++k)
      EXPECT_TRUE(dark(kColourBarX[p], kColourBarTop + kColourBarRowStep * k + 4));
  }
  for (int x = kAnimX - 70; x <= kAnimX + 70; x += 10) EXPECT_TRUE(dark(x, kAnimY)) << x;

  // Below the side pieces (y 374..382) only the background draws the rails: same colours.
  const IndexedImage side = DrawFrameSide();
  for (int p = 0; p < 2; ++p)
    for (int y : {200, 376, 381})
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bg.At(kFrameSideX[2 * p] - 7 + i, y), side.At(i, 100)) << p << ":" << y;
        EXPECT_EQ(bg.At(kFrameSideX[2 * p + 1] + 6 - i, y), side.At(i, 100)) << p << ":" << y;
      }
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
