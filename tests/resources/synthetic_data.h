// A complete synthetic data directory for loader tests, written with the game's own encoders:
// every sheet and picture holds a pattern that tells the file and the position of each pixel.
#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "codecs.h"
#include "test_support.h"

namespace synthetic {

// The pixel of picture p at (x, y): never 0, and no shift of a sprite repeats it.
inline uint8_t Pixel(int p, int x, int y) {
  uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
               static_cast<uint32_t>(p + 1) * 83492791u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<uint8_t>(h % 255 + 1);
}

inline std::string Name(const char* kind, int n) {
  char name[32];
  snprintf(name, sizeof name, "plonkix.%s%02d", kind, n);
  return name;
}

inline std::vector<uint8_t> PatternPicture(int p, int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = Pixel(p, x, y);
  std::vector<uint8_t> palette(768);
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<uint8_t>(i / 3);
  return EncodePcx(pixels.data(), width, height, palette.data());
}

// The animation f0n: images of one value, 20 n + k + 1 for image k.
inline std::vector<uint8_t> CountingAnimation(int n, int images) {
  std::vector<std::vector<uint8_t>> frames;
  std::vector<const uint8_t*> pointers;
  for (int k = 0; k < images; ++k)
    frames.emplace_back(78 * 48, static_cast<uint8_t>(20 * n + k + 1));
  for (const auto& f : frames) pointers.push_back(f.data());
  std::vector<uint8_t> palette(768, 0);
  return EncodeFlc(pointers, 78, 48, palette.data(), 70);
}

// The pictures of fixed size; every other one of p00..p16 is a 320 x 200 sheet.
inline void PictureSize(int p, int& width, int& height) {
  width = 320;
  height = 200;
  if (p == 2) width = 306, height = 70;
  if (p == 12) width = 200, height = 50;
  if (p == 13 || p == 14) width = 274, height = 110;
  if (p == 15) width = 14, height = 374;
}

// Writes p00..p16, f00..f02 and w00..w19 into the data directory of the working directory.
inline void WriteGameData(const std::filesystem::path& dataDir) {
  for (int p = 0; p <= 16; ++p) {
    int w, h;
    PictureSize(p, w, h);
    WriteFileBytes(dataDir / Name("p", p), PatternPicture(p, w, h));
  }
  for (int n = 0; n < 3; ++n) WriteFileBytes(dataDir / Name("f", n), CountingAnimation(n, 10));
  const int16_t samples[4] = {0, 1000, 0, -1000};
  for (int k = 0; k < 20; ++k) WriteFileBytes(dataDir / Name("w", k), EncodeWav(samples, 4));
}

}  // namespace synthetic
