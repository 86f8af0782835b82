// The options screen: stepping every row, the input cycle, the page, and name entry and key
// capture in the running screen down to the configuration file written on leaving.
#include "options_screen.h"

#include "config_file.h"
#include "screen_fixture.h"

namespace {
using namespace screens;

class OptionsTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    for (int p = 1; p <= 2; ++p) {
      P(p) = PlayerConfig{0, 0, 0, 0, 20, 31, 32, 33, 34, {5, 5, {}, {}}, 1, 4, 3};
      memcpy(P(p).name.chars, p == 1 ? "alice" : "bobby", 5);
    }
    optionsNameEntry = optionsKeyCapture = 0;
    for (int i = 0; i < kScreenBytes; ++i) BackBuffer[i] = static_cast<uint8_t>(1 + i % 7);
  }
  PlayerConfig& P(int p) { return PlayerState[p].config; }
  // One sampled poll of the handler with a key held on a row.
  void PollWith(uint8_t scancode, int32_t row) {
    AnimCounter = row;
    tickPhase = 0;
    KeyState[scancode] = 1;
    OptionsTick();
    KeyState[scancode] = 0;
  }
  // Once no entry runs: the row selected and Return, then, once the entry runs, the keys
  // tapped 150 ms apart.
  void EnterOnRow(int32_t row, std::vector<uint16_t> keys) {
    Select([] { return Running(OptionsTick) && !optionsNameEntry && !optionsKeyCapture; }, row);
    When([] { return optionsNameEntry || optionsKeyCapture; },
         [this, keys] {
           uint32_t at = backend.now;
           for (uint16_t sym : keys) backend.Tap(at += 150, sym, 40);
         });
  }
};

TEST_F(OptionsTest, NumberRowsStepWithinTheirRangesForBothPlayers) {
  const std::tuple<int32_t, uint32_t PlayerConfig::*, uint32_t, uint32_t> rows[] = {
      {kRowDropSpeed, &PlayerConfig::dropSpeed, 1, 2},
      {kRowBeansToLink, &PlayerConfig::beansToLink, 3, 99},
      {kRowCpuStrength, &PlayerConfig::cpuStrength, 1, 5},
      {kRowMouseDelay, &PlayerConfig::mouseDelay, 5, 99}};
  for (int p = 1; p <= 2; ++p)
    for (auto [row, field, lowest, highest] : rows) {
      const int32_t r = row + (p - 1) * kOptionRowsPerPlayer;
      uint32_t& value = P(p).*field;
      backend.sounds.clear();
      value = lowest;
      PollWith(scan::kLeft, r);  // silent at the bound
      PollWith(scan::kRight, r);
      const uint32_t up = value;
      value = highest;
      PollWith(scan::kRight, r);
      PollWith(scan::kLeft, r);
      EXPECT_EQ(std::pair(up, value), std::pair(lowest + 1, highest - 1)) << "row " << r;
      EXPECT_EQ(SoundsPlayed(), (SoundLog{{14, 60, 0}, {14, 60, 0}})) << "row " << r;
    }
  // A value loaded outside its range only ever steps back towards it, however large.
  P(2).cpuStrength = 0xFFFFFFFFu;
  PollWith(scan::kLeft, kOptionRowsPerPlayer + kRowCpuStrength);
  EXPECT_EQ(P(2).cpuStrength, 0xFFFFFFFEu);
}

TEST_F(OptionsTest, InputCyclesBothWaysAndTheCursorStopsAtBothEnds) {
  PollWith(scan::kUp, 0);
  PollWith(scan::kDown, kOptionRows - 1);
  EXPECT_EQ(std::pair(AnimCounter, Plays(13)), std::pair(kOptionRows - 1, 0));
  for (InputDevice expected : {kJoypad1, kJoypad2, kMouse, kKeyboard}) {
    PollWith(scan::kLeft, kRowInput);
    EXPECT_EQ(InputOf(P(1)), expected);
  }
  for (InputDevice expected : {kMouse, kJoypad2, kJoypad1, kKeyboard}) {
    PollWith(scan::kRight, kOptionRowsPerPlayer + kRowInput);
    EXPECT_EQ(InputOf(P(2)), expected);
    EXPECT_LE(P(2).useMouse + P(2).useJoypad1 + P(2).useJoypad2, 1);
  }
  EXPECT_EQ(Plays(14), 8);
  P(1).useMouse = P(1).useJoypad2 = 1;  // several flags: the first of joypad1, joypad2, mouse
  EXPECT_EQ(InputOf(P(1)), kJoypad2);
}

TEST_F(OptionsTest, PageShowsLabelsValuesAndMarkers) {
  P(1).dropSpeed = 7;
  P(1).mouseDelay = 123;  // two characters at most
  P(2).name.length = 3;
  SetInput(P(2), kMouse);
  std::vector<uint8_t> page(BackBuffer, BackBuffer + kScreenBytes);
  DrawOptionsPage(page.data(), 8);
  const uint8_t* bg = BackBuffer;
  EXPECT_TRUE(LineShows(page.data(), bg, "* beans to link          ", 320, 277, 4, 30, 440));
  const std::pair<const char*, int32_t> values[] = {{"7", 79},   {"alice", 123}, {"keyboard", 167},
                                                    {"12", 211}, {"bob", 299},   {"mouse", 343}};
  for (auto [text, y] : values)
    EXPECT_TRUE(LineShows(page.data(), bg, text, 500, y, 4, 440, 600)) << text << " at " << y;
  EXPECT_EQ(page[277 * kScreenWidth + 15], kMarkerColour);  // row 8 at y = 255 + 22
  EXPECT_EQ(page[277 * kScreenWidth + 625], kMarkerMirrorColour);
}

TEST_F(OptionsTest, NameEntryAndKeyCaptureTakeTheirKeysAndEscapeOnlyLeavesBetweenEntries) {
  // Escape and Left have no character and are ignored, also by the screen.
  EnterOnRow(kOptionRowsPerPlayer + kRowName,
             {keysym::kEscape, 'h', keysym::kLeft, 'e', 'l', 'l', 'o'});
  // Any key is captured, right Shift too; Escape as the last one leaves the screen open.
  EnterOnRow(kOptionRowsPerPlayer + kRowKeyConfig, {'a', keysym::kRShift, 'a', keysym::kEscape});
  // Escape as the first key is taken and, still held, ends the screen.
  EnterOnRow(kRowKeyConfig, {keysym::kEscape});
  bool askedLeft = false;
  backend.onPresent = [&askedLeft](HeadlessBackend& b) {
    askedLeft = askedLeft || (optionsKeyCapture && optionsEntryPosition == 0 &&
                              LineShows(b.lastFrame.data(), BackBuffer, "left", 500,
                                        OptionRowY(kRowKeyConfig), 4, 440, 600));
  };
  OptionsScreen();
  EXPECT_TRUE(StepsDone() && askedLeft);
  EXPECT_EQ(std::string(P(2).name.chars, P(2).name.length), "hello");
  EXPECT_EQ(std::tuple(P(2).keyLeft, P(2).keyRight, P(2).keyRotate, P(2).keyDown),
            std::tuple(30u, uint32_t{scan::kRShift}, 30u, uint32_t{scan::kEscape}));
  EXPECT_EQ(std::pair(P(1).keyLeft, P(1).keyRight), std::pair(uint32_t{scan::kEscape}, 32u))
      << "the keys not yet asked stay";
  PlayerConfig one{}, two{};
  ASSERT_TRUE(ReadConfigFile(kConfigFile, one, two));
  EXPECT_EQ(memcmp(&one, &P(1), sizeof one), 0);
  EXPECT_EQ(memcmp(&two, &P(2), sizeof two), 0);
  EXPECT_EQ(Plays(14), 10) << "a sound per character or key taken";
  EXPECT_EQ(Plays(18), 6) << "three entries started, two done, leaving";
  EXPECT_TRUE(DisplayBlack() && !TickHandlerActive);
}

}  // namespace
