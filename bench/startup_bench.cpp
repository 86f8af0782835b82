// Start-up cost: the whole loader over the generated data set (pictures, sprites, fonts, one
// animation, the sound files' names, options and high scores), under the headless backend.
// Run from the game directory (build/game); elsewhere the benchmark reports an error.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "headless.h"
#include "load_all.h"
#include "sound.h"

namespace {
void BM_LoadAllData(benchmark::State& state) {
  if (!std::filesystem::exists("data/plonkix.p23")) {
    state.SkipWithError("run from the game directory (build/game) so data/ is found");
    return;
  }
  HeadlessSession session;
  SoundAvailable = 1;  // the sound files are opened as well
  for (auto _ : state) LoadAllData();
}
BENCHMARK(BM_LoadAllData)->Unit(benchmark::kMillisecond);
}  // namespace
