// The match's pictures: field frame pieces, chain, start and result pictures, the background.
#pragma once
#include "canvas.h"

// The pictures are drawn for the places the game screen draws them: its layout constants.
#include "animation.h"
#include "game_screen.h"
#include "match_flow.h"
#include "match_tick.h"
#include "player.h"

constexpr int kColourBarHeight = kColourBarBottom - kColourBarTop;

IndexedImage DrawFrameTop();     // 199 x 18, carries the score
IndexedImage DrawFrameBottom();  // 199 x 18, a thin lip under the bottom row
IndexedImage DrawFrameSide();    // 14 x 374, a thin rail on its left edge
// ChainPictures[k]: 0 counter-attack bonus, 1 the banner under every chain picture,
// 2..8 chains of 2 .. 8 and more.
IndexedImage DrawChainPicture(int k);
IndexedImage DrawStartPicture(int k);   // 274 x 110, two colourings of one sign
IndexedImage DrawResultPicture(int k);  // 0 winner 312 x 49, 1 game over 310 x 52
IndexedImage DrawGameBackground();      // p23, 640 x 400
