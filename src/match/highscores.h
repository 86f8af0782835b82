// The two high-score lists, "killer kings" by score and "combo demons" by longest chain, and the
// file that holds them byte for byte.
#pragma once
#include <cstddef>
#include <cstdint>

#include "player_config.h"

constexpr int kHighScoreRanks = 9;       // ranks 1..9 at index 0..8
constexpr int kHighScoreEntryRanks = 8;  // a new result enters at ranks 1..8 only
constexpr uint32_t kHighScoreNameChars = 8;
constexpr const char* kHighScoreFile = "data/plonkix.hig";

// A stored name: a capacity (5) and length (0..5), then 8 character bytes of which the first
// length are the name.
struct HighScoreName {
  uint32_t capacity;
  uint32_t length;
  char chars[kHighScoreNameChars];
};

struct ComboEntry {
  uint16_t combo;        // hits of the longest chain
  uint16_t comboPoints;  // its chain points, low 16 bits
};

// The whole file: 380 bytes, little-endian, rank r at index r - 1, best first.
struct HighScoreTableRecord {
  HighScoreName killerKingsName[kHighScoreRanks];
  uint32_t killerKingsScore[kHighScoreRanks];  // low 32 bits of the final score
  uint16_t killerKingsBeans[kHighScoreRanks];  // beans killed, low 16 bits
  uint16_t reserved;                           // kept as read, never written by the game
  HighScoreName comboDemonsName[kHighScoreRanks];
  ComboEntry comboDemons[kHighScoreRanks];
};

constexpr size_t kHighScoreFileBytes = 380;
static_assert(sizeof(HighScoreName) == 16);
static_assert(sizeof(HighScoreTableRecord) == kHighScoreFileBytes);
static_assert(offsetof(HighScoreTableRecord, killerKingsName) == 0);
static_assert(offsetof(HighScoreTableRecord, killerKingsScore) == 144);
static_assert(offsetof(HighScoreTableRecord, killerKingsBeans) == 180);
static_assert(offsetof(HighScoreTableRecord, reserved) == 198);
static_assert(offsetof(HighScoreTableRecord, comboDemonsName) == 200);
static_assert(offsetof(HighScoreTableRecord, comboDemons) == 344);
static_assert(offsetof(HighScoreTableRecord, comboDemons) + offsetof(ComboEntry, comboPoints) ==
              346);

extern HighScoreTableRecord HighScoreTable;

// Fills a table from the 380 bytes of a file held in memory: false (table untouched) when fewer
// bytes are given. Name lengths above 5 are cut to 5.
bool ParseHighScores(const uint8_t* data, size_t size, HighScoreTableRecord& table);

// Reads data/plonkix.hig at start-up (the name capacities are set to 5 first). A missing or short
// file stops the program with a message that names it.
void LoadHighScores();
// Enters one player's results into both lists, at ranks 1..8 only.
void InsertHighScores(const ConfigName& name, int64_t score, uint32_t beansKilled,
                      uint16_t maxCombo, uint16_t maxComboPoints);
// Replaces data/plonkix.hig by the table. When the file cannot be written the table stays in
// memory only, silently, and the old file is left as it was.
void SaveHighScores();
