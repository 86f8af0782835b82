#include "animations.h"

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

void HoppingTrio(cairo_t* cr, int frame) {
  // Three beans hopping in turn, each once per loop, a third of a loop after the one before.
  const int colours[3] = {5, 4, 6};
  for (int i = 0; i < 3; ++i) {
    const double t = std::fmod(static_cast<double>(frame) / kAnimationFrames + i / 3.0, 1.0);
    const double lift = t < 0.5 ? std::sin(2 * M_PI * t) : 0;
    const double squash = t >= 0.5 && t < 0.6 ? 0.8 : 1.0;
    const double floorY = 42, ry = 9.5 * squash, rx = 11 / std::sqrt(squash);
    const double cx = 15 + 24 * i;
    cairo_save(cr);
    cairo_translate(cr, cx, floorY + 2);
    cairo_scale(cr, 10 - 4 * lift, 2.2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    UseColour(cr, HexColour(0x06041a));
    cairo_fill(cr);
    DrawCartoonBean(cr, cx, floorY - ry - 20 * lift, rx, ry, colours[i], true, 1.6);
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
      HoppingTrio(cr, f);
    frames.push_back(ToMaster(canvas));
  }
  return frames;
}
