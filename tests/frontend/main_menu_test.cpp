// The main menu: the cursor handler, the build-up pictures, and whole runs down every path.
#include "main_menu.h"

#include <algorithm>

#include "info_pages.h"
#include "main_flow.h"
#include "options_screen.h"
#include "screen_fixture.h"

namespace {
using namespace screens;

class MainMenuTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    exitRequested = 0;
    for (int p = 1; p <= kPlayers; ++p) PlayerState[p].cpuControlled = PlayerState[p].absent = 7;
  }
  // In the choice: moves the cursor down to the item with a held Down and confirms with Return.
  void ChooseInMenu(int32_t item) {
    script.When([] { return Running(MenuTick); },
                [this, item] {
                  choiceStarts.push_back(AnimCounter);
                  if (item > 0) backend.KeyDown(backend.now, keysym::kDown);
                });
    script.When([item] { return AnimCounter == item; },
                [this] {
                  backend.KeyUp(backend.now, keysym::kDown);
                  Tap(keysym::kReturn);
                });
  }
  void EscapeInMenu() {
    script.When([] { return Running(MenuTick); },
                [this] {
                  choiceStarts.push_back(AnimCounter);
                  Tap(keysym::kEscape, 120);
                });
  }
  std::vector<int32_t> choiceStarts;  // the selection each time the choice began
  void ExpectMode(const GameMode& mode) {
    for (int p = 1; p <= kPlayers; ++p) {
      EXPECT_EQ(PlayerState[p].cpuControlled, mode.cpuControlled[p - 1]) << "player " << p;
      EXPECT_EQ(PlayerState[p].absent, mode.absent[p - 1]) << "player " << p;
    }
  }
  // The menu has faded out completely and left no handler behind.
  void ExpectCleanEnd() {
    EXPECT_TRUE(DisplayBlack());
    EXPECT_FALSE(TickHandlerActive);
    EXPECT_TRUE(script.Done());
  }
};

TEST_F(MainMenuTest, CursorIsSampledEverySeventhTickAndStaysWithinTheItems) {
  AnimCounter = kItemSingleHuman;
  tickPhase = 0;
  KeyState[scan::kUp] = 1;
  MenuTick();
  EXPECT_EQ(AnimCounter, kItemSingleHuman);
  EXPECT_TRUE(backend.sounds.empty()) << "no sound at the top";
  KeyState[scan::kUp] = 0;
  KeyState[scan::kDown] = 1;
  for (int t = 1; t < 14; ++t) MenuTick();  // phases 1..13: only phase 7 samples
  EXPECT_EQ(AnimCounter, 1);
  MenuTick();  // phase 14
  EXPECT_EQ(AnimCounter, 2);
  EXPECT_EQ(SoundsPlayed(), (std::vector<std::tuple<int, int, int>>{{13, 40, 0}, {13, 40, 0}}));

  AnimCounter = kItemExit;
  tickPhase = 0;
  MenuTick();
  EXPECT_EQ(AnimCounter, kItemExit);
  EXPECT_EQ(backend.sounds.size(), 2u) << "no sound at the bottom";

  AnimCounter = 3;  // both arrows: Up then Down in the same poll
  tickPhase = 139;
  MenuTick();
  EXPECT_EQ(tickPhase, 0);
  KeyState[scan::kUp] = 1;
  MenuTick();
  EXPECT_EQ(AnimCounter, 3);
  EXPECT_EQ(backend.sounds.size(), 4u);
}

TEST_F(MainMenuTest, EscapeAndTheDemoKeyEndTheChoiceAndTheDemoChoiceIsFinal) {
  tickPhase = 0;
  KeyState[scan::kEscape] = 1;
  MenuTick();
  EXPECT_EQ(exitRequested, 1);
  KeyState[scan::kEscape] = 0;
  tickPhase = 0;
  AnimCounter = 4;
  KeyState[scan::kD] = 1;
  MenuTick();
  EXPECT_EQ(AnimCounter, kDemoSelection);
  KeyState[scan::kD] = 0;
  KeyState[scan::kUp] = 1;  // a later poll in the same backlog must not leave the demo choice
  tickPhase = 0;
  MenuTick();
  EXPECT_EQ(AnimCounter, kDemoSelection);
}

TEST_F(MainMenuTest, FlyInStripsMeetToThePicture) {
  for (int i = 0; i < kScreenBytes; ++i) FrameBuffer[i] = static_cast<uint8_t>(i % 251 + 1);
  memset(BackBuffer, 0, kScreenBytes);
  DrawMenuFlyIn(0);  // all four strips still outside the screen
  EXPECT_EQ(std::count(BackBuffer, BackBuffer + kScreenBytes, 0), kScreenBytes);
  DrawMenuFlyIn(-320);
  EXPECT_EQ(memcmp(BackBuffer, FrameBuffer, kScreenBytes), 0);
  DrawMenuFlyIn(-160);  // strip 1 half way in from the left: its right half shows at the left
  EXPECT_EQ(BackBuffer[150 * kScreenWidth + 0], FrameBuffer[150 * kScreenWidth + 320]);
  EXPECT_EQ(BackBuffer[250 * kScreenWidth + 639], FrameBuffer[250 * kScreenWidth + 319]);
}

TEST_F(MainMenuTest, LogoZoomStages) {
  for (int i = 0; i < kScreenBytes; ++i) FrameBuffer[i] = 1;
  struct Stage {
    int32_t g;
    int kind;  // 0 nothing, 1 dotted, 2 whole
    int32_t x;
    uint32_t scale;
  };
  const Stage stages[] = {{700, 1, 1600, 500}, {100, 1, 400, 500},   {60, 1, 320, 500},
                          {30, 1, 320, 500},   {-1, 1, 320, 499},    {-399, 1, 320, 101},
                          {-400, 2, 320, 100}, {-1250, 2, 320, 100}, {-1251, 0, 0, 0}};
  for (const Stage& s : stages) {
    std::vector<uint8_t> expected(kScreenBytes, 1);
    if (s.kind == 1) DrawSpriteDotted(expected.data(), s.x, 190, s.scale, s.scale, logoSprite);
    if (s.kind == 2) DrawSprite(expected.data(), s.x, 190, logoSprite);
    DrawLogoZoom(s.g);
    EXPECT_EQ(memcmp(BackBuffer, expected.data(), kScreenBytes), 0) << "g = " << s.g;
  }
}

TEST_F(MainMenuTest, ChoiceDrawsItemsAndMarkersOnlyForRealItems) {
  std::vector<uint8_t> plain(kScreenBytes, 0);
  DrawMenuChoice(plain.data(), kDemoSelection);
  EXPECT_EQ(std::count(plain.begin(), plain.end(), kMarkerColour), 0);
  const auto exitItem = WithText(std::vector<uint8_t>(kScreenBytes, 0).data(), "exit", 320, 375, 3);
  EXPECT_TRUE(SameRegion(plain.data(), exitItem.data(), 30, 355, 610, 395));

  std::vector<uint8_t> marked(kScreenBytes, 0);
  DrawMenuChoice(marked.data(), kItemTwoHumans);
  EXPECT_EQ(marked[125 * kScreenWidth + 15], kMarkerColour);
  EXPECT_EQ(marked[121 * kScreenWidth + 4], kMarkerColour);  // 22 x 9 centred on (15, 125)
  EXPECT_EQ(marked[129 * kScreenWidth + 25], kMarkerColour);
  EXPECT_EQ(marked[130 * kScreenWidth + 15], 0);
  EXPECT_EQ(marked[125 * kScreenWidth + 625], kMarkerMirrorColour);
  EXPECT_EQ(std::count(marked.begin(), marked.end(), kMarkerColour), 22 * 9);
}

struct ModeCase {
  int32_t item;
  GameMode mode;
};
class MenuModeTest : public MainMenuTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(MenuModeTest, AnItemChoosesItsGameMode) {
  ChooseInMenu(GetParam().item);
  MainMenu();
  EXPECT_EQ(exitRequested, 0);
  ExpectMode(GetParam().mode);
  // Build-up sound, ready sound, the cursor moves, confirm.
  std::vector<std::tuple<int, int, int>> expected = {{17, 60, 0}, {15, 70, 1}};
  for (int i = 0; i < GetParam().item; ++i) expected.emplace_back(13, 40, 0);
  expected.emplace_back(18, 40, 0);
  EXPECT_EQ(SoundsPlayed(), expected);
  ExpectCleanEnd();
}

INSTANTIATE_TEST_SUITE_P(Items, MenuModeTest,
                         ::testing::Values(ModeCase{kItemSingleHuman, kSingleHuman},
                                           ModeCase{kItemHumanVsCpu, kHumanVsCpu},
                                           ModeCase{kItemTwoHumans, kTwoHumans}));

TEST_F(MainMenuTest, ExitItemAndEscapeLeaveTheModeFlagsAlone) {
  ChooseInMenu(kItemExit);
  MainMenu();
  EXPECT_EQ(exitRequested, 1);
  EXPECT_EQ(PlayerState[1].cpuControlled, 7);
  ExpectCleanEnd();

  exitRequested = 0;
  backend.sounds.clear();
  EscapeInMenu();
  MainMenu();
  EXPECT_EQ(exitRequested, 1);
  EXPECT_EQ(PlayerState[2].absent, 7);
  EXPECT_EQ(SoundsPlayed().back(), std::make_tuple(18, 40, 0)) << "confirm sounds on Escape too";
  ExpectCleanEnd();
}

TEST_F(MainMenuTest, DemoKeyStartsAComputerMatch) {
  script.When([] { return Running(MenuTick); }, [this] { Tap('d', 120); });
  MainMenu();
  EXPECT_EQ(exitRequested, 0);
  ExpectMode(kCpuDemo);
  ExpectCleanEnd();
}

TEST_F(MainMenuTest, AKeyCutsEachBuildUpPhaseAndIsNeverTakenAsAChoice) {
  struct Frame {
    uint32_t at;
    TickRoutine handler;
    int32_t counter;
  };
  std::vector<Frame> frames;
  backend.onPresent = [&frames](HeadlessBackend& b) {
    frames.push_back({b.now, TickHandlerActive ? TickHandler : nullptr, AnimCounter});
  };
  backend.KeyDown(0, keysym::kReturn);
  backend.KeyUp(2000, keysym::kReturn);
  backend.KeyDown(3000, keysym::kSpace);  // during the logo zoom
  backend.KeyUp(5000, keysym::kSpace);
  EscapeInMenu();
  MainMenu();
  EXPECT_EQ(exitRequested, 1);
  int flyIn = 0, zoom = 0;
  uint32_t firstZoom = 0, firstChoice = 0;
  for (const Frame& f : frames) {
    if (f.handler == AnimCountDown && f.counter <= 0) ++flyIn;
    if (f.handler == AnimCountDown && f.counter > 0 && zoom++ == 0) firstZoom = f.at;
    if (f.handler == MenuTick && firstChoice == 0) firstChoice = f.at;
  }
  EXPECT_EQ(flyIn, 1) << "the held key ends the fly-in after its first frame";
  EXPECT_GE(firstZoom, 2000u) << "the zoom waits for the release";
  EXPECT_GE(firstChoice, 5000u) << "the choice waits for the release";
  // The key cuts the zoom at once: the finished picture follows within a tick.
  uint32_t lastZoom = 0, composedAt = 0;
  for (const Frame& f : frames) {
    if (f.handler == AnimCountDown) lastZoom = f.at;
    if (f.handler == nullptr && f.at >= 2000 && composedAt == 0) composedAt = f.at;
  }
  EXPECT_LE(lastZoom, 3000u + 2 * kTickMs);
  EXPECT_GE(composedAt, 3000u);
  EXPECT_LE(composedAt, 3000u + 2 * kTickMs);
}

TEST_F(MainMenuTest, SubScreensReturnToAWholeBuildUpWithTheCursorAtTheTop) {
  // Credits, then help, then options; each returns to a full build-up with the cursor at the top.
  ChooseInMenu(kItemCredits);
  script.When([] { return !TickHandlerActive && !AnyKeyDown(); },
              [this] { backend.Tap(backend.now + 200, keysym::kSpace, 30); });
  ChooseInMenu(kItemHelp);
  script.When([] { return !TickHandlerActive && !AnyKeyDown(); },
              [this] { backend.Tap(backend.now + 200, keysym::kSpace, 30); });
  ChooseInMenu(kItemOptions);
  script.When([] { return Running(OptionsTick); }, [this] { Tap(keysym::kEscape, 60); });
  EscapeInMenu();
  MainMenu();
  EXPECT_EQ(exitRequested, 1);
  EXPECT_EQ(choiceStarts, (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(Plays(17), 4) << "four build-ups";
  EXPECT_EQ(Plays(15), 4);
  ExpectCleanEnd();
}

}  // namespace
