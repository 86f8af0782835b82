// The computer player: a target from the top colours of the columns, then one action at a time.
#pragma once
#include <cstdint>

constexpr uint32_t kStrongestCpu = 5;

// The colour of the highest bean of column x in rows 1..12; 0 when the column is empty or
// already holds a bean in row 0.
uint32_t TopColour(int p, int x);

// Picks the column bean A heads for and the orientation to turn to, for the waiting pair.
void ChooseCpuTarget(int p);

// The computer's input rule: at most one action flag per input step.
void SetCpuInputs(int p);

// Whether a computer of this strength asks for a soft drop at the input step of tick t.
bool CpuWantsDrop(uint32_t strength, uint32_t t);
