#include "animations.h"

#include <algorithm>
#include <cmath>

#include "art.h"

namespace {

void BouncingBean(cairo_t* cr, int frame) {
  // One bounce per loop: up and down on a sine, squashed on touching the floor.
  const double t = static_cast<double>(frame) / kAnimationFrames;
  const double lift = std::sin(M_PI * t);
  const double floorY = 40;
  const double squash = frame == 0 ? 0.72 : frame == 1 || frame == 9 ? 0.9 : 1.0;
  const double ry = 13 * squash, rx = 15 / std::sqrt(squash);
  const double cy = floorY - ry - 24 * lift;
  // Shadow shrinks as the bean rises.
  cairo_save(cr);
  cairo_translate(cr, 39, floorY + 3);
  cairo_scale(cr, 16 - 6 * lift, 3);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  UseColour(cr, HexColour(0x06041a));
  cairo_fill(cr);
  DrawCartoonBean(cr, 39, cy, rx, ry, 2, true, 2);
}

void TurningPair(cairo_t* cr, int frame) {
  // A falling pair turning a full circle around its lower bean.
  const double a = 2 * M_PI * frame / kAnimationFrames;
  const double cx = 39, cy = 24, arm = 12;
  const double ox = cx + arm * std::sin(a), oy = cy - arm * std::cos(a);
  const double bx = cx - arm * std::sin(a), by = cy + arm * std::cos(a);
  DrawCartoonBean(cr, bx, by, 12, 10.5, 3, true, 1.8);
  DrawCartoonBean(cr, ox, oy, 12, 10.5, 6, true, 1.8);
  DrawSparkle(cr, 10, 10 + 2 * (frame % 5), 5, Colour{1, 1, 0.8}, 1);
  DrawSparkle(cr, 68, 38 - 2 * (frame % 5), 5, Colour{1, 1, 0.8}, 1);
}

void Carousel(cairo_t* cr, int frame) {
  // Five beans riding round an ellipse; the ones behind are smaller and drawn first.
  struct Rider {
    double depth, x, y;
    int colour;
  };
  Rider riders[5];
  for (int i = 0; i < 5; ++i) {
    const double a = 2 * M_PI * (i / 5.0 + frame / (5.0 * kAnimationFrames));
    riders[i] = {std::cos(a), 39 + 27 * std::sin(a), 22 + 9 * std::cos(a), 2 + i};
  }
  std::sort(riders, riders + 5, [](const Rider& a, const Rider& b) { return a.depth < b.depth; });
  for (const Rider& r : riders) {
    const double size = 7.5 + 2.5 * r.depth;
    DrawCartoonBean(cr, r.x, r.y, size * 1.1, size, r.colour, r.depth > -0.2, 1.5);
  }
}

}  // namespace

std::vector<IndexedImage> DrawAnimation(int which) {
  std::vector<IndexedImage> frames;
  for (int f = 0; f < kAnimationFrames; ++f) {
    Canvas canvas(kAnimationWidth, kAnimationHeight);
    cairo_t* cr = canvas.cr();
    if (which == 0)
      BouncingBean(cr, f);
    else if (which == 1)
      TurningPair(cr, f);
    else
      Carousel(cr, f);
    frames.push_back(ToMaster(canvas));
  }
  return frames;
}
