// Writes small seed corpora for the fuzz targets with the game's own encoders.
// Usage: fuzz_seeds CORPUS_ROOT (writes picture/, animation/, config/, highscores/, net/ below
// it).
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "codecs.h"
#include "net_packet.h"
#include "player_config.h"

namespace {

std::string root;

void Write(const std::string& sub, const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string dir = root + "/" + sub;
  mkdir(dir.c_str(), 0755);
  const std::string path = dir + "/" + name;
  FILE* f = fopen(path.c_str(), "wb");
  if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
    fprintf(stderr, "cannot write %s\n", path.c_str());
    exit(1);
  }
}

std::vector<uint8_t> Pattern(int width, int height, int seed) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<uint8_t>((i / 5 + seed) % 3 == 0 ? 200 + i % 7 : (i / 11 + seed) % 5);
  return pixels;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: fuzz_seeds CORPUS_ROOT\n");
    return 2;
  }
  root = argv[1];
  mkdir(root.c_str(), 0755);
  std::vector<uint8_t> palette(768);
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<uint8_t>(i);

  for (const auto& [w, h] : {std::pair{8, 4}, {2, 1}, {40, 30}, {320, 200}}) {
    const std::vector<uint8_t> pixels = Pattern(w, h, w);
    Write("picture", "p" + std::to_string(w) + "x" + std::to_string(h),
          EncodePcx(pixels.data(), w, h, palette.data()));
  }

  struct Anim {
    int w, h, n;
  };
  for (const auto& [w, h, n] : {Anim{4, 2, 3}, Anim{16, 6, 4}, Anim{78, 48, 10}}) {
    std::vector<std::vector<uint8_t>> frames;
    std::vector<const uint8_t*> pointers;
    for (int k = 0; k < n; ++k) frames.push_back(Pattern(w, h, k));
    for (const auto& f : frames) pointers.push_back(f.data());
    Write("animation", "a" + std::to_string(w) + "x" + std::to_string(h),
          EncodeFlc(pointers, w, h, palette.data(), 70));
  }

  PlayerConfig players[2] = {};
  for (int p = 0; p < 2; ++p) {
    players[p].mouseDelay = 20;
    players[p].keyLeft = p ? 75 : 31;
    players[p].keyRight = p ? 77 : 33;
    players[p].keyRotate = p ? 72 : 18;
    players[p].keyDown = p ? 80 : 32;
    players[p].name.capacity = 5;
    players[p].name.length = 5;
    memcpy(players[p].name.chars, p ? "jelly" : "bobby", 5);
    players[p].dropSpeed = 1;
    players[p].beansToLink = 4;
    players[p].cpuStrength = 3;
  }
  std::vector<uint8_t> config(sizeof players);
  memcpy(config.data(), players, sizeof players);
  Write("config", "cfg", config);

  std::vector<uint8_t> scores(380 + 18, 0);
  for (int r = 0; r < 9; ++r) {
    scores[16 * r] = scores[200 + 16 * r] = 5;
    scores[16 * r + 4] = scores[200 + 16 * r + 4] = 3;
    memcpy(&scores[16 * r + 8], "abc", 3);
    memcpy(&scores[200 + 16 * r + 8], "xyz", 3);
    scores[144 + 4 * r + 1] = static_cast<uint8_t>(90 - 10 * r);
    scores[180 + 2 * r] = static_cast<uint8_t>(50 - r);
    scores[344 + 4 * r] = static_cast<uint8_t>(12 - r);
    scores[346 + 4 * r] = static_cast<uint8_t>(100 - r);
  }
  scores[380] = 4;
  scores[380 + 7] = 0x30;  // a score that enters the middle of the list
  Write("highscores", "hig", scores);

  // One packet of each kind, as a session sends them.
  NetMessage hello;
  hello.type = NetType::kHello;
  hello.version = kNetVersion;
  hello.settings = {3, {'a', 'b', 'c'}, 2, 4};
  NetMessage start;
  start.type = NetType::kStart;
  start.match = 2;
  start.delay = 3;
  for (int i = 0; i < kRandomStateWords; ++i) start.randomState[i] = 0x9E3779B97F4A7C15ull + i;
  NetMessage ready;
  ready.type = NetType::kReady;
  ready.match = 3;
  NetMessage input;
  input.match = 1;
  input.recordCount = 5;
  input.records[2] = 0x8B;
  input.frameCount = 2;
  input.frames[0] = 3;
  input.frames[1] = 1 | kFrameKeyDownBit;
  input.hashCount = 1;
  input.hashes[0] = 0x1234;
  int n = 0;
  for (const NetMessage* m : {&hello, &start, &ready, &input}) {
    std::vector<uint8_t> bytes(kMostPacketBytes);
    bytes.resize(EncodeNetMessage(*m, bytes.data(), bytes.size()));
    Write("net", "packet" + std::to_string(n++), bytes);
  }
  return 0;
}
