// The tick clock, the event pump's special keys and the tick handler calls.
#include <gtest/gtest.h>

#include <cstring>

#include "platform.h"
#include "test_support.h"

namespace {
int handlerCalls = 0;
void CountCalls() {
  ++handlerCalls;
}

class TickTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  void SetUp() override {
    handlerCalls = 0;
    for (int i = 0; i < kScanMapSize; ++i) ScanMap[i] = 255;
    ScanMap[keysym::kF4] = 62;
    ScanMap[keysym::kReturn] = scan::kReturn;
    ScanMap[keysym::kA] = 30;
    ScanMap[keysym::kLAlt] = 56;
  }
};

TEST_F(TickTest, CarriesTheRemainderBelowOneTick) {
  SetTickReference(1000);
  backend.now = 1020;  // 20 ms: one tick, 6 ms carried
  EXPECT_EQ(PollAndWaitTick(), 1u);
  EXPECT_EQ(TickReference(), 1014u);
  backend.now = 1028;  // 8 ms later: one more tick, nothing carried
  EXPECT_EQ(PollAndWaitTick(), 1u);
  EXPECT_EQ(TickReference(), 1028u);
}

TEST_F(TickTest, ReportsAtMostTenTicksAndDropsALongerBacklog) {
  SetTickReference(5000);
  backend.now = 5140;
  EXPECT_EQ(PollAndWaitTick(), 10u);
  EXPECT_EQ(TickReference(), 5140u);
  backend.now = 5140 + 141;
  EXPECT_EQ(PollAndWaitTick(), 1u);
  EXPECT_EQ(TickReference(), backend.now);  // the clock restarts from now
}

TEST_F(TickTest, SleepsUntilTheNextTickInsteadOfSpinning) {
  SetTickReference(200);
  backend.now = 205;
  EXPECT_EQ(PollAndWaitTick(), 1u);
  EXPECT_EQ(backend.now, 214u);  // slept exactly the 9 ms left
}

TEST_F(TickTest, TheFirstCallAfterALongStartMeasuresFromZero) {
  backend.now = 3000;
  EXPECT_EQ(PollAndWaitTick(), 1u);
  EXPECT_EQ(TickReference(), 3000u);
}

TEST_F(TickTest, WaitTickRunsTheHandlerOncePerElapsedTickOnlyWhileActive) {
  SetTickReference(0);
  backend.now = 3 * kTickMs;
  InstallTickHandler(CountCalls);
  WaitTick();
  EXPECT_EQ(handlerCalls, 3);
  RemoveTickHandler();
  backend.KeyDown(backend.now, keysym::kA);
  WaitTick();
  EXPECT_EQ(handlerCalls, 3);
  EXPECT_EQ(KeyState[30], 1) << "events are still pumped without a handler";
}

TEST_F(TickTest, AnimationCountersStepByTheirAmounts) {
  AnimCounter = 10;
  AnimCountUp();
  EXPECT_EQ(AnimCounter, 12);
  AnimCountDown();
  EXPECT_EQ(AnimCounter, 8);
}

TEST_F(TickTest, KeysGoThroughTheScanMapAndUnmappedSymbolsAreDropped) {
  backend.KeyDown(0, keysym::kA);
  backend.KeyDown(0, keysym::kA + 1);  // "b" maps to 255: dropped
  PollAndWaitTick();
  EXPECT_EQ(KeyState[30], 1);
  uint8_t expected[kKeyStateSize] = {};
  expected[30] = 1;
  EXPECT_EQ(memcmp(KeyState, expected, sizeof expected), 0);
  backend.KeyUp(backend.now, keysym::kA);
  PollAndWaitTick();
  EXPECT_EQ(KeyState[30], 0);
}

TEST_F(TickTest, LeftAltF4EndsTheProgramWithStatusZero) {
  backend.KeyDown(0, keysym::kF4, keymod::kLAlt);
  try {
    PollAndWaitTick();
    FAIL() << "expected the program to end";
  } catch (const ProgramExitException& e) {
    EXPECT_EQ(e.status, 0);
  }
}

TEST_F(TickTest, RightAltF4AndCtrlAltF4AreOrdinaryKeys) {
  backend.KeyDown(0, keysym::kF4, keymod::kRAlt);
  EXPECT_NO_THROW(PollAndWaitTick());
  EXPECT_EQ(KeyState[62], 1);
  KeyState[62] = 0;
  backend.KeyDown(backend.now, keysym::kF4, keymod::kLAlt | keymod::kLCtrl);
  backend.KeyDown(backend.now, keysym::kF4, keymod::kLAlt | keymod::kRCtrl);
  EXPECT_NO_THROW(PollAndWaitTick());
  EXPECT_EQ(KeyState[62], 1);
}

TEST_F(TickTest, WindowCloseEndsTheProgramWithStatusZero) {
  backend.Quit(0);
  try {
    WaitTick();
    FAIL() << "expected the program to end";
  } catch (const ProgramExitException& e) {
    EXPECT_EQ(e.status, 0);
  }
}

TEST_F(TickTest, AltEnterTogglesFullScreenKeepsColoursAndIsNeverSeenAsEnter) {
  ASSERT_TRUE(OpenScreen());
  uint8_t colours[kPaletteBytes];
  for (int i = 0; i < kPaletteBytes; ++i) colours[i] = static_cast<uint8_t>(i * 7);
  SetPalette(colours);
  KeyState[30] = 1;  // a key held across the switch counts as released afterwards
  backend.KeyDown(0, keysym::kReturn, keymod::kRAlt);
  PollAndWaitTick();
  EXPECT_EQ(Fullscreen, 1);
  EXPECT_TRUE(backend.fullscreen);
  EXPECT_FALSE(backend.cursorShown);
  EXPECT_EQ(memcmp(backend.colours, colours, kPaletteBytes), 0);
  EXPECT_EQ(KeyState[scan::kReturn], 0);
  EXPECT_EQ(KeyState[30], 0);
  backend.KeyDown(backend.now, keysym::kReturn, keymod::kLAlt);
  PollAndWaitTick();
  EXPECT_EQ(Fullscreen, 0);
  EXPECT_TRUE(backend.cursorShown);
  // Plain Return is an ordinary key.
  backend.KeyDown(backend.now, keysym::kReturn);
  PollAndWaitTick();
  EXPECT_EQ(KeyState[scan::kReturn], 1);
}

TEST_F(TickTest, AFailedModeSwitchEndsTheProgramWithAMessage) {
  ASSERT_TRUE(OpenScreen());
  backend.videoModeWorks = false;
  backend.KeyDown(0, keysym::kReturn, keymod::kLAlt);
  ExpectFatal([] { PollAndWaitTick(); }, {"full-screen"});
}
}  // namespace
