// A headless match between two human players with fake sounds, and helpers to draw fields.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine.h"
#include "headless.h"
#include "keyboard.h"
#include "random.h"
#include "test_support.h"
#include "ticks.h"

constexpr uint64_t kTestSeed = 7;
// Player 1 plays on A/D/W/S, player 2 on the arrow keys.
constexpr uint32_t kKeysOne[4] = {30, 32, 17, 31};
constexpr uint32_t kKeysTwo[4] = {scan::kLeft, scan::kRight, scan::kUp, scan::kDown};

class EngineTest : public ::testing::Test {
 public:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();

  void SetUp() override {
    for (int n = 0; n < kSoundCount; ++n) Sounds[n] = backend.FakeSound(n);
    SeedRandom(kTestSeed);
    for (int p = 1; p <= kPlayers; ++p) {
      PlayerStateRecord& s = PlayerState[p];
      s.config = PlayerConfig{};
      const uint32_t* keys = p == 1 ? kKeysOne : kKeysTwo;
      s.config.keyLeft = keys[0];
      s.config.keyRight = keys[1];
      s.config.keyRotate = keys[2];
      s.config.keyDown = keys[3];
      s.config.dropSpeed = 1;
      s.config.beansToLink = 4;
      s.config.cpuStrength = 1;
      s.cpuControlled = 0;
      s.absent = 0;
      ResetPlayerState(p);
    }
    tickCount = frameCount = spinCounter = messageTimer = 0;
    paused = 0;
    ClearMessageLog();
  }

  // Fills player p's rows so that the last text is row 12: '.' empty, 'k' black, '2'..'6'.
  static void Rows(int p, std::initializer_list<const char*> rows) {
    int row = kBottomRow - static_cast<int>(rows.size()) + 1;
    for (const char* text : rows) {
      for (int x = 0; x < kColumns; ++x) {
        const char c = text[x];
        FieldCell(p, x, row).colour = c == '.' ? kEmpty : c == 'k' ? kBlackBean : c - '0';
      }
      ++row;
    }
  }
  static std::string Row(int p, int row) {
    std::string text;
    for (int x = 0; x < kColumns; ++x) {
      const uint32_t c = FieldCell(p, x, row).colour;
      text += c == kEmpty ? '.' : c == kBlackBean ? 'k' : static_cast<char>('0' + c);
    }
    return text;
  }
  static int Beans(int p) {
    int n = 0;
    for (int x = 0; x < kColumns; ++x)
      for (int y = kTopRow; y <= kBottomRow; ++y) n += FieldCell(p, x, y).colour != kEmpty;
    return n;
  }
  // Puts p's pair with pivot B at (column, row), A as the orientation says.
  static void Pair(int p, uint32_t a, uint32_t b, int column, int row, uint32_t orientation = 0) {
    static constexpr int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};
    PlayerStateRecord& s = PlayerState[p];
    s.pairA = PairBean{column + kDx[orientation], row + kDy[orientation], a, 0};
    s.pairB = PairBean{column, row, b, 0};
    s.orientation = orientation;
  }
  static void Ticks(int n) {
    for (int i = 0; i < n; ++i) MatchTick();
  }
  // The logged sounds as "number/mixer volume/mixer channel", then clears the log.
  std::vector<std::string> TakeSounds() {
    std::vector<std::string> out;
    for (const auto& s : backend.sounds)
      out.push_back(std::to_string(s.number) + "/" + std::to_string(s.mixerVolume) + "/" +
                    std::to_string(s.mixerChannel));
    backend.sounds.clear();
    return out;
  }
};

using SoundList = std::vector<std::string>;
