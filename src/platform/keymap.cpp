#include "keymap.h"

#include "keysyms.h"

namespace {
struct Translation {
  uint32_t code;
  uint16_t symbol;
};

// Keys without a character. The keypad, function and cursor keys run in a different order in
// the two numberings, so each is listed.
constexpr Translation kPositionKeys[] = {
    {keycode::kKp0, keysym::kKp0},
    {keycode::kKpPeriod, keysym::kKpPeriod},
    {keycode::kKpDivide, keysym::kKpDivide},
    {keycode::kKpMultiply, keysym::kKpMultiply},
    {keycode::kKpMinus, keysym::kKpMinus},
    {keycode::kKpPlus, keysym::kKpPlus},
    {keycode::kKpEnter, keysym::kKpEnter},
    {keycode::kKpEquals, keysym::kKpEquals},
    {keycode::kUp, keysym::kUp},
    {keycode::kDown, keysym::kDown},
    {keycode::kRight, keysym::kRight},
    {keycode::kLeft, keysym::kLeft},
    {keycode::kInsert, keysym::kInsert},
    {keycode::kHome, keysym::kHome},
    {keycode::kEnd, keysym::kEnd},
    {keycode::kPageUp, keysym::kPageUp},
    {keycode::kPageDown, keysym::kPageDown},
    {keycode::kNumLock, keysym::kNumLock},
    {keycode::kCapsLock, keysym::kCapsLock},
    {keycode::kScrollLock, keysym::kScrollLock},
    {keycode::kRShift, keysym::kRShift},
    {keycode::kLShift, keysym::kLShift},
    {keycode::kRCtrl, keysym::kRCtrl},
    {keycode::kLCtrl, keysym::kLCtrl},
    {keycode::kRAlt, keysym::kRAlt},
    {keycode::kLAlt, keysym::kLAlt},
    {keycode::kLGui, keysym::kLSuper},
    {keycode::kRGui, keysym::kRSuper},
    {keycode::kMode, keysym::kMode},
    {keycode::kHelp, keysym::kHelp},
    {keycode::kPrintScreen, keysym::kPrint},
    {keycode::kSysReq, keysym::kSysReq},
    {keycode::kApplication, keysym::kMenu},
    {keycode::kMenu, keysym::kMenu},
    {keycode::kPower, keysym::kPower},
    {keycode::kUndo, keysym::kUndo},
    {keycode::kClear, keysym::kClear},
    {keycode::kPause, keysym::kPause},
};

constexpr uint32_t kLastAscii = 127;
constexpr uint32_t kFirstWorld = keysym::kWorld0, kLastWorld = keysym::kWorld95;
}  // namespace

uint16_t KeySymbolOf(uint32_t code) {
  // Characters: ASCII keeps its number, the Latin-1 letters (160..255) were the "world" keys.
  if (code <= kLastAscii || (code >= kFirstWorld && code <= kLastWorld))
    return static_cast<uint16_t>(code);
  if (code == keycode::kEuro) return keysym::kEuro;
  if (code >= keycode::kF1 && code <= keycode::kF12)
    return static_cast<uint16_t>(keysym::kF1 + (code - keycode::kF1));
  if (code >= keycode::kF13 && code <= keycode::kF15)
    return static_cast<uint16_t>(keysym::kF1 + 12 + (code - keycode::kF13));
  if (code >= keycode::kKp1 && code <= keycode::kKp9)
    return static_cast<uint16_t>(keysym::kKp0 + 1 + (code - keycode::kKp1));
  for (const Translation& t : kPositionKeys)
    if (t.code == code) return t.symbol;
  return 0;
}
