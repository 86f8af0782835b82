#include "main_flow.h"

#include <ctime>

#include "after_game.h"
#include "exit_screen.h"
#include "intro.h"
#include "load_all.h"
#include "main_menu.h"
#include "match_flow.h"
#include "platform.h"

uint8_t exitRequested = 0;

void RunProgram() {
  RunProgramSeeded(static_cast<uint64_t>(time(nullptr)) ^ (static_cast<uint64_t>(clock()) << 32));
}

void RunProgramSeeded(uint64_t seed) {
  // Only the configuration and high-score files are ever written.
  SeedRandom(seed);
  SoundAvailable = 0;
  MousePresent = Joypad1Present = Joypad2Present = 0;
  // Without video the program ends at once, saying why.
  if (!StartPlatform()) FatalError("cannot start video: %s", VideoFailure());
  MousePresent = ProbeMouse() ? 1 : 0;
  if (OpenAudio()) SoundAvailable = AllocateChannels(kMixChannels) ? 1 : 0;
  LoadAllData();
  Intro();

  exitRequested = 0;
  for (;;) {
    MainMenu();
    if (exitRequested) break;
    PlayMatch();
    AfterGameScreen();
    if (exitRequested) break;
  }
  ExitScreen(1);
  ExitProgram(0);
}
