// The backend of the real game: an SDL 2 window, its event queue and clock, and SDL2_mixer.
#pragma once
#include "backend.h"

struct SdlWindowOptions {
  // The window's whole multiple of 640 x 400 (1..kMaxWindowScale); 0: the largest that fits the
  // usable desktop.
  int scale = 0;
};

// Takes effect when the window opens.
void SetSdlWindowOptions(const SdlWindowOptions& options);
Backend& SdlBackend();
