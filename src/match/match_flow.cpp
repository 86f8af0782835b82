#include "match_flow.h"

#include <cstdio>

#include "display.h"
#include "draw.h"
#include "engine.h"
#include "game_data.h"
#include "game_screen.h"
#include "highscores.h"
#include "keyboard.h"
#include "picture.h"
#include "sound.h"

namespace {

constexpr int kStartSound = 0;
constexpr uint8_t kStartSoundVolume = 35;
constexpr uint8_t kStartSoundChannel = 1;

// The names slide in from the screen edges and reach their places one step after the start
// sequence has ended.
constexpr int32_t kNameArrives = kStartSequenceEnd + 1;
// The start picture drops from above the screen at two pixels per step while it grows.
constexpr int32_t kStartDropSpeed = 2;

// Each result item slides in from one edge at two pixels per step between two AnimCounter
// values and then stays.
struct ResultItem {
  int32_t appears;
  int32_t settles;
};
constexpr ResultItem kResultLineTimes[kResultLines] = {{0, 200}, {200, 400}, {400, 600}};
constexpr ResultItem kResultPictureTimes = {0, 400};
constexpr int32_t kResultSlideSpeed = 2;
constexpr int kTextBuffer = 48;

// How the match now running is run.
MatchRun run;

int32_t Outward(int p) {
  return p == 1 ? -1 : 1;
}

// Presenting a frame of the match counts it for the frames-per-second meter (also when the
// match is not shown, so that the meter reads the same).
void Present() {
  if (run.shown) PresentFrame(FrameBuffer);
  frameCount += 1;
}

void DrawName(uint8_t* target, int p, int32_t x) {
  const ConfigName& name = PlayerState[p].config.name;
  const uint32_t length = name.length < kNameCapacity ? name.length : kNameCapacity;
  DrawTextN(target, name.chars, length, x, kNameY, kFontSmall);
}

// ---- Fade-in ----

void FadeInMatch() {
  if (run.shown) {
    FillWords(FrameBuffer, kScreenWords, 0);
    PresentFrame(FrameBuffer);
    LoadPicture(BackBuffer, kMatchBackground, true, kScreenWidth, kScreenHeight);
    ComposeGameScreen();
    PresentBlackFrame();
  }
  FadeIn(MatchWaitTick);
  if (run.shown) PlaySound(Sounds[kStartSound], kStartSoundVolume, kStartSoundChannel);
}

// ---- Start sequence ----

void DrawStartPicture(int32_t t) {
  const Sprite& picture = StartPictures[startPictureIndex != 0 ? 1 : 0];
  if (t < 0 || t > kStartSequenceEnd) return;
  if (t < kStartDropEnd) {
    const int32_t y = kStartPictureY - kStartDropSpeed * (kStartDropEnd - t);
    const uint32_t scale = static_cast<uint32_t>(t);
    DrawSpriteScaled(FrameBuffer, kStartPictureX, y, scale, scale, picture);
  } else if (t < kStartShowEnd) {
    DrawSprite(FrameBuffer, kStartPictureX, kStartPictureY, picture);
  } else {
    const uint32_t scale = static_cast<uint32_t>(kStartSequenceEnd - t);
    DrawSpriteScaled(FrameBuffer, kStartPictureX, kStartPictureY, scale, scale, picture);
  }
}

void RunStartSequence() {
  AnimCounter = 0;
  InstallTickHandler(IntroTick);
  do {
    MatchWaitTick();
    if (run.shown) {
      ComposeGameScreen();
      DrawStartSequence(AnimCounter);
    }
    Present();
  } while (AnimCounter < kStartSequenceEnd);
  if (run.shown)
    for (int p = 1; p <= kPlayers; ++p) DrawName(BackBuffer, p, kNameX[p]);
}

// ---- Play ----

void RunPlay() {
  InstallTickHandler(MatchTick);
  do {
    MatchWaitTick();
    if (run.shown) ComposeGameScreen();
    Present();
  } while (!PlayerState[1].gameOver && !PlayerState[2].gameOver);
  // A pause key seen on a tick after the game over of the same frame must not leave the pause
  // question over the results, where nothing can answer it.
  paused = 0;
  CaptureMouse(false);
}

// ---- Results ----

// Where an item is at step t, or false while it has not appeared yet.
bool ResultItemX(const ResultItem& item, int32_t home, int32_t from, int32_t t, int32_t& x) {
  if (t < item.appears) return false;
  x = t < item.settles ? home + from * kResultSlideSpeed * (item.settles - t) : home;
  return true;
}

void DrawResultLines(int p, int32_t t) {
  const PlayerStateRecord& s = PlayerState[p];
  char text[kTextBuffer];
  for (int line = 0; line < kResultLines; ++line) {
    int32_t x;
    if (!ResultItemX(kResultLineTimes[line], kPanelX[p], Outward(p), t, x)) continue;
    if (line == 0)
      snprintf(text, sizeof text, "maximum combo %u hits", static_cast<unsigned>(s.maxCombo));
    else if (line == 1)
      snprintf(text, sizeof text, "%u pts.scored", static_cast<unsigned>(s.maxComboPoints));
    else
      snprintf(text, sizeof text, "%u beans killed", s.beansKilled);
    DrawText(FrameBuffer, text, x, kResultLineY[line], kFontSmall);
  }
}

void DrawResultPicture(int p, int32_t t) {
  int32_t x;
  // The pictures come in from the side opposite to the player's lines.
  if (!ResultItemX(kResultPictureTimes, kResultPictureX[p], -Outward(p), t, x)) return;
  const Sprite& picture = ResultPictures[PlayerState[p].gameOver ? 1 : 0];
  DrawSprite(FrameBuffer, x, kResultPictureY[p], picture);
}

void ShowResults() {
  AnimCounter = 0;
  InstallTickHandler(OutroTick);
  for (;;) {
    MatchWaitTick();
    if (run.shown) {
      ComposeGameScreen();
      DrawResults(AnimCounter);
    }
    Present();
    if (AnimCounter >= kResultsLongest) break;
    if (AnimCounter >= kResultsShortest && CurrentMatchInput().KeyDown()) break;
  }
  RemoveTickHandler();
}

// ---- High scores ----

void EnterHighScores() {
  for (int p = 1; p <= kPlayers; ++p) {
    const PlayerStateRecord& s = PlayerState[p];
    if (s.absent || s.cpuControlled) continue;
    InsertHighScores(s.config.name, s.score, s.beansKilled, s.maxCombo, s.maxComboPoints);
  }
  SaveHighScores();
}

// During a match the controllers act only for the players who chose them (through the match's
// input), never as menu keys; afterwards they are menu keys again and the pointer is free, also
// when the match is left early.
struct ControllersInMatch {
  ControllersInMatch() { SetPadMenuKeys(false); }
  ~ControllersInMatch() {
    CaptureMouse(false);
    SetPadMenuKeys(true);
  }
  ControllersInMatch(const ControllersInMatch&) = delete;
  ControllersInMatch& operator=(const ControllersInMatch&) = delete;
};

}  // namespace

void ComposeGameScreen() {
  CopyWords(BackBuffer, FrameBuffer, kScreenWords);
  DrawStatusPanel();
  DrawGameScreen();
}

void DrawStartSequence(int32_t t) {
  for (int p = 1; p <= kPlayers; ++p)
    DrawName(FrameBuffer, p, kNameX[p] + Outward(p) * (kNameArrives - t));
  DrawStartPicture(t);
}

void DrawResults(int32_t t) {
  if (!PlayerState[1].absent) {
    DrawResultLines(1, t);
    DrawResultPicture(1, t);
  }
  if (!PlayerState[2].absent) {
    DrawResultPicture(2, t);
    DrawResultLines(2, t);
  }
}

void PlayMatch(const MatchRun& how) {
  const ControllersInMatch controllers;
  run = how;
  ResetMatch();
  FadeInMatch();
  RunStartSequence();
  RunPlay();
  ShowResults();
  if (run.highScores) EnterHighScores();
  // Fade-out on the Palette itself: the screen is black when the after-game screen starts.
  FadeOut(Palette, MatchWaitTick);
}
