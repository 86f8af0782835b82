#include "online.h"

#include <cstdio>
#include <cstring>

#include "after_game.h"
#include "display.h"
#include "draw.h"
#include "fatal.h"
#include "frontend_common.h"
#include "keyboard.h"
#include "main_flow.h"
#include "match_tick.h"
#include "picture.h"
#include "player.h"
#include "replay.h"
#include "ticks.h"

namespace {
constexpr int32_t kTitleY = 120;
constexpr int32_t kFirstLineY = 190;
constexpr int32_t kLineStep = 30;
constexpr int32_t kHintY = 335;  // above the beans at the foot of the menu picture
constexpr int kStatusLines = 3;
constexpr uint32_t kDotEveryFrames = 20;  // the waiting dots step about 3.5 times a second
constexpr int kMostDots = 3;
constexpr uint32_t kMessageHoldTicks = 6 * 1000 / kTickMs;  // an end message stays up to 6 s

struct Status {
  std::string title;
  std::string lines[kStatusLines];
  bool dots = false;  // the first line waits: dots after it step on
  const char* hint = "escape gives up";
};

void OnlineWait() {
  WaitTick();
  NetService(0);
}

bool SessionOver() {
  return NetCurrentPhase() != NetPhase::kOpen;
}

void DrawStatusLine(const std::string& text, int32_t y) {
  DrawTextN(FrameBuffer, text.data(), static_cast<uint32_t>(text.size()), kScreenCentreX, y,
            kSmallFont);
}

void ComposeStatus(const Status& status, uint32_t frame) {
  CopyWords(BackBuffer, FrameBuffer, kScreenWords);
  DrawText(FrameBuffer, status.title.c_str(), kScreenCentreX, kTitleY, kMenuFont);
  for (int i = 0; i < kStatusLines; ++i) {
    std::string line = status.lines[i];
    if (i == 0 && status.dots) {
      // Blanks make up for the dots not shown yet, so the centred line stays where it is.
      const uint32_t dots = frame / kDotEveryFrames % (kMostDots + 1);
      line.append(dots, '.').append(kMostDots - dots, ' ');
    }
    DrawStatusLine(line, kFirstLineY + kLineStep * i);
  }
  DrawText(FrameBuffer, status.hint, kScreenCentreX, kHintY, kSmallFont);
}

// The menu picture, faded in with the status over it.
void OpenStatusScreen(const Status& status) {
  FillWords(FrameBuffer, kScreenWords, 0);
  PresentFrame(FrameBuffer);
  LoadPicture(BackBuffer, kMenuPictureFile, true, kScreenWidth, kScreenHeight);
  ComposeStatus(status, 0);
  PresentBlackFrame();
  FadeIn(OnlineWait);
}

void CloseStatusScreen() {
  FadeOut(Palette, OnlineWait);
}

// Escape pressed now, not held from before.
struct EscapeWatch {
  bool held = KeyState[scan::kEscape] != 0;
  bool Pressed() {
    const bool down = KeyState[scan::kEscape] != 0;
    const bool pressed = down && !held;
    held = down;
    return pressed;
  }
};

enum class WaitEnd { kGo, kGaveUp, kEnded };

// Shows the status, updated by refresh each frame, until ready() holds, the session ends or the
// player presses Escape; shown() runs once the screen has faded in.
template <typename Refresh, typename Ready, typename Shown>
WaitEnd WaitOnStatus(Status& status, Refresh refresh, Ready ready, Shown shown) {
  refresh(status);
  OpenStatusScreen(status);
  shown();
  EscapeWatch escape;
  WaitEnd end = WaitEnd::kGo;
  for (uint32_t frame = 0;; ++frame) {
    OnlineWait();
    refresh(status);
    if (NetCurrentPhase() == NetPhase::kEnded || NetCurrentPhase() == NetPhase::kClosed) {
      end = WaitEnd::kEnded;
      break;
    }
    if (ready()) break;
    if (escape.Pressed()) {
      end = WaitEnd::kGaveUp;
      break;
    }
    ComposeStatus(status, frame);
    PresentFrame(FrameBuffer);
  }
  CloseStatusScreen();
  return end;
}

// The end of the session, up to 6 s or until a key; a reason after a colon goes on a line of its
// own.
void ShowMessage(const std::string& text) {
  fprintf(stderr, "plonkix: %s\n", text.c_str());
  Status status;
  status.title = "online play";
  const size_t colon = text.find(": ");
  status.lines[0] = text.substr(0, colon);
  if (colon != std::string::npos) status.lines[1] = text.substr(colon + 2);
  status.hint = "press a key";
  OpenStatusScreen(status);
  WaitKeysReleased();
  for (uint32_t t = 0; t < kMessageHoldTicks && !AnyKeyDown(); ++t) WaitTick();
  CloseStatusScreen();
}

std::string NameOf(const NetSettings& settings) {
  return std::string(settings.name, settings.nameLength);
}

WaitEnd WaitForOpponent(const OnlineRequest& request) {
  Status status;
  status.title = "online play";
  status.dots = true;
  const auto refresh = [&request](Status& s) {
    if (request.role == NetRole::kHost) {
      s.lines[0] = "waiting for an opponent";
      s.lines[1] = "on udp port " + std::to_string(request.port);
    } else {
      s.lines[0] = "connecting";
      s.lines[1] = "to " + request.host + ":" + std::to_string(request.port);
    }
    s.lines[2] = NetNotice();
  };
  return WaitOnStatus(
      status, refresh, [] { return NetCurrentPhase() == NetPhase::kOpen; }, [] {});
}

WaitEnd WaitForMatch(uint32_t match) {
  Status status;
  status.title = "match " + std::to_string(match);
  status.dots = true;
  status.lines[0] = "waiting for " + NameOf(NetRemoteSettings());
  status.hint = "escape ends the session";
  // Both sides ask for the match only once their screens stand still, so the start reaches each
  // in the same state and both clocks start within a tick of each other.
  return WaitOnStatus(
      status, [](Status&) {}, [match] { return NetMatchStarts(match); },
      [match] { NetSendReady(match); });
}

struct SavedPlayer {
  PlayerConfig config;
  uint8_t cpuControlled, absent;
};
}  // namespace

NetSettings SettingsOf(const PlayerConfig& config) {
  NetSettings settings;
  settings.nameLength =
      static_cast<uint8_t>(config.name.length < kNameCapacity ? config.name.length : kNameCapacity);
  memcpy(settings.name, config.name.chars, settings.nameLength);
  const auto clamp = [](uint32_t v, uint8_t low, uint8_t high) {
    return static_cast<uint8_t>(v < low ? low : v > high ? high : v);
  };
  settings.dropSpeed = clamp(config.dropSpeed, kLeastNetDropSpeed, kMostNetDropSpeed);
  settings.beansToLink = clamp(config.beansToLink, kLeastNetBeansToLink, kMostNetBeansToLink);
  return settings;
}

PlayerConfig RemoteConfig(const NetSettings& settings) {
  PlayerConfig config{};
  config.name.capacity = kNameCapacity;
  config.name.length = settings.nameLength;
  memcpy(config.name.chars, settings.name, settings.nameLength);
  config.dropSpeed = settings.dropSpeed;
  config.beansToLink = settings.beansToLink;
  return SharedOptions(config);
}

PlayerConfig OnlineConfig(const PlayerConfig& own, bool local) {
  // The rule options as sent, so both machines hold the same values.
  const PlayerConfig shared = RemoteConfig(SettingsOf(own));
  if (!local) return shared;
  PlayerConfig config = own;
  config.name = shared.name;
  config.dropSpeed = shared.dropSpeed;
  config.beansToLink = shared.beansToLink;
  config.cpuStrength = shared.cpuStrength;
  return config;
}

void OnlineSession(const OnlineRequest& request) {
  SavedPlayer saved[kPlayers + 1];
  for (int p = 1; p <= kPlayers; ++p)
    saved[p] = {PlayerState[p].config, PlayerState[p].cpuControlled, PlayerState[p].absent};
  std::string error;
  if (!NetOpen(request.role, request.host, request.port, SettingsOf(saved[1].config), error,
               request.version)) {
    ShowMessage(error);
    return;
  }
  WaitEnd end = WaitForOpponent(request);
  if (end == WaitEnd::kGo) {
    // This machine's player plays with its own player-1 options, keys and devices.
    const int local = request.role == NetRole::kHost ? 1 : 2;
    PlayerState[local].config = OnlineConfig(saved[1].config, true);
    PlayerState[3 - local].config = RemoteConfig(NetRemoteSettings());
    for (int p = 1; p <= kPlayers; ++p) PlayerState[p].cpuControlled = PlayerState[p].absent = 0;
    // The meter's text goes into the replays: both machines start from the same (none).
    fpsText.Clear();
    for (uint32_t match = 1;; ++match) {
      end = WaitForMatch(match);
      if (end != WaitEnd::kGo) break;
      try {
        const MatchInputScope scope(NetMatchInput());
        PlayRecordedMatch(true);
      } catch (const MatchAborted&) {
        end = WaitEnd::kEnded;
        break;
      }
      NetMatchOver();
      const AfterGameEnd pages = AfterGamePages(OnlineWait, SessionOver, true);
      if (pages == AfterGameEnd::kEscape) end = WaitEnd::kGaveUp;
      if (pages == AfterGameEnd::kStopped) end = WaitEnd::kEnded;
      if (pages != AfterGameEnd::kShown) break;
    }
  }
  RemoveTickHandler();
  const std::string message = end == WaitEnd::kEnded ? NetEndText() : std::string();
  NetClose(NetEnd::kLeft);
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerState[p].config = saved[p].config;
    PlayerState[p].cpuControlled = saved[p].cpuControlled;
    PlayerState[p].absent = saved[p].absent;
  }
  if (!message.empty()) ShowMessage(message);
}

void RunOnlineProgram(const OnlineRequest& request) {
  RunOnlineProgramSeeded(request, ClockSeed());
}

void RunOnlineProgramSeeded(const OnlineRequest& request, uint64_t seed) {
  StartUp(seed);
  // No intro: the session's own screen comes first, then the menu as after any match.
  if (!OpenScreen()) FatalError("cannot open the 640 x 400 screen with 256 colours");
  OnlineSession(request);
  MenuLoop();
}
