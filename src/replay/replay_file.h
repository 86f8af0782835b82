// A replay: what one match read from outside, from its start to the end of its results, with the
// hashes and results it reached; and the file that holds it (docs/replay-format.md).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "match_input.h"
#include "match_tick.h"
#include "player_config.h"
#include "random.h"
#include "text.h"

constexpr char kReplayMagic[8] = {'P', 'L', 'X', 'R', 'E', 'P', 'L', 'Y'};
constexpr uint32_t kReplayVersion = 1;
constexpr uint32_t kHashEveryTicks = 70;  // of play; and one after the last play tick
// The most ticks a replay may hold (about 16 hours of match); a file claiming more is refused.
constexpr uint64_t kMostReplayTicks = 1u << 22;
constexpr size_t kMostReplayBytes = 4u << 20;

// A frame: its tick count (1..10) in the low bits, and whether a key was held when the results
// asked after it.
constexpr uint32_t kFrameTicksMask = 0x0F;
constexpr uint32_t kFrameKeyDown = 0x10;
// A tick of play: the pause and answer inputs, then each player's action inputs as last read.
constexpr int kTickActionShift[3] = {0, kControlBits, kControlBits + kActionBits};
constexpr uint32_t kTickWordLimit = 1u << (kControlBits + 2 * kActionBits);

struct ReplayPlayer {
  PlayerConfig config;
  uint8_t cpuControlled;
  uint8_t absent;
};

// What the results showed for one player.
struct ReplayResult {
  int64_t score;
  int64_t shownScore;
  uint16_t maxCombo;
  uint16_t maxComboPoints;
  uint32_t beansKilled;
  uint8_t gameOver;
};

struct Replay {
  uint64_t randomState[kRandomStateWords];  // the generator as the match-start reset found it
  ReplayPlayer players[3];                  // [1] and [2]
  uint8_t animation;                        // the centre animation file, 0..2
  FixedText<kFpsTextCapacity> fpsText;      // carried over from the match before
  uint32_t frames;                          // frames of the whole match
  uint32_t playTicks;
  // Run-coded streams (pairs of LEB128 numbers: value, how many in a row): one value per frame,
  // one word per tick of play.
  std::vector<uint8_t> frameRuns;
  std::vector<uint8_t> tickRuns;
  // After every kHashEveryTicks ticks of play and after the last one.
  std::vector<uint64_t> hashes;
  ReplayResult results[3];
};

// The number of hashes a match of this many play ticks carries.
inline uint32_t HashCount(uint32_t playTicks) {
  return (playTicks + kHashEveryTicks - 1) / kHashEveryTicks;
}

void AppendRun(std::vector<uint8_t>& stream, uint32_t value, uint32_t length);

// Reads a run-coded stream one value at a time.
struct RunReader {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  uint32_t value = 0;
  uint32_t left = 0;  // of the current run
  // The next value; false when the stream has ended (or is malformed).
  bool Next(uint32_t& out);
  bool AtEnd() const { return left == 0 && pos >= size; }
};
RunReader MakeRunReader(const std::vector<uint8_t>& stream);

// The whole file image.
std::vector<uint8_t> EncodeReplay(const Replay& replay);
// Writes the closing checksum of a file image over its last 8 bytes.
void SealReplay(std::vector<uint8_t>& bytes);
// Checks everything a file can hold wrongly; on failure error tells what, in a few words.
bool DecodeReplay(const uint8_t* data, size_t size, Replay& out, std::string& error);
// Reads and decodes a file; error tells what is wrong (without the file name).
bool ReadReplayFile(const char* path, Replay& out, std::string& error);
