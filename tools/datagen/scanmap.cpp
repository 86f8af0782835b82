// data/scanmap: the SDL 1.2 key symbol of every key to the PC set-1 scancode the game tests.
// The game's name entry reads a German keyboard, so a symbol goes to the key that types it
// there; symbols that only a US keyboard delivers go to their US key.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "fatal.h"
#include "keyboard.h"
#include "keysyms.h"
#include "parts.h"

namespace {
constexpr uint8_t kIgnored = 255;  // any value of 128 or more drops the key's events

struct KeyEntry {
  uint16_t symbol;
  uint8_t scancode;
};

// Letters in keyboard order: the set-1 rows run q..p from 16, a..l from 30, y..m from 44
// (German: "z" sits where US has "y" and the other way round).
constexpr char kLetterRows[3][11] = {"qwertzuiop", "asdfghjkl", "yxcvbnm"};
constexpr uint8_t kLetterRowStart[3] = {16, 30, 44};
constexpr uint8_t kDigitOneScancode = 2;  // "1".."9" are 2..10
constexpr uint8_t kDigitZeroScancode = 11;
constexpr uint8_t kF1Scancode = 59;                                          // F1..F10 are 59..68
constexpr uint8_t kF11Scancode = 87, kF12Scancode = 88, kF13Scancode = 100;  // F13..F15 100..102

// Keypad 0..9 by digit (the keypad's own codes, which the cursor block shares behind its E0
// prefix, so the keypad arrows also steer the menus).
constexpr uint8_t kKeypadDigit[10] = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};

constexpr KeyEntry kOtherKeys[] = {
    {keysym::kBackspace, 14},
    {keysym::kTab, 15},
    {keysym::kClear, 76},  // keypad 5 without Num Lock
    {keysym::kReturn, scan::kReturn},
    {keysym::kEscape, scan::kEscape},
    {keysym::kSpace, scan::kSpace},
    // Symbols a German keyboard types without Shift, where the name entry expects them.
    {keysym::kQuote, 13},
    {keysym::kPlus, 27},
    {keysym::kHash, 41},
    {keysym::kComma, 51},
    {keysym::kPeriod, 52},
    {keysym::kMinus, 53},
    {keysym::kAsterisk, 55},
    {keysym::kLess, 86},  // the extra key left of "y"
    {keysym::kCaret, 41},
    // Shifted symbols (delivered by layouts that type them without Shift): their German key.
    {keysym::kExclaim, 2},
    {keysym::kQuoteDbl, 3},
    {keysym::kDollar, 5},
    {keysym::kAmpersand, 7},
    {keysym::kLeftParen, 9},
    {keysym::kRightParen, 10},
    {keysym::kColon, 52},
    {keysym::kGreater, 86},
    {keysym::kQuestion, 12},
    {keysym::kUnderscore, 53},
    {keysym::kAt, 3},
    // Symbols only a US keyboard types without Shift: their US key.
    {keysym::kSemicolon, 39},
    {keysym::kEquals, 13},
    {keysym::kSlash, 53},
    {keysym::kLeftBracket, 26},
    {keysym::kBackslash, 43},
    {keysym::kRightBracket, 27},
    {keysym::kBackquote, 41},
    {keysym::kDelete, 83},
    // Keypad operators.
    {keysym::kKpPeriod, 83},
    {keysym::kKpDivide, 53},
    {keysym::kKpMultiply, 55},
    {keysym::kKpMinus, 74},
    {keysym::kKpPlus, 78},
    {keysym::kKpEnter, scan::kReturn},
    {keysym::kKpEquals, 89},
    // Cursor block and the six keys above it.
    {keysym::kUp, scan::kUp},
    {keysym::kDown, scan::kDown},
    {keysym::kRight, scan::kRight},
    {keysym::kLeft, scan::kLeft},
    {keysym::kInsert, 82},
    {keysym::kHome, 71},
    {keysym::kEnd, 79},
    {keysym::kPageUp, 73},
    {keysym::kPageDown, 81},
    // Locks and modifiers (left and right Ctrl and Alt share their codes).
    {keysym::kNumLock, 69},
    {keysym::kCapsLock, 58},
    {keysym::kScrollLock, 70},
    {keysym::kRShift, scan::kRShift},
    {keysym::kLShift, scan::kLShift},
    {keysym::kRCtrl, 29},
    {keysym::kLCtrl, 29},
    {keysym::kRAlt, 56},
    {keysym::kLAlt, 56},
    {keysym::kSysReq, 84},
    // Pause, Print, Break, Menu, Meta, Super, Compose, AltGr mode, Power, Help, Euro, Undo and
    // the international "world" keys stay ignored.
};
}  // namespace

void WriteScanMap(const std::filesystem::path& dataDir) {
  uint8_t map[kScanMapSize];
  memset(map, kIgnored, sizeof map);

  for (int row = 0; row < 3; ++row)
    for (int i = 0; kLetterRows[row][i] != 0; ++i)
      map[static_cast<uint8_t>(kLetterRows[row][i])] =
          static_cast<uint8_t>(kLetterRowStart[row] + i);
  for (int digit = 1; digit <= 9; ++digit)
    map[keysym::k0 + digit] = static_cast<uint8_t>(kDigitOneScancode + digit - 1);
  map[keysym::k0] = kDigitZeroScancode;

  for (int i = 0; i < 10; ++i) map[keysym::kF1 + i] = static_cast<uint8_t>(kF1Scancode + i);
  map[keysym::kF1 + 10] = kF11Scancode;
  map[keysym::kF1 + 11] = kF12Scancode;
  for (int i = 0; i < 3; ++i) map[keysym::kF1 + 12 + i] = static_cast<uint8_t>(kF13Scancode + i);

  for (int digit = 0; digit <= 9; ++digit) map[keysym::kKp0 + digit] = kKeypadDigit[digit];
  for (const KeyEntry& key : kOtherKeys) map[key.symbol] = key.scancode;

  const std::filesystem::path file = dataDir / "scanmap";
  FILE* f = fopen(file.c_str(), "wb");
  if (!f) FatalError("cannot create %s: %s", file.c_str(), strerror(errno));
  const bool written = fwrite(map, 1, sizeof map, f) == sizeof map;
  if (fclose(f) != 0 || !written) FatalError("cannot write %s: input/output error", file.c_str());
}
