// The falling pair: moving, turning, soft-dropping, gravity, landing and the top-out check.
#pragma once
#include <cstdint>

// Horizontal slide animation after a move, brought back to 0 by one per tick.
constexpr int32_t kSlideDistance = 16;
constexpr uint32_t kRotateCooldown = 10;
constexpr uint32_t kSoftDropPoints = 5;
// The pair drops one row when its fall progress passes this many pixels (cells are 28 high).
constexpr uint32_t kFallStepPixels = 26;

// True when both beans could stand one (dColumn, dRow) further: inside columns 0..5, not below
// row 12, on empty cells. Hidden rows are legal.
bool CanPairMove(int p, int dColumn, int dRow);

// The action step for both players: moves, rotation (or the colour swap), soft drop.
void ApplyPlayerActions();

// The gravity step of one player's pair: fall progress by level x drop speed, or land.
void PairGravity(int p);

// Writes the pair into the field, links it, spawns the next pair and waits for the settle.
void LandPair(int p);

// Loss check: a bean in the top visible cell of the spawn column ends the game for p.
void CheckTopOut(int p);
