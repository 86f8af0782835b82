#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "backend.h"
#include "files.h"
#include "game_data.h"
#include "match_flow.h"
#include "player.h"
#include "replay.h"

namespace {
constexpr size_t kRunMostBytes = 10;  // two 32-bit LEB128 numbers
constexpr uint32_t kControlMask = (1u << kControlBits) - 1;
constexpr uint32_t kActionMask = (1u << kActionBits) - 1;
// The time of saving (UTC) down to the millisecond, so that the names sort by time; in the
// pattern 9 stands for any digit.
constexpr char kReplayNamePattern[] = "99999999-999999-999.plx";

std::string ReplayName() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm utc{};
  gmtime_r(&now.tv_sec, &utc);
  char name[64];
  snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d-%03ld.plx", utc.tm_year + 1900,
           utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, now.tv_nsec / 1000000);
  return name;
}

// Removes the oldest replays (by name) beyond the newest kKeptReplays; other files stay.
void PruneReplays() {
  std::error_code failure;
  std::vector<std::string> names;
  std::filesystem::directory_iterator entry(kReplayDirectory, failure), end;
  for (; !failure && entry != end; entry.increment(failure)) {
    const std::string name = entry->path().filename().string();
    if (IsReplayName(name)) names.push_back(name);
  }
  if (names.size() <= kKeptReplays) return;
  std::sort(names.begin(), names.end());
  for (size_t i = 0; i + kKeptReplays < names.size(); ++i)
    std::filesystem::remove(std::filesystem::path(kReplayDirectory) / names[i], failure);
}
}  // namespace

bool IsReplayName(const std::string& name) {
  if (name.size() != sizeof kReplayNamePattern - 1) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char want = kReplayNamePattern[i];
    if (want == '9' ? (name[i] < '0' || name[i] > '9') : name[i] != want) return false;
  }
  return true;
}

// ---- PlayTrail ----

bool PlayTrail::TickStarts() {
  const bool due = playTicks > 0 && playTicks % kHashEveryTicks == 0;
  ++playTicks;
  ++frameTicks_;
  return due;
}

bool PlayTrail::FrameStarts() {
  const bool ended =
      !over_ && frameTicks_ > 0 && (PlayerState[1].gameOver || PlayerState[2].gameOver);
  if (ended) over_ = true;
  frameTicks_ = 0;
  return ended;
}

// ---- RunWriter ----

void RunWriter::Add(uint32_t v) {
  if (length > 0 && v == value && length < UINT32_MAX) {
    ++length;
    return;
  }
  Flush();
  value = v;
  length = 1;
}

void RunWriter::Flush() {
  if (length == 0) return;
  // The stream never grows past the room reserved for it: no allocation while a match runs.
  if (stream->size() + kRunMostBytes > stream->capacity())
    overflow = true;
  else
    AppendRun(*stream, value, length);
  length = 0;
}

// ---- ReplayRecorder ----

void ReplayRecorder::Begin(MatchInput& source, bool sharedOptions) {
  source_ = &source;
  replay_.frameRuns.clear();
  replay_.tickRuns.clear();
  replay_.hashes.clear();
  replay_.frameRuns.reserve(kRecordStreamBytes);
  replay_.tickRuns.reserve(kRecordStreamBytes);
  replay_.hashes.reserve(HashCount(kMostReplayTicks));
  GetRandomState(replay_.randomState);
  for (int p = 1; p <= kPlayers; ++p) {
    const PlayerStateRecord& s = PlayerState[p];
    replay_.players[p] =
        ReplayPlayer{sharedOptions ? SharedOptions(s.config) : s.config, s.cpuControlled, s.absent};
  }
  replay_.animation = static_cast<uint8_t>(LoadedAnimation);
  replay_.fpsText = fpsText;
  replay_.frames = 0;
  replay_.playTicks = 0;
  frames_ = RunWriter{&replay_.frameRuns};
  ticks_ = RunWriter{&replay_.tickRuns};
  frameValue_ = tickWord_ = 0;
  frameOpen_ = tickOpen_ = false;
  allTicks_ = 0;
  tooLong_ = false;
  trail_ = PlayTrail{};
}

void ReplayRecorder::AddHash() {
  if (replay_.hashes.size() < replay_.hashes.capacity())
    replay_.hashes.push_back(HashPlayerStates());
  else
    tooLong_ = true;
}

unsigned ReplayRecorder::FrameTicks() {
  if (frameOpen_) frames_.Add(frameValue_);
  if (trail_.FrameStarts()) AddHash();
  const unsigned ticks = source_->FrameTicks();
  frameValue_ = ticks;
  frameOpen_ = true;
  ++replay_.frames;
  allTicks_ += ticks;
  return ticks;
}

bool ReplayRecorder::KeyDown() {
  const bool down = source_->KeyDown();
  if (down) frameValue_ |= kFrameKeyDown;
  return down;
}

uint8_t ReplayRecorder::Controls() {
  if (tickOpen_) ticks_.Add(tickWord_);
  if (trail_.TickStarts()) AddHash();
  const uint8_t controls = source_->Controls();
  // The action inputs carry over until an input step reads new ones.
  tickWord_ = (tickWord_ & ~kControlMask) | (controls & kControlMask);
  tickOpen_ = true;
  return controls;
}

void ReplayRecorder::PollDevices() {
  source_->PollDevices();
}

uint8_t ReplayRecorder::Actions(int p) {
  const uint8_t actions = source_->Actions(p);
  const int shift = kTickActionShift[p];
  tickWord_ = (tickWord_ & ~(kActionMask << shift)) | ((actions & kActionMask) << shift);
  return actions;
}

void ReplayRecorder::Finish() {
  if (frameOpen_) frames_.Add(frameValue_);
  if (tickOpen_) ticks_.Add(tickWord_);
  frames_.Flush();
  ticks_.Flush();
  frameOpen_ = tickOpen_ = false;
  replay_.playTicks = trail_.playTicks;
  if (!trail_.PlayOver() && replay_.hashes.size() < HashCount(trail_.playTicks)) AddHash();
  for (int p = 1; p <= kPlayers; ++p) {
    const PlayerStateRecord& s = PlayerState[p];
    replay_.results[p] = ReplayResult{s.score,          s.shownScore,  s.maxCombo,
                                      s.maxComboPoints, s.beansKilled, s.gameOver};
  }
  source_ = nullptr;
}

bool ReplayRecorder::Complete() const {
  return !frames_.overflow && !ticks_.overflow && !tooLong_ && allTicks_ <= kMostReplayTicks &&
         replay_.playTicks > 0 && replay_.hashes.size() == HashCount(replay_.playTicks);
}

// ---- Saving ----

bool SaveReplay(const Replay& replay, std::string& path, std::string& error) {
  path = std::string(kReplayDirectory) + "/" + ReplayName();
  if (mkdir(kReplayDirectory, 0777) != 0 && errno != EEXIST) {
    error = strerror(errno);
    return false;
  }
  const std::vector<uint8_t> bytes = EncodeReplay(replay);
  int failure = 0;
  if (WriteFileAtomically(path.c_str(), bytes.data(), bytes.size(), failure) !=
      SaveResult::kSaved) {
    error = strerror(failure);
    return false;
  }
  PruneReplays();
  CurrentBackend().FileSaved(path.c_str());
  return true;
}

void PlayRecordedMatch(bool sharedOptions) {
  // Kept from match to match, so its reserved room is allocated once.
  static ReplayRecorder recorder;
  recorder.Begin(CurrentMatchInput(), sharedOptions);
  {
    const MatchInputScope scope(recorder);
    PlayMatch();
  }
  recorder.Finish();
  if (!recorder.Complete()) {
    fprintf(stderr, "plonkix: the match was too long to keep as a replay\n");
    return;
  }
  std::string path, error;
  if (!SaveReplay(recorder.replay(), path, error))
    fprintf(stderr, "plonkix: cannot save the replay %s: %s\n", path.c_str(), error.c_str());
}
