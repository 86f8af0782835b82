#include "keyboard.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "fatal.h"

uint8_t KeyState[kKeyStateSize];
uint8_t ScanMap[kScanMapSize];

namespace {
// What each source holds; the KeyState is their union.
uint8_t heldBy[2][kKeyStateSize];

// Characters of the name entry by scancode (a German keyboard layout).
constexpr char kCharTable[kKeyStateSize] = {
    0,   0,   '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0,   '\'', 0,   0,    // 0..15
    'q', 'w', 'e', 'r', 't', 'z', 'u', 'i', 'o', 'p', 0,   '+', 0,   0,    'a', 's',  // 16..31
    'd', 'f', 'g', 'h', 'j', 'k', 'l', 0,   0,   '#', 0,   0,   'y', 'x',  'c', 'v',  // 32..47
    'b', 'n', 'm', ',', '.', '-', 0,   '*', 0,   ' ',                                 // 48..57
};
}  // namespace

void LoadScanMap(const char* file) {
  memset(ScanMap, 0, sizeof ScanMap);
  FILE* f = fopen(file, "rb");
  if (!f) FatalError("cannot open %s: %s", file, strerror(errno));
  fread(ScanMap, 1, sizeof ScanMap, f);  // a short file leaves the missing entries 0
  const bool failed = ferror(f) != 0;
  fclose(f);
  if (failed) FatalError("cannot read %s: input/output error", file);
}

void SetKey(KeySource source, uint8_t scancode, bool down) {
  if (scancode >= kKeyStateSize) return;
  heldBy[static_cast<int>(source)][scancode] = down ? 1 : 0;
  KeyState[scancode] = heldBy[0][scancode] | heldBy[1][scancode];
}

void ClearKeyState() {
  memset(KeyState, 0, sizeof KeyState);
  memset(heldBy, 0, sizeof heldBy);
}

bool AnyKeyDown() {
  for (int s = 1; s < kKeyStateSize; ++s)
    if (KeyState[s]) return true;
  return false;
}

uint8_t FirstKeyDown() {
  for (int s = 1; s < kKeyStateSize; ++s)
    if (s != scan::kLShift && KeyState[s]) return static_cast<uint8_t>(s);
  return 0;
}

char ScancodeToChar(uint8_t scancode) {
  return scancode < kKeyStateSize ? kCharTable[scancode] : 0;
}

char KeyToChar() {
  for (int s = 1; s < kKeyStateSize; ++s)
    if (KeyState[s]) return kCharTable[s];
  return 0;
}
