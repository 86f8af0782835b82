// The backend of the real game: an SDL 1.2 window, its event queue and clock, and SDL_mixer.
#pragma once
#include "backend.h"

Backend& SdlBackend();
