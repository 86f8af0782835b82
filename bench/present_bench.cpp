// Cost of showing a frame in the real window: the picture scaled to the window and handed to the
// window system. Needs a display; the window opens at the largest whole multiple that fits it, so
// the screen size chooses the scale:
//   Xvfb -noreset -screen 0 640x400x24 ...    -> 1x      1920x1200x24 -> 3x
// SDL_RENDER_DRIVER=opengl (or software) forces the renderer path instead of the window surface.
// Run from the game directory (build/game): the demo's frames are recorded from the real game
// first, under the headless backend.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "display.h"
#include "headless.h"
#include "load_all.h"
#include "match_flow.h"
#include "match_tick.h"
#include "player.h"
#include "sdl_backend.h"
#include "ticks.h"

namespace {
constexpr int kDemoFrames = 300;  // about four seconds of play

std::vector<std::vector<uint8_t>> demoFrames;
uint8_t demoPalette[kPaletteBytes];
struct EnoughFrames {};

// The computer demo's frames once play has started, as the match presents them.
void RecordDemo() {
  HeadlessSession session;
  LoadAllData();
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerState[p].cpuControlled = 1;
    PlayerState[p].absent = 0;
  }
  session->onPresent = [](HeadlessBackend& b) {
    if (!TickHandlerActive || TickHandler != MatchTick) return;
    demoFrames.push_back(b.lastFrame);
    memcpy(demoPalette, b.colours, kPaletteBytes);
    if (demoFrames.size() == kDemoFrames) throw EnoughFrames{};
  };
  try {
    PlayMatch();
  } catch (const EnoughFrames&) {
  }
}

bool Ready(benchmark::State& state) {
  static int ready = -1;
  if (ready < 0) {
    ready = 0;
    if (!std::filesystem::exists("data/plonkix.p23")) {
      state.SkipWithError("run from the game directory (build/game) so data/ is found");
      return false;
    }
    RecordDemo();
    Backend& b = SdlBackend();
    SetBackend(&b);
    if (!b.InitVideo() || !b.SetVideoMode(false)) {
      state.SkipWithError(b.VideoError());
      return false;
    }
    b.SetColours(demoPalette);
    ready = 1;
  }
  if (!ready) state.SkipWithError("no window");
  return ready == 1;
}

// The demo as it plays: only what changed from one frame to the next is converted.
void BM_PresentDemoFrame(benchmark::State& state) {
  if (!Ready(state)) return;
  size_t f = 0;
  for (auto _ : state) {
    SdlBackend().Present(demoFrames[f].data());
    if (++f == demoFrames.size()) f = 0;
  }
}
BENCHMARK(BM_PresentDemoFrame);

// The worst case: every pixel differs from the last frame.
void BM_PresentNewPicture(benchmark::State& state) {
  if (!Ready(state)) return;
  std::vector<uint8_t> frames[2] = {demoFrames.front(), demoFrames.front()};
  for (uint8_t& pixel : frames[1]) pixel = static_cast<uint8_t>(pixel + 1);
  int f = 0;
  for (auto _ : state) SdlBackend().Present(frames[f ^= 1].data());
}
BENCHMARK(BM_PresentNewPicture);

// One fade step: new colours on the frame shown last, so the whole picture is converted again.
void BM_FadeStep(benchmark::State& state) {
  if (!Ready(state)) return;
  uint8_t palette[kPaletteBytes];
  memcpy(palette, demoPalette, kPaletteBytes);
  int step = 0;
  for (auto _ : state) {
    if (++step == kFadeSteps) {
      step = 0;
      memcpy(palette, demoPalette, kPaletteBytes);
    }
    FadePaletteStep(2, palette);  // through the platform, as the fades call it
  }
}
BENCHMARK(BM_FadeStep);
}  // namespace
