// The program's start-up and main flow.
#pragma once
#include <cstdint>

extern uint8_t exitRequested;

// Start-up, intro, the loop of menu, match and after-game, the exit screen; ends with status 0.
// The random generator is seeded from the clock, so every run draws differently.
[[noreturn]] void RunProgram();
// The same with a fixed seed, so that a run can be repeated (tests and tools).
[[noreturn]] void RunProgramSeeded(uint64_t seed);

// The pieces of RunProgram: a seed that differs from run to run; start-up up to the loaded data
// (no screen yet); the loop of menu, match and after-game, then the exit screen.
uint64_t ClockSeed();
void StartUp(uint64_t seed);
[[noreturn]] void MenuLoop();

// A bad replay file ends the program with this status and one line naming the file.
constexpr int kBadReplayStatus = 2;

// Shows the match a replay file holds in the window, as it was played, and ends with status 0.
// Needs neither the configuration nor the high-score file and writes no file.
[[noreturn]] void RunReplayProgram(const char* file);
