// The program's start-up and main flow.
#pragma once
#include <cstdint>

extern uint8_t exitRequested;

// Start-up, intro, the loop of menu, match and after-game, the exit screen; ends with status 0.
// The random generator is seeded from the clock, so every run draws differently.
[[noreturn]] void RunProgram();
// The same with a fixed seed, so that a run can be repeated (tests and tools).
[[noreturn]] void RunProgramSeeded(uint64_t seed);
