// The mouse and the joypads, read through the backend: presence that follows plugging, the
// readings in the units the input step compares, and the controllers as menu keys.
#include <algorithm>
#include <cstring>

#include "backend.h"
#include "keyboard.h"

uint8_t MousePresent = 0;
uint8_t Joypad1Present = 0;
uint8_t Joypad2Present = 0;
MouseState Mouse;
JoypadState Joypads[kPadSlots];

namespace {
// In the menus a stick counts from half way, so that a light touch does not move the cursor.
constexpr int32_t kMenuStickThreshold = (kStickMost + 1) / 2;

struct MenuKey {
  uint8_t scancode;
  uint16_t button;     // the button that holds it (the d-pad for directions)
  int stickX, stickY;  // or the stick pushed this way (-1, 0 or 1)
};
constexpr MenuKey kMenuKeys[] = {
    {scan::kUp, kPadUp, 0, -1},      {scan::kDown, kPadDown, 0, 1}, {scan::kLeft, kPadLeft, -1, 0},
    {scan::kRight, kPadRight, 1, 0}, {scan::kReturn, kPadA, 0, 0},  {scan::kEscape, kPadB, 0, 0},
};
constexpr int kMenuKeyCount = sizeof kMenuKeys / sizeof kMenuKeys[0];

bool padMenuKeysOn = true;
bool menuKeyHeld[kMenuKeyCount];  // by the controllers now, whether or not that counts

bool Pushed(int32_t stick, int way) {
  return (way < 0 && stick < -kMenuStickThreshold) || (way > 0 && stick > kMenuStickThreshold);
}

bool HoldsMenuKey(const PadReading& pad, const MenuKey& key) {
  return (pad.buttons & key.button) != 0 || Pushed(pad.stickX, key.stickX) ||
         Pushed(pad.stickY, key.stickY);
}

// One axis in joypad units: the stick's reading, or the d-pad as a full push.
int32_t AxisReading(int32_t stick, bool low, bool high) {
  if (low) return 0;
  if (high) return static_cast<int32_t>(kJoypadRange);
  return std::clamp(stick, -kStickMost, kStickMost) + kStickMost;
}
}  // namespace

bool ProbeMouse() {
  return CurrentBackend().HasMouse();
}

void ReadJoypads(uint8_t joypad1Present, uint8_t joypad2Present) {
  const uint8_t present[kPadSlots] = {joypad1Present, joypad2Present};
  for (int slot = 0; slot < kPadSlots; ++slot) {
    if (!present[slot]) continue;
    const PadReading pad = CurrentBackend().ReadPad(slot);
    JoypadState& j = Joypads[slot];
    j.horizontal =
        AxisReading(pad.stickX, (pad.buttons & kPadLeft) != 0, (pad.buttons & kPadRight) != 0);
    j.vertical =
        AxisReading(pad.stickY, (pad.buttons & kPadUp) != 0, (pad.buttons & kPadDown) != 0);
    j.horizontalRange = j.verticalRange = kJoypadRange;
    j.horizontalThreshold = j.verticalThreshold = kJoypadDeadZone;
    j.button1 = (pad.buttons & kPadA) ? 1 : 0;
    j.button2 = (pad.buttons & kPadB) ? 1 : 0;
  }
}

void ReadMouse() {
  const PointerReading pointer = CurrentBackend().ReadPointer();
  Mouse.x = pointer.x;
  Mouse.y = pointer.y;
  Mouse.button = pointer.button ? 1 : 0;
}

void SetMousePosition(int32_t x, int32_t y) {
  CurrentBackend().WarpPointer(x, y);
}

void UpdateInputDevices() {
  Backend& backend = CurrentBackend();
  PadReading pads[kPadSlots];
  for (int slot = 0; slot < kPadSlots; ++slot) {
    pads[slot] = backend.ReadPad(slot);
    // A joypad pulled out reads as released until one is plugged in again.
    if (!pads[slot].connected) Joypads[slot] = JoypadState{};
  }
  Joypad1Present = pads[0].connected ? 1 : 0;
  Joypad2Present = pads[1].connected ? 1 : 0;
  for (int k = 0; k < kMenuKeyCount; ++k) {
    bool held = false;
    for (const PadReading& pad : pads)
      held = held || (pad.connected && HoldsMenuKey(pad, kMenuKeys[k]));
    if (held == menuKeyHeld[k]) continue;
    menuKeyHeld[k] = held;
    // Releases always go through; presses only while the controllers act as menu keys.
    if (padMenuKeysOn || !held) SetKey(KeySource::kPads, kMenuKeys[k].scancode, held);
  }
}

void SetPadMenuKeys(bool on) {
  if (on == padMenuKeysOn) return;
  padMenuKeysOn = on;
  if (!on)
    for (const MenuKey& key : kMenuKeys) SetKey(KeySource::kPads, key.scancode, false);
}

uint16_t JoypadButtons(int slot) {
  const uint8_t present = slot == 0 ? Joypad1Present : Joypad2Present;
  return present ? CurrentBackend().ReadPad(slot).buttons : 0;
}

void ResetInputDevices() {
  MousePresent = Joypad1Present = Joypad2Present = 0;
  Mouse = MouseState{};
  for (JoypadState& j : Joypads) j = JoypadState{};
  padMenuKeysOn = true;
  memset(menuKeyHeld, 0, sizeof menuKeyHeld);
}
