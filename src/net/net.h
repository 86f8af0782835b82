// Online play: two programs on two machines play "2 humans vs" matches in lockstep over UDP
// (ENet), each sending only its own player's inputs. The host waits for one opponent and plays
// the left field; the joiner connects and plays the right one. Only src/net includes ENet.
#pragma once
#include <cstdint>
#include <string>

#include "match_input.h"
#include "net_packet.h"

enum class NetRole : uint8_t { kHost, kJoin };

// Where the session stands.
enum class NetPhase : uint8_t {
  kClosed,      // nothing open
  kWaiting,     // host: no opponent yet
  kConnecting,  // joiner: no answer yet
  kGreeting,    // connected, the settings not exchanged yet
  kOpen,        // both sides know each other's settings: matches can be played
  kEnded,       // over; NetEndText tells why
};

// Opens the host's port or starts connecting; false (with the reason) when that fails at once.
bool NetOpen(NetRole role, const std::string& host, uint16_t port, const NetSettings& own,
             std::string& error, uint16_t version = kNetVersion);
// Handles whatever arrived, waiting for it at most waitMs; returns the phase now.
NetPhase NetService(uint32_t waitMs = 0);
NetPhase NetCurrentPhase();
NetRole NetCurrentRole();
// Ends the session, telling the other side why, and closes the port. Safe when nothing is open.
void NetClose(NetEnd reason);

// The other side's settings (valid from kOpen on).
const NetSettings& NetRemoteSettings();
// A line about something that happened but did not end the session (a refused connection),
// empty when there is none.
const std::string& NetNotice();
// Why the session ended, as the screen shows it.
NetEnd NetEndReason();
std::string NetEndText();

// ---- Between matches ----
// This side's player wants match number `match` (1 for the first).
void NetSendReady(uint32_t match);
// The host: true once the joiner has asked for match `match`; then NetHostStart sends its start.
bool NetOpponentReady(uint32_t match);
// The host draws the match's generator state (its own generator's) and its input delay and sends
// them; the joiner receives them. Both: true when the match can start; the generator is then set.
bool NetMatchStarts(uint32_t match);

// ---- A match ----
// The source of the match: this side's player read from the keyboard and devices, the other's
// from the network, frames as the host decides. Throws MatchAborted when the session ends.
MatchInput& NetMatchInput();
// After the match: sends what is still unsent (the host's last frames).
void NetMatchOver();

// Traffic and timing since the session opened, for the performance figures.
struct NetTraffic {
  uint64_t packetsSent = 0, bytesSent = 0;          // UDP payload bytes
  uint64_t packetsReceived = 0, bytesReceived = 0;  // (add 28 per packet for UDP/IPv4 headers)
  uint32_t roundTripMs = 0;
  uint8_t delay = 0;          // of the last match
  uint64_t framesWaited = 0;  // frames that waited for the network
  uint64_t frames = 0;        // frames run in matches
  uint64_t lagTicks = 0;      // summed over them: ticks the match ran behind this side's clock
  uint64_t cpuNs = 0;         // CPU time spent servicing the network and sending
};
NetTraffic NetTrafficSoFar();
