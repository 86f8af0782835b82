#include "fonts.h"

#include <algorithm>

#include "art.h"

namespace {

constexpr const char kPunctuation[] = "!'()*+,-./:?";
constexpr int kFirstPunctuation = 36;

struct FontLook {
  double capHeight;  // pixel height of the capitals' ink
  double outline;    // stroke width of the dark outline (half of it lies outside the letter)
  double shadow;     // drop shadow offset, 0 = none
  int sideMargin;    // empty columns kept at each side
  double xScale;     // horizontal squeeze of the letters
  Colour top, middle, bottom, outlineColour;
};

const FontLook& Look(int font) {
  static const FontLook looks[4] = {
      // Font 0: game-screen texts, warm gold.
      {11.0, 3.0, 0, 1, 1.3, HexColour(0xfffbe0), HexColour(0xffd84a), HexColour(0xff7a10),
       HexColour(0x1c0a1e)},
      // Font 1: small status texts, white to ice blue.
      {8.8, 2.6, 0, 1, 1.12, HexColour(0xffffff), HexColour(0xf0f4ff), HexColour(0x9cc8ff),
       HexColour(0x0a0a24)},
      // Font 2: score digits, tall white-gold.
      {14.2, 2.8, 0, 1, 0.74, HexColour(0xffffff), HexColour(0xfff2a8), HexColour(0xffb830),
       HexColour(0x140a20)},
      // Font 3: menu items, big glossy candy letters with a shadow.
      {26.0, 5.0, 2.5, 2, 1.32, HexColour(0xfffff0), HexColour(0xffd838), HexColour(0xff5a1e),
       HexColour(0x1a0626)},
  };
  return looks[font];
}

}  // namespace

char GlyphCharacter(int k) {
  if (k < 26) return static_cast<char>('A' + k);
  if (k < kFirstPunctuation) return static_cast<char>('0' + k - 26);
  return kPunctuation[k - kFirstPunctuation];
}

IndexedImage DrawGlyph(int font, int k) {
  const GlyphSize size = kGlyphSize[font];
  const FontLook& look = Look(font);
  char text[2] = {font == 2 ? (k < 10 ? static_cast<char>('0' + k) : '-') : GlyphCharacter(k), 0};
  Canvas canvas(size.width, size.height);
  cairo_t* cr = canvas.cr();
  cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  // Size the face so that the capitals have the wanted height.
  cairo_set_font_size(cr, 100);
  cairo_text_extents_t cap;
  cairo_text_extents(cr, "H", &cap);
  const double fontSize = 100 * look.capHeight / cap.height;
  cairo_set_font_size(cr, fontSize);
  cairo_text_extents(cr, "H", &cap);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  // Squeeze wide letters into the box.
  const double room = size.width - 2 * look.sideMargin - look.outline - look.shadow * 0.6;
  const double xScale = std::min(look.xScale, room / std::max(e.width, 1.0));
  const double shadowRoomY = look.shadow;
  // Capitals centred vertically; other characters keep their place against the baseline.
  const double baseline = (size.height - shadowRoomY) / 2 + cap.height / 2;
  const double left = (size.width - look.shadow * 0.6) / 2 - (e.x_bearing + e.width / 2) * xScale;
  const auto path = [&](double dx, double dy) {
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, left + dx, baseline + dy);
    cairo_scale(cr, xScale, 1);
    cairo_move_to(cr, 0, 0);
    cairo_text_path(cr, text);
    cairo_restore(cr);
  };
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (look.shadow > 0) {
    path(look.shadow * 0.6, look.shadow);
    UseColour(cr, look.outlineColour);
    cairo_set_line_width(cr, look.outline);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
  }
  path(0, 0);
  UseColour(cr, look.outlineColour);
  cairo_set_line_width(cr, look.outline);
  cairo_stroke_preserve(cr);
  // The colour runs from the capitals' top down to the lowest ink, so tails below the baseline
  // (J, Q, brackets) end in the same colour as the letters' feet instead of a flat deep red.
  const double top = baseline - cap.height;
  const double inkBottom = std::max(baseline, baseline + e.y_bearing + e.height);
  SetVerticalGradient(cr, top, inkBottom,
                      {{0.0, look.top}, {0.45, look.middle}, {1.0, look.bottom}});
  cairo_fill(cr);
  IndexedImage glyph = ToMaster(canvas);
  if (font == 2) {  // the shared column between neighbours stays empty
    for (int y = 0; y < size.height; ++y) glyph.At(0, y) = glyph.At(size.width - 1, y) = 0;
  }
  return glyph;
}
