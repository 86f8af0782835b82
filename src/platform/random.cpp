#include "random.h"

namespace {
// xoshiro256** seeded through splitmix64: fast, small, and good enough for bean colours.
uint64_t state[kRandomStateWords] = {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull,
                                     0x94D049BB133111EBull, 1};

uint64_t SplitMix(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint64_t Rotl(uint64_t x, int k) {
  return (x << k) | (x >> (64 - k));
}

uint64_t Next() {
  const uint64_t result = Rotl(state[1] * 5, 7) * 9;
  const uint64_t t = state[1] << 17;
  state[2] ^= state[0];
  state[3] ^= state[1];
  state[1] ^= state[2];
  state[0] ^= state[3];
  state[2] ^= t;
  state[3] = Rotl(state[3], 45);
  return result;
}
}  // namespace

void SeedRandom(uint64_t seed) {
  for (auto& s : state) s = SplitMix(seed);
}

void GetRandomState(uint64_t out[kRandomStateWords]) {
  for (int i = 0; i < kRandomStateWords; ++i) out[i] = state[i];
}

void SetRandomState(const uint64_t in[kRandomStateWords]) {
  for (int i = 0; i < kRandomStateWords; ++i) state[i] = in[i];
}

uint32_t Random(uint32_t n) {
  if (n == 0) return 0;
  // Rejection sampling keeps every value equally likely.
  const uint64_t limit = UINT64_MAX - UINT64_MAX % n;
  uint64_t x;
  do {
    x = Next();
  } while (x >= limit);
  return static_cast<uint32_t>(x % n);
}
