// Online play in the front end: the screen that waits for the opponent, the "2 humans vs" matches
// one after another with each program's own after-game lists between them, the wait for the next
// match and the message when the session ends.
#pragma once
#include <cstdint>
#include <string>

#include "net.h"
#include "player_config.h"

struct OnlineRequest {
  NetRole role = NetRole::kHost;
  std::string host;  // the joiner's: whom to join
  uint16_t port = kNetPort;
  uint16_t version = kNetVersion;
};

// Plays a whole session and returns when it is over, the screen black, both players' options and
// mode flags as they were (the opponent's options never reach plonkix.cfg).
void OnlineSession(const OnlineRequest& request);

// Start-up, then an online session (plonkix --host / --join) in place of the intro, then the
// menu loop as after any match.
[[noreturn]] void RunOnlineProgram(const OnlineRequest& request);
[[noreturn]] void RunOnlineProgramSeeded(const OnlineRequest& request, uint64_t seed);

// The session's own options for a player's record: what the other machine learns of them.
NetSettings SettingsOf(const PlayerConfig& config);
// The record a player plays an online match with: the options both machines hold alike, over the
// player's own keys and devices on its own machine (local) or none (the other player's).
PlayerConfig OnlineConfig(const PlayerConfig& own, bool local);
PlayerConfig RemoteConfig(const NetSettings& settings);
