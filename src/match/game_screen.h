// The game screen drawn over the background in every frame of a match: the two fields, the
// falling and next pairs, scores, warnings, bursts, popups, chain pictures and the pause
// question, and between the fields the status panel.
#pragma once
#include <cstdint>

#include "draw.h"
#include "player.h"

// ---- Layout (every position is the centre of what is drawn) ----

constexpr int32_t kCellWidth = 33;
constexpr int32_t kCellHeight = 28;
constexpr int32_t kFieldOriginY = 33;  // centre of row 0
// Centre of column 0, indexed by player (index 0 unused).
constexpr int32_t kFieldOriginX[3] = {0, 36, 439};
// The middle of each player's well: score, chain display, "game over", danger warning.
constexpr int32_t kPanelX[3] = {0, 118, 522};
constexpr int32_t kScoreY = 9;
constexpr int32_t kChainPictureY = 175;
constexpr int32_t kChainTextY = 200;
constexpr int32_t kChainUnderY = 225;
constexpr int32_t kGameOverY = 190;
constexpr int32_t kDangerY = 391;
constexpr int32_t kNextPairX[3] = {0, 257, 383};
constexpr int32_t kNextPairAY = 35;
constexpr int32_t kNextPairBY = 63;

// Frame pieces around the fields: top and bottom over each well, side pieces at both rails.
constexpr int32_t kFrameTopY = 9, kFrameBottomY = 374, kFrameSideY = 187;
constexpr int32_t kFrameSideX[4] = {24, 213, 428, 617};  // side, mirror, side, mirror

// Status panel.
constexpr int32_t kPanelCentreX = 319;
constexpr int32_t kMessageY = 112;
constexpr int32_t kMessageLineStep = 14;
constexpr int32_t kFpsY = 10;
constexpr int32_t kLevelTextX[3] = {0, 275, 365};
constexpr int32_t kLevelTextY = 391;
constexpr int32_t kColourBarX[3] = {0, 247, 393};  // first line of each player's bars
constexpr int32_t kColourBarStep[3] = {0, 2, -2};  // player 1's bars grow right, player 2's left
constexpr int32_t kColourBarTop = 274;             // + 15 k for colour code k
constexpr int32_t kColourBarBottom = 282;
constexpr int32_t kColourBarRowStep = 15;
// The palette entry of each colour code's bar (0 unused): black beans, then colours 2..6.
constexpr uint8_t kColourBarIndex[kColourCodes + 1] = {0, 28, 32, 96, 144, 207, 169};
constexpr int32_t kAnimX = 320;
constexpr int32_t kAnimY = 329;
constexpr uint32_t kAnimScale = 200;

// Pause question.
constexpr int32_t kPausedX = 320, kPausedY = 314;
constexpr int32_t kExitQuestionX = 322, kExitQuestionY = 338;

// Fonts.
constexpr int kFontLarge = 0;   // letters, game screen texts
constexpr int kFontSmall = 1;   // letters, status panel and match texts
constexpr int kFontDigits = 2;  // numbers

// ---- Bean sprites ----

constexpr int kLinkShapes = 16;
constexpr int kAnimSteps = 32;  // a bean's phase div 4
constexpr uint32_t kPhasesPerStep = 4;
// Shape index by link bits (1 left, 2 right, 4 above, 8 below).
extern const uint8_t kLinkShape[kLinkShapes];
// Sprite number by shape and animation step.
extern const uint8_t kFrameTable[kLinkShapes][kAnimSteps];

// The sprite that shows a bean of the given colour code with these links and this phase; an
// empty sprite for colour 0 or an unknown code. Black beans never link, so whatever link bits
// their cell carries they are shown with the unlinked bean's frames.
const Sprite& BeanSprite(uint32_t colour, uint32_t links, uint32_t phase);

// Centre of a field cell on screen.
inline int32_t CellX(int p, int32_t column) {
  return kFieldOriginX[p] + kCellWidth * column;
}
inline int32_t CellY(int32_t row) {
  return kFieldOriginY + kCellHeight * row;
}

// Message log, frames per second, level texts, colour bars and the centre animation.
void DrawStatusPanel();
// Pairs, fields, frame, player panels, bursts and popups, chain displays, pause question.
void DrawGameScreen();
