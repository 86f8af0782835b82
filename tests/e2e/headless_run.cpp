// plonkix-headless: the whole program, start-up to exit, in the current directory under the
// headless backend, played as a patient user would: Space now and then through the intro, the
// menu ("single human") and the results, player 1's drop key held during play so the field fills
// fast, then Escape through the after-game pages, the menu and the exit screen.
//
// With --menu-frame FILE the run ends at the first frame of the main menu's choice, after writing
// that frame as 640 x 400 RGB through the palette on screen (what the browser build must show).
//
// Exit status: the program's own (0), 1 when it stopped on a fatal error (the message is printed
// like the game prints it), 3 when the run passed its virtual time limit (a hang).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fatal.h"
#include "headless.h"
#include "keyboard.h"
#include "main_flow.h"
#include "main_menu.h"
#include "match_tick.h"
#include "player.h"
#include "ticks.h"

namespace {
constexpr uint32_t kTapEveryMs = 1500;
constexpr uint32_t kTapHoldMs = 120;

// The key symbol that the scan map turns into this scancode, 0 if none does.
uint16_t SymbolFor(uint32_t scancode) {
  for (int sym = 1; sym < kScanMapSize; ++sym)
    if (ScanMap[sym] == scancode) return static_cast<uint16_t>(sym);
  return 0;
}

struct Player {
  HeadlessBackend& backend;
  uint32_t lastTap = 0;
  bool matchOver = false;
  uint16_t dropKey = 0;

  void Poll() {
    const bool playing = TickHandlerActive && TickHandler == MatchTick;
    if (playing) {
      if (!dropKey) dropKey = SymbolFor(PlayerState[1].config.keyDown);
      if (dropKey && !KeyHeld(PlayerState[1].config.keyDown)) backend.KeyDown(backend.now, dropKey);
      return;
    }
    // The flag stays set from the end of play until the next match starts.
    if (PlayerState[1].gameOver) matchOver = true;
    if (dropKey && KeyHeld(PlayerState[1].config.keyDown)) backend.KeyUp(backend.now, dropKey);
    if (backend.now - lastTap < kTapEveryMs || backend.PendingEvents() > 0) return;
    backend.Tap(backend.now, matchOver ? keysym::kEscape : keysym::kSpace, kTapHoldMs);
    lastTap = backend.now;
  }
};
}  // namespace

int main(int argc, char** argv) {
  uint64_t seed = 1;
  bool audio = true;
  uint32_t limitMinutes = 60;
  std::string menuFrameFile;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seed" && i + 1 < argc) {
      seed = strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--no-audio") {
      audio = false;
    } else if (arg == "--limit-minutes" && i + 1 < argc) {
      limitMinutes = static_cast<uint32_t>(strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--menu-frame" && i + 1 < argc) {
      menuFrameFile = argv[++i];
    } else {
      fprintf(stderr, "usage: %s [--seed N] [--no-audio] [--limit-minutes M] [--menu-frame FILE]\n",
              argv[0]);
      return 2;
    }
  }
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  backend.audioWorks = audio;
  backend.timeLimitMs = limitMinutes * 60u * 1000u;
  Player player{backend};
  backend.onPoll = [&player](HeadlessBackend&) { player.Poll(); };
  if (!menuFrameFile.empty()) {
    backend.onPresent = [&menuFrameFile](HeadlessBackend& b) {
      if (!TickHandlerActive || TickHandler != MenuTick) return;
      std::string rgb;
      for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
          const uint32_t c = b.RgbAt(x, y);
          rgb += {char(c >> 16), char(c >> 8), char(c)};
        }
      FILE* f = fopen(menuFrameFile.c_str(), "wb");
      const bool written = f && fwrite(rgb.data(), 1, rgb.size(), f) == rgb.size();
      if (f) fclose(f);
      if (!written) FatalError("cannot write %s", menuFrameFile.c_str());
      throw ProgramExitException{0};
    };
  }
  try {
    RunProgramSeeded(seed);
  } catch (const ProgramExitException& e) {
    printf("exit status %d after %u ms of game time, %llu frames\n", e.status, backend.now,
           static_cast<unsigned long long>(backend.framesPresented));
    return e.status;
  } catch (const FatalErrorException& e) {
    fprintf(stderr, "plonkix: %s\n", e.what());
    return 1;
  } catch (const HeadlessTimeout&) {
    fprintf(stderr,
            "plonkix-headless: no end after %u minutes of game time (match %s, %llu frames)\n",
            limitMinutes, player.matchOver ? "played" : "not played",
            static_cast<unsigned long long>(backend.framesPresented));
    return 3;
  }
  return 4;  // RunProgram never returns
}
