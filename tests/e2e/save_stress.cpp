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
// The two players and the table, as their files hold them.
struct Version {
  PlayerConfig players[2];
  HighScoreTableRecord table;
};

Version MakeVersion(int v) {
  Version version{};
  for (PlayerConfig& p : version.players) {
    p.mouseDelay = 20;
    p.keyLeft = 31 + v;
    p.keyRight = 33;
    p.keyRotate = 18;
    p.keyDown = 32;
    p.name.capacity = kNameCapacity;
    p.name.length = 5;
    memcpy(p.name.chars, v ? "tiger" : "bongo", 5);
    p.dropSpeed = 1 + v;
    p.beansToLink = 4;
    p.cpuStrength = 3;
  }
  HighScoreTableRecord& t = version.table;
  for (int r = 0; r < kHighScoreRanks; ++r) {
    t.killerKingsName[r] = {kNameCapacity, 3, {'a', 'b', static_cast<char>('c' + v)}};
    t.comboDemonsName[r] = {kNameCapacity, 2, {'x', static_cast<char>('y' + v)}};
    t.killerKingsScore[r] = static_cast<uint32_t>((9 - r) * 1000 + v);
    t.comboDemons[r] = {static_cast<uint16_t>(9 - r), static_cast<uint16_t>(100 * v)};
  }
  return version;
}

// Whether the file holds exactly one of the two contents; says so when not.
bool HoldsOneOf(const char* file, const void* first, const void* second, size_t size) {
  std::string content(size + 1, '\0');
  FILE* f = fopen(file, "rb");
  const size_t read = f ? fread(content.data(), 1, content.size(), f) : 0;
  if (f) fclose(f);
  if (read == size &&
      (!memcmp(content.data(), first, size) || !memcmp(content.data(), second, size)))
    return true;
  printf("%s is neither the old nor the new version\n", file);
  return false;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || chdir(argv[1]) != 0) {
    fprintf(stderr, "usage: %s DIR [--verify]\n", argv[0]);
    return 2;
  }
  HeadlessSession session;
  const Version versions[2] = {MakeVersion(0), MakeVersion(1)};
  if (argc > 2 && std::string(argv[2]) == "--verify") {
    const bool config = HoldsOneOf(kConfigFile, versions[0].players, versions[1].players,
                                   sizeof versions[0].players);
    const bool scores = HoldsOneOf(kHighScoreFile, &versions[0].table, &versions[1].table,
                                   sizeof versions[0].table);
    return config && scores ? 0 : 1;
  }
  for (int v = 0;; v = 1 - v) {
    PlayerState[1].config = versions[v].players[0];
    PlayerState[2].config = versions[v].players[1];
    SavePlayerConfigs();
    HighScoreTable = versions[v].table;
    SaveHighScores();
  }
}
