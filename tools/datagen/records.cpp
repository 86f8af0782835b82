// The starting configuration and high-score files. Both are the player's own once the game has
// run, so an existing file is never replaced.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "fatal.h"
#include "highscores.h"
#include "keyboard.h"
#include "parts.h"
#include "player_config.h"

namespace {
// Player 1 plays with the left hand on E/S/D/F (clear of the pause key "p", the answer keys
// "y", "z", "j", "n" and Escape); player 2 on the arrow keys.
constexpr uint8_t kScanE = 18, kScanS = 31, kScanD = 32, kScanF = 33;
constexpr uint32_t kStartingMouseDelay = 20;
constexpr uint32_t kStartingDropSpeed = 1;
constexpr uint32_t kStartingBeansToLink = 4;
constexpr uint32_t kStartingCpuStrength = 3;

PlayerConfig StartingPlayer(const char* name, uint32_t left, uint32_t right, uint32_t rotate,
                            uint32_t down) {
  PlayerConfig config{};  // keyboard (no device flag), padding 0
  config.mouseDelay = kStartingMouseDelay;
  config.keyLeft = left;
  config.keyRight = right;
  config.keyRotate = rotate;
  config.keyDown = down;
  config.name.capacity = kNameCapacity;
  config.name.length = static_cast<uint32_t>(strnlen(name, kNameCapacity));
  memcpy(config.name.chars, name, config.name.length);
  config.dropSpeed = kStartingDropSpeed;
  config.beansToLink = kStartingBeansToLink;
  config.cpuStrength = kStartingCpuStrength;
  return config;
}

struct StartingKiller {
  const char* name;
  uint32_t score;
  uint16_t beans;
};
struct StartingCombo {
  const char* name;
  uint16_t combo;
  uint16_t comboPoints;  // points a chain of that many hits can really score
};

// Modest marks, best first, so a first good match already gets onto both lists.
constexpr StartingKiller kStartingKillers[kHighScoreRanks] = {
    {"bloop", 60000, 300}, {"mochi", 45000, 240}, {"taffy", 36000, 200},
    {"tofu", 28000, 170},  {"gummy", 21000, 130}, {"pip", 15000, 100},
    {"lulu", 10000, 70},   {"zap", 6000, 45},     {"nibs", 3000, 25},
};
constexpr StartingCombo kStartingCombos[kHighScoreRanks] = {
    {"fizz", 5, 30000}, {"pudge", 4, 17600}, {"kiwi", 4, 16000},
    {"dotty", 3, 9600}, {"poko", 3, 8400},   {"mimi", 3, 7200},
    {"tiki", 2, 3200},  {"boing", 2, 2800},  {"wisp", 2, 2400},
};

HighScoreName StoredName(const char* name) {
  HighScoreName stored{};  // unused character bytes 0
  stored.capacity = kNameCapacity;
  stored.length = static_cast<uint32_t>(strnlen(name, kNameCapacity));
  memcpy(stored.chars, name, stored.length);
  return stored;
}

// Writes a new file; returns without touching anything when the file is already there.
void WriteNewFile(const std::filesystem::path& file, const void* bytes, size_t size) {
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) return;
  FILE* f = fopen(file.c_str(), "wb");
  if (!f) FatalError("cannot create %s: %s", file.c_str(), strerror(errno));
  const bool written = fwrite(bytes, 1, size, f) == size;
  if (fclose(f) != 0 || !written) FatalError("cannot write %s: input/output error", file.c_str());
}
}  // namespace

void WriteStartingConfig(const std::filesystem::path& dataDir) {
  const PlayerConfig players[2] = {
      StartingPlayer("bongo", kScanS, kScanF, kScanE, kScanD),
      StartingPlayer("jelly", scan::kLeft, scan::kRight, scan::kUp, scan::kDown),
  };
  static_assert(sizeof players == 104);
  WriteNewFile(dataDir / "plonkix.cfg", players, sizeof players);
}

void WriteStartingHighScores(const std::filesystem::path& dataDir) {
  HighScoreTableRecord table{};  // the reserved word stays 0
  for (int r = 0; r < kHighScoreRanks; ++r) {
    table.killerKingsName[r] = StoredName(kStartingKillers[r].name);
    table.killerKingsScore[r] = kStartingKillers[r].score;
    table.killerKingsBeans[r] = kStartingKillers[r].beans;
    table.comboDemonsName[r] = StoredName(kStartingCombos[r].name);
    table.comboDemons[r] = {kStartingCombos[r].combo, kStartingCombos[r].comboPoints};
  }
  WriteNewFile(dataDir / "plonkix.hig", &table, sizeof table);
}
