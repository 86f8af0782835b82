// The starting configuration and high-score files as the game's own records: sensible players,
// sorted and beatable lists; the key table as the game loads it; the writers' failures.
#include <set>

#include "highscores.h"
#include "keyboard.h"
#include "keysyms.h"
#include "parts.h"
#include "player_config.h"
#include "test_support.h"

namespace {

// A name the name entry can type: every character comes from some key.
bool Typable(const char* chars, uint32_t length) {
  for (uint32_t i = 0; i < length; ++i) {
    int s = 1;
    while (s < 128 && (chars[i] == 0 || ScancodeToChar(static_cast<uint8_t>(s)) != chars[i])) ++s;
    if (s == 128) return false;
  }
  return true;
}

// The whole file as the record it holds (the records' layouts are fixed to the byte).
template <typename Record>
void Read(const std::filesystem::path& file, Record& record) {
  const std::vector<uint8_t> bytes = ReadFileBytes(file);
  ASSERT_EQ(bytes.size(), sizeof record);
  memcpy(&record, bytes.data(), sizeof record);
}

}  // namespace

TEST(StartingRecords, TwoSensibleKeyboardPlayersAndSortedBeatableLists) {
  ScratchDir dir;
  WriteStartingConfig(dir.path() / "data");
  WriteStartingHighScores(dir.path() / "data");
  WriteScanMap(dir.path() / "data");
  const std::vector<uint8_t> scanMap = ReadFileBytes(dir.DataFile("scanmap"));
  PlayerConfig players[2];
  Read(dir.DataFile("plonkix.cfg"), players);
  std::vector<uint32_t> keys;
  for (const PlayerConfig& p : players) {
    EXPECT_TRUE((p.useMouse | p.useJoypad1 | p.useJoypad2 | p.padding) == 0 && p.mouseDelay >= 5 &&
                p.mouseDelay <= 99 && p.cpuStrength >= 1 && p.cpuStrength <= 5 &&
                p.dropSpeed == 1 && p.beansToLink == 4 && p.name.capacity == 5 &&
                p.name.length == 5 && Typable(p.name.chars, 5));
    keys.insert(keys.end(), {p.keyLeft, p.keyRight, p.keyRotate, p.keyDown});
  }
  // On the keyboard, none shared, and none of left Shift, pause, the quit answers or Escape.
  const std::set<uint32_t> distinct(keys.begin(), keys.end()),
      reserved{scan::kLShift, scan::kP, scan::kY, scan::kZ, scan::kJ, scan::kN, scan::kEscape};
  EXPECT_EQ(distinct.size(), keys.size());
  for (uint32_t key : keys)
    EXPECT_TRUE(std::count(scanMap.begin(), scanMap.end(), key) && !reserved.count(key)) << key;
  EXPECT_NE(memcmp(players[0].name.chars, players[1].name.chars, 5), 0);
  EXPECT_EQ(std::vector<uint32_t>(keys.begin() + 4, keys.end()),
            std::vector<uint32_t>({scan::kLeft, scan::kRight, scan::kUp, scan::kDown}));

  HighScoreTableRecord t;
  Read(dir.DataFile("plonkix.hig"), t);
  EXPECT_EQ(t.reserved, 0);
  for (int r = 0; r < kHighScoreRanks; ++r) {
    SCOPED_TRACE("rank " + std::to_string(r + 1));
    for (const HighScoreName& name : {t.killerKingsName[r], t.comboDemonsName[r]})
      EXPECT_TRUE(name.capacity == 5 && name.length >= 1 && name.length <= 5 &&
                  Typable(name.chars, name.length));
    EXPECT_GT(t.killerKingsScore[r], 0u);
    if (r > 0) {  // best first; equal keys ordered by beans killed and by chain points
      EXPECT_GE(std::pair(t.killerKingsScore[r - 1], t.killerKingsBeans[r - 1]),
                std::pair(t.killerKingsScore[r], t.killerKingsBeans[r]));
      EXPECT_GE(std::pair(t.comboDemons[r - 1].combo, t.comboDemons[r - 1].comboPoints),
                std::pair(t.comboDemons[r].combo, t.comboDemons[r].comboPoints));
    }
    // Points a chain of that many hits can score with 4 to a link: 200 x hits x weight, the
    // weight at least that of every hit a group of 4.
    const uint32_t hits = t.comboDemons[r].combo, points = t.comboDemons[r].comboPoints;
    ASSERT_GT(hits, 0u);
    EXPECT_TRUE(points % (200 * hits) == 0 && points >= 200 * hits * hits * (hits + 1)) << points;
  }
  // A good first match gets onto both lists.
  EXPECT_TRUE(t.killerKingsScore[0] <= 100000u && t.comboDemons[0].combo <= 5);
}

TEST(ScanMap, TypableCharactersTheScreensKeysAndAPlayersControlKeysReachTheGame) {
  HeadlessSession session;
  ScratchDir dir;
  WriteScanMap(dir.path() / "data");
  ASSERT_EQ(ReadFileBytes(dir.DataFile("scanmap")).size(), static_cast<size_t>(kScanMapSize));
  LoadScanMap("data/scanmap");
  for (char c : std::string("abcdefghijklmnopqrstuvwxyz0123456789,.-#+'* ")) {
    const uint8_t scancode = ScanMap[static_cast<uint8_t>(c)];
    EXPECT_TRUE(scancode < 128 && ScancodeToChar(scancode) == c) << "'" << c << "'";
  }
  // The screens' keys ("z" and "y" as in the German layout), F1..F12 and the keypad's digits
  // where a PC keyboard has them.
  const uint16_t symbols[] = {keysym::kEscape, keysym::kReturn, keysym::kSpace, keysym::kUp,
                              keysym::kDown,   keysym::kLeft,   keysym::kRight, keysym::kLShift,
                              keysym::kRShift, keysym::kZ,      keysym::kZ - 1, keysym::kF1 + 10,
                              keysym::kF12};
  const uint8_t codes[] = {
      scan::kEscape, scan::kReturn, scan::kSpace, scan::kUp, scan::kDown, scan::kLeft, scan::kRight,
      scan::kLShift, scan::kRShift, scan::kZ,     scan::kY,  87,          88};
  for (size_t i = 0; i < std::size(codes); ++i)
    EXPECT_EQ(ScanMap[symbols[i]], codes[i]) << "symbol " << symbols[i];
  const uint8_t keypad[10] = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};
  for (int k = 0; k < 10; ++k)
    EXPECT_TRUE(ScanMap[keysym::kF1 + k] == 59 + k && ScanMap[keysym::kKp0 + k] == keypad[k]) << k;
  // Keys a player might choose for the controls reach the game; no symbol goes to key 0.
  for (uint16_t key :
       {keysym::kBackspace, keysym::kTab, keysym::kInsert, keysym::kHome, keysym::kPageUp,
        keysym::kDelete, keysym::kEnd, keysym::kPageDown, keysym::kLCtrl, keysym::kRCtrl,
        keysym::kLAlt, keysym::kKpEnter, keysym::kKpPlus, keysym::kKpMinus, keysym::kKpMultiply,
        keysym::kKpDivide, keysym::kSemicolon, keysym::kSlash, keysym::kLeftBracket})
    EXPECT_LT(ScanMap[key], 128) << "symbol " << key;
  EXPECT_EQ(std::count(ScanMap, ScanMap + kScanMapSize, 0), 0);
}

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
