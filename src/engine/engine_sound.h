// The sounds the engine plays and the mixing channels each player owns during a match.
#pragma once
#include <cstdint>

#include "sound.h"

// Sound numbers (data/plonkix.wNN).
constexpr int kSoundRotate = 1;
constexpr int kSoundLanding = 2;
constexpr int kSoundExplosion = 3;
constexpr int kSoundChainBase = 2;          // a chain of n hits plays sound 2 + n ...
constexpr uint32_t kLongestChainSound = 7;  // ... up to 7 hits,
constexpr int kSoundLongChain = 10;         // longer chains play sound 10
constexpr int kSoundCounterAttack = 11;
constexpr int kSoundTopOut = 12;

// Each player owns four channels: 4(p - 1) + k.
constexpr int kChannelChain = 1;  // chains, the counter-attack bonus and the top-out
constexpr int kChannelExplosion = 2;
constexpr int kChannelLanding = 3;
constexpr int kChannelRotation = 4;
constexpr int kChannelsPerPlayer = 4;

inline void PlayPlayerSound(int p, int sound, uint8_t volume, int channelKind) {
  PlaySound(Sounds[sound], volume,
            static_cast<uint8_t>(kChannelsPerPlayer * (p - 1) + channelKind));
}
