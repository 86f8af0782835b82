#include "animation.h"

#include <cstring>
#include <vector>

#include "fatal.h"
#include "files.h"
#include "formats.h"
#include "picture.h"

uint8_t* AnimFrames[kAnimImages];

namespace {

constexpr const char* kFileEnds = "file ends early (truncated)";
constexpr const char* kDeltaEnds = "word delta runs past its chunk data";
constexpr const char* kByteRunEnds = "byte run runs past its chunk data";

// The next image: a copy of the one before, or all zeros for the first.
bool NewImage(DecodedAnimation& anim, DecodeFault& fault) {
  if (anim.imageCount >= kAnimImages) {
    SetFault(fault, "more than %d images", kAnimImages);
    return false;
  }
  uint8_t* image = anim.images[anim.imageCount];
  if (anim.imageCount > 0)
    memcpy(image, anim.images[anim.imageCount - 1], anim.imageBytes);
  else
    memset(image, 0, anim.imageBytes);
  ++anim.imageCount;
  return true;
}

// Writes a 16-bit word at a byte position of the image, low byte first.
bool PutWord(DecodedAnimation& anim, uint8_t* image, int64_t at, uint16_t word,
             DecodeFault& fault) {
  if (at < 0 || at + 2 > static_cast<int64_t>(anim.imageBytes)) {
    SetFault(fault, "word delta writes past its image (image %d, byte %lld)", anim.imageCount - 1,
             static_cast<long long>(at));
    return false;
  }
  image[at] = static_cast<uint8_t>(word);
  image[at + 1] = static_cast<uint8_t>(word >> 8);
  return true;
}

bool ApplyWordDelta(DecodedAnimation& anim, MemReader& in, DecodeFault& fault) {
  uint8_t* image = anim.images[anim.imageCount - 1];
  const int64_t width = anim.width;
  const uint32_t lines = ReadU16(in);
  int64_t lineStart = 0;
  uint32_t decoded = 0;
  while (decoded < lines && ReaderOk(in)) {
    const uint16_t word = ReadU16(in);
    switch (word & flc::kOpcodeMask) {
      case flc::kOpcodePacketCount: {
        int64_t at = lineStart;
        for (uint32_t p = 0; p < word && ReaderOk(in); ++p) {
          const uint16_t packet = ReadU16(in);
          const int count = static_cast<int8_t>(packet >> 8);
          at += packet & 0xFE;  // the column skip, always an even number of bytes
          if (count > 0) {
            for (int k = 0; k < count; ++k, at += 2) {
              const uint16_t value = ReadU16(in);
              if (!ReaderOk(in)) break;
              if (!PutWord(anim, image, at, value, fault)) return false;
            }
          } else {
            const uint16_t value = ReadU16(in);  // with a count of 0 it is read and not written
            if (!ReaderOk(in)) break;
            for (int k = 0; k < -count; ++k, at += 2)
              if (!PutWord(anim, image, at, value, fault)) return false;
          }
        }
        lineStart += width;
        ++decoded;
        break;
      }
      case flc::kOpcodeLineSkip:
        lineStart += -static_cast<int64_t>(static_cast<int16_t>(word)) * width;
        break;
      case flc::kOpcodeLastPixel:
        SetFault(fault, "This case is not yet handled");
        return false;
      default:  // top bits 01: ignored, not a line
        break;
    }
  }
  if (!ReaderOk(in)) {
    SetFault(fault, "%s (image %d)", in.fault, anim.imageCount - 1);
    return false;
  }
  return true;
}

bool ApplyByteRuns(DecodedAnimation& anim, MemReader& in, DecodeFault& fault) {
  uint8_t* image = anim.images[anim.imageCount - 1];
  const size_t imageBytes = anim.imageBytes;
  size_t at = 0;  // runs on from line to line
  for (uint32_t y = 0; y < anim.height && ReaderOk(in); ++y) {
    const uint32_t packets = ReadU8(in);
    for (uint32_t p = 0; p < packets && ReaderOk(in); ++p) {
      const int count = ReadS8(in);
      size_t length = 0;
      const uint8_t* literal = nullptr;
      uint8_t value = 0;
      if (count < 0) {
        length = static_cast<size_t>(-count);
        literal = ReadBlock(in, length);
      } else {
        length = static_cast<size_t>(count);  // a count of 0 reads its byte and writes nothing
        value = ReadU8(in);
      }
      if (!ReaderOk(in)) break;
      if (length > imageBytes - at) {
        SetFault(fault, "byte run writes past its image (image %d, line %u)", anim.imageCount - 1,
                 y);
        return false;
      }
      if (literal)
        memcpy(image + at, literal, length);
      else
        memset(image + at, value, length);
      at += length;
    }
  }
  if (!ReaderOk(in)) {
    SetFault(fault, "%s (image %d)", in.fault, anim.imageCount - 1);
    return false;
  }
  return true;
}

}  // namespace

bool DecodeAnimation(const uint8_t* file, size_t size, int needWidth, int needHeight,
                     DecodedAnimation& out, DecodeFault& fault) {
  MemReader in = MakeReader(file, size, kFileEnds);
  out.imageCount = 0;
  const uint8_t* header = ReadBlock(in, flc::kFileHeaderBytes);
  if (!header) {
    SetFault(fault, "%s in the file header", kFileEnds);
    return false;
  }
  MemReader fields = MakeReader(header, flc::kFileHeaderBytes, kFileEnds);
  fields.pos = flc::kFrameCountAt;
  const uint32_t frames = ReadU16(fields);
  out.width = ReadU16(fields);
  out.height = ReadU16(fields);
  out.imageBytes = static_cast<uint32_t>(out.width) * out.height;
  if ((needWidth || needHeight) && (out.width != needWidth || out.height != needHeight)) {
    SetFault(fault, "images are %u x %u, the game needs %d x %d", out.width, out.height, needWidth,
             needHeight);
    return false;
  }
  if (out.imageBytes > kAnimMaxImageBytes) {
    SetFault(fault, "images of %u x %u are larger than %zu bytes", out.width, out.height,
             kAnimMaxImageBytes);
    return false;
  }

  for (uint32_t f = 0; f < frames; ++f) {
    const uint8_t* frameHeader = ReadBlock(in, flc::kFrameHeaderBytes);
    if (!frameHeader) {
      SetFault(fault, "%s in the header of frame %u", kFileEnds, f);
      return false;
    }
    const uint32_t chunks =
        frameHeader[flc::kChunkCountAt] | (frameHeader[flc::kChunkCountAt + 1] << 8);
    for (uint32_t c = 0; c < chunks; ++c) {
      const uint32_t chunkSize = ReadU32(in);
      const uint16_t type = ReadU16(in);
      if (!ReaderOk(in)) {
        SetFault(fault, "%s in a chunk header of frame %u", kFileEnds, f);
        return false;
      }
      if (chunkSize < flc::kChunkHeaderBytes) {
        SetFault(fault, "chunk of frame %u has a size of %u, below its own header", f, chunkSize);
        return false;
      }
      const size_t dataBytes = chunkSize - flc::kChunkHeaderBytes;
      if (dataBytes > kAnimChunkBufferBytes) {
        SetFault(fault, "chunk of frame %u holds %zu bytes, more than the %zu-byte chunk buffer", f,
                 dataBytes, kAnimChunkBufferBytes);
        return false;
      }
      const uint8_t* data = ReadBlock(in, dataBytes);
      if (!data) {
        SetFault(fault, "%s in a chunk of frame %u", kFileEnds, f);
        return false;
      }
      switch (type) {
        case flc::kChunkWordDelta: {
          if (!NewImage(out, fault)) return false;
          MemReader chunk = MakeReader(data, dataBytes, kDeltaEnds);
          if (!ApplyWordDelta(out, chunk, fault)) return false;
          break;
        }
        case flc::kChunkByteRun: {
          if (!NewImage(out, fault)) return false;
          MemReader chunk = MakeReader(data, dataBytes, kByteRunEnds);
          if (!ApplyByteRuns(out, chunk, fault)) return false;
          break;
        }
        case flc::kChunkCopy:
          if (!NewImage(out, fault)) return false;
          if (dataBytes < out.imageBytes) {
            SetFault(fault, "uncompressed image %d has %zu of its %u bytes", out.imageCount - 1,
                     dataBytes, out.imageBytes);
            return false;
          }
          memcpy(out.images[out.imageCount - 1], data, out.imageBytes);
          break;
        case flc::kChunkByteDelta:
          SetFault(fault, "flic type 12 not implemented");
          return false;
        case flc::kChunkBlack:
          SetFault(fault, "flic type 13 not implemted");
          return false;
        default:  // palettes (4, 11) and every other type are skipped
          break;
      }
    }
  }
  return true;
}

int LoadAnimation(uint8_t* frames[kAnimImages], const char* fileName) {
  static DecodedAnimation decoded;  // 650 KB: too large for the stack
  std::vector<uint8_t> file;
  const int error = ReadWholeFile(fileName, file);
  if (error) FatalError("cannot read %s: %s", fileName, strerror(error));
  DecodeFault fault;
  if (!DecodeAnimation(file.data(), file.size(), kAnimWidth, kAnimHeight, decoded, fault))
    FatalError("%s: %s", fileName, fault.text);
  for (int i = 0; i < decoded.imageCount; ++i) {
    frames[i] = AllocateSpriteBytes(decoded.imageBytes);
    memcpy(frames[i], decoded.images[i], decoded.imageBytes);
  }
  return decoded.imageCount;
}
