// Sound effects on eight mixing channels, numbered 1..8 by the program.
#pragma once
#include <cstdint>

#include "backend.h"

constexpr int kSoundCount = 20;
constexpr int kMixChannels = 8;

extern uint8_t SoundAvailable;
extern SoundHandle Sounds[kSoundCount];

bool OpenAudio();
bool AllocateChannels(uint8_t count);
void LoadSound(const char* file, SoundHandle& handle);
// Plays once at the given volume (mixer volume 2 x volume) on channel 1..8; no effect without
// audio.
void PlaySound(SoundHandle handle, uint8_t volume, uint8_t channel);
void CloseAudio();
