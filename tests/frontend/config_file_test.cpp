#include "config_file.h"

#include "../resources/file_limit.h"
#include "player.h"
#include "test_support.h"

namespace {

// Joypad 2 and left Shift (42) as a key, as a file may say; the padding bytes are set so that
// changes to them show.
PlayerConfig Sample(uint8_t base) {
  return PlayerConfig{
      0,          0,          1,   0xA5, 20u + base,
      30u + base, 32u + base, 17u, 42u,  {5, 5, {'j', 'e', 'l', 'l', 'y'}, {0, 0x5A, 0}},
      2u,         4u + base,  3u};
}
std::vector<uint8_t> Bytes(const PlayerConfig& a, const PlayerConfig& b) {
  std::vector<uint8_t> bytes(104);
  memcpy(bytes.data(), &a, 52);
  memcpy(bytes.data() + 52, &b, 52);
  return bytes;
}

TEST(ConfigFileTest, ValuesThatWouldBreakTheRulesAreMadeSafe) {
  using P = PlayerConfig;
  const struct {
    uint32_t P::*field;
    uint32_t value, safe;
  } cases[] = {
      {&P::keyLeft, 0, 0},     {&P::keyRight, 128, 0},   {&P::keyRotate, 0xFFFFFFFF, 0},
      {&P::keyDown, 127, 127}, {&P::keyLeft, 1, 1},      {&P::beansToLink, 2, 3},
      {&P::beansToLink, 3, 3}, {&P::cpuStrength, 0, 1},  {&P::cpuStrength, 6, 1},
      {&P::cpuStrength, 5, 5}, {&P::dropSpeed, 7, 7},  // only outside the options' range
      {&P::dropSpeed, 0, 1},   {&P::dropSpeed, 100, 99}, {&P::dropSpeed, 0xFFFFFFFF, 99},
  };
  for (const auto& c : cases) {
    PlayerConfig config = Sample(0), safe = Sample(0);
    config.*c.field = c.value;
    safe.*c.field = c.safe;
    SanitiseConfig(config);
    EXPECT_EQ(Bytes(config, config), Bytes(safe, safe)) << c.value;
  }
}

TEST(ConfigFileTest, SavedRecordsLoadBackAndAFailedSaveKeepsTheOldFile) {
  HeadlessSession session;
  ScratchDir dir;
  PlayerState[1].config = Sample(1);
  PlayerState[2].config = Sample(2);
  SavePlayerConfigs();
  std::vector<uint8_t> file = ReadFileBytes(dir.DataFile("plonkix.cfg"));
  ASSERT_EQ(file, Bytes(Sample(1), Sample(2)));
  EXPECT_EQ(session->savedFiles, std::vector<std::string>{"data/plonkix.cfg"});

  // Player 2's beansToLink 1, name capacity 200 and name length 9 are made safe on reading.
  file[52 + 44] = 1;
  file[52 + 24] = 200;
  file[52 + 28] = 9;
  file.push_back(0xEE);  // a longer file is read as far as needed
  WriteFileBytes(dir.DataFile("plonkix.cfg"), file);
  memset(&PlayerState[1].config, 0, 52);
  LoadPlayerConfigs();
  PlayerConfig two = Sample(2);
  two.beansToLink = 3;
  EXPECT_EQ(Bytes(PlayerState[1].config, PlayerState[2].config), Bytes(Sample(1), two));

  // A failure while writing (a full disk) stops with the file named and leaves the old file
  // whole and no temporary behind, not even one an earlier crash left; a file that cannot be
  // created is silently skipped and the values stay.
  PlayerState[1].config.dropSpeed = 1;
  WriteFileBytes(dir.DataFile("plonkix.cfg.tmp"), {7});
  {
    FileSizeLimit diskFull(60);
    ExpectFatal([] { SavePlayerConfigs(); }, {"data/plonkix.cfg", "input/output", "too large"});
  }
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.cfg")), file);
  EXPECT_FALSE(std::filesystem::exists(dir.DataFile("plonkix.cfg.tmp")));
  std::filesystem::remove_all(dir.path() / "data");
  SavePlayerConfigs();
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "data"));
  EXPECT_EQ(PlayerState[1].config.dropSpeed, 1u);
  EXPECT_EQ(session->savedFiles.size(), 1u) << "a save that failed was reported as kept";
}

}  // namespace
