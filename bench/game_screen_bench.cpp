// The most expensive game frame: both fields full of linked beans, every burst at its largest
// dotted scale with a ten-character popup over it, both chain displays dissolving, the pause
// question, warnings, full colour bars and message log. Composing it is the copy of the
// background plus the status panel plus the game screen.
//
// Run from the game directory (build/game) to draw the generated art; elsewhere the sprites are
// synthetic ones of the same sizes with every pixel opaque.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "engine.h"
#include "game_data.h"
#include "game_screen.h"
#include "headless.h"
#include "platform.h"
#include "random.h"

namespace {

std::vector<std::vector<uint8_t>> syntheticPixels;

Sprite Synthetic(int width, int height, uint8_t fill) {
  syntheticPixels.emplace_back(static_cast<size_t>(width) * height, fill);
  return Sprite{syntheticPixels.back().data(), width, height};
}

void MakeSyntheticSprites() {
  AllocateScreenBuffers();
  for (int c = 1; c <= 6; ++c) {
    const int count = c == kBlackBean ? kBlackBeanSprites : kBeanSpritesPerColour;
    for (int n = 0; n < count; ++n) BeanSprites[c][n] = Synthetic(33, 28, 100 + c);
  }
  static constexpr int kGlyphW[3] = {19, 12, 12}, kGlyphH[3] = {16, 13, 19};
  for (int f = 0; f < 3; ++f)
    for (int g = 0; g < kGlyphsPerFont; ++g)
      FontGlyphs[f][g] = Synthetic(kGlyphW[f], kGlyphH[f], 240);
  static constexpr int kChainW[9] = {200, 236, 230, 210, 169, 199, 200, 237, 235};
  static constexpr int kChainH[9] = {50, 40, 34, 40, 40, 41, 41, 40, 41};
  for (int k = 0; k < kChainPictures; ++k) ChainPictures[k] = Synthetic(kChainW[k], kChainH[k], 70);
  FrameTop = FrameTopMirror = FrameBottom = FrameBottomMirror = Synthetic(199, 18, 60);
  FrameSide = FrameSideMirror = Synthetic(14, 374, 61);
  for (auto& frame : AnimFrames) frame = Synthetic(kAnimWidth, kAnimHeight, 90).pixels;
}

void SetUpWorstFrame() {
  SeedRandom(1);
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerStateRecord& s = PlayerState[p];
    s.config.dropSpeed = 2;
    s.config.beansToLink = 4;
    s.absent = 0;
    ResetPlayerState(p);
    s.shownScore = 9876543210;
    s.level = 13;
    s.incomingBlackBeans = 123456;
    s.gameOver = 1;
    s.chainPicture = 8;
    s.chainTimer = 300;
    s.chainText.Set("123456 pts");
    s.pairA.row = 5;
    s.pairB.row = 6;
    for (uint32_t& count : s.colourCounts) count = kColourCountCap;
    for (int x = 0; x < kColumns; ++x)
      for (int y = 0; y <= kBottomRow; ++y) {
        FieldCell(p, x, y) = Cell{2 + static_cast<uint32_t>((x + y) % 5), 15, 80};
        Burst& b = BurstAt(p, x, y);
        b.colour = 2 + static_cast<uint32_t>(x % 5);
        b.burstTimer = kBurstTimerEnd - 1;
        b.popupTimer = 1 + static_cast<uint32_t>(y);
        b.popupText.Set("1234567890");
      }
  }
  ClearMessageLog();
  for (int k = 0; k < kMessageLines; ++k) AddMessage("....ultimate(78)..");
  fpsText.Set("71");
  paused = 1;
  tickCount = 0;  // the pause question and the danger warnings both showing
  spinCounter = 39;
}

void WorstGameFrame(benchmark::State& state) {
  HeadlessSession session;
  if (std::filesystem::exists("data/plonkix.p00")) {
    LoadGameData();
    state.SetLabel("generated art");
  } else {
    MakeSyntheticSprites();
    state.SetLabel("synthetic opaque sprites");
  }
  FillWords(BackBuffer, kScreenWords, 7);
  SetUpWorstFrame();
  for (auto _ : state) {
    CopyWords(BackBuffer, FrameBuffer, kScreenWords);
    DrawStatusPanel();
    DrawGameScreen();
    benchmark::DoNotOptimize(FrameBuffer);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(WorstGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
