// The program's one pseudo-random generator behind Random(n).
#pragma once
#include <cstdint>

constexpr int kRandomStateWords = 4;

void SeedRandom(uint64_t seed);
// The generator's whole state: what a replay keeps so that the same draws follow.
void GetRandomState(uint64_t state[kRandomStateWords]);
void SetRandomState(const uint64_t state[kRandomStateWords]);
// A uniform integer 0..n-1 (0 when n is 0).
uint32_t Random(uint32_t n);
