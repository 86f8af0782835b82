// Replays: every match the program plays is recorded through its MatchInput and saved under
// data/replays/; a replay can be shown again in the window or re-simulated without one, and
// then tells whether the match came out the same.
#pragma once
#include <cstdint>
#include <string>

#include "match_input.h"
#include "replay_file.h"

constexpr const char* kReplayDirectory = "data/replays";
constexpr int kKeptReplays = 100;
// Room for the run-coded streams of one match, reserved once: far more than hours of play use.
constexpr size_t kRecordStreamBytes = 1u << 20;

// Where a match's hashes are taken, as seen from its MatchInput: a play tick starts with the
// Controls() question; play has ended when a frame that ran play ticks ended with a game over.
class PlayTrail {
 public:
  // At the start of a play tick: true when the state is due for a hash (after every 70th tick).
  bool TickStarts();
  // At the start of a frame: true when the frame before ended play (after its last tick).
  bool FrameStarts();
  bool PlayOver() const { return over_; }
  uint32_t playTicks = 0;

 private:
  uint32_t frameTicks_ = 0;
  bool over_ = false;
};

// Adds up one run-coded stream value by value into a stream of fixed capacity.
struct RunWriter {
  std::vector<uint8_t>* stream = nullptr;
  uint32_t value = 0;
  uint32_t length = 0;
  bool overflow = false;
  void Add(uint32_t v);
  void Flush();
};

// A MatchInput that passes another source's answers through and writes them down.
class ReplayRecorder : public MatchInput {
 public:
  // Takes what the match-start reset will find (the generator, both players, the animation, the
  // frames-per-second text) and records what source answers from now on. With sharedOptions the
  // players' options are kept as both machines of an online match hold them (SharedOptions).
  void Begin(MatchInput& source, bool sharedOptions = false);
  // After the match: the last frame and tick, the hash of the end of play, the results.
  void Finish();
  // False when the match did not fit into a replay (far too long or too many input changes).
  bool Complete() const;
  const Replay& replay() const { return replay_; }

  unsigned FrameTicks() override;
  bool KeyDown() override;
  uint8_t Controls() override;
  void PollDevices() override;
  uint8_t Actions(int p) override;

 private:
  void AddHash();
  MatchInput* source_ = nullptr;
  Replay replay_{};
  RunWriter frames_, ticks_;
  uint32_t frameValue_ = 0;
  uint32_t tickWord_ = 0;
  bool frameOpen_ = false, tickOpen_ = false;
  uint64_t allTicks_ = 0;
  bool tooLong_ = false;
  PlayTrail trail_;
};

// Plays one match (PlayMatch) through a recorder over the current source, and saves the replay.
// A replay that cannot be saved costs one line on stderr; the game goes on. sharedOptions: see
// ReplayRecorder::Begin.
void PlayRecordedMatch(bool sharedOptions = false);

// Saves into kReplayDirectory (made when missing) under a name that sorts by time, then removes
// the oldest replays beyond kKeptReplays and reports the new file to the backend (FileSaved).
// path receives the file's path, error what failed.
bool SaveReplay(const Replay& replay, std::string& path, std::string& error);
// Whether a file name is one SaveReplay gives (and the only kind it removes when pruning).
bool IsReplayName(const std::string& name);

// How a replayed match came out.
struct ReplayOutcome {
  bool reproduced = false;
  std::string difference;  // what differs first, when not reproduced
  int64_t score[3] = {};
  uint32_t playTicks = 0;
  uint64_t hash = 0;  // after the last tick of play
};

// Re-simulates the match without drawing, as fast as it goes (needs a backend: the fades still
// set the palette). Changes the players' records and options.
ReplayOutcome CheckReplay(const Replay& replay);
// Shows the match in the window as it was played, at its own pace: Escape ends the program,
// Space toggles double speed. The screen must be open and replay.animation loaded.
ReplayOutcome ShowReplay(const Replay& replay);
