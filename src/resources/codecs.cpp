#include "codecs.h"

#include <cstring>

#include "fatal.h"
#include "formats.h"

namespace {

void Put8(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
}
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  Put8(out, v);
  Put8(out, v >> 8);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v);
  Put16(out, v >> 16);
}
void Set16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Set32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  Set16(out, at, v);
  Set16(out, at + 2, v >> 16);
}
void PutBytes(std::vector<uint8_t>& out, const uint8_t* bytes, size_t count) {
  out.insert(out.end(), bytes, bytes + count);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  PutBytes(out, reinterpret_cast<const uint8_t*>(tag), 4);
}

// ---- PCX ----

constexpr uint8_t kPcxManufacturer = 10;
constexpr uint8_t kPcxVersion = 5;
constexpr uint8_t kPcxEncodingRle = 1;
constexpr uint8_t kPcxBitsPerPixel = 8;
constexpr uint16_t kPcxPaletteInfoColour = 1;
constexpr uint16_t kPcxDpi = 72;

// One scanline as ZSoft writers do it: runs never cross the end of the line, a run byte
// carries at most 63 repeats, and a lone byte that looks like a run byte goes out as a run of 1.
void EncodePcxLine(std::vector<uint8_t>& out, const uint8_t* line, int count) {
  int x = 0;
  while (x < count) {
    const uint8_t value = line[x];
    int run = 1;
    while (x + run < count && run < pcx::kMaxRun && line[x + run] == value) ++run;
    if (run > 1 || value >= pcx::kRunFlag) Put8(out, pcx::kRunFlag | run);
    Put8(out, value);
    x += run;
  }
}

// ---- FLC ----

constexpr uint16_t kFlcFlagsComplete = 3;  // header updated and loop frame written
constexpr uint16_t kFlcAspect = 1;
constexpr int kFlcMaxPacketsPerLine = 255;  // the byte-run packet count is one byte
constexpr int kFlcMaxLiteral = 128;         // a literal byte-run packet: count -1..-128
constexpr int kFlcMaxRepeat = 127;          // a repeat byte-run packet: count 1..127
constexpr int kFlcMaxWordRepeat = 128;      // a word-delta repeat packet: count -1..-128
constexpr int kFlcMaxWordCopy = 127;        // a word-delta copy packet: count 1..127
constexpr int kFlcMaxColumnSkip = 254;      // an even byte skip that fits the skip byte

// A chunk: 6-byte header, data, padded to an even size as FLC readers expect.
void PutChunk(std::vector<uint8_t>& out, uint16_t type, const std::vector<uint8_t>& data) {
  const size_t size = flc::kChunkHeaderBytes + data.size() + (data.size() & 1);
  Put32(out, static_cast<uint32_t>(size));
  Put16(out, type);
  PutBytes(out, data.data(), data.size());
  if (data.size() & 1) Put8(out, 0);
}

std::vector<uint8_t> PaletteChunkData(const uint8_t* palette768) {
  std::vector<uint8_t> data;
  Put16(data, 1);  // one packet
  Put8(data, 0);   // skip no colours
  Put8(data, 0);   // copy 256 colours (0 stands for 256)
  PutBytes(data, palette768, 768);
  return data;
}

// One line of byte runs: repeats of 3 or more become repeat packets, the rest literal packets.
// Returns the packet count.
int EncodeByteRunLine(std::vector<uint8_t>& out, const uint8_t* line, int width) {
  int packets = 0;
  int x = 0;
  while (x < width) {
    int run = 1;
    while (x + run < width && run < kFlcMaxRepeat && line[x + run] == line[x]) ++run;
    if (run >= 3) {
      Put8(out, run);
      Put8(out, line[x]);
      x += run;
    } else {
      // Literal bytes up to the next repeat of three.
      int count = 0;
      while (x + count < width && count < kFlcMaxLiteral) {
        const int at = x + count;
        if (at + 2 < width && line[at] == line[at + 1] && line[at] == line[at + 2]) break;
        ++count;
      }
      Put8(out, static_cast<uint8_t>(-count));
      PutBytes(out, line + x, count);
      x += count;
    }
    ++packets;
  }
  return packets;
}

std::vector<uint8_t> ByteRunChunkData(const uint8_t* image, int width, int height) {
  std::vector<uint8_t> data;
  std::vector<uint8_t> line;
  for (int y = 0; y < height; ++y) {
    const uint8_t* pixels = image + static_cast<size_t>(y) * width;
    line.clear();
    int packets = EncodeByteRunLine(line, pixels, width);
    if (packets > kFlcMaxPacketsPerLine) {
      // Too many packets for the count byte: the line goes out as plain literal packets.
      line.clear();
      packets = 0;
      for (int x = 0; x < width; x += kFlcMaxLiteral) {
        const int count = width - x < kFlcMaxLiteral ? width - x : kFlcMaxLiteral;
        Put8(line, static_cast<uint8_t>(-count));
        PutBytes(line, pixels + x, count);
        ++packets;
      }
    }
    Put8(data, packets);
    PutBytes(data, line.data(), line.size());
  }
  return data;
}

uint16_t WordAt(const uint8_t* line, int word) {
  return static_cast<uint16_t>(line[2 * word] | (line[2 * word + 1] << 8));
}

// One line of a word-oriented delta: packets of (even byte skip, signed word count) over the
// changed words. Every packet writes at least one word (a zero count would be read differently
// by different decoders), so a gap wider than the skip byte is bridged by copying one
// unchanged word. Returns the packet count.
int EncodeDeltaLine(std::vector<uint8_t>& out, const uint8_t* previous, const uint8_t* current,
                    int words) {
  int packets = 0;
  int w = 0;
  int lastEnd = 0;  // first word after the previous packet
  while (true) {
    while (w < words && WordAt(previous, w) == WordAt(current, w)) ++w;
    if (w >= words) break;
    // Bridge gaps the skip byte cannot hold.
    while ((w - lastEnd) * 2 > kFlcMaxColumnSkip) {
      const int bridge = lastEnd + kFlcMaxColumnSkip / 2;
      Put8(out, kFlcMaxColumnSkip);
      Put8(out, 1);
      Put16(out, WordAt(current, bridge));
      lastEnd = bridge + 1;
      ++packets;
    }
    const int skipBytes = (w - lastEnd) * 2;
    int repeat = 1;
    while (w + repeat < words && repeat < kFlcMaxWordRepeat &&
           WordAt(current, w + repeat) == WordAt(current, w))
      ++repeat;
    Put8(out, skipBytes);
    if (repeat >= 2) {
      Put8(out, static_cast<uint8_t>(-repeat));
      Put16(out, WordAt(current, w));
      w += repeat;
    } else {
      // Copy changed words up to the next unchanged word or the next repeat.
      int count = 0;
      while (w + count < words && count < kFlcMaxWordCopy) {
        const int at = w + count;
        if (WordAt(previous, at) == WordAt(current, at)) break;
        if (at + 1 < words && WordAt(current, at) == WordAt(current, at + 1)) break;
        ++count;
      }
      Put8(out, count);
      PutBytes(out, current + 2 * w, 2 * static_cast<size_t>(count));
      w += count;
    }
    lastEnd = w;
    ++packets;
  }
  return packets;
}

std::vector<uint8_t> DeltaChunkData(const uint8_t* previous, const uint8_t* current, int width,
                                    int height) {
  std::vector<uint8_t> data;
  Put16(data, 0);  // encoded line count, filled in at the end
  std::vector<uint8_t> line;
  int encodedLines = 0;
  int skippedLines = 0;
  for (int y = 0; y < height; ++y) {
    const size_t rowStart = static_cast<size_t>(y) * width;
    line.clear();
    const int packets = EncodeDeltaLine(line, previous + rowStart, current + rowStart, width / 2);
    if (packets == 0) {
      ++skippedLines;
      continue;
    }
    if (skippedLines > 0) {
      Put16(data, static_cast<uint16_t>(-skippedLines));  // top bits 11: skip lines
      skippedLines = 0;
    }
    Put16(data, packets);
    PutBytes(data, line.data(), line.size());
    ++encodedLines;
  }
  Set16(data, 0, encodedLines);
  return data;
}

// A frame: 16-byte header and its chunks.
void PutFrame(std::vector<uint8_t>& out, const std::vector<std::vector<uint8_t>>& chunks,
              const std::vector<uint16_t>& types) {
  const size_t start = out.size();
  Put32(out, 0);  // size, filled in below
  Put16(out, flc::kFrameMagic);
  Put16(out, static_cast<uint32_t>(chunks.size()));
  Put16(out, 0);  // delay: use the header's speed
  Put16(out, 0);  // reserved
  Put16(out, 0);  // width override: none
  Put16(out, 0);  // height override: none
  for (size_t k = 0; k < chunks.size(); ++k) PutChunk(out, types[k], chunks[k]);
  Set32(out, start, static_cast<uint32_t>(out.size() - start));
}

}  // namespace

std::vector<uint8_t> EncodePcx(const uint8_t* pixels, int width, int height,
                               const uint8_t* palette768) {
  if (width <= 0 || height <= 0 || width > pcx::kMaxDimension || height > pcx::kMaxDimension)
    FatalError("EncodePcx: picture size %d x %d out of range", width, height);
  // The game decodes the pixel data as one stream of width x height bytes. A PCX line holds an
  // even number of bytes, so an odd width would need a padding byte per line that the game
  // would read as a pixel: pictures written for the game have even widths.
  if (width % 2 != 0)
    FatalError("EncodePcx: width %d is odd; pictures must have even widths", width);
  std::vector<uint8_t> out;
  out.reserve(pcx::kHeaderBytes + static_cast<size_t>(width) * height + 1 + 768);
  Put8(out, kPcxManufacturer);
  Put8(out, kPcxVersion);
  Put8(out, kPcxEncodingRle);
  Put8(out, kPcxBitsPerPixel);
  Put16(out, 0);           // xmin
  Put16(out, 0);           // ymin
  Put16(out, width - 1);   // xmax
  Put16(out, height - 1);  // ymax
  Put16(out, kPcxDpi);
  Put16(out, kPcxDpi);
  out.resize(out.size() + 48, 0);  // 16-colour palette, unused at 8 bits
  Put8(out, 0);                    // reserved
  Put8(out, 1);                    // one plane
  Put16(out, width);               // bytes per line: the width, which is even
  Put16(out, kPcxPaletteInfoColour);
  Put16(out, 0);  // screen size: not given
  Put16(out, 0);
  out.resize(pcx::kHeaderBytes, 0);
  for (int y = 0; y < height; ++y)
    EncodePcxLine(out, pixels + static_cast<size_t>(y) * width, width);
  Put8(out, pcx::kPaletteMarker);
  PutBytes(out, palette768, pcx::kPaletteBytes);
  return out;
}

std::vector<uint8_t> EncodeFlc(const std::vector<const uint8_t*>& frames, int width, int height,
                               const uint8_t* palette768, uint32_t msPerFrame) {
  if (frames.empty()) FatalError("EncodeFlc: no frames");
  if (frames.size() > 0xFFFF) FatalError("EncodeFlc: too many frames (%zu)", frames.size());
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF)
    FatalError("EncodeFlc: animation size %d x %d out of range", width, height);
  // Word deltas move two pixels at a time; an odd width would need the last-pixel opcode,
  // which the game does not read.
  if (width % 2 != 0)
    FatalError("EncodeFlc: width %d is odd; animations must have even widths", width);

  std::vector<uint8_t> out(flc::kFileHeaderBytes, 0);
  Set16(out, 4, flc::kFileMagic);
  Set16(out, flc::kFrameCountAt, static_cast<uint32_t>(frames.size()));
  Set16(out, flc::kWidthAt, width);
  Set16(out, flc::kHeightAt, height);
  Set16(out, 12, 8);  // depth
  Set16(out, 14, kFlcFlagsComplete);
  Set32(out, 16, msPerFrame);
  Set16(out, 38, kFlcAspect);
  Set16(out, 40, kFlcAspect);

  std::vector<uint32_t> frameOffsets;
  // The first frame: the palette and the whole image as byte runs.
  frameOffsets.push_back(static_cast<uint32_t>(out.size()));
  PutFrame(out, {PaletteChunkData(palette768), ByteRunChunkData(frames[0], width, height)},
           {flc::kChunkPalette256, flc::kChunkByteRun});
  // Later frames, then the loop frame back to the first: deltas from the frame before.
  for (size_t f = 1; f <= frames.size(); ++f) {
    frameOffsets.push_back(static_cast<uint32_t>(out.size()));
    const uint8_t* current = frames[f % frames.size()];
    PutFrame(out, {DeltaChunkData(frames[f - 1], current, width, height)}, {flc::kChunkWordDelta});
  }
  Set32(out, 0, static_cast<uint32_t>(out.size()));
  Set32(out, 80, frameOffsets[0]);  // oframe1
  Set32(out, 84, frameOffsets[1]);  // oframe2 (with one frame: the loop frame)
  return out;
}

std::vector<uint8_t> EncodeWav(const int16_t* samples, size_t count) {
  constexpr uint32_t kFmtBytes = 16;
  constexpr uint16_t kFormatPcm = 1;
  constexpr uint16_t kChannels = 1;
  constexpr uint16_t kBitsPerSample = 16;
  constexpr uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
  const uint32_t dataBytes = static_cast<uint32_t>(count * kBlockAlign);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, kFmtBytes);
  Put16(out, kFormatPcm);
  Put16(out, kChannels);
  Put32(out, kSampleRate);
  Put32(out, kSampleRate * kBlockAlign);
  Put16(out, kBlockAlign);
  Put16(out, kBitsPerSample);
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (size_t i = 0; i < count; ++i) Put16(out, static_cast<uint16_t>(samples[i]));
  return out;
}
