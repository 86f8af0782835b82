// The starting configuration and high-score files, read byte for byte into the game's own
// records: sensible players, sorted and beatable lists; and every writer's failure on a missing
// directory.
#include <algorithm>
#include <cstring>
#include <utility>

#include "highscores.h"
#include "keyboard.h"
#include "parts.h"
#include "player_config.h"
#include "test_support.h"

namespace {

// A character the name entry can produce from some key.
bool Typable(char c) {
  for (int s = 1; s < 128; ++s)
    if (c != 0 && ScancodeToChar(static_cast<uint8_t>(s)) == c) return true;
  return false;
}

class RecordsTest : public ::testing::Test {
 protected:
  // The whole file as the record it holds (the records' layouts are fixed to the byte).
  template <typename Record>
  void Read(const char* name, Record& record) {
    const std::vector<uint8_t> bytes = ReadFileBytes(dir_.DataFile(name));
    ASSERT_EQ(bytes.size(), sizeof record);
    memcpy(&record, bytes.data(), sizeof record);
  }
  ScratchDir dir_;
  std::filesystem::path data_ = dir_.path() / "data";
};

TEST_F(RecordsTest, StartingConfigHoldsTwoSensibleKeyboardPlayers) {
  WriteStartingConfig(data_);
  PlayerConfig players[2];
  Read("plonkix.cfg", players);
  WriteScanMap(data_);
  const std::vector<uint8_t> scanMap = ReadFileBytes(dir_.DataFile("scanmap"));
  std::vector<uint32_t> allKeys;
  for (const PlayerConfig& p : players) {
    EXPECT_EQ(p.useMouse | p.useJoypad1 | p.useJoypad2 | p.padding, 0);  // keyboard
    EXPECT_TRUE(p.mouseDelay >= 5 && p.mouseDelay <= 99);
    EXPECT_TRUE(p.cpuStrength >= 1 && p.cpuStrength <= 5);
    EXPECT_EQ(p.dropSpeed, 1u);
    EXPECT_EQ(p.beansToLink, 4u);
    EXPECT_EQ(p.name.capacity, 5u);
    EXPECT_EQ(p.name.length, 5u);
    for (uint32_t i = 0; i < 5; ++i) EXPECT_TRUE(Typable(p.name.chars[i])) << p.name.chars[i];
    for (uint32_t key : {p.keyLeft, p.keyRight, p.keyRotate, p.keyDown}) {
      EXPECT_GE(key, 1u);
      EXPECT_LT(key, 128u);
      // Not left Shift, nor a key with a job of its own in a match: pause, the quit answers,
      // Escape.
      for (uint32_t reserved :
           {scan::kLShift, scan::kP, scan::kY, scan::kZ, scan::kJ, scan::kN, scan::kEscape})
        EXPECT_NE(key, reserved);
      // Some key on the keyboard really produces it.
      EXPECT_NE(std::find(scanMap.begin(), scanMap.end(), key), scanMap.end()) << key;
      allKeys.push_back(key);
    }
  }
  std::sort(allKeys.begin(), allKeys.end());
  EXPECT_EQ(std::adjacent_find(allKeys.begin(), allKeys.end()), allKeys.end()) << "a shared key";
  EXPECT_NE(memcmp(players[0].name.chars, players[1].name.chars, 5), 0);
  // Player 2 steers with the arrow keys.
  const std::vector<uint32_t> arrows = {scan::kLeft, scan::kRight, scan::kUp, scan::kDown};
  EXPECT_EQ(std::vector<uint32_t>(&players[1].keyLeft, &players[1].keyDown + 1), arrows);
}

TEST_F(RecordsTest, StartingHighScoresAreSortedRealisticAndBeatable) {
  WriteStartingHighScores(data_);
  HighScoreTableRecord t;
  Read("plonkix.hig", t);
  EXPECT_EQ(t.reserved, 0);
  for (int r = 0; r < kHighScoreRanks; ++r) {
    SCOPED_TRACE("rank " + std::to_string(r + 1));
    for (const HighScoreName& name : {t.killerKingsName[r], t.comboDemonsName[r]}) {
      EXPECT_EQ(name.capacity, 5u);
      EXPECT_TRUE(name.length >= 1 && name.length <= 5) << name.length;
      for (uint32_t i = 0; i < std::min(name.length, 5u); ++i) EXPECT_TRUE(Typable(name.chars[i]));
    }
    EXPECT_GT(t.killerKingsScore[r], 0u);
    if (r > 0) {  // best first; equal keys ordered by beans killed and by chain points
      EXPECT_GE(std::pair(t.killerKingsScore[r - 1], t.killerKingsBeans[r - 1]),
                std::pair(t.killerKingsScore[r], t.killerKingsBeans[r]));
      EXPECT_GE(std::pair(t.comboDemons[r - 1].combo, t.comboDemons[r - 1].comboPoints),
                std::pair(t.comboDemons[r].combo, t.comboDemons[r].comboPoints));
    }
    // A combo's points are what a chain of that many hits can score with 4 beans to a link:
    // 200 x hits x weight, the weight at least that of every hit being a group of 4.
    const uint32_t hits = t.comboDemons[r].combo, points = t.comboDemons[r].comboPoints;
    ASSERT_GT(hits, 0u);
    EXPECT_EQ(points % (200 * hits), 0u);
    EXPECT_GE(points, 200 * hits * hits * (hits + 1));
  }
  // A good first match gets onto both lists.
  EXPECT_LE(t.killerKingsScore[0], 100000u);
  EXPECT_LE(t.comboDemons[0].combo, 5);
}

// Every writer stops on a missing directory with a message naming the file it could not write.
TEST(DataWriters, AMissingDirectoryIsAFatalErrorNamingTheFile) {
  ScratchDir dir;
  const struct {
    void (*write)(const std::filesystem::path&);
    const char* file;
  } writers[] = {{WriteStartingConfig, "nowhere/plonkix.cfg"},
                 {WriteStartingHighScores, "nowhere/plonkix.hig"},
                 {WriteScanMap, "nowhere/scanmap"},
                 {WriteSounds, "nowhere/plonkix.w00"}};
  for (const auto& w : writers) ExpectFatal([&] { w.write(dir.path() / "nowhere"); }, {w.file});
}
}  // namespace
