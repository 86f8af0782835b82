// The 640 x 400 x 8 display: the frame and back buffers, the palette, fades and full screen.
#pragma once
#include <cstdint>

#include "ticks.h"

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 400;
constexpr int kScreenBytes = kScreenWidth * kScreenHeight;  // 256 000
constexpr int kScreenWords = kScreenBytes / 4;              // 64 000
constexpr int kPaletteBytes = 768;
constexpr int kFadeSteps = 128;     // a fade ends when AnimCounter reaches this
constexpr int kMaxWindowScale = 8;  // the largest whole multiple a window can be asked for

extern uint8_t* FrameBuffer;  // allocated by the start-up loader
extern uint8_t* BackBuffer;
extern uint8_t Palette[kPaletteBytes];
extern uint8_t FadePalette[kPaletteBytes];
extern uint8_t Fullscreen;
// The pointer is hidden and kept inside the window (while a human plays with the mouse).
extern uint8_t MouseCaptured;

// Starts video, sets the caption "PLONKIX" and reads data/scanmap. False when video did not start.
bool StartPlatform();
// Opens the window showing the 640 x 400 picture (full screen when Fullscreen is set). False when
// it cannot be opened.
bool OpenScreen();
// Why starting video or opening the window failed, in the video library's words.
const char* VideoFailure();
void PresentFrame(const uint8_t* pixels);
void SetPalette(const uint8_t* palette);
void FadePaletteStep(uint8_t amount, uint8_t* palette);
void FadeInStep(const uint8_t* target, uint8_t* working);
void ToggleFullscreen();
// Hides the pointer and keeps it inside the window, or gives it back as the display mode shows
// it (in the window, not in full screen). Survives Alt+Enter.
void CaptureMouse(bool captured);

// The fades every screen runs, 128 steps over 64 ticks on AnimCounter with AnimCountUp, one
// wait per frame: lowers the given palette by 2 per step down to black.
void FadeOut(uint8_t* palette, WaitRoutine wait = WaitTick);
// Raises FadePalette towards Palette by at most 2 per step.
void FadeIn(WaitRoutine wait = WaitTick);
// The first step of every fade-in: FadePalette cleared and shown, then the frame buffer
// presented, so the picture is composed but still black on screen.
void PresentBlackFrame();

// Allocates FrameBuffer and BackBuffer once (the loader's first step).
void AllocateScreenBuffers();
