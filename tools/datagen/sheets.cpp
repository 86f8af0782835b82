#include "sheets.h"

#include "beans.h"
#include "fonts.h"
#include "game_art.h"
#include "menu_art.h"

namespace {
void Place(MasterPictures& m, const SheetRect& r, const IndexedImage& image) {
  m.picture[r.picture].Paste(image, r.x, r.y);
}
}  // namespace

MasterPictures BuildMasterPictures() {
  MasterPictures m;
  for (int p = 0; p < kMasterPictures; ++p)
    m.picture[p] = IndexedImage(PictureWidth(p), PictureHeight(p));
  for (int font = 0; font < 4; ++font) {
    const int count = font == 2 ? kDigitGlyphs : kLetterGlyphs;
    for (int k = 0; k < count; ++k) Place(m, GlyphRect(font, k), DrawGlyph(font, k));
  }
  for (int n = 0; n < kBlackBeanSpriteCount; ++n) Place(m, BeanRect(1, n), DrawBeanSprite(1, n));
  for (int c = 2; c <= 6; ++c)
    for (int n = 0; n < kBeanSpriteCount; ++n) Place(m, BeanRect(c, n), DrawBeanSprite(c, n));
  Place(m, FrameTopRect(), DrawFrameTop());
  Place(m, FrameBottomRect(), DrawFrameBottom());
  Place(m, FrameSideRect(), DrawFrameSide());
  for (int k = 0; k < 9; ++k) Place(m, ChainRect(k), DrawChainPicture(k));
  for (int k = 0; k < 2; ++k) Place(m, StartRect(k), DrawStartPicture(k));
  for (int k = 0; k < 2; ++k) Place(m, ResultRect(k), DrawResultPicture(k));
  Place(m, LogoRect(), DrawLogo());
  Place(m, TileRect(), DrawTile());
  Place(m, MarkerRect(), DrawMarker());
  m.menu = DrawMenuPicture();
  m.background = DrawGameBackground();
  return m;
}

IndexedImage Cut(const MasterPictures& pictures, const SheetRect& rect) {
  const IndexedImage& source = pictures.picture[rect.picture];
  IndexedImage out(rect.width, rect.height);
  for (int y = 0; y < rect.height; ++y)
    for (int x = 0; x < rect.width; ++x) out.At(x, y) = source.At(rect.x + x, rect.y + y);
  return out;
}
