#include "picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "codecs.h"
#include "display.h"
#include "test_support.h"

namespace {

std::vector<uint8_t> TestPalette() {
  std::vector<uint8_t> p(768);
  for (int i = 0; i < 768; ++i) p[i] = static_cast<uint8_t>(i * 31 + 7);
  return p;
}

// A picture file around hand-made encoded data.
std::vector<uint8_t> RawPcx(int width, int height, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> file(128, 0);
  file[0] = 10;
  file[8] = static_cast<uint8_t>(width - 1);
  file[9] = static_cast<uint8_t>((width - 1) >> 8);
  file[10] = static_cast<uint8_t>(height - 1);
  file[11] = static_cast<uint8_t>((height - 1) >> 8);
  file.insert(file.end(), data.begin(), data.end());
  const std::vector<uint8_t> palette = TestPalette();
  file.insert(file.end(), palette.begin(), palette.end());
  return file;
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& file, int width, int height,
                            DecodeFault* faultOut = nullptr) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, 0xEE);
  DecodeFault fault;
  const bool ok =
      DecodePicture(file.data(), file.size(), width, height, pixels.data(), nullptr, fault);
  if (faultOut) *faultOut = fault;
  if (!ok) return {};
  return pixels;
}

uint16_t Word(const std::vector<uint8_t>& file, size_t at) {
  return file[at] | (file[at + 1] << 8);
}

TEST(PictureTest, RoundTripsEveryByteValueAndRunLength) {
  const std::vector<uint8_t> palette = TestPalette();
  for (const auto& [w, h] :
       {std::pair{320, 200}, {2, 1}, {14, 374}, {306, 70}, {200, 49}, {64, 13}}) {
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h);
    // Runs of every length up to past 63, values across the run-byte range 192..255.
    size_t i = 0;
    for (int run = 1; i < pixels.size(); run = run % 70 + 1)
      for (int k = 0; k < run && i < pixels.size(); ++k)
        pixels[i] = static_cast<uint8_t>(run * 37 + i / 97), ++i;
    const std::vector<uint8_t> file = EncodePcx(pixels.data(), w, h, palette.data());
    uint8_t readPalette[768];
    std::vector<uint8_t> out(pixels.size());
    DecodeFault fault;
    ASSERT_TRUE(DecodePicture(file.data(), file.size(), w, h, out.data(), readPalette, fault))
        << w << "x" << h << ": " << fault.text;
    EXPECT_EQ(out, pixels) << w << "x" << h;
    EXPECT_EQ(0, memcmp(readPalette, palette.data(), 768));
  }
}

TEST(PictureTest, WritesAStandardPcxHeader) {
  const std::vector<uint8_t> palette = TestPalette();
  std::vector<uint8_t> pixels(30 * 7, 200);
  const std::vector<uint8_t> file = EncodePcx(pixels.data(), 30, 7, palette.data());
  EXPECT_EQ(file[0], 10);  // manufacturer
  EXPECT_EQ(file[1], 5);   // version
  EXPECT_EQ(file[2], 1);   // run-length encoding
  EXPECT_EQ(file[3], 8);   // bits per pixel
  EXPECT_EQ(Word(file, 4), 0);
  EXPECT_EQ(Word(file, 6), 0);
  EXPECT_EQ(Word(file, 8), 29);
  EXPECT_EQ(Word(file, 10), 6);
  EXPECT_EQ(file[65], 1);         // planes
  EXPECT_EQ(Word(file, 66), 30);  // bytes per line, even
  EXPECT_EQ(Word(file, 68), 1);   // colour palette
  EXPECT_EQ(file[file.size() - 769], 12);
  // Runs stop at each line's end: 7 lines of 30 bytes of value 200 are 7 x (0xDE, 200).
  ASSERT_EQ(file.size(), 128u + 14 + 1 + 768);
  for (int y = 0; y < 7; ++y) {
    EXPECT_EQ(file[128 + 2 * y], 0xC0 + 30);
    EXPECT_EQ(file[129 + 2 * y], 200);
  }
}

TEST(PictureTest, RefusesOddWidths) {
  ThrowInsteadOfExiting(true);
  const std::vector<uint8_t> palette = TestPalette();
  std::vector<uint8_t> pixels(33 * 2);
  ExpectFatal([&] { EncodePcx(pixels.data(), 33, 2, palette.data()); }, {"odd"});
  ExpectFatal([&] { EncodePcx(pixels.data(), 0, 2, palette.data()); }, {"0 x 2"});
}

TEST(PictureTest, RunsCrossRowEndsAndExtraDataIsIgnored) {
  // A 4 x 3 picture: one run of 6 covers row 0 and half of row 1, then literals, then a run
  // that would overrun the picture, then bytes that must never be reached.
  const std::vector<uint8_t> file = RawPcx(4, 3, {0xC6, 9, 1, 2, 0xC5, 3, 4, 0xFF, 0x77, 12});
  EXPECT_EQ(Decode(file, 4, 3), (std::vector<uint8_t>{9, 9, 9, 9, 9, 9, 1, 2, 3, 3, 3, 3}));
}

TEST(PictureTest, FullSheetDecodesExactly64000Bytes) {
  // 1016 full runs of 63 cover 64 008 pixels; the decoder writes 64 000 and stops.
  std::vector<uint8_t> data;
  for (int i = 0; i < 1016; ++i) data.insert(data.end(), {0xFF, 5});
  data.insert(data.end(), 500, 0xC1);
  const std::vector<uint8_t> file = RawPcx(320, 200, data);
  std::vector<uint8_t> target(64000 + 16, 0xAB);
  DecodeFault fault;
  ASSERT_TRUE(DecodePicture(file.data(), file.size(), 320, 200, target.data(), nullptr, fault));
  EXPECT_EQ(target[63999], 5);
  for (int i = 64000; i < 64016; ++i) EXPECT_EQ(target[i], 0xAB);
}

TEST(PictureTest, ARunOfZeroWritesNothing) {
  EXPECT_EQ(Decode(RawPcx(2, 1, {0xC0, 7, 1, 2}), 2, 1), (std::vector<uint8_t>{1, 2}));
}

TEST(PictureTest, DecoderFaults) {
  DecodeFault fault;
  // Data that ends one pixel early, also when the last byte is a run byte without its value.
  EXPECT_TRUE(Decode(RawPcx(4, 1, {0xC3, 1}), 4, 1, &fault).empty());
  EXPECT_NE(std::string(fault.text).find("ends before the picture is complete"), std::string::npos);
  EXPECT_TRUE(Decode(RawPcx(4, 1, {0xC3, 1, 0xC1}), 4, 1, &fault).empty());
  // Size differs from the caller's.
  EXPECT_TRUE(Decode(RawPcx(4, 2, {0xC8, 1}), 4, 1, &fault).empty());
  EXPECT_STREQ(fault.text, "picture is 4 x 2, the game needs 4 x 1");
  // xmax below xmin.
  std::vector<uint8_t> file = RawPcx(4, 1, {0xC4, 1});
  file[4] = 9;
  EXPECT_TRUE(Decode(file, 4, 1, &fault).empty());
  // Shorter than a header and a palette.
  EXPECT_TRUE(Decode(std::vector<uint8_t>(895, 0), 4, 1, &fault).empty());
  EXPECT_NE(std::string(fault.text).find("short file"), std::string::npos);
}

TEST(PictureTest, LoadPictureStopsWithTheFileAndTheFault) {
  HeadlessSession session;
  ScratchDir dir;
  std::vector<uint8_t> target(64000);
  ExpectFatal([&] { LoadPicture(target.data(), "data/plonkix.p07", false, 320, 200); },
              {"data/plonkix.p07", "No such file"});
  WriteFileBytes(dir.DataFile("short"), std::vector<uint8_t>(300, 0));
  ExpectFatal([&] { LoadPicture(target.data(), "data/short", false, 320, 200); },
              {"data/short", "short file"});
  WriteFileBytes(dir.DataFile("small"), RawPcx(100, 50, {0xC1, 1}));
  ExpectFatal([&] { LoadPicture(target.data(), "data/small", false, 320, 200); },
              {"data/small", "100 x 50", "320 x 200"});
  WriteFileBytes(dir.DataFile("cut"), RawPcx(320, 200, {0xFF, 1, 0xFF, 2}));
  ExpectFatal([&] { LoadPicture(target.data(), "data/cut", false, 320, 200); },
              {"data/cut", "ends before the picture is complete"});
  ExpectFatal([&] { LoadPicture(target.data(), "data", false, 320, 200); }, {"data"});
}

TEST(PictureTest, PaletteIsSetOnlyWhenAsked) {
  HeadlessSession session;
  ScratchDir dir;
  const std::vector<uint8_t> palette = TestPalette();
  std::vector<uint8_t> pixels(8 * 2, 3);
  WriteFileBytes(dir.DataFile("pic"), EncodePcx(pixels.data(), 8, 2, palette.data()));
  std::vector<uint8_t> target(16);
  memset(Palette, 0, sizeof Palette);
  LoadPicture(target.data(), "data/pic", false, 8, 2);
  EXPECT_EQ(target, pixels);
  EXPECT_EQ(Palette[5], 0);
  EXPECT_EQ(session->paletteChanges, 0u);
  LoadPicture(target.data(), "data/pic", true, 8, 2);
  EXPECT_EQ(0, memcmp(Palette, palette.data(), 768));
  EXPECT_EQ(0, memcmp(session->colours, palette.data(), 768));
}

TEST(SpriteTest, CutAndMirror) {
  ResetSpriteStore();
  std::vector<uint8_t> sheet(kSheetBytes);
  for (size_t i = 0; i < sheet.size(); ++i) sheet[i] = static_cast<uint8_t>(i * 7 / 3);
  Sprite s;
  CutSprite(sheet.data(), 321, 19, 3, s);
  ASSERT_EQ(s.width, 19);
  ASSERT_EQ(s.height, 3);
  for (int y = 0; y < 3; ++y)
    EXPECT_EQ(0, memcmp(s.pixels + 19 * y, sheet.data() + 321 + 320 * y, 19)) << "row " << y;

  const uint8_t row[] = {1, 2, 3, 4, 5, 6};
  Sprite m;
  MirrorSprite(row, 3, 1, m);
  EXPECT_EQ(std::vector<uint8_t>(m.pixels, m.pixels + 3), (std::vector<uint8_t>{3, 2, 1}));
  MirrorSprite(row, 3, 2, m);
  EXPECT_EQ(std::vector<uint8_t>(m.pixels, m.pixels + 6), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
  // The pixels of every sprite stay apart.
  EXPECT_GE(m.pixels, s.pixels + 19 * 3);
}

TEST(SpriteTest, CutsOutsideTheSheetStop) {
  ThrowInsteadOfExiting(true);
  std::vector<uint8_t> sheet(kSheetBytes);
  Sprite s;
  ExpectFatal([&] { CutSprite(sheet.data(), 300, 21, 1, s); }, {"outside the sheet"});
  ExpectFatal([&] { CutSprite(sheet.data(), 199 * 320, 10, 2, s); }, {"outside the sheet"});
  CutSprite(sheet.data(), 199 * 320 + 310, 10, 1, s);  // the last row's last pixels are fine
}

}  // namespace
