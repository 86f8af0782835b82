#include "replay_file.h"

#include <cerrno>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "files.h"
#include "mem_reader.h"

namespace {
constexpr size_t kLebMostBytes = 5;  // a 32-bit number
constexpr uint64_t kChecksumStart = 0xCBF29CE484222325ull;
constexpr uint64_t kChecksumPrime = 0x100000001B3ull;
constexpr size_t kChecksumBytes = 8;

// FNV-1a over the bytes before the checksum.
uint64_t Checksum(const uint8_t* data, size_t size) {
  uint64_t h = kChecksumStart;
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * kChecksumPrime;
  return h;
}

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutLeb(std::vector<uint8_t>& out, uint32_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<uint8_t>(value));
}

// A LEB128 number of at most 32 bits; false when it runs past the end or overflows.
bool GetLeb(const uint8_t* data, size_t size, size_t& pos, uint32_t& value) {
  uint64_t v = 0;
  for (size_t i = 0; i < kLebMostBytes; ++i) {
    if (pos >= size) return false;
    const uint8_t b = data[pos++];
    v |= static_cast<uint64_t>(b & 0x7F) << (7 * i);
    if (!(b & 0x80)) {
      if (v > UINT32_MAX) return false;
      value = static_cast<uint32_t>(v);
      return true;
    }
  }
  return false;
}

uint64_t ReadU64(MemReader& r) {
  const uint64_t low = ReadU32(r);
  return low | (static_cast<uint64_t>(ReadU32(r)) << 32);
}

bool Fail(std::string& error, const char* format, ...) __attribute__((format(printf, 2, 3)));
bool Fail(std::string& error, const char* format, ...) {
  char text[160];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  error = text;
  return false;
}

bool KnownMode(const ReplayPlayer& one, const ReplayPlayer& two) {
  if (one.cpuControlled > 1 || one.absent > 1 || two.cpuControlled > 1 || two.absent > 1)
    return false;
  if (one.absent || two.cpuControlled + two.absent > 1) return false;
  // single human, human vs cpu, two humans, or the demo (both computers)
  return !one.cpuControlled || (two.cpuControlled && !two.absent);
}

// Walks a run-coded stream: every run at least one long, every value allowed, the counts adding
// up to the total the header gives. tickSum, when given, receives the sum of the frames' ticks.
bool CheckRuns(const std::vector<uint8_t>& stream, const char* what, uint32_t expected,
               bool (*allowed)(uint32_t), uint64_t* tickSum, std::string& error) {
  size_t pos = 0;
  uint64_t count = 0, ticks = 0;
  while (pos < stream.size()) {
    uint32_t value = 0, length = 0;
    if (!GetLeb(stream.data(), stream.size(), pos, value) ||
        !GetLeb(stream.data(), stream.size(), pos, length))
      return Fail(error, "the %s are cut off or malformed at byte %zu of their stream", what, pos);
    if (length == 0) return Fail(error, "a run of no %s at byte %zu of their stream", what, pos);
    if (!allowed(value))
      return Fail(error, "%s number %" PRIu64 " holds the value %u, which no match makes", what,
                  count + 1, value);
    count += length;
    if (count > expected)
      return Fail(error, "more %s than the %u the header gives", what, expected);
    if (tickSum) ticks += static_cast<uint64_t>(value & kFrameTicksMask) * length;
  }
  if (count != expected)
    return Fail(error, "%" PRIu64 " %s where the header gives %u", count, what, expected);
  if (tickSum) *tickSum = ticks;
  return true;
}

bool FrameValueAllowed(uint32_t value) {
  const uint32_t ticks = value & kFrameTicksMask;
  return (value & ~(kFrameTicksMask | kFrameKeyDown)) == 0 && ticks >= 1 &&
         ticks <= kMostFrameTicks;
}

bool TickWordAllowed(uint32_t value) {
  return value < kTickWordLimit;
}
}  // namespace

void AppendRun(std::vector<uint8_t>& stream, uint32_t value, uint32_t length) {
  PutLeb(stream, value);
  PutLeb(stream, length);
}

bool RunReader::Next(uint32_t& out) {
  if (left == 0) {
    uint32_t length = 0;
    if (pos >= size || !GetLeb(data, size, pos, value) || !GetLeb(data, size, pos, length) ||
        length == 0) {
      pos = size;
      return false;
    }
    left = length;
  }
  --left;
  out = value;
  return true;
}

RunReader MakeRunReader(const std::vector<uint8_t>& stream) {
  RunReader r;
  r.data = stream.data();
  r.size = stream.size();
  return r;
}

std::vector<uint8_t> EncodeReplay(const Replay& replay) {
  std::vector<uint8_t> out;
  out.reserve(256 + replay.frameRuns.size() + replay.tickRuns.size() + 8 * replay.hashes.size());
  for (char c : kReplayMagic) out.push_back(static_cast<uint8_t>(c));
  Put(out, kReplayVersion, 4);
  for (uint64_t word : replay.randomState) Put(out, word, 8);
  for (int p = 1; p <= 2; ++p) {
    const ReplayPlayer& player = replay.players[p];
    const uint8_t* config = reinterpret_cast<const uint8_t*>(&player.config);
    out.insert(out.end(), config, config + sizeof(PlayerConfig));
    out.push_back(player.cpuControlled);
    out.push_back(player.absent);
  }
  out.push_back(replay.animation);
  out.push_back(static_cast<uint8_t>(replay.fpsText.length));
  out.insert(out.end(), replay.fpsText.chars, replay.fpsText.chars + kFpsTextCapacity);
  Put(out, replay.frames, 4);
  Put(out, replay.frameRuns.size(), 4);
  Put(out, replay.playTicks, 4);
  Put(out, replay.tickRuns.size(), 4);
  for (int p = 1; p <= 2; ++p) {
    const ReplayResult& r = replay.results[p];
    Put(out, static_cast<uint64_t>(r.score), 8);
    Put(out, static_cast<uint64_t>(r.shownScore), 8);
    Put(out, r.maxCombo, 2);
    Put(out, r.maxComboPoints, 2);
    Put(out, r.beansKilled, 4);
    out.push_back(r.gameOver);
  }
  out.insert(out.end(), replay.frameRuns.begin(), replay.frameRuns.end());
  out.insert(out.end(), replay.tickRuns.begin(), replay.tickRuns.end());
  for (uint64_t hash : replay.hashes) Put(out, hash, 8);
  out.resize(out.size() + kChecksumBytes);
  SealReplay(out);
  return out;
}

void SealReplay(std::vector<uint8_t>& bytes) {
  if (bytes.size() < kChecksumBytes) return;
  const size_t end = bytes.size() - kChecksumBytes;
  const uint64_t sum = Checksum(bytes.data(), end);
  for (size_t i = 0; i < kChecksumBytes; ++i) bytes[end + i] = static_cast<uint8_t>(sum >> (8 * i));
}

bool DecodeReplay(const uint8_t* data, size_t size, Replay& out, std::string& error) {
  if (!data || size == 0) return Fail(error, "empty file, not a replay");
  if (size < sizeof kReplayMagic)
    return memcmp(data, kReplayMagic, size) == 0 ? Fail(error, "truncated after %zu bytes", size)
                                                 : Fail(error, "not a replay file");
  if (memcmp(data, kReplayMagic, sizeof kReplayMagic) != 0) return Fail(error, "not a replay file");
  if (size > kMostReplayBytes)
    return Fail(error, "%zu bytes, more than a replay can hold (%zu)", size, kMostReplayBytes);

  MemReader r = MakeReader(data, size, "truncated");
  ReadBlock(r, sizeof kReplayMagic);
  const uint32_t version = ReadU32(r);
  if (ReaderOk(r) && version != kReplayVersion)
    return Fail(error, "replay format version %u; this game reads version %u", version,
                kReplayVersion);
  Replay replay{};
  for (uint64_t& word : replay.randomState) word = ReadU64(r);
  for (int p = 1; p <= 2; ++p) {
    ReplayPlayer& player = replay.players[p];
    if (const uint8_t* config = ReadBlock(r, sizeof(PlayerConfig)))
      memcpy(&player.config, config, sizeof(PlayerConfig));
    player.cpuControlled = ReadU8(r);
    player.absent = ReadU8(r);
  }
  replay.animation = ReadU8(r);
  replay.fpsText.length = ReadU8(r);
  if (const uint8_t* chars = ReadBlock(r, kFpsTextCapacity))
    memcpy(replay.fpsText.chars, chars, kFpsTextCapacity);
  replay.frames = ReadU32(r);
  const uint32_t frameBytes = ReadU32(r);
  replay.playTicks = ReadU32(r);
  const uint32_t tickBytes = ReadU32(r);
  for (int p = 1; p <= 2; ++p) {
    ReplayResult& result = replay.results[p];
    result.score = static_cast<int64_t>(ReadU64(r));
    result.shownScore = static_cast<int64_t>(ReadU64(r));
    result.maxCombo = ReadU16(r);
    result.maxComboPoints = ReadU16(r);
    result.beansKilled = ReadU32(r);
    result.gameOver = ReadU8(r);
  }
  if (!ReaderOk(r)) return Fail(error, "truncated after %zu bytes", size);

  // The sizes the header gives must add up to the file's.
  const uint64_t hashBytes = 8ull * HashCount(replay.playTicks);
  const uint64_t expected = r.pos + uint64_t{frameBytes} + tickBytes + hashBytes + kChecksumBytes;
  if (expected > size)
    return Fail(error, "truncated: %zu bytes where the header needs %" PRIu64, size, expected);
  if (expected < size)
    return Fail(error, "%" PRIu64 " unexpected bytes after the end", size - expected);
  const uint8_t* sum = data + size - kChecksumBytes;
  uint64_t stored = 0;
  for (size_t i = 0; i < kChecksumBytes; ++i) stored |= static_cast<uint64_t>(sum[i]) << (8 * i);
  if (stored != Checksum(data, size - kChecksumBytes))
    return Fail(error, "corrupted (the checksum does not match)");

  // What no recording can hold.
  if (!KnownMode(replay.players[1], replay.players[2]))
    return Fail(error, "the players' mode flags (%u %u, %u %u) are not a game mode",
                replay.players[1].cpuControlled, replay.players[1].absent,
                replay.players[2].cpuControlled, replay.players[2].absent);
  if (replay.animation >= 3) return Fail(error, "animation %u does not exist", replay.animation);
  if (replay.fpsText.length > kFpsTextCapacity)
    return Fail(error, "a frames-per-second text of %u characters", replay.fpsText.length);
  if (replay.results[1].gameOver > 1 || replay.results[2].gameOver > 1)
    return Fail(error, "a game-over flag other than 0 or 1");
  if (replay.frames == 0 || replay.frames > kMostReplayTicks)
    return Fail(error, "%u frames", replay.frames);
  if (replay.playTicks == 0 || replay.playTicks > kMostReplayTicks)
    return Fail(error, "%u ticks of play", replay.playTicks);

  const uint8_t* streams = ReadBlock(r, frameBytes + tickBytes);
  replay.frameRuns.assign(streams, streams + frameBytes);
  replay.tickRuns.assign(streams + frameBytes, streams + frameBytes + tickBytes);
  uint64_t ticks = 0;
  if (!CheckRuns(replay.frameRuns, "frames", replay.frames, FrameValueAllowed, &ticks, error) ||
      !CheckRuns(replay.tickRuns, "ticks of play", replay.playTicks, TickWordAllowed, nullptr,
                 error))
    return false;
  if (ticks > kMostReplayTicks)
    return Fail(error, "%" PRIu64 " ticks, more than a replay can hold", ticks);
  if (replay.playTicks > ticks)
    return Fail(error, "%u ticks of play in a match of %" PRIu64 " ticks", replay.playTicks, ticks);
  replay.hashes.resize(HashCount(replay.playTicks));
  for (uint64_t& hash : replay.hashes) hash = ReadU64(r);
  out = std::move(replay);
  return true;
}

bool ReadReplayFile(const char* path, Replay& out, std::string& error) {
  std::vector<uint8_t> bytes;
  const int failure = ReadWholeFile(path, bytes, kMostReplayBytes);
  if (failure == EFBIG)
    return Fail(error, "larger than a replay can be (%zu bytes)", kMostReplayBytes);
  if (failure) return Fail(error, "%s", strerror(failure));
  return DecodeReplay(bytes.data(), bytes.size(), out, error);
}
