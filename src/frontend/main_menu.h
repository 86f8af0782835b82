// The main menu: the build-up of picture and logo, the choice of seven items, and the GameMode
// it writes into both players' records.
#pragma once
#include <cstdint>

#include "text.h"

constexpr int kMenuItems = 7;
constexpr uint32_t kMenuItemCapacity = 12;
enum MenuItem : int32_t {
  kItemSingleHuman = 0,
  kItemHumanVsCpu = 1,
  kItemTwoHumans = 2,
  kItemCredits = 3,
  kItemOptions = 4,
  kItemHelp = 5,
  kItemExit = 6,
};
constexpr int32_t kDemoSelection = 666;  // the hidden demo key D

extern const FixedText<kMenuItemCapacity> kMenuItemTexts[kMenuItems];
extern const int32_t kMenuItemY[kMenuItems];
// The logo's centre on the finished menu, under the items and the pages drawn over the menu.
constexpr int32_t kLogoX = 320, kLogoY = 190;
constexpr uint32_t kLogoDotsScale = 500;  // percent: the logo's dots while they slide in and stand

// The GameMode flags of player 1 and player 2.
struct GameMode {
  uint8_t cpuControlled[2];
  uint8_t absent[2];
};
constexpr GameMode kSingleHuman{{0, 0}, {0, 1}};
constexpr GameMode kHumanVsCpu{{0, 1}, {0, 0}};
constexpr GameMode kTwoHumans{{0, 0}, {0, 0}};
constexpr GameMode kCpuDemo{{1, 1}, {0, 0}};
void SetGameMode(const GameMode& mode);

// Runs the menu until a match is chosen (GameMode written) or the program is to end
// (exitRequested set); credits, options and help run from inside it. Ends with a faded palette.
void MainMenu();

// The tick handler of the choice: every 7 ticks Up, Down, Escape and D; AnimCounter is the
// selection.
void MenuTick();

// One frame of the build-up drawn into the back buffer: the four strips of the menu picture
// (held in the frame buffer) at fly-in clock c, and the logo over the picture at zoom clock g.
void DrawMenuFlyIn(int32_t c);
void DrawLogoZoom(int32_t g);
// The items and, for a selection 0..6, the two markers, drawn into a buffer.
void DrawMenuChoice(uint8_t* target, int32_t selection);
