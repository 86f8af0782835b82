// save-stress: saves the configuration and high-score files over and over, alternating between
// two known contents, until it is killed. The kill test checks that every kill leaves each file
// whole: exactly one of the two contents, never a short or mixed file.
//
//   save-stress DIR            saves forever in DIR/data
//   save-stress DIR --verify   exit 0 when both files hold one of the two contents
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "config_file.h"
#include "headless.h"
#include "highscores.h"
#include "player.h"

namespace {
void MakeVersion(int v, PlayerConfig& p1, PlayerConfig& p2, HighScoreTableRecord& table) {
  for (PlayerConfig* p : {&p1, &p2}) {
    *p = PlayerConfig{};
    p->mouseDelay = 20;
    p->keyLeft = 31 + v;
    p->keyRight = 33;
    p->keyRotate = 18;
    p->keyDown = 32;
    p->name.capacity = kNameCapacity;
    p->name.length = 5;
    memcpy(p->name.chars, v ? "tiger" : "bongo", 5);
    p->dropSpeed = 1 + v;
    p->beansToLink = 4;
    p->cpuStrength = 3;
  }
  table = HighScoreTableRecord{};
  for (int r = 0; r < kHighScoreRanks; ++r) {
    table.killerKingsName[r] = {kNameCapacity, 3, {'a', 'b', static_cast<char>('c' + v)}};
    table.comboDemonsName[r] = {kNameCapacity, 2, {'x', static_cast<char>('y' + v)}};
    table.killerKingsScore[r] = static_cast<uint32_t>((9 - r) * 1000 + v);
    table.comboDemons[r] = {static_cast<uint16_t>(9 - r), static_cast<uint16_t>(100 * v)};
  }
}

bool FileEquals(const char* file, const void* bytes, size_t size) {
  std::string content(size + 1, '\0');
  FILE* f = fopen(file, "rb");
  if (!f) return false;
  const size_t read = fread(content.data(), 1, content.size(), f);
  fclose(f);
  return read == size && memcmp(content.data(), bytes, size) == 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || chdir(argv[1]) != 0) {
    fprintf(stderr, "usage: %s DIR [--verify]\n", argv[0]);
    return 2;
  }
  HeadlessSession session;
  PlayerConfig p1[2], p2[2];
  HighScoreTableRecord tables[2];
  for (int v = 0; v < 2; ++v) MakeVersion(v, p1[v], p2[v], tables[v]);

  if (argc > 2 && std::string(argv[2]) == "--verify") {
    bool ok = true;
    for (const char* file : {"data/plonkix.cfg"}) {
      uint8_t bytes[2][2 * sizeof(PlayerConfig)];
      for (int v = 0; v < 2; ++v) {
        memcpy(bytes[v], &p1[v], sizeof(PlayerConfig));
        memcpy(bytes[v] + sizeof(PlayerConfig), &p2[v], sizeof(PlayerConfig));
      }
      if (!FileEquals(file, bytes[0], sizeof bytes[0]) &&
          !FileEquals(file, bytes[1], sizeof bytes[1])) {
        printf("%s is neither the old nor the new version\n", file);
        ok = false;
      }
    }
    if (!FileEquals(kHighScoreFile, &tables[0], sizeof tables[0]) &&
        !FileEquals(kHighScoreFile, &tables[1], sizeof tables[1])) {
      printf("%s is neither the old nor the new version\n", kHighScoreFile);
      ok = false;
    }
    return ok ? 0 : 1;
  }

  for (int v = 0;; v = 1 - v) {
    PlayerState[1].config = p1[v];
    PlayerState[2].config = p2[v];
    SavePlayerConfigs();
    HighScoreTable = tables[v];
    SaveHighScores();
  }
}
