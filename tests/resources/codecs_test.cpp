// The picture (PCX) and animation (FLC) codecs: round trips through our encoders, hand-made
// streams, and every kind of bad data as a fault, never an overrun.
#include "codecs.h"

#include "animation.h"
#include "picture.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kGuard = 16;  // bytes behind every decode target that must stay untouched

const Bytes kPalette = [] {
  Bytes p(768);
  for (int i = 0; i < 768; ++i) p[i] = uint8_t(i * 31 + 7);
  return p;
}();

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
std::string DecodePcx(const Bytes& file, int width, int height, Bytes& out,
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
    ASSERT_EQ(DecodePcx(EncodePcx(pixels.data(), w, h, kPalette.data()), w, h, out, palette), "");
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
    const std::string got = DecodePcx(file, w, h, out);
    EXPECT_TRUE(fault ? got.find(fault) != std::string::npos : got == "" && out == pixels)
        << w << " x " << h << ": " << got;
  }
}

TEST(SpriteTest, CutsOutsideTheSheetStop) {
  // (What the cuts and mirrors copy is checked on every sprite of the start-up loader.)
  const Bytes sheet(kSheetBytes);
  Sprite s;
  ExpectFatal([&] { CutSprite(sheet.data(), 300, 21, 1, s); }, {"outside the sheet"});
  ExpectFatal([&] { CutSprite(sheet.data(), 199 * 320, 10, 2, s); }, {"outside the sheet"});
  CutSprite(sheet.data(), 199 * 320 + 310, 10, 1, s);  // the last pixels of the last row
}

DecodedAnimation decoded;  // 650 KB, and reused on purpose: stale images would show

Bytes Words(std::initializer_list<uint32_t> words) {
  Bytes v;
  for (uint32_t w : words) v.insert(v.end(), {uint8_t(w), uint8_t(w >> 8)});
  return v;
}
void Append(Bytes& to, const Bytes& more) {
  to.insert(to.end(), more.begin(), more.end());
}
struct Chunk {
  uint16_t type;
  Bytes data;
};
using Frames = std::vector<std::vector<Chunk>>;

// A hand-made animation: the file header, then the frames with their chunks.
Bytes Flc(int width, int height, const Frames& frames) {
  Bytes file = Words({0, 0, 0xAF12, uint32_t(frames.size()), uint32_t(width), uint32_t(height)});
  file.resize(128, 0);
  for (const auto& chunks : frames) {
    Append(file, Words({0, 0, 0xF1FA, uint32_t(chunks.size()), 0, 0, 0, 0}));
    for (const Chunk& c : chunks) {
      const uint32_t size = uint32_t(c.data.size() + 6);
      Append(file, Words({size & 0xFFFF, size >> 16, c.type}));
      Append(file, c.data);
    }
  }
  return file;
}

// Decodes into `decoded`; "" or the fault.
std::string DecodeFlc(const Bytes& file, int needWidth = 0, int needHeight = 0) {
  DecodeFault fault;
  if (DecodeAnimation(file.data(), file.size(), needWidth, needHeight, decoded, fault)) return "";
  return fault.text[0] ? fault.text : "failed without a reason";
}
Bytes Image(int i) {
  return Bytes(decoded.images[i], decoded.images[i] + decoded.imageBytes);
}

Bytes Encode(const std::vector<Bytes>& frames, int width, int height, uint32_t ms = 70) {
  std::vector<const uint8_t*> pointers;
  for (const Bytes& f : frames) pointers.push_back(f.data());
  return EncodeFlc(pointers, width, height, kPalette.data(), ms);
}

TEST(AnimationTest, EncodedAnimationsDecodeToTheirFramesAndLoopBack) {
  // 600-wide lines need more than 255 byte-run packets per line, delta packets more than 254
  // bytes apart, single changed words, a repeated run, unchanged lines and an unchanged frame.
  std::vector<Bytes> frames(4, Bytes(600 * 3));
  for (int i = 0; i < 1800; ++i) frames[0][i] = i % 4 < 3 ? 1 : 2;
  frames[1] = frames[0];
  frames[1][2] = frames[1][590] = 9;
  frames[1][1000] = 7;
  frames[2] = frames[1];
  std::fill_n(&frames[2][1300], 200, 5);
  frames[3] = frames[2];
  Bytes file = Encode(frames, 600, 3);
  ASSERT_EQ(DecodeFlc(file), "");
  ASSERT_EQ(decoded.imageCount, 4);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(Image(k), frames[k]) << k;
  file[6] = 5;  // the loop frame stored after the last leads back to the first image
  ASSERT_EQ(DecodeFlc(file), "");
  EXPECT_EQ(Image(4), frames[0]);
  ExpectFatal([&] { Encode({Bytes(10)}, 5, 2); }, {"odd"});
  ExpectFatal([&] { Encode({}, 4, 2); }, {"no frames"});
}

TEST(AnimationTest, DecodesDeltasByteRunsAndCopiesOntoThePreviousImage) {
  // 8 x 5: three encoded lines. A skip of one line (not counted) and an ignored 01 word; line 1
  // repeats 0x0507 three times, then a zero-count packet reads a word and writes nothing; line 2
  // skips 3 bytes (rounded down to 2) and copies a word; a skip of line 3; line 4 copies a word.
  const Chunk delta{7, Words({3, 0xFFFF, 0x4000, 2, 0xFD00, 0x0507, 0, 0x1111, 1, 0x0103, 0x0A09,
                              0xFFFF, 1, 0x0100, 0x0C0B})};
  ASSERT_EQ(DecodeFlc(Flc(8, 5, {{{16, Bytes(40, 1)}}, {delta}})), "");
  ASSERT_EQ(decoded.imageCount, 2);
  Bytes expected(40, 1);
  EXPECT_EQ(Image(0), expected);
  for (int i = 0; i < 6; ++i) expected[8 + i] = i % 2 ? 5 : 7;
  expected[18] = 9;
  expected[19] = 10;
  expected[32] = 11;
  expected[33] = 12;
  EXPECT_EQ(Image(1), expected);

  // 4 x 2: palette-only frames and unknown chunks add no image; byte runs run on across lines
  // and trust the packet count (a literal of 2, then a zero count that writes nothing); a delta
  // starts from the image before, or from zeros when it comes first.
  const Chunk runs{15, {1, 6, 8, 2, 0xFE, 1, 2, 0, 77}};
  const Chunk patch{7, Words({1, 1, 0x0102, 0x0403})};
  const Chunk copy{16, {40, 41, 42, 43, 44, 45, 46, 47}};
  ASSERT_EQ(
      DecodeFlc(Flc(4, 2, {{{4, Bytes(778)}}, {runs, {11, {1, 2}}}, {{99, {}}}, {patch}, {copy}})),
      "");
  ASSERT_EQ(decoded.imageCount, 3);
  EXPECT_EQ(Image(0), (Bytes{8, 8, 8, 8, 8, 8, 1, 2}));
  EXPECT_EQ(Image(1), (Bytes{8, 8, 3, 4, 8, 8, 1, 2}));
  EXPECT_EQ(Image(2), copy.data);
  ASSERT_EQ(DecodeFlc(Flc(4, 2, {{patch}})), "");
  EXPECT_EQ(Image(0), (Bytes{0, 0, 3, 4, 0, 0, 0, 0}));
}

TEST(AnimationTest, BadDataIsAFaultNeverAnOverrun) {
  const Bytes good = Flc(4, 2, {{{16, Bytes(8, 1)}}, {{16, Bytes(8, 2)}}});
  Bytes tiny = Flc(4, 2, {{{4, {}}}});
  tiny[128 + 16] = 5;  // a chunk smaller than its own header
  const std::pair<Bytes, const char*> cases[] = {
      {Flc(4, 2, {{{12, {0, 0}}}}), "flic type 12 not implemented"},
      {Flc(4, 2, {{{13, {}}}}), "flic type 13 not implemted"},
      {Flc(4, 2, {{{7, Words({1, 0x8005})}}}), "This case is not yet handled"},
      // Deltas: 5 words copied after a skip of 6, a repeat of 128, a skip of 16384 lines.
      {Flc(4, 2, {{{7, Words({1, 1, 0x0506, 1, 1, 1, 1, 1})}}}), "writes past its image"},
      {Flc(4, 2, {{{7, Words({1, 1, 0x8000, 0x0101})}}}), "writes past its image"},
      {Flc(4, 2, {{{7, Words({1, 0xC000, 1, 0x0100, 0x0101})}}}), "writes past its image"},
      {Flc(4, 2, {{{7, Words({2, 1, 0x0200, 0x0101})}}}), "past its chunk data"},
      {Flc(4, 2, {{{15, {1, 9, 1, 0}}}}), "writes past its image"},
      {Flc(4, 2, {{{15, {1, 0xFC, 1, 2}}}}), "past its chunk data"},
      {Flc(4, 2, {{{16, {1, 2, 3}}}}), "3 of its 8 bytes"},
      {Flc(4, 2, Frames(11, {{16, Bytes(8, 1)}})), "more than 10 images"},
      {Flc(4, 2, {{{4, Bytes(65536)}}}), "65535-byte chunk buffer"},
      {tiny, "below its own header"},
      {Bytes(good.begin(), good.begin() + 100), "truncated"},  // in the file header
      {Bytes(good.begin(), good.begin() + 130), "truncated"},  // in a frame header
      {Bytes(good.begin(), good.end() - 1), "truncated"},      // in a chunk
      {Flc(256, 256, {}), "larger than 65535 bytes"},
  };
  for (const auto& [file, fragment] : cases)
    EXPECT_NE(DecodeFlc(file).find(fragment), std::string::npos) << fragment;
  EXPECT_EQ(DecodeFlc(good), "");
  EXPECT_EQ(DecodeFlc(Flc(4, 2, {{{4, Bytes(65535)}}})), "");  // the biggest chunk fits
  EXPECT_EQ(DecodeFlc(Flc(80, 48, {}), 78, 48), "images are 80 x 48, the game needs 78 x 48");
}

}  // namespace
