#include "dataset.h"

#include <cstdio>
#include <fstream>
#include <thread>

#include "animations.h"
#include "art.h"
#include "codecs.h"
#include "master_palette.h"
#include "png_out.h"

namespace {

constexpr int kMenuPicture = 22, kBackgroundPicture = 23;
constexpr uint32_t kAnimationMsPerFrame = 4 * 14;  // the game shows each frame for 4 ticks

bool WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    fprintf(stderr, "datagen: cannot write %s\n", file.string().c_str());
    return false;
  }
  return true;
}

bool WritePicture(const std::filesystem::path& dir, int number, const IndexedImage& image,
                  const PaletteData& palette) {
  return WriteBytes(dir / DataFileName('p', number),
                    EncodePcx(image.pixels.data(), image.width, image.height, palette.rgb));
}

}  // namespace

std::string DataFileName(char kind, int number) {
  char name[16];
  snprintf(name, sizeof name, "plonkix.%c%02d", kind, number);
  return name;
}

DataSet BuildDataSet() {
  DataSet data;
  MasterMapper();  // built once before the threads share it
  // The master-palette art and the stand-alone pictures are drawn side by side.
  std::thread own([&data] {
    data.ownPalette[0] = DrawExitPicture();
    data.ownPalette[1] = DrawTitlePicture();
    data.ownPalette[2] = DrawStripPicture(0);
    data.ownPalette[3] = DrawStripPicture(1);
    data.ownPalette[4] = DrawClosingPicture();
  });
  data.master = BuildMasterPictures();
  for (int a = 0; a < kAnimationCount; ++a) data.animation[a] = DrawAnimation(a);
  own.join();
  return data;
}

bool WriteDataSet(const DataSet& data, const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const PaletteData& master = MasterPalette();
  bool ok = true;
  for (int p = 0; p < kMasterPictures; ++p)
    ok &= WritePicture(dir, p, data.master.picture[p], master);
  for (int k = 0; k < kOwnPalettePictures; ++k)
    ok &= WritePicture(dir, kFirstOwnPalettePicture + k, data.ownPalette[k].image,
                       data.ownPalette[k].palette);
  ok &= WritePicture(dir, kMenuPicture, data.master.menu, master);
  ok &= WritePicture(dir, kBackgroundPicture, data.master.background, master);
  for (int a = 0; a < kAnimationCount; ++a) {
    std::vector<const uint8_t*> frames;
    for (const IndexedImage& f : data.animation[a]) frames.push_back(f.pixels.data());
    ok &= WriteBytes(
        dir / DataFileName('f', a),
        EncodeFlc(frames, kAnimationWidth, kAnimationHeight, master.rgb, kAnimationMsPerFrame));
  }
  if (!ok) return false;
  WriteSounds(dir);
  WriteScanMap(dir);
  WriteStartingConfig(dir);
  WriteStartingHighScores(dir);
  return true;
}

bool WriteContactSheet(const DataSet& data, const std::string& file) {
  constexpr int kWidth = 1340, kMargin = 10, kLabel = 18;
  // Layout: sheets p00..p16 at double size in two columns, then the full-screen pictures,
  // the intro pictures and the animations.
  struct Item {
    const IndexedImage* image;
    const PaletteData* palette;
    std::string label;
    int scale;
  };
  std::vector<Item> items;
  const PaletteData& master = MasterPalette();
  for (int p = 0; p < kMasterPictures; ++p)
    items.push_back({&data.master.picture[p], &master, DataFileName('p', p), 2});
  for (int k = 0; k < kOwnPalettePictures; ++k)
    items.push_back({&data.ownPalette[k].image, &data.ownPalette[k].palette,
                     DataFileName('p', kFirstOwnPalettePicture + k), 1});
  items.push_back({&data.master.menu, &master, DataFileName('p', kMenuPicture), 1});
  items.push_back({&data.master.background, &master, DataFileName('p', kBackgroundPicture), 1});
  for (int a = 0; a < kAnimationCount; ++a)
    for (int f = 0; f < kAnimationFrames; ++f)
      items.push_back(
          {&data.animation[a][f], &master, DataFileName('f', a) + " #" + std::to_string(f), 2});
  // Flow the items into rows.
  struct Placed {
    int x, y;
  };
  std::vector<Placed> places;
  int x = kMargin, y = kMargin, rowHeight = 0;
  for (const Item& it : items) {
    const int w = it.image->width * it.scale, h = it.image->height * it.scale + kLabel;
    if (x + w > kWidth - kMargin) {
      x = kMargin;
      y += rowHeight + kMargin;
      rowHeight = 0;
    }
    places.push_back({x, y});
    x += w + kMargin;
    rowHeight = std::max(rowHeight, h);
  }
  const int height = y + rowHeight + kMargin;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0.22, 0.22, 0.26);
  cairo_paint(cr);
  cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 12);
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& it = items[i];
    const Placed& p = places[i];
    // A checker shows where sprites are transparent.
    for (int cy = 0; cy < it.image->height * it.scale; cy += 8)
      for (int cx = 0; cx < it.image->width * it.scale; cx += 8) {
        const bool dark = ((cx + cy) / 8) % 2;
        cairo_rectangle(cr, p.x + cx, p.y + kLabel + cy,
                        std::min(8, it.image->width * it.scale - cx),
                        std::min(8, it.image->height * it.scale - cy));
        cairo_set_source_rgb(cr, dark ? 0.3 : 0.36, dark ? 0.3 : 0.36, dark ? 0.33 : 0.4);
        cairo_fill(cr);
      }
    cairo_set_source_rgb(cr, 1, 1, 0.8);
    cairo_move_to(cr, p.x, p.y + 13);
    cairo_show_text(cr, it.label.c_str());
    cairo_surface_flush(surface);
    BlitIndexed(surface, *it.image, *it.palette, p.x, p.y + kLabel, it.scale, true);
  }
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  if (!ok) fprintf(stderr, "datagen: cannot write %s\n", file.c_str());
  return ok;
}
