// The match's scoring rules. They live in the engine, not with the match flow, because the
// engine's settle step and tick call them and the libraries only depend downwards.
#include "scoring.h"

#include <cstdio>

#include "engine_sound.h"
#include "match_tick.h"
#include "player.h"

namespace {
constexpr uint8_t kExplosionVolume = 20;
constexpr uint8_t kChainVolume = 30;
constexpr uint8_t kCounterAttackVolume = 40;
constexpr int64_t kPointsPerBean = 500;
constexpr int64_t kGroupPointsOffset = 1500;  // a group of 3 is worth nothing
constexpr uint32_t kChainPointsFactor = 200;
constexpr uint32_t kComboPointsMask = 0xFFFF;  // the best combo keeps its points' low 16 bits
constexpr int kTextBuffer = 48;

constexpr FixedText<kGroupNameCapacity> Word(const char* text) {
  FixedText<kGroupNameCapacity> word{};
  while (word.length < kGroupNameCapacity && text[word.length] != 0) {
    word.chars[word.length] = text[word.length];
    ++word.length;
  }
  return word;
}

struct RollStep {
  int64_t fromDifference;
  int64_t step;
};
constexpr RollStep kRollSteps[] = {{10000, 1000}, {1000, 500}, {100, 50}, {10, 5}, {1, 1}};
}  // namespace

const FixedText<kGroupNameCapacity> GroupSizeNames[kGroupNames] = {
    Word("triple"), Word("quad"),    Word("super"),    Word("hyper"),   Word("brutal"),
    Word("master"), Word("awesome"), Word("blaster"),  Word("monster"), Word("king"),
    Word("killer"), Word("ultra"),   Word("ultimate"),
};

const FixedText<kGroupNameCapacity>& GroupSizeName(uint32_t size) {
  if (size < kSmallestNamedGroup) size = kSmallestNamedGroup;
  if (size > kLargestNamedGroup) size = kLargestNamedGroup;
  return GroupSizeNames[size - kSmallestNamedGroup];
}

void ScoreGroup(int p, int column, int row, uint32_t size) {
  PlayerStateRecord& s = PlayerState[p];
  PlayPlayerSound(p, kSoundExplosion, kExplosionVolume, kChannelExplosion);
  s.chainHits += 1;
  s.beansKilled += size;
  if (s.beansKilled / kBeansPerLevel > s.level - 1 && s.level < kLastLevel) {
    s.level += 1;
    AddMessage(p == 1 ? "inc(speed)...." : "....inc(speed)");
  }
  s.chainWeight += (size - 2) * s.chainHits;

  const FixedText<kGroupNameCapacity>& word = GroupSizeName(size);
  char text[kTextBuffer];
  if (p == 1)
    snprintf(text, sizeof text, "%.*s(%u)....", static_cast<int>(word.length), word.chars, size);
  else
    snprintf(text, sizeof text, "....%.*s(%u)", static_cast<int>(word.length), word.chars, size);
  AddMessage(text);

  const int64_t points = kPointsPerBean * size - kGroupPointsOffset;
  s.score += points;
  Burst& burst = BurstAt(p, column, row);
  FormatNumber(text, sizeof text, points);
  burst.popupText.Set(text);
  burst.popupTimer = 1;
}

void ScoreChain(int p) {
  PlayerStateRecord& s = PlayerState[p];
  if (s.chainHits < 2) return;
  const int sound = s.chainHits <= kLongestChainSound
                        ? kSoundChainBase + static_cast<int>(s.chainHits)
                        : kSoundLongChain;
  PlayPlayerSound(p, sound, kChainVolume, kChannelChain);
  s.chainTimer = 1;
  s.chainPicture = s.chainHits < kMostChainPicture ? s.chainHits : kMostChainPicture;
  const uint32_t points = kChainPointsFactor * s.chainHits * s.chainWeight;  // wraps at 32 bits
  s.score += points;
  char text[kTextBuffer];
  snprintf(text, sizeof text, "%u pts.", points);
  s.chainText.Set(text);
  if (s.chainHits > s.maxCombo) {
    s.maxCombo = static_cast<uint16_t>(s.chainHits);
    s.maxComboPoints = static_cast<uint16_t>(points & kComboPointsMask);
  }
}

void ScoreCounterAttack(int p) {
  PlayerStateRecord& s = PlayerState[p];
  s.score += kCounterAttackPoints;
  s.chainText.Set("20000 pts.");
  s.chainTimer = 1;
  s.chainPicture = kCounterAttackPicture;
  PlayPlayerSound(p, kSoundCounterAttack, kCounterAttackVolume, kChannelChain);
}

void RollUpScore(int p) {
  PlayerStateRecord& s = PlayerState[p];
  const int64_t difference = s.score - s.shownScore;
  for (const RollStep& r : kRollSteps) {
    if (difference >= r.fromDifference) {
      s.shownScore += r.step;
      return;
    }
  }
}
