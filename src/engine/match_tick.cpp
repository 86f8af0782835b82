#include "match_tick.h"

#include <cstdio>

#include "input.h"
#include "match_input.h"
#include "pair.h"
#include "player.h"
#include "scoring.h"
#include "settle.h"
#include "ticks.h"

uint32_t tickCount = 0;
uint32_t frameCount = 0;
FixedText<kFpsTextCapacity> fpsText;
uint8_t paused = 0;
uint32_t spinCounter = 0;
int32_t startPictureIndex = 0;
FixedText<kMessageCapacity> MessageLog[kMessageLines];
uint32_t messageTimer = 0;

namespace {
constexpr int32_t kIntroStep = 3;
constexpr int32_t kOutroStep = 2;
// The start picture blinks while the intro counter runs through multiples of 27 in 100..320.
constexpr int32_t kBlinkFrom = 100;
constexpr int32_t kBlinkTo = 320;
constexpr int32_t kBlinkEvery = 27;
constexpr int kNumberBuffer = 24;

void AdvancePhase(uint32_t& phase) {
  phase = (phase + 1) % kPhaseCount;
}

void ScrollMessages() {
  for (int i = 0; i + 1 < kMessageLines; ++i) MessageLog[i] = MessageLog[i + 1];
  MessageLog[kMessageLines - 1].Clear();
}

// Every 140 ticks: the frames of that period, halved, become the frames-per-second text.
void RunMeter() {
  if (tickCount >= kTicksPerMeterPeriod - 1) {
    char text[kNumberBuffer];
    FormatNumber(text, sizeof text, frameCount / 2);
    fpsText.Set(text);
    tickCount = 0;
    frameCount = 0;
  } else {
    tickCount += 1;
  }
}

// The pause inputs are held states: while pause is held the game stays paused.
void ReadPauseKeys() {
  const uint8_t controls = CurrentMatchInput().Controls();
  if (controls & kControlPause) paused = 1;
  if (!paused) return;
  if (controls & kControlYes) {
    for (int p = 1; p <= kPlayers; ++p) PlayerState[p].gameOver = 1;
    paused = 0;
  }
  if (controls & kControlNo) paused = 0;
}
}  // namespace

void MatchTick() {
  ReadPauseKeys();
  const uint32_t t = tickCount;
  if (!paused && t % kActionCadence == 0) ApplyPlayerActions();
  if (!paused && t % kInputCadence == 0) ReadPlayerInputs();
  if (!paused && t % kSettleCadence == 0) SettleFields();
  AdvanceAnimations();
  RunMeter();
}

void IntroTick() {
  AnimCounter += kIntroStep;
  if (AnimCounter >= kBlinkFrom && AnimCounter <= kBlinkTo && AnimCounter % kBlinkEvery == 0)
    startPictureIndex = 1 - startPictureIndex;
  AdvanceAnimations();
  RunMeter();
}

void OutroTick() {
  AnimCounter += kOutroStep;
  AdvanceAnimations();
  RunMeter();
}

void AdvanceAnimations() {
  for (int p = 1; p <= kPlayers; ++p) {
    for (int x = 0; x < kColumns; ++x) {
      for (int y = 0; y <= kBottomRow; ++y) {
        Burst& burst = BurstAt(p, x, y);
        if (burst.burstTimer >= 1 && burst.burstTimer < kBurstTimerEnd) ++burst.burstTimer;
        if (burst.popupTimer >= 1 && burst.popupTimer < kPopupTimerEnd) ++burst.popupTimer;
        AdvancePhase(FieldCell(p, x, y).phase);
      }
    }
  }
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerStateRecord& s = PlayerState[p];
    AdvancePhase(s.pairA.phase);
    AdvancePhase(s.pairB.phase);
    if (s.chainTimer >= 1 && s.chainTimer < kChainTimerEnd) ++s.chainTimer;
    RollUpScore(p);
    if (s.slideOffset < 0) ++s.slideOffset;
    if (s.slideOffset > 0) --s.slideOffset;
    if (s.rotateCooldown != 0) --s.rotateCooldown;
  }
  spinCounter = (spinCounter + 1) % kSpinFrames;
  if (messageTimer < kMessageScrollTicks) {
    ++messageTimer;
  } else {
    ScrollMessages();
    messageTimer = 0;
  }
}

void AddMessage(const char* text) {
  if (!MessageLog[kMessageLines - 1].Empty()) {
    ScrollMessages();
    MessageLog[kMessageLines - 1].Set(text);
    return;
  }
  for (int i = 0; i < kMessageLines; ++i) {
    if (MessageLog[i].Empty()) {
      MessageLog[i].Set(text);
      if (i == 0) messageTimer = 0;
      return;
    }
  }
}

void ClearMessageLog() {
  for (auto& line : MessageLog) line.Clear();
}

void ResetMatch() {
  tickCount = 0;
  frameCount = 0;
  paused = 0;
  ClearMessageLog();
  messageTimer = 0;
  spinCounter = 0;
  for (int p = 1; p <= kPlayers; ++p) ResetPlayerState(p);
  AnimCounter = 0;
  startPictureIndex = 0;
}
