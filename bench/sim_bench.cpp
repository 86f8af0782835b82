// Speed of the headless simulator: computer-versus-computer matches through the match tick.
#include <benchmark/benchmark.h>

#include "engine.h"
#include "headless.h"
#include "random.h"

namespace {
// Both players as computers of middling strength, with the match globals as at the start of play.
void StartDemoMatch() {
  tickCount = frameCount = spinCounter = messageTimer = 0;
  paused = 0;
  ClearMessageLog();
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerStateRecord& s = PlayerState[p];
    s.config.dropSpeed = 1;
    s.config.beansToLink = 4;
    s.config.cpuStrength = p == 1 ? 3 : 4;
    s.cpuControlled = 1;
    s.absent = 0;
    ResetPlayerState(p);
  }
}

void SimulatorTicks(benchmark::State& state) {
  HeadlessSession session;
  for (int n = 0; n < kSoundCount; ++n) Sounds[n] = session->FakeSound(n);
  SeedRandom(1);
  StartDemoMatch();
  uint64_t ticks = 0, matches = 0;
  for (auto _ : state) {
    MatchTick();
    ++ticks;
    if (PlayerState[1].gameOver || PlayerState[2].gameOver) {
      ++matches;
      session->sounds.clear();
      StartDemoMatch();
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(ticks));
  state.counters["ticks/s"] =
      benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
  state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(SimulatorTicks)->MinTime(2.0);
}  // namespace
