// Matches recorded through the headless backend in every mode: re-simulated, and shown frame for
// frame; edited replays caught; the replays directory kept to its size; a failed save.
#include "replay.h"

#include <cstdlib>
#include <memory>

#include "engine.h"
#include "game_data.h"
#include "highscores.h"
#include "platform.h"
#include "test_support.h"

namespace {

constexpr uint32_t kPlayFromMs = (64 + 64 + 140 + 1) * kTickMs;  // after the fade-in and start

struct RecordCase {
  const char* name;
  bool cpu1, cpu2, absent2;
  bool slowFrames;   // every seventh frame takes 2 to 4 ticks
  bool pauseResume;  // Escape, then N
  bool altEnter;     // full screen and back during play
  bool quit;         // Escape, then Y
};

const RecordCase kRecordCases[] = {
    {"SingleHuman", false, false, true, false, true, false, false},
    {"HumanVsCpu", false, true, false, true, true, true, false},
    {"TwoHumans", false, false, false, true, false, false, true},
    {"CpuDemo", true, true, false, true, false, false, false},
};

std::vector<fs::path> ReplayFiles() {
  std::error_code ec;
  std::vector<fs::path> files(fs::directory_iterator(kReplayDirectory, ec), {});
  std::sort(files.begin(), files.end());
  return files;
}

class RecordedMatch : public ::testing::Test {
 protected:
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  std::unique_ptr<ScratchDir> scratch;

  void SetUp() override {
    if (!GeneratedDataAvailable()) GTEST_SKIP() << "the data set is not generated";
    scratch = std::make_unique<ScratchDir>(true);
    SoundAvailable = 1;
    LoadGameData();
    LoadScanMap("data/scanmap");
    LoadHighScores();
    SeedRandom(77);
    fpsText.Set("12");
    for (int p = 1; p <= kPlayers; ++p) {
      const auto key = [p](int one, int two) { return uint32_t{ScanMap[p == 1 ? one : two]}; };
      PlayerState[p].config = PlayerConfig(
          0, 0, 0, 0, 0, key('s', keysym::kLeft), key('f', keysym::kRight), key('e', keysym::kUp),
          key('d', keysym::kDown), ConfigName{}, 2, 4, p == 1 ? 3u : 5u);
      PlayerState[p].config.name = {kNameCapacity, 3, {'P', 'L', static_cast<char>('0' + p)}, {}};
    }
    backend.keepFrameChecksums = true;
  }

  static void SetMode(bool cpu1, bool cpu2, bool absent2) {
    PlayerState[1].cpuControlled = cpu1, PlayerState[1].absent = 0;
    PlayerState[2].cpuControlled = cpu2, PlayerState[2].absent = absent2;
  }

  // Key taps timed from the start of play, made only while the match is in play, so that none
  // is left over for what follows.
  struct Tap {
    uint32_t atMs;
    uint16_t sym, holdMs, mod;
  };
  std::vector<Tap> plan;
  size_t planned = 0;
  uint32_t playStart = 0;

  void FollowPlan() {
    std::stable_sort(plan.begin(), plan.end(),
                     [](const Tap& a, const Tap& b) { return a.atMs < b.atMs; });
    backend.onPoll = [this](HeadlessBackend& b) {
      if (!TickHandlerActive || TickHandler != MatchTick) return;
      if (!playStart) playStart = b.now;
      for (; planned < plan.size() && plan[planned].atMs <= b.now - playStart; ++planned)
        b.Tap(b.now, plan[planned].sym, plan[planned].holdMs, plan[planned].mod);
    };
  }

  // Taps of every key of the humans in turn through the first 8 s of play; then the drop keys
  // and Space held, so that the fields fill and the results end early.
  void PlanHumans() {
    const uint16_t keys[3][4] = {
        {}, {'s', 'f', 'e', 'd'}, {keysym::kLeft, keysym::kRight, keysym::kUp, keysym::kDown}};
    for (uint32_t t = 100, i = 0; t < 8000; t += 70 + i % 5 * 20, ++i)
      if (const int p = 1 + i % 2; !PlayerState[p].cpuControlled && !PlayerState[p].absent)
        plan.push_back({t, keys[p][i / 2 % 4], static_cast<uint16_t>(20 + i % 7 * 25), 0});
    for (uint16_t held : {keys[1][3], keys[2][3], uint16_t{keysym::kSpace}})
      plan.push_back({8000, held, 60000, 0});
  }

  void PlanAt(uint32_t atMs, uint16_t sym, uint16_t mod = 0) {
    plan.push_back({atMs, sym, 100, mod});
  }

  // Plays one match through the recorder; returns its replay, read back from its file.
  Replay RecordOne() {
    PlayRecordedMatch();
    const std::vector<fs::path> files = ReplayFiles();
    EXPECT_EQ(files.size(), 1u);
    Replay replay{};
    std::string error;
    EXPECT_TRUE(!files.empty() && ReadReplayFile(files.back().c_str(), replay, error)) << error;
    return replay;
  }
};

void PrintTo(const RecordCase& c, std::ostream* os) {  // names the row in CTest's test names
  *os << c.name;
}
class EveryMode : public RecordedMatch, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(EveryMode, ReproducedAndShownFrameForFrame) {
  const RecordCase& c = GetParam();
  SetMode(c.cpu1, c.cpu2, c.absent2);
  PlanHumans();
  if (c.pauseResume) PlanAt(3000, keysym::kEscape), PlanAt(4500, 'n');
  if (c.altEnter) PlanAt(2000, keysym::kReturn, keymod::kLAlt);
  if (c.quit) PlanAt(9000, keysym::kEscape), PlanAt(9500, 'y');
  FollowPlan();
  if (c.slowFrames)
    backend.onPresent = [](HeadlessBackend& b) {
      if (b.framesPresented % 7 == 0) b.now += 14 * (1 + b.framesPresented / 7 % 3);
    };
  const Replay replay = RecordOne();
  const std::vector<uint32_t> frames = backend.frameChecksums;
  const SoundLog sounds = SoundsPlayed(backend);

  EXPECT_EQ(planned, plan.size()) << "the match ended before its plan did";
  // What neither the re-simulation nor the showing checks: the animation (the caller loads it
  // before showing), frames of several ticks where the machine was slow, equal values in a row
  // kept as one run. (A wrong mode would not reproduce, a wrong fps text not show the same frames.)
  EXPECT_EQ(replay.animation, LoadedAnimation);
  uint64_t ticks = 0;
  RunReader reader = MakeRunReader(replay.frameRuns);
  for (uint32_t v; reader.Next(v);) ticks += v & kFrameTicksMask;
  EXPECT_EQ(replay.frames < ticks, c.slowFrames);
  EXPECT_LT(replay.frameRuns.size() + replay.tickRuns.size(), replay.frames + replay.playTicks);

  // Re-simulated without a window: the same hashes, ticks of play and results.
  const ReplayOutcome checked = CheckReplay(replay);
  EXPECT_TRUE(checked.reproduced) << checked.difference;

  // Shown: the same frames and sounds, nothing entered or saved, no new replay.
  fs::remove(scratch->DataFile("plonkix.hig"));
  backend.onPresent = nullptr, backend.onPoll = nullptr;
  backend.frameChecksums.clear(), backend.sounds.clear();
  memset(KeyState, 0, sizeof KeyState);
  const uint32_t shownFrom = backend.now;
  const ReplayOutcome shown = ShowReplay(replay);
  EXPECT_TRUE(shown.reproduced) << shown.difference;
  EXPECT_TRUE(backend.frameChecksums == frames);
  EXPECT_EQ(SoundsPlayed(backend), sounds);
  EXPECT_FALSE(fs::exists(scratch->DataFile("plonkix.hig")));
  EXPECT_EQ(ReplayFiles().size(), 1u);
  // At its own pace: one 14 ms tick per recorded tick.
  EXPECT_NEAR(backend.now - shownFrom, ticks * kTickMs, 3 * kTickMs);
}

INSTANTIATE_TEST_SUITE_P(Modes, EveryMode, ::testing::ValuesIn(kRecordCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Re-encodes a replay's tick stream after changing it tick by tick.
template <typename Edit>
void EditTicks(Replay& r, Edit edit) {
  std::vector<uint32_t> words;
  RunReader reader = MakeRunReader(r.tickRuns);
  for (uint32_t w; reader.Next(w);) words.push_back(w);
  edit(words);
  r.tickRuns.clear();
  for (uint32_t w : words) AppendRun(r.tickRuns, w, 1);
  r.playTicks = static_cast<uint32_t>(words.size());
  r.hashes.resize(HashCount(r.playTicks));
}

struct Tampering {
  const char* name;
  void (*edit)(Replay&);
  const char* difference;
};

const Tampering kTamperings[] = {
    {"PausedFromTick100",
     [](Replay& r) {
       EditTicks(r, [](auto& w) { std::fill(w.begin() + 99, w.end(), kControlPause); });
     },
     "play ticks 71..140 differ"},
    {"LastHash", [](Replay& r) { r.hashes.back() ^= 1; }, "differ"},
    {"InputsCutShort",
     [](Replay& r) {
       EditTicks(r, [](auto& w) { w.resize(w.size() / 2); });
       r.hashes.resize(HashCount(r.playTicks * 2));
     },
     "the recorded inputs end before the match does"},
    {"FramesGoOn", [](Replay& r) { AppendRun(r.frameRuns, 1, 5), r.frames += 5; },
     "the match ends before its recorded inputs do"},
    {"Score", [](Replay& r) { r.results[1].score += 1; }, "the results differ"},
};

TEST_F(RecordedMatch, EditedReplaysAreCaughtAndStillEnd) {
  SetMode(false, true, false);
  backend.KeyDown(kPlayFromMs, 'd');
  const Replay recorded = RecordOne();
  ASSERT_TRUE(CheckReplay(recorded).reproduced);
  ASSERT_GT(recorded.playTicks, 200u);
  for (const Tampering& t : kTamperings) {
    Replay replay = recorded;
    t.edit(replay);
    const ReplayOutcome outcome = CheckReplay(replay);
    EXPECT_FALSE(outcome.reproduced) << t.name;
    EXPECT_NE(outcome.difference.find(t.difference), std::string::npos)
        << t.name << ": " << outcome.difference;
  }

  // The simulator's verdict on bad files: its status and its one line (the recorded replays
  // kept as regression data show a good one).
  Replay diverged = recorded;
  kTamperings[0].edit(diverged);
  std::vector<uint8_t> corrupted = EncodeReplay(recorded);
  corrupted[corrupted.size() / 2] ^= 1;
  WriteFileBytes("diverged.plx", EncodeReplay(diverged));
  WriteFileBytes("corrupted.plx", corrupted);
  const std::tuple<std::string, int, std::string> runs[] = {
      {"--replay diverged.plx", 1, "diverged.plx: NOT reproduced, play ticks 71..140 differ"},
      {"--replay corrupted.plx", 2, "plonkix-sim: corrupted.plx: corrupted"},
      {"--replay", 2, "plonkix-sim: --replay takes one file"},
  };
  for (const auto& [arguments, status, line] : runs) {
    const std::string command = std::string(PLONKIX_SIM) + " " + arguments + " > out.txt 2>&1";
    const int result = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(result) ? WEXITSTATUS(result) : -1, status) << arguments;
    const std::vector<uint8_t> bytes = ReadFileBytes("out.txt");
    const std::string out(bytes.begin(), bytes.end());
    EXPECT_EQ(out.rfind(line, 0), 0u) << arguments << ": " << out;
  }
}

TEST_F(RecordedMatch, NewestHundredKeptAndOtherFilesLeftAlone) {
  fs::create_directory(kReplayDirectory);
  for (int i = 0; i < 105; ++i) {
    char name[64];
    snprintf(name, sizeof name, "%s/20200101-0000%02d-%03d.plx", kReplayDirectory, i / 10, i);
    WriteFileBytes(name, {1});
  }
  WriteFileBytes(fs::path(kReplayDirectory) / "notes.txt", {1});
  WriteFileBytes(fs::path(kReplayDirectory) / "20200101-000000-00.plx", {1});  // not our name
  SetMode(true, true, false);
  PlayRecordedMatch();
  const std::vector<fs::path> files = ReplayFiles();
  ASSERT_EQ(files.size(), 102u);  // 100 replays and the two files of other names
  EXPECT_EQ(files[0].filename(), "20200101-000000-00.plx");
  EXPECT_EQ(files[1].filename(), "20200101-000000-006.plx");  // the oldest six are gone
  EXPECT_EQ(files.back().filename(), "notes.txt");
  // The backend hears of the new file (the browser keeps a copy), after the pruning.
  ASSERT_FALSE(backend.savedFiles.empty());
  EXPECT_EQ(fs::path(backend.savedFiles.back()),
            fs::path(kReplayDirectory) / files[100].filename());
}

TEST_F(RecordedMatch, FailedSaveCostsOneLineAndNothingElse) {
  WriteFileBytes(kReplayDirectory, {1});  // a file where the directory should be
  SetMode(false, false, true);
  backend.KeyDown(kPlayFromMs, 'd');
  testing::internal::CaptureStderr();
  PlayRecordedMatch();
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(printed.rfind("plonkix: cannot save the replay data/replays/", 0), 0u) << printed;
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
  EXPECT_NE(printed.find("Not a directory"), std::string::npos) << printed;
  EXPECT_EQ(&CurrentMatchInput(), &LiveMatchInput());
  // The high scores were saved (the backend hears only of files written whole).
  EXPECT_EQ(backend.savedFiles, std::vector<std::string>{"data/plonkix.hig"});
}

}  // namespace
