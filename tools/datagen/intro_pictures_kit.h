// Drawing kit for the intro and exit pictures: jelly beans, glossy lettering, soft shadows,
// scenery pieces, and a palette made to measure for each finished picture.
#pragma once
#include <cairo/cairo.h>

#include <cstdint>
#include <initializer_list>

#include "canvas.h"
#include "parts.h"

struct Rgb {
  double r, g, b;
};

// The five bean colours and the black bean, as the intro paints them.
constexpr Rgb kBeanRed{0.93, 0.17, 0.20};
constexpr Rgb kBeanGreen{0.22, 0.78, 0.24};
constexpr Rgb kBeanBlue{0.16, 0.45, 0.95};
constexpr Rgb kBeanYellow{0.99, 0.80, 0.10};
constexpr Rgb kBeanPurple{0.64, 0.27, 0.88};
constexpr Rgb kBeanBlack{0.22, 0.22, 0.30};
constexpr int kBeanColourCount = 5;
extern const Rgb kBeanColours[kBeanColourCount];

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Lighten(Rgb c, double t);  // towards white
Rgb Darken(Rgb c, double t);   // towards black
void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void AddStop(cairo_pattern_t* pattern, double offset, Rgb c, double alpha = 1.0);

// A soft elliptical spot (shadow, blush, glow) centred on (cx, cy) with radii rx and ry, its
// colour running through the stops from the centre (0) to the rim (1).
struct SpotStop {
  double at;
  Rgb colour;
  double alpha;
};
void SoftSpot(cairo_t* cr, double cx, double cy, double rx, double ry,
              std::initializer_list<SpotStop> stops);
// A round glow painted over the whole picture, from the inner radius (alpha) to the outer (0).
void PaintGlow(cairo_t* cr, double cx, double cy, double inner, double outer, Rgb colour,
               double alpha);

// A small repeatable generator, so every run draws the same pictures.
struct ArtRandom {
  uint32_t state;
  explicit ArtRandom(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  double Uniform(double low, double high) { return low + (high - low) * (Next() % 100000) / 1e5; }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
};

enum class BeanMood { kHappy, kGrin, kSurprised, kWink, kSleepy, kGrumpy, kWorried };

struct BeanLook {
  Rgb colour = kBeanRed;
  BeanMood mood = BeanMood::kHappy;
  double lookX = 0, lookY = 0;  // where the pupils point, -1..1
  double tilt = 0;              // radians, turning about the bean's centre
  bool shadow = true;           // a soft contact shadow below it
  bool blush = true;
  double faceRaise = 0;  // moves the face up by this fraction of the height (tall beans)
  int wave = 0;          // -1 / 1: a little nub waving on the left / right side
  double halo = 0;       // strength of a soft light halo behind it (for dark backgrounds)
};

// The bean outline, centred on the current origin, in a 1 x 1 box (the caller scales).
void BeanPath(cairo_t* cr);
// A glossy jelly bean with a face, centred at (cx, cy), width x height pixels.
void DrawBean(cairo_t* cr, double cx, double cy, double width, double height, const BeanLook& look);
// Beans of one colour joined into one blob: a chain of centres with the same size.
void DrawLinkedBeans(cairo_t* cr, const double* xs, const double* ys, int count, double width,
                     double height, const BeanLook& look);

// A scratch layer the size of the target: draw into it, blur it, and paint it over the target.
class SoftLayer {
 public:
  SoftLayer(int width, int height);
  ~SoftLayer();
  SoftLayer(const SoftLayer&) = delete;
  SoftLayer& operator=(const SoftLayer&) = delete;
  cairo_t* cr() const { return cr_; }
  // Blurs the rectangle (clipped to the layer); everything outside it must be empty.
  void BlurRect(int radius, int x, int y, int width, int height);
  void PaintOnto(cairo_t* target, double dx, double dy, double alpha) const;

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
};
// Three box passes over every channel of an ARGB32 surface, edges clamped; optionally only over
// a rectangle of it.
void BlurSurface(cairo_surface_t* surface, int radius);
void BlurSurfaceRect(cairo_surface_t* surface, int radius, int x, int y, int width, int height);

// Lettering: bold rounded letters with a dark outline, a light rim, a top-to-bottom gradient,
// a gloss band and a soft drop shadow. Colours cycle through letterTop/letterBottom per letter.
struct LetterStyle {
  double size = 60;         // font size in pixels
  double fatten = 4;        // extra rounded stroke around each glyph, pixels
  double outline = 4;       // dark outline beyond that
  double rim = 0;           // a light rim between outline and fill (0: none)
  double shadowOffset = 4;  // drop shadow distance, 0 for none
  double shadowBlur = 4;
  double shadowAlpha = 0.6;
  double gloss = 0.55;  // strength of the gloss band
  double spacing = 0;   // extra space between letters
  double wobble = 0;    // radians of playful alternate tilting
  double bounce = 0;    // pixels of alternate vertical offset
  Rgb outlineColour{0.08, 0.06, 0.20};
  Rgb rimColour{1, 1, 1};
  const Rgb* tops = nullptr;  // per-letter top and bottom colours (cycled)
  const Rgb* bottoms = nullptr;
  int colourCount = 0;
};
// Width the text takes with this style (from the glyph advances).
double LetteringWidth(cairo_t* cr, const char* text, const LetterStyle& style);
// Where each letter of DrawLettering lands: its centre x, the top and bottom of its ink (before
// the outline). Returns the number of letters (spaces are skipped).
int LetteringBoxes(cairo_t* cr, const char* text, double cx, double baseline,
                   const LetterStyle& style, double* centreX, double* top, double* bottom,
                   int capacity);
// Draws the text centred on cx with its baseline at baseline.
void DrawLettering(cairo_t* cr, const char* text, double cx, double baseline,
                   const LetterStyle& style);

// Scenery.
void DrawSparkle(cairo_t* cr, double x, double y, double radius, Rgb colour, double alpha = 1.0);
void DrawCloud(cairo_t* cr, double x, double y, double width, double height, Rgb light, Rgb shade);
void DrawSunburst(cairo_t* cr, double cx, double cy, int rays, double radius, double turn,
                  Rgb colour, double alpha);
void DrawFlower(cairo_t* cr, double x, double y, double radius, Rgb petals, Rgb centre);
void DrawBurst(cairo_t* cr, double cx, double cy, double radius, int points, Rgb inner, Rgb outer);
void DrawFirework(cairo_t* cr, double cx, double cy, double radius, Rgb colour, ArtRandom& random);
void DrawStars(cairo_t* cr, double x0, double y0, double x1, double y1, int count,
               ArtRandom& random);
// A rolling hill filling everything below a wavy line between x0 and x1.
void DrawHill(cairo_t* cr, double width, double height, double baseY, double amplitude,
              double phase, double waves, Rgb top, Rgb bottom, double outlineAlpha);
void DrawGrassTufts(cairo_t* cr, double x0, double x1, double y, int count, Rgb colour,
                    ArtRandom& random);

// A 256-colour palette fitted to the picture (index 0 black; the other 255 from a median cut
// refined by k-means), and the picture mapped to it. Pure black pixels become index 0.
PaletteData FitPalette(const Canvas& canvas);
// Maps the picture (composited over black) to the palette with a light ordered dither of the
// given amplitude in colour levels, so gradients do not band; pure black stays index 0.
IndexedImage QuantizeDithered(const Canvas& canvas, const PaletteMapper& mapper, int amplitude);
PaletteImage QuantizeOwnPalette(const Canvas& canvas);
// Writes a palette-mapped picture as a PNG (for review by eye).
bool WritePreviewPng(const PaletteImage& picture, const char* path);
