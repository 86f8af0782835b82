// Start-up: loading shows nothing and waits only for held keys; without video the program ends at
// once, saying why. (Whole runs of the program are the end-to-end tests' part.)
#include "main_flow.h"

#include "../resources/synthetic_data.h"
#include "highscores.h"
#include "keyboard.h"
#include "load_all.h"
#include "player.h"

namespace {

TEST(StartUpTest, LoadingReadsTheSavedFilesShowsNothingAndWaitsOnlyForHeldKeys) {
  HeadlessSession session;
  ScratchDir dir;
  synthetic::WriteGameData(dir.path() / "data");
  std::vector<uint8_t> cfg(104, 0), hig(380, 0);
  cfg[52 + 8] = 75;  // player 2's keyLeft
  hig[144] = 77;     // killer king 1's score
  WriteFileBytes(dir.DataFile("plonkix.cfg"), cfg);
  WriteFileBytes(dir.DataFile("plonkix.hig"), hig);
  memset(ScanMap, 0xFF, sizeof ScanMap);
  ScanMap[keysym::kA] = 30;
  LoadAllData();
  EXPECT_EQ(
      std::tuple(session->now, PlayerState[2].config.keyLeft, HighScoreTable.killerKingsScore[0]),
      std::tuple(0u, 75u, 77u));
  session->KeyDown(0, keysym::kA);
  session->KeyUp(700, keysym::kA);
  KeyState[30] = 1;  // held when loading starts
  LoadAllData();
  EXPECT_GE(session->now, 700u);
  EXPECT_EQ(session->framesPresented, 0u);
}

TEST(StartUpTest, WithoutVideoTheProgramEndsSayingWhy) {
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
