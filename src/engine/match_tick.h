// The tick handlers of a match, the per-tick animations, the message log and the fps meter.
#pragma once
#include <cstdint>

#include "text.h"

constexpr uint32_t kTicksPerMeterPeriod = 140;  // tickCount runs 0..139
constexpr uint32_t kActionCadence = 4;          // moves, turns and drops every 4th tick
constexpr uint32_t kInputCadence = 2;           // input and gravity every 2nd tick
constexpr uint32_t kSettleCadence = 5;          // settle every 5th tick
constexpr uint32_t kFpsTextCapacity = 3;
constexpr uint32_t kSpinFrames = 40;  // spinCounter 0..39

constexpr int kMessageLines = 5;
constexpr uint32_t kMessageCapacity = 18;
constexpr uint32_t kMessageScrollTicks = 450;  // a line moves up after 451 ticks

constexpr uint32_t kBurstTimerEnd = 160;
constexpr uint32_t kPopupTimerEnd = 120;

extern uint32_t tickCount;
extern uint32_t frameCount;  // frames presented since the last meter update
extern FixedText<kFpsTextCapacity> fpsText;
extern uint8_t paused;
extern uint32_t spinCounter;
extern int32_t startPictureIndex;

extern FixedText<kMessageCapacity> MessageLog[kMessageLines];
extern uint32_t messageTimer;

// Play: pause keys, the action, input and settle steps at their cadences, animations, meter.
void MatchTick();
// The start sequence: names slide in, the start picture blinks.
void IntroTick();
// The results: animations and the score roll-up finish.
void OutroTick();
// Bursts, popups, bean phases, chain display, score roll-up, slide, cooldown, spinner, log.
void AdvanceAnimations();

// The match start: the tick and frame counters, the pause, the message log and the spinner
// cleared, then both players' records reset (player 1 first), the start counters at 0.
void ResetMatch();

// Appends a line (cut to 18 characters), pushing the oldest out when the log is full.
void AddMessage(const char* text);
void ClearMessageLog();
