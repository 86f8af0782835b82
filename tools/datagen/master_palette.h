// The one palette shared by the sprite sheets, the logo, the menu picture and the game background.
#pragma once
#include "canvas.h"

// Colour codes of the game: 1 black bean, 2..6 the five bean colours.
constexpr int kBlackBean = 1;
constexpr int kFirstBeanColour = 2;
constexpr int kLastBeanColour = 6;
constexpr int kColourCodes = 7;  // indices 0..6, 0 unused

// The palette entries the status panel's colour bars use, by colour code (0 unused). Each holds
// exactly the main body tone of that bean.
constexpr int kColourBarIndex[kColourCodes] = {0, 28, 32, 96, 144, 207, 169};

struct Colour {
  double r, g, b;  // 0..1
};

// Main body tone of every colour code (the colour-bar entries show these).
Colour BeanTone(int colour);

// Ranges of the palette, each a ramp from dark to light (the key entries above sit inside them).
struct PaletteRange {
  int first, last;
};
constexpr PaletteRange kGreyRange = {1, 15};
constexpr PaletteRange kBlackBeanRange = {16, 31};
constexpr PaletteRange kRedRange = {32, 63};
constexpr PaletteRange kGoldRange = {64, 79};
constexpr PaletteRange kGreenRange = {80, 111};
constexpr PaletteRange kCyanRange = {112, 127};
constexpr PaletteRange kBlueRange = {128, 159};
constexpr PaletteRange kPurpleRange = {160, 191};
constexpr PaletteRange kYellowRange = {192, 223};
constexpr PaletteRange kNightRange = {224, 255};

const PaletteData& MasterPalette();
// Nearest-colour mapping over entries 1..255 of the master palette (shared, built once).
const PaletteMapper& MasterMapper();
