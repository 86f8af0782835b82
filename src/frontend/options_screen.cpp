#include "options_screen.h"

#include <cstring>

#include "config_file.h"
#include "display.h"
#include "game_data.h"
#include "keyboard.h"
#include "player.h"
#include "ticks.h"

namespace {
constexpr PageLine Line(const char* text) {
  return MakeText<kPageLineCapacity>(text);
}
}  // namespace

const PageLine kOptionLabels[kPageLines] = {
    Line(".. the options .."),
    Line(" "),
    Line(" * player 1 ..               "),
    Line("* drop speed             "),
    Line("* beans to link          "),
    Line("* name                   "),
    Line("* cpu strength           "),
    Line("* input                  "),
    Line("* key config             "),
    Line("* mouse delay            "),
    Line(" * player 2 ..               "),
    Line("* drop speed             "),
    Line("* beans to link          "),
    Line("* name                   "),
    Line("* cpu strength           "),
    Line("* input                  "),
    Line("* key config             "),
    Line("* mouse delay            "),
};

const FixedText<kKeyNameCapacity> kKeyNames[kCapturedKeys] = {
    MakeText<kKeyNameCapacity>("left"),
    MakeText<kKeyNameCapacity>("right"),
    MakeText<kKeyNameCapacity>("rotate"),
    MakeText<kKeyNameCapacity>("down"),
};

const char* const kInputWords[kInputDevices] = {"keyboard", "joypad1", "joypad2", "mouse"};

uint8_t optionsNameEntry = 0;
uint8_t optionsKeyCapture = 0;
uint32_t optionsEntryPosition = 0;

namespace {

constexpr int32_t kPlayer1FirstRowY = 79;
constexpr int32_t kPlayer2FirstRowY = 255;
constexpr int32_t kRowStep = 22;
constexpr int32_t kMarkerX = 15, kMarkerMirrorX = 625;
constexpr uint32_t kNumberChars = 2;  // values are shown with at most two characters

// The rows that hold a number, with the range the arrows keep them in.
struct NumberRow {
  int32_t row;
  uint32_t PlayerConfig::*field;
  uint32_t lowest;
  uint32_t highest;
};
constexpr NumberRow kNumberRows[] = {
    {kRowDropSpeed, &PlayerConfig::dropSpeed, 1, 2},
    {kRowBeansToLink, &PlayerConfig::beansToLink, 3, 99},
    {kRowCpuStrength, &PlayerConfig::cpuStrength, 1, 5},
    {kRowMouseDelay, &PlayerConfig::mouseDelay, 5, 99},
};

int PlayerOfRow(int32_t row) {
  return row >= kOptionRowsPerPlayer ? 2 : 1;
}

const NumberRow* NumberRowOf(int32_t playerRow) {
  for (const NumberRow& n : kNumberRows)
    if (n.row == playerRow) return &n;
  return nullptr;
}

uint32_t* CapturedKey(PlayerConfig& config, uint32_t position) {
  uint32_t* keys[kCapturedKeys] = {&config.keyLeft, &config.keyRight, &config.keyRotate,
                                   &config.keyDown};
  return keys[position];
}

// Left (direction -1) or Right (+1) on a row. The comparisons are unsigned, so a value loaded
// outside its range only ever moves back towards it.
void StepValue(int32_t row, int direction) {
  PlayerConfig& config = PlayerState[PlayerOfRow(row)].config;
  const int32_t playerRow = row % kOptionRowsPerPlayer;
  if (playerRow == kRowInput) {
    const int step = direction < 0 ? 1 : kInputDevices - 1;
    SetInput(config, static_cast<InputDevice>((InputOf(config) + step) % kInputDevices));
    Play(kValueSound);
    return;
  }
  const NumberRow* number = NumberRowOf(playerRow);
  if (!number) return;
  uint32_t& value = config.*(number->field);
  if (direction < 0 && value > number->lowest) {
    --value;
    Play(kValueSound);
  } else if (direction > 0 && value < number->highest) {
    ++value;
    Play(kValueSound);
  }
}

void DrawValue(uint8_t* target, const char* text, uint32_t length, int32_t row) {
  DrawTextN(target, text, length, kOptionValueX, OptionRowY(row), kSmallFont);
}

void DrawPlayerValues(uint8_t* target, int p) {
  const PlayerConfig& config = PlayerState[p].config;
  const int32_t firstRow = (p - 1) * kOptionRowsPerPlayer;
  for (const NumberRow& n : kNumberRows) {
    char digits[24];
    const int written = FormatNumber(digits, sizeof digits, config.*(n.field));
    const uint32_t length = written < static_cast<int>(kNumberChars) ? written : kNumberChars;
    DrawValue(target, digits, length, firstRow + n.row);
  }
  const uint32_t nameLength =
      config.name.length < kNameCapacity ? config.name.length : kNameCapacity;
  DrawValue(target, config.name.chars, nameLength, firstRow + kRowName);
  const char* word = kInputWords[InputOf(config)];
  DrawValue(target, word, static_cast<uint32_t>(strlen(word)), firstRow + kRowInput);
}

// Name entry: one typed character per frame, five in all; keys without a character are ignored.
void TakeNameCharacter() {
  ConfigName& name = PlayerState[PlayerOfRow(AnimCounter)].config.name;
  WaitKeysReleased();
  char c;
  while ((c = KeyToChar()) == 0) WaitTick();
  Play(kValueSound);
  name.chars[optionsEntryPosition] = c;
  name.length = kNameCapacity;
  if (++optionsEntryPosition == kNameCapacity) {
    Play(kConfirmSound);
    optionsEntryPosition = 0;
    WaitKeysReleased();
    optionsNameEntry = 0;
  }
}

// Key capture: one key per frame, four in all; any key but left Shift is taken.
void TakeKey() {
  const int32_t row = AnimCounter;
  const FixedText<kKeyNameCapacity>& asked = kKeyNames[optionsEntryPosition];
  DrawValue(FrameBuffer, asked.chars, asked.length, row);
  PresentFrame(FrameBuffer);
  WaitKeysReleased();
  uint8_t key;
  while ((key = FirstKeyDown()) == 0) WaitTick();
  Play(kValueSound);
  *CapturedKey(PlayerState[PlayerOfRow(row)].config, optionsEntryPosition) = key;
  if (++optionsEntryPosition == kCapturedKeys) {
    Play(kConfirmSound);
    optionsEntryPosition = 0;
    WaitKeysReleased();
    optionsKeyCapture = 0;
  }
}

}  // namespace

InputDevice InputOf(const PlayerConfig& config) {
  if (config.useJoypad1) return kJoypad1;
  if (config.useJoypad2) return kJoypad2;
  if (config.useMouse) return kMouse;
  return kKeyboard;
}

void SetInput(PlayerConfig& config, InputDevice device) {
  config.useJoypad1 = device == kJoypad1 ? 1 : 0;
  config.useJoypad2 = device == kJoypad2 ? 1 : 0;
  config.useMouse = device == kMouse ? 1 : 0;
}

int32_t OptionRowY(int32_t row) {
  return row < kOptionRowsPerPlayer ? kPlayer1FirstRowY + kRowStep * row
                                    : kPlayer2FirstRowY + kRowStep * (row - kOptionRowsPerPlayer);
}

void OptionsTick() {
  if (KeyPollDue() && !optionsNameEntry && !optionsKeyCapture) {
    int32_t& selection = AnimCounter;
    if (KeyState[scan::kUp] && selection > 0) {
      --selection;
      Play(kCursorSound);
    }
    if (KeyState[scan::kDown] && selection < kOptionRows - 1) {
      ++selection;
      Play(kCursorSound);
    }
    if (KeyState[scan::kReturn] || KeyState[scan::kSpace]) {
      const int32_t playerRow = selection % kOptionRowsPerPlayer;
      if (playerRow == kRowName) {
        optionsNameEntry = 1;
        Play(kConfirmSound);
      } else if (playerRow == kRowKeyConfig) {
        optionsKeyCapture = 1;
        Play(kConfirmSound);
      }
    }
    if (KeyState[scan::kLeft]) StepValue(selection, -1);
    if (KeyState[scan::kRight]) StepValue(selection, +1);
  }
  AdvanceTickPhase();
}

void DrawOptionsPage(uint8_t* target, int32_t selection) {
  DrawPageLines(target, kOptionLabels);
  DrawPlayerValues(target, 1);
  DrawPlayerValues(target, 2);
  if (selection >= 0 && selection < kOptionRows) {
    DrawSprite(target, kMarkerX, OptionRowY(selection), markerSprite);
    DrawSprite(target, kMarkerMirrorX, OptionRowY(selection), markerMirrorSprite);
  }
}

void OptionsScreen() {
  WaitKeysReleased();
  AnimCounter = 0;
  tickPhase = 0;
  optionsEntryPosition = 0;
  optionsNameEntry = 0;
  optionsKeyCapture = 0;
  InstallTickHandler(OptionsTick);
  for (;;) {
    WaitTick();
    CopyWords(BackBuffer, FrameBuffer, kScreenWords);
    DrawOptionsPage(FrameBuffer, AnimCounter);
    PresentFrame(FrameBuffer);
    // Names are typed and keys captured on the keyboard alone: a controller's button must not
    // become a key or stop the typing.
    SetPadMenuKeys(!optionsNameEntry && !optionsKeyCapture);
    if (optionsNameEntry) TakeNameCharacter();
    if (optionsKeyCapture) TakeKey();
    if (KeyState[scan::kEscape]) break;
  }
  SetPadMenuKeys(true);
  Play(kConfirmSound);
  RemoveTickHandler();
  SavePlayerConfigs();
  FadeOut(Palette);
}
