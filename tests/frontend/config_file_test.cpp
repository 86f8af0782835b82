#include "config_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "../resources/file_limit.h"
#include "player.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

PlayerConfig Sample(uint8_t base) {
  PlayerConfig c;
  memset(&c, 0, sizeof c);
  c.useJoypad2 = 1;
  c.padding = 0xA5;
  c.mouseDelay = 20 + base;
  c.keyLeft = 30 + base;
  c.keyRight = 32 + base;
  c.keyRotate = 17;
  c.keyDown = 42;  // left Shift stays a key if the file says so
  c.name.capacity = 5;
  c.name.length = 5;
  memcpy(c.name.chars, "jelly", 5);
  c.name.padding[1] = 0x5A;
  c.dropSpeed = 2;
  c.beansToLink = 4 + base;
  c.cpuStrength = 3;
  return c;
}

std::vector<uint8_t> AsFile(const PlayerConfig& a, const PlayerConfig& b) {
  std::vector<uint8_t> bytes(104);
  memcpy(bytes.data(), &a, 52);
  memcpy(bytes.data() + 52, &b, 52);
  return bytes;
}

uint32_t U32(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<uint32_t>(v[at + 3]) << 24);
}

TEST(ConfigFileTest, RoundTripKeepsEveryByteAtItsPlace) {
  ScratchDir dir;
  const PlayerConfig one = Sample(0), two = Sample(7);
  int error = 0;
  ASSERT_EQ(WriteConfigFile("data/plonkix.cfg", one, two, error), SaveResult::kSaved);
  const std::vector<uint8_t> bytes = ReadFileBytes(dir.DataFile("plonkix.cfg"));
  ASSERT_EQ(bytes.size(), 104u);
  EXPECT_EQ(bytes[2], 1);              // useJoypad2
  EXPECT_EQ(U32(bytes, 52 + 4), 27u);  // player 2's mouseDelay
  EXPECT_EQ(U32(bytes, 8), 30u);       // keyLeft
  EXPECT_EQ(U32(bytes, 24), 5u);       // name capacity
  EXPECT_EQ(0, memcmp(&bytes[32], "jelly", 5));
  EXPECT_EQ(U32(bytes, 52 + 44), 11u);  // player 2's beansToLink
  EXPECT_EQ(U32(bytes, 48), 3u);        // cpuStrength
  PlayerConfig a, b;
  ASSERT_TRUE(ReadConfigFile("data/plonkix.cfg", a, b));
  EXPECT_EQ(0, memcmp(&a, &one, 52));
  EXPECT_EQ(0, memcmp(&b, &two, 52));
}

TEST(ConfigFileTest, ValuesAreMadeSafeOnReading) {
  PlayerConfig bad = Sample(0);
  bad.keyLeft = 0;
  bad.keyRight = 128;
  bad.keyRotate = 0xFFFFFFFF;
  bad.keyDown = 127;
  bad.beansToLink = 1;
  bad.name.capacity = 200;
  bad.name.length = 9;
  bad.cpuStrength = 6;
  bad.dropSpeed = 7;     // only outside the options' range: stays
  bad.mouseDelay = 200;  // likewise
  PlayerConfig alsoBad = Sample(1);
  alsoBad.beansToLink = 2;
  alsoBad.cpuStrength = 0;
  alsoBad.keyLeft = 1;
  const std::vector<uint8_t> file = AsFile(bad, alsoBad);
  PlayerConfig a, b;
  ASSERT_TRUE(ParseConfig(file.data(), file.size(), a, b));
  EXPECT_EQ(a.keyLeft, 0u);
  EXPECT_EQ(a.keyRight, 0u);
  EXPECT_EQ(a.keyRotate, 0u);
  EXPECT_EQ(a.keyDown, 127u);
  EXPECT_EQ(a.beansToLink, 3u);
  EXPECT_EQ(a.name.capacity, 5u);
  EXPECT_EQ(a.name.length, 5u);
  EXPECT_EQ(a.cpuStrength, 1u);
  EXPECT_EQ(a.dropSpeed, 7u);
  EXPECT_EQ(a.mouseDelay, 200u);
  EXPECT_EQ(a.padding, 0xA5);  // bytes the program never writes stay as read
  EXPECT_EQ(a.name.padding[1], 0x5A);
  EXPECT_EQ(b.beansToLink, 3u);
  EXPECT_EQ(b.cpuStrength, 1u);
  EXPECT_EQ(b.keyLeft, 1u);
  EXPECT_EQ(b.keyDown, 42u);
  // Valid edge values stay.
  PlayerConfig edge = Sample(0);
  edge.beansToLink = 3;
  edge.cpuStrength = 5;
  edge.name.length = 0;
  PlayerConfig c, d;
  const std::vector<uint8_t> edgeFile = AsFile(edge, edge);
  ASSERT_TRUE(ParseConfig(edgeFile.data(), edgeFile.size(), c, d));
  EXPECT_EQ(0, memcmp(&c, &edge, 52));
}

TEST(ConfigFileTest, LoadReadsBothPlayersAndStopsOnAMissingOrShortFile) {
  HeadlessSession session;
  ScratchDir dir;
  ExpectFatal([] { LoadPlayerConfigs(); }, {"data/plonkix.cfg"});
  std::vector<uint8_t> file = AsFile(Sample(0), Sample(2));
  file.pop_back();
  WriteFileBytes(dir.DataFile("plonkix.cfg"), file);
  PlayerState[1].config.name.capacity = 77;
  ExpectFatal([] { LoadPlayerConfigs(); }, {"data/plonkix.cfg", "input/output error", "103"});
  file.push_back(0);
  file.push_back(0xEE);  // a longer file is read as far as needed
  WriteFileBytes(dir.DataFile("plonkix.cfg"), file);
  LoadPlayerConfigs();
  EXPECT_EQ(PlayerState[1].config.keyLeft, 30u);
  EXPECT_EQ(PlayerState[2].config.keyLeft, 32u);
  EXPECT_EQ(PlayerState[2].config.beansToLink, 6u);
  EXPECT_EQ(PlayerState[1].config.name.capacity, 5u);
}

TEST(ConfigFileTest, SaveIsAtomicAndSilentWhenTheFileCannotBeCreated) {
  HeadlessSession session;
  ScratchDir dir;
  PlayerState[1].config = Sample(1);
  PlayerState[2].config = Sample(2);
  SavePlayerConfigs();
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.cfg")), AsFile(Sample(1), Sample(2)));
  EXPECT_FALSE(fs::exists(dir.DataFile("plonkix.cfg.tmp")));

  // A failure while writing: an input/output error naming the file, the old file intact.
  const std::vector<uint8_t> old = ReadFileBytes(dir.DataFile("plonkix.cfg"));
  PlayerState[1].config.dropSpeed = 1;
  {
    FileSizeLimit diskFull(60);
    ExpectFatal([] { SavePlayerConfigs(); }, {"data/plonkix.cfg", "input/output error"});
  }
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.cfg")), old);
  EXPECT_FALSE(fs::exists(dir.DataFile("plonkix.cfg.tmp")));

  // No data directory: nothing written, no message, the values stay.
  fs::remove_all(dir.path() / "data");
  SavePlayerConfigs();
  EXPECT_FALSE(fs::exists(dir.path() / "data"));
  EXPECT_EQ(PlayerState[1].config.dropSpeed, 1u);
}

}  // namespace
