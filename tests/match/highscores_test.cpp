#include "highscores.h"

#include "test_support.h"

namespace {

HighScoreTableRecord& t = HighScoreTable;

ConfigName Name(const std::string& text) {
  ConfigName n{5, uint32_t(text.size()), {}, {}};
  memcpy(n.chars, text.data(), n.length);
  return n;
}

// Killer kings "k1".."k9" scoring 900, 800, .. 100 with 10, 11, .. 18 beans; combo demons
// "c1".."c9" with combos 9, 8, .. 1 of 60, 59, .. 52 points.
void FillTable() {
  memset(&t, 0, sizeof t);
  for (int r = 0; r < 9; ++r) {
    t.killerKingsName[r] = {5, 2, {'k', char('1' + r)}};
    t.killerKingsScore[r] = 900 - 100 * r;
    t.killerKingsBeans[r] = uint16_t(10 + r);
    t.comboDemonsName[r] = {5, 2, {'c', char('1' + r)}};
    t.comboDemons[r] = {uint16_t(9 - r), uint16_t(60 - r)};
  }
}

template <typename Name>  // a HighScoreName or a ConfigName
std::string Entry(const Name& name, int64_t key, int64_t tieBreak) {
  return std::string(name.chars, name.length) + " " + std::to_string(key) + " " +
         std::to_string(tieBreak);
}
// One list, rank 1 first, as "name key tie-break" entries.
std::vector<std::string> List(bool kings) {
  std::vector<std::string> list;
  for (int r = 0; r < 9; ++r)
    list.push_back(
        kings ? Entry(t.killerKingsName[r], t.killerKingsScore[r], t.killerKingsBeans[r])
              : Entry(t.comboDemonsName[r], t.comboDemons[r].combo, t.comboDemons[r].comboPoints));
  return list;
}

TEST(HighScoresTest, EntersAtTheBestRankBeatenByKeyThenTieBreak) {
  // Fresh table?, name, score, beans, combo, points, rank entered in each list (0: none).
  const std::tuple<bool, const char*, int64_t, uint32_t, uint16_t, uint16_t, int, int> cases[] = {
      {true, "amy", 850, 0, 0, 0, 2, 0},     // each list on its own: a score without a combo,
      {true, "bob", 10, 3, 10, 0, 0, 1},     // and a combo without a score
      {true, "eq", 700, 12, 7, 58, 4, 4},    // equal in key and tie-break: below
      {false, "up", 700, 13, 7, 59, 3, 3},   // a better tie-break: above
      {true, "x", 150, 0, 1, 53, 0, 0},      // beats entry 9 only
      {true, "y", 250, 0, 2, 54, 8, 8},      // beats entry 8, which falls to 9
      {true, "pl1", 1000, 5, 12, 7, 1, 1},   // two players with equal results:
      {false, "pl2", 1000, 5, 12, 7, 2, 2},  // player 1 stays above player 2
      // Wide values compare in full before they are stored cut to the table's widths: a score
      // past 32 bits, beans past 16, unsigned combo points.
      {true, "giant", int64_t{1} << 32, 0, 9, 40000, 1, 1},
      {true, "bean", 900, 65536 + 5, 0, 0, 1, 0},
      {true, "", 0, 0, 10, 0, 0, 1},  // an empty name
  };
  for (auto [fresh, name, score, beans, combo, points, kingRank, demonRank] : cases) {
    if (fresh) FillTable();
    std::vector<std::string> kings = List(true), demons = List(false);
    InsertHighScores(Name(name), score, beans, combo, points);
    const ConfigName n = Name(name);
    if (kingRank)
      kings.insert(kings.begin() + kingRank - 1, Entry(n, uint32_t(score), uint16_t(beans)));
    if (demonRank) demons.insert(demons.begin() + demonRank - 1, Entry(n, combo, points));
    kings.resize(9);
    demons.resize(9);
    EXPECT_EQ(List(true), kings) << name;
    EXPECT_EQ(List(false), demons) << name;
  }
}

TEST(HighScoresTest, NamesMoveWithOnlyTheirLengthAndCharacters) {
  FillTable();
  t.killerKingsName[0].capacity = 9;  // the capacity and unused bytes of a slot stay
  t.killerKingsName[0].chars[7] = '#';
  InsertHighScores(Name("giant"), 1000, 0, 0, 0);
  EXPECT_EQ(std::tuple(List(true)[0], t.killerKingsName[0].capacity, t.killerKingsName[0].chars[7],
                       t.killerKingsName[1].capacity, t.killerKingsName[1].chars[7]),
            std::tuple("giant 1000 0", 9u, '#', 5u, '\0'));
}

// (A missing or short file stops the program with its name: the data-fault runs show it.)
TEST(HighScoresTest, TheFileLoadsWithLongNamesCutAndSavesBackWholeOrNotAtAll) {
  HeadlessSession session;
  ScratchDir dir;
  // Arbitrary bytes: every name length is too long except killer king 1's 3.
  std::vector<uint8_t> file(380);
  for (size_t i = 0; i < file.size(); ++i) file[i] = uint8_t(i * 7 + 1);
  memcpy(&file[4], "\3\0\0\0", 4);
  std::vector<uint8_t> expected = file;
  for (int r = 1; r < 9; ++r) memcpy(&expected[16 * r + 4], "\5\0\0\0", 4);
  for (int r = 0; r < 9; ++r) memcpy(&expected[200 + 16 * r + 4], "\5\0\0\0", 4);
  WriteFileBytes(dir.DataFile("plonkix.hig"), file);
  LoadHighScores();
  SaveHighScores();
  EXPECT_EQ(ReadFileBytes(dir.DataFile("plonkix.hig")), expected);
  fs::remove(dir.DataFile("plonkix.hig"));
  fs::create_directory(dir.DataFile("plonkix.hig"));  // the rename fails
  SaveHighScores();
  EXPECT_FALSE(fs::exists(dir.DataFile("plonkix.hig.tmp")));
  // Only the save that reached the file is reported for keeping.
  EXPECT_EQ(session->savedFiles, std::vector<std::string>{"data/plonkix.hig"});
}

}  // namespace
