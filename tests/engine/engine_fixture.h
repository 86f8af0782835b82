// Two human players in a headless match with fake sounds, and helpers to draw and read fields.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"
#include "headless.h"
#include "keyboard.h"
#include "random.h"
#include "ticks.h"

// Player 1 plays on A/D/W/S, player 2 on the arrow keys.
constexpr uint32_t kKeysOne[4] = {30, 32, 17, 31};
constexpr uint32_t kKeysTwo[4] = {scan::kLeft, scan::kRight, scan::kUp, scan::kDown};
using SoundList = std::vector<std::string>;

template <uint32_t N>
std::string Str(const FixedText<N>& text) {
  return std::string(text.chars, text.length);
}

class EngineTest : public ::testing::Test {
 public:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();

  void SetUp() override {
    for (int n = 0; n < kSoundCount; ++n) Sounds[n] = backend.FakeSound(n);
    SeedRandom(7);
    for (int p = 1; p <= kPlayers; ++p) {
      const uint32_t* k = p == 1 ? kKeysOne : kKeysTwo;
      PlayerState[p].config =
          PlayerConfig{0, 0, 0, 0, 5, k[0], k[1], k[2], k[3], {5, 0, {}, {}}, 1, 4, 1};
      PlayerState[p].cpuControlled = PlayerState[p].absent = 0;
      ResetPlayerState(p);
    }
    tickCount = frameCount = spinCounter = messageTimer = 0;
    paused = 0;
    ClearMessageLog();
  }
  // Fills p's rows, the last text at row `bottom`: '.' empty, 'k' black, '2'..'6' colours.
  static void Rows(int p, std::vector<const char*> rows, int bottom = kBottomRow) {
    for (size_t i = 0; i < rows.size(); ++i)
      for (int x = 0; x < kColumns; ++x) {
        const char c = rows[i][x];
        FieldCell(p, x, bottom + 1 - int(rows.size()) + int(i)).colour = c == '.'   ? kEmpty
                                                                         : c == 'k' ? kBlackBean
                                                                                    : c - '0';
      }
  }
  static std::string Row(int p, int row) {
    std::string text;
    for (int x = 0; x < kColumns; ++x) text += ".k23456"[FieldCell(p, x, row).colour];
    return text;
  }
  static int Beans(int p) {
    int n = 0;
    for (int x = 0; x < kColumns; ++x)
      for (int y = kTopRow; y <= kBottomRow; ++y) n += FieldCell(p, x, y).colour != kEmpty;
    return n;
  }
  // Puts p's pair with pivot B at (column, row) and A where the orientation says.
  static void Pair(int p, uint32_t a, uint32_t b, int column, int row, uint32_t orientation = 0) {
    static constexpr int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};
    PlayerStateRecord& s = PlayerState[p];
    s.pairA = PairBean{column + kDx[orientation], row + kDy[orientation], a, 0};
    s.pairB = PairBean{column, row, b, 0};
    s.orientation = orientation;
  }
  static std::string Where(int p) {
    const PlayerStateRecord& s = PlayerState[p];
    return std::to_string(s.pairA.column) + "," + std::to_string(s.pairA.row) + " " +
           std::to_string(s.pairB.column) + "," + std::to_string(s.pairB.row);
  }
  static void Ticks(int n) {
    for (int i = 0; i < n; ++i) MatchTick();
  }
  // The logged sounds as "number/mixer volume/mixer channel"; clears the log.
  SoundList TakeSounds() {
    SoundList out;
    for (const auto& s : backend.sounds)
      out.push_back(std::to_string(s.number) + "/" + std::to_string(s.mixerVolume) + "/" +
                    std::to_string(s.mixerChannel));
    backend.sounds.clear();
    return out;
  }
};
