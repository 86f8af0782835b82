// The replay reader on any bytes: never a crash, a hang or a huge allocation. Inputs that look
// like replays are also tried with their checksum made right, to reach the checks behind it;
// a file the reader accepts writes back to the same bytes, and a short one is re-simulated.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "headless.h"
#include "replay.h"

namespace {
constexpr uint64_t kMostSimulatedTicks = 5000;

void Try(const uint8_t* data, size_t size) {
  Replay replay;
  std::string error;
  if (!DecodeReplay(data, size, replay, error)) {
    if (error.empty()) abort();
    return;
  }
  const std::vector<uint8_t> again = EncodeReplay(replay);
  if (again.size() != size || memcmp(again.data(), data, size) != 0) abort();
  uint64_t ticks = 0;
  RunReader frames = MakeRunReader(replay.frameRuns);
  for (uint32_t v; frames.Next(v);) ticks += v & kFrameTicksMask;
  if (ticks > kMostSimulatedTicks) return;
  static HeadlessSession session;
  CheckReplay(replay);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Try(data, size);
  if (size > 16 && memcmp(data, kReplayMagic, sizeof kReplayMagic) == 0) {
    std::vector<uint8_t> resealed(data, data + size);
    SealReplay(resealed);
    Try(resealed.data(), resealed.size());
  }
  return 0;
}
