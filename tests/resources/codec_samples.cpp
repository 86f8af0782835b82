// Writes sample files with the game's encoders, and the pixels that any reader must get from
// them as raw RGB, so standard tools (ImageMagick, ffmpeg, sox) can be checked against them.
// Usage: codec_samples DIR
#include <cstdio>
#include <string>
#include <vector>

#include "codecs.h"

namespace {

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
    fprintf(stderr, "cannot write %s\n", path.c_str());
    exit(1);
  }
}

std::vector<uint8_t> Rgb(const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& palette) {
  std::vector<uint8_t> rgb;
  for (uint8_t p : pixels) rgb.insert(rgb.end(), &palette[3 * p], &palette[3 * p] + 3);
  return rgb;
}

std::vector<uint8_t> Pattern(int width, int height, int seed) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int dx = x - width / 2 - seed, dy = y - height / 2;
      uint8_t v = static_cast<uint8_t>((x / 5 + y / 3) % 4 == 0 ? 200 + (x + seed) % 50 : x % 7);
      if (dx * dx + dy * dy < width * height / 30) v = static_cast<uint8_t>(100 + seed);
      pixels[static_cast<size_t>(y) * width + x] = v;
    }
  return pixels;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: codec_samples DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::vector<uint8_t> palette(768);
  for (int i = 0; i < 256; ++i) {
    palette[3 * i] = static_cast<uint8_t>(i);
    palette[3 * i + 1] = static_cast<uint8_t>(255 - i);
    palette[3 * i + 2] = static_cast<uint8_t>(i * 37);
  }
  // Pictures: a sheet and the narrowest fixed-size picture (odd height).
  struct Sample {
    const char* name;
    int w, h;
  };
  for (const auto& [name, w, h] : {Sample{"sheet", 320, 200}, Sample{"side", 14, 373}}) {
    const std::vector<uint8_t> pixels = Pattern(w, h, 0);
    Write(dir + "/" + name + ".pcx", EncodePcx(pixels.data(), w, h, palette.data()));
    Write(dir + "/" + name + ".pcx.rgb", Rgb(pixels, palette));
  }
  // An animation of the game's size: ten frames, the last equal to the one before.
  std::vector<std::vector<uint8_t>> frames;
  std::vector<const uint8_t*> pointers;
  std::vector<uint8_t> expected;
  for (int k = 0; k < 10; ++k) frames.push_back(Pattern(78, 48, k < 9 ? 2 * k : 16));
  for (const auto& f : frames) {
    pointers.push_back(f.data());
    const std::vector<uint8_t> rgb = Rgb(f, palette);
    expected.insert(expected.end(), rgb.begin(), rgb.end());
  }
  Write(dir + "/anim.flc", EncodeFlc(pointers, 78, 48, palette.data(), 56));
  Write(dir + "/anim.flc.rgb", expected);
  // A short sound.
  std::vector<int16_t> samples(2205);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>((i % 100) * 300 - 15000);
  Write(dir + "/sound.wav", EncodeWav(samples.data(), samples.size()));
  return 0;
}
