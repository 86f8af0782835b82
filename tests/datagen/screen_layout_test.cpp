// The art fits the places where the game cuts and draws it: no sprite on a sheet overwrites
// another, the frame pieces leave the beans visible, texts stand on dark windows, the texts the
// menu's screens draw over the logo stand out from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "beans.h"
#include "fonts.h"
#include "game_art.h"
#include "info_pages.h"
#include "main_menu.h"
#include "master_palette.h"
#include "menu_art.h"
#include "options_screen.h"
#include "sheet_layout.h"

namespace {

bool Empty(const IndexedImage& s, int x0, int y0, int x1, int y1) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (s.At(x, y)) return false;
  return true;
}

// Brightness 0..1 of a master palette entry.
double Brightness(uint8_t index) {
  const uint8_t* c = MasterPalette().rgb + 3 * index;
  return (0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2]) / 255;
}

// Relative luminance of a master palette entry, and the contrast ratio of two luminances.
double Luminance(uint8_t index) {
  double l = 0;
  for (int k = 0; k < 3; ++k) {
    const double v = MasterPalette().rgb[3 * index + k] / 255.0;
    l += (k == 0   ? 0.2126
          : k == 1 ? 0.7152
                   : 0.0722) *
         (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
  }
  return l;
}
double Contrast(double a, double b) {
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Sprite SpriteOf(IndexedImage& image) {
  return Sprite{image.pixels.data(), image.width, image.height};
}

}  // namespace

TEST(SheetLayout, NoCutOverlapsAnother) {
  std::vector<SheetRect> cuts;
  for (int font = 0; font < 4; ++font)
    for (int k = 0; k < (font == 2 ? kDigitGlyphs : kLetterGlyphs); ++k)
      cuts.push_back(GlyphRect(font, k));
  for (int c = 1; c <= 6; ++c)
    for (int n = 0; n < (c == 1 ? kBlackBeanSpriteCount : kBeanSpriteCount); ++n)
      cuts.push_back(BeanRect(c, n));
  for (int k = 0; k < 9; ++k) cuts.push_back(ChainRect(k));
  for (int k = 0; k < 2; ++k) cuts.push_back(StartRect(k)), cuts.push_back(ResultRect(k));
  for (const SheetRect& r :
       {FrameTopRect(), FrameBottomRect(), FrameSideRect(), LogoRect(), TileRect(), MarkerRect()})
    cuts.push_back(r);
  for (size_t i = 0; i < cuts.size(); ++i)
    for (size_t j = i + 1; j < cuts.size(); ++j) {
      const SheetRect &a = cuts[i], &b = cuts[j];
      // Digit glyphs share one column with their neighbour by design.
      const bool digits = a.picture == 0 && a.y == 83 && b.y == 83 && std::abs(a.x - b.x) == 11;
      EXPECT_FALSE(!digits && a.picture == b.picture && a.x < b.x + b.width &&
                   b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height)
          << "cuts " << i << " and " << j;
    }
}

TEST(FramePieces, LeaveTheBeansUnderThemVisible) {
  // The side piece overlaps column 0 from its fifth column on; the bottom piece overlaps the
  // bottom row down to its last two rows.
  const IndexedImage side = DrawFrameSide();
  for (int x = 0; x < side.width; ++x)
    EXPECT_EQ(Empty(side, x, 0, x, side.height - 1), x >= 4) << x;
  const IndexedImage bottom = DrawFrameBottom();
  for (int y = 0; y < bottom.height; ++y)
    EXPECT_EQ(Empty(bottom, 0, y, bottom.width - 1, y), y < 16) << y;
  // Beans of the bottom row never reach those last two rows.
  for (int n = 0; n < kBeanSpriteCount; ++n)
    if (!(PoseOfSprite(n).links & kLinkDown)) {
      EXPECT_TRUE(Empty(DrawBeanSprite(2, n), 0, kBeanHeight - 2, kBeanWidth - 1, kBeanHeight - 1))
          << n;
    }
  // The top piece is solid: it covers the hidden row above the field.
  const IndexedImage top = DrawFrameTop();
  EXPECT_EQ(std::count(top.pixels.begin(), top.pixels.end(), 0), 0);
}

TEST(GameBackground, TextsAndBeansStandOnDarkWindows) {
  const IndexedImage bg = DrawGameBackground();
  const auto dark = [&](int x, int y) { return Brightness(bg.At(x, y)) < 0.22; };
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

TEST(MenuArt, TileAndMarkerLeaveTheMenuReadable) {
  // The tile is laid 40 times over the whole menu: it may only sprinkle a few dots.
  const IndexedImage tile = DrawTile();
  const long opaque =
      std::count_if(tile.pixels.begin(), tile.pixels.end(), [](uint8_t v) { return v; });
  EXPECT_GT(opaque, 20);
  EXPECT_LT(opaque, tile.width * tile.height / 20);
  // The marker is an arrow pointing right, at the items: its tip column is right of centre.
  const IndexedImage marker = DrawMarker();
  int tip = -1;
  for (int x = marker.width - 1; x >= 0 && tip < 0; --x)
    if (marker.At(x, marker.height / 2)) tip = x;
  EXPECT_GT(tip, marker.width * 3 / 4);
  EXPECT_EQ(marker.At(marker.width - 1, 0), 0);
  // The menu picture is opaque everywhere (it is copied whole into the back buffer).
  const IndexedImage menu = DrawMenuPicture();
  EXPECT_EQ(std::count(menu.pixels.begin(), menu.pixels.end(), 0), 0);
}

TEST(MenuArt, TextsOverTheLogoStandOutFromItAndItsDotsShow) {
  static std::vector<IndexedImage> glyphs;  // font 3, as the game holds it; font 4 draws it halved
  for (int k = 0; k < kLetterGlyphs; ++k) glyphs.push_back(DrawGlyph(3, k));
  for (int k = 0; k < kLetterGlyphs; ++k) FontGlyphs[3][k] = SpriteOf(glyphs[k]);
  IndexedImage logo = DrawLogo();
  std::vector<uint8_t> behind(640 * 400), text(640 * 400);
  DrawSprite(behind.data(), kLogoX, kLogoY, SpriteOf(logo));
  // Every text of the menu, the options, the credits and the help, where the game draws it.
  struct Line {
    const char* chars;
    uint32_t length;
    int32_t x, y;
    int font;
  };
  std::vector<Line> lines;
  for (int i = 0; i < kMenuItems; ++i)
    lines.push_back({kMenuItemTexts[i].chars, kMenuItemTexts[i].length, kScreenCentreX,
                     kMenuItemY[i], kMenuFont});
  for (const PageLine* page : {kOptionLabels, kCreditLines, kHelpLines})
    for (int j = 0; j < kPageLines; ++j)
      lines.push_back({page[j].chars, page[j].length, kScreenCentreX, PageLineY(j), kSmallFont});
  for (const char* word : kInputWords)
    lines.push_back({word, static_cast<uint32_t>(strlen(word)), kOptionValueX,
                     OptionRowY(kRowInput), kSmallFont});
  for (const auto& key : kKeyNames)
    lines.push_back({key.chars, key.length, kOptionValueX, OptionRowY(kRowKeyConfig), kSmallFont});

  int crossing = 0;
  for (const Line& line : lines) {
    std::fill(text.begin(), text.end(), 0);
    DrawTextN(text.data(), line.chars, line.length, line.x, line.y, line.font);
    // The fill is every glyph pixel lighter than the dark outline; the text's colour is its
    // median luminance, set against each logo pixel the fill covers.
    std::vector<double> fill, under;
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] && Luminance(text[i]) > 0.1) {
        fill.push_back(Luminance(text[i]));
        if (behind[i]) under.push_back(Luminance(behind[i]));
      }
    if (under.empty()) continue;
    ++crossing;
    std::nth_element(fill.begin(), fill.begin() + fill.size() / 2, fill.end());
    std::vector<double> ratios;
    for (double l : under) ratios.push_back(Contrast(fill[fill.size() / 2], l));
    std::sort(ratios.begin(), ratios.end());
    const double clear =
        static_cast<double>(ratios.end() - std::lower_bound(ratios.begin(), ratios.end(), 3.0)) /
        ratios.size();
    const std::string what =
        std::string(line.chars, line.length) + " at y " + std::to_string(line.y);
    EXPECT_GE(ratios[ratios.size() / 2], 4.5) << what;
    EXPECT_GE(clear, 0.7) << what << ": logo pixels behind the text at 3:1 or more";
  }
  EXPECT_GE(crossing, 10);

  // While the logo zooms in, each of its pixels is one dot over the menu picture: the brightest
  // tenth of them must stand out clearly.
  const IndexedImage menu = DrawMenuPicture();
  std::vector<uint8_t> screen(menu.pixels);
  DrawSpriteDotted(screen.data(), kLogoX, kLogoY, kLogoDotsScale, kLogoDotsScale, SpriteOf(logo));
  std::vector<double> dots;
  for (size_t i = 0; i < screen.size(); ++i)
    if (screen[i] != menu.pixels[i])
      dots.push_back(Contrast(Luminance(screen[i]), Luminance(menu.pixels[i])));
  ASSERT_GT(dots.size(), 1000u);
  std::nth_element(dots.begin(), dots.begin() + dots.size() * 9 / 10, dots.end());
  EXPECT_GE(dots[dots.size() * 9 / 10], 7.0);
}
