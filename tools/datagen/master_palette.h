// The one palette shared by the sprite sheets, the logo, the menu picture and the game background.
#pragma once
#include "canvas.h"
#include "game_screen.h"  // the colour bars' palette entries, kColourBarIndex
#include "player.h"       // the colour codes: 1 black bean, 2..6 the five bean colours

// The entries the colour bars use hold exactly the main body tone of each colour code's bean.

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
