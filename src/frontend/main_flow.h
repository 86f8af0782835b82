// The program's start-up and main flow.
#pragma once
#include <cstdint>

extern uint8_t exitRequested;

// Start-up, intro, the loop of menu, match and after-game, the exit screen; ends with status 0.
[[noreturn]] void RunProgram();
