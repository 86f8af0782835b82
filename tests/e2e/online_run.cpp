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
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "command_line.h"
#include "fatal.h"
#include "headless.h"
#include "keyboard.h"
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
class RealTimeBackend : public HeadlessBackend {
 public:
  uint32_t GetTicks() override {
    now = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - start_)
                                    .count());
    return now;
  }
  void Delay(uint32_t ms) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    GetTicks();
    if (now > timeLimitMs) throw HeadlessTimeout("past the time limit");
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

uint16_t SymbolFor(uint32_t scancode) {
  for (int sym = 1; sym < kScanMapSize; ++sym)
    if (ScanMap[sym] == scancode) return static_cast<uint16_t>(sym);
  return 0;
}

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

  uint32_t Next(uint32_t n) {
    return ((random = random * 1664525u + 1013904223u) >> 8 & 0xFFFF) % n;
  }
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
      if (corruptAtMs && t >= corruptAtMs && !corrupted) {
        PlayerState[1].score += 7;
        corrupted = true;
      }
    }
    if (backend.now >= nextKey) {
      const uint32_t keys[] = {Own().keyLeft, Own().keyRight, Own().keyRotate};
      Tap(SymbolFor(keys[Next(3)]), 20 + Next(120));
      nextKey = backend.now + 60 + Next(240);
    }
  }

  // The traffic of the play phase, in bytes per second each way with the UDP and IPv4 headers.
  void ReportTraffic() {
    const NetTraffic t = NetTrafficSoFar();
    const double seconds = (backend.now - playStart) / 1000.0;
    const uint64_t sent = t.packetsSent - atPlayStart.packetsSent;
    const uint64_t received = t.packetsReceived - atPlayStart.packetsReceived;
    printf(
        "match %u: %.1f s of play; sent %.1f packets/s, %.0f bytes/s; received %.1f packets/s, "
        "%.0f bytes/s (with %u bytes of UDP/IPv4 headers each); round trip %u ms; network CPU "
        "%.2f %% of a core; the match %.2f ticks behind the clock on average\n",
        matchesOver, seconds, sent / seconds,
        (t.bytesSent - atPlayStart.bytesSent + kUdpIpHeaderBytes * sent) / seconds,
        received / seconds,
        (t.bytesReceived - atPlayStart.bytesReceived + kUdpIpHeaderBytes * received) / seconds,
        kUdpIpHeaderBytes, t.roundTripMs, (t.cpuNs - atPlayStart.cpuNs) / (seconds * 1e7),
        static_cast<double>(t.lagTicks - atPlayStart.lagTicks) /
            static_cast<double>(t.frames - atPlayStart.frames));
    fflush(stdout);
  }

  void Poll() {
    const NetPhase phase = NetCurrentPhase();
    if (phase == NetPhase::kOpen && !opened && hostile) NetSendReady(7);
    if (phase == NetPhase::kOpen) opened = true;
    if (TickHandlerActive && TickHandler == MatchTick) return Play();
    if (playing) {
      playing = false;
      ++matchesOver;
      ReportTraffic();
    }
    if (matchesOver == slowAfter && TickHandlerActive && TickHandler == OutroTick)
      std::this_thread::sleep_for(std::chrono::milliseconds(kSlowFrameMs));
    if (dropHeld) backend.KeyUp(backend.now, dropHeld);
    dropHeld = 0;
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
  uint64_t seed = 1;
  uint32_t limitSeconds = 180, matches = 1000, corruptAtMs = 0, slowAfter = 0;
  bool hostile = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if ((arg == "--host" || arg == "--join") && value) {
      // As the game reads them.
      const char* online[] = {"plonkix", argv[i], argv[i + 1]};
      const CommandLine command = ParseCommandLine(3, online);
      if (command.action != CommandLineAction::kRun) return Usage(argv[0]);
      request.role = command.options.host ? NetRole::kHost : NetRole::kJoin;
      request.host = command.options.joinHost;
      if (command.options.port) request.port = static_cast<uint16_t>(command.options.port);
      roleGiven = true;
      ++i;
    } else if (arg == "--matches" && value) {
      matches = static_cast<uint32_t>(strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--seed" && value) {
      seed = strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--version" && value) {
      request.version = static_cast<uint16_t>(strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--corrupt-at-ms" && value) {
      corruptAtMs = static_cast<uint32_t>(strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--slow-results" && value) {
      slowAfter = static_cast<uint32_t>(strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--hostile") {
      hostile = true;
    } else if (arg == "--limit-seconds" && value) {
      limitSeconds = static_cast<uint32_t>(strtoul(argv[++i], nullptr, 10));
    } else {
      return Usage(argv[0]);
    }
  }
  if (!roleGiven) return Usage(argv[0]);

  RealTimeBackend backend;
  SetBackend(&backend);
  ResetPlatformState();
  ThrowInsteadOfExiting(true);
  backend.audioWorks = false;
  backend.timeLimitMs = limitSeconds * 1000u;
  Script script{backend};
  script.host = request.role == NetRole::kHost;
  script.matchesWanted = matches;
  script.corruptAtMs = corruptAtMs;
  script.hostile = hostile;
  script.slowAfter = slowAfter;
  script.random = static_cast<uint32_t>(seed);
  backend.onPoll = [&script](HeadlessBackend&) { script.Poll(); };
  int status = 4;
  try {
    RunOnlineProgramSeeded(request, seed);
  } catch (const ProgramExitException& e) {
    status = e.status;
  } catch (const FatalErrorException& e) {
    fprintf(stderr, "plonkix: %s\n", e.what());
    status = 1;
  } catch (const HeadlessTimeout&) {
    fprintf(stderr, "plonkix-online: no end after %u s\n", limitSeconds);
    status = 3;
  }
  printf("exit status %d after %u ms, %u matches; input delay %u ticks\n", status, backend.now,
         script.matchesOver, NetTrafficSoFar().delay);
  return status;
}
