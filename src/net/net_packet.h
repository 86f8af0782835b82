// The messages two programs exchange in online play, and their encoding. Everything that arrives
// from the network is untrusted: the decoder checks the size, the type and every value's range
// and never reads past the packet; what it accepts still has to fit the receiver's state
// (the match, the next tick or frame expected, the window), which Lockstep checks.
#pragma once
#include <cstddef>
#include <cstdint>

#include "random.h"

constexpr uint16_t kNetPort = 7457;
// Changes whenever the rules, the packets or anything else that must match on both sides
// changes; programs of different versions refuse each other.
constexpr uint16_t kNetVersion = 1;
// Carried by the connection request itself, so a program of another version is refused before
// anything else is exchanged.
constexpr uint32_t kNetMagic = 0x504C0000u;  // "PL" in the high half
inline uint32_t ConnectWord(uint16_t version) {
  return kNetMagic | version;
}

constexpr size_t kMostPacketBytes = 512;
constexpr uint32_t kMostRecordsPerPacket = 64;
constexpr uint32_t kMostFramesPerPacket = 64;
constexpr uint32_t kMostHashesPerPacket = 4;
constexpr uint32_t kMostMatches = 65535;
constexpr uint8_t kLeastDelay = 2;  // ticks between reading a player's input and using it
constexpr uint8_t kMostDelay = 6;

// A tick's record of one side's inputs: the pause and answer inputs, the local player's action
// inputs and whether any key is held (the results may end on it).
constexpr uint8_t kRecordControlMask = 0x07;
constexpr int kRecordActionShift = 3;
constexpr uint8_t kRecordActionMask = 0x0F;
constexpr uint8_t kRecordKeyDown = 0x80;
// A frame decided by the host: the ticks it runs (1..10) and, at bit 4, whether a key was held.
constexpr uint8_t kFrameTicksBits = 0x0F;
constexpr uint8_t kFrameKeyDownBit = 0x10;

// The options that shape a match, sent by each side when they connect.
constexpr uint8_t kLeastNetDropSpeed = 1, kMostNetDropSpeed = 99;
constexpr uint8_t kLeastNetBeansToLink = 3, kMostNetBeansToLink = 99;
struct NetSettings {
  uint8_t nameLength = 0;  // 0..5
  char name[5] = {};
  uint8_t dropSpeed = 1;
  uint8_t beansToLink = 4;
};

enum class NetType : uint8_t {
  kHello = 1,  // version and settings, each side once after connecting
  kStart = 2,  // host: the next match, its generator state and input delay
  kInput = 3,  // the next ticks' records, (host) frames decided, hashes taken
  kReady = 4,  // this side's player wants match number `match`
};

struct NetMessage {
  NetType type = NetType::kInput;
  // kHello
  uint16_t version = 0;
  NetSettings settings;
  // kStart, kReady, kInput: the match the message belongs to, 1..65535
  uint32_t match = 0;
  // kStart
  uint8_t delay = kLeastDelay;
  uint64_t randomState[kRandomStateWords] = {};
  // kInput: records of ticks firstTick.., frames firstFrame.., hashes firstHash..
  uint32_t firstTick = 0, recordCount = 0;
  uint8_t records[kMostRecordsPerPacket] = {};
  uint32_t firstFrame = 0, frameCount = 0;
  uint8_t frames[kMostFramesPerPacket] = {};
  uint32_t firstHash = 0, hashCount = 0;
  uint64_t hashes[kMostHashesPerPacket] = {};
};

// Why a session ended, sent with the disconnection.
enum class NetEnd : uint32_t {
  kNone = 0,
  kLeft = 1,       // the player ended the session (or the program)
  kOutOfStep = 2,  // the two games' hashes differed
  kVersion = 3,    // refused: another version
  kBadPacket = 4,  // a packet that made no sense
  kBusy = 5,       // the host already has an opponent
  kLost = 6,       // no sign of life from the other side
};

// The packet bytes of a message; returns the size, 0 if it does not fit into capacity.
size_t EncodeNetMessage(const NetMessage& message, uint8_t* out, size_t capacity);
// Reads a packet; false (with a short reason) when it is malformed in any way.
bool DecodeNetMessage(const uint8_t* data, size_t size, NetMessage& out, const char** error);
