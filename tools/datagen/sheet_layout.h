// Where the game's loader cuts every sprite from the pictures p00..p16.
#pragma once

constexpr int kSpriteSheetWidth = 320;
constexpr int kSpriteSheetHeight = 200;
constexpr int kMasterPictures = 17;  // p00..p16

// Pictures that are not 320 x 200 sheets but stand-alone sprites.
constexpr int kLogoPicture = 2, kLogoPictureWidth = 306, kLogoPictureHeight = 70;
constexpr int kCounterPicture = 12, kCounterWidth = 200, kCounterHeight = 50;
constexpr int kStartPicture0 = 13, kStartPicture1 = 14, kStartWidth = 274, kStartHeight = 110;
constexpr int kSidePicture = 15, kSideWidth = 14, kSideHeight = 374;

struct SheetRect {
  int picture;  // p-number
  int x, y, width, height;
};

// Glyph k of font 0, 1 or 3 (font 2: k = 0..10).
SheetRect GlyphRect(int font, int k);
// Bean sprite n of colour code c (1: n = 0..9; 2..6: n = 0..58).
SheetRect BeanRect(int colour, int n);
SheetRect FrameTopRect();
SheetRect FrameBottomRect();
SheetRect FrameSideRect();
// ChainPictures[0..8].
SheetRect ChainRect(int k);
SheetRect StartRect(int k);
SheetRect ResultRect(int k);
SheetRect LogoRect();
SheetRect TileRect();
SheetRect MarkerRect();

// Width and height of picture p00..p16.
int PictureWidth(int picture);
int PictureHeight(int picture);
