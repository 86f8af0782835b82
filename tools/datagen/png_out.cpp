#include "png_out.h"

void BlitIndexed(cairo_surface_t* surface, const IndexedImage& image, const PaletteData& palette,
                 int x, int y, int scale, bool skipZero) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  for (int sy = 0; sy < image.height; ++sy) {
    for (int sx = 0; sx < image.width; ++sx) {
      const int v = image.At(sx, sy);
      if (skipZero && v == 0) continue;
      const uint32_t colour = 0xFF000000u | (palette.rgb[3 * v] << 16) |
                              (palette.rgb[3 * v + 1] << 8) | palette.rgb[3 * v + 2];
      for (int a = 0; a < scale; ++a) {
        const int ty = y + sy * scale + a;
        if (ty < 0 || ty >= h) continue;
        uint32_t* row = reinterpret_cast<uint32_t*>(data + ty * stride);
        for (int b = 0; b < scale; ++b) {
          const int tx = x + sx * scale + b;
          if (tx >= 0 && tx < w) row[tx] = colour;
        }
      }
    }
  }
  cairo_surface_mark_dirty(surface);
}

bool WriteIndexedPng(const IndexedImage& image, const PaletteData& palette, const std::string& file,
                     int scale, bool transparentShown, unsigned background) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width * scale, image.height * scale);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, ((background >> 16) & 255) / 255.0, ((background >> 8) & 255) / 255.0,
                       (background & 255) / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  BlitIndexed(surface, image, palette, 0, 0, scale, transparentShown);
  const bool ok = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}
