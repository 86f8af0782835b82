#include "input.h"

#include "cpu.h"
#include "keyboard.h"
#include "pair.h"
#include "player.h"

namespace {
// Relative mouse movement is measured from the screen centre, where the pointer is put back.
constexpr int32_t kMouseCentreX = 320;
constexpr int32_t kMouseCentreY = 200;

void ReadMouseFlags(PlayerStateRecord& s) {
  const int32_t d = static_cast<int32_t>(s.config.mouseDelay);
  if (Mouse.x < kMouseCentreX - d) s.inputLeft = 1;
  if (Mouse.x > kMouseCentreX + d) s.inputRight = 1;
  if (Mouse.y > kMouseCentreY + d) s.inputDown = 1;
  if (Mouse.button) s.inputRotate = 1;
  SetMousePosition(kMouseCentreX, kMouseCentreY);
}

void ReadJoypadFlags(PlayerStateRecord& s, const JoypadState& pad) {
  const int64_t cx = pad.horizontalRange / 2;
  const int64_t cy = pad.verticalRange / 2;
  if (cx - pad.horizontal > static_cast<int64_t>(pad.horizontalThreshold)) s.inputLeft = 1;
  if (pad.horizontal - cx > static_cast<int64_t>(pad.horizontalThreshold)) s.inputRight = 1;
  if (pad.vertical - cy > static_cast<int64_t>(pad.verticalThreshold)) s.inputDown = 1;
  if (pad.button1 || pad.button2) s.inputRotate = 1;
}

void ReadHumanFlags(PlayerStateRecord& s) {
  if (MousePresent && s.config.useMouse) ReadMouseFlags(s);
  if (Joypad1Present && s.config.useJoypad1) ReadJoypadFlags(s, Joypads[0]);
  if (Joypad2Present && s.config.useJoypad2) ReadJoypadFlags(s, Joypads[1]);
  // The keyboard always works; a key code outside the key table acts as no key.
  if (KeyHeld(s.config.keyLeft)) s.inputLeft = 1;
  if (KeyHeld(s.config.keyRight)) s.inputRight = 1;
  if (KeyHeld(s.config.keyRotate)) s.inputRotate = 1;
  if (KeyHeld(s.config.keyDown)) s.inputDown = 1;
}
}  // namespace

void ReadPlayerInputs() {
  const PlayerStateRecord& one = PlayerState[1];
  const PlayerStateRecord& two = PlayerState[2];
  if ((Joypad1Present || Joypad2Present) && (one.config.useJoypad1 || one.config.useJoypad2 ||
                                             two.config.useJoypad1 || two.config.useJoypad2))
    ReadJoypads(Joypad1Present, Joypad2Present);
  if (MousePresent && (one.config.useMouse || two.config.useMouse)) ReadMouse();

  for (int p = 1; p <= kPlayers; ++p) {
    PlayerStateRecord& s = PlayerState[p];
    if (s.resolving || s.absent) continue;
    s.inputDown = s.inputLeft = s.inputRight = s.inputRotate = 0;
    if (s.cpuControlled)
      SetCpuInputs(p);
    else
      ReadHumanFlags(s);
    PairGravity(p);
  }
}
