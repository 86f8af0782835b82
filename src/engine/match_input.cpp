#include "match_input.h"

#include "keyboard.h"
#include "player.h"
#include "ticks.h"

namespace {
// Relative mouse movement is measured from the screen centre, where the pointer is put back.
constexpr int32_t kMouseCentreX = 320;
constexpr int32_t kMouseCentreY = 200;

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

  bool KeyDown() override { return AnyKeyDown(); }

  uint8_t Controls() override {
    uint8_t controls = 0;
    if (KeyState[scan::kEscape] || KeyState[scan::kP]) controls |= kControlPause;
    if (KeyState[scan::kY] || KeyState[scan::kZ] || KeyState[scan::kJ]) controls |= kControlYes;
    if (KeyState[scan::kN]) controls |= kControlNo;
    return controls;
  }

  void PollDevices() override {
    const PlayerConfig& one = PlayerState[1].config;
    const PlayerConfig& two = PlayerState[2].config;
    if ((Joypad1Present || Joypad2Present) &&
        (one.useJoypad1 || one.useJoypad2 || two.useJoypad1 || two.useJoypad2))
      ReadJoypads(Joypad1Present, Joypad2Present);
    if (MousePresent && (one.useMouse || two.useMouse)) ReadMouse();
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
