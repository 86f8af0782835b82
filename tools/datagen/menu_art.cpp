#include "menu_art.h"

#include <cmath>
#include <cstring>

#include "art.h"
#include "sheet_layout.h"

namespace {
constexpr int kMenuWidth = 640, kMenuHeight = 400;
constexpr double kLogoCentreX = 320, kLogoCentreY = 190;  // where the menu draws the logo
}  // namespace

IndexedImage DrawLogo() {
  Canvas canvas(kLogoPictureWidth, kLogoPictureHeight);
  cairo_t* cr = canvas.cr();
  // Seven fat letters in the bean colours, each a little tilted; the O is a bean with eyes.
  const char* letters = "PLONKIX";
  const int colours[7] = {2, 5, 0, 3, 6, 4, 2};
  constexpr int kLetters = 7;
  constexpr double kBeanLetterWidth = 48, kOverlap = 5;
  WordArtStyle s;
  s.size = 58;
  s.xScale = 1.12;
  s.outline = 7;
  s.rim = 0;
  s.gloss = 0.3;
  s.shadow = 3;
  double widths[kLetters], total = 0;
  for (int i = 0; i < kLetters; ++i) {
    const char text[2] = {letters[i], 0};
    widths[i] = colours[i] == 0 ? kBeanLetterWidth : WordArtWidth(cr, text, s);
    total += widths[i] - kOverlap;
  }
  // Squeeze the row if it is wider than the picture.
  const double room = kLogoPictureWidth - 8;
  const double squeeze = total > room ? room / total : 1.0;
  s.xScale *= squeeze;
  double x = (kLogoPictureWidth - total * squeeze) / 2 - 2;
  for (int i = 0; i < kLetters; ++i) {
    const double w = (widths[i] - kOverlap) * squeeze;
    const double cx = x + w / 2 + kOverlap * squeeze / 2,
                 cy = kLogoPictureHeight / 2.0 - 1 + (i % 2 ? 3 : -2);
    x += w;
    if (colours[i] == 0) {
      cairo_arc(cr, cx + 1.8, cy + 3, 24, 0, 2 * M_PI);
      UseColour(cr, s.outlineColour, 0.85);
      cairo_fill(cr);
      DrawCartoonBean(cr, cx, cy, 21.5 * squeeze, 22, 4, true, 3.2);
      continue;
    }
    const Colour tone = BeanTone(colours[i]);
    // Deep candy colours: the menu's bright items stay readable where they cross the logo.
    s.top = MixColours(tone, Colour{1, 1, 1}, 0.25);
    s.bottom = MixColours(tone, Colour{0, 0, 0}, 0.55);
    const char text[2] = {letters[i], 0};
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, (i % 2 ? 0.06 : -0.06));
    DrawWordArt(cr, text, 0, 0, s);
    cairo_restore(cr);
  }
  return ToMaster(canvas);
}

IndexedImage DrawTile() {
  const SheetRect r = TileRect();
  Canvas canvas(r.width, r.height);
  cairo_t* cr = canvas.cr();
  // Quarter twinkles in the corners meet into whole ones where four tiles touch, plus a small
  // one in the middle of each tile's upper edge: a light star field over the whole menu.
  const double corners[4][2] = {{0, 0}, {150, 0}, {0, 50}, {150, 50}};
  for (const auto& c : corners) DrawSparkle(cr, c[0], c[1], 7, Colour{1, 0.95, 0.7}, 1);
  DrawSparkle(cr, 75, 0, 3.5, Colour{0.8, 0.85, 1}, 1);
  return ToMaster(canvas);
}

IndexedImage DrawMarker() {
  const SheetRect r = MarkerRect();
  Canvas canvas(r.width, r.height);
  cairo_t* cr = canvas.cr();
  // A rounded arrow pointing right.
  cairo_move_to(cr, 1.5, 2);
  cairo_line_to(cr, 12, 2);
  cairo_line_to(cr, 12, 0.6);
  cairo_line_to(cr, 21, 4.5);
  cairo_line_to(cr, 12, 8.4);
  cairo_line_to(cr, 12, 7);
  cairo_line_to(cr, 1.5, 7);
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  UseColour(cr, HexColour(0x1a0626));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke_preserve(cr);
  SetVerticalGradient(
      cr, 0, 9,
      {{0.0, HexColour(0xfffbe0)}, {0.5, HexColour(0xffd030)}, {1.0, HexColour(0xff6a10)}});
  cairo_fill(cr);
  return ToMaster(canvas);
}

IndexedImage DrawMenuPicture() {
  Canvas canvas(kMenuWidth, kMenuHeight);
  cairo_t* cr = canvas.cr();
  // A deep violet backdrop with a sunburst behind the logo.
  cairo_pattern_t* bg =
      cairo_pattern_create_radial(kLogoCentreX, kLogoCentreY, 20, kLogoCentreX, kLogoCentreY, 420);
  cairo_pattern_add_color_stop_rgb(bg, 0, 0.36, 0.22, 0.7);
  cairo_pattern_add_color_stop_rgb(bg, 0.5, 0.16, 0.09, 0.4);
  cairo_pattern_add_color_stop_rgb(bg, 1, 0.05, 0.03, 0.16);
  cairo_set_source(cr, bg);
  cairo_paint(cr);
  cairo_pattern_destroy(bg);
  constexpr int kRays = 24;
  for (int i = 0; i < kRays; ++i) {
    const double a0 = 2 * M_PI * i / kRays, a1 = a0 + M_PI / kRays;
    cairo_move_to(cr, kLogoCentreX, kLogoCentreY);
    cairo_line_to(cr, kLogoCentreX + 800 * cos(a0), kLogoCentreY + 800 * sin(a0));
    cairo_line_to(cr, kLogoCentreX + 800 * cos(a1), kLogoCentreY + 800 * sin(a1));
    cairo_close_path(cr);
    cairo_pattern_t* ray =
        cairo_pattern_create_radial(kLogoCentreX, kLogoCentreY, 0, kLogoCentreX, kLogoCentreY, 380);
    cairo_pattern_add_color_stop_rgba(ray, 0, 0.75, 0.6, 1, 0.22);
    cairo_pattern_add_color_stop_rgba(ray, 1, 0.75, 0.6, 1, 0.0);
    cairo_set_source(cr, ray);
    cairo_fill(cr);
    cairo_pattern_destroy(ray);
  }
  // Beans resting in the lower corners, clear of the markers and the items.
  struct Deco {
    double x, y, r;
    int colour;
  };
  const Deco decos[] = {{78, 384, 24, 2},  {140, 398, 19, 3}, {40, 410, 20, 6},
                        {566, 382, 25, 4}, {502, 398, 18, 5}, {606, 408, 20, 3}};
  for (const Deco& d : decos) DrawCartoonBean(cr, d.x, d.y, d.r * 1.1, d.r, d.colour, true, 2);
  // A glow plate under the logo.
  cairo_save(cr);
  cairo_translate(cr, kLogoCentreX, kLogoCentreY);
  cairo_scale(cr, 200, 60);
  cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.85, 1, 0.35);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.85, 1, 0);
  cairo_set_source(cr, glow);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  cairo_restore(cr);
  return ToMaster(canvas, 0);
}
