// Replays: how fast a recorded match is re-simulated, and what recording costs per tick.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine.h"
#include "headless.h"
#include "match_flow.h"
#include "random.h"
#include "replay.h"

namespace {

// A machine that is never late and a player who never touches a key.
class InstantSource : public MatchInput {
 public:
  unsigned FrameTicks() override { return 1; }
  bool KeyDown() override { return false; }
  uint8_t Controls() override { return 0; }
  uint8_t Actions(int) override { return 0; }
};

// A human whose inputs change at every input step, on frames of one and two ticks in turn.
class BusySource : public MatchInput {
 public:
  unsigned FrameTicks() override { return 1 + (++frames_ & 1); }
  bool KeyDown() override { return false; }
  uint8_t Controls() override { return 0; }
  uint8_t Actions(int) override { return static_cast<uint8_t>(++reads_ * 7 % 16); }

 private:
  uint32_t frames_ = 0, reads_ = 0;
};

// Computer-versus-computer matches of middling strengths, recorded without drawing.
std::vector<Replay> RecordDemoMatches(int count) {
  std::vector<Replay> replays;
  InstantSource source;
  for (int m = 0; m < count; ++m) {
    SeedRandom(static_cast<uint64_t>(m) + 1);
    for (int p = 1; p <= kPlayers; ++p) {
      PlayerStateRecord& s = PlayerState[p];
      s.config.dropSpeed = 1;
      s.config.beansToLink = 4;
      s.config.cpuStrength = p == 1 ? 3 : 4;
      s.cpuControlled = 1;
      s.absent = 0;
    }
    ReplayRecorder recorder;
    recorder.Begin(source);
    {
      const MatchInputScope scope(recorder);
      PlayMatch(MatchRun{false, false});
    }
    recorder.Finish();
    replays.push_back(recorder.replay());
  }
  return replays;
}

uint64_t AllTicks(const Replay& r) {
  uint64_t ticks = 0;
  RunReader frames = MakeRunReader(r.frameRuns);
  for (uint32_t v; frames.Next(v);) ticks += v & kFrameTicksMask;
  return ticks;
}

void ReplayResimulation(benchmark::State& state) {
  HeadlessSession session;
  const std::vector<Replay> replays = RecordDemoMatches(20);
  uint64_t ticks = 0, playTicks = 0, matches = 0;
  bool allReproduced = true;
  for (auto _ : state) {
    const Replay& r = replays[matches % replays.size()];
    const ReplayOutcome outcome = CheckReplay(r);
    allReproduced = allReproduced && outcome.reproduced;
    ticks += AllTicks(r);
    playTicks += r.playTicks;
    ++matches;
  }
  if (!allReproduced) state.SkipWithError("a replay did not reproduce");
  state.counters["ticks/s"] =
      benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
  state.counters["play ticks/s"] =
      benchmark::Counter(static_cast<double>(playTicks), benchmark::Counter::kIsRate);
  state.counters["matches/s"] =
      benchmark::Counter(static_cast<double>(matches), benchmark::Counter::kIsRate);
}
BENCHMARK(ReplayResimulation)->MinTime(3.0)->Unit(benchmark::kMillisecond);

// One tick of play as the recorder sees it: a frame of one or two ticks, the pause inputs, both
// humans' actions at every other tick, a hash every 70 ticks.
void RecorderPerTick(benchmark::State& state) {
  HeadlessSession session;
  ResetMatch();
  BusySource source;
  ReplayRecorder recorder;
  recorder.Begin(source);
  uint64_t ticks = 0, inRecording = 0;
  unsigned left = 0;
  for (auto _ : state) {
    if (left == 0) left = recorder.FrameTicks();
    --left;
    recorder.Controls();
    if (ticks % 2 == 0) {
      recorder.Actions(1);
      recorder.Actions(2);
    }
    ++ticks;
    // A replay holds about 16 hours; start a new one long before that.
    if (++inRecording == (1u << 20)) {
      recorder.Finish();
      recorder.Begin(source);
      inRecording = 0;
      left = 0;
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(ticks));
}
BENCHMARK(RecorderPerTick)->MinTime(2.0);

}  // namespace
