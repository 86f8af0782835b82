// Writes sample files with the game's encoders, and the pixels that any reader must get from
// them as raw RGB, so standard tools (ImageMagick, ffmpeg, sox) can be checked against them.
// Usage: codec_samples DIR
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "codecs.h"

namespace {
using Bytes = std::vector<uint8_t>;

// Runs of one to five pixels through every value, run bytes (192 and above) included, and a disc
// whose place and value follow k.
Bytes Pattern(int width, int height, int k) {
  Bytes pixels(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.size(); ++i) {
    const int x = i % width, y = i / width, dx = x - width / 2 - k, dy = y - height / 2;
    pixels[i] =
        dx * dx + dy * dy < width * height / 30 ? 100 + k : (x / (1 + y % 5) * 37 + k) % 256;
  }
  return pixels;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: codec_samples DIR\n");
    return 2;
  }
  Bytes palette(768);
  for (int i = 0; i < 768; ++i)
    palette[i] = static_cast<uint8_t>(i % 3 == 0 ? i / 3 : i % 3 == 1 ? 255 - i / 3 : i / 3 * 37);
  // A file that cannot be written is missing, and the check that reads it fails. The pictures
  // given go beside it as RGB.
  const auto write = [&](const std::string& name, const Bytes& bytes,
                         const std::vector<Bytes>& pictures) {
    Bytes rgb;
    for (const Bytes& picture : pictures)
      for (uint8_t p : picture) rgb.insert(rgb.end(), &palette[3 * p], &palette[3 * p] + 3);
    for (const auto& [file, content] : {std::pair{name, &bytes}, {name + ".rgb", &rgb}})
      std::ofstream(std::string(argv[1]) + "/" + file, std::ios::binary)
          .write(reinterpret_cast<const char*>(content->data()),
                 static_cast<std::streamsize>(content->size()));
  };
  // Pictures: a sheet and the narrowest fixed-size picture (odd height).
  const Bytes sheet = Pattern(320, 200, 0), side = Pattern(14, 373, 0);
  write("sheet.pcx", EncodePcx(sheet.data(), 320, 200, palette.data()), {sheet});
  write("side.pcx", EncodePcx(side.data(), 14, 373, palette.data()), {side});
  // An animation of the game's size: ten frames, the last equal to the one before.
  std::vector<Bytes> frames;
  std::vector<const uint8_t*> pointers;
  for (int k = 0; k < 10; ++k) frames.push_back(Pattern(78, 48, k < 9 ? 2 * k : 16));
  for (const Bytes& f : frames) pointers.push_back(f.data());
  write("anim.flc", EncodeFlc(pointers, 78, 48, palette.data(), 56), frames);
  // A short sound: 2205 samples of a sawtooth.
  std::vector<int16_t> samples(2205);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t((i % 100) * 300 - 15000);
  write("sound.wav", EncodeWav(samples.data(), samples.size()), {});
  return 0;
}
