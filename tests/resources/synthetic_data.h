// A complete synthetic data directory for loader tests, written with the game's own encoders:
// every sheet and picture holds a pattern that tells the file and the position of each pixel.
#pragma once

#include "codecs.h"
#include "test_support.h"

namespace synthetic {

// The pixel of picture p at (x, y): never 0, and no shift of a sprite repeats it.
inline uint8_t Pixel(int p, int x, int y) {
  uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ uint32_t(p + 1) * 83492791u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return uint8_t(h % 255 + 1);
}

inline std::string Name(const char* kind, int n) {
  return std::string("plonkix.") + kind + char('0' + n / 10) + char('0' + n % 10);
}

inline std::vector<uint8_t> PatternPicture(int p, int width, int height) {
  std::vector<uint8_t> pixels(size_t(width) * height), palette(768);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = Pixel(p, i % width, i / width);
  for (int i = 0; i < 768; ++i) palette[i] = uint8_t(i / 3);
  return EncodePcx(pixels.data(), width, height, palette.data());
}

// The animation f0n: 78 x 48 images of one value each, 20 n + k + 1 for image k.
inline std::vector<uint8_t> CountingAnimation(int n, int images) {
  std::vector<std::vector<uint8_t>> frames;
  std::vector<const uint8_t*> pointers;
  for (int k = 0; k < images; ++k) frames.emplace_back(78 * 48, uint8_t(20 * n + k + 1));
  for (const auto& f : frames) pointers.push_back(f.data());
  const std::vector<uint8_t> palette(768, 0);
  return EncodeFlc(pointers, 78, 48, palette.data(), 70);
}

// Writes p00..p16 (320 x 200 sheets but for the pictures of fixed size), f00..f02 and w00..w19.
inline void WriteGameData(const std::filesystem::path& dataDir) {
  for (int p = 0; p <= 16; ++p) {
    const int w = p == 2 ? 306 : p == 12 ? 200 : p == 13 || p == 14 ? 274 : p == 15 ? 14 : 320;
    const int h = p == 2 ? 70 : p == 12 ? 50 : p == 13 || p == 14 ? 110 : p == 15 ? 374 : 200;
    WriteFileBytes(dataDir / Name("p", p), PatternPicture(p, w, h));
  }
  for (int n = 0; n < 3; ++n) WriteFileBytes(dataDir / Name("f", n), CountingAnimation(n, 10));
  const int16_t samples[4] = {0, 1000, 0, -1000};
  for (int k = 0; k < 20; ++k) WriteFileBytes(dataDir / Name("w", k), EncodeWav(samples, 4));
}

}  // namespace synthetic
