// The tick clock, the event pump's special keys and the tick handler calls.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

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
    memset(ScanMap, 255, sizeof ScanMap);
    ScanMap[keysym::kF4] = 62;
    ScanMap[keysym::kReturn] = scan::kReturn;
    ScanMap[keysym::kA] = 30;
  }
  // The status the program ended with, or -1 when it goes on.
  int Pump() {
    try {
      PollAndWaitTick();
    } catch (const ProgramExitException& e) {
      return e.status;
    }
    return -1;
  }
};

TEST_F(TickTest, CountsWholeTicksCarriesTheRestAndDropsALongBacklog) {
  const struct {
    uint32_t reference, now;
    uint32_t ticks;
    uint32_t newReference, clockAfter;
  } cases[] = {
      {1000, 1020, 1, 1014, 1020},   // 20 ms: one tick, 6 ms carried
      {1014, 1028, 1, 1028, 1028},   // 8 ms more: one tick, nothing carried
      {5000, 5140, 10, 5140, 5140},  // exactly 140 ms: ten ticks
      {5000, 5141, 1, 5141, 5141},   // more than 140 ms: one tick, the clock restarts from now
      {0, 3000, 1, 3000, 3000},      // the first call measures from the start of the clock
      {200, 205, 1, 214, 214},       // too early: sleeps exactly the 9 ms left, no spinning
  };
  for (const auto& c : cases) {
    SetTickReference(c.reference);
    backend.now = c.now;
    const uint32_t counted = TicksCounted, ticks = PollAndWaitTick();
    EXPECT_EQ(std::tuple(ticks, TicksCounted - counted, TickReference(), backend.now),
              std::tuple(c.ticks, c.ticks, c.newReference, c.clockAfter))
        << c.reference << " -> " << c.now;
  }
}

TEST_F(TickTest, WaitTickRunsTheHandlerOncePerTickOnlyWhileActiveAndPumpsMappedKeys) {
  SetTickReference(0);
  backend.now = 3 * kTickMs;
  InstallTickHandler(CountCalls);
  WaitTick();
  RemoveTickHandler();
  backend.KeyDown(backend.now, keysym::kA);
  backend.KeyDown(backend.now, keysym::kA + 1);  // "b" maps to 255: dropped
  WaitTick();
  EXPECT_EQ(handlerCalls, 3);
  uint8_t expected[kKeyStateSize] = {};
  expected[30] = 1;  // events are still pumped without a handler
  EXPECT_EQ(memcmp(KeyState, expected, sizeof expected), 0);
}

TEST_F(TickTest, OnlyLeftAltF4WithoutCtrlAndTheWindowCloseEndTheProgram) {
  const struct {
    uint16_t mod;
    bool ends;
  } f4[] = {{keymod::kLAlt, true},
            {keymod::kRAlt, false},
            {keymod::kLAlt | keymod::kLCtrl, false},
            {keymod::kLAlt | keymod::kRCtrl, false},
            {0, false}};
  for (const auto& c : f4) {
    KeyState[62] = 0;
    backend.KeyDown(backend.now, keysym::kF4, c.mod);
    EXPECT_EQ(Pump(), c.ends ? 0 : -1) << "modifiers " << c.mod;
    EXPECT_EQ(KeyState[62], c.ends ? 0 : 1) << "otherwise F4 is an ordinary key";
  }
  backend.Quit(backend.now);
  EXPECT_EQ(Pump(), 0);
}

TEST_F(TickTest, AltEnterTogglesFullScreenKeepsColoursAndIsNeverSeenAsEnter) {
  ASSERT_TRUE(OpenScreen());
  uint8_t colours[kPaletteBytes];
  for (int i = 0; i < kPaletteBytes; ++i) colours[i] = static_cast<uint8_t>(i * 7);
  SetPalette(colours);
  KeyState[30] = 1;  // a key held across the switch counts as released afterwards
  for (const uint16_t alt : {keymod::kRAlt, keymod::kLAlt}) {
    backend.KeyDown(backend.now, keysym::kReturn, alt);
    PollAndWaitTick();
    const bool full = alt == keymod::kRAlt;
    EXPECT_EQ(std::tuple(Fullscreen, backend.fullscreen, backend.cursorShown),
              std::tuple(uint8_t{full}, full, !full));
    EXPECT_EQ(memcmp(backend.colours, colours, kPaletteBytes), 0);
    for (uint8_t held : KeyState) ASSERT_EQ(held, 0);
  }
  backend.KeyDown(backend.now, keysym::kReturn);  // plain Return is an ordinary key
  PollAndWaitTick();
  EXPECT_EQ(KeyState[scan::kReturn], 1);
  backend.videoModeWorks = false;  // a switch that fails ends the program with a message
  backend.KeyDown(backend.now, keysym::kReturn, keymod::kLAlt);
  ExpectFatal([] { PollAndWaitTick(); }, {"full screen"});
}
}  // namespace
