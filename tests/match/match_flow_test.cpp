// Whole matches in every mode through the headless backend, with scripted keys and the generated
// data set: the phases in order and on time, the names on the background, the high-score entries.
#include "match_flow.h"

#include <memory>

#include "engine.h"
#include "game_data.h"
#include "highscores.h"
#include "picture.h"
#include "platform.h"
#include "random.h"
#include "test_support.h"

namespace {

struct MatchCase {
  const char* name;
  bool cpu1, cpu2, absent2;
  bool keys;          // player 1 holds its soft drop (the results end at 600), player 2 taps
  uint32_t quitAt;    // ms into play when the pause question opens (answered 600 ms later)
  const char* kings;  // the first three killer kings afterwards
};

const MatchCase kMatches[] = {
    {"SingleHuman", false, false, true, true, 0, "ALICEzerozero"},
    {"HumanVsCpu", false, true, false, true, 0, "ALICEzerozero"},
    {"TwoHumans", false, false, false, true, 0, "ALICEBOBzero"},
    {"CpuDemo", true, true, false, false, 0, "zerozerozero"},
    {"QuitFromThePause", false, false, false, true, 800, "ALICEBOBzero"},
};

void PrintTo(const MatchCase& c, std::ostream* os) {  // names the row in CTest's test names
  *os << c.name;
}

constexpr uint32_t kTick = 14, kFadeTicks = 64, kStartTicks = 140;
constexpr uint32_t kPlayFrom = (kFadeTicks + kStartTicks + 1) * kTick;  // the first play frame
constexpr int64_t kLateChain = 3'000'000;  // more than the shown score rolls up in 1000 ticks

class WholeMatch : public ::testing::TestWithParam<MatchCase> {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  std::unique_ptr<ScratchDir> scratch;
  // One letter a presented frame: - no tick handler, i start sequence, p play (P once a field
  // has ended), r results (R with the pause question up).
  std::string frames;
  bool fresh = false;  // the message log and the spinner are clear in the first composed frame
  bool startPictureShown = false;  // at AnimCounter 150, where it stands still
  std::string fps;                 // in the first frame of play

  void SetUp() override {
    if (!GeneratedDataAvailable()) GTEST_SKIP() << "the data set is not generated";
    scratch = std::make_unique<ScratchDir>(true);
    SoundAvailable = 1;
    LoadGameData();
    ScanMap['s'] = 31;
    ScanMap['y'] = 21;
    ScanMap[keysym::kEscape] = 1;
    ScanMap[keysym::kDown] = 80;
    // Nine entries of 0 in each list, so that every result above 0 enters; the file is removed
    // to show that every match writes it.
    HighScoreTableRecord zero{};
    for (int r = 0; r < kHighScoreRanks; ++r)
      zero.killerKingsName[r] = zero.comboDemonsName[r] = {kNameCapacity, 4, {'z', 'e', 'r', 'o'}};
    HighScoreTable = zero;
    fs::remove(scratch->DataFile("plonkix.hig"));
    SeedRandom(2024);
    // Drop keys only; 99 beans to a link: nothing explodes, quick matches.
    PlayerState[1].config = PlayerConfig(0, 0, 0, 0, 0, 0, 0, 0, 31,
                                         ConfigName{5, 5, {'A', 'L', 'I', 'C', 'E'}, {}}, 1, 99, 5);
    PlayerState[2].config =
        PlayerConfig(0, 0, 0, 0, 0, 0, 0, 0, 80, ConfigName{5, 3, {'B', 'O', 'B'}, {}}, 1, 99, 5);
    // What a previous match may leave behind: the match must start from its own reset.
    PlayerState[2].gameOver = paused = 1;
    tickCount = 77;
    frameCount = 500;
    startPictureIndex = 1;
    spinCounter = 13;
    AddMessage("stale");
    backend.onPresent = [this](HeadlessBackend&) {
      const TickRoutine h = TickHandlerActive ? TickHandler : nullptr;
      const bool over = PlayerState[1].gameOver || PlayerState[2].gameOver;
      frames += h == IntroTick   ? 'i'
                : h == MatchTick ? "pP"[over]
                : h == OutroTick ? "rR"[paused]
                                 : '-';
      if (h == MatchTick && over) {
        // As if a pause key came down on a tick after the game over of the same frame, and a
        // late chain left the shown scores far behind: the results outlast neither.
        paused = 1;
        for (int p = 1; p <= kPlayers; ++p) PlayerState[p].score += kLateChain;
      }
      if (frames.size() == 2) fresh = MessageLog[0].Empty() && spinCounter == 0;
      if (frames.size() == 2 + kStartTicks + 1) fps.assign(fpsText.chars, fpsText.length);
      if (h == IntroTick && AnimCounter == 150)
        startPictureShown = LastFrameShows(StartPictures[startPictureIndex], 320, 150);
    };
  }

  bool LastFrameShows(const Sprite& s, int x, int y) const {
    return Shows(backend.lastFrame.data(), [&](uint8_t* t) { DrawSprite(t, x, y, s); });
  }
};

TEST_P(WholeMatch, EveryPhaseInOrderAndOnlyHumansEnter) {
  const MatchCase& c = GetParam();
  PlayerState[1].cpuControlled = c.cpu1;
  PlayerState[2].cpuControlled = c.cpu2;
  PlayerState[2].absent = c.absent2;
  if (c.keys) backend.KeyDown(0, 's');
  if (c.keys) backend.Tap(kPlayFrom + 100, keysym::kDown, 300);
  if (c.quitAt) backend.Tap(kPlayFrom + c.quitAt, keysym::kEscape, 100);
  if (c.quitAt) backend.KeyDown(kPlayFrom + c.quitAt + 600, 'y');  // held into the results
  PlayMatch();

  // Black, then the composed screen before the first tick, the start sequence, play until the
  // first game over, the results; the fades in and out of 64 ticks each present nothing.
  const size_t played = std::count(frames.begin(), frames.end(), 'p') + 1;
  const size_t results = c.keys ? 300 : 1000;  // AnimCounter 600 or 2000
  EXPECT_EQ(frames, "--" + std::string(kStartTicks, 'i') + std::string(played - 1, 'p') + "P" +
                        std::string(results, 'r'));
  EXPECT_EQ(backend.now, (2 * kFadeTicks + kStartTicks + played + results) * kTick);
  EXPECT_TRUE(fresh);
  EXPECT_EQ(fps, "69");  // 139 frames in 140 ticks: the fade-in's do not count
  EXPECT_TRUE(startPictureShown);
  EXPECT_EQ(startPictureIndex, 0);  // eight flips from 0
  // A key acts at the first tick after the poll that follows its time: two ticks at most.
  EXPECT_TRUE(!c.quitAt || (played - 1) * kTick <= c.quitAt + 600 + 2 * kTick);
  EXPECT_EQ(PlayerState[1].gameOver + PlayerState[2].gameOver, c.quitAt ? 2 : 1);
  ASSERT_FALSE(backend.sounds.empty());
  const auto& start = backend.sounds[0];
  EXPECT_EQ(std::tuple(start.number, start.mixerVolume, start.mixerChannel, start.atMs),
            std::tuple(0, 70, 0, kFadeTicks * kTick));
  EXPECT_EQ(TickHandlerActive, 0);
  for (int i = 0; i < kPaletteBytes; ++i) ASSERT_EQ(backend.colours[i] | Palette[i], 0);
  EXPECT_TRUE(LastFrameShows(ResultPictures[PlayerState[1].gameOver], 160, 60));
  EXPECT_TRUE(c.absent2 || LastFrameShows(ResultPictures[PlayerState[2].gameOver], 480, 340));

  // Both names stay on the background, in every mode.
  std::vector<uint8_t> background(kScreenBytes);
  LoadPicture(background.data(), kMatchBackground, false, kScreenWidth, kScreenHeight);
  DrawText(background.data(), "ALICE", 262, 230, 1);
  DrawText(background.data(), "BOB", 380, 230, 1);
  EXPECT_EQ(0, memcmp(background.data(), BackBuffer, kScreenBytes));

  // The humans enter with what they reached, the computer never; the file holds the table.
  std::string kings;
  for (int r = 0; r < 3; ++r) {
    const HighScoreName& n = HighScoreTable.killerKingsName[r];
    const std::string name(n.chars, n.length);
    kings += name;
    const int p = name == "ALICE" ? 1 : name == "BOB" ? 2 : 0;
    EXPECT_TRUE(!p || HighScoreTable.killerKingsScore[r] == PlayerState[p].score) << r;
    EXPECT_TRUE(!p || PlayerState[p].shownScore < PlayerState[p].score) << r;
  }
  EXPECT_EQ(kings, c.kings);
  const auto* table = reinterpret_cast<const uint8_t*>(&HighScoreTable);
  EXPECT_EQ(ReadFileBytes(scratch->DataFile("plonkix.hig")),
            std::vector<uint8_t>(table, table + kHighScoreFileBytes));
}

INSTANTIATE_TEST_SUITE_P(Modes, WholeMatch, ::testing::ValuesIn(kMatches),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
