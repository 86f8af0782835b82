// The main menu: the cursor handler, the build-up, and whole runs down every path.
#include "main_menu.h"

#include "main_flow.h"
#include "options_screen.h"
#include "screen_fixture.h"

namespace {
using namespace screens;

class MainMenuTest : public ScreenTest {
 protected:
  std::vector<int32_t> choiceStarts;  // the selection each time the choice began

  void SetUp() override {
    ScreenTest::SetUp();
    exitRequested = 0;
    for (int p = 1; p <= kPlayers; ++p) PlayerState[p].cpuControlled = PlayerState[p].absent = 7;
  }
  // In the choice: Down held until the item is selected, then the key (Return by default).
  void InChoice(int32_t item, uint16_t sym = keysym::kReturn) {
    script.When([] { return Running(MenuTick); },
                [this, item] {
                  choiceStarts.push_back(AnimCounter);
                  if (item > 0) backend.KeyDown(backend.now, keysym::kDown);
                });
    script.When([item] { return AnimCounter == item; },
                [this, sym] {
                  backend.KeyUp(backend.now, keysym::kDown);
                  backend.Tap(backend.now, sym, 120);
                });
  }
  void ExpectEnd(int exit, const GameMode& mode) {
    EXPECT_EQ(exitRequested, exit);
    for (int p = 1; p <= kPlayers; ++p) {
      EXPECT_EQ(PlayerState[p].cpuControlled, mode.cpuControlled[p - 1]) << "player " << p;
      EXPECT_EQ(PlayerState[p].absent, mode.absent[p - 1]) << "player " << p;
    }
    EXPECT_TRUE(DisplayBlack()) << "faded out";
    EXPECT_FALSE(TickHandlerActive);
    EXPECT_TRUE(script.Done());
  }
};

TEST_F(MainMenuTest, CursorIsSampledEverySeventhTickWithinTheItems) {
  KeyState[scan::kUp] = 1;
  MenuTick();  // at the top: no move, no sound
  KeyState[scan::kUp] = 0;
  KeyState[scan::kDown] = 1;
  for (int t = 1; t <= 14; ++t) MenuTick();  // phases 1..14: 7 and 14 sample
  EXPECT_EQ(AnimCounter, 2);
  AnimCounter = kItemExit;
  tickPhase = 0;
  MenuTick();  // at the bottom: no move, no sound
  EXPECT_EQ(AnimCounter, kItemExit);
  EXPECT_EQ(SoundsPlayed(), (SoundLog{{13, 40, 0}, {13, 40, 0}}));
  tickPhase = 139;
  MenuTick();
  EXPECT_EQ(tickPhase, 0);
  KeyState[scan::kEscape] = KeyState[scan::kD] = KeyState[scan::kUp] = 1;
  MenuTick();  // Up and Down in one poll, then Escape, then D
  EXPECT_EQ(exitRequested, 1);
  EXPECT_EQ(AnimCounter, kDemoSelection);
  tickPhase = 0;
  MenuTick();  // a second poll in one backlog must not leave the demo choice
  EXPECT_EQ(AnimCounter, kDemoSelection);
}

TEST_F(MainMenuTest, FlyInStripsMeetToThePicture) {
  for (int i = 0; i < kScreenBytes; ++i) FrameBuffer[i] = static_cast<uint8_t>(i % 251 + 1);
  memset(BackBuffer, 0, kScreenBytes);
  DrawMenuFlyIn(0);  // all four strips still outside
  EXPECT_EQ(std::count(BackBuffer, BackBuffer + kScreenBytes, 0), kScreenBytes);
  DrawMenuFlyIn(-160);  // strip 1 half way in from the left, strip 2 from the right
  EXPECT_EQ(BackBuffer[150 * kScreenWidth], FrameBuffer[150 * kScreenWidth + 320]);
  EXPECT_EQ(BackBuffer[250 * kScreenWidth + 639], FrameBuffer[250 * kScreenWidth + 319]);
  DrawMenuFlyIn(-320);
  EXPECT_EQ(memcmp(BackBuffer, FrameBuffer, kScreenBytes), 0);
}

struct ModeCase {
  int32_t item;
  uint16_t key;
  int exit;
  GameMode mode;
};
class MenuPathTest : public MainMenuTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(MenuPathTest, EachWayOutSetsItsModeOrExit) {
  const ModeCase& c = GetParam();
  InChoice(c.item, c.key);
  MainMenu();
  ExpectEnd(c.exit, c.mode);
  SoundLog expected = {{17, 60, 0}, {15, 70, 1}};  // build-up, ready
  for (int i = 0; i < c.item; ++i) expected.emplace_back(13, 40, 0);
  expected.emplace_back(18, 40, 0);  // confirm, also for Escape and D
  EXPECT_EQ(SoundsPlayed(), expected);
}

constexpr GameMode kUntouched{{7, 7}, {7, 7}};
INSTANTIATE_TEST_SUITE_P(
    Items, MenuPathTest,
    ::testing::Values(ModeCase{kItemSingleHuman, keysym::kReturn, 0, kSingleHuman},
                      ModeCase{kItemHumanVsCpu, keysym::kSpace, 0, kHumanVsCpu},
                      ModeCase{kItemTwoHumans, keysym::kReturn, 0, kTwoHumans},
                      ModeCase{kItemExit, keysym::kReturn, 1, kUntouched},
                      ModeCase{kItemCredits, keysym::kEscape, 1, kUntouched},
                      ModeCase{kItemHelp, 'd', 0, kCpuDemo}));

TEST_F(MainMenuTest, AKeyCutsEachBuildUpPhaseAndIsNeverTakenAsAChoice) {
  std::vector<std::pair<uint32_t, TickRoutine>> frames;
  backend.onPresent = [&frames](HeadlessBackend& b) {
    frames.emplace_back(b.now, TickHandlerActive ? TickHandler : nullptr);
  };
  backend.KeyDown(0, keysym::kReturn);
  backend.KeyUp(2000, keysym::kReturn);
  backend.Tap(3000, keysym::kSpace, 2000);  // during the logo zoom
  InChoice(0, keysym::kEscape);
  MainMenu();
  std::vector<uint32_t> flyIn, zoom, choice;
  uint32_t composed = 0;
  for (auto [at, handler] : frames) {
    if (handler == AnimCountDown) (at < 2000 ? flyIn : zoom).push_back(at);
    if (handler == MenuTick) choice.push_back(at);
    if (!handler && at > 2000 && !composed) composed = at;
  }
  EXPECT_EQ(flyIn.size(), 1u) << "the held key ends the fly-in after its first frame";
  EXPECT_GE(zoom.front(), 2000u) << "the zoom waits for the release";
  EXPECT_LE(zoom.back(), 3000u + 2 * kTickMs) << "a key cuts the zoom at once";
  EXPECT_LE(composed, 3000u + 2 * kTickMs) << "the finished picture follows at once";
  EXPECT_GE(choice.front(), 5000u) << "the choice waits for the release";
  EXPECT_EQ(exitRequested, 1);
}

TEST_F(MainMenuTest, CreditsHelpAndOptionsReturnToAWholeBuildUpAtTheTop) {
  auto leavePage = [this] {
    script.When([] { return !TickHandlerActive && !AnyKeyDown(); },
                [this] { backend.Tap(backend.now + 200, keysym::kSpace, 30); });
  };
  InChoice(kItemCredits);
  leavePage();
  InChoice(kItemHelp);
  leavePage();
  InChoice(kItemOptions);
  script.When([] { return Running(OptionsTick); },
              [this] { backend.Tap(backend.now, keysym::kEscape, 60); });
  InChoice(kItemSingleHuman);
  MainMenu();
  ExpectEnd(0, kSingleHuman);
  EXPECT_EQ(choiceStarts, (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(Plays(17), 4) << "four build-ups";
}

TEST_F(MainMenuTest, ChoiceDrawsTheItemsAndMarkersOnlyForRealItems) {
  const std::vector<uint8_t> black(kScreenBytes, 0);
  std::vector<uint8_t> demo(black), marked(black);
  DrawMenuChoice(demo.data(), kDemoSelection);
  EXPECT_EQ(std::count(demo.begin(), demo.end(), kMarkerColour), 0);
  EXPECT_TRUE(LineShows(demo.data(), black.data(), "exit", 320, 375, 3, 30, 610));
  DrawMenuChoice(marked.data(), kItemTwoHumans);
  EXPECT_EQ(marked[121 * kScreenWidth + 4], kMarkerColour);  // 22 x 9 centred on (15, 125)
  EXPECT_EQ(marked[129 * kScreenWidth + 25], kMarkerColour);
  EXPECT_EQ(marked[125 * kScreenWidth + 625], kMarkerMirrorColour);
  EXPECT_EQ(std::count(marked.begin(), marked.end(), kMarkerColour), 22 * 9);
}

}  // namespace
