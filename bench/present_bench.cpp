// Cost of presenting a frame in a real window. Needs a display: run it under Xvfb.
#include <benchmark/benchmark.h>

#include <vector>

#include "display.h"
#include "sdl_backend.h"

namespace {
std::vector<uint8_t> frames[2];
uint8_t colours[kPaletteBytes];

bool OpenWindow(benchmark::State& state) {
  static bool open = false;
  if (!open) {
    Backend& b = SdlBackend();
    if (!b.InitVideo() || !b.SetVideoMode(false)) {
      state.SkipWithError("no window (is DISPLAY set?)");
      return false;
    }
    for (int i = 0; i < kPaletteBytes; ++i) colours[i] = static_cast<uint8_t>(i * 5);
    b.SetColours(colours);
    for (int f = 0; f < 2; ++f) {
      frames[f].resize(kScreenBytes);
      for (int i = 0; i < kScreenBytes; ++i) frames[f][i] = static_cast<uint8_t>(i * 7 + f * 13);
    }
    open = true;
  }
  return true;
}

void BM_PresentNewPicture(benchmark::State& state) {
  if (!OpenWindow(state)) return;
  int f = 0;
  for (auto _ : state) SdlBackend().Present(frames[f ^= 1].data());
}
BENCHMARK(BM_PresentNewPicture)->UseRealTime();
}  // namespace
