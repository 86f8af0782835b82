#include "load_all.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "../resources/synthetic_data.h"
#include "config_file.h"
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
    PlayerConfig one{}, two{};
    one.keyLeft = 31;
    two.keyLeft = 75;
    one.beansToLink = two.beansToLink = 4;
    one.cpuStrength = two.cpuStrength = 2;
    int error = 0;
    WriteConfigFile("data/plonkix.cfg", one, two, error);
    std::vector<uint8_t> hig(380, 0);
    hig[144] = 77;  // killer king 1's score
    WriteFileBytes(dir.DataFile("plonkix.hig"), hig);
    memset(ScanMap, 0xFF, sizeof ScanMap);
    ScanMap[keysym::kA] = 30;
  }
};

TEST_F(LoadAllTest, LoadsEverythingAndWaitsForHeldKeys) {
  session->KeyDown(0, keysym::kA);
  session->KeyUp(700, keysym::kA);
  KeyState[30] = 1;  // held when loading starts
  LoadAllData();
  EXPECT_GE(session->now, 700u);
  EXPECT_FALSE(AnyKeyDown());
  EXPECT_EQ(PlayerState[1].config.keyLeft, 31u);
  EXPECT_EQ(PlayerState[2].config.keyLeft, 75u);
  EXPECT_EQ(HighScoreTable.killerKingsScore[0], 77u);
  EXPECT_NE(logoSprite.pixels, nullptr);
  EXPECT_NE(AnimFrames[9], nullptr);
  EXPECT_EQ(session->framesPresented, 0u);  // nothing is shown while loading
}

TEST_F(LoadAllTest, WithoutKeysItDoesNotWait) {
  LoadAllData();
  EXPECT_EQ(session->now, 0u);
}

TEST_F(LoadAllTest, MissingRecordsStopTheStart) {
  std::filesystem::remove(dir.DataFile("plonkix.hig"));
  ExpectFatal([] { LoadAllData(); }, {"data/plonkix.hig"});
  std::filesystem::remove(dir.DataFile("plonkix.cfg"));
  ExpectFatal([] { LoadAllData(); }, {"data/plonkix.cfg"});
}

}  // namespace
