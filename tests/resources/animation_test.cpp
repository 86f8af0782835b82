#include "animation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;
const Bytes kPalette(768, 9);
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
std::string Decode(const Bytes& file, int needWidth = 0, int needHeight = 0) {
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
  ASSERT_EQ(Decode(file), "");
  ASSERT_EQ(decoded.imageCount, 4);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(Image(k), frames[k]) << k;
  file[6] = 5;  // the loop frame stored after the last leads back to the first image
  ASSERT_EQ(Decode(file), "");
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
  ASSERT_EQ(Decode(Flc(8, 5, {{{16, Bytes(40, 1)}}, {delta}})), "");
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
      Decode(Flc(4, 2, {{{4, Bytes(778)}}, {runs, {11, {1, 2}}}, {{99, {}}}, {patch}, {copy}})),
      "");
  ASSERT_EQ(decoded.imageCount, 3);
  EXPECT_EQ(Image(0), (Bytes{8, 8, 8, 8, 8, 8, 1, 2}));
  EXPECT_EQ(Image(1), (Bytes{8, 8, 3, 4, 8, 8, 1, 2}));
  EXPECT_EQ(Image(2), copy.data);
  ASSERT_EQ(Decode(Flc(4, 2, {{patch}})), "");
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
    EXPECT_NE(Decode(file).find(fragment), std::string::npos) << fragment;
  EXPECT_EQ(Decode(good), "");
  EXPECT_EQ(Decode(Flc(4, 2, {{{4, Bytes(65535)}}})), "");  // the biggest chunk fits
  EXPECT_EQ(Decode(Flc(80, 48, {}), 78, 48), "images are 80 x 48, the game needs 78 x 48");
}

TEST(AnimationTest, LoadAnimationNamesTheFileInItsFaults) {
  HeadlessSession session;
  ScratchDir dir;
  uint8_t* frames[kAnimImages] = {};
  WriteFileBytes(dir.DataFile("plonkix.f01"), Flc(80, 40, {{{16, Bytes(3200, 1)}}}));
  ExpectFatal([&] { LoadAnimation(frames, "data/plonkix.f01"); }, {"data/plonkix.f01", "78 x 48"});
}

}  // namespace
