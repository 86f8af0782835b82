#include "lockstep.h"

#include <algorithm>

#include "match_input.h"

void Lockstep::Start(bool host, uint32_t match, uint8_t delay) {
  *this = Lockstep{};
  host_ = host;
  match_ = match;
  delay_ = delay;
  produced_ = delay;  // empty records, sent like any other
}

bool Lockstep::CanProduce() const {
  return produced_ < ran_ + kLeadTicks && produced_ - sent_ < kLeadTicks;
}

void Lockstep::Produce(uint8_t record) {
  if (!CanProduce()) return;
  own_[produced_ % kRingTicks] = record;
  ++produced_;
}

unsigned Lockstep::NextFrame(bool keyDownHere) {
  unsigned ticks = 0;
  bool keyDown = false;
  if (host_) {
    // A tick runs once this side's clock has reached it (its record was read `delay` ticks
    // earlier) and the other side's record for it is here.
    const uint32_t ready = std::min(produced_ - delay_, remoteHave_);
    if (ready <= ran_ || framesMade_ - framesSent_ >= kRingTicks) return 0;
    ticks = std::min<uint32_t>(ready - ran_, kMostFrameTicks);
    keyDown = keyDownHere || (remote_[(ran_ + ticks - 1) % kRingTicks] & kRecordKeyDown);
    frames_[framesMade_ % kRingTicks] =
        static_cast<uint8_t>(ticks | (keyDown ? kFrameKeyDownBit : 0));
    ++framesMade_;
  } else {
    if (framesRun_ == framesMade_) return 0;
    const uint8_t frame = frames_[framesRun_ % kRingTicks];
    ticks = frame & kFrameTicksBits;
    if (ran_ + ticks > remoteHave_ || ran_ + ticks > produced_) return 0;
    keyDown = (frame & kFrameKeyDownBit) != 0;
  }
  ++framesRun_;
  frameStart_ = ran_;
  frameTicks_ = ticks;
  asked_ = 0;
  current_ = ran_;
  frameKeyDown_ = keyDown;
  ran_ += ticks;
  return ticks;
}

bool Lockstep::WaitsForClock() const {
  if (host_) return remoteHave_ > ran_ && produced_ - delay_ <= ran_;
  if (framesRun_ == framesMade_) return false;
  const uint32_t ticks = frames_[framesRun_ % kRingTicks] & kFrameTicksBits;
  return ran_ + ticks <= remoteHave_ && ran_ + ticks > produced_;
}

uint8_t Lockstep::Controls() {
  // One question per tick of the frame; a source asked more often stays on the frame's last tick.
  current_ = frameStart_ + std::min(asked_, frameTicks_ ? frameTicks_ - 1 : 0);
  ++asked_;
  const uint32_t i = current_ % kRingTicks;
  return (own_[i] | remote_[i]) & kRecordControlMask;
}

uint8_t Lockstep::Actions(int p) const {
  const bool mine = (p == 1) == host_;
  const uint8_t record = (mine ? own_ : remote_)[current_ % kRingTicks];
  return (record >> kRecordActionShift) & kRecordActionMask;
}

void Lockstep::AddHash(uint64_t hash) {
  // The other side's hashes can lag only by a few (its game is at most a window behind).
  if (ownHashCount_ - std::min(compared_, hashesSent_) >= kHashRing) {
    outOfStep_ = true;
    return;
  }
  ownHashes_[ownHashCount_ % kHashRing] = hash;
  ++ownHashCount_;
  Compare();
}

void Lockstep::Compare() {
  for (; compared_ < std::min(ownHashCount_, remoteHashCount_); ++compared_)
    if (ownHashes_[compared_ % kHashRing] != remoteHashes_[compared_ % kHashRing])
      outOfStep_ = true;
}

bool Lockstep::TakeOutgoing(NetMessage& m) {
  m = NetMessage{};
  m.type = NetType::kInput;
  m.match = match_;
  m.firstTick = sent_;
  m.recordCount = std::min(produced_ - sent_, kMostRecordsPerPacket);
  for (uint32_t i = 0; i < m.recordCount; ++i) m.records[i] = own_[(sent_ + i) % kRingTicks];
  sent_ += m.recordCount;
  if (host_) {
    m.firstFrame = framesSent_;
    m.frameCount = std::min(framesMade_ - framesSent_, kMostFramesPerPacket);
    for (uint32_t i = 0; i < m.frameCount; ++i)
      m.frames[i] = frames_[(framesSent_ + i) % kRingTicks];
    framesSent_ += m.frameCount;
  }
  m.firstHash = hashesSent_;
  m.hashCount = std::min(ownHashCount_ - hashesSent_, kMostHashesPerPacket);
  for (uint32_t i = 0; i < m.hashCount; ++i)
    m.hashes[i] = ownHashes_[(hashesSent_ + i) % kHashRing];
  hashesSent_ += m.hashCount;
  return m.recordCount || m.frameCount || m.hashCount;
}

bool Lockstep::Receive(const NetMessage& m, const char** error) {
  const auto fail = [error](const char* why) {
    if (error) *error = why;
    return false;
  };
  if (m.type != NetType::kInput || m.match != match_) return fail("inputs of another match");
  // Everything before the running frame is done with; the rings hold the window after it.
  const uint32_t base = frameStart_;
  if (m.recordCount) {
    if (m.firstTick != remoteHave_) return fail("ticks out of order");
    if (remoteHave_ + m.recordCount > base + kWindowTicks) return fail("ticks beyond the window");
  }
  if (m.frameCount) {
    if (host_) return fail("frames sent to the host");
    if (m.firstFrame != framesMade_) return fail("frames out of order");
    if (framesMade_ + m.frameCount - framesRun_ > kWindowTicks)
      return fail("frames beyond the window");
  }
  if (m.hashCount) {
    if (m.firstHash != remoteHashCount_) return fail("hashes out of order");
    if (remoteHashCount_ + m.hashCount - compared_ > kHashRing)
      return fail("hashes beyond the window");
  }
  for (uint32_t i = 0; i < m.recordCount; ++i)
    remote_[(remoteHave_ + i) % kRingTicks] = m.records[i];
  remoteHave_ += m.recordCount;
  for (uint32_t i = 0; i < m.frameCount; ++i) frames_[(framesMade_ + i) % kRingTicks] = m.frames[i];
  framesMade_ += m.frameCount;
  for (uint32_t i = 0; i < m.hashCount; ++i)
    remoteHashes_[(remoteHashCount_ + i) % kHashRing] = m.hashes[i];
  remoteHashCount_ += m.hashCount;
  Compare();
  return true;
}
