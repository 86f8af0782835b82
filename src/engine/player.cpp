#include "player.h"

#include <cstddef>
#include <cstring>

#include "random.h"

PlayerStateRecord PlayerState[kPlayers + 1];
BeanTally BeanTallies[kPlayers + 1];

namespace {
constexpr uint32_t kMinimumLink = 3;  // smaller groups would include lone beans
}  // namespace

uint32_t LinkThreshold(int p) {
  const uint32_t configured = PlayerState[p].config.beansToLink;
  return configured < kMinimumLink ? kMinimumLink : configured;
}

void ResetPlayerState(int p) {
  PlayerStateRecord& s = PlayerState[p];
  s.cpuTargetColumn = 0;
  s.cpuTargetOrientation = 0;
  // Wipe the play state: everything from the input flags to the end of the record.
  constexpr size_t kPlayStart = offsetof(PlayerStateRecord, inputLeft);
  memset(reinterpret_cast<char*>(&s) + kPlayStart, 0, sizeof s - kPlayStart);
  BeanTallies[p] = BeanTally{};
  s.level = kFirstLevel;
  s.nextColourA = Random(kBeanColours) + kFirstBeanColour;
  s.nextColourB = Random(kBeanColours) + kFirstBeanColour;
  s.pairA.colour = Random(kBeanColours) + kFirstBeanColour;
  s.pairA.phase = Random(kNewPhaseRange);
  s.pairB.colour = Random(kBeanColours) + kFirstBeanColour;
  s.pairB.phase = Random(kNewPhaseRange);
  s.pairA.column = kSpawnColumn;
  s.pairA.row = kSpawnRowA;
  s.pairB.column = kSpawnColumn;
  s.pairB.row = kSpawnRowB;
}
