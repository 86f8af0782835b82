// Drawing with Cairo in true colour, then mapping every pixel to the nearest entry of a palette.
#pragma once
#include <cairo/cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture of palette indices, row-major, with its size.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  IndexedImage() = default;
  IndexedImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}
  uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // Copies another image in with its top-left corner at (x, y); index 0 is copied too.
  void Paste(const IndexedImage& source, int x, int y);
};

// A 256-colour palette: 768 bytes of red, green, blue.
struct PaletteData {
  uint8_t rgb[768] = {};
  void Set(int index, uint8_t r, uint8_t g, uint8_t b) {
    rgb[3 * index] = r;
    rgb[3 * index + 1] = g;
    rgb[3 * index + 2] = b;
  }
};

// Nearest-colour lookup over the entries first..last of a palette (index 0 is kept for
// "transparent" / the screen's clear colour and is never chosen unless first is 0).
class PaletteMapper {
 public:
  PaletteMapper(const PaletteData& palette, int first = 1, int last = 255);
  uint8_t Nearest(uint8_t r, uint8_t g, uint8_t b) const;

 private:
  PaletteData palette_;
  int first_, last_;
  mutable std::vector<int16_t> cache_;  // 2^24 entries, -1 = not looked up yet
};

// A Cairo ARGB32 surface with its context, freed on destruction.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Maps every pixel to the palette; pixels with alpha below alphaCutoff become index 0.
  // alphaCutoff 0 makes every pixel opaque (composited over black).
  IndexedImage Quantize(const PaletteMapper& mapper, int alphaCutoff = 128) const;

 private:
  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};
