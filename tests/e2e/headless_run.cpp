// plonkix-headless: the whole program, start-up to exit, in the current directory under the
// headless backend, played as a patient user would: Space now and then through the intro, then
// the menu's choice of the mode (--mode, "single human" without it, or the demo), where the
// humans play randomly for 8 s of play, pause at 3 s and go on at 4.5 s, then hold their drop
// keys so the field fills fast; every seventh frame is slow (it runs 2 to 4 ticks), so a match
// leaves a varied replay. Space ends the results, Escape turns the after-game pages and leaves
// the menu and the exit screen.
//
// With --menu-frame FILE the run ends at the first frame of the main menu's choice, after writing
// that frame as 640 x 400 RGB through the palette on screen (what the browser build must show).
//
// Exit status: the program's own (0), 1 when it stopped on a fatal error (the message is printed
// like the game prints it), 3 when the run passed its virtual time limit (a hang).
#include <fstream>
#include <string>
#include <utility>

#include "driver.h"
#include "main_flow.h"
#include "main_menu.h"
#include "match_tick.h"
#include "player.h"
#include "ticks.h"

namespace {
constexpr uint32_t kTapEveryMs = 1500;
constexpr uint32_t kTapHoldMs = 120;
constexpr uint32_t kMenuTapHoldMs = 100;  // the choice looks every 98 ms
constexpr uint32_t kPauseAtMs = 3000, kGoOnAtMs = 4500, kRandomUntilMs = 8000;
constexpr int kNoMode = -1;

// The menu item (or the demo) that a --mode name chooses.
int ModeNamed(const std::string& name) {
  return name == "single" ? kItemSingleHuman
         : name == "cpu"  ? kItemHumanVsCpu
         : name == "two"  ? kItemTwoHumans
         : name == "demo" ? kDemoSelection
                          : kNoMode;
}

struct Player {
  HeadlessBackend& backend;
  int mode = kItemSingleHuman;  // the menu item to choose, or kDemoSelection
  uint32_t lastTap = 0;
  bool matchOver = false;
  uint32_t playStart = 0, nextKey = 0, random = 0;  // the random keys follow the seed
  bool paused = false, resumed = false;
  uint16_t dropHeld[kPlayers + 1] = {};  // the drop keys' symbols while held

  void HoldDropKey(int p) {
    const uint32_t key = PlayerState[p].config.keyDown;
    if ((dropHeld[p] = SymbolFor(key)) && !KeyHeld(key)) backend.KeyDown(backend.now, dropHeld[p]);
  }

  void PlayRandomly() {
    if (!playStart) playStart = backend.now;
    const uint32_t t = backend.now - playStart;
    if (t >= kPauseAtMs && !paused)
      backend.Tap(backend.now, keysym::kEscape, kTapHoldMs), paused = true;
    if (t >= kGoOnAtMs && !resumed) backend.Tap(backend.now, 'n', kTapHoldMs), resumed = true;
    for (int p = 1; p <= kPlayers; ++p) {
      if (PlayerState[p].cpuControlled || PlayerState[p].absent) continue;
      if (t >= kRandomUntilMs) {
        HoldDropKey(p);
      } else if (backend.now >= nextKey) {
        const PlayerConfig& c = PlayerState[p].config;
        const uint32_t keys[] = {c.keyLeft, c.keyRight, c.keyRotate, c.keyDown, c.keyDown};
        if (const uint16_t sym = SymbolFor(keys[Roll(random, 5)]))
          backend.Tap(backend.now, sym, 20 + Roll(random, 180));
        nextKey = backend.now + 40 + Roll(random, 200);
      }
    }
  }

  // In the menu's choice: towards the mode's item, then Space (or D for the demo).
  uint16_t MenuKey() const {
    return mode == kDemoSelection ? 'd'
           : AnimCounter < mode   ? keysym::kDown
           : AnimCounter > mode   ? keysym::kUp
                                  : keysym::kSpace;
  }

  void Poll() {
    if (TickHandlerActive && TickHandler == MatchTick) return PlayRandomly();
    // The flags stay set from the end of play until the next match starts.
    if (PlayerState[1].gameOver || PlayerState[2].gameOver) matchOver = true;
    for (uint16_t& sym : dropHeld)
      if (sym) backend.KeyUp(backend.now, std::exchange(sym, 0));
    if (backend.now - lastTap < kTapEveryMs || backend.PendingEvents() > 0) return;
    if (!matchOver && TickHandlerActive && TickHandler == MenuTick)
      backend.Tap(backend.now, MenuKey(), kMenuTapHoldMs);
    else
      backend.Tap(backend.now, matchOver ? keysym::kEscape : keysym::kSpace, kTapHoldMs);
    lastTap = backend.now;
  }
};
}  // namespace

int main(int argc, char** argv) {
  uint32_t seed = 1, limitMinutes = 60;
  bool audio = true;
  int mode = kItemSingleHuman;
  std::string menuFrameFile;
  for (int i = 1; i < argc && mode != kNoMode; ++i) {
    const std::string arg = argv[i];
    if (arg == "--no-audio")
      audio = false;
    else if (i + 1 < argc && arg == "--menu-frame")
      menuFrameFile = argv[++i];
    else if (i + 1 < argc && arg == "--mode")
      mode = ModeNamed(argv[++i]);
    else if (!TakeNumber(argc, argv, i, {{"--seed", &seed}, {"--limit-minutes", &limitMinutes}}))
      mode = kNoMode;
  }
  if (mode == kNoMode) {
    fprintf(stderr,
            "usage: %s [--seed N] [--no-audio] [--limit-minutes M] "
            "[--mode single|cpu|two|demo] [--menu-frame FILE]\n",
            argv[0]);
    return 2;
  }
  HeadlessSession session;
  HeadlessBackend& backend = session.backend();
  backend.audioWorks = audio;
  backend.timeLimitMs = limitMinutes * 60u * 1000u;
  Player player{backend, mode};
  player.random = seed;
  backend.onPresent = [](HeadlessBackend& b) {
    if (b.framesPresented % 7 == 0) b.now += kTickMs * (1 + b.framesPresented / 7 % 3);
  };
  backend.onPoll = [&player](HeadlessBackend&) { player.Poll(); };
  if (!menuFrameFile.empty()) {
    backend.onPresent = [&menuFrameFile](HeadlessBackend& b) {
      if (!TickHandlerActive || TickHandler != MenuTick) return;
      std::ofstream out(menuFrameFile, std::ios::binary);
      for (int i = 0; i < kScreenBytes; ++i) {
        const uint32_t c = b.RgbAt(i % kScreenWidth, i / kScreenWidth);
        out << char(c >> 16) << char(c >> 8) << char(c);
      }
      if (!out.flush()) FatalError("cannot write %s", menuFrameFile.c_str());
      throw ProgramExitException{0};
    };
  }
  const int status = RunToEnd([seed] { RunProgramSeeded(seed); });
  if (status == 3)
    fprintf(stderr,
            "plonkix-headless: no end after %u minutes of game time (match %s, %llu frames)\n",
            limitMinutes, player.matchOver ? "played" : "not played",
            static_cast<unsigned long long>(backend.framesPresented));
  else
    printf("exit status %d after %u ms of game time, %llu frames\n", status, backend.now,
           static_cast<unsigned long long>(backend.framesPresented));
  return status;
}
