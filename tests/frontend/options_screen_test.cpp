// The options screen: stepping every row, the input cycle, name entry, key capture, the page,
// and the configuration file written on leaving.
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
      PlayerConfig& c = PlayerState[p].config;
      c = PlayerConfig{0, 0, 0, 0, 20, 31, 32, 33, 34, {5, 5, {}, {}}, 1, 4, 3};
      memcpy(c.name.chars, p == 1 ? "alice" : "bobby", 5);
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
  // In the running screen: Down held to the row, then Return held until the entry starts, then
  // the keys tapped 150 ms apart.
  void EnterOnRow(int32_t row, std::vector<uint16_t> keys) {
    script.When([] { return Running(OptionsTick); },
                [this] { backend.KeyDown(backend.now, keysym::kDown); });
    script.When([row] { return AnimCounter == row; },
                [this] {
                  backend.KeyUp(backend.now, keysym::kDown);
                  backend.KeyDown(backend.now, keysym::kReturn);
                });
    script.When([] { return optionsNameEntry || optionsKeyCapture; },
                [this, keys] {
                  backend.KeyUp(backend.now, keysym::kReturn);
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
      const PlayerConfig other = P(3 - p);
      backend.sounds.clear();
      value = lowest;
      PollWith(scan::kLeft, r);  // silent at the bound
      PollWith(scan::kRight, r);
      EXPECT_EQ(value, lowest + 1) << "row " << r;
      value = highest;
      PollWith(scan::kRight, r);
      PollWith(scan::kLeft, r);
      EXPECT_EQ(value, highest - 1) << "row " << r;
      EXPECT_EQ(SoundsPlayed(), (SoundLog{{14, 60, 0}, {14, 60, 0}})) << "row " << r;
      EXPECT_EQ(memcmp(&other, &P(3 - p), sizeof other), 0) << "the other player is untouched";
    }
}

TEST_F(OptionsTest, AValueLoadedOutsideItsRangeOnlyStepsBackTowardsIt) {
  P(1).dropSpeed = 7;
  PollWith(scan::kRight, kRowDropSpeed);
  EXPECT_EQ(P(1).dropSpeed, 7u);
  for (int i = 0; i < 7; ++i) PollWith(scan::kLeft, kRowDropSpeed);
  EXPECT_EQ(P(1).dropSpeed, 1u);
  EXPECT_EQ(backend.sounds.size(), 6u);
  P(2).cpuStrength = 0xFFFFFFFFu;  // the comparisons are unsigned
  PollWith(scan::kRight, kOptionRowsPerPlayer + kRowCpuStrength);
  PollWith(scan::kLeft, kOptionRowsPerPlayer + kRowCpuStrength);
  EXPECT_EQ(P(2).cpuStrength, 0xFFFFFFFEu);
}

TEST_F(OptionsTest, InputCyclesBothWaysAndAlwaysSounds) {
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
  for (int j : {2, 10}) EXPECT_EQ(kOptionLabels[j].length, 29u);
  for (int j : {3, 9, 11, 17}) EXPECT_EQ(kOptionLabels[j].length, 25u);
  P(1).dropSpeed = 7;
  P(1).mouseDelay = 123;  // two characters at most
  P(2).name.length = 3;
  SetInput(P(2), kMouse);
  std::vector<uint8_t> page(BackBuffer, BackBuffer + kScreenBytes);
  DrawOptionsPage(page.data(), 8);
  const uint8_t* bg = BackBuffer;
  EXPECT_TRUE(LineShows(page.data(), bg, "* beans to link          ", 320, 277, 4, 30, 440));
  for (auto [text, y] : {std::pair{"7", 79},
                         {"alice", 123},
                         {"keyboard", 167},
                         {"", 189},
                         {"12", 211},
                         {"1", 255},
                         {"bob", 299},
                         {"mouse", 343},
                         {"20", 387}})
    EXPECT_TRUE(LineShows(page.data(), bg, text, 500, y, 4, 440, 600)) << text << " at " << y;
  EXPECT_EQ(page[277 * kScreenWidth + 15], kMarkerColour);  // row 8 at y = 101 + 22 * 8
  EXPECT_EQ(page[277 * kScreenWidth + 625], kMarkerMirrorColour);
}

TEST_F(OptionsTest, NameEntryTakesFiveCharactersAndIgnoresKeysWithoutOne) {
  // Escape, Left, a lone Shift and Up have no character; 'y' is hidden by a held left Shift.
  EnterOnRow(kOptionRowsPerPlayer + kRowName,
             {keysym::kEscape, 'h', keysym::kLeft, 'e', keysym::kLShift, 'l', keysym::kUp, 'l'});
  script.When([] { return optionsEntryPosition == 4; },
              [this] {
                backend.KeyDown(backend.now + 100, keysym::kLShift);
                backend.Tap(backend.now + 150, 'y', 40);
                backend.KeyUp(backend.now + 250, keysym::kLShift);
                backend.Tap(backend.now + 400, 'o', 40);
              });
  script.When([] { return !optionsNameEntry; },
              [this] { backend.Tap(backend.now + 300, keysym::kEscape, 60); });
  OptionsScreen();
  EXPECT_EQ(std::string(P(2).name.chars, P(2).name.length), "hello");
  EXPECT_EQ(std::string(P(1).name.chars, 5), "alice");
  PlayerConfig one{}, two{};
  ASSERT_TRUE(ReadConfigFile(kConfigFile, one, two));
  EXPECT_EQ(std::string(two.name.chars, two.name.length), "hello");
  EXPECT_EQ(Plays(14), 5);  // a sound per character
  EXPECT_EQ(Plays(18), 3);  // entry started, entry done, leaving
}

TEST_F(OptionsTest, EscapeAsFirstCapturedKeyIsStoredAndEndsTheScreen) {
  bool askedLeft = false;
  EnterOnRow(kRowKeyConfig, {keysym::kEscape});
  backend.onPresent = [&askedLeft](HeadlessBackend& b) {
    askedLeft =
        askedLeft || (optionsKeyCapture && optionsEntryPosition == 0 &&
                      LineShows(b.lastFrame.data(), BackBuffer, "left", 500, 189, 4, 440, 600));
  };
  OptionsScreen();
  EXPECT_TRUE(askedLeft);
  PlayerConfig one{}, two{};
  ASSERT_TRUE(ReadConfigFile(kConfigFile, one, two));
  EXPECT_EQ(one.keyLeft, scan::kEscape);
  EXPECT_EQ(one.keyRight, 32u) << "the keys not yet asked stay";
  EXPECT_TRUE(DisplayBlack());
  EXPECT_FALSE(TickHandlerActive);
}

TEST_F(OptionsTest, EscapeAsFourthCapturedKeyKeepsTheScreenOpen) {
  EnterOnRow(kOptionRowsPerPlayer + kRowKeyConfig, {'a', keysym::kRShift, 'a', keysym::kEscape});
  script.When([] { return !optionsKeyCapture; },
              [this] { backend.KeyDown(backend.now + 300, keysym::kUp); });
  script.When([] { return AnimCounter == 11; },
              [this] {
                backend.KeyUp(backend.now, keysym::kUp);
                backend.Tap(backend.now + 100, keysym::kEscape, 60);
              });
  OptionsScreen();
  EXPECT_TRUE(script.Done()) << "the screen stayed open after the capture";
  const PlayerConfig& c = P(2);
  EXPECT_EQ(std::tuple(c.keyLeft, c.keyRight, c.keyRotate, c.keyDown),
            std::tuple(30u, uint32_t{scan::kRShift}, 30u, uint32_t{scan::kEscape}));
}

TEST_F(OptionsTest, LeavingAlwaysWritesTheFileWhichTheNextStartReadsBack) {
  script.When([] { return Running(OptionsTick); },
              [this] { backend.KeyDown(backend.now, keysym::kRight); });
  script.When([this] { return P(1).dropSpeed == 2; },
              [this] {
                backend.KeyUp(backend.now, keysym::kRight);
                backend.Tap(backend.now + 100, keysym::kEscape, 60);
              });
  OptionsScreen();
  const PlayerConfig edited1 = P(1), edited2 = P(2);
  P(1) = P(2) = PlayerConfig{};
  LoadPlayerConfigs();
  EXPECT_EQ(P(1).dropSpeed, 2u);
  EXPECT_EQ(memcmp(&P(1), &edited1, sizeof edited1), 0);
  EXPECT_EQ(memcmp(&P(2), &edited2, sizeof edited2), 0);

  std::filesystem::remove(kConfigFile);  // unchanged options are written too
  script.When([] { return Running(OptionsTick); },
              [this] { backend.Tap(backend.now, keysym::kEscape, 60); });
  OptionsScreen();
  EXPECT_EQ(ReadFileBytes(kConfigFile).size(), kConfigFileBytes);
}

}  // namespace
