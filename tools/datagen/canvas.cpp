#include "canvas.h"

#include <cstring>

void IndexedImage::Paste(const IndexedImage& source, int x, int y) {
  for (int sy = 0; sy < source.height; ++sy) {
    const int ty = y + sy;
    if (ty < 0 || ty >= height) continue;
    for (int sx = 0; sx < source.width; ++sx) {
      const int tx = x + sx;
      if (tx >= 0 && tx < width) At(tx, ty) = source.At(sx, sy);
    }
  }
}

PaletteMapper::PaletteMapper(const PaletteData& palette, int first, int last)
    : palette_(palette), first_(first), last_(last), cache_(1 << 24, -1) {}

uint8_t PaletteMapper::Nearest(uint8_t r, uint8_t g, uint8_t b) const {
  const uint32_t key = (r << 16) | (g << 8) | b;
  if (cache_[key] >= 0) return static_cast<uint8_t>(cache_[key]);
  // Weighted distance, closer to how the eye compares colours than plain RGB.
  long best = -1;
  int bestIndex = first_;
  for (int i = first_; i <= last_; ++i) {
    const long dr = r - palette_.rgb[3 * i], dg = g - palette_.rgb[3 * i + 1],
               db = b - palette_.rgb[3 * i + 2];
    const long rmean = (r + palette_.rgb[3 * i]) / 2;
    const long d =
        (((512 + rmean) * dr * dr) >> 8) + 4 * dg * dg + (((767 - rmean) * db * db) >> 8);
    if (best < 0 || d < best) {
      best = d;
      bestIndex = i;
    }
  }
  cache_[key] = static_cast<int16_t>(bestIndex);
  return static_cast<uint8_t>(bestIndex);
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

IndexedImage Canvas::Quantize(const PaletteMapper& mapper, int alphaCutoff) const {
  cairo_surface_flush(surface_);
  IndexedImage image(width_, height_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < width_; ++x) {
      const uint32_t argb = row[x];
      const int a = argb >> 24;
      if (a == 0 || a < alphaCutoff) continue;  // stays index 0
      // Cairo stores premultiplied colour: undo it so edges keep their hue.
      int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
      if (alphaCutoff > 0 && a < 255) {
        r = r * 255 / a;
        g = g * 255 / a;
        b = b * 255 / a;
      }
      image.At(x, y) = mapper.Nearest(static_cast<uint8_t>(r > 255 ? 255 : r),
                                      static_cast<uint8_t>(g > 255 ? 255 : g),
                                      static_cast<uint8_t>(b > 255 ? 255 : b));
    }
  }
  return image;
}
