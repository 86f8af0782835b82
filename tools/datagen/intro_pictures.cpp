// The intro pictures (title, two strip pictures, closing poster) and the farewell picture.
// Each is painted in true colour and then given a palette of its own.
#include <cmath>
#include <iterator>

#include "display.h"
#include "intro_pictures_kit.h"
#include "parts.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr int kTitleWidth = 430, kTitleHeight = 152;
constexpr double kTitleLetterSize = 74, kTitleBaseline = 104;
constexpr int kClosingWidth = 212, kClosingHeight = 307;

// Height of a standing bean as a share of its width.
constexpr double kBeanAspect = 0.9;

constexpr char kGameName[] = "PLONKIX";
constexpr int kNameLetters = sizeof kGameName - 1;

// Letter colours of the logo: the bean colours, each from a light top to a deeper bottom.
const Rgb kLogoTops[] = {{1.0, 0.35, 0.33}, {1.0, 0.86, 0.2}, {0.4, 0.9, 0.35}, {0.35, 0.65, 1.0},
                         {0.8, 0.45, 1.0},  {1.0, 0.55, 0.2}, {0.3, 0.85, 0.95}};
const Rgb kLogoBottoms[] = {{0.78, 0.05, 0.12}, {0.96, 0.55, 0.02}, {0.1, 0.58, 0.12},
                            {0.1, 0.3, 0.85},   {0.5, 0.12, 0.72},  {0.9, 0.3, 0.02},
                            {0.05, 0.55, 0.75}};
constexpr int kLogoColours = static_cast<int>(std::size(kLogoTops));
static_assert(std::size(kLogoTops) == std::size(kLogoBottoms));

LetterStyle LogoStyle(double size) {
  LetterStyle style;
  style.size = size;
  style.fatten = size * 0.05;
  style.outline = size * 0.055;
  style.rim = size * 0.03;
  style.shadowOffset = size * 0.06;
  style.shadowBlur = size * 0.05;
  style.shadowAlpha = 0.7;
  style.spacing = -size * 0.03;
  style.wobble = 0.06;
  style.bounce = size * 0.035;
  style.tops = kLogoTops;
  style.bottoms = kLogoBottoms;
  style.colourCount = kLogoColours;
  return style;
}

// Plain caption lettering in one colour pair.
LetterStyle CaptionStyle(double size, const Rgb* top, const Rgb* bottom) {
  LetterStyle style;
  style.size = size;
  style.fatten = 0;  // keeps the dot of an i apart from its stem
  style.outline = size * 0.085;
  style.rim = 0;
  style.shadowOffset = size * 0.06;
  style.shadowBlur = size * 0.05;
  style.shadowAlpha = 0.55;
  style.gloss = 0.45;
  style.tops = top;
  style.bottoms = bottom;
  style.colourCount = 1;
  return style;
}

void FillVertical(cairo_t* cr, double x, double y, double w, double h, const double* stops,
                  const Rgb* colours, int count) {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y, 0, y + h);
  for (int i = 0; i < count; ++i) AddStop(pattern, stops[i], colours[i]);
  cairo_set_source(cr, pattern);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

// One long soft shadow under a row of beans standing on the ground.
void ContactShadowRow(cairo_t* cr, double x0, double x1, double y) {
  SoftSpot(cr, (x0 + x1) / 2, y, (x1 - x0) / 2, 7,
           {{0, {0, 0, 0}, 0.35}, {0.7, {0, 0, 0}, 0.25}, {1, {0, 0, 0}, 0}});
}

void MotionLines(cairo_t* cr, double x, double y, double length, double spread, Rgb colour) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 2.5);
  for (int i = -1; i <= 1; ++i) {
    cairo_pattern_t* fade =
        cairo_pattern_create_linear(x, y + i * spread, x, y + i * spread + length);
    AddStop(fade, 0, colour, 0.9);
    AddStop(fade, 1, colour, 0);
    cairo_set_source(cr, fade);
    cairo_move_to(cr, x + i * spread, y + (i == 0 ? 0 : 6));
    cairo_line_to(cr, x + i * spread, y + length * (i == 0 ? 1.0 : 0.7));
    cairo_stroke(cr);
    cairo_pattern_destroy(fade);
  }
}

// ---------------------------------------------------------------------------------------------
// p18: the title logo on black.

void PaintTitle(cairo_t* cr) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  const double cx = kTitleWidth / 2.0;
  // A faint glow behind the logo, fading out well before the picture's edge.
  SoftSpot(cr, cx, 80, 200, 62,
           {{0, {0.2, 0.25, 0.7}, 0.55}, {0.6, {0.12, 0.1, 0.4}, 0.25}, {1, {0, 0, 0}, 0}});

  LetterStyle style = LogoStyle(kTitleLetterSize);
  style.spacing = -1;  // room for the bean in the L
  double letterX[kNameLetters], letterTop[kNameLetters], letterBottom[kNameLetters];
  LetteringBoxes(cr, kGameName, cx, kTitleBaseline, style, letterX, letterTop, letterBottom,
                 kNameLetters);
  DrawLettering(cr, kGameName, cx, kTitleBaseline, style);

  // Beans sitting on the letters: on top of the P and the I, and one tucked into the L.
  constexpr int kLetterP = 0, kLetterL = 1, kLetterI = 5;
  const double outer = style.fatten + style.rim + style.outline;
  BeanLook sit;
  sit.shadow = false;
  sit.colour = kBeanGreen;
  sit.mood = BeanMood::kHappy;
  sit.lookX = 0.7;
  sit.tilt = -0.12;
  DrawBean(cr, letterX[kLetterP] - 4, letterTop[kLetterP] - outer - 11, 34, 30, sit);
  sit.colour = kBeanPurple;
  sit.mood = BeanMood::kWink;
  sit.lookX = -0.7;
  sit.tilt = 0.15;
  DrawBean(cr, letterX[kLetterI] + 2, letterTop[kLetterI] - outer - 12, 32, 28, sit);
  sit.colour = kBeanBlue;
  sit.mood = BeanMood::kSleepy;
  sit.tilt = 0;
  sit.shadow = true;
  DrawBean(cr, letterX[kLetterL] + 9, letterBottom[kLetterL] - 27, 24, 22, sit);

  // A row of small beans along the bottom, with a grumpy black one in the middle.
  const double rowX[] = {58, 96, 334, 372};
  const Rgb rowColours[] = {kBeanYellow, kBeanRed, kBeanRed, kBeanYellow};
  const BeanMood moods[] = {BeanMood::kGrin, BeanMood::kHappy, BeanMood::kHappy,
                            BeanMood::kSurprised};
  for (int i = 0; i < 4; ++i) {
    sit.colour = rowColours[i];
    sit.mood = moods[i];
    sit.lookX = i < 2 ? 0.7 : -0.7;
    sit.tilt = (i % 2 ? 0.12 : -0.12);
    DrawBean(cr, rowX[i], kTitleHeight - 25, 30, 27, sit);
  }
  sit.colour = kBeanBlack;
  sit.mood = BeanMood::kGrumpy;
  sit.lookX = -0.5;
  sit.tilt = 0;
  sit.halo = 0.35;
  DrawBean(cr, cx, kTitleHeight - 23, 30, 27, sit);
  DrawSparkle(cr, 110, 24, 9, {1, 1, 0.7});
  DrawSparkle(cr, 300, 20, 7, {0.8, 0.9, 1});
  DrawSparkle(cr, 24, 112, 6, {1, 0.9, 0.6});
  DrawSparkle(cr, 408, 110, 7, {1, 0.8, 1});
  DrawSparkle(cr, 215, 16, 5, {1, 1, 1});
}

// ---------------------------------------------------------------------------------------------
// p19: a sunny bean meadow.

constexpr Rgb kCloudLight{0.96, 0.97, 1}, kCloudShade{0.72, 0.8, 0.95};

void PaintMeadow(cairo_t* cr) {
  ArtRandom random(19);
  const double skyStops[] = {0, 0.55, 0.75};
  const Rgb sky[] = {{0.16, 0.42, 0.92}, {0.5, 0.78, 1.0}, {0.82, 0.95, 1.0}};
  FillVertical(cr, 0, 0, kScreenWidth, kScreenHeight, skyStops, sky, 3);
  // Sun with slow rays.
  DrawSunburst(cr, 70, 58, 18, 420, 0.1, {1, 1, 0.75}, 0.35);
  PaintGlow(cr, 70, 58, 20, 110, {1, 1, 0.8}, 0.8);
  BeanLook sun;
  sun.colour = {1.0, 0.86, 0.2};
  sun.mood = BeanMood::kSleepy;
  sun.shadow = false;
  DrawBean(cr, 70, 58, 74, 70, sun);

  // Rainbow on the right.
  const Rgb bows[] = {{0.95, 0.25, 0.25}, {1, 0.6, 0.15}, {1, 0.9, 0.2},
                      {0.3, 0.85, 0.3},   {0.25, 0.5, 1}, {0.6, 0.3, 0.85}};
  for (int i = 0; i < 6; ++i) {
    SetColour(cr, bows[i], 0.55);
    cairo_set_line_width(cr, 9);
    cairo_arc(cr, 600, 300, 200 - i * 9, kPi, 2 * kPi);
    cairo_stroke(cr);
  }
  DrawCloud(cr, 520, 175, 130, 55, kCloudLight, kCloudShade);
  DrawCloud(cr, 200, 8, 120, 46, kCloudLight, kCloudShade);
  DrawCloud(cr, 300, 130, 150, 56, kCloudLight, kCloudShade);
  DrawCloud(cr, -30, 150, 140, 52, kCloudLight, kCloudShade);

  // Far hills, middle hills.
  DrawHill(cr, kScreenWidth, kScreenHeight, 212, 20, 0.5, 2.2, {0.55, 0.82, 0.55}, {0.4, 0.7, 0.5},
           0.35);
  DrawHill(cr, kScreenWidth, kScreenHeight, 258, 22, 2.0, 1.6, {0.42, 0.85, 0.3}, {0.2, 0.6, 0.2},
           0.6);
  for (int i = 0; i < 14; ++i) {
    const Rgb petals[] = {{1, 0.5, 0.6}, {1, 1, 1}, {1, 0.85, 0.3}, {0.7, 0.6, 1}};
    DrawFlower(cr, random.Uniform(10, 630), random.Uniform(262, 296), random.Uniform(4, 6),
               petals[i % 4], {1, 0.8, 0.2});
  }

  // Far-off beans on the hills.
  BeanLook far;
  far.colour = kBeanRed;
  far.mood = BeanMood::kSleepy;
  DrawBean(cr, 96, 214, 20, 18, far);
  far.colour = kBeanYellow;
  far.mood = BeanMood::kHappy;
  DrawBean(cr, 118, 218, 18, 16, far);
  far.colour = kBeanPurple;
  DrawBean(cr, 585, 226, 20, 18, far);

  // A small pile of linked beans on the middle hill, as in the game.
  constexpr double kCell = 34, kPileX = 250, kPileFloor = 246;
  BeanLook pile;
  pile.shadow = false;
  ContactShadowRow(cr, kPileX - kCell / 2, kPileX + 4.5 * kCell, kPileFloor + kCell * 0.45);
  {
    const double xs[] = {kPileX, kPileX, kPileX + kCell};
    const double ys[] = {kPileFloor - kCell * kBeanAspect, kPileFloor, kPileFloor};
    pile.colour = kBeanYellow;
    pile.mood = BeanMood::kHappy;
    DrawLinkedBeans(cr, xs, ys, 3, kCell, kCell * kBeanAspect, pile);
  }
  {
    const double xs[] = {kPileX + 2 * kCell, kPileX + 3 * kCell};
    const double ys[] = {kPileFloor, kPileFloor};
    pile.colour = kBeanBlue;
    pile.mood = BeanMood::kGrin;
    pile.lookX = 0.6;
    DrawLinkedBeans(cr, xs, ys, 2, kCell, kCell * kBeanAspect, pile);
  }
  pile.colour = kBeanRed;
  pile.mood = BeanMood::kSurprised;
  pile.lookY = -1;
  DrawBean(cr, kPileX + 2 * kCell, kPileFloor - kCell * kBeanAspect, kCell, kCell * kBeanAspect,
           pile);
  pile.colour = kBeanBlack;
  pile.mood = BeanMood::kGrumpy;
  pile.lookY = 0;
  pile.lookX = -0.6;
  DrawBean(cr, kPileX + 4 * kCell, kPileFloor, kCell, kCell * kBeanAspect, pile);

  // Jumping beans.
  BeanLook jump;
  jump.shadow = false;
  jump.colour = kBeanBlue;
  jump.mood = BeanMood::kGrin;
  jump.tilt = -0.25;
  MotionLines(cr, 150, 172, 40, 12, {1, 1, 1});
  DrawBean(cr, 150, 150, 46, 42, jump);
  jump.colour = kBeanPurple;
  jump.mood = BeanMood::kSurprised;
  jump.tilt = 0.3;
  MotionLines(cr, 470, 150, 36, 11, {1, 1, 1});
  DrawBean(cr, 470, 130, 40, 37, jump);
  {
    const double xs[] = {560, 585};
    const double ys[] = {110, 126};
    jump.colour = kBeanGreen;
    jump.mood = BeanMood::kWink;
    jump.tilt = 0;
    DrawLinkedBeans(cr, xs, ys, 2, 30, 28, jump);
  }

  // Foreground meadow and the big beans.
  DrawHill(cr, kScreenWidth, kScreenHeight, 318, 12, 0.8, 1.2, {0.45, 0.9, 0.25},
           {0.15, 0.55, 0.12}, 0.7);
  DrawGrassTufts(cr, 0, kScreenWidth, 330, 30, {0.3, 0.7, 0.2}, random);
  for (int i = 0; i < 10; ++i) {
    const Rgb petals[] = {{1, 0.4, 0.5}, {1, 1, 1}, {1, 0.8, 0.2}, {0.75, 0.55, 1}};
    DrawFlower(cr, random.Uniform(10, 630), random.Uniform(370, 395), random.Uniform(6, 9),
               petals[i % 4], {1, 0.75, 0.15});
  }
  struct Cast {
    double x, y, w;
    Rgb colour;
    BeanMood mood;
    double lookX, tilt;
  };
  const Cast cast[] = {
      {70, 350, 70, kBeanRed, BeanMood::kGrin, 0.6, -0.08},
      {170, 362, 60, kBeanYellow, BeanMood::kHappy, 0.4, 0.1},
      {300, 352, 76, kBeanGreen, BeanMood::kWink, 0.0, -0.04},
      {430, 364, 58, kBeanPurple, BeanMood::kSurprised, -0.5, 0.08},
      {540, 352, 68, kBeanBlue, BeanMood::kHappy, -0.6, -0.1},
      {612, 372, 44, kBeanBlack, BeanMood::kGrumpy, -0.8, 0.0},
  };
  for (const Cast& c : cast) {
    BeanLook look;
    look.colour = c.colour;
    look.mood = c.mood;
    look.lookX = c.lookX;
    look.tilt = c.tilt;
    DrawBean(cr, c.x, c.y, c.w, c.w * kBeanAspect, look);
  }

  // The game's name across the sky.
  LetterStyle style = LogoStyle(78);
  DrawLettering(cr, kGameName, 340, 84, style);
}

// A sagging wire with glowing bulbs in the bean colours.
void DrawLightString(cairo_t* cr, double x0, double y0, double x1, double y1, double sag,
                     ArtRandom& random) {
  auto at = [&](double t, double& x, double& y) {
    x = x0 + (x1 - x0) * t;
    y = y0 + (y1 - y0) * t + sag * 4 * t * (1 - t);
  };
  cairo_set_line_width(cr, 1.5);
  cairo_set_source_rgba(cr, 0.08, 0.03, 0.12, 0.9);
  for (int i = 0; i <= 40; ++i) {
    double x, y;
    at(i / 40.0, x, y);
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_stroke(cr);
  constexpr int kBulbs = 9;
  for (int i = 1; i < kBulbs; ++i) {
    double x, y;
    at(i / static_cast<double>(kBulbs), x, y);
    const Rgb colour = Lighten(kBeanColours[(i + random.Below(2)) % kBeanColourCount], 0.2);
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y + 5, 0, x, y + 5, 16);
    AddStop(glow, 0, colour, 0.6);
    AddStop(glow, 1, colour, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, x, y + 5, 16, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_save(cr);
    cairo_translate(cr, x, y + 5);
    cairo_scale(cr, 3.6, 5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_pattern_t* bulb = cairo_pattern_create_radial(x - 1, y + 3, 0, x, y + 5, 5);
    AddStop(bulb, 0, {1, 1, 1});
    AddStop(bulb, 1, colour);
    cairo_set_source(cr, bulb);
    cairo_fill(cr);
    cairo_pattern_destroy(bulb);
    cairo_set_source_rgb(cr, 0.15, 0.1, 0.2);
    cairo_rectangle(cr, x - 2, y - 1, 4, 2.5);
    cairo_fill(cr);
  }
}

// ---------------------------------------------------------------------------------------------
// p20: a night of fireworks, the beans in the middle of a chain.

void PaintFireworks(cairo_t* cr) {
  ArtRandom random(20);
  const double skyStops[] = {0, 0.6, 0.85};
  const Rgb sky[] = {{0.04, 0.03, 0.16}, {0.18, 0.08, 0.36}, {0.42, 0.15, 0.45}};
  FillVertical(cr, 0, 0, kScreenWidth, kScreenHeight, skyStops, sky, 3);
  DrawStars(cr, 0, 0, kScreenWidth, 300, 140, random);
  // Moon.
  PaintGlow(cr, 585, 55, 20, 90, {0.9, 0.9, 1}, 0.45);
  BeanLook moon;
  moon.colour = {0.98, 0.95, 0.75};
  moon.mood = BeanMood::kSleepy;
  moon.shadow = false;
  DrawBean(cr, 585, 55, 58, 56, moon);

  DrawFirework(cr, 90, 70, 62, {1, 0.35, 0.35}, random);
  DrawFirework(cr, 470, 40, 46, {0.4, 1, 0.45}, random);
  DrawFirework(cr, 210, 165, 50, {1, 0.9, 0.3}, random);
  DrawFirework(cr, 560, 170, 58, {0.75, 0.45, 1}, random);
  DrawFirework(cr, 380, 150, 34, {0.4, 0.7, 1}, random);
  DrawFirework(cr, 40, 190, 30, {1, 0.6, 0.2}, random);

  // A rising rocket bean.
  BeanLook rocket;
  rocket.shadow = false;
  rocket.colour = kBeanYellow;
  rocket.mood = BeanMood::kGrin;
  rocket.lookY = -1;
  // Its trail: a tapering flame with sparks.
  cairo_pattern_t* trail = cairo_pattern_create_linear(0, 140, 0, 236);
  AddStop(trail, 0, {1, 1, 0.7}, 0.95);
  AddStop(trail, 0.3, {1, 0.7, 0.2}, 0.75);
  AddStop(trail, 1, {1, 0.3, 0.4}, 0);
  cairo_set_source(cr, trail);
  cairo_move_to(cr, 289, 140);
  cairo_curve_to(cr, 291, 180, 298, 210, 300, 236);
  cairo_curve_to(cr, 302, 210, 309, 180, 311, 140);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_pattern_destroy(trail);
  for (int i = 0; i < 9; ++i) {
    const double y = 150 + i * 10 + random.Uniform(-3, 3);
    const double x = 300 + random.Uniform(-12, 12) * (1 + i * 0.08);
    cairo_set_source_rgba(cr, 1, random.Uniform(0.7, 1), 0.5, 0.9 - i * 0.08);
    cairo_arc(cr, x, y, random.Uniform(1, 2.2), 0, 2 * kPi);
    cairo_fill(cr);
  }
  DrawBean(cr, 300, 128, 34, 32, rocket);

  // Hills in the dark, lit from above.
  DrawHill(cr, kScreenWidth, kScreenHeight, 262, 18, 1.2, 1.8, {0.32, 0.16, 0.5},
           {0.12, 0.06, 0.25}, 0.8);

  // The chain on the hill: groups of linked beans, one of them bursting.
  BeanLook group;
  group.shadow = false;
  ContactShadowRow(cr, 60, 160, 276);
  ContactShadowRow(cr, 382, 448, 268);
  ContactShadowRow(cr, 462, 528, 268);
  {
    const double xs[] = {80, 110, 140, 140};
    const double ys[] = {262, 262, 262, 234};
    group.colour = kBeanRed;
    group.mood = BeanMood::kGrin;
    group.lookY = -0.8;
    DrawLinkedBeans(cr, xs, ys, 4, 30, 28, group);
  }
  DrawBurst(cr, 236, 240, 40, 8, {1, 1, 0.5}, {1, 0.55, 0.1});
  DrawSparkle(cr, 205, 215, 10, {1, 1, 0.6});
  DrawSparkle(cr, 268, 268, 8, {1, 1, 0.6});
  {
    const double xs[] = {400, 400, 430};
    const double ys[] = {226, 254, 254};
    group.colour = kBeanGreen;
    group.mood = BeanMood::kHappy;
    group.lookY = -0.6;
    DrawLinkedBeans(cr, xs, ys, 3, 30, 28, group);
  }
  {
    const double xs[] = {480, 510};
    const double ys[] = {254, 254};
    group.colour = kBeanBlue;
    group.mood = BeanMood::kSurprised;
    DrawLinkedBeans(cr, xs, ys, 2, 30, 28, group);
  }
  // "chain" caption popping out of the burst.
  const Rgb chainTop[] = {{1, 1, 0.6}};
  const Rgb chainBottom[] = {{1, 0.5, 0.05}};
  LetterStyle chainStyle = CaptionStyle(38, chainTop, chainBottom);
  chainStyle.wobble = 0.08;
  chainStyle.bounce = 2;
  DrawLettering(cr, "4 chain!", 300, 212, chainStyle);

  // A string of party lights across the valley.
  DrawLightString(cr, -40, 276, 220, 290, 28, random);
  DrawLightString(cr, 220, 290, 430, 280, 24, random);
  DrawLightString(cr, 430, 280, 680, 292, 30, random);

  // Foreground: the crowd watching the sky.
  DrawHill(cr, kScreenWidth, kScreenHeight, 330, 10, 0.3, 1.0, {0.24, 0.1, 0.38},
           {0.08, 0.03, 0.16}, 0.9);
  struct Watcher {
    double x, y, w;
    Rgb colour;
    BeanMood mood;
    double lookX;
  };
  const Watcher crowd[] = {
      {60, 362, 64, kBeanBlue, BeanMood::kSurprised, 0.3},
      {150, 372, 58, kBeanYellow, BeanMood::kGrin, 0.5},
      {250, 360, 70, kBeanPurple, BeanMood::kHappy, 0.0},
      {355, 370, 60, kBeanRed, BeanMood::kGrin, -0.2},
      {455, 362, 66, kBeanGreen, BeanMood::kSurprised, -0.4},
      {545, 374, 50, kBeanBlack, BeanMood::kGrumpy, -0.8},
      {604, 368, 50, kBeanBlack, BeanMood::kGrumpy, -0.9},
  };
  for (const Watcher& w : crowd) {
    BeanLook look;
    look.colour = w.colour;
    look.mood = w.mood;
    look.lookX = w.lookX;
    look.lookY = w.mood == BeanMood::kGrumpy ? 0.2 : -1.0;
    DrawBean(cr, w.x, w.y, w.w, w.w * kBeanAspect, look);
  }

  LetterStyle style = LogoStyle(80);
  style.rimColour = {1, 0.95, 0.7};
  DrawLettering(cr, kGameName, 300, 98, style);
}

// ---------------------------------------------------------------------------------------------
// p21: a "get ready" poster with a tall bean.

void PaintPoster(cairo_t* cr) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  const double w = kClosingWidth, h = kClosingHeight;
  constexpr double kMargin = 5, kCorner = 18;
  auto card = [&] {
    cairo_new_path(cr);
    cairo_arc(cr, w - kMargin - kCorner, kMargin + kCorner, kCorner, -kPi / 2, 0);
    cairo_arc(cr, w - kMargin - kCorner, h - kMargin - kCorner, kCorner, 0, kPi / 2);
    cairo_arc(cr, kMargin + kCorner, h - kMargin - kCorner, kCorner, kPi / 2, kPi);
    cairo_arc(cr, kMargin + kCorner, kMargin + kCorner, kCorner, kPi, 1.5 * kPi);
    cairo_close_path(cr);
  };
  card();
  cairo_save(cr);
  cairo_clip(cr);
  const double stops[] = {0, 0.55, 1};
  const Rgb fill[] = {{1, 0.9, 0.35}, {1, 0.6, 0.2}, {0.9, 0.25, 0.35}};
  FillVertical(cr, 0, 0, w, h, stops, fill, 3);
  DrawSunburst(cr, w / 2, 150, 16, 260, 0.05, {1, 1, 0.85}, 0.45);
  // Ground with a little pile of beans.
  DrawHill(cr, w, h, 262, 5, 0.4, 1.0, {0.45, 0.88, 0.3}, {0.15, 0.5, 0.15}, 0.7);
  BeanLook look;
  look.colour = kBeanRed;
  look.mood = BeanMood::kGrin;
  look.lookX = 0.2;
  look.lookY = -0.2;
  look.faceRaise = 0.14;
  look.wave = 1;
  DrawBean(cr, w / 2, 170, 96, 150, look);
  look.wave = 0;
  look.faceRaise = 0;
  look.colour = kBeanBlue;
  look.mood = BeanMood::kHappy;
  look.lookX = 0.8;
  look.tilt = -0.15;
  DrawBean(cr, 38, 232, 40, 37, look);
  look.colour = kBeanGreen;
  look.mood = BeanMood::kWink;
  look.lookX = -0.8;
  look.tilt = 0.15;
  DrawBean(cr, w - 38, 234, 40, 37, look);
  DrawSparkle(cr, 30, 90, 10, {1, 1, 1});
  DrawSparkle(cr, w - 22, 150, 10, {1, 1, 1});
  DrawSparkle(cr, 52, 150, 6, {1, 1, 1});
  const Rgb readyTop[] = {{1, 1, 1}};
  const Rgb readyBottom[] = {{1, 0.85, 0.4}};
  LetterStyle ready = CaptionStyle(31, readyTop, readyBottom);
  ready.wobble = 0.05;
  ready.bounce = 1.5;
  DrawLettering(cr, "get ready!", w / 2, 280, ready);
  LetterStyle name = LogoStyle(34);
  name.shadowOffset = 2;
  name.shadowBlur = 2;
  DrawLettering(cr, kGameName, w / 2, 48, name);
  cairo_restore(cr);
  card();
  cairo_set_line_width(cr, 5);
  cairo_set_source_rgb(cr, 0.1, 0.05, 0.2);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 2);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_stroke(cr);
}

void DrawSailboat(cairo_t* cr, double x, double y) {
  const Rgb hull{0.45, 0.2, 0.35};
  // Sail.
  cairo_move_to(cr, x + 2, y - 46);
  cairo_curve_to(cr, x + 18, y - 30, x + 24, y - 16, x + 26, y - 8);
  cairo_line_to(cr, x + 2, y - 8);
  cairo_close_path(cr);
  cairo_pattern_t* sail = cairo_pattern_create_linear(x, y - 46, x + 26, y - 8);
  AddStop(sail, 0, {1, 1, 0.95});
  AddStop(sail, 1, {1, 0.75, 0.6});
  cairo_set_source(cr, sail);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(sail);
  SetColour(cr, Darken(hull, 0.4));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_move_to(cr, x, y - 48);
  cairo_line_to(cr, x, y - 4);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  BeanLook sailor;
  sailor.colour = kBeanYellow;
  sailor.mood = BeanMood::kHappy;
  sailor.shadow = false;
  sailor.wave = -1;
  sailor.lookX = -0.8;
  DrawBean(cr, x - 12, y - 10, 20, 18, sailor);
  // Hull.
  cairo_move_to(cr, x - 30, y - 4);
  cairo_line_to(cr, x + 30, y - 4);
  cairo_curve_to(cr, x + 24, y + 6, x + 16, y + 7, x, y + 7);
  cairo_curve_to(cr, x - 16, y + 7, x - 24, y + 6, x - 30, y - 4);
  cairo_close_path(cr);
  cairo_pattern_t* body = cairo_pattern_create_linear(0, y - 4, 0, y + 7);
  AddStop(body, 0, Lighten(hull, 0.3));
  AddStop(body, 1, hull);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  SetColour(cr, Darken(hull, 0.5));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Ripples.
  cairo_set_source_rgba(cr, 1, 0.85, 0.7, 0.6);
  cairo_set_line_width(cr, 1.5);
  cairo_move_to(cr, x - 40, y + 10);
  cairo_line_to(cr, x - 20, y + 10);
  cairo_move_to(cr, x + 22, y + 11);
  cairo_line_to(cr, x + 44, y + 11);
  cairo_stroke(cr);
}

// ---------------------------------------------------------------------------------------------
// p17: the farewell at sunset.

void PaintFarewell(cairo_t* cr) {
  ArtRandom random(17);
  constexpr double kHorizon = 262;
  const double skyStops[] = {0, 0.3, 0.55, 0.66};
  const Rgb sky[] = {{0.2, 0.1, 0.42}, {0.6, 0.2, 0.55}, {0.98, 0.45, 0.45}, {1, 0.75, 0.4}};
  FillVertical(cr, 0, 0, kScreenWidth, kHorizon, skyStops, sky, 4);
  DrawStars(cr, 0, 0, kScreenWidth, 70, 40, random);
  // The setting sun.
  DrawSunburst(cr, 320, kHorizon, 20, 480, 0.0, {1, 0.9, 0.6}, 0.3);
  cairo_pattern_t* sunGlow = cairo_pattern_create_radial(320, kHorizon, 30, 320, kHorizon, 200);
  AddStop(sunGlow, 0, {1, 0.9, 0.5}, 0.5);
  AddStop(sunGlow, 1, {1, 0.6, 0.4}, 0);
  cairo_set_source(cr, sunGlow);
  cairo_rectangle(cr, 0, 0, kScreenWidth, kHorizon);
  cairo_fill(cr);
  cairo_pattern_destroy(sunGlow);
  cairo_pattern_t* sun = cairo_pattern_create_linear(0, kHorizon - 70, 0, kHorizon);
  AddStop(sun, 0, {1, 1, 0.82});
  AddStop(sun, 0.5, {1, 0.82, 0.3});
  AddStop(sun, 1, {1, 0.45, 0.12});
  cairo_set_source(cr, sun);
  cairo_arc(cr, 320, kHorizon, 70, kPi, 2 * kPi);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(sun);
  cairo_set_source_rgba(cr, 1, 1, 0.9, 0.7);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  DrawCloud(cr, 30, 150, 150, 44, {1, 0.8, 0.8}, {0.75, 0.4, 0.6});
  DrawCloud(cr, 450, 170, 170, 48, {1, 0.8, 0.8}, {0.75, 0.4, 0.6});
  DrawCloud(cr, 530, 100, 96, 30, {0.95, 0.7, 0.85}, {0.6, 0.35, 0.6});

  // Sea with the sun's reflection.
  const double seaStops[] = {0, 1};
  const Rgb sea[] = {{0.55, 0.35, 0.6}, {0.18, 0.12, 0.4}};
  FillVertical(cr, 0, kHorizon, kScreenWidth, kScreenHeight - kHorizon, seaStops, sea, 2);
  for (int i = 0; i < 12; ++i) {
    const double y = kHorizon + 4 + i * 6.5;
    const double half = 70 - i * 3.5 + random.Uniform(-8, 8);
    SetColour(cr, {1, 0.85, 0.5}, 0.75 - i * 0.04);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 320 - half, y);
    cairo_line_to(cr, 320 + half, y);
    cairo_stroke(cr);
  }
  // Birds.
  cairo_set_line_width(cr, 2);
  cairo_set_source_rgba(cr, 0.2, 0.08, 0.25, 0.8);
  const double birds[][2] = {{120, 110}, {140, 124}, {455, 128}, {478, 116}};
  for (const auto& b : birds) {
    cairo_move_to(cr, b[0] - 8, b[1]);
    cairo_curve_to(cr, b[0] - 5, b[1] - 5, b[0] - 2, b[1] - 5, b[0], b[1]);
    cairo_curve_to(cr, b[0] + 2, b[1] - 5, b[0] + 5, b[1] - 5, b[0] + 8, b[1]);
    cairo_stroke(cr);
  }

  // A little sailing bean heading for the sun.
  DrawSailboat(cr, 470, 292);

  // The beach where the beans say goodbye.
  DrawHill(cr, kScreenWidth, kScreenHeight, 330, 10, 1.5, 1.0, {1, 0.85, 0.55}, {0.85, 0.55, 0.35},
           0.5);
  struct Friend {
    double x, y, w;
    Rgb colour;
    BeanMood mood;
    double lookX, tilt;
    int wave;
  };
  const Friend friends[] = {
      {62, 352, 64, kBeanGreen, BeanMood::kHappy, 0.5, -0.12, -1},
      {166, 364, 56, kBeanYellow, BeanMood::kWink, 0.3, 0.1, 0},
      {266, 352, 68, kBeanRed, BeanMood::kGrin, 0.1, -0.06, 1},
      {376, 360, 62, kBeanBlue, BeanMood::kHappy, -0.1, 0.06, 0},
      {476, 352, 60, kBeanPurple, BeanMood::kSleepy, -0.3, -0.1, 1},
      {578, 362, 54, kBeanBlack, BeanMood::kWorried, -0.6, 0.1, 0},
  };
  for (const Friend& f : friends) {
    BeanLook look;
    look.colour = f.colour;
    look.mood = f.mood;
    look.lookX = f.lookX;
    look.tilt = f.tilt;
    look.wave = f.wave;
    DrawBean(cr, f.x, f.y, f.w, f.w * kBeanAspect, look);
  }
  // A starfish and a shell in the sand.
  DrawBurst(cr, 318, 384, 9, 5, {1, 0.75, 0.5}, {0.95, 0.4, 0.3});
  cairo_save(cr);
  cairo_translate(cr, 120, 390);
  cairo_scale(cr, 1.3, 1);
  cairo_arc(cr, 0, 0, 5, kPi, 2 * kPi);
  cairo_close_path(cr);
  cairo_restore(cr);
  SetColour(cr, {1, 0.85, 0.85});
  cairo_fill_preserve(cr);
  SetColour(cr, {0.6, 0.35, 0.35});
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);

  const Rgb thanksTop[] = {{1, 1, 0.85}};
  const Rgb thanksBottom[] = {{1, 0.7, 0.2}};
  LetterStyle thanks = CaptionStyle(52, thanksTop, thanksBottom);
  thanks.wobble = 0.04;
  thanks.bounce = 2;
  DrawLettering(cr, "thanks for playing!", 320, 78, thanks);
  const Rgb soonTop[] = {{1, 0.85, 0.95}};
  const Rgb soonBottom[] = {{1, 0.45, 0.7}};
  LetterStyle soon = CaptionStyle(30, soonTop, soonBottom);
  DrawLettering(cr, "see you soon", 320, 126, soon);
}

template <typename Painter>
PaletteImage Render(int width, int height, Painter paint) {
  Canvas canvas(width, height);
  paint(canvas.cr());
  return QuantizeOwnPalette(canvas);
}

}  // namespace

PaletteImage DrawTitlePicture() {
  return Render(kTitleWidth, kTitleHeight, PaintTitle);
}

PaletteImage DrawStripPicture(int which) {
  return Render(kScreenWidth, kScreenHeight, which == 0 ? PaintMeadow : PaintFireworks);
}

PaletteImage DrawClosingPicture() {
  return Render(kClosingWidth, kClosingHeight, PaintPoster);
}

PaletteImage DrawExitPicture() {
  return Render(kScreenWidth, kScreenHeight, PaintFarewell);
}
