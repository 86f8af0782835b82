#include "match_input.h"

#include "display.h"
#include "keyboard.h"
#include "match_tick.h"
#include "player.h"
#include "ticks.h"

namespace {
// Relative mouse movement is measured from the screen centre, where the pointer is put back.
constexpr int32_t kMouseCentreX = kPictureCentreX;
constexpr int32_t kMouseCentreY = kPictureCentreY;
constexpr uint16_t kAnswerButtons = kPadA | kPadB;
constexpr uint16_t kKeyLikeButtons = kPadA | kPadB | kPadStart;

bool TakesPart(const PlayerStateRecord& s) {
  return !s.absent && !s.cpuControlled;
}

// The present joypads that a human player of this match has chosen, one bit per slot: only
// these act in a match.
uint8_t ChosenJoypads() {
  uint8_t slots = 0;
  for (int p = 1; p <= kPlayers; ++p) {
    const PlayerStateRecord& s = PlayerState[p];
    if (!TakesPart(s)) continue;
    if (s.config.useJoypad1 && Joypad1Present) slots |= 1;
    if (s.config.useJoypad2 && Joypad2Present) slots |= 2;
  }
  return slots;
}

uint8_t MouseActions(const PlayerConfig& config) {
  const int32_t d = static_cast<int32_t>(config.mouseDelay);
  uint8_t actions = 0;
  if (Mouse.x < kMouseCentreX - d) actions |= kActionLeft;
  if (Mouse.x > kMouseCentreX + d) actions |= kActionRight;
  if (Mouse.y > kMouseCentreY + d) actions |= kActionDown;
  if (Mouse.button) actions |= kActionRotate;
  SetMousePosition(kMouseCentreX, kMouseCentreY);
  return actions;
}

uint8_t JoypadActions(const JoypadState& pad) {
  const int64_t cx = pad.horizontalRange / 2;
  const int64_t cy = pad.verticalRange / 2;
  uint8_t actions = 0;
  if (cx - pad.horizontal > static_cast<int64_t>(pad.horizontalThreshold)) actions |= kActionLeft;
  if (pad.horizontal - cx > static_cast<int64_t>(pad.horizontalThreshold)) actions |= kActionRight;
  if (pad.vertical - cy > static_cast<int64_t>(pad.verticalThreshold)) actions |= kActionDown;
  if (pad.button1 || pad.button2) actions |= kActionRotate;
  return actions;
}

class LiveInput : public MatchInput {
 public:
  unsigned FrameTicks() override { return PollAndWaitTick(); }

  // A chosen controller's A, B or Start counts like a key.
  bool KeyDown() override {
    const uint8_t chosen = ChosenJoypads();
    for (int slot = 0; slot < kPadSlots; ++slot)
      if ((chosen >> slot & 1) && (JoypadButtons(slot) & kKeyLikeButtons)) return true;
    return AnyKeyDown();
  }

  // Start on a chosen controller pauses while held, like Escape. While paused, its A answers
  // yes and B no, but only as presses that began after the pause did: a button held to turn the
  // pair never quits the match, and a B held while Start is pressed never ends the pause at once.
  // The answers are worked out here, before anything records what this returns.
  uint8_t Controls() override {
    uint8_t controls = 0;
    if (KeyState[scan::kEscape] || KeyState[scan::kP]) controls |= kControlPause;
    if (KeyState[scan::kY] || KeyState[scan::kZ] || KeyState[scan::kJ]) controls |= kControlYes;
    if (KeyState[scan::kN]) controls |= kControlNo;
    const uint8_t chosen = ChosenJoypads();
    for (int slot = 0; slot < kPadSlots; ++slot) {
      const uint16_t held = (chosen >> slot & 1) ? JoypadButtons(slot) : 0;
      const uint16_t pressed = held & ~buttonsHeld_[slot];
      buttonsHeld_[slot] = held;
      // paused is still the value the last tick left: a press in the tick that pauses is too early.
      answers_[slot] = paused ? (answers_[slot] | (pressed & kAnswerButtons)) & held : 0;
      if (held & kPadStart) controls |= kControlPause;
      if (answers_[slot] & kPadA) controls |= kControlYes;
      if (answers_[slot] & kPadB) controls |= kControlNo;
    }
    return controls;
  }

  // The pointer is captured while a human player of this match plays with the mouse; the match
  // gives it back when play ends.
  void PollDevices() override {
    const PlayerConfig& one = PlayerState[1].config;
    const PlayerConfig& two = PlayerState[2].config;
    if ((Joypad1Present || Joypad2Present) &&
        (one.useJoypad1 || one.useJoypad2 || two.useJoypad1 || two.useJoypad2))
      ReadJoypads(Joypad1Present, Joypad2Present);
    if (MousePresent && (one.useMouse || two.useMouse)) {
      if ((one.useMouse && TakesPart(PlayerState[1])) ||
          (two.useMouse && TakesPart(PlayerState[2])))
        CaptureMouse(true);
      ReadMouse();
    }
  }

  // Each device only adds actions; the keyboard always works, and a key code outside the key
  // table acts as no key.
  uint8_t Actions(int p) override {
    const PlayerConfig& c = PlayerState[p].config;
    uint8_t actions = 0;
    if (MousePresent && c.useMouse) actions |= MouseActions(c);
    if (Joypad1Present && c.useJoypad1) actions |= JoypadActions(Joypads[0]);
    if (Joypad2Present && c.useJoypad2) actions |= JoypadActions(Joypads[1]);
    if (KeyHeld(c.keyLeft)) actions |= kActionLeft;
    if (KeyHeld(c.keyRight)) actions |= kActionRight;
    if (KeyHeld(c.keyRotate)) actions |= kActionRotate;
    if (KeyHeld(c.keyDown)) actions |= kActionDown;
    return actions;
  }

 private:
  uint16_t buttonsHeld_[kPadSlots] = {};
  uint16_t answers_[kPadSlots] = {};  // A or B pressed while paused and held since
};

LiveInput live;
MatchInput* current = &live;
}  // namespace

MatchInput& LiveMatchInput() {
  return live;
}

MatchInput& CurrentMatchInput() {
  return *current;
}

void SetMatchInput(MatchInput* input) {
  current = input ? input : &live;
}

void MatchWaitTick() {
  const unsigned ticks = current->FrameTicks();
  if (TickHandlerActive && TickHandler)
    for (unsigned i = 0; i < ticks; ++i) TickHandler();
}
