// Whole matches through the headless backend with scripted keys and the generated data set, and
// the start and result displays with synthetic sprites.
#include "match_flow.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "highscores.h"
#include "picture.h"
#include "screen_fixture.h"
#include "test_support.h"

namespace {

// ---- The start and result displays, drawn alone ----

class MatchDisplays : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    Name(1, "ALICE");
    Name(2, "BOB");
    startPictureIndex = 0;
  }
  static void Name(int p, const char* name) {
    ConfigName& n = PlayerState[p].config.name;
    n.capacity = kNameCapacity;
    n.length = static_cast<uint32_t>(strlen(name));
    memcpy(n.chars, name, n.length);
  }
  void Start(int32_t t) {
    Compose();
    DrawStartSequence(t);
  }
  void Results(int32_t t) {
    Compose();
    DrawResults(t);
  }
  ::testing::AssertionResult ShowsScaled(const Sprite& s, int x, int y, uint32_t scale) {
    return ShowsDrawing([&](uint8_t* t) { DrawSpriteScaled(t, x, y, scale, scale, s); });
  }
};

TEST_F(MatchDisplays, StartPictureDropsBlinksAndShrinksWhileTheNamesSlideIn) {
  Start(50);
  EXPECT_TRUE(ShowsScaled(StartPictures[0], 320, 50, 50));
  Start(99);
  EXPECT_TRUE(ShowsScaled(StartPictures[0], 320, 148, 99));
  Start(150);
  EXPECT_TRUE(Shows(StartPictures[0], 320, 150));
  EXPECT_TRUE(ShowsText("ALICE", -9, 230, 1));
  EXPECT_TRUE(ShowsText("BOB", 651, 230, 1));
  startPictureIndex = 1;
  Start(320);
  EXPECT_TRUE(Shows(StartPictures[1], 320, 150));
  EXPECT_TRUE(ShowsText("ALICE", 161, 230, 1));
  EXPECT_TRUE(ShowsText("BOB", 481, 230, 1));
  startPictureIndex = 0;
  Start(321);
  EXPECT_TRUE(ShowsScaled(StartPictures[0], 320, 150, 99));
  Start(400);
  EXPECT_TRUE(ShowsScaled(StartPictures[0], 320, 150, 20));
  // At the end only the names are left, one step short of their places on the background.
  Compose();
  const std::vector<uint8_t> screen = Frame();
  Start(420);
  EXPECT_TRUE(ShowsText("ALICE", 261, 230, 1));
  EXPECT_TRUE(ShowsText("BOB", 381, 230, 1));
  for (int i = 0; i < kScreenBytes; ++i)
    if (FrameBuffer[i] != screen[i]) {
      ASSERT_TRUE(i / kScreenWidth >= 223 && i / kScreenWidth < 237);
    }
}

TEST_F(MatchDisplays, EmptyNameDrawsNothing) {
  Name(2, "");
  Compose();
  const std::vector<uint8_t> screen = Frame();
  Start(200);  // ALICE at 41, BOB would stand at 601
  EXPECT_TRUE(ShowsText("ALICE", 41, 230, 1));
  EXPECT_TRUE(SameRegion(screen, 320, 215, 640, 260));
}

TEST_F(MatchDisplays, ResultItemsSlideInOneAfterAnother) {
  PlayerStateRecord& one = PlayerState[1];
  PlayerStateRecord& two = PlayerState[2];
  one.maxCombo = 3;
  one.maxComboPoints = 3200;
  one.beansKilled = 57;
  one.gameOver = 1;
  two.beansKilled = 4;
  const Sprite lost = ResultPictures[1], won = ResultPictures[0];
  struct Stage {
    int32_t t;
    int line[3];  // player 1's line x (player 2's mirror about 320); 9999 = not yet shown
    int picture;  // player 1's picture x; player 2's is 640 - x
  };
  constexpr int kNo = 9999;
  const Stage stages[] = {
      {100, {-82, kNo, kNo}, 760}, {199, {116, kNo, kNo}, 562},  {320, {118, -42, kNo}, 320},
      {399, {118, 116, kNo}, 162}, {520, {118, 118, -42}, 160},  {599, {118, 118, 116}, 160},
      {600, {118, 118, 118}, 160}, {1999, {118, 118, 118}, 160},
  };
  const char* texts[2][3] = {{"maximum combo 3 hits", "3200 pts.scored", "57 beans killed"},
                             {"maximum combo 0 hits", "0 pts.scored", "4 beans killed"}};
  const int y[3] = {240, 255, 280};
  for (const Stage& s : stages) {
    Results(s.t);
    for (int line = 0; line < 3; ++line) {
      if (s.line[line] == kNo) continue;
      // Player 2's lines stand at 522 where player 1's stand at 118, coming from the right.
      const int x2 = 522 + (118 - s.line[line]);
      EXPECT_TRUE(ShowsText(texts[0][line], s.line[line], y[line], 1)) << s.t << " " << line;
      EXPECT_TRUE(ShowsText(texts[1][line], x2, y[line], 1)) << s.t << " " << line;
    }
    EXPECT_TRUE(Shows(lost, s.picture, 60)) << s.t;
    EXPECT_TRUE(Shows(won, 640 - s.picture, 340)) << s.t;
  }
  // Items not yet due leave the screen as it was.
  Compose();
  const std::vector<uint8_t> screen = Frame();
  Results(199);
  EXPECT_TRUE(SameRegion(screen, 0, 248, 640, 290));
}

TEST_F(MatchDisplays, AbsentPlayerHasNoResults) {
  PlayerState[2].absent = 1;
  PlayerState[1].gameOver = 1;
  Compose();
  const std::vector<uint8_t> screen = Frame();
  Results(700);
  EXPECT_TRUE(Shows(ResultPictures[1], 160, 60));
  EXPECT_TRUE(ShowsText("0 beans killed", 118, 280, 1));
  EXPECT_TRUE(SameRegion(screen, 320, 100, 640, 400));
}

// ---- Whole matches ----

// What the screen showed at one presented frame.
struct Shot {
  uint32_t now;
  TickRoutine handler;  // null when none runs
  int32_t anim;
  int32_t pictureIndex;
  uint8_t paused;
  uint8_t over[3];
  int32_t pairRow;  // player 1's pivot bean
  uint32_t fall;
  std::string fps;
};

// Key symbols and the scancodes the tests map them to.
struct KeyMap {
  uint16_t sym;
  uint8_t scancode;
};
constexpr KeyMap kKeys[] = {{'a', 30},
                            {'d', 32},
                            {'w', 17},
                            {'s', 31},
                            {'y', 21},
                            {'z', 44},
                            {'j', 36},
                            {'n', 49},
                            {'p', 25},
                            {' ', 57},
                            {keysym::kEscape, 1},
                            {keysym::kDown, 80},
                            {keysym::kLeft, 75},
                            {keysym::kRight, 77},
                            {keysym::kUp, 72}};

class WholeMatch : public ::testing::Test {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  std::unique_ptr<ScratchDir> scratch;
  std::vector<Shot> shots;
  std::vector<uint8_t> originalScores;

  void SetUp() override {
    if (!GeneratedDataAvailable()) GTEST_SKIP() << "the data set is not generated";
    scratch = std::make_unique<ScratchDir>(true);
    SoundAvailable = 1;
    LoadGameData();
    LoadScanMap("data/scanmap");
    for (const KeyMap& k : kKeys) ScanMap[k.sym] = k.scancode;
    originalScores = ReadFileBytes(scratch->DataFile("plonkix.hig"));
    LoadHighScores();
    SeedRandom(2024);
    for (int p = 1; p <= kPlayers; ++p) {
      PlayerConfig& c = PlayerState[p].config;
      c = PlayerConfig{};
      c.name.capacity = kNameCapacity;
      c.dropSpeed = 1;
      c.beansToLink = 4;
      c.cpuStrength = 5;
      c.mouseDelay = 20;
    }
    Keys(1, 30, 32, 17, 31);
    Keys(2, 75, 77, 72, 80);
    Name(1, "ALICE");
    Name(2, "BOB");
    backend.onPresent = [this](HeadlessBackend& b) {
      shots.push_back(Shot{b.now,
                           TickHandlerActive ? TickHandler : nullptr,
                           AnimCounter,
                           startPictureIndex,
                           paused,
                           {0, PlayerState[1].gameOver, PlayerState[2].gameOver},
                           PlayerState[1].pairB.row,
                           PlayerState[1].fallProgress,
                           std::string(fpsText.chars, fpsText.length)});
    };
  }
  void TearDown() override { scratch.reset(); }

  static void Keys(int p, uint32_t left, uint32_t right, uint32_t rotate, uint32_t down) {
    PlayerConfig& c = PlayerState[p].config;
    c.keyLeft = left;
    c.keyRight = right;
    c.keyRotate = rotate;
    c.keyDown = down;
  }
  static void Name(int p, const char* name) {
    ConfigName& n = PlayerState[p].config.name;
    n.length = static_cast<uint32_t>(strlen(name));
    memcpy(n.chars, name, n.length);
  }
  static void Mode(bool cpu1, bool cpu2, bool absent2) {
    PlayerState[1].cpuControlled = cpu1;
    PlayerState[1].absent = 0;
    PlayerState[2].cpuControlled = cpu2;
    PlayerState[2].absent = absent2;
  }
  // A table of nine entries with score, beans, combo and points 0: every result above 0 enters.
  void ZeroTable() {
    HighScoreTableRecord zero{};
    for (int r = 0; r < kHighScoreRanks; ++r) {
      zero.killerKingsName[r] = HighScoreName{kNameCapacity, 4, {'z', 'e', 'r', 'o'}};
      zero.comboDemonsName[r] = HighScoreName{kNameCapacity, 4, {'z', 'e', 'r', 'o'}};
    }
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&zero);
    WriteFileBytes(scratch->DataFile("plonkix.hig"),
                   std::vector<uint8_t>(bytes, bytes + kHighScoreFileBytes));
    LoadHighScores();
  }
  std::vector<const Shot*> Phase(TickRoutine handler) const {
    std::vector<const Shot*> out;
    for (const Shot& s : shots)
      if (s.handler == handler) out.push_back(&s);
    return out;
  }
  static std::string KillerKing(int rank) {
    const HighScoreName& n = HighScoreTable.killerKingsName[rank - 1];
    return std::string(n.chars, n.length);
  }
  bool FileHoldsTheTable() const {
    const std::vector<uint8_t> file = ReadFileBytes(scratch->DataFile("plonkix.hig"));
    return file.size() == kHighScoreFileBytes &&
           memcmp(file.data(), &HighScoreTable, kHighScoreFileBytes) == 0;
  }
  // The last presented frame shows the sprite at (x, y).
  ::testing::AssertionResult LastFrameShows(const Sprite& s, int x, int y) const {
    std::vector<uint8_t> alone(kScreenBytes, 0);
    DrawSprite(alone.data(), x, y, s);
    for (int i = 0; i < kScreenBytes; ++i)
      if (alone[i] && backend.lastFrame[i] != alone[i])
        return ::testing::AssertionFailure()
               << "differs at " << i % kScreenWidth << "," << i / kScreenWidth;
    return ::testing::AssertionSuccess();
  }
};

constexpr uint32_t kTick = 14;
constexpr uint32_t kFadeTicks = 64;
constexpr uint32_t kStartTicks = 140;
constexpr uint32_t kPlayFrom = (kFadeTicks + kStartTicks + 1) * kTick;  // the first play frame

TEST_F(WholeMatch, SingleHumanToppingOutRunsEveryPhaseOnTime) {
  Mode(false, false, true);
  Name(2, "");
  ZeroTable();
  PlayerState[1].config.beansToLink = 99;  // nothing explodes: a quick top-out
  backend.KeyDown(0, 's');                 // held from start to end
  PlayMatch();

  // Fade-in: a black frame and the composed screen, both before the first tick.
  ASSERT_GE(shots.size(), 2u);
  EXPECT_EQ(shots[0].now, 0u);
  EXPECT_EQ(shots[1].now, 0u);
  EXPECT_EQ(shots[0].handler, nullptr);
  EXPECT_EQ(shots[1].handler, nullptr);
  ASSERT_FALSE(backend.sounds.empty());
  EXPECT_EQ(backend.sounds[0].number, 0);
  EXPECT_EQ(backend.sounds[0].mixerVolume, 70);
  EXPECT_EQ(backend.sounds[0].mixerChannel, 0);
  EXPECT_EQ(backend.sounds[0].atMs, kFadeTicks * kTick);

  // Start sequence: 140 frames, one per tick, AnimCounter 3 .. 420; eight flips, ending on 0.
  const auto start = Phase(IntroTick);
  ASSERT_EQ(start.size(), kStartTicks);
  int flips = 0;
  for (size_t i = 0; i < start.size(); ++i) {
    EXPECT_EQ(start[i]->anim, static_cast<int32_t>(3 * (i + 1)));
    EXPECT_EQ(start[i]->now, (kFadeTicks + 1 + i) * kTick);
    if (i > 0 && start[i]->pictureIndex != start[i - 1]->pictureIndex) ++flips;
  }
  EXPECT_EQ(flips, 8);
  EXPECT_EQ(start.back()->pictureIndex, 0);

  // Play until the frame that ends with player 1's field topped out.
  const auto play = Phase(MatchTick);
  ASSERT_FALSE(play.empty());
  EXPECT_EQ(play.front()->now, kPlayFrom);
  // The meter's first reading: 139 frames in the start sequence's 140 ticks, halved. The two
  // fade-in frames do not count.
  EXPECT_EQ(play.front()->fps, "69");
  for (size_t i = 0; i + 1 < play.size(); ++i) ASSERT_FALSE(play[i]->over[1]);
  EXPECT_TRUE(play.back()->over[1]);
  EXPECT_FALSE(play.back()->over[2]);

  // Results: the key is held, so they end as soon as AnimCounter reaches 600.
  const auto results = Phase(OutroTick);
  ASSERT_EQ(results.size(), 300u);
  EXPECT_EQ(results.front()->anim, 2);
  EXPECT_EQ(results.back()->anim, 600);
  EXPECT_EQ(results.front()->now, play.back()->now + kTick);
  EXPECT_EQ(shots.size(), 2 + start.size() + play.size() + results.size());

  // Fade-out: 64 more ticks, nothing installed, the colours and the Palette black.
  EXPECT_EQ(backend.now, results.back()->now + kFadeTicks * kTick);
  EXPECT_EQ(TickHandlerActive, 0);
  for (int i = 0; i < kPaletteBytes; ++i) {
    ASSERT_EQ(backend.colours[i], 0);
    ASSERT_EQ(Palette[i], 0);
  }

  // The result display: player 1's lost picture, nothing for the absent player 2.
  EXPECT_TRUE(LastFrameShows(ResultPictures[1], 160, 60));
  for (int y = 230; y < 360; ++y)
    for (int x = 440; x < 600; ++x)
      ASSERT_EQ(backend.lastFrame[y * kScreenWidth + x], BackBuffer[y * kScreenWidth + x]);

  // The background keeps player 1's name; the empty name of player 2 adds nothing.
  std::vector<uint8_t> background(kScreenBytes);
  LoadPicture(background.data(), "data/plonkix.p23", false, kScreenWidth, kScreenHeight);
  DrawText(background.data(), "ALICE", 262, 230, 1);
  EXPECT_EQ(0, memcmp(background.data(), BackBuffer, kScreenBytes));

  // The human's result is entered and the file rewritten.
  EXPECT_GT(PlayerState[1].shownScore, 0);
  EXPECT_EQ(KillerKing(1), "ALICE");
  EXPECT_EQ(static_cast<int64_t>(HighScoreTable.killerKingsScore[0]), PlayerState[1].shownScore);
  EXPECT_EQ(KillerKing(2), "zero");
  EXPECT_TRUE(FileHoldsTheTable());
}

TEST_F(WholeMatch, TwoHumansTheFirstToTopOutLoses) {
  Mode(false, false, false);
  ZeroTable();
  PlayerState[1].config.beansToLink = 99;
  backend.KeyDown(0, 's');
  backend.Tap(kPlayFrom + 100, keysym::kDown, 300);  // a few soft drops for player 2
  PlayMatch();

  const auto play = Phase(MatchTick);
  ASSERT_FALSE(play.empty());
  EXPECT_TRUE(play.back()->over[1]);
  EXPECT_FALSE(play.back()->over[2]);
  EXPECT_EQ(Phase(OutroTick).size(), 300u);
  EXPECT_TRUE(LastFrameShows(ResultPictures[1], 160, 60));
  EXPECT_TRUE(LastFrameShows(ResultPictures[0], 480, 340));

  // Both humans are entered, the better score first.
  const int64_t one = PlayerState[1].shownScore, two = PlayerState[2].shownScore;
  ASSERT_GT(two, 0);
  ASSERT_NE(one, two);
  EXPECT_EQ(KillerKing(1), one > two ? "ALICE" : "BOB");
  EXPECT_EQ(KillerKing(2), one > two ? "BOB" : "ALICE");
  EXPECT_EQ(HighScoreTable.killerKingsScore[0], static_cast<uint32_t>(one > two ? one : two));
  EXPECT_TRUE(FileHoldsTheTable());
}

TEST_F(WholeMatch, AgainstTheComputerOnlyTheHumanEnters) {
  Mode(false, true, false);
  Name(2, "CPU");
  ZeroTable();
  PlayerState[1].config.beansToLink = 99;
  backend.KeyDown(0, 's');
  PlayMatch();

  EXPECT_GT(PlayerState[2].shownScore, 0);  // the computer's result would have entered
  for (int r = 1; r <= kHighScoreRanks; ++r) EXPECT_NE(KillerKing(r), "CPU");
  EXPECT_EQ(KillerKing(1), "ALICE");
  for (int r = 0; r < kHighScoreRanks; ++r) {
    const HighScoreName& n = HighScoreTable.comboDemonsName[r];
    EXPECT_NE(std::string(n.chars, n.length), "CPU");
  }
  EXPECT_TRUE(FileHoldsTheTable());
}

TEST_F(WholeMatch, DemoEntersNobodyButRewritesTheFile) {
  Mode(true, true, false);
  PlayerState[1].config.beansToLink = PlayerState[2].config.beansToLink = 99;
  std::remove(scratch->DataFile("plonkix.hig").c_str());
  PlayMatch();

  const auto play = Phase(MatchTick);
  ASSERT_FALSE(play.empty());
  EXPECT_TRUE(play.back()->over[1] || play.back()->over[2]);
  // No key: the results run their full length.
  const auto results = Phase(OutroTick);
  ASSERT_EQ(results.size(), 1000u);
  EXPECT_EQ(results.back()->anim, 2000);
  EXPECT_EQ(ReadFileBytes(scratch->DataFile("plonkix.hig")), originalScores);
}

class PauseAnswer : public WholeMatch, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(PauseAnswer, PauseResumeAndQuit) {
  Mode(false, false, false);
  ZeroTable();
  const uint32_t t0 = kPlayFrom;
  backend.Tap(t0 + 100, 's', 400);         // player 1 scores a few soft drops
  backend.Tap(t0 + 600, GetParam(), 100);  // an answer without a question does nothing
  backend.Tap(t0 + 800, keysym::kEscape, 100);
  backend.Tap(t0 + 1400, 'n', 100);  // resume
  backend.Tap(t0 + 1800, 'p', 100);
  backend.Tap(t0 + 2400, GetParam(), 100);  // quit
  backend.Tap(t0 + 9000, ' ', 100);         // ends the results early
  PlayMatch();

  const auto play = Phase(MatchTick);
  ASSERT_FALSE(play.empty());
  const Shot* pausedFirst = nullptr;
  for (const Shot* s : play) {
    const uint32_t t = s->now - t0;
    // A key is seen at the first tick after the poll that follows its time.
    if (t < 800) {
      EXPECT_FALSE(s->paused) << t;
    }
    if (t >= 800 + 2 * kTick && t < 1400) {
      EXPECT_TRUE(s->paused) << t;
      if (!pausedFirst) pausedFirst = s;
      // Nothing falls while paused.
      EXPECT_EQ(s->pairRow, pausedFirst->pairRow) << t;
      EXPECT_EQ(s->fall, pausedFirst->fall) << t;
    }
    if (t >= 1400 + 2 * kTick && t < 1800) {
      EXPECT_FALSE(s->paused) << t;
    }
    if (t >= 1800 + 2 * kTick && t < 2400) {
      EXPECT_TRUE(s->paused) << t;
    }
    if (t < 2400) {
      EXPECT_FALSE(s->over[1] || s->over[2]) << t;
    }
  }
  ASSERT_NE(pausedFirst, nullptr);
  EXPECT_TRUE(play.back()->over[1] && play.back()->over[2]);
  EXPECT_FALSE(play.back()->paused);
  EXPECT_LE(play.back()->now, t0 + 2400 + 2 * kTick);

  const auto results = Phase(OutroTick);
  ASSERT_FALSE(results.empty());
  EXPECT_GE(results.back()->now, t0 + 9000);
  EXPECT_LE(results.back()->now, t0 + 9000 + 2 * kTick);
  EXPECT_GT(results.back()->anim, 600);
  EXPECT_LT(results.back()->anim, 2000);
  EXPECT_TRUE(LastFrameShows(ResultPictures[1], 160, 60));
  EXPECT_TRUE(LastFrameShows(ResultPictures[1], 480, 340));

  // Player 1 is entered with what was reached; player 2's nothing beats no entry.
  EXPECT_GT(PlayerState[1].shownScore, 0);
  EXPECT_EQ(KillerKing(1), "ALICE");
  EXPECT_EQ(static_cast<int64_t>(HighScoreTable.killerKingsScore[0]), PlayerState[1].shownScore);
  EXPECT_EQ(KillerKing(2), "zero");
  EXPECT_TRUE(FileHoldsTheTable());
}

INSTANTIATE_TEST_SUITE_P(YesKeys, PauseAnswer, ::testing::Values('y', 'z', 'j'));

}  // namespace
