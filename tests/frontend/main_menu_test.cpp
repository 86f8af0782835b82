// The main menu: the cursor handler, the drawing, and whole runs down every path.
#include "main_menu.h"

#include "config_file.h"
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
  void InChoice(int32_t item, uint16_t sym = keysym::kReturn) {
    Select([] { return Running(MenuTick); }, item, sym);
  }
  void ExpectEnd(int exit, const GameMode& mode) {
    EXPECT_EQ(exitRequested, exit);
    for (int p = 1; p <= kPlayers; ++p)
      EXPECT_EQ(std::pair(PlayerState[p].cpuControlled, PlayerState[p].absent),
                std::pair(mode.cpuControlled[p - 1], mode.absent[p - 1]));
    EXPECT_TRUE(DisplayBlack() && !TickHandlerActive && StepsDone()) << "faded out, all done";
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
  tickPhase = 139;
  MenuTick();
  EXPECT_EQ(tickPhase, 0);
  MenuTick();  // at the bottom: no move, no sound
  EXPECT_EQ(AnimCounter, kItemExit);
  EXPECT_EQ(SoundsPlayed(), (SoundLog{{13, 40, 0}, {13, 40, 0}}));
  KeyState[scan::kEscape] = KeyState[scan::kD] = KeyState[scan::kUp] = 1;
  tickPhase = 0;
  MenuTick();  // Up and Down in one poll, then Escape, then D
  EXPECT_EQ(exitRequested, 1);
  KeyState[scan::kD] = 0;
  tickPhase = 0;
  MenuTick();  // a second poll in one backlog must not leave the demo choice
  EXPECT_EQ(AnimCounter, kDemoSelection);
}

TEST_F(MainMenuTest, FlyInStripsMeetToThePictureAndMarkersShowOnlyForRealItems) {
  for (int i = 0; i < kScreenBytes; ++i) FrameBuffer[i] = static_cast<uint8_t>(i % 251 + 1);
  memset(BackBuffer, 0, kScreenBytes);
  DrawMenuFlyIn(0);  // all four strips still outside
  EXPECT_EQ(std::count(BackBuffer, BackBuffer + kScreenBytes, 0), kScreenBytes);
  DrawMenuFlyIn(-160);  // strip 1 half way in from the left, strip 2 from the right
  EXPECT_EQ(BackBuffer[150 * kScreenWidth], FrameBuffer[150 * kScreenWidth + 320]);
  EXPECT_EQ(BackBuffer[250 * kScreenWidth + 639], FrameBuffer[250 * kScreenWidth + 319]);
  DrawMenuFlyIn(-320);
  EXPECT_EQ(memcmp(BackBuffer, FrameBuffer, kScreenBytes), 0);

  std::vector<uint8_t> demo(kScreenBytes, 0), marked(kScreenBytes, 0);
  DrawMenuChoice(demo.data(), kDemoSelection);
  EXPECT_EQ(std::count(demo.begin(), demo.end(), kMarkerColour), 0);
  DrawMenuChoice(marked.data(), kItemTwoHumans);
  EXPECT_EQ(std::pair(marked[125 * kScreenWidth + 15], marked[125 * kScreenWidth + 625]),
            std::pair(kMarkerColour, kMarkerMirrorColour));
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

TEST_F(MainMenuTest, KeysCutTheBuildUpAndCreditsHelpAndOptionsReturnToAWholeOneAtTheTop) {
  RecordFrames();
  backend.KeyDown(0, keysym::kReturn);
  backend.KeyUp(2000, keysym::kReturn);
  backend.Tap(3000, keysym::kSpace, 2000);  // during the logo zoom
  for (int32_t item : {kItemCredits, kItemHelp, kItemOptions}) {
    InChoice(item);
    When([] { return !AnyKeyDown() && (!TickHandlerActive || Running(OptionsTick)); },
         [this] { backend.Tap(backend.now + 200, keysym::kEscape, 30); });
  }
  InChoice(kItemSingleHuman);
  MainMenu();
  ExpectEnd(0, kSingleHuman);
  const auto counted = FramesUnder(AnimCountDown), choice = FramesUnder(MenuTick);
  EXPECT_LT(counted[0], 2000u) << "the fly-in's first frame";
  EXPECT_GE(counted[1], 2000u) << "the held key ends the fly-in; the zoom waits for the release";
  EXPECT_LE(*(std::lower_bound(counted.begin(), counted.end(), choice[0]) - 1), 3000 + 2 * kTickMs)
      << "a key cuts the zoom at once";
  EXPECT_GE(choice[0], 5000u) << "the choice waits for the release";
  EXPECT_EQ(Plays(17), 4) << "four build-ups";
  EXPECT_EQ(ReadFileBytes(kConfigFile).size(), kConfigFileBytes) << "options left unchanged";
}

}  // namespace
