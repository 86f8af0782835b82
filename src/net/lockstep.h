// Lockstep: both programs run the same match tick by tick. A tick runs only when both sides'
// records for it are known; each side reads its player's inputs `delay` ticks before they are
// used, which hides the round trip. The host decides how many ticks every frame runs (and whether
// a key was held for the results) and sends it with its records; the joiner follows. The hashes
// taken along the way are exchanged and compared.
#pragma once
#include <cstdint>

#include "match_input.h"
#include "net_packet.h"

// A side's own records run at most this far ahead of its game; past it, clock ticks are dropped
// and the game waits (about 1.7 s: far more than any round trip that stays playable).
constexpr uint32_t kLeadTicks = 120;
// Records and frames from the other side are accepted this far ahead of this side's game.
constexpr uint32_t kWindowTicks = 2 * kLeadTicks + 2 * kMostFrameTicks;
constexpr uint32_t kRingTicks = 512;  // more than kWindowTicks plus a frame
constexpr uint32_t kHashRing = 16;
static_assert(kRingTicks >= kWindowTicks + kMostFrameTicks);

class Lockstep {
 public:
  // A new match: the host plays the left field (player 1). The first `delay` records of each
  // side are empty: nobody can have pressed anything for them.
  void Start(bool host, uint32_t match, uint8_t delay);
  bool host() const { return host_; }
  uint32_t match() const { return match_; }
  uint8_t delay() const { return delay_; }

  // ---- This side's records, one per tick of its clock ----
  bool CanProduce() const;
  void Produce(uint8_t record);

  // ---- Frames ----
  // The next frame's ticks, 0 while it cannot run yet. The host decides it (key held here
  // or on the other side at its last tick); the joiner takes the host's next frame.
  unsigned NextFrame(bool keyDownHere);
  // True when what holds the next frame back is this side's own clock, not the network.
  bool WaitsForClock() const;
  // Within the frame: the pause and answer inputs of the next tick (both sides' together), a
  // player's actions at that tick, whether the results may end after the frame.
  uint8_t Controls();
  uint8_t Actions(int p) const;
  bool KeyDown() const { return frameKeyDown_; }
  uint32_t ticksRun() const { return ran_; }

  // ---- Hashes of the match state, compared as both sides' arrive ----
  void AddHash(uint64_t hash);
  bool OutOfStep() const { return outOfStep_; }

  // ---- Exchange ----
  // What was not sent yet, in one input message; false when there is nothing new.
  bool TakeOutgoing(NetMessage& m);
  // An input message of this match from the other side; false (with the reason) when it does
  // not fit: out of order, beyond the window, frames sent to the host.
  bool Receive(const NetMessage& m, const char** error);

 private:
  bool host_ = false;
  uint32_t match_ = 0;
  uint8_t delay_ = kLeastDelay;
  uint8_t own_[kRingTicks] = {}, remote_[kRingTicks] = {};
  uint32_t produced_ = 0, sent_ = 0, remoteHave_ = 0;
  uint8_t frames_[kRingTicks] = {};
  uint32_t framesMade_ = 0, framesSent_ = 0, framesRun_ = 0;
  uint32_t ran_ = 0, frameStart_ = 0, frameTicks_ = 0, asked_ = 0, current_ = 0;
  bool frameKeyDown_ = false;
  uint64_t ownHashes_[kHashRing] = {}, remoteHashes_[kHashRing] = {};
  uint32_t ownHashCount_ = 0, hashesSent_ = 0, remoteHashCount_ = 0, compared_ = 0;
  bool outOfStep_ = false;
  void Compare();
};
