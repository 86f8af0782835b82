#include <enet/enet.h>
#include <enet/time.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "keyboard.h"
#include "lockstep.h"
#include "net.h"
#include "player.h"
#include "random.h"
#include "replay.h"
#include "ticks.h"

namespace {
constexpr size_t kPeerSlots = 2;          // the opponent, and room to refuse a second one politely
constexpr size_t kChannels = 1;           // one reliable, ordered stream each way
constexpr uint32_t kQuietLimitMs = 4000;  // no sign of life for this long: the peer is gone
// How long a closing side waits for the other side to acknowledge its goodbye. The goodbye comes
// after everything sent, so on a lossy link this side must stay to resend what was lost: the
// other side may still be playing out a match this side has finished.
constexpr uint32_t kGoodbyeWaitMs = 4000;
constexpr uint32_t kConnectTimeoutMs = 3000;  // one connection attempt of the joiner
constexpr uint32_t kSendEveryTicks = 3;       // inputs go out in batches of this many ticks,
constexpr uint32_t kRideAlongTicks = 2;       // or sooner when an acknowledgement can carry them
// The input delay covers a batch of records (up to 2 ticks old when sent) and the tick that a
// packet may wait at each end before it is looked at; ENet's round trip counts those waits too.
constexpr uint32_t kDelayBase = 3;
constexpr uint32_t kRoundTripCovered = 2 * kTickMs;
// What ENet may hold for one peer: no message is larger than a packet, and a few seconds of
// messages are a few kilobytes; a peer that sends more is cut off by ENet itself.
constexpr size_t kMostWaitingBytes = 64 * 1024;

ENetHost* host = nullptr;
ENetPeer* peer = nullptr;
bool enetStarted = false;
NetRole role = NetRole::kHost;
NetPhase phase = NetPhase::kClosed;
NetEnd endReason = NetEnd::kNone;
std::string endDetail;
bool endedThere = false;  // the other side ended the session (or vanished)
std::string notice;
uint16_t version = kNetVersion;
NetSettings ownSettings, remoteSettings;
bool helloReceived = false;
ENetAddress joinAddress{};
std::string joinText;

uint32_t remoteReady = 0;  // the latest match the other side asked for
uint32_t startedMatch = 0, runningMatch = 0;
uint32_t startReceived = 0;
NetMessage startMessage;
Lockstep lockstep;
NetTraffic traffic;
uint64_t packetsHandled = 0;
uint32_t lastHeard = 0;  // the time of the last event from the network

// CPU time of this thread: what the network costs, without the time it waits.
uint64_t ThreadCpuNs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<uint64_t>(t.tv_sec) * 1000000000u + static_cast<uint64_t>(t.tv_nsec);
}

// How long the peer has been silent: neither a packet nor an acknowledgement of ours (ENet's
// pings keep an idle link talking).
uint32_t Silence() {
  const uint32_t now = enet_time_get();
  return std::min(ENET_TIME_DIFFERENCE(now, lastHeard),
                  ENET_TIME_DIFFERENCE(now, peer->lastReceiveTime));
}

void CountTraffic() {
  if (!host) return;
  traffic.packetsSent += host->totalSentPackets;
  traffic.bytesSent += host->totalSentData;
  traffic.packetsReceived += host->totalReceivedPackets;
  traffic.bytesReceived += host->totalReceivedData;
  host->totalSentPackets = host->totalSentData = 0;
  host->totalReceivedPackets = host->totalReceivedData = 0;
  if (peer) traffic.roundTripMs = peer->roundTripTime;
}

void Send(const NetMessage& message) {
  if (!peer) return;
  uint8_t bytes[kMostPacketBytes];
  const size_t size = EncodeNetMessage(message, bytes, sizeof bytes);
  if (size == 0) return;
  ENetPacket* packet = enet_packet_create(bytes, size, ENET_PACKET_FLAG_RELIABLE);
  if (packet && enet_peer_send(peer, 0, packet) != 0) enet_packet_destroy(packet);
}

// The session is over: the reason is kept for the screen, the other side is told (a peer that
// is gone is told nothing).
void End(NetEnd reason, const std::string& detail, bool tellPeer) {
  if (phase == NetPhase::kEnded || phase == NetPhase::kClosed) return;
  phase = NetPhase::kEnded;
  endReason = reason;
  endDetail = detail;
  if (peer) {
    if (tellPeer) {
      // After everything queued: a goodbye sent at once would drop what is still unacknowledged.
      enet_peer_disconnect_later(peer, static_cast<uint32_t>(reason));
      enet_host_flush(host);
    } else {
      enet_peer_reset(peer);
      peer = nullptr;
    }
  }
}

void SayGoodbyeAtExit() {
  if (peer && host) {
    enet_peer_disconnect_now(peer, static_cast<uint32_t>(NetEnd::kLeft));
    peer = nullptr;
  }
}

int ENET_CALLBACK RideAlong(ENetHost* from, ENetEvent* event);

// ENet's host with the session's limits and the hook that lets inputs ride along.
ENetHost* CreateHost(const ENetAddress* address, size_t peers) {
  ENetHost* created = enet_host_create(address, peers, kChannels, 0, 0);
  if (created) {
    created->maximumPacketSize = kMostPacketBytes;
    created->maximumWaitingData = kMostWaitingBytes;
    created->intercept = RideAlong;
  }
  return created;
}

void Connect() {
  peer = enet_host_connect(host, &joinAddress, kChannels, ConnectWord(version));
  if (peer) enet_peer_timeout(peer, 0, kConnectTimeoutMs, kConnectTimeoutMs);
}

void Greet(ENetPeer* who) {
  peer = who;
  // The session watches the peer's silence itself (kQuietLimitMs); ENet's own limits only have
  // to stay out of the way of slow, lossy links.
  enet_peer_timeout(peer, 0, 2 * kQuietLimitMs, 8 * kQuietLimitMs);
  NetMessage hello;
  hello.type = NetType::kHello;
  hello.version = version;
  hello.settings = ownSettings;
  Send(hello);
  phase = NetPhase::kGreeting;
}

void BadPacket(const char* why) {
  End(NetEnd::kBadPacket, std::string("a bad packet from the opponent: ") + why, true);
}

void HandleMessage(const NetMessage& m) {
  switch (m.type) {
    case NetType::kHello:
      if (helloReceived) return BadPacket("a second greeting");
      if (m.version != version) return End(NetEnd::kVersion, "", true);
      remoteSettings = m.settings;
      helloReceived = true;
      phase = NetPhase::kOpen;
      return;
    case NetType::kReady:
      if (phase != NetPhase::kOpen || m.match != remoteReady + 1 || m.match > startedMatch + 1)
        return BadPacket("a request for a match out of turn");
      remoteReady = m.match;
      return;
    case NetType::kStart:
      if (phase != NetPhase::kOpen || role != NetRole::kJoin || runningMatch ||
          m.match != startedMatch + 1)
        return BadPacket("a match started out of turn");
      startReceived = m.match;
      startMessage = m;
      // The host's inputs for the match follow at once; they are kept from here on.
      lockstep.Start(false, m.match, m.delay);
      runningMatch = m.match;
      return;
    case NetType::kInput: {
      if (phase != NetPhase::kOpen) return BadPacket("inputs before the greeting");
      // Inputs read ahead of the end of the match just played arrive after it: they are spare.
      if (m.match != runningMatch && m.match == startedMatch) return;
      const char* why = nullptr;
      if (!runningMatch || !lockstep.Receive(m, &why))
        return BadPacket(why ? why : "inputs of no match");
      return;
    }
  }
}

void HandleEvent(const ENetEvent& event) {
  if (event.type != ENET_EVENT_TYPE_NONE) lastHeard = enet_time_get();
  switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
      if (role == NetRole::kHost) {
        if (peer || phase != NetPhase::kWaiting) {
          enet_peer_disconnect(event.peer, static_cast<uint32_t>(NetEnd::kBusy));
        } else if (event.data != ConnectWord(version)) {
          enet_peer_disconnect(event.peer, static_cast<uint32_t>(NetEnd::kVersion));
          notice = "refused one of another version";
          fprintf(stderr, "plonkix: %s\n", notice.c_str());
        } else {
          Greet(event.peer);
        }
      } else if (event.peer == peer) {
        Greet(event.peer);
      }
      return;
    case ENET_EVENT_TYPE_DISCONNECT: {
      if (event.peer != peer) return;  // one the host refused
      peer = nullptr;
      const NetEnd reason = static_cast<NetEnd>(event.data);
      if (phase == NetPhase::kConnecting && reason == NetEnd::kNone) {
        // No answer yet: the host may not be up; keep trying until the player gives up.
        notice = "no answer yet, trying again";
        Connect();
        return;
      }
      if (phase == NetPhase::kEnded) return;  // our own goodbye was acknowledged
      End(reason == NetEnd::kNone ? NetEnd::kLost : reason, "", false);
      endedThere = true;
      return;
    }
    case ENET_EVENT_TYPE_RECEIVE: {
      ++packetsHandled;
      if (event.peer == peer && phase != NetPhase::kEnded) {
        NetMessage message;
        const char* why = nullptr;
        if (DecodeNetMessage(event.packet->data, event.packet->dataLength, message, &why))
          HandleMessage(message);
        else
          BadPacket(why);
      }
      enet_packet_destroy(event.packet);
      return;
    }
    case ENET_EVENT_TYPE_NONE:
      return;
  }
}

void ClosePort() {
  if (host) {
    CountTraffic();
    enet_host_destroy(host);
  }
  host = nullptr;
  peer = nullptr;
}

uint8_t ChooseDelay() {
  const uint32_t roundTrip = peer ? peer->roundTripTime : 0;
  const uint32_t beyond = roundTrip > kRoundTripCovered ? roundTrip - kRoundTripCovered : 0;
  const uint32_t ticks = kDelayBase + (beyond + kTickMs - 1) / kTickMs;
  return static_cast<uint8_t>(ticks < kLeastDelay  ? kLeastDelay
                              : ticks > kMostDelay ? kMostDelay
                                                   : ticks);
}

// ---- The match source ----

class OnlineInput : public MatchInput {
 public:
  void Begin() {
    trail_ = PlayTrail{};
    clock_ = lastSend_ = 0;
  }

  unsigned FrameTicks() override {
    if (trail_.FrameStarts()) lockstep.AddHash(HashPlayerStates());
    bool waited = false;
    for (;;) {
      // The network is looked at once per tick of the clock; in between the program sleeps as
      // it does offline, so a packet waits at most until the next tick.
      Pump();
      Produce(PollTicks());
      const unsigned ticks = lockstep.NextFrame(lockstep.host() && LiveMatchInput().KeyDown());
      SendWhenDue();
      if (ticks) {
        if (waited) ++traffic.framesWaited;
        // How far the match runs behind this side's clock once the frame has run.
        traffic.lagTicks += clock_ - std::min<uint64_t>(clock_, lockstep.ticksRun());
        ++traffic.frames;
        return ticks;
      }
      if (!lockstep.WaitsForClock()) {
        if (Finishing()) throw MatchAborted{};  // the other side's frames have run out
        waited = true;
      }
      Produce(PollAndWaitTick());
    }
  }

  bool KeyDown() override { return lockstep.KeyDown(); }

  uint8_t Controls() override {
    if (trail_.TickStarts()) lockstep.AddHash(HashPlayerStates());
    return lockstep.Controls();
  }

  uint8_t Actions(int p) override { return lockstep.Actions(p); }

  void Flush() {
    const uint64_t start = ThreadCpuNs();
    Queue();
    if (host) enet_host_flush(host);
    traffic.cpuNs += ThreadCpuNs() - start;
  }

  // A packet from the other side has just come in. ENet acknowledges it at once in a datagram of
  // its own; what this side has to send rides along in that datagram when it is nearly due.
  void PacketArrives() {
    if (clock_ - lastSend_ >= kRideAlongTicks) Queue();
  }

 private:
  // The other side said goodbye, which comes after everything it sent: what it sent still runs,
  // so a match it has finished (and left at once) is finished, saved and scored here too.
  static bool Finishing() {
    return phase == NetPhase::kEnded && endReason == NetEnd::kLeft && endedThere;
  }

  void Pump() {
    NetService(0);
    if (phase == NetPhase::kOpen && lockstep.OutOfStep()) End(NetEnd::kOutOfStep, "", true);
    if (phase != NetPhase::kOpen && !Finishing()) throw MatchAborted{};
  }

  // One record per tick of this side's clock, all read at once from the keys and devices.
  void Produce(unsigned ticks) {
    if (!ticks) return;
    clock_ += ticks;
    MatchInput& live = LiveMatchInput();
    const int p = lockstep.host() ? 1 : 2;
    live.PollDevices();
    uint8_t record = live.Controls() & kRecordControlMask;
    record |= static_cast<uint8_t>((live.Actions(p) & kRecordActionMask) << kRecordActionShift);
    if (live.KeyDown()) record |= kRecordKeyDown;
    for (unsigned i = 0; i < ticks; ++i) lockstep.Produce(record);
  }

  void Queue() {
    NetMessage m;
    while (lockstep.TakeOutgoing(m)) Send(m);
    lastSend_ = clock_;
  }

  void SendWhenDue() {
    if (clock_ - lastSend_ >= kSendEveryTicks) Flush();
  }

  PlayTrail trail_;
  uint64_t clock_ = 0, lastSend_ = 0;
};

OnlineInput onlineInput;

int ENET_CALLBACK RideAlong(ENetHost* from, ENetEvent*) {
  if (peer && runningMatch && from->receivedAddress.host == peer->address.host &&
      from->receivedAddress.port == peer->address.port)
    onlineInput.PacketArrives();
  return 0;  // ENet handles the packet as always
}
}  // namespace

bool NetOpen(NetRole newRole, const std::string& hostName, uint16_t port, const NetSettings& own,
             std::string& error, uint16_t ownVersion) {
  NetClose(NetEnd::kLeft);
  if (!enetStarted) {
    if (enet_initialize() != 0) {
      error = "the network layer did not start";
      return false;
    }
    enetStarted = true;
    atexit(SayGoodbyeAtExit);
  }
  role = newRole;
  version = ownVersion;
  ownSettings = own;
  remoteSettings = NetSettings{};
  helloReceived = false;
  endReason = NetEnd::kNone;
  endDetail.clear();
  endedThere = false;
  notice.clear();
  remoteReady = startedMatch = runningMatch = startReceived = 0;
  traffic = NetTraffic{};
  if (role == NetRole::kHost) {
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    errno = 0;
    host = CreateHost(&address, kPeerSlots);
    if (!host) {
      error = "cannot use udp port " + std::to_string(port) +
              (errno ? std::string(": ") + strerror(errno) : std::string());
      return false;
    }
    phase = NetPhase::kWaiting;
  } else {
    joinText = hostName + ":" + std::to_string(port);
    if (enet_address_set_host(&joinAddress, hostName.c_str()) != 0) {
      error = "unknown host " + hostName;
      return false;
    }
    joinAddress.port = port;
    host = CreateHost(nullptr, 1);
    if (!host) {
      error = "cannot open a UDP socket";
      return false;
    }
    phase = NetPhase::kConnecting;
    Connect();
    if (!peer) {
      ClosePort();
      phase = NetPhase::kClosed;
      error = "cannot connect to " + joinText;
      return false;
    }
  }
  return true;
}

NetPhase NetService(uint32_t waitMs) {
  if (!host || phase == NetPhase::kClosed) return phase;
  const uint64_t start = ThreadCpuNs();
  ENetEvent event;
  int result = enet_host_service(host, &event, waitMs);
  while (result > 0) {
    HandleEvent(event);
    result = enet_host_service(host, &event, 0);
  }
  if (result < 0) End(NetEnd::kLost, "the network failed", false);
  if (peer && (phase == NetPhase::kGreeting || phase == NetPhase::kOpen) &&
      Silence() > kQuietLimitMs) {
    End(NetEnd::kLost, "", false);
    endedThere = true;
  }
  CountTraffic();
  traffic.cpuNs += ThreadCpuNs() - start;
  return phase;
}

NetPhase NetCurrentPhase() {
  return phase;
}

NetRole NetCurrentRole() {
  return role;
}

void NetClose(NetEnd reason) {
  if (!host) {
    phase = NetPhase::kClosed;
    return;
  }
  End(reason, "", true);
  // Give the goodbye a moment to arrive; a peer that does not answer is dropped.
  const uint32_t start = enet_time_get();
  ENetEvent event;
  while (peer && ENET_TIME_DIFFERENCE(enet_time_get(), start) < kGoodbyeWaitMs) {
    const int result = enet_host_service(host, &event, 10);
    if (result < 0) break;
    if (result > 0 && event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == peer)
      peer = nullptr;
    if (result > 0 && event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
  }
  if (peer) enet_peer_reset(peer);
  ClosePort();
  phase = NetPhase::kClosed;
}

const NetSettings& NetRemoteSettings() {
  return remoteSettings;
}

const std::string& NetNotice() {
  return notice;
}

NetEnd NetEndReason() {
  return endReason;
}

std::string NetEndText() {
  const bool fromThere = endedThere;
  switch (endReason) {
    case NetEnd::kNone:
      return "";
    case NetEnd::kLeft:
    case NetEnd::kLost:
      return fromThere || endDetail.empty() ? "opponent left" : endDetail;
    case NetEnd::kOutOfStep:
      return "the two games went out of step";
    case NetEnd::kVersion:
      return "the other side runs another version";
    case NetEnd::kBadPacket:
      return fromThere ? "the opponent refused our packets" : endDetail;
    case NetEnd::kBusy:
      return "the host already has an opponent";
  }
  return "";
}

void NetSendReady(uint32_t match) {
  NetMessage m;
  m.type = NetType::kReady;
  m.match = match;
  Send(m);
  if (host) enet_host_flush(host);
}

bool NetOpponentReady(uint32_t match) {
  return remoteReady >= match;
}

bool NetMatchStarts(uint32_t match) {
  if (phase != NetPhase::kOpen || match != startedMatch + 1) return false;
  if (role == NetRole::kHost) {
    if (!NetOpponentReady(match)) return false;
    startMessage = NetMessage{};
    startMessage.type = NetType::kStart;
    startMessage.match = match;
    startMessage.delay = ChooseDelay();
    GetRandomState(startMessage.randomState);
    Send(startMessage);
    enet_host_flush(host);
  } else if (startReceived != match) {
    return false;
  }
  SetRandomState(startMessage.randomState);
  if (role == NetRole::kHost) lockstep.Start(true, match, startMessage.delay);
  traffic.delay = startMessage.delay;
  startedMatch = runningMatch = match;
  onlineInput.Begin();
  return true;
}

MatchInput& NetMatchInput() {
  return onlineInput;
}

void NetMatchOver() {
  if (phase == NetPhase::kOpen) onlineInput.Flush();
  runningMatch = 0;
}

NetTraffic NetTrafficSoFar() {
  CountTraffic();
  return traffic;
}
