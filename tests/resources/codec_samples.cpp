// Writes sample files with the game's encoders, and the pixels that any reader must get from
// them as raw RGB, so standard tools (ImageMagick, ffmpeg, sox) can be checked against them.
// Usage: codec_samples DIR
#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "codecs.h"

namespace {

std::string dir;
std::vector<uint8_t> palette(768);

// A file that cannot be written is missing, and the check that reads it fails.
void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream(dir + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void AppendRgb(std::vector<uint8_t>& rgb, const std::vector<uint8_t>& pixels) {
  for (uint8_t p : pixels) rgb.insert(rgb.end(), &palette[3 * p], &palette[3 * p] + 3);
}

// Stripes of run-byte values (200 and above), short runs and a disc placed by seed.
std::vector<uint8_t> Pattern(int width, int height, int seed) {
  std::vector<uint8_t> pixels(size_t(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int dx = x - width / 2 - seed, dy = y - height / 2;
      uint8_t v = uint8_t((x / 5 + y / 3) % 4 == 0 ? 200 + (x + seed) % 50 : x % 7);
      if (dx * dx + dy * dy < width * height / 30) v = uint8_t(100 + seed);
      pixels[size_t(y) * width + x] = v;
    }
  return pixels;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: codec_samples DIR\n");
    return 2;
  }
  dir = argv[1];
  for (int i = 0; i < 768; ++i)
    palette[i] = uint8_t(i % 3 == 0 ? i / 3 : i % 3 == 1 ? 255 - i / 3 : i / 3 * 37);
  // Pictures: a sheet and the narrowest fixed-size picture (odd height).
  for (const auto& [name, w, h] : {std::tuple{"sheet", 320, 200}, {"side", 14, 373}}) {
    const std::vector<uint8_t> pixels = Pattern(w, h, 0);
    std::vector<uint8_t> rgb;
    AppendRgb(rgb, pixels);
    Write(std::string(name) + ".pcx", EncodePcx(pixels.data(), w, h, palette.data()));
    Write(std::string(name) + ".pcx.rgb", rgb);
  }
  // An animation of the game's size: ten frames, the last equal to the one before.
  std::vector<std::vector<uint8_t>> frames;
  std::vector<const uint8_t*> pointers;
  std::vector<uint8_t> rgb;
  for (int k = 0; k < 10; ++k) frames.push_back(Pattern(78, 48, k < 9 ? 2 * k : 16));
  for (const auto& f : frames) pointers.push_back(f.data()), AppendRgb(rgb, f);
  Write("anim.flc", EncodeFlc(pointers, 78, 48, palette.data(), 56));
  Write("anim.flc.rgb", rgb);
  // A short sound: 2205 samples of a sawtooth.
  std::vector<int16_t> samples(2205);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t((i % 100) * 300 - 15000);
  Write("sound.wav", EncodeWav(samples.data(), samples.size()));
  return 0;
}
