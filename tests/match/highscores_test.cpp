#include "highscores.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "../resources/file_limit.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

ConfigName Name(const char* text) {
  ConfigName n{};
  n.capacity = 5;
  n.length = static_cast<uint32_t>(strlen(text));
  memcpy(n.chars, text, n.length > 5 ? 5 : n.length);
  return n;
}

std::string NameOf(const HighScoreName& n) {
  return std::string(n.chars, n.length);
}

// Killer kings scores 900, 800, ... 100 with beans 10 each; combo demons 9, 8, ... 1 with 50
// points each; names "k1".."k9" and "c1".."c9".
void FillTable() {
  memset(&HighScoreTable, 0, sizeof HighScoreTable);
  for (int r = 0; r < 9; ++r) {
    const std::string k = "k" + std::to_string(r + 1), c = "c" + std::to_string(r + 1);
    HighScoreTable.killerKingsName[r] = {5, 2, {}};
    memcpy(HighScoreTable.killerKingsName[r].chars, k.data(), 2);
    HighScoreTable.killerKingsScore[r] = 900 - 100 * r;
    HighScoreTable.killerKingsBeans[r] = 10;
    HighScoreTable.comboDemonsName[r] = {5, 2, {}};
    memcpy(HighScoreTable.comboDemonsName[r].chars, c.data(), 2);
    HighScoreTable.comboDemons[r] = {static_cast<uint16_t>(9 - r), 50};
  }
}

std::string Kings() {
  std::string s;
  for (int r = 0; r < 9; ++r)
    s += NameOf(HighScoreTable.killerKingsName[r]) + ":" +
         std::to_string(HighScoreTable.killerKingsScore[r]) + " ";
  return s;
}

std::string Demons() {
  std::string s;
  for (int r = 0; r < 9; ++r)
    s += NameOf(HighScoreTable.comboDemonsName[r]) + ":" +
         std::to_string(HighScoreTable.comboDemons[r].combo) + " ";
  return s;
}

TEST(HighScoresTest, EntersAtTheBestRankBeatenAndPushesDown) {
  FillTable();
  InsertHighScores(Name("amy"), 850, 0, 0, 0);
  EXPECT_EQ(Kings(), "k1:900 amy:850 k2:800 k3:700 k4:600 k5:500 k6:400 k7:300 k8:200 ");
  EXPECT_EQ(Demons(), "c1:9 c2:8 c3:7 c4:6 c5:5 c6:4 c7:3 c8:2 c9:1 ");
  // A combo with a poor score enters only the combo list.
  InsertHighScores(Name("bob"), 10, 3, 10, 0);
  EXPECT_EQ(Kings(), "k1:900 amy:850 k2:800 k3:700 k4:600 k5:500 k6:400 k7:300 k8:200 ");
  EXPECT_EQ(Demons(), "bob:10 c1:9 c2:8 c3:7 c4:6 c5:5 c6:4 c7:3 c8:2 ");
  EXPECT_EQ(HighScoreTable.comboDemons[0].comboPoints, 0);
  EXPECT_EQ(HighScoreTable.comboDemons[8].comboPoints, 50);
}

TEST(HighScoresTest, TiesBreakOnTheSecondKeyAndEqualsStayBelow) {
  FillTable();
  InsertHighScores(Name("eq"), 700, 10, 7, 50);  // equal to k3 / c3 in both keys
  EXPECT_EQ(Kings(), "k1:900 k2:800 k3:700 eq:700 k4:600 k5:500 k6:400 k7:300 k8:200 ");
  EXPECT_EQ(Demons(), "c1:9 c2:8 c3:7 eq:7 c4:6 c5:5 c6:4 c7:3 c8:2 ");
  InsertHighScores(Name("up"), 700, 11, 7, 51);  // a better tie-break beats both
  EXPECT_EQ(Kings(), "k1:900 k2:800 up:700 k3:700 eq:700 k4:600 k5:500 k6:400 k7:300 ");
  EXPECT_EQ(Demons(), "c1:9 c2:8 up:7 c3:7 eq:7 c4:6 c5:5 c6:4 c7:3 ");
}

TEST(HighScoresTest, RankNineIsOnlyFilledFromAbove) {
  FillTable();
  InsertHighScores(Name("x"), 150, 0, 1, 51);  // beats entry 9 only
  EXPECT_EQ(Kings(), "k1:900 k2:800 k3:700 k4:600 k5:500 k6:400 k7:300 k8:200 k9:100 ");
  EXPECT_EQ(Demons(), "c1:9 c2:8 c3:7 c4:6 c5:5 c6:4 c7:3 c8:2 c9:1 ");
  InsertHighScores(Name("y"), 250, 0, 2, 51);  // beats entry 8: entry 8 falls to 9
  EXPECT_EQ(Kings(), "k1:900 k2:800 k3:700 k4:600 k5:500 k6:400 k7:300 y:250 k8:200 ");
  EXPECT_EQ(Demons(), "c1:9 c2:8 c3:7 c4:6 c5:5 c6:4 c7:3 y:2 c8:2 ");
}

TEST(HighScoresTest, ZeroTableAndTwoEqualPlayers) {
  memset(&HighScoreTable, 0, sizeof HighScoreTable);
  InsertHighScores(Name("none"), 0, 0, 0, 0);
  EXPECT_EQ(HighScoreTable.killerKingsName[0].length, 0u);
  EXPECT_EQ(HighScoreTable.comboDemonsName[0].length, 0u);
  InsertHighScores(Name("one"), 0, 1, 0, 0);
  EXPECT_EQ(NameOf(HighScoreTable.killerKingsName[0]), "one");
  EXPECT_EQ(HighScoreTable.killerKingsBeans[0], 1);
  EXPECT_EQ(HighScoreTable.comboDemonsName[0].length, 0u);

  FillTable();
  InsertHighScores(Name("pl1"), 1000, 5, 12, 7);
  InsertHighScores(Name("pl2"), 1000, 5, 12, 7);
  EXPECT_EQ(Kings(), "pl1:1000 pl2:1000 k1:900 k2:800 k3:700 k4:600 k5:500 k6:400 k7:300 ");
  EXPECT_EQ(Demons(), "pl1:12 pl2:12 c1:9 c2:8 c3:7 c4:6 c5:5 c6:4 c7:3 ");
}

TEST(HighScoresTest, WideValuesCompareInFullAndAreStoredCut) {
  FillTable();
  HighScoreTable.killerKingsScore[0] = 0xFFFFFFFF;
  InsertHighScores(Name("big"), int64_t{1} << 32, 0, 0, 0);  // beats even 2^32 - 1
  EXPECT_EQ(NameOf(HighScoreTable.killerKingsName[0]), "big");
  EXPECT_EQ(HighScoreTable.killerKingsScore[0], 0u);  // low 32 bits
  EXPECT_EQ(HighScoreTable.killerKingsScore[1], 0xFFFFFFFFu);
  // 70 000 beans beat an entry's 16-bit 65 535 on an equal score, and are kept as 4 464.
  FillTable();
  HighScoreTable.killerKingsBeans[0] = 65535;
  InsertHighScores(Name("bean"), 900, 70000, 0, 0);
  EXPECT_EQ(NameOf(HighScoreTable.killerKingsName[0]), "bean");
  EXPECT_EQ(HighScoreTable.killerKingsBeans[0], 70000 - 65536);
  // Combo points compare unsigned: 40 000 beats 50.
  FillTable();
  InsertHighScores(Name("pts"), 0, 0, 9, 40000);
  EXPECT_EQ(NameOf(HighScoreTable.comboDemonsName[0]), "pts");
}

TEST(HighScoresTest, NamesCopyLengthAndCharactersOnly) {
  FillTable();
  for (auto& n : HighScoreTable.killerKingsName) n.chars[7] = '#';
  HighScoreTable.killerKingsName[1].capacity = 9;
  InsertHighScores(Name("abcde"), 850, 0, 0, 0);
  const HighScoreName& entered = HighScoreTable.killerKingsName[1];
  EXPECT_EQ(NameOf(entered), "abcde");
  EXPECT_EQ(entered.capacity, 9u);
  EXPECT_EQ(entered.chars[7], '#');
  EXPECT_EQ(NameOf(HighScoreTable.killerKingsName[2]), "k2");  // pushed down whole
  InsertHighScores(Name(""), 2000, 0, 0, 0);
  EXPECT_EQ(HighScoreTable.killerKingsName[0].length, 0u);
}

std::vector<uint8_t> TableBytes() {
  std::vector<uint8_t> bytes(380);
  memcpy(bytes.data(), &HighScoreTable, 380);
  return bytes;
}

TEST(HighScoresTest, FileLayoutLoadAndSave) {
  HeadlessSession session;
  ScratchDir dir;
  ExpectFatal([] { LoadHighScores(); }, {"data/plonkix.hig"});
  // A file laid out by hand, byte offset by byte offset.
  std::vector<uint8_t> file(380, 0);
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  for (int r = 0; r < 9; ++r) {
    put(16 * r, 5, 4);
    put(16 * r + 4, 1, 4);
    file[16 * r + 8] = static_cast<uint8_t>('a' + r);
    put(144 + 4 * r, 1000 - r, 4);
    put(180 + 2 * r, 30 + r, 2);
    put(200 + 16 * r, 5, 4);
    put(200 + 16 * r + 4, 9, 4);  // too long: cut to 5 on reading
    put(344 + 4 * r, 20 - r, 2);
    put(346 + 4 * r, 700 + r, 2);
  }
  put(198, 0xBEEF, 2);
  WriteFileBytes(dir.DataFile("plonkix.hig"), std::vector<uint8_t>(file.begin(), file.end() - 1));
  ExpectFatal([] { LoadHighScores(); }, {"data/plonkix.hig", "input/output error", "379"});
  WriteFileBytes(dir.DataFile("plonkix.hig"), file);
  LoadHighScores();
  EXPECT_EQ(NameOf(HighScoreTable.killerKingsName[2]), "c");
  EXPECT_EQ(HighScoreTable.killerKingsScore[8], 992u);
  EXPECT_EQ(HighScoreTable.killerKingsBeans[4], 34);
  EXPECT_EQ(HighScoreTable.reserved, 0xBEEF);
  EXPECT_EQ(HighScoreTable.comboDemonsName[0].length, 5u);
  EXPECT_EQ(HighScoreTable.comboDemons[3].combo, 17);
  EXPECT_EQ(HighScoreTable.comboDemons[3].comboPoints, 703);

  // Saving writes the table back byte for byte (with the cut lengths), leaving no temporary.
  std::vector<uint8_t> expected = file;
  for (int r = 0; r < 9; ++r) expected[200 + 16 * r + 4] = 5;
  SaveHighScores();
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.hig")), expected);
  EXPECT_FALSE(fs::exists(dir.DataFile("plonkix.hig.tmp")));
}

TEST(HighScoresTest, SaveFailuresAreSilentAndKeepTheTable) {
  HeadlessSession session;
  ScratchDir dir;
  FillTable();
  SaveHighScores();
  const std::vector<uint8_t> old = ReadFileBytes(dir.DataFile("plonkix.hig"));
  ASSERT_EQ(old, TableBytes());
  InsertHighScores(Name("new"), 5000, 0, 0, 0);
  {
    FileSizeLimit diskFull(200);
    SaveHighScores();  // no message, no stop
  }
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.hig")), old);
  EXPECT_FALSE(fs::exists(dir.DataFile("plonkix.hig.tmp")));
  EXPECT_EQ(NameOf(HighScoreTable.killerKingsName[0]), "new");
  fs::remove_all(dir.path() / "data");
  SaveHighScores();
  EXPECT_FALSE(fs::exists(dir.path() / "data"));
}

}  // namespace
