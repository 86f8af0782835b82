#include "main_flow.h"

#include <ctime>

#include "platform.h"

uint8_t exitRequested = 0;

void RunProgram() {
  // 1. Only the configuration and high-score files are ever written; seed from the clock.
  SeedRandom(static_cast<uint64_t>(time(nullptr)) ^ (static_cast<uint64_t>(clock()) << 32));
  // 2.
  SoundAvailable = 0;
  MousePresent = Joypad1Present = Joypad2Present = 0;
  // 3. Without video the program ends at once, silently.
  if (!StartPlatform()) ExitProgram(0);
  // 4.
  MousePresent = ProbeMouse() ? 1 : 0;
  // 5.
  if (OpenAudio()) SoundAvailable = AllocateChannels(kMixChannels) ? 1 : 0;
  // The loader and the screens are connected as they land.
  FatalError("the start-up loader is not built yet");
}
