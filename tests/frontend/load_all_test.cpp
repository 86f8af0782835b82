// Start-up: loading shows nothing and waits only for held keys. (Whole runs of the program, and a
// start without video, are the end-to-end tests' part.)
#include "load_all.h"

#include "../resources/synthetic_data.h"
#include "highscores.h"
#include "keyboard.h"
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

}  // namespace
