#include "picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "codecs.h"
#include "display.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kGuard = 16;  // bytes behind every decode target that must stay untouched

Bytes TestPalette() {
  Bytes p(768);
  for (int i = 0; i < 768; ++i) p[i] = uint8_t(i * 31 + 7);
  return p;
}
const Bytes kPalette = TestPalette();

// A picture file around hand-made encoded data.
Bytes RawPcx(int width, int height, const Bytes& data) {
  Bytes file(128, 0);
  const uint16_t max[2] = {uint16_t(width - 1), uint16_t(height - 1)};  // xmin = ymin = 0
  memcpy(&file[8], max, 4);
  file.insert(file.end(), data.begin(), data.end());
  file.insert(file.end(), kPalette.begin(), kPalette.end());
  return file;
}

// Decodes into a width x height target; "" with the pixels in out, or the fault.
std::string Decode(const Bytes& file, int width, int height, Bytes& out,
                   uint8_t* palette = nullptr) {
  const size_t size = size_t(width) * height;
  out.assign(size + kGuard, 0xEE);
  DecodeFault fault;
  const bool ok =
      DecodePicture(file.data(), file.size(), width, height, out.data(), palette, fault);
  if (Bytes(out.begin() + size, out.end()) != Bytes(kGuard, 0xEE)) return "wrote past the target";
  out.resize(size);
  return ok ? "" : fault.text;
}

TEST(PictureTest, RoundTripsEveryByteValueAndRunLength) {
  for (const auto& [w, h] : {std::pair{320, 200}, {2, 1}, {14, 374}, {306, 70}, {64, 13}}) {
    Bytes pixels(size_t(w) * h), out;
    // Runs of every length up to past 63, values across the run-byte range 192..255.
    size_t i = 0;
    for (int run = 1; i < pixels.size(); run = run % 70 + 1)
      for (int k = 0; k < run && i < pixels.size(); ++k, ++i)
        pixels[i] = uint8_t(run * 37 + i / 97);
    uint8_t palette[768];
    ASSERT_EQ(Decode(EncodePcx(pixels.data(), w, h, kPalette.data()), w, h, out, palette), "");
    EXPECT_EQ(out, pixels) << w << " x " << h;
    EXPECT_EQ(Bytes(palette, palette + 768), kPalette);
  }
  // As in any PCX, runs stop at each line's end: 7 lines of 30 bytes of 200 are 7 x (0xDE, 200).
  const Bytes flat(30 * 7, 200), file = EncodePcx(flat.data(), 30, 7, kPalette.data());
  ASSERT_EQ(file.size(), 128u + 14 + 1 + 768);
  for (int y = 0; y < 7; ++y)
    EXPECT_EQ(Bytes(&file[128 + 2 * y], &file[130 + 2 * y]), (Bytes{0xDE, 200}));
  ExpectFatal([&] { EncodePcx(flat.data(), 29, 7, kPalette.data()); }, {"odd"});
}

TEST(PictureTest, DecodesOneStreamOfWidthTimesHeightPixels) {
  Bytes fullSheet;  // 1016 runs of 63 cover 64 008 pixels; then bytes never reached
  for (int i = 0; i < 1016; ++i) fullSheet.insert(fullSheet.end(), {0xFF, 5});
  fullSheet.insert(fullSheet.end(), 500, 0xC1);
  Bytes reversed = RawPcx(4, 1, {0xC4, 1});
  reversed[4] = 9;  // xmin above xmax
  const std::tuple<Bytes, int, int, Bytes, const char*> cases[] = {
      // file, size, pixels or fault
      // A run across a row end, literals, bytes never reached; runs cut at the picture's end.
      {RawPcx(4, 2, {0xC6, 9, 1, 2, 0xC5, 3}), 4, 2, {9, 9, 9, 9, 9, 9, 1, 2}, nullptr},
      {RawPcx(320, 200, fullSheet), 320, 200, Bytes(64000, 5), nullptr},
      {RawPcx(2, 1, {0xC0, 7, 1, 2}), 2, 1, {1, 2}, nullptr},  // a run of 0 writes nothing
      {RawPcx(4, 1, {0xC3, 1}), 4, 1, {}, "ends before the picture is complete"},
      {RawPcx(4, 1, {0xC3, 1, 0xC1}), 4, 1, {}, "ends before"},  // a run byte without its value
      {RawPcx(4, 2, {0xC8, 1}), 4, 1, {}, "picture is 4 x 2, the game needs 4 x 1"},
      {reversed, 4, 1, {}, "the game needs 4 x 1"},
      {Bytes(895, 0), 4, 1, {}, "short file"},
  };
  for (const auto& [file, w, h, pixels, fault] : cases) {
    Bytes out;
    const std::string got = Decode(file, w, h, out);
    EXPECT_TRUE(fault ? got.find(fault) != std::string::npos : got == "" && out == pixels)
        << w << " x " << h << ": " << got;
  }
}

TEST(PictureTest, LoadPictureSetsThePaletteOnlyWhenAskedAndNamesTheFileInFaults) {
  HeadlessSession session;
  ScratchDir dir;
  const Bytes pixels(8 * 2, 3);
  Bytes target(16);
  WriteFileBytes(dir.DataFile("pic"), EncodePcx(pixels.data(), 8, 2, kPalette.data()));
  memset(Palette, 0, sizeof Palette);
  LoadPicture(target.data(), "data/pic", false, 8, 2);
  EXPECT_EQ(target, pixels);
  EXPECT_EQ(Palette[5], 0);
  LoadPicture(target.data(), "data/pic", true, 8, 2);
  EXPECT_EQ(Bytes(Palette, Palette + 768), kPalette);
  EXPECT_EQ(Bytes(session->colours, session->colours + 768), kPalette);

  for (const auto& [name, fault] :
       {std::pair{"data/none", "No such file"}, {"data/pic", "8 x 2"}, {"data", "directory"}})
    ExpectFatal([&] { LoadPicture(target.data(), name, false, 320, 200); }, {name, fault});
}

TEST(SpriteTest, CutsOutsideTheSheetStop) {
  // (What the cuts and mirrors copy is checked on every sprite of the start-up loader.)
  const Bytes sheet(kSheetBytes);
  Sprite s;
  ExpectFatal([&] { CutSprite(sheet.data(), 300, 21, 1, s); }, {"outside the sheet"});
  ExpectFatal([&] { CutSprite(sheet.data(), 199 * 320, 10, 2, s); }, {"outside the sheet"});
  CutSprite(sheet.data(), 199 * 320 + 310, 10, 1, s);  // the last pixels of the last row
}

}  // namespace
