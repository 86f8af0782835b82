// The art fits the places where the game cuts and draws it: no sprite on a sheet overwrites
// another, the frame pieces leave the beans visible, texts stand on dark windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "beans.h"
#include "fonts.h"
#include "game_art.h"
#include "master_palette.h"
#include "menu_art.h"
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
