#include "sheet_layout.h"

#include "beans.h"
#include "fonts.h"

namespace {
constexpr int kBeanStep = 34;        // column step of the bean grids
constexpr int kBeanSheetsFirst = 4;  // colour c's sprites 0..48 are on p(c + 2)
constexpr int kLinkedBeanSheet = 9;  // sprites 49..58 of every colour
constexpr int kFont3FirstSheet = 1, kFont3SecondSheet = 3, kFont3FirstCount = 25;

SheetRect Bean(int picture, int x, int y) {
  return {picture, x, y, kBeanWidth, kBeanHeight};
}
}  // namespace

SheetRect GlyphRect(int font, int k) {
  const GlyphSize s = kGlyphSize[font];
  switch (font) {
    case 0:
      return {0, 1 + 20 * (k % 16), 1 + 17 * (k / 16), s.width, s.height};
    case 1:
      return {0, 1 + 13 * (k % 24), 55 + 14 * (k / 24), s.width, s.height};
    case 2:
      return {0, 11 * k, 83, s.width, s.height};
    default: {
      const int picture = k < kFont3FirstCount ? kFont3FirstSheet : kFont3SecondSheet;
      const int j = k < kFont3FirstCount ? k : k - kFont3FirstCount;
      return {picture, 4 + 56 * (j % 5), 1 + 37 * (j / 5), s.width, s.height};
    }
  }
}

SheetRect BeanRect(int colour, int n) {
  if (colour == 1)
    return n < 6 ? Bean(0, 1 + kBeanStep * n, 104) : Bean(0, 1 + kBeanStep * (n - 6), 133);
  const int sheet = kBeanSheetsFirst + colour - 2;
  if (n <= 5) return Bean(sheet, 1 + kBeanStep * n, 1);
  if (n <= 14) return Bean(sheet, 1 + kBeanStep * (n - 6), 30);
  if (n <= 38) return Bean(sheet, 1 + kBeanStep * ((n - 15) % 8), 59 + 29 * ((n - 15) / 8));
  if (n <= 45) return Bean(sheet, 1 + kBeanStep * (n - 39), 146);
  if (n <= 48) return Bean(sheet, 205 + kBeanStep * (n - 46), 1);
  // 49..53 (joined right and above) and 54..58 (left and above) share p09.
  const int k = n <= 53 ? n - 49 : n - 54;
  const bool second = n >= 54;
  switch (colour) {
    case 2:
      return Bean(kLinkedBeanSheet, 1 + kBeanStep * k, second ? 146 : 117);
    case 3:
      return Bean(kLinkedBeanSheet, 1 + kBeanStep * k, second ? 88 : 59);
    case 4:
      return Bean(kLinkedBeanSheet, 1 + kBeanStep * k, second ? 30 : 1);
    case 5:
      if (k < 4) return Bean(kLinkedBeanSheet, 171 + kBeanStep * k, second ? 30 : 1);
      return Bean(kLinkedBeanSheet, 171, second ? 88 : 59);
    default:
      if (k < 4) return Bean(kLinkedBeanSheet, 171 + kBeanStep * k, second ? 146 : 117);
      return Bean(kLinkedBeanSheet, 205, second ? 88 : 59);
  }
}

SheetRect FrameTopRect() {
  return {0, 0, 162, 199, 18};
}
SheetRect FrameBottomRect() {
  return {0, 0, 182, 199, 18};
}
SheetRect FrameSideRect() {
  return {kSidePicture, 0, 0, kSideWidth, kSideHeight};
}

SheetRect ChainRect(int k) {
  static const SheetRect rects[9] = {
      {kCounterPicture, 0, 0, kCounterWidth, kCounterHeight},
      {10, 42, 156, 236, 40},
      {11, 27, 4, 230, 34},
      {11, 62, 51, 210, 40},
      {11, 3, 94, 169, 40},
      {11, 57, 155, 199, 41},
      {10, 60, 11, 200, 41},
      {10, 43, 61, 237, 40},
      {10, 44, 111, 235, 41},
  };
  return rects[k];
}

SheetRect StartRect(int k) {
  return {k == 0 ? kStartPicture0 : kStartPicture1, 0, 0, kStartWidth, kStartHeight};
}

SheetRect ResultRect(int k) {
  return k == 0 ? SheetRect{16, 5, 25, 312, 49} : SheetRect{16, 5, 81, 310, 52};
}
SheetRect LogoRect() {
  return {kLogoPicture, 0, 0, kLogoPictureWidth, kLogoPictureHeight};
}
SheetRect TileRect() {
  return {3, 169, 149, 150, 50};
}
SheetRect MarkerRect() {
  return {3, 7, 188, 22, 9};
}

int PictureWidth(int picture) {
  switch (picture) {
    case kLogoPicture:
      return kLogoPictureWidth;
    case kCounterPicture:
      return kCounterWidth;
    case kStartPicture0:
    case kStartPicture1:
      return kStartWidth;
    case kSidePicture:
      return kSideWidth;
    default:
      return kSpriteSheetWidth;
  }
}

int PictureHeight(int picture) {
  switch (picture) {
    case kLogoPicture:
      return kLogoPictureHeight;
    case kCounterPicture:
      return kCounterHeight;
    case kStartPicture0:
    case kStartPicture1:
      return kStartHeight;
    case kSidePicture:
      return kSideHeight;
    default:
      return kSpriteSheetHeight;
  }
}
