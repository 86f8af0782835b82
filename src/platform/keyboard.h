// The keyboard as a table of held keys by PC set-1 scancode, the mouse and the joypads (game
// controllers).
#pragma once
#include <cstdint>

#include "backend.h"
#include "keysyms.h"

constexpr int kKeyStateSize = 128;
constexpr int kScanMapSize = keysym::kCount;  // 323

// Scancodes the game tests directly. Letter keys are named after the character the name entry's
// table gives them (a German layout: 21 types "z", 44 types "y").
namespace scan {
constexpr uint8_t kEscape = 1, kReturn = 28, kSpace = 57, kUp = 72, kDown = 80, kLeft = 75,
                  kRight = 77, kLShift = 42, kRShift = 54, kP = 25, kZ = 21, kY = 44, kJ = 36,
                  kN = 49, kD = 32;
}  // namespace scan

extern uint8_t KeyState[kKeyStateSize];
extern uint8_t ScanMap[kScanMapSize];

extern uint8_t MousePresent;
extern uint8_t Joypad1Present;
extern uint8_t Joypad2Present;

struct MouseState {
  int32_t x = 0, y = 0;  // in the 640 x 400 picture
  uint8_t button = 0;
};
// A joypad's axes read 0..kJoypadRange with the resting stick at the centre, kJoypadRange / 2;
// a direction counts beyond kJoypadDeadZone from it (a quarter of the way), so a light push
// counts and a resting or worn stick does not. The d-pad reads as a full push.
constexpr uint32_t kJoypadRange = 2 * kStickMost;
constexpr uint32_t kJoypadDeadZone = (kStickMost + 1) / 4;
struct JoypadState {
  int32_t horizontal = 0, vertical = 0;             // readings
  uint32_t horizontalRange = 0, verticalRange = 0;  // calibrated ranges
  uint32_t horizontalThreshold = 0, verticalThreshold = 0;
  uint8_t button1 = 0, button2 = 0;
};
extern MouseState Mouse;
extern JoypadState Joypads[kPadSlots];

// Reads the 323-byte table; a short file leaves the rest 0, a missing one is fatal.
void LoadScanMap(const char* file);

// The KeyState joins two sources: the keyboard's keys and, outside a match, the controllers'
// menu keys. A key is held while either source holds it.
enum class KeySource : uint8_t { kKeyboard, kPads };
void SetKey(KeySource source, uint8_t scancode, bool down);
// Every key released, from both sources (keys held on will not count again until pressed again).
void ClearKeyState();

bool AnyKeyDown();
uint8_t FirstKeyDown();
char KeyToChar();
// The character of one scancode in the name-entry table, 0 if it has none.
char ScancodeToChar(uint8_t scancode);
bool ProbeMouse();
void ReadJoypads(uint8_t joypad1Present, uint8_t joypad2Present);
void ReadMouse();
void SetMousePosition(int32_t x, int32_t y);

// Called by the event pump after each batch of events: the joypad flags follow the controllers
// plugged in and out, and the controllers act as menu keys while that is allowed.
void UpdateInputDevices();
// Whether the controllers act as the menu keys (up, down, left, right, A = Enter, B = Escape).
// Off: whatever they hold is released at once; on again: only presses from then on count.
void SetPadMenuKeys(bool on);
// The buttons (kPad... bits) joypad slot 0 or 1 holds now, 0 when it is not present.
uint16_t JoypadButtons(int slot);
// Back to the start: no device state, controllers act as menu keys.
void ResetInputDevices();
// A configured key, safe to look up whatever the configuration file held.
inline bool KeyHeld(uint32_t scancode) {
  return scancode >= 1 && scancode < kKeyStateSize && KeyState[scancode] != 0;
}
