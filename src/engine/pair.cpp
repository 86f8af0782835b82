#include "pair.h"

#include <cstdint>
#include <utility>

#include "engine_sound.h"
#include "player.h"
#include "random.h"
#include "settle.h"

namespace {
constexpr uint8_t kRotateVolume = 5;
constexpr uint8_t kLandingVolume = 15;
constexpr uint8_t kTopOutVolume = 30;
constexpr uint32_t kOrientations = 4;

// Per orientation: the shift the whole pair must be able to make for the turn, and how bean A
// moves when it succeeds (into the next orientation, clockwise on screen).
struct Turn {
  int testColumn, testRow;
  int moveColumn, moveRow;
};
constexpr Turn kTurns[kOrientations] = {
    {+1, 0, +1, +1},  // 0 above -> 1 right
    {0, +1, -1, +1},  // 1 right -> 2 below
    {-1, 0, -1, -1},  // 2 below -> 3 left
    {0, -1, +1, -1},  // 3 left  -> 0 above
};

bool BeanCanMove(int p, const PairBean& bean, int dColumn, int dRow) {
  const int column = bean.column + dColumn;
  const int row = bean.row + dRow;
  if (column < 0 || column >= kColumns || row > kBottomRow || row < kTopRow) return false;
  return FieldCell(p, column, row).colour == kEmpty;
}

void ShiftPair(PlayerStateRecord& s, int dColumn, int dRow) {
  s.pairA.column += dColumn;
  s.pairA.row += dRow;
  s.pairB.column += dColumn;
  s.pairB.row += dRow;
}

void Rotate(int p) {
  PlayerStateRecord& s = PlayerState[p];
  PlayPlayerSound(p, kSoundRotate, kRotateVolume, kChannelRotation);
  s.rotateCooldown = kRotateCooldown;
  const Turn& turn = kTurns[s.orientation % kOrientations];
  if (CanPairMove(p, turn.testColumn, turn.testRow)) {
    s.pairA.column += turn.moveColumn;
    s.pairA.row += turn.moveRow;
    s.orientation = (s.orientation + 1) % kOrientations;
  } else {
    // No room to turn: the beans trade colours instead.
    std::swap(s.pairA.colour, s.pairB.colour);
  }
}

// Writes a pair bean into the field. The falling pair is not in the field, so a loose bean may
// have fallen into its cell; the pair bean then goes to the lowest empty cell above it and the
// field bean stays. The bean's row becomes the row it was written to.
void WriteBean(int p, PairBean& bean) {
  int row = bean.row;
  while (row > kTopRow && FieldCell(p, bean.column, row).colour != kEmpty) --row;
  Cell& cell = FieldCell(p, bean.column, row);
  // Every bean that fell into the pair's cells emptied the column's top cell, so there is room;
  // the simulator's check fails should a landing ever replace a bean.
  if (cell.colour != kEmpty) ++BeanTallies[p].beansOverwrittenByLanding;
  cell.colour = bean.colour;
  bean.row = row;
  ++BeanTallies[p].beansLanded;
}
}  // namespace

bool CanPairMove(int p, int dColumn, int dRow) {
  const PlayerStateRecord& s = PlayerState[p];
  return BeanCanMove(p, s.pairA, dColumn, dRow) && BeanCanMove(p, s.pairB, dColumn, dRow);
}

void ApplyPlayerActions() {
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerStateRecord& s = PlayerState[p];
    if (s.resolving || s.absent) continue;
    if (s.slideOffset == 0) {
      if (s.inputLeft && CanPairMove(p, -1, 0)) {
        ShiftPair(s, -1, 0);
        s.slideOffset = kSlideDistance;
      }
      if (s.inputRight && CanPairMove(p, +1, 0)) {
        ShiftPair(s, +1, 0);
        s.slideOffset = -kSlideDistance;
      }
    }
    if (s.inputRotate && s.rotateCooldown == 0) Rotate(p);
    if (s.inputDown) {
      s.score += kSoftDropPoints;
      if (CanPairMove(p, 0, +1))
        ShiftPair(s, 0, +1);
      else
        LandPair(p);
    }
  }
}

void PairGravity(int p) {
  PlayerStateRecord& s = PlayerState[p];
  if (!CanPairMove(p, 0, +1)) {
    LandPair(p);
    return;
  }
  s.fallProgress += s.level * s.config.dropSpeed;
  if (s.fallProgress > kFallStepPixels) {
    ShiftPair(s, 0, +1);
    s.fallProgress = 0;  // the excess is dropped
  }
}

void LandPair(int p) {
  PlayerStateRecord& s = PlayerState[p];
  PlayPlayerSound(p, kSoundLanding, kLandingVolume, kChannelLanding);
  WriteBean(p, s.pairA);
  WriteBean(p, s.pairB);
  FieldCell(p, s.pairA.column, s.pairA.row).phase = Random(kNewPhaseRange);
  FieldCell(p, s.pairB.column, s.pairB.row).phase = Random(kNewPhaseRange);
  LinkCell(p, s.pairA.column, s.pairA.row);
  LinkCell(p, s.pairB.column, s.pairB.row);

  s.pairA.colour = s.nextColourA;
  s.pairB.colour = s.nextColourB;
  s.orientation = 0;
  s.pairA.column = kSpawnColumn;
  s.pairA.row = kSpawnRowA;
  s.pairB.column = kSpawnColumn;
  s.pairB.row = kSpawnRowB;
  s.pairA.phase = Random(kNewPhaseRange);
  s.pairB.phase = Random(kNewPhaseRange);
  s.nextColourA = Random(kBeanColours) + kFirstBeanColour;
  s.nextColourB = Random(kBeanColours) + kFirstBeanColour;
  s.resolving = 1;
}

void CheckTopOut(int p) {
  if (FieldCell(p, kSpawnColumn, 0).colour == kEmpty) return;
  PlayerState[p].gameOver = 1;
  PlayPlayerSound(p, kSoundTopOut, kTopOutVolume, kChannelChain);
}
