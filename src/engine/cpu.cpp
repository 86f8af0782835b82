#include "cpu.h"

#include "match_tick.h"
#include "player.h"
#include "random.h"

namespace {
constexpr uint32_t kUpright = 0;  // A on top of B
constexpr uint32_t kARight = 1;   // B lands left of the target column
constexpr uint32_t kALeft = 3;    // B lands right of the target column

void SetTarget(PlayerStateRecord& s, int column, uint32_t orientation) {
  s.cpuTargetColumn = static_cast<uint32_t>(column);
  s.cpuTargetOrientation = orientation;
}

// The soft-drop requests of strength 2. Action steps (t mod 4 = 0) use the flags of the input
// step two ticks before, where t mod 4 = 2; a request at t mod 4 = 0 would never reach one. To
// fall between strength 1 (one action step in five) and strength 3 (one in three), strength 2
// asks at every fourth of those input steps, so one action step in four drops the pair.
constexpr uint32_t kStrength2Period = 4 * kActionCadence;
constexpr uint32_t kStrength2Phase = kInputCadence;
}  // namespace

uint32_t TopColour(int p, int x) {
  if (FieldCell(p, x, 0).colour != kEmpty) return kEmpty;
  for (int y = 1; y <= kBottomRow; ++y) {
    const uint32_t colour = FieldCell(p, x, y).colour;
    if (colour != kEmpty) return colour;
  }
  return kEmpty;
}

void ChooseCpuTarget(int p) {
  PlayerStateRecord& s = PlayerState[p];
  const uint32_t a = s.pairA.colour;
  const uint32_t b = s.pairB.colour;
  uint32_t top[kColumns];
  for (int x = 0; x < kColumns; ++x) top[x] = TopColour(p, x);

  // 1. A pair of one colour goes upright onto the first column showing that colour.
  if (a == b)
    for (int x = 0; x < kColumns; ++x)
      if (top[x] == a) return SetTarget(s, x, kUpright);
  // 2. Both colours side by side on two neighbouring columns.
  for (int x = 0; x + 1 < kColumns; ++x) {
    if (top[x] == a && top[x + 1] == b) return SetTarget(s, x, kALeft);
    if (top[x] == b && top[x + 1] == a) return SetTarget(s, x + 1, kARight);
  }
  // 3. One colour matches next to an empty column, or two empty columns.
  for (int x = 0; x + 1 < kColumns; ++x) {
    if (top[x] == a && top[x + 1] == kEmpty) return SetTarget(s, x, kALeft);
    if (top[x] == b && top[x + 1] == kEmpty) return SetTarget(s, x + 1, kARight);
    if (top[x] == kEmpty && top[x + 1] == kEmpty) return SetTarget(s, x, kALeft);
  }
  // 4. Any column showing one of the colours.
  for (int x = 0; x + 1 < kColumns; ++x) {
    if (top[x] == a) return SetTarget(s, x, kALeft);
    if (top[x] == b) return SetTarget(s, x + 1, kARight);
  }
  // 5. Anywhere (B one column to the left of A).
  SetTarget(s, static_cast<int>(Random(kColumns - 1)) + 1, kARight);
}

bool CpuWantsDrop(uint32_t strength, uint32_t t) {
  switch (strength) {
    case 2:
      return t % kStrength2Period == kStrength2Phase;
    case 3:
      return t % 3 == 0;
    case 4:
      return t % 2 == 0;
    case 5:
      return true;
    default:  // strength 1, and any value outside 1..5 plays as strength 1
      return t % 5 == 0;
  }
}

void SetCpuInputs(int p) {
  PlayerStateRecord& s = PlayerState[p];
  const int32_t target = static_cast<int32_t>(s.cpuTargetColumn);
  if (s.cpuTargetOrientation > s.orientation)
    s.inputRotate = 1;
  else if (target < s.pairA.column)
    s.inputLeft = 1;
  else if (target > s.pairA.column)
    s.inputRight = 1;
  else if (CpuWantsDrop(s.config.cpuStrength, tickCount))
    s.inputDown = 1;
}
