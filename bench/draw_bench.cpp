// Costs of the drawing primitives every frame is made of.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform.h"

namespace {
std::vector<uint8_t> screen(kScreenBytes), back(kScreenBytes);

Sprite MakeSprite(int w, int h, std::vector<uint8_t>& store) {
  store.resize(w * h);
  for (int i = 0; i < w * h; ++i) store[i] = static_cast<uint8_t>(i % 3 == 0 ? 0 : 1 + i % 200);
  return Sprite{store.data(), w, h};
}

void BM_CopyWholeBuffer(benchmark::State& state) {
  for (auto _ : state) {
    CopyWords(back.data(), screen.data(), kScreenWords);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kScreenBytes);
}
BENCHMARK(BM_CopyWholeBuffer);

void BM_FillWholeBuffer(benchmark::State& state) {
  for (auto _ : state) {
    FillWords(screen.data(), kScreenWords, 0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillWholeBuffer);

void BM_DrawBean(benchmark::State& state) {
  std::vector<uint8_t> store;
  const Sprite bean = MakeSprite(33, 28, store);
  for (auto _ : state) {
    DrawSprite(screen.data(), 100, 100, bean);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawBean);

void BM_DrawSpriteOpaqueStrip(benchmark::State& state) {
  std::vector<uint8_t> store;
  const Sprite strip = MakeSprite(640, 100, store);
  for (auto _ : state) {
    DrawSpriteOpaque(screen.data(), 300, 150, strip);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawSpriteOpaqueStrip);

void BM_DrawSpriteScaled(benchmark::State& state) {
  std::vector<uint8_t> store;
  const Sprite picture = MakeSprite(274, 110, store);
  const uint32_t scale = static_cast<uint32_t>(state.range(0));
  for (auto _ : state) {
    DrawSpriteScaled(screen.data(), 320, 150, scale, scale, picture);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawSpriteScaled)->Arg(50)->Arg(100)->Arg(200);

void BM_DrawSpriteDotted(benchmark::State& state) {
  std::vector<uint8_t> store;
  const Sprite frame = MakeSprite(78, 48, store);
  const uint32_t scale = static_cast<uint32_t>(state.range(0));
  for (auto _ : state) {
    DrawSpriteDotted(screen.data(), 320, 329, scale, scale, frame);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawSpriteDotted)->Arg(200)->Arg(500);

void BM_DrawTextLine(benchmark::State& state) {
  std::vector<uint8_t> store;
  const Sprite glyph = MakeSprite(12, 13, store);
  for (auto& g : FontGlyphs[1]) g = glyph;
  for (auto _ : state) {
    DrawText(screen.data(), "maximum combo 12 hits", 320, 200, 1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawTextLine);
}  // namespace
