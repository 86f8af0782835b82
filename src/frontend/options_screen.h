// The options screen: both players' options edited in place, names typed, keys captured, and the
// configuration file written on leaving.
#pragma once
#include <cstdint>

#include "frontend_common.h"
#include "player_config.h"

constexpr int32_t kOptionRowsPerPlayer = 7;
constexpr int32_t kOptionRows = 2 * kOptionRowsPerPlayer;  // 14; AnimCounter selects one
// The rows of one player; player 2's row is the same plus 7.
enum OptionRow : int32_t {
  kRowDropSpeed = 0,
  kRowBeansToLink = 1,
  kRowName = 2,
  kRowCpuStrength = 3,
  kRowInput = 4,
  kRowKeyConfig = 5,
  kRowMouseDelay = 6,
};

extern const PageLine kOptionLabels[kPageLines];
constexpr int32_t kOptionValueX = 500;  // the values and the asked key's name are centred here

constexpr uint32_t kKeyNameCapacity = 6;
constexpr int kCapturedKeys = 4;  // left, right, rotate, down
extern const FixedText<kKeyNameCapacity> kKeyNames[kCapturedKeys];

// The input devices in the order the Left key cycles them.
enum InputDevice : int { kKeyboard = 0, kJoypad1 = 1, kJoypad2 = 2, kMouse = 3 };
constexpr int kInputDevices = 4;
extern const char* const kInputWords[kInputDevices];
// The device a record shows: the first of joypad1, joypad2, mouse that is set, else keyboard.
InputDevice InputOf(const PlayerConfig& config);
void SetInput(PlayerConfig& config, InputDevice device);

// Screen state besides the selection in AnimCounter and the shared tickPhase.
extern uint8_t optionsNameEntry;       // five characters of a name are being typed
extern uint8_t optionsKeyCapture;      // four keys are being captured
extern uint32_t optionsEntryPosition;  // characters or keys taken so far

// Runs the screen until Escape, writes the configuration file and fades the palette out.
void OptionsScreen();
// The tick handler: every 7 ticks, unless an entry runs, Up, Down, Enter/Space, Left, Right.
void OptionsTick();
// Labels, values and the markers of the selected row, drawn into a buffer.
void DrawOptionsPage(uint8_t* target, int32_t selection);
// The centre y of a row's value and markers.
int32_t OptionRowY(int32_t row);
