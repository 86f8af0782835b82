// The real SDL backend with SDL's virtual joysticks: a pad plugged in becomes joypad 1, is the
// menu keys, is no key while the options capture keys, and plays a match for the player who chose
// it, pulled out and plugged in again on the way. SDL runs its dummy video driver (no display
// needed); the clock is virtual, so the run takes moments.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "display.h"
#include "engine.h"
#include "keyboard.h"
#include "load_all.h"
#include "main_flow.h"
#include "main_menu.h"
#include "match_flow.h"
#include "options_screen.h"
#include "random.h"
#include "replay.h"
#include "sdl_backend.h"
#include "test_support.h"
#include "ticks.h"

namespace {

constexpr uint32_t kStepTimeoutMs = 8000;

// The headless backend (a virtual clock, no window, no sound) with SDL's events and controllers;
// every event pump first runs `onPump`.
class SdlPads final : public HeadlessBackend {
 public:
  std::function<void()> onPump;
  bool InitVideo() override { return sdl_.InitVideo() && HeadlessBackend::InitVideo(); }
  const char* VideoError() override { return sdl_.VideoError(); }
  bool PollEvent(InputEvent& event) override {
    if (!pumping_ && onPump) onPump();
    pumping_ = sdl_.PollEvent(event);
    return pumping_;
  }
  PadReading ReadPad(int slot) override { return sdl_.ReadPad(slot); }

 private:
  Backend& sdl_ = SdlBackend();
  bool pumping_ = false;
};

// A virtual gamepad: with a controller's layout SDL maps buttons and axes in its own order
// (A, B, X, Y, back, guide, start, ..., d-pad up, down, left, right; left stick x, y, ...).
class VirtualPad {
 public:
  void Attach(bool controller) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = controller ? SDL_CONTROLLER_AXIS_MAX : 2;
    desc.nbuttons = controller ? SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1 : 2;
    desc.name = controller ? "virtual gamepad" : "virtual stick of no known layout";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    handle_ = device >= 0 ? SDL_JoystickOpen(device) : nullptr;
    if (!handle_) throw std::runtime_error(std::string("no virtual joystick: ") + SDL_GetError());
  }
  void Detach() {
    const SDL_JoystickID id = SDL_JoystickInstanceID(handle_);
    SDL_JoystickClose(handle_);
    handle_ = nullptr;
    for (int device = 0; device < SDL_NumJoysticks(); ++device)
      if (SDL_JoystickGetDeviceInstanceID(device) == id) SDL_JoystickDetachVirtual(device);
  }
  void Button(int button, bool down) { SDL_JoystickSetVirtualButton(handle_, button, down); }
  void Axis(int axis, int value) {
    SDL_JoystickSetVirtualAxis(handle_, axis, static_cast<Sint16>(value));
  }
  // The same as script actions.
  std::function<void()> Press(int button, bool down = true) {
    return [this, button, down] { Button(button, down); };
  }
  std::function<void()> Release(int button) { return Press(button, false); }
  std::function<void()> Push(int axis, int value) {
    return [this, axis, value] { Axis(axis, value); };
  }

 private:
  SDL_Joystick* handle_ = nullptr;
};

// Steps run in order at the event pumps: each waits until its condition holds, then acts.
struct Script {
  struct Step {
    std::string what;
    std::function<bool()> condition;
    std::function<void()> action;
  };
  HeadlessBackend& clock;
  std::vector<Step> steps;
  size_t next = 0;
  uint32_t since = clock.now;
  std::function<void()> watch;  // runs at every pump

  explicit Script(HeadlessBackend& backend) : clock(backend) {}
  void When(std::string what, std::function<bool()> condition, std::function<void()> action = {}) {
    steps.push_back(Step{std::move(what), std::move(condition), std::move(action)});
  }
  // A step due some milliseconds after the one before.
  void After(uint32_t ms, std::function<void()> action) {
    When(
        std::to_string(ms) + " ms later", [this, ms] { return clock.now - since >= ms; },
        std::move(action));
  }
  void Pump() {
    if (watch) watch();
    for (; next < steps.size() && steps[next].condition(); ++next, since = clock.now)
      if (steps[next].action) steps[next].action();
    if (next < steps.size() && clock.now - since > kStepTimeoutMs)
      throw std::runtime_error("the game never came to: " + steps[next].what);
  }
};

bool Running(TickRoutine handler) {
  return TickHandlerActive && TickHandler == handler;
}

void PushKey(SDL_Keycode key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  SDL_PushEvent(&event);
}

constexpr int kA = SDL_CONTROLLER_BUTTON_A, kB = SDL_CONTROLLER_BUTTON_B,
              kStart = SDL_CONTROLLER_BUTTON_START, kUp = SDL_CONTROLLER_BUTTON_DPAD_UP,
              kDown = SDL_CONTROLLER_BUTTON_DPAD_DOWN, kLeft = SDL_CONTROLLER_BUTTON_DPAD_LEFT,
              kRight = SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kStickX = SDL_CONTROLLER_AXIS_LEFTX,
              kStickY = SDL_CONTROLLER_AXIS_LEFTY;

// Pressed 100 ms after the step before, released once the condition holds.
void Hold(Script& script, std::function<void()> press, std::function<void()> release,
          std::string what, std::function<bool()> condition) {
  script.After(100, std::move(press));
  script.When(std::move(what), std::move(condition), std::move(release));
}

std::string Flags(int p) {
  const PlayerStateRecord& s = PlayerState[p];
  return std::string(s.inputLeft ? "L" : "") + (s.inputRight ? "R" : "") +
         (s.inputRotate ? "T" : "") + (s.inputDown ? "D" : "");
}

template <typename... T>
std::string Cat(T... values) {
  std::string s;
  ((s += (s.empty() ? "" : " ") + std::to_string(values)), ...);
  return s;
}

TEST(VirtualPad, IsTheMenuKeysNoKeysInACaptureAndPlaysAMatchForThePlayerWhoChoseIt) {
  if (!GeneratedDataAvailable()) GTEST_SKIP() << "no generated data set";
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  // The dummy driver's window never has the input focus, without which SDL drops pad presses.
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  ScratchDir dir(true);
  SdlPads backend;
  SetBackend(&backend);
  ResetPlatformState();
  ThrowInsteadOfExiting(true);
  SeedRandom(2024);
  ASSERT_TRUE(StartPlatform()) << VideoFailure();
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real controller is plugged in";
  LoadAllData();
  ASSERT_TRUE(OpenScreen());

  // A device without a known layout: its axes 0 and 1 and buttons 0 and 1.
  VirtualPad odd;
  odd.Attach(false);
  PollAndWaitTick();
  EXPECT_EQ(Joypad1Present, 1);
  odd.Axis(0, -20000), odd.Axis(1, 20000), odd.Button(1, true);
  PollAndWaitTick();
  ReadJoypads(1, 0);
  const JoypadState& j = Joypads[0];
  EXPECT_EQ(Cat(j.horizontal, j.vertical, j.button1, j.button2), "12767 52767 0 1");
  odd.Detach();
  PollAndWaitTick();
  EXPECT_EQ(Joypad1Present + AnyKeyDown(), 0) << "pulled out: gone, its B released";

  // Outside a match the d-pad is the arrow keys, and so is the stick pushed beyond half way.
  VirtualPad pad;
  pad.Attach(true);
  const std::pair<int, uint8_t> arrows[] = {
      {kUp, scan::kUp}, {kDown, scan::kDown}, {kLeft, scan::kLeft}, {kRight, scan::kRight}};
  for (const auto& [button, key] : arrows) {
    pad.Button(button, true);
    PollAndWaitTick();
    EXPECT_EQ(FirstKeyDown(), key) << "d-pad button " << button;
    pad.Button(button, false);
  }
  for (const int x : {-20000, -16000, 0}) {
    pad.Axis(kStickX, x);
    PollAndWaitTick();
    EXPECT_EQ(FirstKeyDown(), x < -kStickMost / 2 ? scan::kLeft : 0) << "stick at " << x;
  }

  // The options (A chooses, B leaves): while keys are captured the pad's buttons are no keys,
  // only the typed ones are taken.
  Script script(backend);
  backend.onPump = [&script] { script.Pump(); };
  Hold(script, pad.Push(kStickY, 20000), pad.Push(kStickY, 0), "the keys' row",
       [] { return AnimCounter == kRowKeyConfig; });
  script.After(100, pad.Press(kA));
  script.When(
      "the key capture", [] { return optionsKeyCapture == 1; },
      [&pad] { pad.Button(kB, true), pad.Button(kUp, true); });
  const SDL_Keycode typed[kCapturedKeys] = {SDLK_j, SDLK_l, SDLK_i, SDLK_k};
  for (uint32_t k = 0; k < kCapturedKeys; ++k) {
    script.After(50, [key = typed[k]] { PushKey(key, true); });
    // After the fourth key the position starts again from 0.
    script.When(
        "key " + std::to_string(k + 1) + " taken",
        [k] { return optionsEntryPosition == (k + 1) % kCapturedKeys; },
        [key = typed[k]] { PushKey(key, false); });
  }
  script.When("the capture's end", [] { return optionsKeyCapture == 0; });
  script.After(200, [&pad] {
    EXPECT_TRUE(Running(OptionsTick)) << "B held through the capture does not leave the screen";
    pad.Button(kA, false), pad.Button(kB, false), pad.Button(kUp, false);
  });
  script.After(100, pad.Press(kB));
  script.After(100, pad.Release(kB));
  OptionsScreen();
  ASSERT_EQ(script.next, script.steps.size());
  PlayerConfig& one = PlayerState[1].config;
  EXPECT_EQ(Cat(one.keyLeft, one.keyRight, one.keyRotate, one.keyDown), "36 38 23 37") << "jlik";

  // A match of two humans, player 1 on joypad 1 (that the pad acts only for the player who chose
  // it is the input step's test): the stick and buttons play; pulled out, every direction is
  // released; plugged in again it is joypad 1 again; Start pauses, and A or B answer only as
  // presses made during the pause; A held ends the results early.
  SetInput(one, kJoypad1);
  SetGameMode(kTwoHumans);
  Script match(backend);
  backend.onPump = [&match] { match.Pump(); };
  int32_t resultsEnd = 0, column = 0;
  match.watch = [&resultsEnd] {
    if (Running(OutroTick)) resultsEnd = AnimCounter;
  };
  match.When("play, player 1's pair in sight", [] {
    return Running(MatchTick) && !PlayerState[1].resolving && PlayerState[1].pairB.row >= 0;
  });
  Hold(
      match, [&] { column = PlayerState[1].pairB.column, pad.Axis(kStickX, -12000); },
      pad.Push(kStickX, 0), "the pair moved left",  // a light push
      [&column] { return PlayerState[1].pairB.column < column; });
  Hold(match, pad.Press(kA), pad.Release(kA), "the pair turned",
       [] { return PlayerState[1].orientation != 0; });
  match.After(100,
              [&pad] { pad.Axis(kStickX, 32767), pad.Button(kDown, true), pad.Button(kB, true); });
  match.When(
      "right, down and turn held", [] { return Flags(1) == "RTD"; }, [&pad] { pad.Detach(); });
  match.When("joypad 1 gone", [] { return Joypad1Present == 0; });
  match.When("every direction released",
             [] { return !PlayerState[1].resolving && Flags(1).empty(); });
  match.After(300, [&pad] {
    EXPECT_EQ(Flags(1), "") << "nothing stays held";
    pad.Attach(true);
  });
  match.When(
      "the pad as joypad 1 again", [] { return Joypad1Present == 1; }, pad.Press(kA));
  Hold(match, pad.Press(kStart), pad.Release(kStart), "paused", [] { return paused == 1; });
  match.After(300, [&pad] {
    EXPECT_EQ(paused + 2 * PlayerState[1].gameOver, 1) << "A held from before does not quit";
    pad.Button(kA, false);
  });
  match.After(100, pad.Press(kB));
  match.When("B pressed in the pause resumes", [] { return paused == 0; });
  Hold(match, pad.Press(kStart), pad.Release(kStart), "paused again", [] { return paused == 1; });
  match.After(300, [&pad] {
    EXPECT_EQ(paused, 1) << "B held from before does not resume";
    pad.Button(kB, false);
  });
  Hold(
      match, pad.Press(kA), [] {}, "A pressed in the pause quits",
      [] { return PlayerState[1].gameOver && PlayerState[2].gameOver; });
  match.When(
      "the results end", [] { return !Running(OutroTick) && !Running(MatchTick); },
      pad.Release(kA));
  PlayRecordedMatch();
  ASSERT_EQ(match.next, match.steps.size());
  EXPECT_LT(resultsEnd, kResultsShortest + 2 * kMostFrameTicks)
      << "A held counts as a key: the results end at their earliest";

  // Outside the match the pad is a menu key again.
  backend.onPump = nullptr;
  pad.Button(kA, true);
  PollAndWaitTick();
  EXPECT_EQ(KeyState[scan::kReturn], 1);

  // The replay holds the pad's pause and answers as the match took them.
  const std::vector<fs::path> replays(fs::directory_iterator(kReplayDirectory), {});
  ASSERT_EQ(replays.size(), 1u);
  Replay replay;
  std::string error;
  ASSERT_TRUE(ReadReplayFile(replays[0].c_str(), replay, error)) << error;
  const ReplayOutcome outcome = CheckReplay(replay);
  EXPECT_TRUE(outcome.reproduced) << outcome.difference;
  SetBackend(nullptr);
}

}  // namespace
