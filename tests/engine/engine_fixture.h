// Two human players in a headless match with fake sounds, and helpers to draw and read fields.
#pragma once
#include <type_traits>

#include "engine.h"
#include "keyboard.h"
#include "random.h"
#include "sim_core.h"
#include "test_support.h"
#include "ticks.h"

// Player 1 plays on A/D/W/S, player 2 on the arrow keys.
constexpr uint32_t kKeysOne[4] = {30, 32, 17, 31};
constexpr uint32_t kKeysTwo[4] = {scan::kLeft, scan::kRight, scan::kUp, scan::kDown};

class EngineTest : public ::testing::Test {
 public:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();

  void SetUp() override {
    InstallFakeSounds(backend);
    SeedRandom(7);
    for (int p = 1; p <= kPlayers; ++p) {
      const uint32_t* k = p == 1 ? kKeysOne : kKeysTwo;
      PlayerState[p].config =
          PlayerConfig{0, 0, 0, 0, 5, k[0], k[1], k[2], k[3], {5, 0, {}, {}}, 1, 4, 1};
    }
    StartCpuMatch(SimOptions{});  // link 4, drop speed 1, and the match globals cleared
    PlayerState[1].cpuControlled = PlayerState[2].cpuControlled = 0;
  }
  // Several values as one text, separated by spaces, so one assertion checks them together.
  template <typename T>
  static std::string Part(const T& value) {
    if constexpr (std::is_arithmetic_v<T>)
      return std::to_string(+value);
    else if constexpr (std::is_convertible_v<T, std::string>)
      return value;
    else
      return std::string(value.chars, value.length);  // a FixedText
  }
  template <typename... T>
  static std::string Cat(const T&... parts) {
    std::string out;
    ((out += Part(parts) + " "), ...);
    out.pop_back();
    return out;
  }
  static constexpr char kCodes[] = ".k23456";  // by colour code: empty, black, colours
  // Fills p's rows, the last text at row `bottom`.
  static void Rows(int p, std::vector<const char*> rows, int bottom = kBottomRow) {
    for (size_t i = 0; i < rows.size(); ++i)
      for (int x = 0; x < kColumns; ++x)
        FieldCell(p, x, bottom + 1 - int(rows.size()) + int(i)).colour =
            strchr(kCodes, rows[i][x]) - kCodes;
  }
  // `count` rows from `top`, joined: the colours, or with `links` the link bits in hex.
  static std::string Row(int p, int top, int count = 1, bool links = false) {
    std::string text;
    for (int y = top; y < top + count; ++y)
      for (int x = 0; x < kColumns; ++x) {
        const Cell& cell = FieldCell(p, x, y);
        text += links ? ".123456789abcdef"[cell.links] : kCodes[cell.colour];
      }
    return text;
  }
  static long Beans(int p) {  // in rows -10..12
    const std::string rows = Row(p, kTopRow, kBottomRow - kTopRow + 1);
    return std::count_if(rows.begin(), rows.end(), [](char c) { return c != '.'; });
  }
  // Puts p's pair with pivot B at (column, row) and A where the orientation says.
  static void Pair(int p, uint32_t a, uint32_t b, int column, int row, uint32_t orientation = 0) {
    static constexpr int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};
    PlayerStateRecord& s = PlayerState[p];
    s.pairA = PairBean{column + kDx[orientation], row + kDy[orientation], a, 0};
    s.pairB = PairBean{column, row, b, 0};
    s.orientation = orientation;
  }
  // The action inputs p holds: L(eft), R(ight), T(urn), D(own).
  static std::string Held(int p) {
    const PlayerStateRecord& s = PlayerState[p];
    std::string held;
    for (auto [on, c] : {std::pair{s.inputLeft, 'L'},
                         {s.inputRight, 'R'},
                         {s.inputRotate, 'T'},
                         {s.inputDown, 'D'}})
      if (on) held += c;
    return held;
  }
  static void Ticks(int n) {
    for (int i = 0; i < n; ++i) MatchTick();
  }
};
