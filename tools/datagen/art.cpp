#include "art.h"

#include <algorithm>
#include <cmath>

Colour HexColour(unsigned v) {
  return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}

Colour MixColours(const Colour& a, const Colour& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void UseColour(cairo_t* cr, const Colour& c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void ClearCanvas(cairo_t* cr) {
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_restore(cr);
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  const double pi = M_PI;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
  cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

void SetVerticalGradient(cairo_t* cr, double y0, double y1,
                         std::initializer_list<GradientStop> stops) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  for (const GradientStop& s : stops)
    cairo_pattern_add_color_stop_rgb(p, s.at, s.colour.r, s.colour.g, s.colour.b);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

namespace {

void SelectFace(cairo_t* cr, const WordArtStyle& style) {
  cairo_select_font_face(cr, style.condensed ? kCondensedFamily : kFontFamily,
                         CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, style.size);
}

// Builds the text path centred on (cx, cy) by its ink box; returns the ink box height.
void TextPath(cairo_t* cr, const char* text, double cx, double cy, const WordArtStyle& style,
              double dx = 0, double dy = 0) {
  SelectFace(cr, style);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  cairo_save(cr);
  cairo_translate(cr, cx + dx, cy + dy);
  cairo_scale(cr, style.xScale, 1.0);
  cairo_move_to(cr, -e.x_bearing - e.width / 2, -e.y_bearing - e.height / 2);
  cairo_text_path(cr, text);
  cairo_restore(cr);
}

}  // namespace

double WordArtWidth(cairo_t* cr, const char* text, const WordArtStyle& style) {
  SelectFace(cr, style);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  return e.width * style.xScale + style.outline;
}

void DrawWordArt(cairo_t* cr, const char* text, double cx, double cy, const WordArtStyle& style) {
  cairo_save(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SelectFace(cr, style);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  const double top = cy - e.height / 2, bottom = cy + e.height / 2;
  if (style.shadow > 0) {
    cairo_new_path(cr);
    TextPath(cr, text, cx, cy, style, style.shadow * 0.6, style.shadow);
    UseColour(cr, style.outlineColour, 0.85);
    cairo_set_line_width(cr, style.outline);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  TextPath(cr, text, cx, cy, style);
  UseColour(cr, style.outlineColour);
  cairo_set_line_width(cr, style.outline);
  cairo_stroke_preserve(cr);
  if (style.rim > 0) {
    UseColour(cr, style.rimColour);
    cairo_set_line_width(cr, style.rim);
    cairo_stroke_preserve(cr);
  }
  SetVerticalGradient(cr, top, bottom, {{0.0, style.top}, {1.0, style.bottom}});
  cairo_fill_preserve(cr);
  if (style.gloss > 0) {
    cairo_clip(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, cy);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, style.gloss);
    cairo_pattern_add_color_stop_rgba(p, 0.8, 1, 1, 1, style.gloss * 0.5);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, cx - 2000, top - 4, 4000, (cy - top) + 4);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  cairo_new_path(cr);
  cairo_restore(cr);
}

void DrawSparkle(cairo_t* cr, double cx, double cy, double radius, const Colour& colour,
                 double alpha) {
  cairo_save(cr);
  const double w = radius * 0.22;
  cairo_move_to(cr, cx, cy - radius);
  cairo_curve_to(cr, cx + w * 0.3, cy - w, cx + w, cy - w * 0.3, cx + radius, cy);
  cairo_curve_to(cr, cx + w, cy + w * 0.3, cx + w * 0.3, cy + w, cx, cy + radius);
  cairo_curve_to(cr, cx - w * 0.3, cy + w, cx - w, cy + w * 0.3, cx - radius, cy);
  cairo_curve_to(cr, cx - w, cy - w * 0.3, cx - w * 0.3, cy - w, cx, cy - radius);
  cairo_close_path(cr);
  UseColour(cr, colour, alpha);
  cairo_fill(cr);
  cairo_restore(cr);
}

IndexedImage ToMaster(const Canvas& canvas, int alphaCutoff) {
  return canvas.Quantize(MasterMapper(), alphaCutoff);
}

void DrawCartoonBean(cairo_t* cr, double cx, double cy, double rx, double ry, int colour, bool eyes,
                     double outline) {
  const Colour tone = BeanTone(colour);
  const Colour dark =
      colour == kBlackBean ? HexColour(0x0a0814) : MixColours(tone, HexColour(0x100418), 0.75);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_save(cr);
  cairo_scale(cr, rx, ry);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  UseColour(cr, dark);
  cairo_set_line_width(cr, outline * 2);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p =
      cairo_pattern_create_radial(-rx * 0.35, -ry * 0.45, 0, 0, 0, std::max(rx, ry) * 1.1);
  const Colour light = MixColours(tone, Colour{1, 1, 1}, 0.55);
  const Colour shadow = MixColours(tone, Colour{0, 0, 0}, 0.45);
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 0.5, tone.r, tone.g, tone.b);
  cairo_pattern_add_color_stop_rgb(p, 1, shadow.r, shadow.g, shadow.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Shine.
  cairo_save(cr);
  cairo_translate(cr, -rx * 0.42, -ry * 0.5);
  cairo_rotate(cr, -0.6);
  cairo_scale(cr, rx * 0.28, ry * 0.14);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
  cairo_fill(cr);
  if (eyes) {
    for (int side = -1; side <= 1; side += 2) {
      const double ex = side * rx * 0.33, ey = -ry * 0.05;
      const double erx = rx * 0.22, ery = ry * 0.3;
      cairo_save(cr);
      cairo_translate(cr, ex, ey);
      cairo_scale(cr, erx, ery);
      cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(cr);
      UseColour(cr, dark);
      cairo_set_line_width(cr, std::max(1.0, rx * 0.07));
      cairo_stroke_preserve(cr);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_fill(cr);
      cairo_save(cr);
      cairo_translate(cr, ex + erx * 0.2, ey + ery * 0.15);
      cairo_scale(cr, erx * 0.55, ery * 0.55);
      cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(cr);
      cairo_set_source_rgb(cr, 0.06, 0.03, 0.1);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}
