// Online play without a network: the packets' encoding and every kind of malformed packet, the
// lockstep of two sides wired together (with a slow link), what the lockstep refuses, and the
// options both machines hold.
#include "net.h"

#include <deque>

#include "lockstep.h"
#include "online.h"
#include "player.h"
#include "test_support.h"

namespace {

std::vector<uint8_t> Encode(const NetMessage& m) {
  std::vector<uint8_t> bytes(kMostPacketBytes);
  bytes.resize(EncodeNetMessage(m, bytes.data(), bytes.size()));
  return bytes;
}

NetMessage Message(NetType type, uint32_t match) {
  NetMessage m;
  m.type = type, m.match = match;
  return m;
}

NetMessage Hello() {
  NetMessage m = Message(NetType::kHello, 0);
  m.version = 0x1234, m.settings = {5, {'t', 'i', 'g', 'e', 'r'}, 2, 7};
  return m;
}

NetMessage Start() {
  NetMessage m = Message(NetType::kStart, 300);
  m.delay = 4;
  for (int i = 0; i < kRandomStateWords; ++i) m.randomState[i] = 0x8000000000000001ull * (i + 3);
  return m;
}

NetMessage Input() {
  NetMessage m = Message(NetType::kInput, 2);
  m.firstTick = 70000, m.recordCount = kMostRecordsPerPacket;
  for (uint32_t i = 0; i < m.recordCount; ++i) m.records[i] = static_cast<uint8_t>(i * 37);
  m.firstFrame = 129, m.frameCount = 2, m.frames[0] = 10 | kFrameKeyDownBit, m.frames[1] = 1;
  m.firstHash = 3, m.hashCount = kMostHashesPerPacket, m.hashes[3] = 0xFEDCBA9876543210ull;
  return m;
}

// Every value a message carries, for comparing two of them.
auto Carried(const NetMessage& m) {
  const NetSettings& s = m.settings;
  return std::tuple(m.type, m.version, std::string(s.name, s.nameLength), s.dropSpeed,
                    s.beansToLink, m.match, m.delay,
                    std::vector<uint64_t>(m.randomState, m.randomState + kRandomStateWords),
                    m.firstTick, std::vector<uint8_t>(m.records, m.records + m.recordCount),
                    m.firstFrame, std::vector<uint8_t>(m.frames, m.frames + m.frameCount),
                    m.firstHash, std::vector<uint64_t>(m.hashes, m.hashes + m.hashCount));
}

TEST(NetPacket, MalformedPacketsAreRefusedWithAReasonAndWholeOnesDecode) {
  const auto with = [](NetMessage m, size_t at, uint8_t value) {
    std::vector<uint8_t> bytes = Encode(m);
    bytes.at(at) = value;
    return bytes;
  };
  std::vector<uint8_t> zeroState = Encode(Start());
  std::fill(zeroState.begin() + 4, zeroState.end(), 0);  // after type, match 300, delay
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* reason;
  } cases[] = {
      {"empty", {}, "too short"},
      {"unknown type", {9, 1}, "unknown packet type"},
      {"hello: name of 6", with(Hello(), 3, 6), "name"},
      {"hello: drop speed 0", with(Hello(), 9, 0), "drop speed"},
      {"hello: beans to link 2", with(Hello(), 10, 2), "beans to link"},
      {"hello: beans to link 100", with(Hello(), 10, 100), "beans to link"},
      {"start: match 0", with(Start(), 1, 0), "match number"},
      {"start: delay 7", with(Start(), 3, 7), "input delay"},
      {"start: delay 1", with(Start(), 3, 1), "input delay"},
      {"start: no generator state", zeroState, "generator state"},
      {"input: match 70000", {3, 0xF0, 0xA2, 0x04, 1, 0, 7, 0, 0}, "match number"},
      {"input: nothing in it", {3, 1, 0, 0, 0}, "empty"},
      {"input: 65 records", {3, 1, 65}, "too many"},
      {"input: a frame of 0 ticks", {3, 1, 0, 1, 0, 0, 0}, "frame"},
      {"input: a frame of 11 ticks", {3, 1, 0, 1, 0, 11, 0}, "frame"},
      {"input: a frame with stray bits", {3, 1, 0, 1, 0, 0x21, 0}, "frame"},
      {"input: 5 hashes", {3, 1, 0, 0, 5}, "too many"},
      {"input: a six-byte number", {3, 1, 1, 0x80, 0x80, 0x80, 0x80, 0x80, 0, 0, 0, 0}, "large"},
      {"input: a number past 32 bits", {3, 1, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0x1F, 0, 0, 0}, "large"},
      {"a byte too many", {1, 0x34, 0x12, 0, 2, 4, 0}, "too long"},  // hello, no name, then 0
  };
  for (const auto& c : cases) {
    NetMessage m;
    const char* error = nullptr;
    EXPECT_FALSE(DecodeNetMessage(c.bytes.data(), c.bytes.size(), m, &error)) << c.name;
    ASSERT_NE(error, nullptr) << c.name;
    EXPECT_NE(strstr(error, c.reason), nullptr) << c.name << ": " << error;
  }
  // Every message cut short anywhere is refused; whole, it decodes to what was sent.
  for (const NetMessage& sent :
       {Hello(), Start(), Input(), Message(NetType::kReady, kMostMatches)}) {
    const std::vector<uint8_t> bytes = Encode(sent);
    NetMessage m;
    for (size_t size = 0; size <= bytes.size(); ++size)
      EXPECT_EQ(DecodeNetMessage(bytes.data(), size, m, nullptr), size == bytes.size()) << size;
    EXPECT_EQ(Carried(m), Carried(sent)) << static_cast<int>(sent.type);
  }
}

// Two sides wired together through queues that deliver after `latency` ticks of the clock.
struct Link {
  Lockstep host, join;
  std::deque<std::pair<int, NetMessage>> toHost, toJoin;
  int latency = 0, clock = 0;
  // What each side's match saw at each tick: controls, player 1's and player 2's actions.
  std::vector<uint32_t> seen[2];

  static uint8_t HostRecord(int t) {
    return static_cast<uint8_t>((t % 16) << kRecordActionShift | (t % 50 == 0));
  }
  static uint8_t JoinRecord(int t) {
    return static_cast<uint8_t>((t * 7 % 16) << kRecordActionShift | (t % 45 == 0) << 2);
  }

  void Run(Lockstep& side, std::vector<uint32_t>& log) {
    for (unsigned n; (n = side.NextFrame(false)) != 0;)
      for (unsigned i = 0; i < n; ++i) {
        const uint32_t controls = side.Controls();  // first: it moves on to the next tick
        log.push_back(controls | side.Actions(1) << 8 | side.Actions(2) << 16);
      }
  }

  void Tick() {
    // Each side's clock reads one record; the n-th is used at tick n + delay.
    host.Produce(HostRecord(clock));
    join.Produce(JoinRecord(clock));
    ++clock;
    NetMessage m;
    while (host.TakeOutgoing(m)) toJoin.emplace_back(clock + latency, m);
    while (join.TakeOutgoing(m)) toHost.emplace_back(clock + latency, m);
    for (auto* queue : {&toHost, &toJoin}) {
      Lockstep& to = queue == &toHost ? host : join;
      while (!queue->empty() && queue->front().first <= clock) {
        const char* error = nullptr;
        ASSERT_TRUE(to.Receive(queue->front().second, &error)) << error;
        queue->pop_front();
      }
    }
    Run(host, seen[0]);
    Run(join, seen[1]);
  }
};

TEST(Lockstep, BothSidesRunTheSameTicksWithTheInputsReadDelayTicksBefore) {
  for (const int latency : {0, 1, 9, 40}) {
    for (const uint8_t delay : {kLeastDelay, kMostDelay}) {
      Link link;
      link.latency = latency;
      link.host.Start(true, 1, delay);
      link.join.Start(false, 1, delay);
      for (int t = 0; t < 600; ++t) link.Tick();
      const std::vector<uint32_t>& host = link.seen[0];
      // The host runs one tick per clock tick once the link has filled: a slow link adds lag,
      // never a slower game.
      EXPECT_GE(host.size(), 600u - delay - 2 * latency - 12) << latency;
      ASSERT_LE(link.seen[1].size(), host.size());
      EXPECT_TRUE(std::equal(link.seen[1].begin(), link.seen[1].end(), host.begin()));
      for (size_t t = 0; t < host.size(); ++t) {
        const int read = static_cast<int>(t) - delay;  // the clock tick that read the record
        const uint8_t h = read < 0 ? 0 : Link::HostRecord(read);
        const uint8_t j = read < 0 ? 0 : Link::JoinRecord(read);
        ASSERT_EQ(host[t], static_cast<uint32_t>(((h | j) & kRecordControlMask) |
                                                 (h >> kRecordActionShift) << 8 |
                                                 (j >> kRecordActionShift) << 16))
            << "latency " << latency << " tick " << t;
      }
    }
  }
}

TEST(Lockstep, FramesRunAtMostTenTicksAndCarryTheKeyHeldOnEitherSide) {
  Lockstep host, join;
  host.Start(true, 1, 2);
  join.Start(false, 1, 2);
  for (int t = 0; t < 40; ++t) host.Produce(0);
  for (int t = 0; t < 40; ++t) join.Produce(t == 13 || t == 27 ? kRecordKeyDown : 0);
  NetMessage m;
  while (join.TakeOutgoing(m)) ASSERT_TRUE(host.Receive(m, nullptr));
  // The joiner's records 13 and 27 are used at ticks 15 and 29: the key counts at a frame's last
  // tick (29), as does a key held on the host's side; then the host's clock has read no more.
  const struct {
    unsigned ticks;
    bool keyHere, keyDown;
  } frames[] = {{10, false, false},
                {10, false, false},
                {10, false, true},
                {10, true, true},
                {0, false, false}};
  const auto run = [&frames](Lockstep& side) {
    for (const auto& f : frames) {
      EXPECT_EQ(side.NextFrame(side.host() && f.keyHere), f.ticks);
      EXPECT_TRUE(!f.ticks || side.KeyDown() == f.keyDown) << side.host();
    }
  };
  run(host);
  while (host.TakeOutgoing(m)) ASSERT_TRUE(join.Receive(m, nullptr));
  run(join);
}

// An input message of match 4 with `count` records, frames or hashes from `first` on.
enum class Carries { kRecords, kFrames, kHashes };
NetMessage Inputs(Carries what, uint32_t first, uint32_t count) {
  NetMessage m = Message(NetType::kInput, 4);
  if (what == Carries::kRecords) m.firstTick = first, m.recordCount = count;
  if (what == Carries::kFrames) m.firstFrame = first, m.frameCount = count;
  if (what == Carries::kHashes) m.firstHash = first, m.hashCount = count;
  return m;
}

TEST(Lockstep, InputsThatDoNotFitAreRefused) {
  const struct {
    bool host;
    Carries what;
    uint32_t taken, first;  // taken: of what it carries, before it in messages as large as allowed
    const char* reason;
    uint32_t match = 4;  // the side's
  } cases[] = {
      {true, Carries::kRecords, 0, 0, "inputs of another match", 5},
      {true, Carries::kRecords, 0, 1, "ticks out of order"},
      {true, Carries::kRecords, kWindowTicks, kWindowTicks, "ticks beyond the window"},
      {true, Carries::kFrames, 0, 0, "frames sent to the host"},
      {false, Carries::kFrames, 0, 2, "frames out of order"},
      {false, Carries::kFrames, kWindowTicks, kWindowTicks, "frames beyond the window"},
      {false, Carries::kHashes, 0, 1, "hashes out of order"},
      {false, Carries::kHashes, kHashRing, kHashRing, "hashes beyond the window"},
  };
  for (const auto& c : cases) {
    Lockstep side;
    side.Start(c.host, c.match, 3);
    const uint32_t most = c.what == Carries::kHashes ? kMostHashesPerPacket : kMostRecordsPerPacket;
    for (uint32_t at = 0; at < c.taken; at += most)
      ASSERT_TRUE(side.Receive(Inputs(c.what, at, std::min(most, c.taken - at)), nullptr)) << at;
    const char* error = nullptr;
    EXPECT_FALSE(side.Receive(Inputs(c.what, c.first, 1), &error)) << c.reason;
    EXPECT_STREQ(error, c.reason);
  }
}

TEST(Lockstep, DifferingHashesAreNoticedWhicheverSideTakesItsOwnFirst) {
  for (const bool ownFirst : {false, true}) {
    Lockstep side;
    side.Start(false, 4, 3);
    NetMessage remote = Inputs(Carries::kHashes, 0, 2);
    remote.hashes[0] = 11, remote.hashes[1] = 12;
    if (ownFirst) side.AddHash(11), side.AddHash(13);
    ASSERT_TRUE(side.Receive(remote, nullptr));
    if (!ownFirst) side.AddHash(11), side.AddHash(13);
    EXPECT_TRUE(side.OutOfStep()) << ownFirst;
  }
}

TEST(OnlineOptions, BothMachinesHashTheSamePlayersAndOnlyTheLocalOneKeepsItsKeys) {
  PlayerConfig own{};
  own.keyLeft = 30, own.useMouse = 1, own.mouseDelay = 20;
  own.name = {kNameCapacity, 9, {'a', 'b', 'c', 'd', 'e'}, {1, 2, 3}};  // a hand-edited length
  own.dropSpeed = 2, own.beansToLink = 250, own.cpuStrength = 4;
  const PlayerConfig local = OnlineConfig(own, true);
  const PlayerConfig there = RemoteConfig(SettingsOf(own));
  EXPECT_EQ(std::tuple(local.keyLeft, local.useMouse, local.mouseDelay), std::tuple(30u, 1, 20u));
  EXPECT_EQ(std::tuple(there.keyLeft, there.useMouse, there.name.length, there.beansToLink),
            std::tuple(0u, 0, 5u, uint32_t{kMostNetBeansToLink}));
  // Both machines hash the same players (the keys are left out).
  PlayerState[1].config = local;
  const uint64_t here = HashPlayerStates();
  PlayerState[1].config = there;
  EXPECT_EQ(HashPlayerStates(), here);
}

}  // namespace
