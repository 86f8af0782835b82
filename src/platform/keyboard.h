// The keyboard as a table of held keys by PC set-1 scancode, and the (absent) mouse and joypads.
#pragma once
#include <cstdint>

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
  int32_t x = 0, y = 0;
  uint8_t button = 0;
};
struct JoypadState {
  int32_t horizontal = 0, vertical = 0;             // readings
  uint32_t horizontalRange = 0, verticalRange = 0;  // calibrated ranges
  uint32_t horizontalThreshold = 0, verticalThreshold = 0;
  uint8_t button1 = 0, button2 = 0;
};
extern MouseState Mouse;
extern JoypadState Joypads[2];

// Reads the 323-byte table; a short file leaves the rest 0, a missing one is fatal.
void LoadScanMap(const char* file);

bool AnyKeyDown();
uint8_t FirstKeyDown();
char KeyToChar();
// The character of one scancode in the name-entry table, 0 if it has none.
char ScancodeToChar(uint8_t scancode);
bool ProbeMouse();
void ReadJoypads(uint8_t joypad1Present, uint8_t joypad2Present);
void ReadMouse();
void SetMousePosition(int32_t x, int32_t y);
// A configured key, safe to look up whatever the configuration file held.
inline bool KeyHeld(uint32_t scancode) {
  return scancode >= 1 && scancode < kKeyStateSize && KeyState[scancode] != 0;
}
