// The event pump and the fixed 14 ms tick loop.
#pragma once
#include <cstdint>

constexpr uint32_t kTickMs = 14;
constexpr uint32_t kMaxBacklogMs = 140;

using TickRoutine = void (*)();
// A frame loop's wait: WaitTick, or a match's own (whose source decides the frame's ticks).
using WaitRoutine = void (*)();

extern TickRoutine TickHandler;
extern uint8_t TickHandlerActive;
extern int32_t AnimCounter;
extern uint32_t TicksCounted;  // every tick the pump has reported since the start

// Handles every pending event, then waits for at least one elapsed tick; returns 1..10.
unsigned PollAndWaitTick();
// Handles every pending event and returns the ticks elapsed since the last accounted one, 0..10,
// without waiting.
unsigned PollTicks();
// PollAndWaitTick, then the installed TickHandler once per elapsed tick.
void WaitTick();

void InstallTickHandler(TickRoutine routine);
void RemoveTickHandler();
void AnimCountUp();    // AnimCounter += 2
void AnimCountDown();  // AnimCounter -= 4

// Tick by tick until no key is held / until some key is held.
void WaitKeysReleased();
void WaitAnyKey();

// Sets the time up to which ticks have been accounted (0 at program start).
void SetTickReference(uint32_t ms);
uint32_t TickReference();
