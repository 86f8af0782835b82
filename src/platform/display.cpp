#include "display.h"

#include <cstdlib>
#include <cstring>

#include "backend.h"
#include "fatal.h"
#include "keyboard.h"
#include "ticks.h"

uint8_t* FrameBuffer = nullptr;
uint8_t* BackBuffer = nullptr;
uint8_t Palette[kPaletteBytes];
uint8_t FadePalette[kPaletteBytes];
uint8_t Fullscreen = 0;
uint8_t MouseCaptured = 0;

namespace {
// The pointer shows in the window and not in full screen, unless it is captured.
void ApplyPointerRule(Backend& backend) {
  backend.ShowCursor(Fullscreen == 0 && MouseCaptured == 0);
  backend.CapturePointer(MouseCaptured != 0);
}
}  // namespace

bool StartPlatform() {
  Backend& backend = CurrentBackend();
  const bool started = backend.InitVideo();
  backend.SetCaption("PLONKIX");
  LoadScanMap("data/scanmap");
  return started;
}

bool OpenScreen() {
  Backend& backend = CurrentBackend();
  if (!backend.SetVideoMode(Fullscreen != 0)) return false;
  ApplyPointerRule(backend);
  return true;
}

const char* VideoFailure() {
  return CurrentBackend().VideoError();
}

void PresentFrame(const uint8_t* pixels) {
  CurrentBackend().Present(pixels);
}

void SetPalette(const uint8_t* palette) {
  CurrentBackend().SetColours(palette);
}

void FadePaletteStep(uint8_t amount, uint8_t* palette) {
  for (int i = 0; i < kPaletteBytes; ++i)
    palette[i] = palette[i] > amount ? static_cast<uint8_t>(palette[i] - amount) : 0;
  SetPalette(palette);
}

void FadeInStep(const uint8_t* target, uint8_t* working) {
  for (int i = 0; i < kPaletteBytes; ++i) {
    if (working[i] < target[i]) ++working[i];
    if (working[i] < target[i]) ++working[i];
  }
  SetPalette(working);
}

void ToggleFullscreen() {
  Backend& backend = CurrentBackend();
  uint8_t saved[kPaletteBytes];
  backend.GetColours(saved);
  Fullscreen = static_cast<uint8_t>(1 - Fullscreen);
  if (!backend.SetVideoMode(Fullscreen != 0))
    FatalError("cannot switch to %s: %s", Fullscreen ? "full screen" : "the window",
               backend.VideoError());
  backend.SetColours(saved);
  ApplyPointerRule(backend);
  ClearKeyState();
}

void CaptureMouse(bool captured) {
  const uint8_t value = captured ? 1 : 0;
  if (MouseCaptured == value) return;
  MouseCaptured = value;
  ApplyPointerRule(CurrentBackend());
}

namespace {
// One fade: a step per unit AnimCounter gains, 128 steps over 64 ticks.
template <typename Step>
void RunFade(WaitRoutine wait, Step step) {
  int32_t done = 0;
  AnimCounter = 0;
  InstallTickHandler(AnimCountUp);
  do {
    wait();
    while (done < AnimCounter) {
      step();
      ++done;
    }
  } while (AnimCounter < kFadeSteps);
  RemoveTickHandler();
}
}  // namespace

void FadeOut(uint8_t* palette, WaitRoutine wait) {
  RunFade(wait, [palette] { FadePaletteStep(2, palette); });
}

void FadeIn(WaitRoutine wait) {
  RunFade(wait, [] { FadeInStep(Palette, FadePalette); });
}

void PresentBlackFrame() {
  memset(FadePalette, 0, sizeof FadePalette);
  SetPalette(FadePalette);
  PresentFrame(FrameBuffer);
}

void AllocateScreenBuffers() {
  if (!FrameBuffer) FrameBuffer = static_cast<uint8_t*>(calloc(kScreenBytes, 1));
  if (!BackBuffer) BackBuffer = static_cast<uint8_t*>(calloc(kScreenBytes, 1));
  if (!FrameBuffer || !BackBuffer) FatalError("out of memory for the screen buffers");
}
