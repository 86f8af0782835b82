#include "sound.h"

uint8_t SoundAvailable = 0;
SoundHandle Sounds[kSoundCount];

bool OpenAudio() {
  return CurrentBackend().OpenAudio();
}

bool AllocateChannels(uint8_t count) {
  return CurrentBackend().AllocateChannels(count) == count;
}

void LoadSound(const char* file, SoundHandle& handle) {
  handle = CurrentBackend().LoadSound(file);
}

void PlaySound(SoundHandle handle, uint8_t volume, uint8_t channel) {
  // The mixer refuses an empty handle and a channel that does not exist.
  if (!handle || channel < 1 || channel > kMixChannels) return;
  CurrentBackend().PlaySound(handle, 2 * volume, channel - 1);
}

void CloseAudio() {
  Backend& backend = CurrentBackend();
  if (backend.AudioRunning()) backend.CloseAudio();
}
