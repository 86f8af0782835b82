#include "menu_art.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "art.h"
#include "main_menu.h"  // where the menu draws the logo
#include "sheet_layout.h"

namespace {

constexpr int kMenuWidth = 640, kMenuHeight = 400;
constexpr Colour kNight{0.05, 0.02, 0.1};
constexpr Colour kWhite{1, 1, 1};

// The logo's letters: deep jewel bodies that the gold texts of the menu and its pages stand out
// from, a dark outline with a drop shadow that sets each letter off the menu picture, and a thin
// bright inline along the edges, which keeps the letters' shapes when the zoom draws the logo as
// a sparse grid of dots.
struct LogoLook {
  double size = 58, xScale = 1.12;
  double outline = 5.5;  // the dark stroke around each letter; half of it lies outside
  double shadow = 3;
  double inset = 2.6;        // distance of the inline's middle from the letter's edge
  double inline_ = 1.8;      // width of the inline
  double inlineWhite = 0.7;  // how far the inline's colour goes from the letter's tone to white
  double bodyTop = 0.1, bodyBottom = 0.045;  // luminance of the body at its top and bottom
};

// Relative luminance of a colour (sRGB).
double Luminance(const Colour& c) {
  const auto linear = [](double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

// The master palette entry of a ramp whose luminance is nearest the wanted one: every letter's
// body is equally deep whatever its hue, and in colours the palette holds, so it shows no bands.
Colour RampTone(PaletteRange ramp, double luminance) {
  Colour best{0, 0, 0};
  double bestGap = 2;
  for (int i = ramp.first; i <= ramp.last; ++i) {
    const uint8_t* c = MasterPalette().rgb + 3 * i;
    const Colour entry{c[0] / 255.0, c[1] / 255.0, c[2] / 255.0};
    const double gap = std::fabs(Luminance(entry) - luminance);
    if (gap < bestGap) bestGap = gap, best = entry;
  }
  return best;
}

// One letter of the logo: its colour code (0 for the bean that stands for the O) and the ramp its
// body takes its deep tones from.
struct LogoLetter {
  char letter;
  int colour;
  PaletteRange body;
};

// Paints a letter in the logo's layers; path() builds its outline (cairo consumes paths).
template <typename Path>
void PaintLogoLetter(cairo_t* cr, const LogoLook& look, const Colour& tone, PaletteRange ramp,
                     double top, double bottom, Path path) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_save(cr);
  cairo_translate(cr, look.shadow * 0.6, look.shadow);
  path();
  cairo_restore(cr);
  UseColour(cr, kNight, 0.85);
  cairo_set_line_width(cr, look.outline);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  path();
  UseColour(cr, MixColours(tone, kNight, 0.92));
  cairo_set_line_width(cr, look.outline);
  cairo_stroke_preserve(cr);
  // Inside the outline the edges are crisp: smoothed edges between the deep body and the bright
  // inline would be mapped to stray light colours of the palette.
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  SetVerticalGradient(
      cr, top, bottom,
      {{0.0, RampTone(ramp, look.bodyTop)}, {1.0, RampTone(ramp, look.bodyBottom)}});
  cairo_fill(cr);
  // The inline: a band along the edge at the inset, drawn apart and laid into the letter, so
  // that nothing of it reaches the letter's own edge.
  cairo_push_group(cr);
  path();
  UseColour(cr, MixColours(tone, kWhite, look.inlineWhite));
  cairo_set_line_width(cr, 2 * look.inset + look.inline_);
  cairo_stroke_preserve(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_set_line_width(cr, 2 * look.inset - look.inline_);
  cairo_stroke(cr);
  cairo_pattern_t* band = cairo_pop_group(cr);
  cairo_save(cr);
  path();
  cairo_clip(cr);
  cairo_set_source(cr, band);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_pattern_destroy(band);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
}

// The bean's two eyes, white with dark pupils looking a little down, and a spot of shine.
void DrawLogoBeanFace(cairo_t* cr, double cx, double cy, double rx, double ry) {
  const auto ellipse = [cr](double x, double y, double ex, double ey) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, ex, ey);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
  };
  for (int side = -1; side <= 1; side += 2) {
    const double ex = cx + side * rx * 0.33, ey = cy - ry * 0.05;
    ellipse(ex, ey, rx * 0.2, ry * 0.27);
    UseColour(cr, kWhite);
    cairo_fill(cr);
    ellipse(ex + rx * 0.04, ey + ry * 0.05, rx * 0.1, ry * 0.14);
    UseColour(cr, kNight);
    cairo_fill(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, cx - rx * 0.45, cy - ry * 0.5);
  cairo_rotate(cr, -0.7);
  ellipse(0, 0, rx * 0.16, ry * 0.07);
  cairo_restore(cr);
  UseColour(cr, kWhite, 0.85);
  cairo_fill(cr);
}

}  // namespace

IndexedImage DrawLogo() {
  Canvas canvas(kLogoPictureWidth, kLogoPictureHeight);
  cairo_t* cr = canvas.cr();
  // Seven fat letters in the bean colours, each a little tilted; the O is a bean with eyes. The
  // yellow L takes its deep tones from the gold ramp: deep yellow is a muddy olive.
  const LogoLetter letters[] = {{'P', 2, kRedRange},   {'L', 5, kGoldRange},   {'O', 0, kBlueRange},
                                {'N', 3, kGreenRange}, {'K', 6, kPurpleRange}, {'I', 4, kBlueRange},
                                {'X', 2, kRedRange}};
  constexpr int kLetters = std::size(letters);
  constexpr int kBeanColour = 4;
  constexpr double kBeanLetterWidth = 48, kOverlap = 5;
  LogoLook look;
  cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, look.size);
  cairo_text_extents_t extents[kLetters];
  double widths[kLetters], total = 0;
  for (int i = 0; i < kLetters; ++i) {
    const char text[2] = {letters[i].letter, 0};
    cairo_text_extents(cr, text, &extents[i]);
    widths[i] =
        letters[i].colour == 0 ? kBeanLetterWidth : extents[i].width * look.xScale + look.outline;
    total += widths[i] - kOverlap;
  }
  // Squeeze the row if it is wider than the picture.
  const double room = kLogoPictureWidth - 8;
  const double squeeze = total > room ? room / total : 1.0;
  look.xScale *= squeeze;
  double x = (kLogoPictureWidth - total * squeeze) / 2 - 2;
  for (int i = 0; i < kLetters; ++i) {
    const LogoLetter& l = letters[i];
    const cairo_text_extents_t& e = extents[i];
    const double w = (widths[i] - kOverlap) * squeeze;
    const double cx = x + w / 2 + kOverlap * squeeze / 2,
                 cy = kLogoPictureHeight / 2.0 - 1 + (i % 2 ? 3 : -2);
    x += w;
    if (l.colour == 0) {
      const double rx = 21.5 * squeeze, ry = 22;
      const auto bean = [&] {
        cairo_new_path(cr);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
      };
      PaintLogoLetter(cr, look, BeanTone(kBeanColour), l.body, cy - ry, cy + ry, bean);
      DrawLogoBeanFace(cr, cx, cy, rx, ry);
      continue;
    }
    const char text[2] = {l.letter, 0};
    const double angle = i % 2 ? 0.06 : -0.06;
    const auto letter = [&] {
      cairo_new_path(cr);
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_rotate(cr, angle);
      cairo_scale(cr, look.xScale, 1.0);
      cairo_move_to(cr, -e.x_bearing - e.width / 2, -e.y_bearing - e.height / 2);
      cairo_text_path(cr, text);
      cairo_restore(cr);
    };
    PaintLogoLetter(cr, look, BeanTone(l.colour), l.body, cy - e.height / 2, cy + e.height / 2,
                    letter);
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
  cairo_pattern_t* bg = cairo_pattern_create_radial(kLogoX, kLogoY, 20, kLogoX, kLogoY, 420);
  cairo_pattern_add_color_stop_rgb(bg, 0, 0.36, 0.22, 0.7);
  cairo_pattern_add_color_stop_rgb(bg, 0.5, 0.16, 0.09, 0.4);
  cairo_pattern_add_color_stop_rgb(bg, 1, 0.05, 0.03, 0.16);
  cairo_set_source(cr, bg);
  cairo_paint(cr);
  cairo_pattern_destroy(bg);
  constexpr int kRays = 24;
  for (int i = 0; i < kRays; ++i) {
    const double a0 = 2 * M_PI * i / kRays, a1 = a0 + M_PI / kRays;
    cairo_move_to(cr, kLogoX, kLogoY);
    cairo_line_to(cr, kLogoX + 800 * cos(a0), kLogoY + 800 * sin(a0));
    cairo_line_to(cr, kLogoX + 800 * cos(a1), kLogoY + 800 * sin(a1));
    cairo_close_path(cr);
    cairo_pattern_t* ray = cairo_pattern_create_radial(kLogoX, kLogoY, 0, kLogoX, kLogoY, 380);
    // Each ray fades in from under the logo, so the thin tips do not meet in a bright knot at
    // the centre, where the logo's gaps and its dots would show it.
    cairo_pattern_add_color_stop_rgba(ray, 0, 0.75, 0.6, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(ray, 0.16, 0.75, 0.6, 1, 0.22);
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
  cairo_translate(cr, kLogoX, kLogoY);
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
