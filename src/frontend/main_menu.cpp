#include "main_menu.h"

#include "display.h"
#include "frontend_common.h"
#include "game_data.h"
#include "info_pages.h"
#include "keyboard.h"
#include "main_flow.h"
#include "options_screen.h"
#include "picture.h"
#include "player.h"
#include "ticks.h"

const FixedText<kMenuItemCapacity> kMenuItemTexts[kMenuItems] = {
    MakeText<kMenuItemCapacity>("single human"), MakeText<kMenuItemCapacity>("human vs cpu"),
    MakeText<kMenuItemCapacity>("2 humans vs"),  MakeText<kMenuItemCapacity>("credits"),
    MakeText<kMenuItemCapacity>("options"),      MakeText<kMenuItemCapacity>("help"),
    MakeText<kMenuItemCapacity>("exit"),
};
const int32_t kMenuItemY[kMenuItems] = {25, 75, 125, 200, 250, 300, 375};

namespace {

// Fly-in: the strips of the menu picture close in while the clock runs down to -315.
constexpr int32_t kFlyInLastClock = -315;

// Logo zoom: the clock runs down from 700; the dots slide in, stand, close up, and the logo
// stands whole until -1199.
constexpr int32_t kZoomStartClock = 700;
constexpr int32_t kZoomLastClock = -1199;
constexpr int32_t kZoomSlideEnd = 60;     // from here down the dots stand at the centre
constexpr int32_t kZoomStandEnd = 0;      // from here down the dots close up
constexpr int32_t kZoomCloseEnd = -400;   // from here down the logo is drawn whole
constexpr int32_t kZoomDrawnEnd = -1250;  // below this nothing is drawn
constexpr int32_t kCloseUpBase = 500;     // scale (g + 500) % while closing up
constexpr int32_t kLogoSlideBaseX = 200;  // x = 2 g + 200 while sliding in

// The tiles over the finished menu picture: 5 x 8 places, the last column clipped.
constexpr int32_t kTileX[] = {75, 225, 375, 525, 675};
constexpr int32_t kTileY[] = {25, 75, 125, 175, 225, 275, 325, 375};

constexpr int32_t kMarkerX = 15, kMarkerMirrorX = 625;

// The strips of the menu picture: 0 from above, 1 from the left, 2 from the right, 3 from below.
constexpr StripPath kFlyInPaths[kStripCount] = {
    {320, 0, -270, -1}, {-320, -2, 150, 0}, {960, 2, 250, 0}, {320, 0, 670, 1}};

void MenuBuildUp() {
  // The picture: shown black first, then loaded with its palette into the frame buffer, which
  // holds it for the whole build-up; the back buffer receives what is shown.
  FillWords(FrameBuffer, kScreenWords, 0);
  PresentFrame(FrameBuffer);
  LoadPicture(FrameBuffer, kMenuPictureFile, true, kScreenWidth, kScreenHeight);
  FillWords(BackBuffer, kScreenWords, 0);
  Play(kMenuStartSound);

  AnimCounter = 0;
  InstallTickHandler(AnimCountDown);
  int32_t c;
  do {
    WaitTick();
    c = AnimCounter;
    DrawMenuFlyIn(c);
    PresentFrame(BackBuffer);
  } while (!AnyKeyDown() && c >= kFlyInLastClock);
  RemoveTickHandler();
  WaitKeysReleased();

  AnimCounter = kZoomStartClock;
  InstallTickHandler(AnimCountDown);
  int32_t g;
  do {
    WaitTick();
    g = AnimCounter;
    DrawLogoZoom(g);
    PresentFrame(BackBuffer);
  } while (!AnyKeyDown() && g >= kZoomLastClock);
  RemoveTickHandler();

  CopyWords(FrameBuffer, BackBuffer, kScreenWords);
  DrawSprite(BackBuffer, kLogoX, kLogoY, logoSprite);
  PresentFrame(BackBuffer);
  // The tiles first show with the first frame of the choice.
  for (int32_t y : kTileY)
    for (int32_t x : kTileX) DrawSprite(BackBuffer, x, y, tileSprite);
  WaitKeysReleased();
  Play(kMenuReadySound);
}

// Returns the selection: 0..6, or 666 after D.
int32_t MenuChoice() {
  AnimCounter = kItemSingleHuman;
  tickPhase = 0;
  InstallTickHandler(MenuTick);
  for (;;) {
    WaitTick();
    CopyWords(BackBuffer, FrameBuffer, kScreenWords);
    DrawMenuChoice(FrameBuffer, AnimCounter);
    PresentFrame(FrameBuffer);
    if (KeyState[scan::kReturn] || KeyState[scan::kSpace] || exitRequested ||
        AnimCounter == kDemoSelection)
      break;
  }
  RemoveTickHandler();
  Play(kConfirmSound);
  return AnimCounter;
}

}  // namespace

void SetGameMode(const GameMode& mode) {
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerState[p].cpuControlled = mode.cpuControlled[p - 1];
    PlayerState[p].absent = mode.absent[p - 1];
  }
}

void MenuTick() {
  if (KeyPollDue()) {
    int32_t& selection = AnimCounter;
    // The demo choice is final: the loop ends on it at the next frame.
    const bool demoChosen = selection == kDemoSelection;
    if (KeyState[scan::kUp] && selection > kItemSingleHuman && !demoChosen) {
      --selection;
      Play(kCursorSound);
    }
    if (KeyState[scan::kDown] && selection < kItemExit) {
      ++selection;
      Play(kCursorSound);
    }
    if (KeyState[scan::kEscape]) exitRequested = 1;
    if (KeyState[scan::kD]) selection = kDemoSelection;
  }
  AdvanceTickPhase();
}

void DrawMenuFlyIn(int32_t c) {
  DrawStrips(kFlyInPaths, c, FrameBuffer, BackBuffer);
}

void DrawLogoZoom(int32_t g) {
  CopyWords(FrameBuffer, BackBuffer, kScreenWords);
  if (g >= kZoomSlideEnd && g <= kZoomStartClock)
    DrawSpriteDotted(BackBuffer, 2 * g + kLogoSlideBaseX, kLogoY, kLogoDotsScale, kLogoDotsScale,
                     logoSprite);
  else if (g >= kZoomStandEnd && g < kZoomSlideEnd)
    DrawSpriteDotted(BackBuffer, kLogoX, kLogoY, kLogoDotsScale, kLogoDotsScale, logoSprite);
  else if (g >= kZoomCloseEnd && g < kZoomStandEnd) {
    const uint32_t scale = static_cast<uint32_t>(g + kCloseUpBase);
    DrawSpriteDotted(BackBuffer, kLogoX, kLogoY, scale, scale, logoSprite);
  } else if (g >= kZoomDrawnEnd && g < kZoomCloseEnd)
    DrawSprite(BackBuffer, kLogoX, kLogoY, logoSprite);
}

void DrawMenuChoice(uint8_t* target, int32_t selection) {
  for (int i = 0; i < kMenuItems; ++i) {
    const auto& item = kMenuItemTexts[i];
    DrawTextN(target, item.chars, item.length, kScreenCentreX, kMenuItemY[i], kMenuFont);
  }
  if (selection >= kItemSingleHuman && selection <= kItemExit) {
    DrawSprite(target, kMarkerX, kMenuItemY[selection], markerSprite);
    DrawSprite(target, kMarkerMirrorX, kMenuItemY[selection], markerMirrorSprite);
  }
}

void MainMenu() {
  for (;;) {
    MenuBuildUp();
    const int32_t selection = MenuChoice();
    if (exitRequested) break;
    if (selection == kDemoSelection) {
      SetGameMode(kCpuDemo);
      break;
    }
    if (selection == kItemSingleHuman) {
      SetGameMode(kSingleHuman);
      break;
    }
    if (selection == kItemHumanVsCpu) {
      SetGameMode(kHumanVsCpu);
      break;
    }
    if (selection == kItemTwoHumans) {
      SetGameMode(kTwoHumans);
      break;
    }
    if (selection == kItemExit) {
      exitRequested = 1;
      break;
    }
    // Credits, options and help run on the menu's palette and background, without a fade;
    // the menu then builds up again.
    if (selection == kItemCredits) ShowInfoPage(kCreditsPage);
    if (selection == kItemOptions) OptionsScreen();
    if (selection == kItemHelp) ShowInfoPage(kHelpPage);
  }
  FadeOut(Palette);
}
