// Drawing helpers shared by the pictures: colours, rounded shapes, outlined word art, sparkles.
#pragma once
#include <cairo/cairo.h>

#include <initializer_list>

#include "canvas.h"
#include "master_palette.h"

constexpr const char* kFontFamily = "DejaVu Sans";
constexpr const char* kCondensedFamily = "DejaVu Sans Condensed";

Colour HexColour(unsigned v);
Colour MixColours(const Colour& a, const Colour& b, double t);
void UseColour(cairo_t* cr, const Colour& c, double alpha = 1.0);
void ClearCanvas(cairo_t* cr);
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);

struct GradientStop {
  double at;
  Colour colour;
};
// A vertical linear gradient from y0 to y1 as the source.
void SetVerticalGradient(cairo_t* cr, double y0, double y1,
                         std::initializer_list<GradientStop> stops);

// Bold word art: the text's path centred on (cx, cy) at the given size, stretched horizontally
// by xScale; a dark outer outline, a light inner rim, a vertical gradient fill and a gloss on
// the upper half.
struct WordArtStyle {
  double size = 30;
  double xScale = 1.0;
  double outline = 4;  // total width of the dark outline stroke
  double rim = 0;      // width of a light rim inside the outline (0 = none)
  Colour outlineColour{0.06, 0.03, 0.12};
  Colour rimColour{1, 1, 1};
  Colour top{1, 1, 0.8};
  Colour bottom{1, 0.5, 0.05};
  double gloss = 0.35;  // alpha of the white gloss over the upper half
  double shadow = 0;    // offset of a dark drop shadow (0 = none)
  bool condensed = false;
};
void DrawWordArt(cairo_t* cr, const char* text, double cx, double cy, const WordArtStyle& style);
// Width of the word art's ink box.
double WordArtWidth(cairo_t* cr, const char* text, const WordArtStyle& style);

// A four-pointed twinkle star.
void DrawSparkle(cairo_t* cr, double cx, double cy, double radius, const Colour& colour,
                 double alpha);

// Quantises with the master palette.
IndexedImage ToMaster(const Canvas& canvas, int alphaCutoff = 128);

// A glossy cartoon bean drawn with Cairo at any size (for logos, pictures and animations):
// an ellipse with a radial shine, a dark outline and, when eyes is set, two eyes.
void DrawCartoonBean(cairo_t* cr, double cx, double cy, double rx, double ry, int colour, bool eyes,
                     double outline = 1.5);
