// Key codes of the SDL 2 keyboard (the values SDL 2 and the browser backend deliver) and their
// translation to the SDL 1.2 key symbols that index the ScanMap. Kept as our own constants, free
// of SDL, so every backend shares one table; the SDL backend checks at compile time that they
// match SDL's.
#pragma once
#include <cstdint>

namespace keycode {
// Keys that type a character have that character's code; the others carry the key's position
// (its USB usage number) with this bit set.
constexpr uint32_t kPositionBit = 1u << 30;
constexpr uint32_t At(uint32_t position) {
  return position | kPositionBit;
}
constexpr uint32_t kReturn = '\r', kEscape = 27, kBackspace = 8, kTab = '\t', kSpace = ' ',
                   kDelete = 127, kA = 'a', kZ = 'z', k0 = '0', k9 = '9';
constexpr uint32_t kEuro = 0x20AC;
constexpr uint32_t kCapsLock = At(57), kF1 = At(58), kF12 = At(69), kPrintScreen = At(70),
                   kScrollLock = At(71), kPause = At(72), kInsert = At(73), kHome = At(74),
                   kPageUp = At(75), kEnd = At(77), kPageDown = At(78), kRight = At(79),
                   kLeft = At(80), kDown = At(81), kUp = At(82), kNumLock = At(83),
                   kKpDivide = At(84), kKpMultiply = At(85), kKpMinus = At(86), kKpPlus = At(87),
                   kKpEnter = At(88), kKp1 = At(89), kKp9 = At(97), kKp0 = At(98),
                   kKpPeriod = At(99), kApplication = At(101), kPower = At(102),
                   kKpEquals = At(103), kF13 = At(104), kF15 = At(106), kHelp = At(117),
                   kMenu = At(118), kUndo = At(122), kSysReq = At(154), kClear = At(156),
                   kLCtrl = At(224), kLShift = At(225), kLAlt = At(226), kLGui = At(227),
                   kRCtrl = At(228), kRShift = At(229), kRAlt = At(230), kRGui = At(231),
                   kMode = At(257);
}  // namespace keycode

// The SDL 1.2 key symbol (0..322) of an SDL 2 key code; 0 (the unknown symbol) for a key that
// SDL 1.2 had no symbol for. Modifier bits have the same values in both, so they pass unchanged.
uint16_t KeySymbolOf(uint32_t keyCode);
