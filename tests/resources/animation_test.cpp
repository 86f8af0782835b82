#include "animation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "codecs.h"
#include "picture.h"
#include "test_support.h"

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x);
  Put16(v, x >> 16);
}
uint16_t Word(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | (v[at + 1] << 8);
}
uint32_t Long(const std::vector<uint8_t>& v, size_t at) {
  return Word(v, at) | (Word(v, at + 2) << 16);
}

struct Chunk {
  uint16_t type;
  std::vector<uint8_t> data;
};

// A hand-made animation: header, then frames of the given chunks.
std::vector<uint8_t> Flc(int width, int height, const std::vector<std::vector<Chunk>>& frames) {
  std::vector<uint8_t> file(128, 0);
  file[4] = 0x12;
  file[5] = 0xAF;
  file[6] = static_cast<uint8_t>(frames.size());
  file[8] = static_cast<uint8_t>(width);
  file[9] = static_cast<uint8_t>(width >> 8);
  file[10] = static_cast<uint8_t>(height);
  file[11] = static_cast<uint8_t>(height >> 8);
  for (const auto& chunks : frames) {
    Put32(file, 0);
    Put16(file, 0xF1FA);
    Put16(file, static_cast<uint32_t>(chunks.size()));
    file.resize(file.size() + 8, 0);
    for (const Chunk& c : chunks) {
      Put32(file, static_cast<uint32_t>(c.data.size() + 6));
      Put16(file, c.type);
      file.insert(file.end(), c.data.begin(), c.data.end());
    }
  }
  return file;
}

// A byte-run chunk filling a whole image of width x height with one value, line by line.
Chunk Fill(int width, int height, uint8_t value) {
  Chunk c{15, {}};
  for (int y = 0; y < height; ++y)
    c.data.insert(c.data.end(), {1, static_cast<uint8_t>(width), value});
  return c;
}

struct Result {
  bool ok;
  std::string fault;
  std::unique_ptr<DecodedAnimation> anim;
};

Result Decode(const std::vector<uint8_t>& file, int needW = 0, int needH = 0) {
  Result r{false, "", std::make_unique<DecodedAnimation>()};
  DecodeFault fault;
  r.ok = DecodeAnimation(file.data(), file.size(), needW, needH, *r.anim, fault);
  r.fault = fault.text;
  return r;
}

std::vector<uint8_t> Image(const Result& r, int i) {
  return std::vector<uint8_t>(r.anim->images[i], r.anim->images[i] + r.anim->imageBytes);
}

std::vector<uint8_t> Palette() {
  std::vector<uint8_t> p(768);
  for (int i = 0; i < 768; ++i) p[i] = static_cast<uint8_t>(255 - i);
  return p;
}

// Ten 78 x 48 frames: a moving ball over stripes, one frame unchanged, one full of noise.
std::vector<std::vector<uint8_t>> TestFrames(int width, int height, int count) {
  std::vector<std::vector<uint8_t>> frames(count, std::vector<uint8_t>(width * height));
  uint32_t seed = 12345;
  for (int k = 0; k < count; ++k)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint8_t& p = frames[k][y * width + x];
        const int dx = x - 20 - 3 * k, dy = y - 20;
        p = dx * dx + dy * dy < 120 ? static_cast<uint8_t>(200 + k) : static_cast<uint8_t>(x / 9);
        if (k == 4) p = frames[3][y * width + x];
        if (k == 7) p = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 24);
      }
  return frames;
}

std::vector<const uint8_t*> Pointers(const std::vector<std::vector<uint8_t>>& frames) {
  std::vector<const uint8_t*> p;
  for (const auto& f : frames) p.push_back(f.data());
  return p;
}

TEST(AnimationTest, RoundTripsTheGamesAnimations) {
  const auto frames = TestFrames(78, 48, 10);
  const std::vector<uint8_t> file = EncodeFlc(Pointers(frames), 78, 48, Palette().data(), 70);
  const Result r = Decode(file, 78, 48);
  ASSERT_TRUE(r.ok) << r.fault;
  ASSERT_EQ(r.anim->imageCount, 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(Image(r, k), frames[k]) << "image " << k;
}

TEST(AnimationTest, RoundTripsWideLinesAndLongGaps) {
  // 600-wide lines: more than 255 byte-run packets in a line, and changes more than 254
  // bytes apart within a delta line.
  const int w = 600, h = 3;
  std::vector<std::vector<uint8_t>> frames(3, std::vector<uint8_t>(w * h));
  for (int i = 0; i < w * h; ++i) frames[0][i] = static_cast<uint8_t>((i % 4) < 3 ? 1 : 2);
  frames[1] = frames[0];
  frames[1][2] = 9;
  frames[1][590] = 9;
  frames[1][w + 400] = 7;
  frames[2] = frames[1];
  for (int i = 0; i < 200; ++i) frames[2][2 * w + 100 + i] = 5;
  const std::vector<uint8_t> file = EncodeFlc(Pointers(frames), w, h, Palette().data(), 70);
  const Result r = Decode(file);
  ASSERT_TRUE(r.ok) << r.fault;
  ASSERT_EQ(r.anim->imageCount, 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(Image(r, k), frames[k]) << "image " << k;
}

TEST(AnimationTest, WritesAProperFlcFile) {
  const auto frames = TestFrames(78, 48, 3);
  const std::vector<uint8_t> file = EncodeFlc(Pointers(frames), 78, 48, Palette().data(), 56);
  EXPECT_EQ(Long(file, 0), file.size());
  EXPECT_EQ(Word(file, 4), 0xAF12);
  EXPECT_EQ(Word(file, 6), 3);
  EXPECT_EQ(Word(file, 8), 78);
  EXPECT_EQ(Word(file, 10), 48);
  EXPECT_EQ(Word(file, 12), 8);
  EXPECT_EQ(Long(file, 16), 56u);
  EXPECT_EQ(Long(file, 80), 128u);
  // Walk the frames: three frames and the loop frame, each of consistent size.
  size_t at = 128;
  std::vector<size_t> starts;
  std::vector<std::vector<uint16_t>> types;
  while (at < file.size()) {
    starts.push_back(at);
    EXPECT_EQ(Word(file, at + 4), 0xF1FA);
    const uint32_t size = Long(file, at);
    size_t chunk = at + 16;
    types.emplace_back();
    for (int c = 0; c < Word(file, at + 6); ++c) {
      types.back().push_back(Word(file, chunk + 4));
      EXPECT_EQ(Long(file, chunk) % 2, 0u);
      chunk += Long(file, chunk);
    }
    EXPECT_EQ(chunk, at + size);
    at += size;
  }
  ASSERT_EQ(starts.size(), 4u);
  EXPECT_EQ(Long(file, 84), starts[1]);
  EXPECT_EQ(types[0], (std::vector<uint16_t>{4, 15}));
  for (int f = 1; f < 4; ++f) EXPECT_EQ(types[f], (std::vector<uint16_t>{7}));
  // The loop frame leads back to the first image: decoding it as a fourth frame gives frame 0.
  std::vector<uint8_t> withLoop = file;
  withLoop[6] = 4;
  const Result r = Decode(withLoop);
  ASSERT_TRUE(r.ok) << r.fault;
  EXPECT_EQ(Image(r, 3), frames[0]);
}

TEST(AnimationTest, EncoderRefusesOddWidths) {
  ThrowInsteadOfExiting(true);
  const auto frames = TestFrames(5, 2, 1);
  ExpectFatal([&] { EncodeFlc(Pointers(frames), 5, 2, Palette().data(), 70); }, {"odd"});
  ExpectFatal([&] { EncodeFlc({}, 4, 2, Palette().data(), 70); }, {"no frames"});
}

TEST(AnimationTest, WordDeltaOpcodes) {
  // 8 x 5 images. Delta: 3 encoded lines; a line-skip of 1 before the first (not counted),
  // an ignored 01 word, a repeat of 0x0507 three times, a copy, a zero-count packet, a skip
  // with its low bit set (cleared), and a second line-skip.
  Chunk delta{7, {}};
  Put16(delta.data, 3);       // lines
  Put16(delta.data, 0xFFFF);  // skip 1 line -> line 1
  Put16(delta.data, 0x4000);  // ignored
  Put16(delta.data, 2);       // line 1: 2 packets
  Put16(delta.data, 0xFD00);  //   skip 0, repeat 3 times:
  Put16(delta.data, 0x0507);  //   7, 5, 7, 5, 7, 5
  Put16(delta.data, 0x0000);  //   skip 0, count 0: reads one word, writes nothing
  Put16(delta.data, 0x1111);
  Put16(delta.data, 1);       // line 2: 1 packet
  Put16(delta.data, 0x0103);  //   skip 3 -> 2, copy 1 word
  Put16(delta.data, 0x0A09);  //   9, 10
  Put16(delta.data, 0xFFFF);  // skip line 3
  Put16(delta.data, 0);       // line 4: no packets, the third encoded line
  const std::vector<uint8_t> file = Flc(8, 5, {{Fill(8, 5, 1)}, {delta}});
  const Result r = Decode(file);
  ASSERT_TRUE(r.ok) << r.fault;
  ASSERT_EQ(r.anim->imageCount, 2);
  std::vector<uint8_t> expect(40, 1);
  const uint8_t line1[] = {7, 5, 7, 5, 7, 5};
  memcpy(&expect[8], line1, 6);
  expect[18] = 9;
  expect[19] = 10;
  EXPECT_EQ(Image(r, 0), std::vector<uint8_t>(40, 1));
  EXPECT_EQ(Image(r, 1), expect);
}

TEST(AnimationTest, ImagesAreCountedByImageChunks) {
  // A palette-only frame, unknown chunk types and a 64-level palette add no image; the first
  // image from a delta starts from zeros; the copy chunk takes the image as it stands.
  Chunk firstDelta{7, {}};
  Put16(firstDelta.data, 1);
  Put16(firstDelta.data, 1);
  Put16(firstDelta.data, 0x0102);  // skip 2, copy 1 word
  Put16(firstDelta.data, 0x0403);
  Chunk copy{16, std::vector<uint8_t>(8)};
  for (int i = 0; i < 8; ++i) copy.data[i] = static_cast<uint8_t>(40 + i);
  const std::vector<uint8_t> file =
      Flc(4, 2, {{{4, std::vector<uint8_t>(778)}}, {firstDelta, {11, {1, 2}}}, {{99, {}}}, {copy}});
  const Result r = Decode(file);
  ASSERT_TRUE(r.ok) << r.fault;
  ASSERT_EQ(r.anim->imageCount, 2);
  EXPECT_EQ(Image(r, 0), (std::vector<uint8_t>{0, 0, 3, 4, 0, 0, 0, 0}));
  EXPECT_EQ(Image(r, 1), copy.data);
}

TEST(AnimationTest, ByteRunsRunOnAcrossLinesAndTrustThePacketCount) {
  // A 4 x 2 image: line 1 holds one packet of 6 (running into line 2), line 2 holds a literal
  // of 2 and a zero-count packet.
  const std::vector<uint8_t> file = Flc(4, 2, {{{15, {1, 6, 8, 2, 0xFE, 1, 2, 0, 77}}}});
  const Result r = Decode(file);
  ASSERT_TRUE(r.ok) << r.fault;
  EXPECT_EQ(Image(r, 0), (std::vector<uint8_t>{8, 8, 8, 8, 8, 8, 1, 2}));
}

TEST(AnimationTest, UnsupportedChunksAndOpcodes) {
  EXPECT_EQ(Decode(Flc(4, 2, {{{12, {0, 0}}}})).fault, "flic type 12 not implemented");
  EXPECT_EQ(Decode(Flc(4, 2, {{{13, {}}}})).fault, "flic type 13 not implemted");
  Chunk lastPixel{7, {}};
  Put16(lastPixel.data, 1);
  Put16(lastPixel.data, 0x8005);
  EXPECT_EQ(Decode(Flc(4, 2, {{lastPixel}})).fault, "This case is not yet handled");
}

TEST(AnimationTest, BadDataIsAFaultNeverAnOverrun) {
  auto faultOf = [](const std::vector<uint8_t>& file) {
    const Result r = Decode(file);
    EXPECT_FALSE(r.ok);
    return r.fault;
  };
  auto has = [](const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
  };
  // A delta writing past its image, by copy, by repeat, and after a line skip.
  Chunk copyPast{7, {}};
  Put16(copyPast.data, 1);
  Put16(copyPast.data, 1);
  Put16(copyPast.data, 0x0506);  // skip 6, copy 5 words into an 8-byte image
  copyPast.data.resize(copyPast.data.size() + 10, 1);
  EXPECT_TRUE(has(faultOf(Flc(4, 2, {{copyPast}})), "writes past its image"));
  Chunk repeatPast{7, {}};
  Put16(repeatPast.data, 1);
  Put16(repeatPast.data, 1);
  Put16(repeatPast.data, 0x8000);  // repeat 128 times
  Put16(repeatPast.data, 0x0101);
  EXPECT_TRUE(has(faultOf(Flc(4, 2, {{repeatPast}})), "writes past its image"));
  Chunk skipPast{7, {}};
  Put16(skipPast.data, 1);
  Put16(skipPast.data, 0xC000);  // skip 16384 lines
  Put16(skipPast.data, 1);
  Put16(skipPast.data, 0x0100);
  Put16(skipPast.data, 0x0101);
  EXPECT_TRUE(has(faultOf(Flc(4, 2, {{skipPast}})), "writes past its image"));
  // A delta whose packets run past the chunk data.
  Chunk shortDelta{7, {}};
  Put16(shortDelta.data, 2);
  Put16(shortDelta.data, 1);
  Put16(shortDelta.data, 0x0200);
  Put16(shortDelta.data, 0x0101);
  EXPECT_TRUE(has(faultOf(Flc(4, 2, {{shortDelta}})), "past its chunk data"));
  // Byte runs past the image and past the chunk data.
  EXPECT_TRUE(has(faultOf(Flc(4, 2, {{{15, {1, 9, 1, 0}}}})), "writes past its image"));
  EXPECT_TRUE(has(faultOf(Flc(4, 2, {{{15, {1, 0xFC, 1, 2}}}})), "past its chunk data"));
  EXPECT_TRUE(has(faultOf(Flc(4, 2, {{{16, {1, 2, 3}}}})), "3 of its 8 bytes"));
  // Eleven images.
  std::vector<std::vector<Chunk>> eleven(11, {Fill(4, 2, 1)});
  EXPECT_TRUE(has(faultOf(Flc(4, 2, eleven)), "more than 10 images"));
  // A chunk bigger than the chunk buffer, and one smaller than its header.
  std::vector<uint8_t> big = Flc(4, 2, {{{4, std::vector<uint8_t>(65536)}}});
  EXPECT_TRUE(has(faultOf(big), "65535-byte chunk buffer"));
  std::vector<uint8_t> tiny = Flc(4, 2, {{{4, {}}}});
  tiny[128 + 16] = 5;
  EXPECT_TRUE(has(faultOf(tiny), "below its own header"));
  // Truncated files: in the header, in a frame header, in a chunk.
  const std::vector<uint8_t> good = Flc(4, 2, {{Fill(4, 2, 1)}, {Fill(4, 2, 2)}});
  EXPECT_TRUE(Decode(good).ok);
  for (size_t cut : {size_t{0}, size_t{100}, size_t{130}, good.size() - 1})
    EXPECT_TRUE(has(faultOf(std::vector<uint8_t>(good.begin(), good.begin() + cut)), "truncated"))
        << "cut at " << cut;
  // Images above 65 535 bytes, and a size other than the one asked for.
  EXPECT_TRUE(has(faultOf(Flc(256, 256, {})), "larger than 65535 bytes"));
  EXPECT_EQ(Decode(Flc(80, 48, {}), 78, 48).fault, "images are 80 x 48, the game needs 78 x 48");
}

TEST(AnimationTest, TheBiggestChunkFits) {
  // 65 535 bytes of chunk data are accepted (a palette chunk padded out).
  EXPECT_TRUE(Decode(Flc(4, 2, {{{4, std::vector<uint8_t>(65535)}}})).ok);
}

TEST(AnimationTest, LoadAnimationNamesTheFile) {
  HeadlessSession session;
  ScratchDir dir;
  ResetSpriteStore();
  uint8_t* frames[kAnimImages] = {};
  ExpectFatal([&] { LoadAnimation(frames, "data/plonkix.f01"); },
              {"data/plonkix.f01", "No such file"});
  WriteFileBytes(dir.DataFile("plonkix.f02"), Flc(78, 48, {{{12, {}}}}));
  ExpectFatal([&] { LoadAnimation(frames, "data/plonkix.f02"); },
              {"data/plonkix.f02", "flic type 12 not implemented"});
  WriteFileBytes(dir.DataFile("plonkix.f00"), Flc(80, 40, {{Fill(80, 40, 1)}}));
  ExpectFatal([&] { LoadAnimation(frames, "data/plonkix.f00"); }, {"data/plonkix.f00", "78 x 48"});

  const auto images = TestFrames(78, 48, 10);
  WriteFileBytes(dir.DataFile("plonkix.f00"),
                 EncodeFlc(Pointers(images), 78, 48, Palette().data(), 70));
  EXPECT_EQ(LoadAnimation(frames, "data/plonkix.f00"), 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(0, memcmp(frames[k], images[k].data(), 78 * 48)) << k;
}

}  // namespace
