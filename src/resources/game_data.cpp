#include "game_data.h"

#include <cstdio>
#include <cstring>

#include "display.h"
#include "fatal.h"
#include "picture.h"
#include "random.h"
#include "sound.h"

Sprite BeanSprites[kBeanColourCodes][kBeanSpritesPerColour];
Sprite FrameTop, FrameTopMirror, FrameBottom, FrameBottomMirror, FrameSide, FrameSideMirror;
Sprite ChainPictures[kChainPictures];
Sprite StartPictures[2];
Sprite ResultPictures[2];
Sprite logoSprite, tileSprite, markerSprite, markerMirrorSprite;
int LoadedAnimation = 0;

namespace {

constexpr int kBeanWidth = 33, kBeanHeight = 28;
constexpr int kBeanStepX = 34;  // bean columns on the sheets
constexpr int kBeanStepY = 29;  // bean rows of the grid sheets

// Sheet positions of pieces cut as one rectangle.
struct Cut {
  int x, y, width, height;
};

uint32_t Offset(int x, int y) {
  return static_cast<uint32_t>(y * kSheetWidth + x);
}

void CutAt(const Cut& c, Sprite& out) {
  CutSprite(FrameBuffer, Offset(c.x, c.y), c.width, c.height, out);
}

void CutBean(int x, int y, Sprite& out) {
  CutSprite(FrameBuffer, Offset(x, y), kBeanWidth, kBeanHeight, out);
}

void LoadSheet(const char* fileName) {
  LoadPicture(FrameBuffer, fileName, false, kSheetWidth, kSheetHeight);
}

// A stand-alone picture in pixels of its own.
void LoadOwnPicture(const char* fileName, int width, int height, Sprite& out) {
  uint8_t* pixels = AllocateSpriteBytes(static_cast<size_t>(width) * height);
  LoadPicture(pixels, fileName, false, width, height);
  out = Sprite{pixels, width, height};
}

// ---- p00: fonts 0..2, the black beans and the top and bottom frame pieces ----

constexpr int kFont0 = 0, kFont1 = 1, kFont2 = 2, kFont3 = 3;
constexpr Cut kFont2Glyph{0, 83, 12, 19};  // glyph k at x = 11 k: neighbours share a column
constexpr int kFont2Step = 11;
constexpr Cut kFont0Glyph{1, 1, 19, 16};  // 16 per row, steps 20 and 17
constexpr int kFont0PerRow = 16, kFont0StepX = 20, kFont0StepY = 17;
constexpr Cut kFont1Glyph{1, 55, 12, 13};  // 24 per row, steps 13 and 14
constexpr int kFont1PerRow = 24, kFont1StepX = 13, kFont1StepY = 14;
constexpr int kBlackBeansFirstRow = 6;  // sprites 0..5 at y 104, 6..9 at y 133
constexpr int kBlackBeanY0 = 104, kBlackBeanY1 = 133;
constexpr Cut kFrameTopCut{0, 162, 199, 18};
constexpr Cut kFrameBottomCut{0, 182, 199, 18};

// ---- p01 and p03: font 3, the tile and the menu marker ----

constexpr Cut kFont3Glyph{4, 1, 49, 36};  // 5 per row, steps 56 and 37
constexpr int kFont3PerRow = 5, kFont3StepX = 56, kFont3StepY = 37;
constexpr int kFont3OnP01 = 25;  // glyphs 0..24 on p01, 25..47 on p03
constexpr Cut kTileCut{169, 149, 150, 50};
constexpr Cut kMarkerCut{7, 188, 22, 9};

// ---- p04..p08: bean sprites 0..48 of one colour each ----

struct BeanAt {
  int x, y;
};
constexpr int kGridBeans = 49;

BeanAt GridBean(int n) {
  if (n <= 5) return {1 + kBeanStepX * n, 1};
  if (n <= 14) return {1 + kBeanStepX * (n - 6), 30};
  if (n <= 38) return {1 + kBeanStepX * ((n - 15) % 8), 59 + kBeanStepY * ((n - 15) / 8)};
  if (n <= 45) return {1 + kBeanStepX * (n - 39), 146};
  return {205 + kBeanStepX * (n - 46), 1};
}

// ---- p09: bean sprites 49..58 of every colour ----

constexpr int kSharedBeans = 10;  // sprites 49..58
// Indexed by colour - 2, then n - 49.
constexpr BeanAt kSharedBean[5][kSharedBeans] = {
    {{1, 117},
     {35, 117},
     {69, 117},
     {103, 117},
     {137, 117},
     {1, 146},
     {35, 146},
     {69, 146},
     {103, 146},
     {137, 146}},
    {{1, 59},
     {35, 59},
     {69, 59},
     {103, 59},
     {137, 59},
     {1, 88},
     {35, 88},
     {69, 88},
     {103, 88},
     {137, 88}},
    {{1, 1},
     {35, 1},
     {69, 1},
     {103, 1},
     {137, 1},
     {1, 30},
     {35, 30},
     {69, 30},
     {103, 30},
     {137, 30}},
    {{171, 1},
     {205, 1},
     {239, 1},
     {273, 1},
     {171, 59},
     {171, 30},
     {205, 30},
     {239, 30},
     {273, 30},
     {171, 88}},
    {{171, 117},
     {205, 117},
     {239, 117},
     {273, 117},
     {205, 59},
     {171, 146},
     {205, 146},
     {239, 146},
     {273, 146},
     {205, 88}},
};

// ---- p10, p11, p16: chain and result pictures ----

struct PictureCut {
  int index;
  Cut cut;
};
constexpr PictureCut kChainsOnP10[] = {{1, {42, 156, 236, 40}},
                                       {8, {44, 111, 235, 41}},
                                       {7, {43, 61, 237, 40}},
                                       {6, {60, 11, 200, 41}}};
constexpr PictureCut kChainsOnP11[] = {
    {2, {27, 4, 230, 34}}, {3, {62, 51, 210, 40}}, {4, {3, 94, 169, 40}}, {5, {57, 155, 199, 41}}};
constexpr PictureCut kResults[] = {{0, {5, 25, 312, 49}}, {1, {5, 81, 310, 52}}};

void CutFontGlyphs(int font, int first, int count, const Cut& glyph, int perRow, int stepX,
                   int stepY) {
  for (int j = 0; j < count; ++j)
    CutSprite(FrameBuffer, Offset(glyph.x + stepX * (j % perRow), glyph.y + stepY * (j / perRow)),
              glyph.width, glyph.height, FontGlyphs[font][first + j]);
}

void ClearTables() {
  for (auto& colour : BeanSprites)
    for (auto& s : colour) s = Sprite{};
  for (auto& font : FontGlyphs)
    for (auto& s : font) s = Sprite{};
  FrameTop = FrameTopMirror = FrameBottom = FrameBottomMirror = FrameSide = FrameSideMirror = {};
  for (auto& s : ChainPictures) s = Sprite{};
  StartPictures[0] = StartPictures[1] = ResultPictures[0] = ResultPictures[1] = {};
  logoSprite = tileSprite = markerSprite = markerMirrorSprite = {};
  for (auto& f : AnimFrames) f = nullptr;
}

}  // namespace

void LoadGameData(int animation) {
  ResetSpriteStore();
  ClearTables();
  // 1.
  AllocateScreenBuffers();

  // 2.
  LoadSheet("data/plonkix.p00");
  for (int k = 0; k < kFont2Glyphs; ++k)
    CutSprite(FrameBuffer, Offset(kFont2Step * k, kFont2Glyph.y), kFont2Glyph.width,
              kFont2Glyph.height, FontGlyphs[kFont2][k]);
  CutFontGlyphs(kFont0, 0, kGlyphsPerFont, kFont0Glyph, kFont0PerRow, kFont0StepX, kFont0StepY);
  CutFontGlyphs(kFont1, 0, kGlyphsPerFont, kFont1Glyph, kFont1PerRow, kFont1StepX, kFont1StepY);
  for (int k = 0; k < kBlackBeanSprites; ++k) {
    const bool firstRow = k < kBlackBeansFirstRow;
    const int column = firstRow ? k : k - kBlackBeansFirstRow;
    CutBean(1 + kBeanStepX * column, firstRow ? kBlackBeanY0 : kBlackBeanY1, BeanSprites[1][k]);
  }
  CutAt(kFrameTopCut, FrameTop);
  MirrorSprite(FrameTop.pixels, FrameTop.width, FrameTop.height, FrameTopMirror);
  CutAt(kFrameBottomCut, FrameBottom);
  MirrorSprite(FrameBottom.pixels, FrameBottom.width, FrameBottom.height, FrameBottomMirror);

  // 3.
  LoadSheet("data/plonkix.p01");
  CutFontGlyphs(kFont3, 0, kFont3OnP01, kFont3Glyph, kFont3PerRow, kFont3StepX, kFont3StepY);

  // 4.
  LoadOwnPicture("data/plonkix.p02", kLogoWidth, kLogoHeight, logoSprite);

  // 5.
  LoadSheet("data/plonkix.p03");
  CutFontGlyphs(kFont3, kFont3OnP01, kGlyphsPerFont - kFont3OnP01, kFont3Glyph, kFont3PerRow,
                kFont3StepX, kFont3StepY);
  CutAt(kTileCut, tileSprite);
  CutAt(kMarkerCut, markerSprite);
  MirrorSprite(markerSprite.pixels, markerSprite.width, markerSprite.height, markerMirrorSprite);

  // 6. One sheet per colour: p04 .. p08.
  char fileName[32];
  for (int c = 2; c <= 6; ++c) {
    snprintf(fileName, sizeof fileName, "data/plonkix.p%02d", c + 2);
    LoadSheet(fileName);
    for (int n = 0; n < kGridBeans; ++n) {
      const BeanAt at = GridBean(n);
      CutBean(at.x, at.y, BeanSprites[c][n]);
    }
  }

  // 7.
  LoadSheet("data/plonkix.p09");
  for (int c = 2; c <= 6; ++c)
    for (int k = 0; k < kSharedBeans; ++k)
      CutBean(kSharedBean[c - 2][k].x, kSharedBean[c - 2][k].y, BeanSprites[c][kGridBeans + k]);

  // 8, 9.
  LoadSheet("data/plonkix.p10");
  for (const PictureCut& p : kChainsOnP10) CutAt(p.cut, ChainPictures[p.index]);
  LoadSheet("data/plonkix.p11");
  for (const PictureCut& p : kChainsOnP11) CutAt(p.cut, ChainPictures[p.index]);

  // 10..12.
  LoadOwnPicture("data/plonkix.p12", kChainZeroWidth, kChainZeroHeight, ChainPictures[0]);
  LoadOwnPicture("data/plonkix.p13", kStartPictureWidth, kStartPictureHeight, StartPictures[0]);
  LoadOwnPicture("data/plonkix.p14", kStartPictureWidth, kStartPictureHeight, StartPictures[1]);
  LoadOwnPicture("data/plonkix.p15", kFrameSideWidth, kFrameSideHeight, FrameSide);
  MirrorSprite(FrameSide.pixels, FrameSide.width, FrameSide.height, FrameSideMirror);

  // 13.
  LoadSheet("data/plonkix.p16");
  for (const PictureCut& p : kResults) CutAt(p.cut, ResultPictures[p.index]);

  // 14. The game screen cycles through all ten images, so a file with fewer cannot be shown.
  LoadedAnimation = animation >= 0 && animation < kAnimationFiles
                        ? animation
                        : static_cast<int>(Random(kAnimationFiles));
  snprintf(fileName, sizeof fileName, "data/plonkix.f%02d", LoadedAnimation);
  const int images = LoadAnimation(AnimFrames, fileName);
  if (images != kAnimImages)
    FatalError("%s: holds %d images, the game needs %d", fileName, images, kAnimImages);

  // 15.
  if (SoundAvailable)
    for (int k = 0; k < kSoundCount; ++k) {
      snprintf(fileName, sizeof fileName, "data/plonkix.w%02d", k);
      LoadSound(fileName, Sounds[k]);
    }
}
