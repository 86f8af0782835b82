// What the front-end screens share: the menu tick phase, their sounds, the page of 18 text lines
// and the four screen strips the fly-ins move.
#pragma once
#include <cstdint>

#include "draw.h"
#include "text.h"

// ---- Fonts and the centre line ----
constexpr int kMenuFont = 3;   // the main menu items and the after-game page titles
constexpr int kSmallFont = 4;  // font 3 at half size: options, credits, help, after-game
constexpr int32_t kScreenCentreX = 320;

// ---- The menu tick phase: 0..139, advanced once per tick by the menu and options handlers ----
constexpr int32_t kTickPhaseCount = 140;
constexpr int32_t kKeyPollTicks = 7;  // the keys are sampled every 7 ticks (98 ms)
extern int32_t tickPhase;
inline bool KeyPollDue() {
  return tickPhase % kKeyPollTicks == 0;
}
inline void AdvanceTickPhase() {
  tickPhase = tickPhase + 1 >= kTickPhaseCount ? 0 : tickPhase + 1;
}

// ---- Sounds of the front end: number, volume, channel ----
struct ScreenSound {
  uint8_t number;
  uint8_t volume;
  uint8_t channel;
};
constexpr ScreenSound kCursorSound{13, 20, 1};      // menu and options cursor moves
constexpr ScreenSound kValueSound{14, 30, 1};       // an option changes, a character or key taken
constexpr ScreenSound kMenuReadySound{15, 35, 2};   // the menu has built up
constexpr ScreenSound kTitleSound{16, 30, 1};       // the intro's title picture
constexpr ScreenSound kMenuStartSound{17, 30, 1};   // the menu starts building up
constexpr ScreenSound kStripSound{17, 30, 2};       // the intro's strip picture
constexpr ScreenSound kConfirmSound{18, 20, 1};     // confirm or leave
constexpr ScreenSound kClosingSound{19, 30, 1};     // the intro's closing picture
constexpr ScreenSound kExitScreenSound{19, 30, 4};  // the exit picture
void Play(const ScreenSound& sound);

// ---- A page of 18 lines of up to 30 characters, in the small font ----
constexpr uint32_t kPageLineCapacity = 30;
constexpr int kPageLines = 18;
constexpr int32_t kPageFirstLineY = 13;
constexpr int32_t kPageLineStep = 22;
using PageLine = FixedText<kPageLineCapacity>;

// A fixed-capacity text made at compile time; what does not fit is cut.
template <uint32_t Capacity>
constexpr FixedText<Capacity> MakeText(const char* text) {
  FixedText<Capacity> t;
  while (t.length < Capacity && text[t.length] != 0) {
    t.chars[t.length] = text[t.length];
    ++t.length;
  }
  return t;
}

constexpr int32_t PageLineY(int line) {
  return kPageFirstLineY + kPageLineStep * line;
}
// Draws the 18 lines centred at x = 320, line j at y = 13 + 22 j, each at its current length.
void DrawPageLines(uint8_t* target, const PageLine* lines);

// ---- The screen as four strips of 640 x 100 pixels ----
constexpr int kStripCount = 4;
constexpr int32_t kStripHeight = 100;
// Strip 0..3 of a 640 x 400 buffer as a sprite.
Sprite ScreenStrip(uint8_t* buffer, int strip);
// Where a strip's centre is at a clock value: a start point and a step per clock unit.
struct StripPath {
  int32_t x0, xPerClock, y0, yPerClock;
};
// Draws the four strips of the source opaquely into the target along their paths.
void DrawStrips(const StripPath* paths, int32_t clock, uint8_t* source, uint8_t* target);

// ---- Picture files the front end reads when its screens start ----
constexpr const char* kLogoPictureFile = "data/plonkix.p02";  // the after-game palette
constexpr const char* kExitPictureFile = "data/plonkix.p17";
constexpr const char* kTitlePictureFile = "data/plonkix.p18";
constexpr const char* kStripPictureFiles[2] = {"data/plonkix.p19", "data/plonkix.p20"};
constexpr const char* kClosingPictureFile = "data/plonkix.p21";
constexpr const char* kMenuPictureFile = "data/plonkix.p22";
