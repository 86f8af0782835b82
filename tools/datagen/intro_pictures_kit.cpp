#include "intro_pictures_kit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr const char* kFontFamily = "DejaVu Sans";
constexpr int kMaxGlyphs = 48;  // longest text the lettering takes
// Eye size as a share of the bean's face scale.
constexpr double kEyeRadiusX = 0.105, kEyeRadiusY = 0.135;
}  // namespace

const Rgb kBeanColours[kBeanColourCount] = {kBeanRed, kBeanGreen, kBeanBlue, kBeanYellow,
                                            kBeanPurple};

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Lighten(Rgb c, double t) {
  return Mix(c, {1, 1, 1}, t);
}
Rgb Darken(Rgb c, double t) {
  return Mix(c, {0, 0, 0}, t);
}
void SetColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}
void AddStop(cairo_pattern_t* pattern, double offset, Rgb c, double alpha) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, alpha);
}

// ---------------------------------------------------------------------------------------------
// Beans

void BeanPath(cairo_t* cr) {
  // A jelly bean sitting down: round on top, a little wider and flatter towards the bottom.
  cairo_move_to(cr, 0, -0.5);
  cairo_curve_to(cr, 0.31, -0.5, 0.5, -0.3, 0.5, 0.04);
  cairo_curve_to(cr, 0.5, 0.36, 0.3, 0.5, 0, 0.5);
  cairo_curve_to(cr, -0.3, 0.5, -0.5, 0.36, -0.5, 0.04);
  cairo_curve_to(cr, -0.5, -0.3, -0.31, -0.5, 0, -0.5);
  cairo_close_path(cr);
}

void SoftSpot(cairo_t* cr, double cx, double cy, double rx, double ry,
              std::initializer_list<SpotStop> stops) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t* spot = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  for (const SpotStop& stop : stops) AddStop(spot, stop.at, stop.colour, stop.alpha);
  cairo_set_source(cr, spot);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(spot);
  cairo_restore(cr);
}

void PaintGlow(cairo_t* cr, double cx, double cy, double inner, double outer, Rgb colour,
               double alpha) {
  cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, inner, cx, cy, outer);
  AddStop(glow, 0, colour, alpha);
  AddStop(glow, 1, colour, 0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);
}

namespace {

void ContactShadow(cairo_t* cr, double cx, double bottomY, double width) {
  SoftSpot(cr, cx, bottomY, width * 0.56, width * 0.13, {{0, {0, 0, 0}, 0.42}, {1, {0, 0, 0}, 0}});
}

// Shading of one bean body inside the current clip, in unit coordinates (the caller scales).
void ShadeBody(cairo_t* cr, Rgb base, bool rimShade) {
  cairo_pattern_t* body = cairo_pattern_create_radial(-0.17, -0.24, 0.04, 0, 0.04, 0.74);
  AddStop(body, 0, Lighten(base, 0.55));
  AddStop(body, 0.3, Lighten(base, 0.15));
  AddStop(body, 0.72, base);
  AddStop(body, 1, Darken(base, rimShade ? 0.42 : 0.2));
  cairo_set_source(cr, body);
  cairo_paint(cr);
  cairo_pattern_destroy(body);
  // Light bounced up from the ground onto the lower edge.
  SoftSpot(cr, 0.04, 0.43, 0.34, 0.1,
           {{0, Lighten(base, 0.45), 0.55}, {1, Lighten(base, 0.45), 0}});
}

void Highlight(cairo_t* cr, double strength) {
  cairo_save(cr);
  cairo_translate(cr, -0.18, -0.27);
  cairo_rotate(cr, -0.55);
  cairo_scale(cr, 0.16, 0.085);
  cairo_pattern_t* gloss = cairo_pattern_create_linear(0, -1, 0, 1);
  AddStop(gloss, 0, {1, 1, 1}, 0.95 * strength);
  AddStop(gloss, 1, {1, 1, 1}, 0.25 * strength);
  cairo_set_source(cr, gloss);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(gloss);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.85 * strength);
  cairo_arc(cr, 0.05, -0.385, 0.032, 0, 2 * kPi);
  cairo_fill(cr);
}

// One eye at (x, y) in pixels, s = face scale in pixels.
void Eye(cairo_t* cr, double x, double y, double s, double size, double lookX, double lookY,
         Rgb ink) {
  const double rx = kEyeRadiusX * s * size, ry = kEyeRadiusY * s * size;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_save(cr);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_pattern_t* white = cairo_pattern_create_linear(0, -ry, 0, ry);
  AddStop(white, 0, {1, 1, 1});
  AddStop(white, 0.6, {0.97, 0.97, 1});
  AddStop(white, 1, {0.78, 0.8, 0.9});
  cairo_set_source(cr, white);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(white);
  SetColour(cr, ink);
  cairo_set_line_width(cr, std::max(0.8, 0.028 * s));
  cairo_stroke(cr);
  const double px = lookX * rx * 0.38, py = lookY * ry * 0.34 + ry * 0.1;
  cairo_save(cr);
  cairo_translate(cr, px, py);
  cairo_scale(cr, rx * 0.58, ry * 0.6);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_set_source_rgb(cr, 0.05, 0.04, 0.1);
  cairo_fill(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
  cairo_arc(cr, px - rx * 0.22, py - ry * 0.25, rx * 0.24, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_restore(cr);
}

// A closed, happy eye: an upturned arc.
void ClosedEye(cairo_t* cr, double x, double y, double s, Rgb ink) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, std::max(1.0, 0.04 * s));
  SetColour(cr, ink);
  cairo_arc_negative(cr, x, y + 0.05 * s, 0.08 * s, -0.15 * kPi, -0.85 * kPi);
  cairo_stroke(cr);
}

void Face(cairo_t* cr, double w, double h, const BeanLook& look) {
  cairo_save(cr);
  cairo_translate(cr, 0, -look.faceRaise * h);
  // Tall beans keep a face sized to their width.
  if (h > 1.25 * w) h = 1.25 * w;
  const double s = (w + h) / 2;
  const Rgb ink =
      look.mood == BeanMood::kGrumpy ? Rgb{0.04, 0.03, 0.08} : Darken(look.colour, 0.78);
  const double eyeY = -0.03 * h, eyeX = 0.165 * w;
  const double lx = look.lookX, ly = look.lookY;
  if (look.blush && look.mood != BeanMood::kGrumpy) {
    for (int side = -1; side <= 1; side += 2)
      SoftSpot(cr, side * 0.3 * w, 0.13 * h, 0.075 * s, 0.045 * s,
               {{0, {1, 0.42, 0.55}, 0.6}, {1, {1, 0.42, 0.55}, 0}});
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  switch (look.mood) {
    case BeanMood::kSleepy:
      ClosedEye(cr, -eyeX, eyeY, s, ink);
      ClosedEye(cr, eyeX, eyeY, s, ink);
      break;
    case BeanMood::kWink:
      ClosedEye(cr, -eyeX, eyeY, s, ink);
      Eye(cr, eyeX, eyeY, s, 1.0, lx, ly, ink);
      break;
    case BeanMood::kSurprised:
      Eye(cr, -eyeX, eyeY - 0.02 * h, s, 1.15, lx * 0.4, ly * 0.4, ink);
      Eye(cr, eyeX, eyeY - 0.02 * h, s, 1.15, lx * 0.4, ly * 0.4, ink);
      break;
    default:
      Eye(cr, -eyeX, eyeY, s, 1.0, lx, ly, ink);
      Eye(cr, eyeX, eyeY, s, 1.0, lx, ly, ink);
      break;
  }
  if (look.mood == BeanMood::kGrumpy) {
    // Heavy lids (cut from the eye itself) and brows pulled down towards the middle.
    for (int side = -1; side <= 1; side += 2) {
      cairo_save(cr);
      cairo_translate(cr, side * eyeX, eyeY);
      cairo_save(cr);
      cairo_scale(cr, kEyeRadiusX * s * 1.15, kEyeRadiusY * s * 1.15);
      cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
      cairo_restore(cr);
      cairo_save(cr);
      cairo_clip(cr);
      cairo_move_to(cr, side * 0.15 * w, -0.2 * h);
      cairo_line_to(cr, side * 0.15 * w, -0.035 * h);
      cairo_line_to(cr, -side * 0.14 * w, 0.015 * h);
      cairo_line_to(cr, -side * 0.14 * w, -0.2 * h);
      cairo_close_path(cr);
      SetColour(cr, Mix(look.colour, {0.45, 0.45, 0.55}, 0.35));
      cairo_fill(cr);
      cairo_restore(cr);
      cairo_move_to(cr, side * 0.14 * w, -0.045 * h);
      cairo_line_to(cr, -side * 0.13 * w, 0.005 * h);
      SetColour(cr, ink);
      cairo_set_line_width(cr, std::max(1.4, 0.055 * s));
      cairo_stroke(cr);
      cairo_restore(cr);
    }
  }
  if (look.mood == BeanMood::kWorried) {
    for (int side = -1; side <= 1; side += 2) {
      cairo_move_to(cr, side * 0.25 * w, -0.2 * h);
      cairo_line_to(cr, side * 0.08 * w, -0.25 * h);
      SetColour(cr, ink);
      cairo_set_line_width(cr, std::max(1.0, 0.035 * s));
      cairo_stroke(cr);
    }
  }
  // Mouth.
  const double mouthY = 0.16 * h;
  cairo_set_line_width(cr, std::max(1.0, 0.036 * s));
  SetColour(cr, ink);
  switch (look.mood) {
    case BeanMood::kHappy:
    case BeanMood::kWink:
    case BeanMood::kSleepy:
      cairo_arc(cr, 0, mouthY - 0.07 * s, 0.1 * s, 0.2 * kPi, 0.8 * kPi);
      cairo_stroke(cr);
      break;
    case BeanMood::kGrin: {
      cairo_move_to(cr, -0.13 * s, mouthY - 0.015 * s);
      cairo_curve_to(cr, -0.1 * s, mouthY + 0.16 * s, 0.1 * s, mouthY + 0.16 * s, 0.13 * s,
                     mouthY - 0.015 * s);
      cairo_close_path(cr);
      cairo_set_source_rgb(cr, 0.42, 0.05, 0.12);
      cairo_fill_preserve(cr);
      cairo_save(cr);
      cairo_clip_preserve(cr);
      cairo_new_path(cr);
      cairo_set_source_rgb(cr, 1.0, 0.45, 0.52);
      cairo_arc(cr, 0.01 * s, mouthY + 0.14 * s, 0.075 * s, 0, 2 * kPi);
      cairo_fill(cr);
      cairo_restore(cr);
      SetColour(cr, ink);
      cairo_move_to(cr, -0.13 * s, mouthY - 0.015 * s);
      cairo_curve_to(cr, -0.1 * s, mouthY + 0.16 * s, 0.1 * s, mouthY + 0.16 * s, 0.13 * s,
                     mouthY - 0.015 * s);
      cairo_close_path(cr);
      cairo_stroke(cr);
      break;
    }
    case BeanMood::kSurprised:
      cairo_save(cr);
      cairo_translate(cr, 0, mouthY + 0.02 * s);
      cairo_scale(cr, 0.05 * s, 0.065 * s);
      cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
      cairo_restore(cr);
      cairo_set_source_rgb(cr, 0.35, 0.04, 0.1);
      cairo_fill_preserve(cr);
      SetColour(cr, ink);
      cairo_stroke(cr);
      break;
    case BeanMood::kGrumpy:
      cairo_arc_negative(cr, 0, mouthY + 0.1 * s, 0.09 * s, -0.22 * kPi, -0.78 * kPi);
      cairo_stroke(cr);
      break;
    case BeanMood::kWorried:
      cairo_move_to(cr, -0.08 * s, mouthY + 0.02 * s);
      cairo_curve_to(cr, -0.04 * s, mouthY - 0.02 * s, -0.02 * s, mouthY - 0.02 * s, 0,
                     mouthY + 0.01 * s);
      cairo_curve_to(cr, 0.02 * s, mouthY + 0.04 * s, 0.05 * s, mouthY + 0.04 * s, 0.08 * s,
                     mouthY);
      cairo_stroke(cr);
      break;
  }
  cairo_restore(cr);
}

// A small rounded arm raised on one side, with two swish marks by its tip.
void WavingNub(cairo_t* cr, double w, double h, int side, Rgb base) {
  const double s = (w + h) / 2;
  const double line = std::max(1.0, 0.038 * s), thickness = 0.15 * s;
  const double bx = side * 0.3 * w, by = 0.02 * h;
  const double tx = side * 0.6 * w, ty = -0.36 * h;
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, bx, by);
  cairo_curve_to(cr, side * 0.5 * w, 0, side * 0.58 * w, -0.2 * h, tx, ty);
  SetColour(cr, Darken(base, 0.68));
  cairo_set_line_width(cr, thickness + 2 * line);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* fill = cairo_pattern_create_linear(tx - side * thickness, ty, tx, ty + 0.3 * h);
  AddStop(fill, 0, Lighten(base, 0.35));
  AddStop(fill, 1, base);
  cairo_set_source(cr, fill);
  cairo_set_line_width(cr, thickness);
  cairo_stroke(cr);
  cairo_pattern_destroy(fill);
  cairo_set_line_width(cr, std::max(1.2, 0.035 * s));
  cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
  const double mid = side > 0 ? -0.25 * kPi : -0.75 * kPi;
  for (int k = 0; k < 2; ++k) {
    const double r = (0.16 + 0.08 * k) * s;
    cairo_new_sub_path(cr);
    cairo_arc(cr, tx, ty, r, mid - 0.45, mid + 0.45);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

}  // namespace

void DrawBean(cairo_t* cr, double cx, double cy, double width, double height,
              const BeanLook& look) {
  if (look.halo > 0) {
    const double r = 0.62 * std::max(width, height);
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, 0.3 * r, cx, cy, r);
    AddStop(halo, 0, {0.75, 0.8, 1}, look.halo);
    AddStop(halo, 1, {0.75, 0.8, 1}, 0);
    cairo_set_source(cr, halo);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
  }
  if (look.shadow) ContactShadow(cr, cx, cy + height * 0.48, width);
  const Rgb base = look.colour;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, look.tilt);
  if (look.wave) WavingNub(cr, width, height, look.wave, base);
  cairo_save(cr);
  cairo_scale(cr, width, height);
  BeanPath(cr);
  cairo_restore(cr);
  cairo_path_t* outline = cairo_copy_path(cr);
  // Body, shaded inside its own outline.
  cairo_save(cr);
  cairo_clip(cr);
  cairo_scale(cr, width, height);
  ShadeBody(cr, base, true);
  Highlight(cr, look.mood == BeanMood::kGrumpy ? 0.55 : 1.0);
  cairo_restore(cr);
  // Cartoon outline.
  cairo_new_path(cr);
  cairo_append_path(cr, outline);
  cairo_path_destroy(outline);
  SetColour(cr, Darken(base, 0.68));
  cairo_set_line_width(cr, std::max(1.0, 0.038 * (width + height) / 2));
  cairo_stroke(cr);
  Face(cr, width, height, look);
  cairo_restore(cr);
}

void DrawLinkedBeans(cairo_t* cr, const double* xs, const double* ys, int count, double width,
                     double height, const BeanLook& look) {
  const Rgb base = look.colour;
  const double line = std::max(1.0, 0.038 * (width + height) / 2);
  if (look.shadow) {
    for (int i = 0; i < count; ++i) ContactShadow(cr, xs[i], ys[i] + height * 0.48, width);
  }
  // The blob: every bean plus a fat bridge to the next one, as one union.
  auto blobPath = [&] {
    cairo_new_path(cr);
    for (int i = 0; i < count; ++i) {
      cairo_save(cr);
      cairo_translate(cr, xs[i], ys[i]);
      cairo_scale(cr, width, height);
      BeanPath(cr);
      cairo_restore(cr);
    }
    for (int i = 0; i + 1 < count; ++i) {
      const double dx = xs[i + 1] - xs[i], dy = ys[i + 1] - ys[i];
      const double len = std::sqrt(dx * dx + dy * dy);
      if (len <= 0) continue;
      const double nx = -dy / len, ny = dx / len;
      const double half = 0.36 * std::min(width, height);
      // Clockwise like the bean outline, so the union has no holes.
      cairo_move_to(cr, xs[i] - nx * half, ys[i] - ny * half);
      cairo_line_to(cr, xs[i + 1] - nx * half, ys[i + 1] - ny * half);
      cairo_line_to(cr, xs[i + 1] + nx * half, ys[i + 1] + ny * half);
      cairo_line_to(cr, xs[i] + nx * half, ys[i] + ny * half);
      cairo_close_path(cr);
    }
  };
  blobPath();
  SetColour(cr, Darken(base, 0.68));
  cairo_set_line_width(cr, 2 * line);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  SetColour(cr, Darken(base, 0.3));
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip(cr);
  for (int i = 0; i < count; ++i) {
    cairo_save(cr);
    cairo_translate(cr, xs[i], ys[i]);
    cairo_scale(cr, width, height);
    cairo_pattern_t* body = cairo_pattern_create_radial(-0.17, -0.24, 0.04, 0, 0.04, 0.85);
    AddStop(body, 0, Lighten(base, 0.55));
    AddStop(body, 0.3, Lighten(base, 0.15));
    AddStop(body, 0.65, base);
    AddStop(body, 1, base, 0);
    cairo_set_source(cr, body);
    cairo_paint(cr);
    cairo_pattern_destroy(body);
    cairo_restore(cr);
  }
  for (int i = 0; i < count; ++i) {
    cairo_save(cr);
    cairo_translate(cr, xs[i], ys[i]);
    cairo_scale(cr, width, height);
    Highlight(cr, 1.0);
    cairo_restore(cr);
  }
  cairo_restore(cr);
  for (int i = 0; i < count; ++i) {
    cairo_save(cr);
    cairo_translate(cr, xs[i], ys[i]);
    BeanLook each = look;
    each.lookX = (i % 2) ? look.lookX : -look.lookX * 0.5;
    Face(cr, width, height, each);
    cairo_restore(cr);
  }
}

// ---------------------------------------------------------------------------------------------
// Soft layers

void BlurSurface(cairo_surface_t* surface, int radius) {
  BlurSurfaceRect(surface, radius, 0, 0, cairo_image_surface_get_width(surface),
                  cairo_image_surface_get_height(surface));
}

void BlurSurfaceRect(cairo_surface_t* surface, int radius, int x0, int y0, int width, int height) {
  const int x1 = std::min(x0 + width, cairo_image_surface_get_width(surface));
  const int y1 = std::min(y0 + height, cairo_image_surface_get_height(surface));
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  if (radius <= 0 || x1 <= x0 || y1 <= y0) return;
  cairo_surface_flush(surface);
  const int w = x1 - x0, h = y1 - y0;
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface) + static_cast<size_t>(y0) * stride +
                        4 * static_cast<size_t>(x0);
  const int longest = std::max(w, h);
  std::vector<int> line(static_cast<size_t>(longest) * 4), out(static_cast<size_t>(longest) * 4);
  const int window = 2 * radius + 1;
  auto pass = [&](int count, auto pixelAt) {
    // pixelAt(i) gives the address of pixel i along the line.
    for (int i = 0; i < count; ++i) {
      const unsigned char* p = pixelAt(i);
      for (int c = 0; c < 4; ++c) line[4 * i + c] = p[c];
    }
    for (int c = 0; c < 4; ++c) {
      int sum = 0;
      for (int k = -radius; k <= radius; ++k) sum += line[4 * std::clamp(k, 0, count - 1) + c];
      for (int i = 0; i < count; ++i) {
        out[4 * i + c] = sum / window;
        sum += line[4 * std::min(i + radius + 1, count - 1) + c];
        sum -= line[4 * std::max(i - radius, 0) + c];
      }
    }
    for (int i = 0; i < count; ++i) {
      unsigned char* p = pixelAt(i);
      for (int c = 0; c < 4; ++c) p[c] = static_cast<unsigned char>(out[4 * i + c]);
    }
  };
  constexpr int kBoxPasses = 3;
  for (int round = 0; round < kBoxPasses; ++round) {
    for (int y = 0; y < h; ++y)
      pass(w, [&](int i) { return data + static_cast<size_t>(y) * stride + 4 * i; });
    for (int x = 0; x < w; ++x)
      pass(h, [&](int i) { return data + static_cast<size_t>(i) * stride + 4 * x; });
  }
  cairo_surface_mark_dirty(surface);
}

SoftLayer::SoftLayer(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {}

SoftLayer::~SoftLayer() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void SoftLayer::BlurRect(int radius, int x, int y, int width, int height) {
  BlurSurfaceRect(surface_, radius, x, y, width, height);
}

void SoftLayer::PaintOnto(cairo_t* target, double dx, double dy, double alpha) const {
  cairo_save(target);
  cairo_identity_matrix(target);
  cairo_set_source_surface(target, surface_, dx, dy);
  cairo_paint_with_alpha(target, alpha);
  cairo_restore(target);
}

// ---------------------------------------------------------------------------------------------
// Lettering

namespace {

struct GlyphPlace {
  char text[2];
  double x, baseline, angle, centreX, centreY;
};

void SelectFont(cairo_t* cr, const LetterStyle& style) {
  cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, style.size);
}

int PlaceGlyphs(cairo_t* cr, const char* text, double cx, double baseline, const LetterStyle& style,
                GlyphPlace* places, int capacity) {
  SelectFont(cr, style);
  const double total = LetteringWidth(cr, text, style);
  double x = cx - total / 2;
  int count = 0;
  for (const char* c = text; *c && count < capacity; ++c) {
    GlyphPlace& g = places[count];
    g.text[0] = *c;
    g.text[1] = 0;
    cairo_text_extents_t e;
    cairo_text_extents(cr, g.text, &e);
    const int letter = count;
    const double sign = (letter % 2) ? 1.0 : -1.0;
    g.x = x;
    g.baseline = baseline + sign * style.bounce;
    g.angle = sign * style.wobble;
    g.centreX = x + e.x_bearing + e.width / 2;
    g.centreY = g.baseline + e.y_bearing + e.height / 2;
    x += e.x_advance + style.spacing;
    if (*c != ' ') ++count;
  }
  return count;
}

void GlyphPath(cairo_t* cr, const GlyphPlace& g) {
  cairo_save(cr);
  cairo_translate(cr, g.centreX, g.centreY);
  cairo_rotate(cr, g.angle);
  cairo_translate(cr, -g.centreX, -g.centreY);
  cairo_move_to(cr, g.x, g.baseline);
  cairo_text_path(cr, g.text);
  cairo_restore(cr);
}

}  // namespace

int LetteringBoxes(cairo_t* cr, const char* text, double cx, double baseline,
                   const LetterStyle& style, double* centreX, double* top, double* bottom,
                   int capacity) {
  GlyphPlace places[kMaxGlyphs];
  cairo_save(cr);
  const int count =
      PlaceGlyphs(cr, text, cx, baseline, style, places, std::min(capacity, kMaxGlyphs));
  for (int i = 0; i < count; ++i) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, places[i].text, &e);
    centreX[i] = places[i].centreX;
    top[i] = places[i].baseline + e.y_bearing;
    bottom[i] = places[i].baseline + e.y_bearing + e.height;
  }
  cairo_restore(cr);
  return count;
}

double LetteringWidth(cairo_t* cr, const char* text, const LetterStyle& style) {
  SelectFont(cr, style);
  double total = 0;
  int letters = 0;
  for (const char* c = text; *c; ++c) {
    const char one[2] = {*c, 0};
    cairo_text_extents_t e;
    cairo_text_extents(cr, one, &e);
    total += e.x_advance;
    ++letters;
  }
  return total + style.spacing * std::max(0, letters - 1);
}

void DrawLettering(cairo_t* cr, const char* text, double cx, double baseline,
                   const LetterStyle& style) {
  GlyphPlace places[kMaxGlyphs];
  cairo_save(cr);
  const int count = PlaceGlyphs(cr, text, cx, baseline, style, places, kMaxGlyphs);
  const double outerWidth = 2 * (style.fatten + style.rim + style.outline);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  if (style.shadowOffset > 0 || style.shadowBlur > 0) {
    cairo_surface_t* target = cairo_get_target(cr);
    SoftLayer shadow(cairo_image_surface_get_width(target), cairo_image_surface_get_height(target));
    cairo_t* s = shadow.cr();
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    cairo_set_matrix(s, &matrix);
    SelectFont(s, style);
    cairo_set_line_join(s, CAIRO_LINE_JOIN_ROUND);
    for (int i = 0; i < count; ++i) GlyphPath(s, places[i]);
    cairo_set_source_rgb(s, 0, 0, 0);
    cairo_set_line_width(s, outerWidth);
    cairo_stroke_preserve(s);
    cairo_fill(s);
    // Only the lettering's neighbourhood needs blurring.
    const int blur = static_cast<int>(style.shadowBlur);
    const double reach = outerWidth / 2 + 3 * blur + style.size * 0.2 + style.bounce + 2;
    const double half = LetteringWidth(cr, text, style) / 2;
    double x0 = cx - half - reach, y0 = baseline - style.size - reach;
    double x1 = cx + half + reach, y1 = baseline + style.size * 0.35 + reach;
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    shadow.BlurRect(blur, static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                    static_cast<int>(y1 - y0));
    shadow.PaintOnto(cr, style.shadowOffset, style.shadowOffset, style.shadowAlpha);
  }
  for (int i = 0; i < count; ++i) {
    const GlyphPlace& g = places[i];
    const Rgb top = style.colourCount ? style.tops[i % style.colourCount] : Rgb{1, 0.9, 0.3};
    const Rgb bottom =
        style.colourCount ? style.bottoms[i % style.colourCount] : Rgb{0.95, 0.45, 0.1};
    cairo_text_extents_t e;
    cairo_text_extents(cr, g.text, &e);
    const double y0 = g.baseline + e.y_bearing - style.fatten;
    const double y1 = g.baseline + e.y_bearing + e.height + style.fatten;
    cairo_new_path(cr);
    GlyphPath(cr, g);
    SetColour(cr, style.outlineColour);
    cairo_set_line_width(cr, outerWidth);
    cairo_stroke_preserve(cr);
    if (style.rim > 0) {
      SetColour(cr, style.rimColour);
      cairo_set_line_width(cr, 2 * (style.fatten + style.rim));
      cairo_stroke_preserve(cr);
    }
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, y0, 0, y1);
    AddStop(fill, 0, Lighten(top, 0.25));
    AddStop(fill, 0.45, top);
    AddStop(fill, 1, bottom);
    cairo_set_source(cr, fill);
    if (style.fatten > 0) {
      cairo_set_line_width(cr, 2 * style.fatten);
      cairo_stroke_preserve(cr);
    }
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    // Gloss: a bright band over the upper part of the letter, with a curved lower edge.
    if (style.gloss > 0) {
      cairo_save(cr);
      cairo_clip(cr);
      const double mid = y0 + (y1 - y0) * 0.48;
      cairo_pattern_t* gloss = cairo_pattern_create_linear(0, y0, 0, mid);
      AddStop(gloss, 0, {1, 1, 1}, style.gloss);
      AddStop(gloss, 1, {1, 1, 1}, style.gloss * 0.2);
      cairo_set_source(cr, gloss);
      const double left = g.centreX - e.width, right = g.centreX + e.width;
      cairo_move_to(cr, left, y0 - 4);
      cairo_line_to(cr, right, y0 - 4);
      cairo_line_to(cr, right, mid - (y1 - y0) * 0.1);
      cairo_curve_to(cr, g.centreX + e.width * 0.3, mid + (y1 - y0) * 0.02,
                     g.centreX - e.width * 0.3, mid - (y1 - y0) * 0.02, left,
                     mid + (y1 - y0) * 0.05);
      cairo_close_path(cr);
      cairo_fill(cr);
      cairo_pattern_destroy(gloss);
      cairo_restore(cr);
    }
    cairo_new_path(cr);
  }
  cairo_restore(cr);
}

// ---------------------------------------------------------------------------------------------
// Scenery

void DrawSparkle(cairo_t* cr, double x, double y, double radius, Rgb colour, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, radius * 0.8);
  AddStop(glow, 0, colour, 0.55 * alpha);
  AddStop(glow, 1, colour, 0);
  cairo_set_source(cr, glow);
  cairo_arc(cr, 0, 0, radius * 0.8, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  const double k = radius * 0.14;
  cairo_move_to(cr, 0, -radius);
  cairo_curve_to(cr, k, -k, k, -k, radius, 0);
  cairo_curve_to(cr, k, k, k, k, 0, radius);
  cairo_curve_to(cr, -k, k, -k, k, -radius, 0);
  cairo_curve_to(cr, -k, -k, -k, -k, 0, -radius);
  cairo_close_path(cr);
  SetColour(cr, Lighten(colour, 0.6), alpha);
  cairo_fill(cr);
  cairo_restore(cr);
}

void DrawCloud(cairo_t* cr, double x, double y, double width, double height, Rgb light, Rgb shade) {
  struct Lump {
    double x, y, r;
  };
  static constexpr Lump kLumps[] = {{0.18, 0.66, 0.2},  {0.36, 0.42, 0.3}, {0.58, 0.36, 0.34},
                                    {0.78, 0.58, 0.24}, {0.5, 0.72, 0.24}, {0.28, 0.76, 0.2},
                                    {0.7, 0.76, 0.2}};
  cairo_save(cr);
  cairo_translate(cr, x, y);
  auto path = [&] {
    cairo_new_path(cr);
    for (const Lump& l : kLumps) {
      cairo_new_sub_path(cr);
      cairo_save(cr);
      cairo_translate(cr, l.x * width, l.y * height);
      cairo_scale(cr, l.r * height * 1.25, l.r * height);
      cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
      cairo_restore(cr);
    }
  };
  path();
  SetColour(cr, Darken(shade, 0.15), 0.7);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  path();
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, height * 0.1, 0, height);
  AddStop(fill, 0, {1, 1, 1});
  AddStop(fill, 0.45, light);
  AddStop(fill, 1, shade);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  cairo_restore(cr);
}

void DrawSunburst(cairo_t* cr, double cx, double cy, int rays, double radius, double turn,
                  Rgb colour, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_pattern_t* fade = cairo_pattern_create_radial(0, 0, 0, 0, 0, radius);
  AddStop(fade, 0, colour, alpha);
  AddStop(fade, 1, colour, 0);
  cairo_set_source(cr, fade);
  const double step = 2 * kPi / rays;
  for (int i = 0; i < rays; ++i) {
    const double a = turn + i * step;
    cairo_move_to(cr, 0, 0);
    cairo_arc(cr, 0, 0, radius, a, a + step * 0.5);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_pattern_destroy(fade);
  cairo_restore(cr);
}

void DrawFlower(cairo_t* cr, double x, double y, double radius, Rgb petals, Rgb centre) {
  constexpr int kPetals = 5;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_set_line_width(cr, std::max(0.8, radius * 0.12));
  for (int i = 0; i < kPetals; ++i) {
    const double a = -kPi / 2 + i * 2 * kPi / kPetals;
    cairo_new_sub_path(cr);
    cairo_arc(cr, std::cos(a) * radius * 0.62, std::sin(a) * radius * 0.62, radius * 0.45, 0,
              2 * kPi);
  }
  SetColour(cr, Darken(petals, 0.45));
  cairo_stroke_preserve(cr);
  cairo_pattern_t* fill = cairo_pattern_create_radial(0, 0, 0, 0, 0, radius);
  AddStop(fill, 0, Lighten(petals, 0.6));
  AddStop(fill, 1, petals);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  cairo_arc(cr, 0, 0, radius * 0.34, 0, 2 * kPi);
  SetColour(cr, centre);
  cairo_fill_preserve(cr);
  SetColour(cr, Darken(centre, 0.45));
  cairo_stroke(cr);
  cairo_restore(cr);
}

void DrawBurst(cairo_t* cr, double cx, double cy, double radius, int points, Rgb inner, Rgb outer) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  for (int i = 0; i < 2 * points; ++i) {
    const double a = -kPi / 2 + i * kPi / points;
    const double r = (i % 2) ? radius * 0.55 : radius;
    if (i == 0)
      cairo_move_to(cr, std::cos(a) * r, std::sin(a) * r);
    else
      cairo_line_to(cr, std::cos(a) * r, std::sin(a) * r);
  }
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, std::max(1.5, radius * 0.07));
  SetColour(cr, Darken(outer, 0.55));
  cairo_stroke_preserve(cr);
  cairo_pattern_t* fill = cairo_pattern_create_radial(0, 0, 0, 0, 0, radius);
  AddStop(fill, 0, {1, 1, 1});
  AddStop(fill, 0.3, inner);
  AddStop(fill, 1, outer);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  cairo_restore(cr);
}

void DrawFirework(cairo_t* cr, double cx, double cy, double radius, Rgb colour, ArtRandom& random) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, radius * 1.1);
  AddStop(glow, 0, colour, 0.35);
  AddStop(glow, 1, colour, 0);
  cairo_set_source(cr, glow);
  cairo_arc(cr, 0, 0, radius * 1.1, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  const int rays = 22 + random.Below(8);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < rays; ++i) {
    const double a = i * 2 * kPi / rays + random.Uniform(-0.08, 0.08);
    const double r = radius * random.Uniform(0.8, 1.0);
    const double ca = std::cos(a), sa = std::sin(a);
    cairo_pattern_t* trail =
        cairo_pattern_create_linear(ca * r * 0.25, sa * r * 0.25, ca * r, sa * r);
    AddStop(trail, 0, colour, 0);
    AddStop(trail, 1, Lighten(colour, 0.4), 0.95);
    cairo_set_source(cr, trail);
    cairo_set_line_width(cr, std::max(1.2, radius * 0.035));
    cairo_move_to(cr, ca * r * 0.25, sa * r * 0.25);
    // A slight droop, as sparks fall.
    cairo_curve_to(cr, ca * r * 0.6, sa * r * 0.6, ca * r * 0.9, sa * r * 0.9 + radius * 0.04,
                   ca * r, sa * r + radius * 0.08);
    cairo_stroke(cr);
    cairo_pattern_destroy(trail);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
    cairo_arc(cr, ca * r, sa * r + radius * 0.08, std::max(1.0, radius * 0.03), 0, 2 * kPi);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void DrawStars(cairo_t* cr, double x0, double y0, double x1, double y1, int count,
               ArtRandom& random) {
  for (int i = 0; i < count; ++i) {
    const double x = random.Uniform(x0, x1), y = random.Uniform(y0, y1);
    const double bright = random.Uniform(0.35, 1.0);
    if (random.Below(9) == 0) {
      DrawSparkle(cr, x, y, random.Uniform(4, 7), {1, 1, 0.85}, bright);
    } else {
      cairo_set_source_rgba(cr, 1, 1, 0.92, bright);
      cairo_arc(cr, x, y, random.Uniform(0.6, 1.4), 0, 2 * kPi);
      cairo_fill(cr);
    }
  }
}

void DrawHill(cairo_t* cr, double width, double height, double baseY, double amplitude,
              double phase, double waves, Rgb top, Rgb bottom, double outlineAlpha) {
  constexpr double kStep = 4;
  auto ridge = [&](double x) {
    const double t = x / width * waves * 2 * kPi + phase;
    return baseY - amplitude * (0.7 * std::sin(t) + 0.3 * std::sin(2.3 * t + 1.1));
  };
  cairo_new_path(cr);
  cairo_move_to(cr, -2, ridge(-2));
  for (double x = 0; x <= width + kStep; x += kStep) cairo_line_to(cr, x, ridge(x));
  cairo_path_t* line = cairo_copy_path(cr);
  cairo_line_to(cr, width + 4, height + 2);
  cairo_line_to(cr, -2, height + 2);
  cairo_close_path(cr);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, baseY - amplitude, 0, height);
  AddStop(fill, 0, top);
  AddStop(fill, 1, bottom);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  if (outlineAlpha > 0) {
    cairo_new_path(cr);
    cairo_append_path(cr, line);
    SetColour(cr, Darken(top, 0.5), outlineAlpha);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // A sunlit lip just under the ridge.
    cairo_save(cr);
    cairo_translate(cr, 0, 3);
    cairo_new_path(cr);
    cairo_append_path(cr, line);
    cairo_restore(cr);
    SetColour(cr, Lighten(top, 0.35), 0.6);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
  cairo_path_destroy(line);
}

void DrawGrassTufts(cairo_t* cr, double x0, double x1, double y, int count, Rgb colour,
                    ArtRandom& random) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < count; ++i) {
    const double x = random.Uniform(x0, x1), by = y + random.Uniform(-6, 6);
    const double h = random.Uniform(6, 13);
    for (int b = -1; b <= 1; ++b) {
      cairo_move_to(cr, x + b * 2, by);
      cairo_curve_to(cr, x + b * 2, by - h * 0.5, x + b * 4, by - h * 0.8, x + b * 5.5,
                     by - h * (b == 0 ? 1.2 : 0.9));
    }
    SetColour(cr, Darken(colour, 0.25));
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
  }
}

// ---------------------------------------------------------------------------------------------
// Palette fitting

namespace {

constexpr int kHistogramBits = 6;
constexpr int kHistogramLevels = 1 << kHistogramBits;
constexpr int kUsableEntries = 255;  // 1..255; 0 stays black
constexpr int kRefinePasses = 4;
// How much a channel's spread counts when choosing the box to split (the eye tells greens
// apart best); roughly the square roots of the weights in Distance.
constexpr double kSpreadWeight[3] = {0.62, 1.0, 0.62};

struct ColourBin {
  float c[3];  // red, green, blue, 0..255
  double weight;
};

// The same weighted distance the palette mapper uses, so the fitted entries are the ones the
// mapping will pick.
double Distance(const float* a, const float* b) {
  const double rmean = (a[0] + b[0]) / 2;
  const double dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
  return (512 + rmean) / 256 * dr * dr + 4 * dg * dg + (767 - rmean) / 256 * db * db;
}

struct Box {
  int begin, end;
  double score;
  int axis;
};

void MeasureBox(const std::vector<ColourBin>& bins, Box& box) {
  double sum[3] = {}, sq[3] = {}, w = 0;
  for (int i = box.begin; i < box.end; ++i) {
    for (int c = 0; c < 3; ++c) {
      sum[c] += bins[i].c[c] * bins[i].weight;
      sq[c] += bins[i].c[c] * bins[i].c[c] * bins[i].weight;
    }
    w += bins[i].weight;
  }
  box.score = 0;
  box.axis = 0;
  if (box.end - box.begin < 2 || w <= 0) return;
  for (int c = 0; c < 3; ++c) {
    const double variance = (sq[c] / w - (sum[c] / w) * (sum[c] / w)) * kSpreadWeight[c];
    if (variance * w > box.score) {
      box.score = variance * w;
      box.axis = c;
    }
  }
}

}  // namespace

PaletteData FitPalette(const Canvas& canvas) {
  cairo_surface_flush(canvas.surface());
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  // Histogram of the picture composited over black (Cairo's premultiplied colour is exactly that).
  std::vector<uint32_t> counts(kHistogramLevels * kHistogramLevels * kHistogramLevels, 0);
  std::vector<double> sums(counts.size() * 3, 0.0);
  for (int y = 0; y < canvas.height(); ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < canvas.width(); ++x) {
      const int r = (row[x] >> 16) & 0xFF, g = (row[x] >> 8) & 0xFF, b = row[x] & 0xFF;
      if (r == 0 && g == 0 && b == 0) continue;  // black is index 0 already
      const int shift = 8 - kHistogramBits;
      const size_t key = (static_cast<size_t>(r >> shift) << (2 * kHistogramBits)) |
                         ((g >> shift) << kHistogramBits) | (b >> shift);
      ++counts[key];
      sums[3 * key] += r;
      sums[3 * key + 1] += g;
      sums[3 * key + 2] += b;
    }
  }
  std::vector<ColourBin> bins;
  for (size_t key = 0; key < counts.size(); ++key) {
    if (!counts[key]) continue;
    const double n = counts[key];
    // Weight by a root of the count, so small features (eyes, highlights) keep their colours.
    bins.push_back(
        {{static_cast<float>(sums[3 * key] / n), static_cast<float>(sums[3 * key + 1] / n),
          static_cast<float>(sums[3 * key + 2] / n)},
         std::pow(n, 0.6)});
  }
  // Median cut: split the box with the largest weighted spread at its weighted median.
  std::vector<Box> boxes;
  if (!bins.empty()) {
    boxes.push_back({0, static_cast<int>(bins.size()), 0, 0});
    MeasureBox(bins, boxes[0]);
  }
  while (static_cast<int>(boxes.size()) < kUsableEntries) {
    auto widest = std::max_element(boxes.begin(), boxes.end(),
                                   [](const Box& a, const Box& b) { return a.score < b.score; });
    if (widest == boxes.end() || widest->score <= 0) break;
    Box box = *widest;
    const int axis = box.axis;
    std::sort(bins.begin() + box.begin, bins.begin() + box.end,
              [axis](const ColourBin& a, const ColourBin& b) { return a.c[axis] < b.c[axis]; });
    double total = 0;
    for (int i = box.begin; i < box.end; ++i) total += bins[i].weight;
    double running = 0;
    int split = box.begin + 1;
    for (int i = box.begin; i < box.end - 1; ++i) {
      running += bins[i].weight;
      split = i + 1;
      if (running >= total / 2) break;
    }
    Box low{box.begin, split, 0, 0}, high{split, box.end, 0, 0};
    MeasureBox(bins, low);
    MeasureBox(bins, high);
    *widest = low;
    boxes.push_back(high);
  }
  // Centres, then a few k-means passes over the bins.
  std::vector<std::array<float, 3>> centres;
  for (const Box& box : boxes) {
    double sum[3] = {}, w = 0;
    for (int i = box.begin; i < box.end; ++i) {
      for (int c = 0; c < 3; ++c) sum[c] += bins[i].c[c] * bins[i].weight;
      w += bins[i].weight;
    }
    centres.push_back({static_cast<float>(sum[0] / w), static_cast<float>(sum[1] / w),
                       static_cast<float>(sum[2] / w)});
  }
  for (int pass = 0; pass < kRefinePasses && !centres.empty(); ++pass) {
    std::vector<double> acc(centres.size() * 4, 0.0);
    for (const ColourBin& bin : bins) {
      size_t best = 0;
      double bestDistance = Distance(bin.c, centres[0].data());
      for (size_t k = 1; k < centres.size(); ++k) {
        const double d = Distance(bin.c, centres[k].data());
        if (d < bestDistance) {
          bestDistance = d;
          best = k;
        }
      }
      for (int c = 0; c < 3; ++c) acc[4 * best + c] += bin.c[c] * bin.weight;
      acc[4 * best + 3] += bin.weight;
    }
    for (size_t k = 0; k < centres.size(); ++k) {
      if (acc[4 * k + 3] <= 0) continue;
      for (int c = 0; c < 3; ++c)
        centres[k][c] = static_cast<float>(acc[4 * k + c] / acc[4 * k + 3]);
    }
  }
  PaletteData palette;  // all black to begin with; unused entries stay black
  for (size_t k = 0; k < centres.size(); ++k) {
    uint8_t rgb[3];
    for (int c = 0; c < 3; ++c)
      rgb[c] = static_cast<uint8_t>(std::clamp(std::lround(centres[k][c]), 0L, 255L));
    palette.Set(static_cast<int>(k) + 1, rgb[0], rgb[1], rgb[2]);
  }
  return palette;
}

constexpr int kDitherSize = 8;

IndexedImage QuantizeDithered(const Canvas& canvas, const PaletteMapper& mapper, int amplitude) {
  static constexpr uint8_t kBayer[kDitherSize][kDitherSize] = {
      {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
      {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
      {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
  // Offsets centred on zero, spread evenly over the amplitude.
  double offsets[kDitherSize][kDitherSize];
  for (int y = 0; y < kDitherSize; ++y)
    for (int x = 0; x < kDitherSize; ++x)
      offsets[y][x] = ((kBayer[y][x] + 0.5) / (kDitherSize * kDitherSize) - 0.5) * amplitude;
  cairo_surface_flush(canvas.surface());
  const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  IndexedImage image(canvas.width(), canvas.height());
  for (int y = 0; y < canvas.height(); ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < canvas.width(); ++x) {
      const int r = (row[x] >> 16) & 0xFF, g = (row[x] >> 8) & 0xFF, b = row[x] & 0xFF;
      if (r == 0 && g == 0 && b == 0) continue;  // stays index 0
      const double offset = offsets[y % kDitherSize][x % kDitherSize];
      // Rounded to even levels: invisible, and it halves the distinct colours to look up.
      auto channel = [offset](int v) {
        const long even = 2 * std::lround((v + offset) / 2);
        return static_cast<uint8_t>(std::clamp(even, 0L, 255L));
      };
      image.At(x, y) = mapper.Nearest(channel(r), channel(g), channel(b));
    }
  }
  return image;
}

PaletteImage QuantizeOwnPalette(const Canvas& canvas) {
  constexpr int kDitherAmplitude = 8;
  PaletteImage result;
  result.palette = FitPalette(canvas);
  const PaletteMapper mapper(result.palette, 0, 255);
  result.image = QuantizeDithered(canvas, mapper, kDitherAmplitude);
  return result;
}

bool WritePreviewPng(const PaletteImage& picture, const char* path) {
  const int w = picture.image.width, h = picture.image.height;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const uint8_t* c = picture.palette.rgb + 3 * picture.image.At(x, y);
      row[x] = (static_cast<uint32_t>(c[0]) << 16) | (c[1] << 8) | c[2];
    }
  }
  cairo_surface_mark_dirty(surface);
  const bool ok = cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}
