#include "player.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

#include "random.h"

PlayerStateRecord PlayerState[kPlayers + 1];
BeanTally BeanTallies[kPlayers + 1];

namespace {
constexpr uint32_t kSharedCpuStrength = 1;
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

namespace {
// FNV-1a over 32-bit values rather than bytes: each value in turn is xored in and multiplied by
// the FNV prime. Values, not memory, so padding and byte order never enter.
constexpr uint64_t kHashStart = 0xCBF29CE484222325ull;
constexpr uint64_t kHashPrime = 0x100000001B3ull;

struct StateHash {
  uint64_t h = kHashStart;
  void Add(uint32_t v) { h = (h ^ v) * kHashPrime; }
  void Add(int32_t v) { Add(static_cast<uint32_t>(v)); }
  void Add(int64_t v) {
    Add(static_cast<uint32_t>(static_cast<uint64_t>(v)));
    Add(static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32));
  }
  // A text as its length (cut to the capacity) and that many characters.
  void AddText(uint32_t length, uint32_t capacity, const char* chars) {
    const uint32_t n = length < capacity ? length : capacity;
    Add(n);
    for (uint32_t i = 0; i < n; ++i) Add(static_cast<uint32_t>(static_cast<uint8_t>(chars[i])));
  }
  template <uint32_t Capacity>
  void AddText(const FixedText<Capacity>& text) {
    AddText(text.length, Capacity, text.chars);
  }
  void AddPair(const PairBean& b) {
    Add(b.column);
    Add(b.row);
    Add(b.colour);
    Add(b.phase);
  }
};

void HashPlayer(StateHash& hash, const PlayerStateRecord& s) {
  // Of the options only what the rules read and everyone sees; keys and devices stay local.
  hash.Add(s.config.dropSpeed);
  hash.Add(s.config.beansToLink);
  hash.Add(s.config.cpuStrength);
  hash.AddText(s.config.name.length, kNameCapacity, s.config.name.chars);
  hash.Add(s.cpuTargetColumn);
  hash.Add(s.cpuTargetOrientation);
  for (uint8_t v : {s.cpuControlled, s.absent, s.inputLeft, s.inputRight, s.inputRotate,
                    s.inputDown, s.resolving, s.gameOver})
    hash.Add(static_cast<uint32_t>(v));
  hash.Add(s.shownScore);
  hash.Add(s.score);
  for (uint32_t v :
       {s.fallProgress, s.rotateCooldown, s.orientation, s.level,
        static_cast<uint32_t>(s.slideOffset), s.incomingBlackBeans, s.chainHits, s.chainWeight,
        s.chainPicture, s.chainTimer, s.nextColourA, s.nextColourB, s.beansKilled,
        static_cast<uint32_t>(s.maxCombo), static_cast<uint32_t>(s.maxComboPoints)})
    hash.Add(v);
  hash.AddText(s.chainText);
  for (uint32_t count : s.colourCounts) hash.Add(count);
  hash.AddPair(s.pairA);
  hash.AddPair(s.pairB);
  for (const auto& column : s.field.cells) {
    for (const Cell& cell : column) {
      hash.Add(cell.colour);
      hash.Add(cell.links);
      hash.Add(cell.phase);
    }
  }
  for (const auto& column : s.bursts) {
    for (const Burst& burst : column) {
      hash.Add(burst.colour);
      hash.Add(burst.burstTimer);
      hash.Add(burst.popupTimer);
      hash.AddText(burst.popupText);
    }
  }
}
}  // namespace

PlayerConfig SharedOptions(const PlayerConfig& config) {
  PlayerConfig shared{};
  shared.name.capacity = kNameCapacity;
  shared.name.length = config.name.length < kNameCapacity ? config.name.length : kNameCapacity;
  memcpy(shared.name.chars, config.name.chars, shared.name.length);
  shared.dropSpeed = config.dropSpeed;
  shared.beansToLink = config.beansToLink;
  shared.cpuStrength = kSharedCpuStrength;
  return shared;
}

uint64_t HashPlayerStates() {
  StateHash hash;
  for (int p = 1; p <= kPlayers; ++p) HashPlayer(hash, PlayerState[p]);
  return hash.h;
}
