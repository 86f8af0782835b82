#include "load_all.h"

#include <gtest/gtest.h>

#include <cstring>

#include "../resources/synthetic_data.h"
#include "game_data.h"
#include "highscores.h"
#include "keyboard.h"
#include "player.h"
#include "test_support.h"

namespace {

class LoadAllTest : public ::testing::Test {
 protected:
  HeadlessSession session;
  ScratchDir dir;
  void SetUp() override {
    synthetic::WriteGameData(dir.path() / "data");
    std::vector<uint8_t> cfg(104, 0), hig(380, 0);
    cfg[52 + 8] = 75;  // player 2's keyLeft
    hig[144] = 77;     // killer king 1's score
    WriteFileBytes(dir.DataFile("plonkix.cfg"), cfg);
    WriteFileBytes(dir.DataFile("plonkix.hig"), hig);
    memset(ScanMap, 0xFF, sizeof ScanMap);
    ScanMap[keysym::kA] = 30;
  }
};

TEST_F(LoadAllTest, LoadsEverythingAndWaitsOnlyForHeldKeys) {
  LoadAllData();
  EXPECT_EQ(session->now, 0u);
  EXPECT_EQ(PlayerState[2].config.keyLeft, 75u);
  EXPECT_EQ(HighScoreTable.killerKingsScore[0], 77u);
  EXPECT_NE(AnimFrames[9], nullptr);
  EXPECT_EQ(session->framesPresented, 0u);  // nothing is shown while loading

  session->KeyDown(0, keysym::kA);
  session->KeyUp(700, keysym::kA);
  KeyState[30] = 1;  // held when loading starts
  LoadAllData();
  EXPECT_GE(session->now, 700u);
  EXPECT_FALSE(AnyKeyDown());
}

}  // namespace
