#include "highscores.h"

#include <cstring>

#include "backend.h"
#include "fatal.h"
#include "files.h"

HighScoreTableRecord HighScoreTable;

namespace {

void CutNameLength(HighScoreName& name) {
  if (name.length > kNameCapacity) name.length = kNameCapacity;
}

// Copies a name's length and up to 5 of its characters; the capacity and the other character
// bytes of the target stay as they are.
void CopyName(HighScoreName& to, uint32_t length, const char* chars) {
  to.length = length > kNameCapacity ? kNameCapacity : length;
  memcpy(to.chars, chars, to.length);
}

// The best rank (index) that a result beats, or -1. Keys compare first, the tie-break second.
template <typename KeyAt>
int BestRankBeaten(uint64_t key, uint64_t tieBreak, KeyAt keyAt) {
  int position = -1;
  for (int r = kHighScoreRanks - 1; r >= 0; --r) {
    uint64_t entryKey, entryTieBreak;
    keyAt(r, entryKey, entryTieBreak);
    if (key > entryKey || (key == entryKey && tieBreak > entryTieBreak)) position = r;
  }
  return position;
}

}  // namespace

bool ParseHighScores(const uint8_t* data, size_t size, HighScoreTableRecord& table) {
  if (!data || size < kHighScoreFileBytes) return false;
  memcpy(&table, data, kHighScoreFileBytes);
  for (int r = 0; r < kHighScoreRanks; ++r) {
    CutNameLength(table.killerKingsName[r]);
    CutNameLength(table.comboDemonsName[r]);
  }
  return true;
}

void LoadHighScores() {
  for (int r = 0; r < kHighScoreRanks; ++r)
    HighScoreTable.killerKingsName[r].capacity = HighScoreTable.comboDemonsName[r].capacity =
        kNameCapacity;
  uint8_t bytes[kHighScoreFileBytes];
  size_t got = 0;
  const int error = ReadFileStart(kHighScoreFile, bytes, sizeof bytes, got);
  if (error > 0) FatalError("cannot read %s: %s", kHighScoreFile, strerror(error));
  if (error < 0 || !ParseHighScores(bytes, got, HighScoreTable))
    FatalError("cannot read %s: input/output error (short file, %zu of %zu bytes)", kHighScoreFile,
               got, kHighScoreFileBytes);
}

void InsertHighScores(const ConfigName& name, int64_t score, uint32_t beansKilled,
                      uint16_t maxCombo, uint16_t maxComboPoints) {
  HighScoreTableRecord& t = HighScoreTable;

  // Killer kings: the 64-bit score against 32-bit entries, unsigned.
  const int king = BestRankBeaten(static_cast<uint64_t>(score), beansKilled,
                                  [&](int r, uint64_t& key, uint64_t& tieBreak) {
                                    key = t.killerKingsScore[r];
                                    tieBreak = t.killerKingsBeans[r];
                                  });
  if (king >= 0 && king < kHighScoreEntryRanks) {
    for (int r = kHighScoreEntryRanks - 1; r >= king; --r) {
      CopyName(t.killerKingsName[r + 1], t.killerKingsName[r].length, t.killerKingsName[r].chars);
      t.killerKingsScore[r + 1] = t.killerKingsScore[r];
      t.killerKingsBeans[r + 1] = t.killerKingsBeans[r];
    }
    CopyName(t.killerKingsName[king], name.length, name.chars);
    t.killerKingsScore[king] = static_cast<uint32_t>(score);
    t.killerKingsBeans[king] = static_cast<uint16_t>(beansKilled);
  }

  // Combo demons.
  const int demon =
      BestRankBeaten(maxCombo, maxComboPoints, [&](int r, uint64_t& key, uint64_t& tieBreak) {
        key = t.comboDemons[r].combo;
        tieBreak = t.comboDemons[r].comboPoints;
      });
  if (demon >= 0 && demon < kHighScoreEntryRanks) {
    for (int r = kHighScoreEntryRanks - 1; r >= demon; --r) {
      CopyName(t.comboDemonsName[r + 1], t.comboDemonsName[r].length, t.comboDemonsName[r].chars);
      t.comboDemons[r + 1] = t.comboDemons[r];
    }
    CopyName(t.comboDemonsName[demon], name.length, name.chars);
    t.comboDemons[demon] = ComboEntry{maxCombo, maxComboPoints};
  }
}

void SaveHighScores() {
  int error = 0;
  // Whether the file could not be created or not written, the table stays in memory and the
  // next match writes it again; the old file is intact either way.
  if (WriteFileAtomically(kHighScoreFile, &HighScoreTable, sizeof HighScoreTable, error) ==
      SaveResult::kSaved)
    CurrentBackend().FileSaved(kHighScoreFile);
}
