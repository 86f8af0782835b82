// Computer-versus-computer matches played through the real match tick, without a display, and
// a check of the engine's invariants that can run after every tick.
#pragma once
#include <cstddef>
#include <cstdint>

class HeadlessBackend;

struct SimPlayer {
  uint32_t strength = 3;
  uint32_t beansToLink = 4;
  uint32_t dropSpeed = 1;
};

struct SimOptions {
  uint64_t seed = 1;
  uint32_t matches = 1;
  uint64_t maxTicks = 200000;  // safety cap per match
  bool check = false;
  SimPlayer players[3];  // [1] and [2]
};

constexpr int kDraw = 0;
constexpr int kCapped = -1;

struct MatchResult {
  uint64_t ticks = 0;
  int winner = kCapped;  // 1, 2, kDraw (both topped out) or kCapped
  int64_t score[3] = {};
  uint32_t longestChain[3] = {};
  uint32_t beansKilled[3] = {};
  uint64_t blackBeansSent[3] = {};
  uint64_t beansOverwrittenByLanding[3] = {};
  uint64_t beansOverwrittenByBlackBeans[3] = {};
  bool violation = false;
};

constexpr size_t kReportSize = 256;

// Gives every sound number a fake handle of the headless backend, so the engine's sounds are
// logged.
void InstallFakeSounds(HeadlessBackend& backend);

// Resets both players as computers with the given options and sets the match globals as at the
// start of play.
void StartCpuMatch(const SimOptions& options);

// Checks both players' records and the match globals; on a violation writes what and where
// into report and returns false. Also checks the sounds logged since the last call (and clears
// the log) when a backend is given.
bool CheckEngineInvariants(HeadlessBackend* backend, char* report, size_t size);

// Plays one match from StartCpuMatch until a field is lost or the cap is reached. With
// options.check, stops at the first violation, with its description in report.
MatchResult PlayCpuMatch(const SimOptions& options, HeadlessBackend& backend, char* report,
                         size_t size);
