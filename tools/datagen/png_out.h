// Review output: indexed pictures written as true-colour PNG files.
#pragma once
#include <string>

#include "canvas.h"

// Writes the picture through its palette, each pixel as a scale x scale block. Index 0 is shown
// as the given background colour (0xRRGGBB) when transparentShown is set, else as palette 0.
bool WriteIndexedPng(const IndexedImage& image, const PaletteData& palette, const std::string& file,
                     int scale = 1, bool transparentShown = false, unsigned background = 0x404040);

// Copies an indexed picture into a true-colour Cairo surface at (x, y), scaled.
void BlitIndexed(cairo_surface_t* surface, const IndexedImage& image, const PaletteData& palette,
                 int x, int y, int scale, bool skipZero);
