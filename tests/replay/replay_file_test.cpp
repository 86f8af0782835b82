// The replay file: writer and reader round trip, and every kind of bad file refused with a message
// that says what is wrong.
#include "replay_file.h"

#include <functional>

#include "test_support.h"

namespace {

// Offsets of the documented layout that the cases below change.
constexpr size_t kVersionAt = 8, kAbsent1At = 97, kAnimationAt = 152, kFpsLengthAt = 153;
constexpr size_t kFramesAt = 157, kGameOver2At = 222, kStreamsAt = 223;

Replay SampleReplay() {
  Replay r{};
  for (int i = 0; i < kRandomStateWords; ++i) r.randomState[i] = 0x0123456789ABCDEFull * (i + 1);
  for (int p = 1; p <= 2; ++p) {
    PlayerConfig& c = r.players[p].config;
    c.keyLeft = 17 + p, c.mouseDelay = 40;
    c.name = {kNameCapacity, 3, {'a', 'b', static_cast<char>('0' + p)}, {}};
    c.dropSpeed = 2, c.beansToLink = 4, c.cpuStrength = 3;
  }
  r.players[2].cpuControlled = 1;  // human vs cpu
  r.animation = 2;
  r.fpsText.Set("69");
  r.frames = 301;
  AppendRun(r.frameRuns, 1, 300);
  AppendRun(r.frameRuns, 2 | kFrameKeyDown, 1);
  r.playTicks = 141;
  AppendRun(r.tickRuns, 0, 40);
  AppendRun(r.tickRuns, kControlPause, 1);
  AppendRun(r.tickRuns, kActionDown << kTickActionShift[1], 100);
  r.hashes = {1, 0xFFFFFFFFFFFFFFFFull, 3};
  r.results[1] = {123456789012, 123456789000, 7, 65535, 99, 1};
  r.results[2] = {-1, 0, 0, 0, 0, 0};
  return r;
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Read back, a replay writes to the same bytes (a field the reader skipped would differ; one both
// sides moved would break the replays kept as regression data). Files it cannot read too (a
// missing one is among the simulator's verdicts).
TEST(ReplayFile, ReadBackWritesTheSameBytesAndUnreadableFilesAreRefused) {
  const std::vector<uint8_t> bytes = EncodeReplay(SampleReplay());
  Replay out{};
  std::string error;
  ASSERT_TRUE(DecodeReplay(bytes.data(), bytes.size(), out, error)) << error;
  EXPECT_EQ(EncodeReplay(out), bytes);
  ScratchDir scratch;
  fs::create_directory("folder.plx");
  WriteFileBytes("huge.plx", std::vector<uint8_t>(kMostReplayBytes + 1, 'P'));
  const std::pair<const char*, const char*> unreadable[] = {
      {"folder.plx", "directory"},
      {"huge.plx", "larger than a replay can be"},
  };
  for (auto [file, message] : unreadable) {
    EXPECT_FALSE(ReadReplayFile(file, out, error)) << file;
    EXPECT_NE(error.find(message), std::string::npos) << file << ": " << error;
  }
}

struct BadFile {
  const char* name;
  std::function<void(Replay&)> edit;                 // before encoding
  std::function<void(std::vector<uint8_t>&)> bytes;  // after encoding
  bool reseal;  // checksum made right again, to reach the checks behind it
  const char* message;
};

const BadFile kBadFiles[] = {
    {"Empty", nullptr, [](auto& b) { b.clear(); }, false, "empty file"},
    {"OtherFile", nullptr, [](auto& b) { b[0] = 'G'; }, false, "not a replay file"},
    {"MagicOnlyBegun", nullptr, [](auto& b) { b.resize(3); }, false, "truncated after 3 bytes"},
    {"HeaderCut", nullptr, [](auto& b) { b.resize(100); }, false, "truncated after 100 bytes"},
    {"LastByteCut", nullptr, [](auto& b) { b.pop_back(); }, false, "truncated"},
    {"BytesAfterTheEnd", nullptr, [](auto& b) { b.push_back(0); }, false, "1 unexpected bytes"},
    {"NewerVersion", nullptr, [](auto& b) { b[kVersionAt] = 2; }, true, "version 2"},
    {"FlippedBit", nullptr, [](auto& b) { b[kStreamsAt + 1] ^= 4; }, false, "corrupted"},
    {"PlayerOneAbsent", nullptr, [](auto& b) { b[kAbsent1At] = 1; }, true, "not a game mode"},
    {"ComputerWithHuman", [](Replay& r) { r.players[1].cpuControlled = 1, r.players[2] = {}; },
     nullptr, true, "not a game mode"},
    {"FourthAnimation", nullptr, [](auto& b) { b[kAnimationAt] = 3; }, true, "animation 3"},
    {"LongFpsText", nullptr, [](auto& b) { b[kFpsLengthAt] = 4; }, true, "4 characters"},
    {"GameOverTwo", nullptr, [](auto& b) { b[kGameOver2At] = 2; }, true, "game-over flag"},
    {"FrameOfNoTicks", nullptr, [](auto& b) { b[kStreamsAt] = 0; }, true, "value 0"},
    {"FrameOfElevenTicks", nullptr, [](auto& b) { b[kStreamsAt] = 11; }, true, "value 11"},
    {"UnknownFrameBit", nullptr, [](auto& b) { b[kStreamsAt] = 0x21; }, true, "value 33"},
    {"RunOfNone", [](Replay& r) { AppendRun(r.frameRuns, 1, 0); }, nullptr, true, "a run of no"},
    {"TickWordTooWide", [](Replay& r) { AppendRun(r.tickRuns, kTickWordLimit, 1), ++r.playTicks; },
     nullptr, true, "value 2048"},
    {"NumberNeverEnds", [](Replay& r) { r.frameRuns.assign(6, 0xFF); }, nullptr, true,
     "cut off or malformed"},
    {"FramesMiscounted", nullptr, [](auto& b) { PutU32(b, kFramesAt, 300); }, true,
     "more frames than the 300"},
    {"FramesShort", nullptr, [](auto& b) { PutU32(b, kFramesAt, 302); }, true,
     "301 frames where the header gives 302"},
    {"FarTooManyFrames", nullptr, [](auto& b) { PutU32(b, kFramesAt, 1u << 30); }, true,
     "1073741824 frames"},
    {"MorePlayThanTicks",
     [](Replay& r) {
       r.frameRuns = {1, 100}, r.frames = 100;
     },
     nullptr, true, "141 ticks of play in a match of 100 ticks"},
    {"NoPlay", [](Replay& r) { r.playTicks = 0, r.tickRuns.clear(), r.hashes.clear(); }, nullptr,
     true, "0 ticks of play"},
    {"Oversized", nullptr, [](auto& b) { b.resize(kMostReplayBytes + 1); }, false,
     "more than a replay can hold"},
};

TEST(ReplayFile, BadFilesAreRefusedWithTheirReasons) {
  for (const BadFile& c : kBadFiles) {
    Replay sample = SampleReplay();
    if (c.edit) c.edit(sample);
    std::vector<uint8_t> bytes = EncodeReplay(sample);
    if (c.bytes) c.bytes(bytes);
    if (c.reseal) SealReplay(bytes);
    Replay out{};
    std::string error;
    EXPECT_FALSE(DecodeReplay(bytes.data(), bytes.size(), out, error)) << c.name;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
  }
}

}  // namespace
