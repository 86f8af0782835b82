// The art fits the places where the game cuts and draws it: sheet positions, the frame table,
// and the backgrounds behind the texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "beans.h"
#include "fonts.h"
#include "game_art.h"
#include "master_palette.h"
#include "menu_art.h"
#include "preview.h"
#include "sheet_layout.h"

namespace {

std::vector<SheetRect> EveryCut() {
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
  return cuts;
}

bool Overlap(const SheetRect& a, const SheetRect& b) {
  return a.picture == b.picture && a.x < b.x + b.width && b.x < a.x + a.width &&
         a.y < b.y + b.height && b.y < a.y + a.height;
}

// Brightness 0..1 of a master palette entry.
double Brightness(uint8_t index) {
  const uint8_t* c = MasterPalette().rgb + 3 * index;
  return (0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2]) / 255;
}

}  // namespace

TEST(SheetLayout, EveryCutLiesInsideItsPictureWithoutOverlappingAnother) {
  const std::vector<SheetRect> cuts = EveryCut();
  EXPECT_EQ(cuts.size(), 48u * 3 + 11 + 10 + 5 * 59 + 9 + 4 + 6);
  for (size_t i = 0; i < cuts.size(); ++i) {
    const SheetRect& a = cuts[i];
    EXPECT_GE(a.x, 0) << i;
    EXPECT_GE(a.y, 0) << i;
    EXPECT_LE(a.x + a.width, PictureWidth(a.picture)) << i;
    EXPECT_LE(a.y + a.height, PictureHeight(a.picture)) << i;
    for (size_t j = i + 1; j < cuts.size(); ++j) {
      // Digit glyphs share one column with their neighbour by design.
      const bool digits =
          a.picture == 0 && a.y == 83 && cuts[j].y == 83 && std::abs(a.x - cuts[j].x) == 11;
      if (!digits) {
        EXPECT_FALSE(Overlap(a, cuts[j])) << "cuts " << i << " and " << j;
      }
    }
  }
  // Sheets are 320 x 200; the stand-alone pictures have their fixed sizes.
  for (int p : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16}) {
    EXPECT_EQ(PictureWidth(p), 320);
    EXPECT_EQ(PictureHeight(p), 200);
  }
  EXPECT_EQ(PictureWidth(2) * PictureHeight(2), 306 * 70);
  EXPECT_EQ(PictureWidth(12) * PictureHeight(12), 200 * 50);
  EXPECT_EQ(PictureWidth(15) * PictureHeight(15), 14 * 374);
}

TEST(SheetLayout, BeanPositionsFollowTheLoadersGrid) {
  EXPECT_EQ(BeanRect(1, 5).x, 171);
  EXPECT_EQ(BeanRect(1, 6).y, 133);
  EXPECT_EQ(BeanRect(4, 20).picture, 6);
  EXPECT_EQ(BeanRect(4, 20).x, 1 + 34 * 5);
  EXPECT_EQ(BeanRect(4, 20).y, 59);
  EXPECT_EQ(BeanRect(2, 47).x, 239);
  EXPECT_EQ(BeanRect(5, 53).x, 171);
  EXPECT_EQ(BeanRect(5, 53).y, 59);
  EXPECT_EQ(BeanRect(6, 58).x, 205);
  EXPECT_EQ(BeanRect(6, 58).y, 88);
  EXPECT_EQ(BeanRect(3, 56).y, 88);
  EXPECT_EQ(GlyphRect(3, 30).picture, 3);
  EXPECT_EQ(GlyphRect(3, 30).x, 4 + 56 * 0);
  EXPECT_EQ(GlyphRect(3, 30).y, 1 + 37 * 1);
}

TEST(FrameTable, EveryStepShowsASpriteOfItsOwnLinkShape) {
  // The frame table only ever picks sprites drawn with the links the cell has.
  for (int links = 0; links < 16; ++links)
    for (int step = 0; step < 32; ++step) {
      const int n = BeanSpriteFor(links, step);
      ASSERT_GE(n, 0);
      ASSERT_LT(n, kBeanSpriteCount);
      EXPECT_EQ(PoseOfSprite(n).links, links) << "links " << links << " step " << step;
    }
  // A few entries of the table as the game has it.
  EXPECT_EQ(BeanSpriteFor(0, 14), 5);
  EXPECT_EQ(BeanSpriteFor(0, 28), 9);
  EXPECT_EQ(BeanSpriteFor(2, 26), 17);
  EXPECT_EQ(BeanSpriteFor(8, 17), 25);
  EXPECT_EQ(BeanSpriteFor(4, 30), 30);
  EXPECT_EQ(BeanSpriteFor(10, 25), 43);
  EXPECT_EQ(BeanSpriteFor(12, 27), 34);
  EXPECT_EQ(BeanSpriteFor(15, 31), 46);
}

TEST(GameBackground, TextsAndBeansStandOnDarkWindows) {
  const IndexedImage bg = DrawGameBackground();
  ASSERT_EQ(bg.width, 640);
  ASSERT_EQ(bg.height, 400);
  const auto dark = [&](int x, int y) { return Brightness(bg.At(x, y)) < 0.22; };
  // Every cell of both wells.
  for (int p = 1; p <= 2; ++p)
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c)
        EXPECT_TRUE(dark(kFieldX[p] + kCellW * c, kFieldY + kCellH * r))
            << p << ":" << c << "," << r;
  // The message lines, the frames-per-second meter, the next pairs, the names, the level texts,
  // the danger warnings and the colour bars with the animation.
  for (int k = 0; k < kMessageLines; ++k)
    for (int x = kMessageX - 80; x <= kMessageX + 80; x += 20)
      EXPECT_TRUE(dark(x, kMessageY + kMessageStep * k)) << x << "," << k;
  EXPECT_TRUE(dark(kFpsX, kFpsY));
  for (int p = 1; p <= 2; ++p) {
    for (int y : kNextY) EXPECT_TRUE(dark(kNextX[p], y));
    EXPECT_TRUE(dark(kNameX[p], kNameY));
    EXPECT_TRUE(dark(kLevelX[p], kBottomTextY));
    EXPECT_TRUE(dark(kScoreX[p], kBottomTextY));
    for (int k = 1; k <= 6; ++k) EXPECT_TRUE(dark(kBarX[p], kBarTop + kBarStep * k + 4));
  }
  for (int x = kAnimX - 70; x <= kAnimX + 70; x += 10) EXPECT_TRUE(dark(x, kAnimY)) << x;
}

TEST(GameBackground, RailsMatchTheFramePiecesThatRepeatThem) {
  // Below the side pieces (y 374..382) only the background draws the rails: same colours.
  const IndexedImage bg = DrawGameBackground();
  const IndexedImage side = DrawFrameSide();
  for (int p = 0; p < 2; ++p)
    for (int y : {200, 376, 381})
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bg.At(kFrameSideX[2 * p] - 7 + i, y), side.At(i, 100))
            << p << ":" << y << ":" << i;
        EXPECT_EQ(bg.At(kFrameSideX[2 * p + 1] + 6 - i, y), side.At(i, 100))
            << p << ":" << y << ":" << i;
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
  int leftmostTipRow = -1;
  for (int x = marker.width - 1; x >= 0 && leftmostTipRow < 0; --x)
    if (marker.At(x, marker.height / 2)) leftmostTipRow = x;
  EXPECT_GT(leftmostTipRow, marker.width * 3 / 4);
  EXPECT_EQ(marker.At(marker.width - 1, 0), 0);
  // The menu picture is opaque everywhere (it is copied whole into the back buffer).
  const IndexedImage menu = DrawMenuPicture();
  EXPECT_EQ(std::count(menu.pixels.begin(), menu.pixels.end(), 0), 0);
}
