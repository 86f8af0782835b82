#include "net_packet.h"

#include <cstring>

#include "match_input.h"

namespace {
constexpr int kVarintMostBytes = 5;  // a 32-bit number in 7-bit groups

// Appends to a buffer of fixed capacity; remembers when something did not fit.
struct Writer {
  uint8_t* out;
  size_t capacity;
  size_t size = 0;
  bool full = false;
  void Byte(uint8_t b) {
    if (size < capacity)
      out[size++] = b;
    else
      full = true;
  }
  void Varint(uint32_t v) {
    while (v >= 0x80) {
      Byte(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    Byte(static_cast<uint8_t>(v));
  }
  void U16(uint16_t v) {
    Byte(static_cast<uint8_t>(v));
    Byte(static_cast<uint8_t>(v >> 8));
  }
  void U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Bytes(const void* data, size_t n) {
    for (size_t i = 0; i < n; ++i) Byte(static_cast<const uint8_t*>(data)[i]);
  }
};

// Reads from a packet; the first failure is kept and every later read yields zeros.
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  const char* error = nullptr;
  void Fail(const char* why) {
    if (!error) error = why;
  }
  uint8_t Byte() {
    if (error) return 0;
    if (pos >= size) {
      Fail("the packet is too short");
      return 0;
    }
    return data[pos++];
  }
  uint32_t Varint() {
    uint32_t v = 0;
    for (int i = 0; i < kVarintMostBytes; ++i) {
      const uint8_t b = Byte();
      if (i == kVarintMostBytes - 1 && b > 0x0F) Fail("a number is too large");
      v |= static_cast<uint32_t>(b & 0x7F) << (7 * i);
      if (!(b & 0x80)) return error ? 0 : v;
    }
    Fail("a number is too large");
    return 0;
  }
  uint16_t U16() {
    const uint16_t low = Byte();
    return static_cast<uint16_t>(low | Byte() << 8);
  }
  uint64_t U64() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(Byte()) << (8 * i);
    return v;
  }
  // A count of items that follow, at most `most`.
  uint32_t Count(uint32_t most) {
    const uint8_t n = Byte();
    if (n > most) Fail("too many items in one packet");
    return n > most ? 0 : n;
  }
  void Range(uint32_t v, uint32_t low, uint32_t high, const char* what) {
    if (v < low || v > high) Fail(what);
  }
};

void ReadMatch(Reader& r, NetMessage& m) {
  m.match = r.Varint();
  r.Range(m.match, 1, kMostMatches, "the match number is out of range");
}
}  // namespace

size_t EncodeNetMessage(const NetMessage& m, uint8_t* out, size_t capacity) {
  Writer w{out, capacity};
  w.Byte(static_cast<uint8_t>(m.type));
  switch (m.type) {
    case NetType::kHello:
      w.U16(m.version);
      w.Byte(m.settings.nameLength);
      w.Bytes(m.settings.name, m.settings.nameLength <= 5 ? m.settings.nameLength : 5);
      w.Byte(m.settings.dropSpeed);
      w.Byte(m.settings.beansToLink);
      break;
    case NetType::kStart:
      w.Varint(m.match);
      w.Byte(m.delay);
      for (uint64_t word : m.randomState) w.U64(word);
      break;
    case NetType::kReady:
      w.Varint(m.match);
      break;
    case NetType::kInput:
      if (m.recordCount > kMostRecordsPerPacket || m.frameCount > kMostFramesPerPacket ||
          m.hashCount > kMostHashesPerPacket)
        return 0;
      w.Varint(m.match);
      w.Byte(static_cast<uint8_t>(m.recordCount));
      if (m.recordCount) w.Varint(m.firstTick);
      w.Bytes(m.records, m.recordCount);
      w.Byte(static_cast<uint8_t>(m.frameCount));
      if (m.frameCount) w.Varint(m.firstFrame);
      w.Bytes(m.frames, m.frameCount);
      w.Byte(static_cast<uint8_t>(m.hashCount));
      if (m.hashCount) w.Varint(m.firstHash);
      for (uint32_t i = 0; i < m.hashCount; ++i) w.U64(m.hashes[i]);
      break;
    default:
      return 0;
  }
  return w.full ? 0 : w.size;
}

bool DecodeNetMessage(const uint8_t* data, size_t size, NetMessage& m, const char** error) {
  Reader r{data, size};
  if (size > kMostPacketBytes) r.Fail("the packet is too long");
  m = NetMessage{};
  m.type = static_cast<NetType>(r.Byte());
  switch (m.type) {
    case NetType::kHello: {
      m.version = r.U16();
      NetSettings& s = m.settings;
      s.nameLength = r.Byte();
      r.Range(s.nameLength, 0, 5, "the name is too long");
      for (uint32_t i = 0; i < s.nameLength && !r.error; ++i)
        s.name[i] = static_cast<char>(r.Byte());
      s.dropSpeed = r.Byte();
      r.Range(s.dropSpeed, kLeastNetDropSpeed, kMostNetDropSpeed, "the drop speed is out of range");
      s.beansToLink = r.Byte();
      r.Range(s.beansToLink, kLeastNetBeansToLink, kMostNetBeansToLink,
              "beans to link is out of range");
      break;
    }
    case NetType::kStart: {
      ReadMatch(r, m);
      m.delay = r.Byte();
      r.Range(m.delay, kLeastDelay, kMostDelay, "the input delay is out of range");
      uint64_t any = 0;
      for (uint64_t& word : m.randomState) any |= word = r.U64();
      // The generator never leaves an all-zero state, nor can it start from one.
      if (!any) r.Fail("the generator state is empty");
      break;
    }
    case NetType::kReady:
      ReadMatch(r, m);
      break;
    case NetType::kInput: {
      ReadMatch(r, m);
      m.recordCount = r.Count(kMostRecordsPerPacket);
      if (m.recordCount) m.firstTick = r.Varint();
      for (uint32_t i = 0; i < m.recordCount; ++i) m.records[i] = r.Byte();
      m.frameCount = r.Count(kMostFramesPerPacket);
      if (m.frameCount) m.firstFrame = r.Varint();
      for (uint32_t i = 0; i < m.frameCount; ++i) {
        const uint8_t f = m.frames[i] = r.Byte();
        const uint8_t ticks = f & kFrameTicksBits;
        if ((f & ~(kFrameTicksBits | kFrameKeyDownBit)) || ticks < 1 || ticks > kMostFrameTicks)
          r.Fail("a frame is malformed");
      }
      m.hashCount = r.Count(kMostHashesPerPacket);
      if (m.hashCount) m.firstHash = r.Varint();
      for (uint32_t i = 0; i < m.hashCount; ++i) m.hashes[i] = r.U64();
      if (!m.recordCount && !m.frameCount && !m.hashCount) r.Fail("an empty input packet");
      break;
    }
    default:
      r.Fail("unknown packet type");
  }
  if (!r.error && r.pos != size) r.Fail("the packet is too long");
  if (error) *error = r.error;
  return r.error == nullptr;
}
