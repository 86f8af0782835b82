// Key symbol and modifier values of the SDL 1.2 keyboard, as the event pump receives them: the
// numbering data/scanmap is indexed by. Backends translate their own key codes into these
// (keymap.h); the modifier bits are SDL 2's too, which the SDL backend checks at compile time.
#pragma once
#include <cstdint>

namespace keysym {
constexpr uint16_t kBackspace = 8, kTab = 9, kClear = 12, kReturn = 13, kPause = 19, kEscape = 27;
constexpr uint16_t kSpace = 32, kExclaim = 33, kQuoteDbl = 34, kHash = 35, kDollar = 36,
                   kAmpersand = 38, kQuote = 39, kLeftParen = 40, kRightParen = 41, kAsterisk = 42,
                   kPlus = 43, kComma = 44, kMinus = 45, kPeriod = 46, kSlash = 47;
constexpr uint16_t k0 = 48, k9 = 57;  // digits 48..57
constexpr uint16_t kColon = 58, kSemicolon = 59, kLess = 60, kEquals = 61, kGreater = 62,
                   kQuestion = 63, kAt = 64;
constexpr uint16_t kLeftBracket = 91, kBackslash = 92, kRightBracket = 93, kCaret = 94,
                   kUnderscore = 95, kBackquote = 96;
constexpr uint16_t kA = 97, kZ = 122;  // letters 97..122
constexpr uint16_t kDelete = 127;
constexpr uint16_t kWorld0 = 160, kWorld95 = 255;
constexpr uint16_t kKp0 = 256, kKp9 = 265, kKpPeriod = 266, kKpDivide = 267, kKpMultiply = 268,
                   kKpMinus = 269, kKpPlus = 270, kKpEnter = 271, kKpEquals = 272;
constexpr uint16_t kUp = 273, kDown = 274, kRight = 275, kLeft = 276, kInsert = 277, kHome = 278,
                   kEnd = 279, kPageUp = 280, kPageDown = 281;
constexpr uint16_t kF1 = 282, kF4 = 285, kF12 = 293, kF15 = 296;
constexpr uint16_t kNumLock = 300, kCapsLock = 301, kScrollLock = 302, kRShift = 303, kLShift = 304,
                   kRCtrl = 305, kLCtrl = 306, kRAlt = 307, kLAlt = 308, kRMeta = 309, kLMeta = 310,
                   kLSuper = 311, kRSuper = 312, kMode = 313, kCompose = 314, kHelp = 315,
                   kPrint = 316, kSysReq = 317, kBreak = 318, kMenu = 319, kPower = 320,
                   kEuro = 321, kUndo = 322;
constexpr int kCount = 323;  // symbols run 0..322
}  // namespace keysym

namespace keymod {
constexpr uint16_t kLShift = 0x0001, kRShift = 0x0002, kLCtrl = 0x0040, kRCtrl = 0x0080,
                   kLAlt = 0x0100, kRAlt = 0x0200, kLMeta = 0x0400, kRMeta = 0x0800, kNum = 0x1000,
                   kCaps = 0x2000, kMode = 0x4000;
}  // namespace keymod
