#include "main_flow.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "after_game.h"
#include "exit_screen.h"
#include "game_data.h"
#include "intro.h"
#include "load_all.h"
#include "main_menu.h"
#include "match_flow.h"
#include "platform.h"
#include "replay.h"

uint8_t exitRequested = 0;

uint64_t ClockSeed() {
  return static_cast<uint64_t>(time(nullptr)) ^ (static_cast<uint64_t>(clock()) << 32);
}

void RunProgram() {
  RunProgramSeeded(ClockSeed());
}

void StartUp(uint64_t seed) {
  // Only the configuration and high-score files are ever written.
  SeedRandom(seed);
  SoundAvailable = 0;
  MousePresent = Joypad1Present = Joypad2Present = 0;
  // Without video the program ends at once, saying why.
  if (!StartPlatform()) FatalError("cannot start video: %s", VideoFailure());
  MousePresent = ProbeMouse() ? 1 : 0;
  if (OpenAudio()) SoundAvailable = AllocateChannels(kMixChannels) ? 1 : 0;
  LoadAllData();
}

void MenuLoop() {
  exitRequested = 0;
  for (;;) {
    MainMenu();
    if (exitRequested) break;
    PlayRecordedMatch();
    AfterGameScreen();
    if (exitRequested) break;
  }
  ExitScreen(1);
  ExitProgram(0);
}

void RunProgramSeeded(uint64_t seed) {
  StartUp(seed);
  Intro();
  MenuLoop();
}

void RunReplayProgram(const char* file) {
  // The file is read before anything opens: a bad one costs one line and status 2.
  Replay replay;
  std::string error;
  if (!ReadReplayFile(file, replay, error)) {
    fprintf(stderr, "plonkix: %s: %s\n", file, error.c_str());
    ExitProgram(kBadReplayStatus);
  }
  // Neither the configuration nor the high-score file is read or written.
  SoundAvailable = 0;
  MousePresent = Joypad1Present = Joypad2Present = 0;
  if (!StartPlatform()) ExitProgram(0);
  if (OpenAudio()) SoundAvailable = AllocateChannels(kMixChannels) ? 1 : 0;
  LoadGameData(replay.animation);
  if (!OpenScreen()) FatalError("cannot open the 640 x 400 screen with 256 colours");
  const ReplayOutcome outcome = ShowReplay(replay);
  if (!outcome.reproduced)
    fprintf(stderr, "plonkix: %s: the match went differently: %s\n", file,
            outcome.difference.c_str());
  CloseAudio();
  ExitProgram(0);
}
