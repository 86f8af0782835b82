// The starting configuration and high-score files: exact layouts, sensible values, sorted lists,
// and a player's own files never replaced.
#include <algorithm>
#include <cstring>

#include "keyboard.h"
#include "parts.h"
#include "player_config.h"
#include "test_support.h"

namespace {
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8;
}

// A character the name entry can produce from some key.
bool Typable(char c) {
  for (int s = 1; s < 128; ++s)
    if (c != 0 && ScancodeToChar(static_cast<uint8_t>(s)) == c) return true;
  return false;
}

std::vector<PlayerConfig> ReadConfig(const std::filesystem::path& file) {
  const std::vector<uint8_t> bytes = ReadFileBytes(file);
  std::vector<PlayerConfig> players(bytes.size() / sizeof(PlayerConfig));
  memcpy(players.data(), bytes.data(), players.size() * sizeof(PlayerConfig));
  return players;
}

struct Rank {
  std::string name;
  uint32_t key, tieBreak;
};

// One list of the high-score file: names at namesAt, then its two values per rank.
std::vector<Rank> ReadList(const std::vector<uint8_t>& b, size_t namesAt, bool killers) {
  std::vector<Rank> list;
  for (int r = 0; r < 9; ++r) {
    const size_t name = namesAt + 16 * r;
    EXPECT_EQ(U32(b, name), 5u) << "capacity of rank " << r + 1;
    const uint32_t length = U32(b, name + 4);
    EXPECT_LE(length, 5u) << "length of rank " << r + 1;
    Rank rank{std::string(reinterpret_cast<const char*>(&b[name + 8]), std::min(length, 5u)), 0, 0};
    if (killers) {
      rank.key = U32(b, 144 + 4 * r);
      rank.tieBreak = U16(b, 180 + 2 * r);
    } else {
      rank.key = U16(b, 344 + 4 * r);
      rank.tieBreak = U16(b, 346 + 4 * r);
    }
    list.push_back(rank);
  }
  return list;
}

class RecordsTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
  std::filesystem::path data_ = dir_.path() / "data";
};

TEST_F(RecordsTest, StartingConfigHoldsTwoSensibleKeyboardPlayers) {
  WriteStartingConfig(data_);
  ASSERT_EQ(ReadFileBytes(dir_.DataFile("plonkix.cfg")).size(), 104u);
  const std::vector<PlayerConfig> players = ReadConfig(dir_.DataFile("plonkix.cfg"));

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
      EXPECT_NE(key, 42u) << "left Shift is never a player's key";
      // Not a key with a job of its own during a match: pause, the quit answers, Escape.
      for (uint32_t reserved : {scan::kP, scan::kY, scan::kZ, scan::kJ, scan::kN, scan::kEscape})
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
  const std::vector<uint8_t> b = ReadFileBytes(dir_.DataFile("plonkix.hig"));
  ASSERT_EQ(b.size(), 380u);
  EXPECT_EQ(U16(b, 198), 0);  // reserved

  for (bool killers : {true, false}) {
    SCOPED_TRACE(killers ? "killer kings" : "combo demons");
    const std::vector<Rank> list = ReadList(b, killers ? 0 : 200, killers);
    for (int r = 0; r < 9; ++r) {
      EXPECT_FALSE(list[r].name.empty());
      for (char c : list[r].name) EXPECT_TRUE(Typable(c)) << list[r].name;
      EXPECT_GT(list[r].key, 0u);
      if (r > 0) {
        EXPECT_TRUE(list[r - 1].key > list[r].key ||
                    (list[r - 1].key == list[r].key && list[r - 1].tieBreak >= list[r].tieBreak))
            << "rank " << r + 1 << " above rank " << r;
      }
    }
    // A good first match gets onto the list.
    EXPECT_LE(list[0].key, killers ? 100000u : 5u);
  }

  // Each combo's points are what a chain of that many hits can score with 4 beans to a link:
  // 200 x hits x weight, the weight at least that of every hit being a group of 4.
  for (const Rank& rank : ReadList(b, 200, false)) {
    const uint32_t hits = rank.key;
    EXPECT_EQ(rank.tieBreak % (200 * hits), 0u) << rank.name;
    EXPECT_GE(rank.tieBreak, 200 * hits * hits * (hits + 1)) << rank.name;
  }
}

TEST_F(RecordsTest, APlayersOwnFilesAreKept) {
  const std::vector<uint8_t> ownConfig(104, 7), ownScores(380, 9);
  WriteFileBytes(dir_.DataFile("plonkix.cfg"), ownConfig);
  WriteFileBytes(dir_.DataFile("plonkix.hig"), ownScores);
  WriteStartingConfig(data_);
  WriteStartingHighScores(data_);
  EXPECT_EQ(ReadFileBytes(dir_.DataFile("plonkix.cfg")), ownConfig);
  EXPECT_EQ(ReadFileBytes(dir_.DataFile("plonkix.hig")), ownScores);
}

TEST_F(RecordsTest, AMissingDirectoryIsAFatalErrorNamingTheFile) {
  ExpectFatal([&] { WriteStartingConfig(dir_.path() / "nowhere"); }, {"nowhere/plonkix.cfg"});
  ExpectFatal([&] { WriteStartingHighScores(dir_.path() / "nowhere"); }, {"nowhere/plonkix.hig"});
}
}  // namespace
