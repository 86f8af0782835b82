#include "ticks.h"

#include "backend.h"
#include "display.h"
#include "fatal.h"
#include "keyboard.h"

TickRoutine TickHandler = nullptr;
uint8_t TickHandlerActive = 0;
int32_t AnimCounter = 0;
uint32_t TicksCounted = 0;

namespace {
uint32_t reference = 0;  // time up to which ticks have been accounted

void HandleEvent(const InputEvent& event) {
  switch (event.type) {
    case EventType::kKeyDown:
      if (event.sym == keysym::kF4 && (event.mod & keymod::kLAlt) &&
          !(event.mod & (keymod::kLCtrl | keymod::kRCtrl)))
        ExitProgram(0);
      if (event.sym == keysym::kReturn && (event.mod & (keymod::kLAlt | keymod::kRAlt))) {
        ToggleFullscreen();
        return;
      }
      if (event.sym < kScanMapSize) SetKey(KeySource::kKeyboard, ScanMap[event.sym], true);
      return;
    case EventType::kKeyUp:
      if (event.sym < kScanMapSize) SetKey(KeySource::kKeyboard, ScanMap[event.sym], false);
      return;
    case EventType::kQuit:
      ExitProgram(0);
    case EventType::kOther:
      return;
  }
}
}  // namespace

namespace {
void PollEvents() {
  Backend& backend = CurrentBackend();
  InputEvent event;
  while (backend.PollEvent(event)) HandleEvent(event);
  UpdateInputDevices();
}

// The whole ticks elapsed since the reference, which moves past them; after a stall of more than
// kMaxBacklogMs exactly one, counted from now.
unsigned TakeElapsedTicks(uint32_t now) {
  if (now - reference > kMaxBacklogMs) reference = now - kTickMs;
  const uint32_t ticks = (now - reference) / kTickMs;
  reference += kTickMs * ticks;
  TicksCounted += ticks;
  return ticks;
}
}  // namespace

unsigned PollAndWaitTick() {
  Backend& backend = CurrentBackend();
  PollEvents();
  for (;;) {
    const uint32_t now = backend.GetTicks();
    if (const unsigned ticks = TakeElapsedTicks(now)) return ticks;
    backend.Delay(kTickMs - (now - reference));
  }
}

unsigned PollTicks() {
  PollEvents();
  return TakeElapsedTicks(CurrentBackend().GetTicks());
}

void WaitTick() {
  const unsigned ticks = PollAndWaitTick();
  if (TickHandlerActive && TickHandler)
    for (unsigned i = 0; i < ticks; ++i) TickHandler();
}

void InstallTickHandler(TickRoutine routine) {
  TickHandler = routine;
  TickHandlerActive = 1;
}

void RemoveTickHandler() {
  TickHandlerActive = 0;
}

void AnimCountUp() {
  AnimCounter += 2;
}
void AnimCountDown() {
  AnimCounter -= 4;
}

void WaitKeysReleased() {
  while (AnyKeyDown()) WaitTick();
}

void WaitAnyKey() {
  while (!AnyKeyDown()) WaitTick();
}

void SetTickReference(uint32_t ms) {
  reference = ms;
}
uint32_t TickReference() {
  return reference;
}
