// plonkix-online: the whole program as `plonkix --host` or `plonkix --join`, under the headless
// backend on the real clock (both programs of a session must keep time alike), played by a
// script: during play the local player holds its drop key and taps its other keys at random, the
// host pauses the first match and the joiner resumes it; the results and after-game pages are
// turned with Space; after --matches matches the host ends the session with Escape on the
// after-game page; once the session is over, Escape leads through the menu and the exit screen.
// Used by online_two.sh, with the replays left in data/replays.
//
// Exit status: the program's own (0); 1 on a fatal error; 3 when it passed --limit-seconds.
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "command_line.h"
#include "driver.h"
#include "main_flow.h"
#include "match_tick.h"
#include "net.h"
#include "online.h"
#include "player.h"
#include "ticks.h"

namespace {
constexpr uint32_t kTapEveryMs = 1200;
constexpr uint32_t kTapHoldMs = 120;
constexpr uint32_t kUdpIpHeaderBytes = 28;
constexpr uint32_t kPauseAtMs = 1500, kResumeAtMs = 3000;  // into the first match's play
constexpr uint32_t kAnswerEveryMs = 400;
constexpr uint32_t kSlowFrameMs = 40;

// The headless backend on the real clock: Delay sleeps.
struct RealTimeBackend : HeadlessBackend {
  const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  uint32_t GetTicks() override {
    return now = static_cast<uint32_t>((std::chrono::steady_clock::now() - start) /
                                       std::chrono::milliseconds(1));
  }
  void Delay(uint32_t ms) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    if (GetTicks() > timeLimitMs) throw HeadlessTimeout("past the time limit");
  }
};

struct Script {
  HeadlessBackend& backend;
  bool host = true;
  uint32_t matchesWanted = 1000;
  uint32_t corruptAtMs = 0;  // into play of the first match: the state is changed on this side
  bool hostile = false;      // asks for a match out of turn as soon as the session is open
  uint32_t slowAfter = 0;    // this match's results are drawn slowly, so they fall far behind
  uint32_t random = 1;
  uint32_t matchesOver = 0;
  bool playing = false, opened = false;
  uint32_t playStart = 0, nextKey = 0, lastTap = 0;
  NetTraffic atPlayStart{};
  bool paused = false, corrupted = false;
  uint32_t nextAnswer = 0;
  uint16_t dropHeld = 0;  // the drop key's symbol while held

  const PlayerConfig& Own() const { return PlayerState[host ? 1 : 2].config; }

  void Tap(uint16_t sym, uint32_t hold = kTapHoldMs) {
    if (sym) backend.Tap(backend.now, sym, hold);
  }

  void Play() {
    if (!playing) {
      playing = true;
      playStart = backend.now;
      atPlayStart = NetTrafficSoFar();
      printf("playing match %u\n", matchesOver + 1);
      fflush(stdout);
    }
    const uint32_t t = backend.now - playStart;
    if (!dropHeld && (dropHeld = SymbolFor(Own().keyDown))) backend.KeyDown(backend.now, dropHeld);
    if (matchesOver == 0) {
      if (host && t >= kPauseAtMs && !paused) Tap(keysym::kEscape), paused = true;
      // The joiner answers no once it sees the pause (however late it comes through).
      if (!host && t >= kResumeAtMs && ::paused && backend.now >= nextAnswer) {
        Tap('n');
        nextAnswer = backend.now + kAnswerEveryMs;
      }
      if (corruptAtMs && t >= corruptAtMs && !std::exchange(corrupted, true))
        PlayerState[1].score += 7;
    }
    if (backend.now >= nextKey) {
      const uint32_t keys[] = {Own().keyLeft, Own().keyRight, Own().keyRotate};
      Tap(SymbolFor(keys[Roll(random, 3)]), 20 + Roll(random, 120));
      nextKey = backend.now + 60 + Roll(random, 240);
    }
  }

  // The traffic of the play phase, in bytes per second each way with the UDP and IPv4 headers.
  void ReportTraffic() {
    const NetTraffic t = NetTrafficSoFar(), &a = atPlayStart;
    const double s = (backend.now - playStart) / 1000.0;
    const uint64_t sent = t.packetsSent - a.packetsSent;
    const uint64_t received = t.packetsReceived - a.packetsReceived;
    printf(
        "match %u: %.1f s of play; sent %.1f packets/s, %.0f bytes/s; received %.1f packets/s, "
        "%.0f bytes/s (with %u bytes of UDP/IPv4 headers each); round trip %u ms; network CPU "
        "%.2f %% of a core; the match %.2f ticks behind the clock on average\n",
        matchesOver, s, sent / s, (t.bytesSent - a.bytesSent + kUdpIpHeaderBytes * sent) / s,
        received / s, (t.bytesReceived - a.bytesReceived + kUdpIpHeaderBytes * received) / s,
        kUdpIpHeaderBytes, t.roundTripMs, (t.cpuNs - a.cpuNs) / (s * 1e7),
        static_cast<double>(t.lagTicks - a.lagTicks) / static_cast<double>(t.frames - a.frames));
    fflush(stdout);
  }

  void Poll() {
    const NetPhase phase = NetCurrentPhase();
    if (phase == NetPhase::kOpen && !std::exchange(opened, true) && hostile) NetSendReady(7);
    if (TickHandlerActive && TickHandler == MatchTick) return Play();
    if (std::exchange(playing, false)) {
      ++matchesOver;
      ReportTraffic();
    }
    if (matchesOver == slowAfter && TickHandlerActive && TickHandler == OutroTick)
      std::this_thread::sleep_for(std::chrono::milliseconds(kSlowFrameMs));
    if (dropHeld) backend.KeyUp(backend.now, std::exchange(dropHeld, 0));
    if (backend.now - lastTap < kTapEveryMs || backend.PendingEvents() > 0) return;
    lastTap = backend.now;
    const bool over = phase == NetPhase::kClosed || phase == NetPhase::kEnded;
    const bool waiting = phase == NetPhase::kWaiting || phase == NetPhase::kConnecting;
    if (over && (opened || !waiting)) return Tap(keysym::kEscape);
    if (waiting) {
      if (host && !NetNotice().empty()) Tap(keysym::kEscape);  // it refused someone
      return;
    }
    Tap(host && matchesOver >= matchesWanted ? keysym::kEscape : keysym::kSpace);
  }
};

int Usage(const char* program) {
  fprintf(stderr,
          "usage: %s --host PORT | --join HOST:PORT [--matches N] [--seed N] [--version N]\n"
          "       [--corrupt-at-ms MS] [--hostile] [--slow-results MATCH]\n"
          "       [--limit-seconds S]\n",
          program);
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  OnlineRequest request;
  bool roleGiven = false;
  uint32_t seed = 1, limitSeconds = 180, version = request.version;
  RealTimeBackend backend;
  Script script{backend};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--host" || arg == "--join") && i + 1 < argc) {
      // As the game reads them.
      const char* online[] = {"plonkix", argv[i], argv[i + 1]};
      const CommandLine command = ParseCommandLine(3, online);
      if (command.action != CommandLineAction::kRun) return Usage(argv[0]);
      request.role = command.options.host ? NetRole::kHost : NetRole::kJoin;
      request.host = command.options.joinHost;
      if (command.options.port) request.port = static_cast<uint16_t>(command.options.port);
      roleGiven = true;
      ++i;
    } else if (arg == "--hostile") {
      script.hostile = true;
    } else if (!TakeNumber(argc, argv, i,
                           {{"--matches", &script.matchesWanted},
                            {"--seed", &seed},
                            {"--version", &version},
                            {"--corrupt-at-ms", &script.corruptAtMs},
                            {"--slow-results", &script.slowAfter},
                            {"--limit-seconds", &limitSeconds}})) {
      return Usage(argv[0]);
    }
  }
  if (!roleGiven) return Usage(argv[0]);
  request.version = static_cast<uint16_t>(version);
  SetBackend(&backend);
  ResetPlatformState();
  ThrowInsteadOfExiting(true);
  backend.audioWorks = false;
  backend.timeLimitMs = limitSeconds * 1000u;
  script.host = request.role == NetRole::kHost;
  script.random = seed;
  backend.onPoll = [&script](HeadlessBackend&) { script.Poll(); };
  const int status = RunToEnd([&] { RunOnlineProgramSeeded(request, seed); });
  if (status == 3) fprintf(stderr, "plonkix-online: no end after %u s\n", limitSeconds);
  printf("exit status %d after %u ms, %u matches; input delay %u ticks\n", status, backend.now,
         script.matchesOver, NetTrafficSoFar().delay);
  return status;
}
