#include "intro.h"

#include <memory>
#include <new>

#include "display.h"
#include "fatal.h"
#include "frontend_common.h"
#include "keyboard.h"
#include "picture.h"
#include "random.h"
#include "ticks.h"

namespace {

constexpr int32_t kCentreY = 200;

// Title: grows over clock 0..99, stands over 100..500, shrinks over 501..600; the phase runs
// while the clock is at most 650.
constexpr int32_t kTitleStartClock = -50;
constexpr int32_t kTitleGrowEnd = 100;
constexpr int32_t kTitleStandEnd = 501;
constexpr int32_t kTitleShrinkEnd = 601;
constexpr int32_t kTitleFullScale = 600;  // shrinking scale is 600 - g
constexpr int32_t kTitleLastClock = 650;

// Strips: they meet at clock -320; the phase runs while the clock is at least -1200.
constexpr int32_t kStripsMetClock = -320;
constexpr int32_t kStripsLastClock = -1200;
// Strips 0 and 2 come in from the right, 1 and 3 from the left.
constexpr StripPath kStripPaths[kStripCount] = {
    {960, 2, 50, 0}, {-320, -2, 150, 0}, {960, 2, 250, 0}, {-320, -2, 350, 0}};

// Closing picture: held until the clock passes 550 (counted on from the fade-in).
constexpr int32_t kClosingHoldClock = 550;

// A picture buffer of its own for one phase; released at the end of the phase, and also when
// the program is ended from inside it.
std::unique_ptr<uint8_t[]> AllocatePicture(int32_t width, int32_t height) {
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow)
                                        uint8_t[static_cast<size_t>(width) * height]);
  if (!pixels) FatalError("out of memory for a %d x %d intro picture", width, height);
  return pixels;
}

void TitlePhase() {
  auto pixels = AllocatePicture(kTitleWidth, kTitleHeight);
  LoadPicture(pixels.get(), kTitlePictureFile, true, kTitleWidth, kTitleHeight);
  const Sprite title{pixels.get(), kTitleWidth, kTitleHeight};
  Play(kTitleSound);
  AnimCounter = kTitleStartClock;
  InstallTickHandler(AnimCountUp);
  int32_t g;
  do {
    WaitTick();
    g = AnimCounter;
    DrawIntroTitle(g, title);
    PresentFrame(FrameBuffer);
  } while (!AnyKeyDown() && g <= kTitleLastClock);
  RemoveTickHandler();
  pixels.reset();
  WaitKeysReleased();
}

void StripPhase() {
  FillWords(BackBuffer, kScreenWords, 0);
  PresentFrame(BackBuffer);
  LoadPicture(FrameBuffer, kStripPictureFiles[Random(2)], true, kScreenWidth, kScreenHeight);
  Play(kStripSound);
  AnimCounter = 0;
  InstallTickHandler(AnimCountDown);
  int32_t m;
  do {
    WaitTick();
    m = AnimCounter;
    PresentFrame(DrawIntroStrips(m));
  } while (!AnyKeyDown() && m >= kStripsLastClock);
  RemoveTickHandler();
  WaitKeysReleased();
  FadeOut(Palette);
}

void ClosingPhase() {
  FillWords(FrameBuffer, kScreenWords, 0);
  PresentFrame(FrameBuffer);
  auto pixels = AllocatePicture(kClosingWidth, kClosingHeight);
  LoadPicture(pixels.get(), kClosingPictureFile, true, kClosingWidth, kClosingHeight);
  DrawSpriteOpaque(FrameBuffer, kScreenCentreX, kCentreY,
                   Sprite{pixels.get(), kClosingWidth, kClosingHeight});
  PresentBlackFrame();
  Play(kClosingSound);
  // Keys are not looked at during the fade-in; one still down afterwards ends the hold at once.
  FadeIn();
  InstallTickHandler(AnimCountUp);
  while (!AnyKeyDown() && AnimCounter <= kClosingHoldClock) WaitTick();
  RemoveTickHandler();
  pixels.reset();
  WaitKeysReleased();
  FadeOut(FadePalette);
}

}  // namespace

void DrawIntroTitle(int32_t g, const Sprite& title) {
  FillWords(FrameBuffer, kScreenWords, 0);
  if (g >= 0 && g < kTitleGrowEnd) {
    DrawSpriteScaled(FrameBuffer, kScreenCentreX, kCentreY, g, g, title);
  } else if (g >= kTitleGrowEnd && g < kTitleStandEnd) {
    DrawSprite(FrameBuffer, kScreenCentreX, kCentreY, title);
  } else if (g >= kTitleStandEnd && g < kTitleShrinkEnd) {
    const uint32_t scale = static_cast<uint32_t>(kTitleFullScale - g);
    DrawSpriteScaled(FrameBuffer, kScreenCentreX, kCentreY, scale, scale, title);
  }
}

const uint8_t* DrawIntroStrips(int32_t m) {
  if (m <= kStripsMetClock) return FrameBuffer;
  DrawStrips(kStripPaths, m, FrameBuffer, BackBuffer);
  return BackBuffer;
}

void Intro() {
  if (!OpenScreen()) FatalError("cannot open the window: %s", VideoFailure());
  TitlePhase();
  StripPhase();
  ClosingPhase();
}
