// plonkix-sim: plays computer-versus-computer matches without a display, through the real match
// tick, and prints one line per match and a summary. The same options give the same output.
// With --replay it re-simulates a recorded match and tells whether it came out the same.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "headless.h"
#include "random.h"
#include "replay.h"
#include "sim_core.h"

namespace {
constexpr uint32_t kMinStrength = 1, kMaxStrength = 5;
constexpr uint32_t kMinLink = 3, kMaxLink = 99;
constexpr uint32_t kMinDropSpeed = 1, kMaxDropSpeed = 2;

constexpr const char* kUsage =
    "usage: plonkix-sim [--seed N] [--matches N] [--strength1 1..5] [--strength2 1..5]\n"
    "                   [--link1 3..99] [--link2 3..99] [--drop1 1..2] [--drop2 1..2]\n"
    "                   [--max-ticks N] [--check]\n"
    "       plonkix-sim --replay FILE\n"
    "       plonkix-sim --help\n"
    "Plays computer-versus-computer matches without a display and prints one line per match\n"
    "and a summary; --check tests the engine's invariants after every tick.\n"
    "--replay re-simulates a recorded match and prints its scores, ticks of play and final\n"
    "hash: status 0 when it reproduced, 1 when it went differently, 2 for a bad file.\n";
constexpr int kBadUse = 2;

[[noreturn]] void Usage(const char* problem) {
  fprintf(stderr, "plonkix-sim: %s\n%s", problem, kUsage);
  exit(kBadUse);
}

int CheckReplayFile(const char* file) {
  Replay replay;
  std::string error;
  if (!ReadReplayFile(file, replay, error)) {
    fprintf(stderr, "plonkix-sim: %s: %s\n", file, error.c_str());
    return kBadUse;
  }
  HeadlessSession session;
  const ReplayOutcome outcome = CheckReplay(replay);
  printf("%s: %s%s%s: scores %" PRId64 "/%" PRId64 ", %u ticks of play, hash %016" PRIx64 "\n",
         file, outcome.reproduced ? "reproduced" : "NOT reproduced", outcome.reproduced ? "" : ", ",
         outcome.difference.c_str(), outcome.score[1], outcome.score[2], outcome.playTicks,
         outcome.hash);
  return outcome.reproduced ? 0 : 1;
}

uint64_t Number(const char* option, const char* text, uint64_t low, uint64_t high) {
  char* end = nullptr;
  const unsigned long long value = strtoull(text ? text : "", &end, 10);
  if (!text || !*text || *end || text[0] == '-' || value < low || value > high) {
    static char problem[128];
    snprintf(problem, sizeof problem, "%s needs a number from %" PRIu64 " to %" PRIu64, option, low,
             high);
    Usage(problem);
  }
  return value;
}

SimOptions ParseOptions(int argc, char** argv) {
  SimOptions options;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (strcmp(option, "--help") == 0) {
      printf("%s", kUsage);
      exit(0);
    }
    if (strcmp(option, "--replay") == 0) {
      if (argc != 3 || i != 1) Usage("--replay takes one file and no other option");
      exit(CheckReplayFile(argv[2]));
    }
    if (strcmp(option, "--check") == 0) {
      options.check = true;
      continue;
    }
    const char* value = i + 1 < argc ? argv[++i] : nullptr;
    if (strcmp(option, "--seed") == 0)
      options.seed = Number(option, value, 0, UINT64_MAX);
    else if (strcmp(option, "--matches") == 0)
      options.matches = static_cast<uint32_t>(Number(option, value, 1, UINT32_MAX));
    else if (strcmp(option, "--max-ticks") == 0)
      options.maxTicks = Number(option, value, 1, UINT64_MAX);
    else if (strcmp(option, "--strength1") == 0 || strcmp(option, "--strength2") == 0)
      options.players[option[10] - '0'].strength =
          static_cast<uint32_t>(Number(option, value, kMinStrength, kMaxStrength));
    else if (strcmp(option, "--link1") == 0 || strcmp(option, "--link2") == 0)
      options.players[option[6] - '0'].beansToLink =
          static_cast<uint32_t>(Number(option, value, kMinLink, kMaxLink));
    else if (strcmp(option, "--drop1") == 0 || strcmp(option, "--drop2") == 0)
      options.players[option[6] - '0'].dropSpeed =
          static_cast<uint32_t>(Number(option, value, kMinDropSpeed, kMaxDropSpeed));
    else {
      static char problem[128];
      snprintf(problem, sizeof problem, "unknown option %s", option);
      Usage(problem);
    }
  }
  return options;
}

const char* WinnerText(int winner) {
  switch (winner) {
    case 1:
      return "1";
    case 2:
      return "2";
    case kDraw:
      return "draw";
    default:
      return "none";
  }
}
}  // namespace

int main(int argc, char** argv) {
  const SimOptions options = ParseOptions(argc, argv);
  HeadlessSession session;
  InstallFakeSounds(session.backend());
  SeedRandom(options.seed);

  uint64_t totalTicks = 0, killed = 0, sent = 0, byLanding = 0, byBlackBeans = 0;
  uint32_t wins[3] = {}, draws = 0, capped = 0, longestChain = 0;
  char report[kReportSize] = {};
  for (uint32_t m = 1; m <= options.matches; ++m) {
    const MatchResult r = PlayCpuMatch(options, session.backend(), report, sizeof report);
    if (r.violation) {
      printf("match %u: invariant broken after tick %" PRIu64 ": %s\n", m, r.ticks, report);
      return 1;
    }
    printf("match %u: ticks %" PRIu64 " winner %s score %" PRId64 "/%" PRId64
           " chain %u/%u killed %u/%u sent %" PRIu64 "/%" PRIu64 "\n",
           m, r.ticks, WinnerText(r.winner), r.score[1], r.score[2], r.longestChain[1],
           r.longestChain[2], r.beansKilled[1], r.beansKilled[2], r.blackBeansSent[1],
           r.blackBeansSent[2]);
    totalTicks += r.ticks;
    if (r.winner == 1 || r.winner == 2) ++wins[r.winner];
    if (r.winner == kDraw) ++draws;
    if (r.winner == kCapped) ++capped;
    for (int p = 1; p <= 2; ++p) {
      if (r.longestChain[p] > longestChain) longestChain = r.longestChain[p];
      killed += r.beansKilled[p];
      sent += r.blackBeansSent[p];
      byLanding += r.beansOverwrittenByLanding[p];
      byBlackBeans += r.beansOverwrittenByBlackBeans[p];
    }
  }
  printf("summary: matches %u ticks %" PRIu64
         " wins %u/%u draws %u capped %u longest chain %u "
         "killed %" PRIu64 " sent %" PRIu64 " overwritten by landings %" PRIu64
         " by black beans %" PRIu64 "%s\n",
         options.matches, totalTicks, wins[1], wins[2], draws, capped, longestChain, killed, sent,
         byLanding, byBlackBeans, options.check ? " checked" : "");
  return 0;
}
