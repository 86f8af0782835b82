// The match's pictures: field frame pieces, chain, start and result pictures, the background.
#pragma once
#include "canvas.h"

// Where the game screen draws (centres, as the drawing routines take them).
constexpr int kFieldX[3] = {0, 36, 439};  // cell (c, r) of player p at (kFieldX[p] + 33c, 33 + 28r)
constexpr int kFieldY = 33;
constexpr int kCellW = 33;
constexpr int kCellH = 28;
constexpr int kColumns = 6;
constexpr int kRows = 13;
constexpr int kScoreX[3] = {0, 118, 522};
constexpr int kScoreY = 9;
constexpr int kFrameBottomY = 374;
constexpr int kFrameSideY = 187;
constexpr int kFrameSideX[4] = {24, 213, 428, 617};  // side, mirror, side, mirror
constexpr int kNextX[3] = {0, 257, 383};
constexpr int kNextY[2] = {35, 63};
constexpr int kMessageX = 319, kMessageY = 112, kMessageStep = 14, kMessageLines = 5;
constexpr int kFpsX = 319, kFpsY = 10;
constexpr int kLevelX[3] = {0, 275, 365};
constexpr int kBottomTextY = 391;  // "level:" and the danger warning
constexpr int kBarX[3] = {0, 247, 393};
constexpr int kBarTop = 274, kBarStep = 15, kBarHeight = 8;
constexpr int kAnimX = 320, kAnimY = 329, kAnimWidth = 78, kAnimHeight = 48;
constexpr int kNameX[3] = {0, 262, 380};
constexpr int kNameY = 230;
constexpr int kChainY = 175, kChainTextY = 200, kChainUnderY = 225;

IndexedImage DrawFrameTop();     // 199 x 18, carries the score
IndexedImage DrawFrameBottom();  // 199 x 18, a thin lip under the bottom row
IndexedImage DrawFrameSide();    // 14 x 374, a thin rail on its left edge
// ChainPictures[k]: 0 counter-attack bonus, 1 the banner under every chain picture,
// 2..8 chains of 2 .. 8 and more.
IndexedImage DrawChainPicture(int k);
IndexedImage DrawStartPicture(int k);   // 274 x 110, two colourings of one sign
IndexedImage DrawResultPicture(int k);  // 0 winner 312 x 49, 1 game over 310 x 52
IndexedImage DrawGameBackground();      // p23, 640 x 400
