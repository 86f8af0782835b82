#include "beans.h"

#include <algorithm>
#include <cmath>

#include "art.h"
#include "master_palette.h"

namespace {

// First sprite number of each link shape and the links it shows (from the game's tables).
struct ShapeRange {
  int first, count, links;
  enum { kIdle, kBlinks, kGlances, kPulse, kStill } kind;
};
constexpr ShapeRange kShapes[] = {
    {0, 10, 0, ShapeRange::kIdle},
    {10, 5, kLinkLeft | kLinkDown, ShapeRange::kPulse},
    {15, 4, kLinkRight, ShapeRange::kBlinks},
    {19, 4, kLinkLeft, ShapeRange::kBlinks},
    {23, 4, kLinkDown, ShapeRange::kGlances},
    {27, 4, kLinkUp, ShapeRange::kGlances},
    {31, 4, kLinkUp | kLinkDown, ShapeRange::kPulse},
    {35, 4, kLinkLeft | kLinkRight, ShapeRange::kPulse},
    {39, 5, kLinkRight | kLinkDown, ShapeRange::kPulse},
    {44, 1, kLinkLeft | kLinkUp | kLinkDown, ShapeRange::kStill},
    {45, 1, kLinkRight | kLinkUp | kLinkDown, ShapeRange::kStill},
    {46, 1, kLinkLeft | kLinkRight | kLinkUp | kLinkDown, ShapeRange::kStill},
    {47, 1, kLinkLeft | kLinkRight | kLinkUp, ShapeRange::kStill},
    {48, 1, kLinkLeft | kLinkRight | kLinkDown, ShapeRange::kStill},
    {49, 5, kLinkRight | kLinkUp, ShapeRange::kPulse},
    {54, 5, kLinkLeft | kLinkUp, ShapeRange::kPulse},
};

// ---- Geometry (sprite pixel coordinates, pixel centres at +0.5) ----
constexpr double kCentreX = kBeanWidth / 2.0;   // 16.5
constexpr double kCentreY = kBeanHeight / 2.0;  // 14
constexpr double kHalfW = 14.5;                 // 2 px transparent margin left and right
constexpr double kHalfH = 12.4;                 // 1.6 px margin above and below
constexpr double kCorner = 11.0;
constexpr double kBridgeHalfH = 8.5;  // half thickness of a horizontal join
constexpr double kBridgeHalfW = 9.5;  // half thickness of a vertical join
constexpr double kBlend = 4.0;        // smooth-union radius: the fillets where blobs meet
constexpr double kDome = 10.0;        // depth of the rounded edge used for shading

struct Box {
  double x0, y0, x1, y1, radius;
};

double BoxDistance(const Box& b, double px, double py) {
  const double cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
  const double hx = (b.x1 - b.x0) / 2 - b.radius, hy = (b.y1 - b.y0) / 2 - b.radius;
  const double qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - b.radius;
}

double SmoothMin(double a, double b) {
  const double h = std::max(kBlend - std::fabs(a - b), 0.0) / kBlend;
  return std::min(a, b) - h * h * kBlend / 4;
}

// The blob of one sprite: its own body, the joins towards linked neighbours and those
// neighbours' resting bodies (so both sides of a seam compute the same outline).
struct Blob {
  Box parts[9];
  int count = 0;
  double Distance(double x, double y) const {
    double d = BoxDistance(parts[0], x, y);
    for (int i = 1; i < count; ++i) d = SmoothMin(d, BoxDistance(parts[i], x, y));
    return d;
  }
};

Box RestBody(double dx, double dy) {
  return {kCentreX - kHalfW + dx, kCentreY - kHalfH + dy, kCentreX + kHalfW + dx,
          kCentreY + kHalfH + dy, kCorner};
}

struct BodyShape {
  Box body;
  double eyeShiftY = 0;  // eyes follow the body when it squashes
};

BodyShape ShapeBody(const BeanPose& pose) {
  BodyShape s{RestBody(0, 0)};
  if (pose.motion == BeanMotion::kSquash) {
    const double h = kHalfH * (1 - 0.055 * pose.level), w = kHalfW * (1 + 0.025 * pose.level);
    const double bottom = s.body.y1;
    s.body = {kCentreX - w, bottom - 2 * h, kCentreX + w, bottom, kCorner};
    s.eyeShiftY = (bottom - h) - kCentreY;
  } else if (pose.motion == BeanMotion::kHappy) {
    // The free sides swell a little (not the bottom, which stays clear of the floor line);
    // joined sides stay put so the seams keep matching.
    const double swell = 0.35 * pose.level;
    if (!(pose.links & kLinkLeft)) s.body.x0 -= swell;
    if (!(pose.links & kLinkRight)) s.body.x1 += swell;
    if (!(pose.links & kLinkUp)) s.body.y0 -= swell * 0.5;
  }
  return s;
}

Blob MakeBlob(const BeanPose& pose, const Box& body) {
  Blob b;
  b.parts[b.count++] = body;
  const double reachX = kBeanWidth, reachY = kBeanHeight;
  if (pose.links & kLinkLeft) {
    b.parts[b.count++] = {kCentreX - reachX, kCentreY - kBridgeHalfH, kCentreX,
                          kCentreY + kBridgeHalfH, 2};
    b.parts[b.count++] = RestBody(-reachX, 0);
  }
  if (pose.links & kLinkRight) {
    b.parts[b.count++] = {kCentreX, kCentreY - kBridgeHalfH, kCentreX + reachX,
                          kCentreY + kBridgeHalfH, 2};
    b.parts[b.count++] = RestBody(reachX, 0);
  }
  if (pose.links & kLinkUp) {
    b.parts[b.count++] = {kCentreX - kBridgeHalfW, kCentreY - reachY, kCentreX + kBridgeHalfW,
                          kCentreY, 2};
    b.parts[b.count++] = RestBody(0, -reachY);
  }
  if (pose.links & kLinkDown) {
    b.parts[b.count++] = {kCentreX - kBridgeHalfW, kCentreY, kCentreX + kBridgeHalfW,
                          kCentreY + reachY, 2};
    b.parts[b.count++] = RestBody(0, reachY);
  }
  return b;
}

double Height(const Blob& blob, double x, double y) {
  const double s = std::clamp(-blob.Distance(x, y) / kDome, 0.0, 1.0);
  return std::sqrt(1 - (1 - s) * (1 - s)) * kDome;
}

struct Vec3 {
  double x, y, z;
};
Vec3 Normalise(Vec3 v) {
  const double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / l, v.y / l, v.z / l};
}
double Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Lit jelly: diffuse light from the upper left, a sharp specular, light glowing through the
// lower part and a dark outline one pixel wide.
void PaintBody(Canvas& canvas, const Blob& blob, int colour) {
  const Colour tone = BeanTone(colour);
  const bool black = colour == kBlackBean;
  const Colour deep = black ? HexColour(0x0a0814) : MixColours(tone, HexColour(0x100418), 0.78);
  const Vec3 light = Normalise({-0.5, -0.7, 0.65});
  const Vec3 half = Normalise({light.x, light.y, light.z + 1});
  cairo_surface_flush(canvas.surface());
  unsigned char* data = cairo_image_surface_get_data(canvas.surface());
  const int stride = cairo_image_surface_get_stride(canvas.surface());
  for (int y = 0; y < kBeanHeight; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < kBeanWidth; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = blob.Distance(px, py);
      const double alpha = std::clamp(0.5 - d, 0.0, 1.0);
      if (alpha <= 0) continue;
      constexpr double e = 0.5;
      const double gx = (Height(blob, px + e, py) - Height(blob, px - e, py)) / (2 * e);
      const double gy = (Height(blob, px, py + e) - Height(blob, px, py - e)) / (2 * e);
      const Vec3 n = Normalise({-gx, -gy, 1});
      const double diffuse = std::max(0.0, Dot(n, light));
      const double specular = std::pow(std::max(0.0, Dot(n, half)), black ? 18 : 28);
      const double glow = std::max(0.0, n.y) * (1 - n.z);
      Colour c;
      const double shade = black ? 0.45 + 0.75 * diffuse : 0.42 + 0.72 * diffuse;
      c = {tone.r * shade, tone.g * shade, tone.b * shade};
      const Colour glowColour =
          black ? HexColour(0x6a4a9a) : MixColours(tone, Colour{1, 1, 1}, 0.45);
      c = MixColours(c, glowColour, 0.45 * glow);
      c = MixColours(c, Colour{1, 1, 1}, std::min(1.0, specular * (black ? 0.55 : 0.85)));
      if (d > -1.25) c = deep;  // outline
      const auto channel = [&](double v) {
        return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * alpha * 255));
      };
      row[x] = (static_cast<uint32_t>(std::lround(alpha * 255)) << 24) | (channel(c.r) << 16) |
               (channel(c.g) << 8) | channel(c.b);
    }
  }
  cairo_surface_mark_dirty(canvas.surface());
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

// A small white shine on the upper left of the bean's own body.
void PaintShine(cairo_t* cr, const Box& body, bool black) {
  const double x = body.x0 + 6.5, y = body.y0 + 4.6;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, -0.55);
  Ellipse(cr, 0, 0, 3.6, 1.9);
  UseColour(cr, Colour{1, 1, 1}, black ? 0.55 : 0.95);
  cairo_fill(cr);
  cairo_restore(cr);
  Ellipse(cr, body.x1 - 5.5, body.y0 + 5.2, 1.1, 1.1);
  UseColour(cr, Colour{1, 1, 1}, black ? 0.4 : 0.8);
  cairo_fill(cr);
}

struct EyeStyle {
  Colour outline;
  Colour lid;
  bool grumpy;
};

// One eye at (cx, cy): white, pupil, glint; closed eyes are curved lines; grumpy eyes have
// a heavy slanted lid (inner side down) and small pupils.
void PaintEye(cairo_t* cr, double cx, double cy, bool leftEye, const BeanPose& pose,
              const EyeStyle& s) {
  const double rx = s.grumpy ? 3.5 : 3.4, ry = s.grumpy ? 3.6 : 4.3;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const bool closed = pose.motion == BeanMotion::kBlink && pose.level >= 2;
  const bool happy = pose.motion == BeanMotion::kHappy && pose.level >= 3;
  if (closed || happy) {
    cairo_new_path(cr);
    if (happy) {  // ^ shaped smiling eyes
      cairo_move_to(cr, cx - 2.8, cy + 1.2);
      cairo_curve_to(cr, cx - 1.5, cy - 2.6, cx + 1.5, cy - 2.6, cx + 2.8, cy + 1.2);
    } else if (s.grumpy) {
      const double slope = leftEye ? 1 : -1;
      cairo_move_to(cr, cx - 3, cy - 0.5 * slope);
      cairo_line_to(cr, cx + 3, cy + 0.5 * slope);
    } else {  // closed: a smile-shaped lash line
      cairo_move_to(cr, cx - 3, cy);
      cairo_curve_to(cr, cx - 1.5, cy + 2.2, cx + 1.5, cy + 2.2, cx + 3, cy);
    }
    UseColour(cr, s.outline);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    return;
  }
  double lookX = 0.6, lookY = 0.5, openness = 1.0, pupilScale = 1.0;
  if (pose.motion == BeanMotion::kLook) lookX = 1.5 * pose.level, lookY = 0.2;
  if (pose.motion == BeanMotion::kBlink) openness = 0.5;
  if (pose.motion == BeanMotion::kHappy) openness = 1.0 - 0.22 * pose.level;
  if (pose.motion == BeanMotion::kSurprise) pupilScale = 0.75, lookX = 0, lookY = -0.4;
  if (pose.motion == BeanMotion::kSquash) lookY = 1.0;
  // White of the eye with its outline.
  Ellipse(cr, cx, cy, rx + 0.9, ry + 0.9);
  UseColour(cr, s.outline);
  cairo_fill(cr);
  Ellipse(cr, cx, cy, rx, ry);
  UseColour(cr, Colour{1, 1, 1});
  cairo_fill(cr);
  const double pr = (s.grumpy ? 1.6 : 2.1) * pupilScale;
  Ellipse(cr, cx + lookX, cy + lookY + 0.6, pr, pr * 1.25);
  UseColour(cr, HexColour(0x100818));
  cairo_fill(cr);
  Ellipse(cr, cx + lookX - 0.8, cy + lookY - 0.6, 0.8, 0.8);
  UseColour(cr, Colour{1, 1, 1});
  cairo_fill(cr);
  // Lids: the upper part of the eye covered in body colour.
  double lidDrop = (1 - openness) * 2 * ry;
  if (s.grumpy) lidDrop = std::max(lidDrop, ry * 0.9);
  if (lidDrop > 0) {
    cairo_save(cr);
    Ellipse(cr, cx, cy, rx + 0.9, ry + 0.9);
    cairo_clip(cr);
    const double top = cy - ry - 1;
    const double tilt = s.grumpy ? (leftEye ? 2.2 : -2.2) : 0;  // inner corner lower
    cairo_move_to(cr, cx - rx - 2, top);
    cairo_line_to(cr, cx + rx + 2, top);
    cairo_line_to(cr, cx + rx + 2, top + lidDrop + tilt);
    cairo_line_to(cr, cx - rx - 2, top + lidDrop - tilt);
    cairo_close_path(cr);
    UseColour(cr, s.lid);
    cairo_fill_preserve(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - rx - 0.5, top + lidDrop - tilt * (rx + 0.5) / (rx + 2));
    cairo_line_to(cr, cx + rx + 0.5, top + lidDrop + tilt * (rx + 0.5) / (rx + 2));
    UseColour(cr, s.outline);
    cairo_set_line_width(cr, s.grumpy ? 1.5 : 1.1);
    cairo_stroke(cr);
  }
}

void PaintFace(cairo_t* cr, const BeanPose& pose, const BodyShape& shape, int colour) {
  const bool black = colour == kBlackBean;
  const Colour tone = BeanTone(colour);
  EyeStyle style{black ? HexColour(0x06040a) : MixColours(tone, HexColour(0x12041c), 0.8),
                 black ? HexColour(0x3a3550) : MixColours(tone, Colour{0, 0, 0}, 0.1), black};
  const double eyeY = kCentreY - 0.5 + shape.eyeShiftY;
  const double spread = black ? 5.3 : 5.0;
  PaintEye(cr, kCentreX - spread, eyeY, true, pose, style);
  PaintEye(cr, kCentreX + spread, eyeY, false, pose, style);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  UseColour(cr, style.outline);
  cairo_set_line_width(cr, 1.3);
  const double my = eyeY + 7.0;
  if (black) {
    // A grumpy frown; a wobbly one while squashed.
    cairo_move_to(cr, kCentreX - 3, my + 1);
    cairo_curve_to(cr, kCentreX - 1.5, my - 1, kCentreX + 1.5, my - 1, kCentreX + 3, my + 1);
    cairo_stroke(cr);
    // Eyebrows, angled down towards the nose.
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, kCentreX - spread - 3.5, eyeY - 5.8);
    cairo_line_to(cr, kCentreX - 1.5, eyeY - 3.8);
    cairo_move_to(cr, kCentreX + spread + 3.5, eyeY - 5.8);
    cairo_line_to(cr, kCentreX + 1.5, eyeY - 3.8);
    cairo_stroke(cr);
  } else if (pose.links == 0 && pose.motion != BeanMotion::kSurprise) {
    cairo_move_to(cr, kCentreX - 2.2, my - 0.6);
    cairo_curve_to(cr, kCentreX - 1, my + 1.0, kCentreX + 1, my + 1.0, kCentreX + 2.2, my - 0.6);
    cairo_stroke(cr);
  } else if (pose.motion == BeanMotion::kSurprise) {
    Ellipse(cr, kCentreX, my, 1.3, 1.5);
    cairo_fill(cr);
  }
}

}  // namespace

BeanPose PoseOfSprite(int n) {
  for (const ShapeRange& s : kShapes) {
    if (n < s.first || n >= s.first + s.count) continue;
    const int k = n - s.first;
    BeanPose pose{s.links, BeanMotion::kRest, 0};
    if (k == 0) return pose;
    switch (s.kind) {
      case ShapeRange::kIdle: {
        // Idle frames: a blink with a glance around, then a squash bounce.
        constexpr BeanMotion kIdleMotion[] = {BeanMotion::kBlink, BeanMotion::kBlink,
                                              BeanMotion::kLook, BeanMotion::kLook,
                                              BeanMotion::kSurprise};
        constexpr int kIdleLevel[] = {1, 2, -1, 1, 1};
        if (k <= 5) return {0, kIdleMotion[k - 1], kIdleLevel[k - 1]};
        return {0, BeanMotion::kSquash, k - 5};
      }
      case ShapeRange::kBlinks:
        return {s.links, BeanMotion::kBlink, k == 2 ? 2 : 1};
      case ShapeRange::kGlances:
        if (k == 3) return {s.links, BeanMotion::kBlink, 2};
        return {s.links, BeanMotion::kLook, k == 1 ? -1 : 1};
      case ShapeRange::kPulse:
        // Four-step pulses use levels 1..4, three-step ones 2..4.
        return {s.links, BeanMotion::kHappy, s.count == 5 ? k : k + 1};
      case ShapeRange::kStill:
        return pose;
    }
  }
  return {};
}

IndexedImage DrawBeanSprite(int colour, int n) {
  const BeanPose pose = PoseOfSprite(n);
  const BodyShape shape = ShapeBody(pose);
  const Blob blob = MakeBlob(pose, shape.body);
  Canvas canvas(kBeanWidth, kBeanHeight);
  PaintBody(canvas, blob, colour);
  cairo_t* cr = canvas.cr();
  // Faces and shines stay inside the sprite's own body.
  PaintShine(cr, shape.body, colour == kBlackBean);
  PaintFace(cr, pose, shape, colour);
  return ToMaster(canvas);
}
