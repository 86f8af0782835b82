// The program's one pseudo-random generator behind Random(n).
#pragma once
#include <cstdint>

void SeedRandom(uint64_t seed);
// A uniform integer 0..n-1 (0 when n is 0).
uint32_t Random(uint32_t n);
