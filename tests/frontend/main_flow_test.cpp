// The whole program under the headless backend: start-up, intro, menu, a match, the after-game
// pages, the exit screen and the exit status.
#include "main_flow.h"

#include "after_game.h"
#include "main_menu.h"
#include "match_tick.h"
#include "screen_fixture.h"

namespace {
using namespace screens;

int RunToTheEnd() {
  try {
    RunProgramSeeded(7);  // a fixed seed, so every run of the test plays the same match
  } catch (const ProgramExitException& e) {
    return e.status;
  }
  return -1;
}

TEST(MainFlowTest, OneWholeRunThroughOneMatchAndTheAfterGamePagesToTheExitScreen) {
  HeadlessSession session;
  ScratchDir dir(true);
  if (!GeneratedDataAvailable()) GTEST_SKIP() << "the data set is not generated";
  HeadlessBackend& backend = session.backend();
  backend.timeLimitMs = 60u * 60u * 1000u;
  // A patient player: Space now and then; in the menu's choice Space ("single human"), then Escape.
  int choices = 0, matches = 0;
  bool inMatch = false, sawAfterGame = false;
  uint32_t lastTap = 0;
  backend.onPoll = [&](HeadlessBackend& b) {
    matches += Running(MatchTick) && !inMatch;
    inMatch = Running(MatchTick);
    if (b.now - lastTap < 1500 || AnyKeyDown()) return;
    b.Tap(b.now, Running(MenuTick) && choices++ > 0 ? keysym::kEscape : keysym::kSpace, 120);
    lastTap = b.now;
  };
  backend.onPresent = [&](HeadlessBackend& b) {  // the saved table's first page on black
    if (!matches || sawAfterGame || TickHandlerActive) return;
    std::vector<uint8_t> page(kScreenBytes, 0);
    DrawHighScorePage(page.data(), kKillerKingsPage);
    sawAfterGame = b.lastFrame == page;
  };
  const auto config = ReadFileBytes(dir.DataFile("plonkix.cfg"));
  EXPECT_EQ(RunToTheEnd(), 0);
  EXPECT_EQ(std::tuple(choices, matches, sawAfterGame), std::tuple(2, 1, true));
  ASSERT_FALSE(backend.sounds.empty());
  const auto& last = backend.sounds.back();
  EXPECT_EQ(std::tuple(last.number, last.mixerVolume, last.mixerChannel), std::tuple(19, 60, 3))
      << "the exit screen's sound";
  EXPECT_FALSE(backend.audioOpen);
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.cfg")), config) << "no options were edited";
}

TEST(MainFlowTest, WithoutVideoTheProgramEndsSayingWhy) {
  HeadlessSession session;
  ScratchDir dir;
  WriteFileBytes(dir.path() / "data" / "scanmap", std::vector<uint8_t>(kScanMapSize, 0));
  session->videoWorks = false;
  ExpectFatal([] { RunProgramSeeded(7); }, {"cannot start video", session->VideoError()});
  EXPECT_EQ(session->audioOpens, 0);
  EXPECT_EQ(session->framesPresented, 0u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "data"), {}), 1)
      << "nothing is written";
}

}  // namespace
