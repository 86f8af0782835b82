// The high-score reader on any bytes, then an insertion of results taken from the bytes after
// the table: names stay within 5 characters and the results land where they belong.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "highscores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!ParseHighScores(data, size, HighScoreTable)) {
    if (size >= kHighScoreFileBytes) abort();
    return 0;
  }
  uint8_t extra[18] = {};
  memcpy(extra, data + kHighScoreFileBytes, std::min(size - kHighScoreFileBytes, sizeof extra));
  ConfigName name{kNameCapacity, extra[0] % (kNameCapacity + 1u), {}, {}};
  memcpy(name.chars, extra + 1, kNameCapacity);
  int64_t score;
  uint32_t beans;
  uint16_t combo, points;
  memcpy(&score, extra + 6, 8);
  memcpy(&beans, extra + 14, 4);
  memcpy(&combo, extra + 1, 2);
  memcpy(&points, extra + 3, 2);
  const HighScoreTableRecord before = HighScoreTable;
  InsertHighScores(name, score, beans, combo, points);
  for (int r = 0; r < kHighScoreRanks; ++r)
    if (HighScoreTable.killerKingsName[r].length > kNameCapacity ||
        HighScoreTable.comboDemonsName[r].length > kNameCapacity)
      abort();
  // A player who beats rank 1 enters there and the old rank 1 moves to rank 2.
  const uint64_t topScore = before.killerKingsScore[0];
  const bool beatsTop =
      static_cast<uint64_t>(score) > topScore ||
      (static_cast<uint64_t>(score) == topScore && beans > before.killerKingsBeans[0]);
  if (beatsTop && (HighScoreTable.killerKingsScore[0] != static_cast<uint32_t>(score) ||
                   HighScoreTable.killerKingsName[1].length != before.killerKingsName[0].length))
    abort();
  if (HighScoreTable.reserved != before.reserved) abort();
  return 0;
}
