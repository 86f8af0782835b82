// The start and result displays with synthetic sprites, and whole matches in every mode through
// the headless backend with scripted keys and the generated data set.
#include "match_flow.h"

#include <memory>
#include <string>

#include "highscores.h"
#include "picture.h"
#include "random.h"
#include "screen_fixture.h"
#include "test_support.h"

namespace {

void Name(int p, const char* name) {
  ConfigName& n = PlayerState[p].config.name;
  n.capacity = kNameCapacity;
  n.length = static_cast<uint32_t>(strlen(name));
  memcpy(n.chars, name, n.length);
}

using MatchDisplays = ScreenTest;

TEST_F(MatchDisplays, StartPictureDropsBlinksAndShrinksWhileTheNamesSlideIn) {
  Name(1, "ALICE");
  Name(2, "");  // an empty name draws nothing
  auto scaled = [](int index, int y, uint32_t scale) {
    return Shows(
        [=](uint8_t* t) { DrawSpriteScaled(t, 320, y, scale, scale, StartPictures[index]); });
  };
  const int stages[][4] = {{50, 0, 50, 50},    {99, 1, 148, 99},  {150, 0, 150, 100},
                           {320, 1, 150, 100}, {321, 0, 150, 99}, {400, 1, 150, 20}};
  for (const auto& s : stages) {  // t, picture, y, scale
    startPictureIndex = s[1];
    Compose();
    const std::vector<uint8_t> screen = Frame();
    DrawStartSequence(s[0]);
    EXPECT_TRUE(scaled(s[1], s[2], s[3])) << s[0];
    EXPECT_TRUE(s[0] < 140 || Txt("ALICE", s[0] - 159, 230, 1)) << s[0];
    EXPECT_TRUE(SameRegion(screen, 320, 215, 640, 400)) << s[0];
  }
  Compose();
  const std::vector<uint8_t> screen = Frame();
  DrawStartSequence(420);  // the picture is gone, the name one step short of its place
  EXPECT_TRUE(Txt("ALICE", 261, 230, 1));
  EXPECT_TRUE(SameRegion(screen, 0, 0, 640, 223));
}

TEST_F(MatchDisplays, ResultItemsSlideInOneAfterAnother) {
  PlayerStateRecord& one = PlayerState[1];
  one.maxCombo = 3;
  one.maxComboPoints = 3200;
  one.beansKilled = 57;
  one.gameOver = 1;
  PlayerState[2].beansKilled = 4;
  const char* texts[2][3] = {{"maximum combo 3 hits", "3200 pts.scored", "57 beans killed"},
                             {"maximum combo 0 hits", "0 pts.scored", "4 beans killed"}};
  const int y[3] = {240, 255, 280}, no = 9999;
  // t, player 1's three lines and picture (player 2's mirror them: 522 for 118, 640 - x).
  const int stages[][5] = {{100, -82, no, no, 760},   {199, 116, no, no, 562},
                           {320, 118, -42, no, 320},  {399, 118, 116, no, 162},
                           {520, 118, 118, -42, 160}, {1999, 118, 118, 118, 160}};
  for (const auto& s : stages) {
    Compose();
    const std::vector<uint8_t> screen = Frame();
    DrawResults(s[0]);
    for (int line = 0; line < 3; ++line) {
      if (s[1 + line] == no) {
        EXPECT_TRUE(SameRegion(screen, 0, y[line] - 7, 640, y[line] + 7)) << s[0];
        continue;
      }
      EXPECT_TRUE(Txt(texts[0][line], s[1 + line], y[line], 1)) << s[0] << " " << line;
      EXPECT_TRUE(Txt(texts[1][line], 640 - s[1 + line], y[line], 1)) << s[0] << " " << line;
    }
    EXPECT_TRUE(Sp(ResultPictures[1], s[4], 60)) << s[0];
    EXPECT_TRUE(Sp(ResultPictures[0], 640 - s[4], 340)) << s[0];
  }
  PlayerState[2].absent = 1;  // an absent player has no results
  Compose();
  const std::vector<uint8_t> screen = Frame();
  DrawResults(700);
  EXPECT_TRUE(SameRegion(screen, 320, 100, 640, 400));
}

// ---- Whole matches ----

struct Shot {
  uint32_t now;
  TickRoutine handler;  // null when none runs
  int32_t anim, pictureIndex;
  uint8_t paused, over1, over2;
  int32_t pairRow;
  std::string fps;
};

constexpr uint32_t kTick = 14, kFadeTicks = 64, kStartTicks = 140;
constexpr uint32_t kPlayFrom = (kFadeTicks + kStartTicks + 1) * kTick;  // the first play frame

class WholeMatch : public ::testing::Test {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  std::unique_ptr<ScratchDir> scratch;
  std::vector<Shot> shots;
  std::vector<uint8_t> shippedScores;

  void SetUp() override {
    if (!GeneratedDataAvailable()) GTEST_SKIP() << "the data set is not generated";
    scratch = std::make_unique<ScratchDir>(true);
    SoundAvailable = 1;
    LoadGameData();
    const uint16_t syms[] = {'s', 'y', 'z', 'j', 'n', 'p', ' ', keysym::kEscape, keysym::kDown};
    const uint8_t codes[] = {31, 21, 44, 36, 49, 25, 57, 1, 80};
    for (int k = 0; k < 9; ++k) ScanMap[syms[k]] = codes[k];
    shippedScores = ReadFileBytes(scratch->DataFile("plonkix.hig"));
    LoadHighScores();
    SeedRandom(2024);
    for (int p = 1; p <= kPlayers; ++p) {
      PlayerConfig& c = PlayerState[p].config = PlayerConfig{};
      c.keyLeft = p == 1 ? 30 : 75;
      c.keyDown = p == 1 ? 31 : 80;
      c.dropSpeed = 1;
      c.beansToLink = 99;  // nothing explodes: quick matches
      c.cpuStrength = 5;
    }
    Name(1, "ALICE");
    Name(2, "BOB");
    backend.onPresent = [this](HeadlessBackend& b) {
      const PlayerStateRecord *one = &PlayerState[1], *two = &PlayerState[2];
      shots.push_back({b.now, TickHandlerActive ? TickHandler : nullptr, AnimCounter,
                       startPictureIndex, paused, one->gameOver, two->gameOver, one->pairB.row,
                       std::string(fpsText.chars, fpsText.length)});
    };
  }
  void TearDown() override { scratch.reset(); }

  static void Mode(bool cpu1, bool cpu2, bool absent2) {
    PlayerState[1].cpuControlled = cpu1;
    PlayerState[2].cpuControlled = cpu2;
    PlayerState[1].absent = 0;
    PlayerState[2].absent = absent2;
  }
  // Nine entries of 0: every result above 0 enters.
  void ZeroTable() {
    HighScoreTableRecord zero{};
    for (int r = 0; r < kHighScoreRanks; ++r)
      zero.killerKingsName[r] = zero.comboDemonsName[r] = {kNameCapacity, 4, {'z', 'e', 'r', 'o'}};
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&zero);
    WriteFileBytes(scratch->DataFile("plonkix.hig"), {bytes, bytes + kHighScoreFileBytes});
    LoadHighScores();
  }
  std::vector<const Shot*> Phase(TickRoutine handler) const {
    std::vector<const Shot*> out;
    for (const Shot& s : shots)
      if (s.handler == handler) out.push_back(&s);
    return out;
  }
  static std::string King(int rank) {
    const HighScoreName& n = HighScoreTable.killerKingsName[rank - 1];
    return std::string(n.chars, n.length);
  }
  bool FileHoldsTheTable() const {
    const std::vector<uint8_t> file = ReadFileBytes(scratch->DataFile("plonkix.hig"));
    return file.size() == kHighScoreFileBytes && !memcmp(file.data(), &HighScoreTable, 380);
  }
  bool LastFrameShows(const Sprite& s, int x, int y) const {
    std::vector<uint8_t> alone(kScreenBytes, 0);
    DrawSprite(alone.data(), x, y, s);
    for (int i = 0; i < kScreenBytes; ++i)
      if (alone[i] && backend.lastFrame[i] != alone[i]) return false;
    return true;
  }
  // The checks every match passes: phases, timings, the meter, the result pictures, the file.
  void CheckPhases(size_t resultFrames) {
    ASSERT_GE(shots.size(), 2u);
    EXPECT_EQ(shots[1].now, 0u);  // black, then the composed screen, before the first tick
    EXPECT_EQ(shots[1].handler, nullptr);
    ASSERT_FALSE(backend.sounds.empty());
    const auto& start = backend.sounds[0];
    EXPECT_EQ(std::vector<int>({start.number, start.mixerVolume, start.mixerChannel}),
              std::vector<int>({0, 70, 0}));
    EXPECT_EQ(start.atMs, kFadeTicks * kTick);
    const auto intro = Phase(IntroTick), play = Phase(MatchTick), results = Phase(OutroTick);
    ASSERT_EQ(intro.size(), kStartTicks);
    int flips = 0;
    for (size_t i = 0; i < intro.size(); ++i) {
      EXPECT_EQ(intro[i]->anim, static_cast<int32_t>(3 * (i + 1)));
      flips += i > 0 && intro[i]->pictureIndex != intro[i - 1]->pictureIndex;
    }
    EXPECT_EQ(flips, 8);
    EXPECT_EQ(intro.back()->pictureIndex, 0);
    ASSERT_FALSE(play.empty());
    EXPECT_EQ(play.front()->now, kPlayFrom);
    EXPECT_EQ(play.front()->fps, "69");  // 139 frames in 140 ticks: the fade-in's do not count
    for (size_t i = 0; i + 1 < play.size(); ++i) ASSERT_FALSE(play[i]->over1 || play[i]->over2);
    EXPECT_TRUE(play.back()->over1 || play.back()->over2);
    ASSERT_EQ(results.size(), resultFrames);
    EXPECT_EQ(results.back()->anim, static_cast<int32_t>(2 * resultFrames));
    EXPECT_EQ(shots.size(), 2 + intro.size() + play.size() + results.size());
    EXPECT_EQ(backend.now, results.back()->now + kFadeTicks * kTick);  // the fade-out
    EXPECT_EQ(TickHandlerActive, 0);
    for (int i = 0; i < kPaletteBytes; ++i) ASSERT_EQ(backend.colours[i] | Palette[i], 0);
    EXPECT_TRUE(LastFrameShows(ResultPictures[PlayerState[1].gameOver], 160, 60));
    EXPECT_TRUE(PlayerState[2].absent ||
                LastFrameShows(ResultPictures[PlayerState[2].gameOver], 480, 340));
  }
};

TEST_F(WholeMatch, SingleHumanToppingOut) {
  Mode(false, false, true);
  Name(2, "");
  ZeroTable();
  backend.KeyDown(0, 's');  // held throughout: the results end at 600
  PlayMatch();
  CheckPhases(300);
  EXPECT_TRUE(PlayerState[1].gameOver);
  for (int y = 230; y < 360; ++y)  // nothing of the absent player's results
    for (int x = 440; x < 600; ++x)
      ASSERT_EQ(backend.lastFrame[y * kScreenWidth + x], BackBuffer[y * kScreenWidth + x]);
  std::vector<uint8_t> background(kScreenBytes);  // the names stay: only player 1 has one
  LoadPicture(background.data(), kMatchBackground, false, kScreenWidth, kScreenHeight);
  DrawText(background.data(), "ALICE", 262, 230, 1);
  EXPECT_EQ(0, memcmp(background.data(), BackBuffer, kScreenBytes));
  EXPECT_EQ(King(1), "ALICE");
  EXPECT_EQ(int64_t{HighScoreTable.killerKingsScore[0]}, PlayerState[1].shownScore);
  EXPECT_EQ(King(2), "zero");
  EXPECT_TRUE(FileHoldsTheTable());
}

TEST_F(WholeMatch, TwoHumansBothEnter) {
  Mode(false, false, false);
  ZeroTable();
  backend.KeyDown(0, 's');
  backend.Tap(kPlayFrom + 100, keysym::kDown, 300);  // a few soft drops for player 2
  PlayMatch();
  CheckPhases(300);
  EXPECT_TRUE(PlayerState[1].gameOver && !PlayerState[2].gameOver);
  const int64_t one = PlayerState[1].shownScore, two = PlayerState[2].shownScore;
  ASSERT_TRUE(two > 0 && one > two);
  EXPECT_EQ(King(1) + King(2) + King(3), "ALICEBOBzero");
  EXPECT_EQ(int64_t{HighScoreTable.killerKingsScore[1]}, two);
  EXPECT_TRUE(FileHoldsTheTable());
}

TEST_F(WholeMatch, AgainstTheComputerOnlyTheHumanEnters) {
  Mode(false, true, false);
  ZeroTable();
  backend.KeyDown(0, 's');
  PlayMatch();
  CheckPhases(300);
  EXPECT_GT(PlayerState[2].shownScore, 0);  // it would have entered
  EXPECT_EQ(King(1) + King(2), "ALICEzero");
  EXPECT_TRUE(FileHoldsTheTable());
}

TEST_F(WholeMatch, DemoEntersNobodyAndRewritesTheFileUnchanged) {
  Mode(true, true, false);
  std::remove(scratch->DataFile("plonkix.hig").c_str());
  PlayMatch();
  CheckPhases(1000);  // no key: the results run to 2000
  EXPECT_EQ(ReadFileBytes(scratch->DataFile("plonkix.hig")), shippedScores);
}

class PauseAnswer : public WholeMatch, public ::testing::WithParamInterface<char> {};

TEST_P(PauseAnswer, PauseResumeAndQuit) {
  Mode(false, false, false);
  ZeroTable();
  const uint32_t t0 = kPlayFrom;
  backend.Tap(t0 + 100, 's', 400);         // player 1 scores a few soft drops
  backend.Tap(t0 + 600, GetParam(), 100);  // an answer without the question does nothing
  backend.Tap(t0 + 800, keysym::kEscape, 100);
  backend.Tap(t0 + 1400, 'n', 100);  // resume
  backend.Tap(t0 + 1800, 'p', 100);
  backend.Tap(t0 + 2400, GetParam(), 100);  // quit
  backend.Tap(t0 + 9000, ' ', 100);         // ends the results early
  PlayMatch();
  // A key acts at the first tick after the poll that follows its time: allow two ticks.
  const Shot* first = nullptr;
  for (const Shot* s : Phase(MatchTick)) {
    const uint32_t t = s->now - t0, late = 2 * kTick;
    const bool inPause = (t >= 800 + late && t < 1400) || (t >= 1800 + late && t < 2400);
    const bool running = t < 800 || (t >= 1400 + late && t < 1800);
    EXPECT_TRUE(!inPause || s->paused) << t;
    EXPECT_TRUE(!running || !s->paused) << t;
    EXPECT_TRUE(t >= 2400 || !(s->over1 || s->over2)) << t;
    if (inPause && t < 1400 && !first) first = s;
    EXPECT_TRUE(!inPause || t > 1400 || s->pairRow == first->pairRow) << t;  // nothing falls
  }
  const auto play = Phase(MatchTick), results = Phase(OutroTick);
  EXPECT_TRUE(play.back()->over1 && play.back()->over2 && !play.back()->paused);
  EXPECT_LE(play.back()->now, t0 + 2400 + 2 * kTick);
  ASSERT_FALSE(results.empty());
  EXPECT_GE(results.back()->now, t0 + 9000);
  EXPECT_LE(results.back()->now, t0 + 9000 + 2 * kTick);
  EXPECT_TRUE(LastFrameShows(ResultPictures[1], 160, 60));
  EXPECT_TRUE(LastFrameShows(ResultPictures[1], 480, 340));
  // Player 1 enters with what was reached; player 2's nothing does not enter.
  EXPECT_EQ(King(1) + King(2), "ALICEzero");
  EXPECT_EQ(int64_t{HighScoreTable.killerKingsScore[0]}, PlayerState[1].shownScore);
  EXPECT_TRUE(FileHoldsTheTable());
}

INSTANTIATE_TEST_SUITE_P(YesKeys, PauseAnswer, ::testing::Values('y', 'z', 'j'));

}  // namespace
