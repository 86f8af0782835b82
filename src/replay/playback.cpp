#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "fatal.h"
#include "keyboard.h"
#include "match_flow.h"
#include "player.h"
#include "replay.h"
#include "ticks.h"

namespace {
constexpr uint32_t kControlMask = (1u << kControlBits) - 1;
constexpr uint32_t kActionMask = (1u << kActionBits) - 1;
// When the recorded inputs run out before the match ends, the match is quit from the pause at
// once and the results end at the first chance, so a replay that went astray still ends.
constexpr uint32_t kQuitWord = kControlPause | kControlYes;
constexpr uint32_t kLastFrame = 1 | kFrameKeyDown;
constexpr unsigned kMostCarriedTicks = 2 * kMostFrameTicks;

// Answers a match's questions from a replay, and checks its hashes on the way.
class ReplayPlayback : public MatchInput {
 public:
  ReplayPlayback(const Replay& replay, bool realTime)
      : replay_(replay),
        frames_(MakeRunReader(replay.frameRuns)),
        ticks_(MakeRunReader(replay.tickRuns)),
        realTime_(realTime) {}

  unsigned FrameTicks() override {
    if (trail_.FrameStarts()) CheckHash();
    if (!frames_.Next(frame_)) {
      frame_ = kLastFrame;
      ranOut_ = true;
    }
    const unsigned ticks = frame_ & kFrameTicksMask;
    if (realTime_) Pace(ticks);
    return ticks;
  }

  bool KeyDown() override { return (frame_ & kFrameKeyDown) != 0; }

  uint8_t Controls() override {
    if (trail_.TickStarts()) CheckHash();
    if (!ticks_.Next(word_)) {
      word_ = kQuitWord;
      ranOut_ = true;
    }
    return static_cast<uint8_t>(word_ & kControlMask);
  }

  uint8_t Actions(int p) override {
    return static_cast<uint8_t>((word_ >> kTickActionShift[p]) & kActionMask);
  }

  ReplayOutcome Outcome() {
    ReplayOutcome outcome;
    outcome.playTicks = trail_.playTicks;
    outcome.hash = lastHash_;
    for (int p = 1; p <= kPlayers; ++p) outcome.score[p] = PlayerState[p].score;
    const size_t recorded = replay_.hashes.size();
    // The first 70-tick stretch whose hash differs, or where one run has a hash and the other not.
    size_t stretch = firstDifference_;
    if (stretch == kNone && hashesSeen_ != recorded) stretch = std::min(hashesSeen_, recorded);
    char text[160];
    if (stretch != kNone) {
      snprintf(text, sizeof text, "play ticks %zu..%zu differ%s", stretch * kHashEveryTicks + 1,
               (stretch + 1) * kHashEveryTicks,
               ranOut_ ? "; the recorded inputs end before the match does" : "");
      outcome.difference = text;
    } else if (ranOut_) {
      outcome.difference = "the recorded inputs end before the match does";
    } else if (!frames_.AtEnd() || !ticks_.AtEnd()) {
      outcome.difference = "the match ends before its recorded inputs do";
    } else if (!SameResults()) {
      outcome.difference = "the results differ";
    }
    outcome.reproduced = outcome.difference.empty() && trail_.playTicks == replay_.playTicks;
    if (outcome.difference.empty() && !outcome.reproduced)
      outcome.difference = "the number of ticks of play differs";
    return outcome;
  }

 private:
  static constexpr size_t kNone = SIZE_MAX;

  void CheckHash() {
    lastHash_ = HashPlayerStates();
    const size_t index = hashesSeen_++;
    if (firstDifference_ == kNone &&
        (index >= replay_.hashes.size() || replay_.hashes[index] != lastHash_))
      firstDifference_ = index;
  }

  bool SameResults() const {
    for (int p = 1; p <= kPlayers; ++p) {
      const PlayerStateRecord& s = PlayerState[p];
      const ReplayResult& r = replay_.results[p];
      if (s.score != r.score || s.shownScore != r.shownScore || s.maxCombo != r.maxCombo ||
          s.maxComboPoints != r.maxComboPoints || s.beansKilled != r.beansKilled ||
          s.gameOver != r.gameOver)
        return false;
    }
    return true;
  }

  // Real time for the window: each tick of the replay takes one 14 ms tick of the clock, half
  // of one at double speed. The event pump runs meanwhile: Escape ends the program, Space
  // toggles the speed.
  void Pace(unsigned ticks) {
    while (credit_ < ticks) {
      credit_ += PollAndWaitTick() * speed_;
      if (KeyState[scan::kEscape]) ExitProgram(0);
      const bool space = KeyState[scan::kSpace] != 0;
      if (space && !spaceHeld_) speed_ = 3 - speed_;
      spaceHeld_ = space;
    }
    credit_ -= ticks;
    if (credit_ > kMostCarriedTicks) credit_ = kMostCarriedTicks;
  }

  const Replay& replay_;
  RunReader frames_, ticks_;
  bool realTime_;
  uint32_t frame_ = 0;
  uint32_t word_ = 0;
  bool ranOut_ = false;
  PlayTrail trail_;
  size_t hashesSeen_ = 0;
  size_t firstDifference_ = kNone;
  uint64_t lastHash_ = 0;
  unsigned credit_ = 0;
  unsigned speed_ = 1;
  bool spaceHeld_ = false;
};

// The state the recorded match started from.
void StartFrom(const Replay& replay) {
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerStateRecord& s = PlayerState[p];
    s.config = replay.players[p].config;
    s.cpuControlled = replay.players[p].cpuControlled;
    s.absent = replay.players[p].absent;
  }
  fpsText = replay.fpsText;
  SetRandomState(replay.randomState);
}

ReplayOutcome RunReplay(const Replay& replay, bool shown) {
  ReplayPlayback playback(replay, shown);
  StartFrom(replay);
  {
    const MatchInputScope scope(playback);
    // A replay never enters the high-score lists.
    PlayMatch(MatchRun{shown, false});
  }
  return playback.Outcome();
}
}  // namespace

ReplayOutcome CheckReplay(const Replay& replay) {
  return RunReplay(replay, false);
}

ReplayOutcome ShowReplay(const Replay& replay) {
  return RunReplay(replay, true);
}
