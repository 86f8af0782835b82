// The whole program under the headless backend: start-up, intro, menu, a match, the after-game
// pages, the exit screen and the exit status.
#include "main_flow.h"

#include "after_game.h"
#include "main_menu.h"
#include "match_tick.h"
#include "screen_fixture.h"

namespace {
using namespace screens;

// The palette stored at the end of a picture file.
std::vector<uint8_t> FilePalette(const std::filesystem::path& file) {
  const auto bytes = ReadFileBytes(file);
  if (bytes.size() < kPaletteBytes) return {};
  return std::vector<uint8_t>(bytes.end() - kPaletteBytes, bytes.end());
}

class MainFlowTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  ScratchDir dir{true};
  Script script;
  uint32_t lastTap = 0;
  int menuChoices = 0;
  bool sawMatch = false, sawAfterGame = false, sawExitPicture = false;

  void SetUp() override {
    backend.timeLimitMs = 60u * 60u * 1000u;
    if (!GeneratedDataAvailable()) GTEST_SKIP() << "the data set is not generated";
    script.Attach(backend);
    const auto exitColours = FilePalette(dir.DataFile("plonkix.p17"));
    auto watch = backend.onPoll;
    backend.onPoll = [=, this](HeadlessBackend& b) {
      sawMatch = sawMatch || Running(MatchTick);
      sawExitPicture = sawExitPicture ||
                       std::vector<uint8_t>(b.colours, b.colours + kPaletteBytes) == exitColours;
      watch(b);
    };
    // The first after-game page: the saved table's "killer kings" on black.
    backend.onPresent = [this](HeadlessBackend& b) {
      if (!sawMatch || sawAfterGame || TickHandlerActive) return;
      std::vector<uint8_t> page(kScreenBytes, 0);
      DrawHighScorePage(page.data(), kKillerKingsPage);
      sawAfterGame = b.lastFrame == page;
    };
  }

  // A condition that taps Space now and then, as a patient player would, outside the menu's
  // choice, until the menu offers its choice (or, with forever, on and on).
  Script::Condition TapSpaceUntilMenu(bool forever = false) {
    return [this, forever] {
      if (Running(MenuTick)) return !forever;
      if (backend.now - lastTap > 1500 && !AnyKeyDown()) {
        backend.Tap(backend.now, keysym::kSpace, 60);
        lastTap = backend.now;
      }
      return false;
    };
  }
  Script::Action Choose(uint16_t sym) {
    return [this, sym] {
      ++menuChoices;
      backend.Tap(backend.now, sym, 120);
    };
  }
  int RunToTheEnd() {
    try {
      RunProgram();
    } catch (const ProgramExitException& e) {
      return e.status;
    }
    return -1;
  }
};

TEST_F(MainFlowTest, OneWholeRunFromStartUpThroughAMatchToTheExitScreen) {
  script.When(TapSpaceUntilMenu(), Choose(keysym::kReturn));  // "single human"
  script.When([this] { return sawMatch; }, [] {});
  script.When(TapSpaceUntilMenu(), Choose(keysym::kEscape));
  script.When(TapSpaceUntilMenu(true), [] {});  // the exit screen waits for a key
  const auto config = ReadFileBytes(dir.DataFile("plonkix.cfg"));
  EXPECT_EQ(RunToTheEnd(), 0);
  EXPECT_EQ(menuChoices, 2);
  EXPECT_TRUE(sawMatch);
  EXPECT_TRUE(sawAfterGame);
  EXPECT_TRUE(sawExitPicture);
  EXPECT_EQ(exitRequested, 1);
  EXPECT_FALSE(backend.audioOpen) << "the exit screen closes audio";
  EXPECT_EQ(SoundAvailable, 1);
  EXPECT_FALSE(backend.sounds.empty());
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.cfg")), config) << "no options were edited";
}

TEST_F(MainFlowTest, WithoutAudioAndWithExitAtTheFirstMenuNoMatchIsPlayed) {
  backend.audioWorks = false;
  script.When(TapSpaceUntilMenu(), Choose(keysym::kEscape));
  script.When(TapSpaceUntilMenu(true), [] {});
  EXPECT_EQ(RunToTheEnd(), 0);
  EXPECT_FALSE(sawMatch);
  EXPECT_FALSE(sawAfterGame);
  EXPECT_TRUE(sawExitPicture);
  EXPECT_EQ(SoundAvailable, 0);
  EXPECT_TRUE(backend.sounds.empty());
}

TEST_F(MainFlowTest, ClosingTheWindowDuringTheIntroEndsAtOnceAndKeepsTheFiles) {
  const auto config = ReadFileBytes(dir.DataFile("plonkix.cfg"));
  const auto scores = ReadFileBytes(dir.DataFile("plonkix.hig"));
  backend.Quit(1500);
  EXPECT_EQ(RunToTheEnd(), 0);
  EXPECT_LE(backend.now, 1500u + kTickMs);
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.cfg")), config);
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.hig")), scores);
}

TEST_F(MainFlowTest, WithoutVideoTheProgramEndsSilentlyWithStatusZero) {
  backend.videoWorks = false;
  EXPECT_EQ(RunToTheEnd(), 0);
  EXPECT_FALSE(backend.screenOpen);
  EXPECT_EQ(backend.audioOpens, 0);
  EXPECT_EQ(backend.framesPresented, 0u);
}

}  // namespace
