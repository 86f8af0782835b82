#include "game_art.h"

#include <cmath>
#include <cstdio>

#include "art.h"
#include "sheet_layout.h"

namespace {

// The frame's metal: lavender highlights over violet with gold trim.
const Colour kMetalLight = HexColour(0xd8d0ff);
const Colour kMetalMid = HexColour(0x6a58c0);
const Colour kMetalDark = HexColour(0x2a1e68);
const Colour kMetalEdge = HexColour(0x0e0824);
const Colour kGold = HexColour(0xffc83a);
const Colour kGoldLight = HexColour(0xfff2b0);
const Colour kGoldDark = HexColour(0xa0580c);
const Colour kWellTop = HexColour(0x0a0a22);
const Colour kWellBottom = HexColour(0x1a1850);
const Colour kInsetFill = HexColour(0x0c0a26);

// A raised metal panel with a dark edge, a top-lit gradient and a light inner bevel line.
void MetalPanel(cairo_t* cr, double x, double y, double w, double h, double r) {
  RoundedRectPath(cr, x, y, w, h, r);
  UseColour(cr, kMetalEdge);
  cairo_fill(cr);
  RoundedRectPath(cr, x + 1, y + 1, w - 2, h - 2, std::max(0.0, r - 1));
  SetVerticalGradient(
      cr, y, y + h,
      {{0.0, kMetalLight}, {0.12, HexColour(0x9a8ce8)}, {0.5, kMetalMid}, {1.0, kMetalDark}});
  cairo_fill(cr);
}

// A recessed dark window with an inner shadow at the top and a light lip at the bottom.
void Inset(cairo_t* cr, double x, double y, double w, double h, double r,
           const Colour& fill = kInsetFill) {
  RoundedRectPath(cr, x - 1, y - 1, w + 2, h + 2, r + 1);
  SetVerticalGradient(cr, y - 1, y + h + 1,
                      {{0.0, kMetalEdge}, {0.7, kMetalEdge}, {1.0, HexColour(0xb8b0f0)}});
  cairo_fill(cr);
  RoundedRectPath(cr, x, y, w, h, r);
  SetVerticalGradient(cr, y, y + h,
                      {{0.0, MixColours(fill, Colour{0, 0, 0}, 0.5)},
                       {0.25, fill},
                       {1.0, MixColours(fill, HexColour(0x2a2870), 0.6)}});
  cairo_fill(cr);
}

void GoldLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  UseColour(cr, kGoldDark);
  cairo_set_line_width(cr, width + 1.5);
  cairo_stroke(cr);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  UseColour(cr, kGold);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void Stud(cairo_t* cr, double cx, double cy, double r, const Colour& colour) {
  cairo_arc(cr, cx, cy, r + 1, 0, 2 * M_PI);
  UseColour(cr, kMetalEdge);
  cairo_fill(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.4, cy - r * 0.4, 0, cx, cy, r);
  const Colour light = MixColours(colour, Colour{1, 1, 1}, 0.7);
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 0.6, colour.r, colour.g, colour.b);
  const Colour dark = MixColours(colour, Colour{0, 0, 0}, 0.5);
  cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// The rail along a well's side: dark edge, highlight, body, dark inner edge (4 pixels).
void Rail(cairo_t* cr, double x, double y0, double y1, bool lightOnLeft) {
  const Colour cols[4] = {kMetalEdge, kMetalLight, kMetalMid, kMetalEdge};
  for (int i = 0; i < 4; ++i) {
    const int k = lightOnLeft ? i : 3 - i;
    cairo_rectangle(cr, x + i, y0, 1, y1 - y0);
    UseColour(cr, cols[k]);
    cairo_fill(cr);
  }
}

void SmallLabel(cairo_t* cr, const char* text, double cx, double cy, double size, const Colour& top,
                const Colour& bottom) {
  WordArtStyle s;
  s.size = size;
  s.outline = 2.2;
  s.top = top;
  s.bottom = bottom;
  s.gloss = 0;
  DrawWordArt(cr, text, cx, cy, s);
}

// Word art scaled down until it fits the given width.
void FittedWordArt(cairo_t* cr, const char* text, double cx, double cy, double maxWidth,
                   WordArtStyle style) {
  const double w = WordArtWidth(cr, text, style);
  if (w > maxWidth) style.xScale *= maxWidth / w;
  DrawWordArt(cr, text, cx, cy, style);
}

}  // namespace

IndexedImage DrawFrameTop() {
  const SheetRect r = FrameTopRect();
  Canvas canvas(r.width, r.height);
  cairo_t* cr = canvas.cr();
  // The bar, with rounded lower corners and gold trim along its lower edge.
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, r.width, 0);
  cairo_line_to(cr, r.width, r.height);
  cairo_line_to(cr, 0, r.height);
  cairo_close_path(cr);
  SetVerticalGradient(
      cr, 0, r.height,
      {{0.0, kMetalLight}, {0.2, HexColour(0x9a8ce8)}, {0.6, kMetalMid}, {1.0, kMetalDark}});
  cairo_fill(cr);
  cairo_rectangle(cr, 0, r.height - 2, r.width, 2);
  SetVerticalGradient(cr, r.height - 2, r.height, {{0.0, kGold}, {1.0, kGoldDark}});
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 0, r.width, 1);
  UseColour(cr, kMetalEdge);
  cairo_fill(cr);
  // The score window: ten digits of 11 pixels centred on the piece.
  Inset(cr, 41, 2, 117, 13, 4);
  Stud(cr, 10.5, 8.5, 3.2, kGold);
  Stud(cr, r.width - 10.5, 8.5, 3.2, kGold);
  Stud(cr, 25.5, 8.5, 2.3, BeanTone(2));
  Stud(cr, r.width - 25.5, 8.5, 2.3, BeanTone(4));
  return ToMaster(canvas);
}

IndexedImage DrawFrameBottom() {
  const SheetRect r = FrameBottomRect();
  Canvas canvas(r.width, r.height);
  cairo_t* cr = canvas.cr();
  // Only the floor line: the bottom row's beans show through everything above it.
  cairo_rectangle(cr, 0, r.height - 2, r.width, 1);
  UseColour(cr, kGoldLight);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, r.height - 1, r.width, 1);
  UseColour(cr, kGoldDark);
  cairo_fill(cr);
  return ToMaster(canvas);
}

IndexedImage DrawFrameSide() {
  const SheetRect r = FrameSideRect();
  Canvas canvas(r.width, r.height);
  cairo_t* cr = canvas.cr();
  Rail(cr, 0, 0, r.height, true);
  return ToMaster(canvas);
}

IndexedImage DrawChainPicture(int k) {
  const SheetRect r = ChainRect(k);
  Canvas canvas(r.width, r.height);
  cairo_t* cr = canvas.cr();
  WordArtStyle s;
  s.outline = 5;
  s.rim = 0;
  s.condensed = true;
  if (k == 0) {
    // Counter attack: two fiery lines, kept clear of the points text below them.
    s.size = 21;
    s.top = HexColour(0xffffc0);
    s.bottom = HexColour(0xff3010);
    s.outline = 4.5;
    FittedWordArt(cr, "COUNTER", r.width / 2.0, 11, r.width - 30, s);
    FittedWordArt(cr, "ATTACK!", r.width / 2.0, 31, r.width - 30, s);
    DrawSparkle(cr, 14, 14, 9, Colour{1, 1, 0.8}, 1);
    DrawSparkle(cr, r.width - 14, 30, 9, Colour{1, 1, 0.8}, 1);
    return ToMaster(canvas);
  }
  if (k == 1) {
    // A ribbon banner under the chain pictures.
    const double h = r.height, w = r.width;
    const Colour ribbon = HexColour(0xd02a6a), ribbonDark = HexColour(0x6a0a34);
    for (int side = 0; side < 2; ++side) {  // the folded tails
      const double x0 = side ? w - 34 : 2, x1 = side ? w - 2 : 34, notch = side ? w - 10 : 10;
      cairo_move_to(cr, x0, 12);
      cairo_line_to(cr, x1, 12);
      cairo_line_to(cr, x1, h - 3);
      cairo_line_to(cr, x0, h - 3);
      cairo_line_to(cr, notch, (12 + h - 3) / 2);
      cairo_close_path(cr);
      UseColour(cr, kMetalEdge);
      cairo_set_line_width(cr, 2.5);
      cairo_stroke_preserve(cr);
      UseColour(cr, ribbonDark);
      cairo_fill(cr);
    }
    RoundedRectPath(cr, 22, 3, w - 44, h - 12, 4);
    UseColour(cr, kMetalEdge);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    SetVerticalGradient(cr, 3, h - 9,
                        {{0.0, HexColour(0xff9ac0)}, {0.35, ribbon}, {1.0, HexColour(0x8a1040)}});
    cairo_fill(cr);
    GoldLine(cr, 26, 6.5, w - 26, 6.5, 1.2);
    GoldLine(cr, 26, h - 12.5, w - 26, h - 12.5, 1.2);
    WordArtStyle t;
    t.size = 17;
    t.outline = 3;
    t.condensed = true;
    t.top = HexColour(0xffffff);
    t.bottom = HexColour(0xffe060);
    t.gloss = 0;
    FittedWordArt(cr, "CHAIN BONUS", w / 2, (h - 9) / 2.0 + 1.5, w - 70, t);
    return ToMaster(canvas);
  }
  // Chains of 2 .. 8+: colours heat up as the chain grows.
  static const unsigned kTop[9] = {0,        0,        0xf0ffe0, 0xe8f8ff, 0xfff0ff,
                                   0xffffe0, 0xfff4e0, 0xffe8f4, 0xffffff};
  static const unsigned kBottom[9] = {0,        0,        0x20b020, 0x2070f0, 0xa030e0,
                                      0xffa000, 0xff4010, 0xff1080, 0xffc000};
  char text[16];
  snprintf(text, sizeof text, k == 8 ? "8+ CHAIN!!" : k >= 5 ? "%d CHAIN!!" : "%d CHAIN!", k);
  s.size = r.height * 0.8;
  s.top = HexColour(kTop[k]);
  s.bottom = HexColour(kBottom[k]);
  s.rim = 0;
  s.gloss = 0.45;
  FittedWordArt(cr, text, r.width / 2.0, r.height / 2.0, r.width - 6, s);
  return ToMaster(canvas);
}

IndexedImage DrawStartPicture(int k) {
  Canvas canvas(kStartWidth, kStartHeight);
  cairo_t* cr = canvas.cr();
  const double w = kStartWidth, h = kStartHeight;
  // A rounded sign with a gold border; picture 1 is the flash of the blinking.
  RoundedRectPath(cr, 4, 8, w - 8, h - 16, 18);
  UseColour(cr, kMetalEdge);
  cairo_fill(cr);
  RoundedRectPath(cr, 7, 11, w - 14, h - 22, 15);
  SetVerticalGradient(cr, 11, h - 11, {{0.0, kGoldLight}, {0.5, kGold}, {1.0, kGoldDark}});
  cairo_fill(cr);
  RoundedRectPath(cr, 12, 16, w - 24, h - 32, 11);
  if (k == 0)
    SetVerticalGradient(cr, 16, h - 16, {{0.0, HexColour(0x5a3cc8)}, {1.0, HexColour(0x1c1258)}});
  else
    SetVerticalGradient(cr, 16, h - 16, {{0.0, HexColour(0xff8ac8)}, {1.0, HexColour(0xb01a6a)}});
  cairo_fill(cr);
  WordArtStyle s;
  s.outline = 5;
  s.condensed = false;
  s.size = 20;
  s.top = HexColour(0xffffff);
  s.bottom = k == 0 ? HexColour(0x9cd8ff) : HexColour(0xfff2a0);
  s.gloss = 0;
  DrawWordArt(cr, "GET", w / 2, 36, s);
  s.size = 40;
  s.top = k == 0 ? HexColour(0xfffbd0) : HexColour(0xffffff);
  s.bottom = k == 0 ? HexColour(0xff8a10) : HexColour(0x40e0ff);
  s.gloss = 0.4;
  DrawWordArt(cr, "READY!", w / 2, 68, s);
  DrawSparkle(cr, 24, 24, 10, Colour{1, 1, 1}, 1);
  DrawSparkle(cr, w - 26, h - 26, 12, Colour{1, 1, 1}, 1);
  DrawSparkle(cr, w - 40, 26, 6, Colour{1, 1, 0.8}, 1);
  return ToMaster(canvas);
}

IndexedImage DrawResultPicture(int k) {
  const SheetRect r = ResultRect(k);
  Canvas canvas(r.width, r.height);
  cairo_t* cr = canvas.cr();
  WordArtStyle s;
  s.outline = 6;
  s.size = r.height * 0.78;
  s.gloss = 0.45;
  s.shadow = 3;
  if (k == 0) {
    s.top = HexColour(0xfffff0);
    s.bottom = HexColour(0xffa800);
    FittedWordArt(cr, "WINNER!", r.width / 2.0, r.height / 2.0 - 1, r.width - 70, s);
    DrawSparkle(cr, 22, 16, 13, Colour{1, 1, 0.85}, 1);
    DrawSparkle(cr, r.width - 22, r.height - 16, 13, Colour{1, 1, 0.85}, 1);
    DrawSparkle(cr, r.width - 40, 12, 7, Colour{1, 1, 1}, 1);
    DrawSparkle(cr, 40, r.height - 10, 7, Colour{1, 1, 1}, 1);
  } else {
    s.top = HexColour(0xffe0e0);
    s.bottom = HexColour(0xc01028);
    FittedWordArt(cr, "GAME OVER", r.width / 2.0, r.height / 2.0 - 1, r.width - 12, s);
  }
  return ToMaster(canvas);
}

IndexedImage DrawGameBackground() {
  Canvas canvas(640, 400);
  cairo_t* cr = canvas.cr();
  // Night sky with soft diagonal bands and a few stars.
  SetVerticalGradient(cr, 0, 400, {{0.0, HexColour(0x161240)}, {1.0, HexColour(0x2c1c64)}});
  cairo_paint(cr);
  for (int i = -20; i < 40; ++i) {
    const double x = i * 40;
    cairo_move_to(cr, x, 0);
    cairo_line_to(cr, x + 20, 0);
    cairo_line_to(cr, x + 20 - 400 * 0.6, 400);
    cairo_line_to(cr, x - 400 * 0.6, 400);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.5, 0.45, 1.0, 0.05);
    cairo_fill(cr);
  }
  // Outer frame bars left and right, the floor plates under the wells.
  for (int p = 1; p <= 2; ++p) {
    // The rails lie where the side pieces draw them: the first four columns of the piece and of
    // its mirror image.
    const double left = kFrameSideX[2 * p - 2] - kSideWidth / 2;
    const double right = kFrameSideX[2 * p - 1] + kSideWidth / 2;
    const double outerLeft = p == 1 ? -10 : right - 1;
    const double outerRight = p == 1 ? left + 1 : 650;
    MetalPanel(cr, outerLeft, -10, outerRight - outerLeft, 420, 6);
    // The well.
    const double top = 18, bottom = kFieldOriginY + kCellHeight * (kVisibleRows - 1) +
                                    kCellHeight / 2 + 1;  // 382
    cairo_rectangle(cr, left + 4, top, right - left - 8, bottom - top);
    SetVerticalGradient(cr, top, bottom, {{0.0, kWellTop}, {1.0, kWellBottom}});
    cairo_fill(cr);
    // Faint cell slots.
    for (int r = 0; r < kVisibleRows; ++r)
      for (int c = 0; c < kColumns; ++c) {
        const double cx = kFieldOriginX[p] + kCellWidth * c, cy = kFieldOriginY + kCellHeight * r;
        RoundedRectPath(cr, cx - 14, cy - 11.5, 29, 24, 9);
        cairo_set_source_rgba(cr, 0.55, 0.5, 1.0, 0.1);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
      }
    // Rails (the frame pieces repeat them over the beans).
    Rail(cr, left, 0, bottom, true);
    Rail(cr, right - 4, 0, bottom, false);
    // The floor plate with the warning window.
    MetalPanel(cr, left - 2, bottom, right - left + 4, 30, 4);
    cairo_rectangle(cr, left, bottom, right - left, 1);
    UseColour(cr, kGoldLight);
    cairo_fill(cr);
    cairo_rectangle(cr, left, bottom + 1, right - left, 1);
    UseColour(cr, kGoldDark);
    cairo_fill(cr);
    Inset(cr, kPanelX[p] - 90, bottom + 4, 180, 13, 5);
  }
  // The centre column.
  const double cl = 221, cw = 199;
  MetalPanel(cr, cl, -10, cw, 420, 8);
  GoldLine(cr, cl + 3, 0, cl + 3, 400, 1);
  GoldLine(cr, cl + cw - 3, 0, cl + cw - 3, 400, 1);
  // Frames-per-second window.
  Inset(cr, kPanelCentreX - 21, 1, 42, 18, 5);
  // Next-pair boxes with their labels.
  for (int p = 1; p <= 2; ++p) {
    Inset(cr, kNextPairX[p] - 20, 16, 40, 66, 8, HexColour(0x141440));
    SmallLabel(cr, "NEXT", kNextPairX[p], 90, 11, HexColour(0xffffff), HexColour(0xffd040));
  }
  // Emblem between the boxes: two beans leaning on each other.
  cairo_arc(cr, 320, 52, 27, 0, 2 * M_PI);
  UseColour(cr, kMetalEdge);
  cairo_fill(cr);
  cairo_arc(cr, 320, 52, 25, 0, 2 * M_PI);
  SetVerticalGradient(cr, 27, 77, {{0.0, kGoldLight}, {0.5, kGold}, {1.0, kGoldDark}});
  cairo_fill(cr);
  cairo_arc(cr, 320, 52, 21, 0, 2 * M_PI);
  SetVerticalGradient(cr, 31, 73, {{0.0, HexColour(0x3a2c90)}, {1.0, HexColour(0x120c3a)}});
  cairo_fill(cr);
  DrawCartoonBean(cr, 311, 56, 10, 9, 2, true, 1.2);
  DrawCartoonBean(cr, 329, 48, 10, 9, 4, true, 1.2);
  // Message window.
  Inset(cr, 226, 101, 188, 78, 8);
  // Names: "1P" and "2P" plates with a "VS" between them.
  for (int p = 1; p <= 2; ++p) {
    Inset(cr, kNameX[p] - 30, kNameY - 10, 60, 20, 6, HexColour(0x181448));
    SmallLabel(cr, p == 1 ? "PLAYER 1" : "PLAYER 2", kNameX[p], kNameY - 22, 10,
               HexColour(0xffffff), p == 1 ? HexColour(0xff8080) : HexColour(0x80b0ff));
  }
  WordArtStyle vs;
  vs.size = 16;
  vs.outline = 3;
  vs.top = kGoldLight;
  vs.bottom = HexColour(0xff6a10);
  DrawWordArt(cr, "VS", 321, kNameY, vs);
  // The colour-bar and animation window, with a bean of each colour marking each bar.
  Inset(cr, 226, 278, 188, 102, 8, HexColour(0x100e30));
  for (int c = 1; c <= 6; ++c) {
    const double y = kColourBarTop + kColourBarRowStep * c + kColourBarHeight / 2.0;
    DrawCartoonBean(cr, 235, y, 5.2, 4.6, c, false, 0.8);
    DrawCartoonBean(cr, 405, y, 5.2, 4.6, c, false, 0.8);
  }
  // Level plates.
  for (int p = 1; p <= 2; ++p) Inset(cr, kLevelTextX[p] - 40, 384, 80, 14, 5);
  return ToMaster(canvas, 0);
}
