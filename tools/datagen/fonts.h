// The four sprite fonts: bold capitals with a dark outline so they read on any background.
#pragma once
#include "canvas.h"

constexpr int kLetterGlyphs = 48;  // fonts 0, 1 and 3
constexpr int kDigitGlyphs = 11;   // font 2: "0".."9" and one glyph for every other character

struct GlyphSize {
  int width, height;
};
constexpr GlyphSize kGlyphSize[4] = {{19, 16}, {12, 13}, {12, 19}, {49, 36}};

// The character that glyph k of fonts 0, 1 and 3 shows (capitals for the letters).
char GlyphCharacter(int k);

// Glyph k of a font (0..3) in the master palette, at the font's glyph size. Font 2 glyphs keep
// their first and last columns empty: neighbours overlap by one column on the sheet.
IndexedImage DrawGlyph(int font, int k);
