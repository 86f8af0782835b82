// Everything a match reads from outside passes through one MatchInput: per frame, how many ticks
// it runs (and, at the end of the results, whether a key is held); per play tick, the pause and
// answer inputs; per input step, each human player's action inputs. The live game answers from
// the KeyState and the devices; a replay answers from a file; a source can also wrap another one
// (the recorder writes down what passed through). The engine and the match flow only ask.
#pragma once
#include <cstdint>

// Pause and answer inputs, whichever key or device gave them.
constexpr uint8_t kControlPause = 1;  // Escape or P
constexpr uint8_t kControlYes = 2;    // Y, Z or J
constexpr uint8_t kControlNo = 4;     // N
constexpr uint8_t kControlBits = 3;

// A player's action inputs as the input step produced them from all devices together.
constexpr uint8_t kActionLeft = 1;
constexpr uint8_t kActionRight = 2;
constexpr uint8_t kActionRotate = 4;
constexpr uint8_t kActionDown = 8;
constexpr uint8_t kActionBits = 4;

constexpr unsigned kMostFrameTicks = 10;  // a frame runs 1..10 ticks

class MatchInput {
 public:
  virtual ~MatchInput() = default;
  // Once per frame in every phase of a match: waits for the frame's time and returns how many
  // ticks it runs, 1..kMostFrameTicks.
  virtual unsigned FrameTicks() = 0;
  // Whether a key is held; the results ask it after presenting a frame, to end early.
  virtual bool KeyDown() = 0;
  // First thing in every play tick, also while paused: the pause and answer inputs held now.
  virtual uint8_t Controls() = 0;
  // Once per input step, before the players: lets the devices take their readings.
  virtual void PollDevices() {}
  // At an input step, for each human player p taking part whose pair is not waiting: its actions.
  virtual uint8_t Actions(int p) = 0;
};

// Thrown by a source that cannot go on (an online opponent has gone): the match is dropped where
// it stands, without results, high scores or replay.
struct MatchAborted {};

// The keyboard, mouse and joypads of this machine, read as the input rules say, and the tick clock.
MatchInput& LiveMatchInput();

// The source the match reads from; the live one unless another is set (nullptr restores it).
MatchInput& CurrentMatchInput();
void SetMatchInput(MatchInput* input);

// Makes a source current for its lifetime and restores the one before, also when the match is
// left by an exception (the tests' program exit).
class MatchInputScope {
 public:
  explicit MatchInputScope(MatchInput& input) : previous_(CurrentMatchInput()) {
    SetMatchInput(&input);
  }
  ~MatchInputScope() { SetMatchInput(&previous_); }
  MatchInputScope(const MatchInputScope&) = delete;
  MatchInputScope& operator=(const MatchInputScope&) = delete;

 private:
  MatchInput& previous_;
};

// The frame wait of a match: the current source says how many ticks the frame runs, and the
// installed TickHandler runs once for each.
void MatchWaitTick();
