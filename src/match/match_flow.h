// One whole match: reset, fade-in, start sequence, play, results, high scores, fade-out.
#pragma once
#include <cstdint>

// The background of every match (its palette is the game screen's).
constexpr const char* kMatchBackground = "data/plonkix.p23";

// Start sequence: IntroTick drives AnimCounter up to here.
constexpr int32_t kStartSequenceEnd = 420;
constexpr int32_t kStartDropEnd = 100;  // below: the start picture drops in and grows
constexpr int32_t kStartShowEnd = 321;  // below: it stands still (and blinks)
constexpr int32_t kStartPictureX = 320;
constexpr int32_t kStartPictureY = 150;
constexpr int32_t kNameY = 230;
constexpr int32_t kNameX[3] = {0, 262, 380};  // where the names stay on the background

// Results: at least this long with a key down, at most kResultsLongest without.
constexpr int32_t kResultsShortest = 600;
constexpr int32_t kResultsLongest = 2000;
constexpr int kResultLines = 3;
constexpr int32_t kResultLineY[kResultLines] = {240, 255, 280};
constexpr int32_t kResultPictureX[3] = {0, 160, 480};
constexpr int32_t kResultPictureY[3] = {0, 60, 340};

// How a match runs. Every frame's ticks come from the current MatchInput either way.
struct MatchRun {
  // Composed, presented, with its start sound; otherwise only the ticks and frames run (the fades
  // still set the palette), as a re-simulation needs.
  bool shown = true;
  // The human players' results entered into the high-score lists, and the lists saved.
  bool highScores = true;
};

// Plays one match in the GameMode the two players' cpuControlled and absent flags give; by
// default shown, entering the human players' results into the high-score lists and saving them.
void PlayMatch(const MatchRun& how = MatchRun{});

// The frame every phase starts from: the background, the status panel and the game screen.
void ComposeGameScreen();
// The sliding names and the start picture over the game screen at AnimCounter value t.
void DrawStartSequence(int32_t t);
// The result display over the game screen at AnimCounter value t.
void DrawResults(int32_t t);
