#include "game_screen.h"

#include <cstdio>

#include "display.h"
#include "game_data.h"
#include "match_tick.h"
#include "player.h"
#include "scoring.h"

// clang-format off
const uint8_t kLinkShape[kLinkShapes] = {0, 2, 1, 15, 3, 7, 8, 12, 4, 6, 5, 13, 14, 10, 11, 9};

const uint8_t kFrameTable[kLinkShapes][kAnimSteps] = {
    { 0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  1,  2,  3,  4,  5,  0,
      0,  0,  0,  0,  0,  0,  0,  0,  0,  6,  7,  8,  9,  8,  7,  6},
    {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15,
     15, 15, 15, 15, 15, 15, 15, 16, 16, 16, 17, 17, 17, 18, 18, 18},
    {19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19,
     19, 19, 19, 19, 19, 19, 19, 20, 20, 20, 21, 21, 21, 22, 22, 22},
    {27, 27, 27, 27, 28, 28, 28, 28, 27, 27, 27, 27, 27, 27, 27, 27,
     29, 29, 29, 29, 27, 27, 27, 27, 27, 27, 27, 27, 30, 30, 30, 30},
    {23, 23, 23, 23, 24, 24, 24, 24, 23, 23, 23, 23, 23, 23, 23, 23,
     25, 25, 25, 25, 23, 23, 23, 23, 23, 23, 23, 23, 26, 26, 26, 26},
    {39, 39, 39, 39, 39, 39, 39, 39, 39, 39, 39, 39, 39, 39, 39, 39,
     39, 39, 40, 40, 41, 41, 42, 42, 43, 43, 42, 42, 41, 41, 40, 40},
    {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10,
     10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 13, 13, 12, 12, 11, 11},
    {54, 54, 54, 54, 54, 54, 54, 54, 54, 54, 54, 54, 54, 54, 54, 54,
     54, 54, 55, 55, 56, 56, 57, 57, 58, 58, 57, 57, 56, 56, 55, 55},
    {49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49,
     49, 49, 50, 50, 51, 51, 52, 52, 53, 53, 52, 52, 51, 51, 50, 50},
    {46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46,
     46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46},
    {44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44,
     44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44, 44},
    {45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45,
     45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45},
    {47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47,
     47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47},
    {48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48,
     48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48, 48},
    {31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31,
     31, 31, 31, 31, 31, 31, 32, 32, 33, 33, 34, 34, 33, 33, 32, 32},
    {35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35,
     35, 35, 35, 35, 35, 35, 36, 36, 37, 37, 38, 38, 37, 37, 36, 36},
};
// clang-format on

namespace {

constexpr uint32_t kLinkBits = kLinkShapes - 1;
constexpr uint32_t kUnlinkedShape = 0;

// Texts of at most so many characters.
constexpr uint32_t kScoreDigits = 10;
constexpr uint32_t kLevelDigits = 2;
constexpr int kTextBuffer = 32;

// Blinking on tickCount: on for the first part of each period.
constexpr uint32_t kDangerPeriod = 28, kDangerOn = 14;
constexpr uint32_t kPausePeriod = 35, kPauseOn = 25;

// Bursts and popups.
constexpr uint32_t kBurstBaseScale = 100;
constexpr uint32_t kBurstScalePerTick = 8;
constexpr uint32_t kPopupRiseDivisor = 2;

// The chain display: slides in, rests, then the pictures dissolve while the text slides out.
constexpr uint32_t kChainRestFrom = 120;
constexpr uint32_t kChainLeaveFrom = 200;
constexpr int32_t kChainSlideSpeed = 2;
constexpr int32_t kChainArrives = 119;  // the sliding display reaches its place at this tick
constexpr int32_t kChainScalePerTick = 8;
constexpr int32_t kChainScaleOffset = 1492;  // 108 percent at t = 200
constexpr uint32_t kChainUnderPicture = 1;

// The frame around the two wells.

const Sprite kNoSprite{};

void Text(const char* text, uint32_t length, int32_t x, int32_t y, int font) {
  DrawTextN(FrameBuffer, text, length, x, y, font);
}

template <uint32_t N>
void Text(const FixedText<N>& text, int32_t x, int32_t y, int font) {
  Text(text.chars, text.length, x, y, font);
}

// A number in plain decimal, cut to at most `digits` characters.
void Number(int64_t value, uint32_t digits, int32_t x, int32_t y, int font) {
  char text[kTextBuffer];
  const int n = FormatNumber(text, sizeof text, value);
  const uint32_t length = n < 0 ? 0 : static_cast<uint32_t>(n);
  Text(text, length < digits ? length : digits, x, y, font);
}

// ---- Status panel ----

void DrawLevelText(int p) {
  const PlayerStateRecord& s = PlayerState[p];
  if (s.absent) return;
  static constexpr char kLabel[] = "level:";
  constexpr uint32_t kLabelLength = sizeof kLabel - 1;
  char text[kTextBuffer];
  snprintf(text, sizeof text, "%s%u", kLabel, s.config.dropSpeed * s.level);
  uint32_t length = 0;
  while (text[length] != 0 && length < kLabelLength + kLevelDigits) ++length;
  Text(text, length, kLevelTextX[p], kLevelTextY, kFontSmall);
}

void DrawColourBars(int p) {
  const PlayerStateRecord& s = PlayerState[p];
  for (uint32_t k = kBlackBean; k <= kColourCodes; ++k) {
    uint32_t m = s.colourCounts[k - 1];
    if (m > kColourCountCap) m = kColourCountCap;  // the bars stay inside the panel
    const int32_t top = kColourBarTop + kColourBarRowStep * static_cast<int32_t>(k);
    const int32_t bottom = kColourBarBottom + kColourBarRowStep * static_cast<int32_t>(k);
    for (uint32_t i = 0; i < m; ++i) {
      const int32_t x = kColourBarX[p] + kColourBarStep[p] * static_cast<int32_t>(i);
      DrawLine(FrameBuffer, x, top, x, bottom, kColourBarIndex[k]);
    }
  }
}

void DrawCentreAnimation() {
  const uint32_t frame = (spinCounter / (kSpinFrames / kAnimImages)) % kAnimImages;
  const Sprite picture{AnimFrames[frame], kAnimWidth, kAnimHeight};
  DrawSpriteDotted(FrameBuffer, kAnimX, kAnimY, kAnimScale, kAnimScale, picture);
}

// ---- Game screen ----

void DrawPairBean(int p, const PairBean& bean) {
  const PlayerStateRecord& s = PlayerState[p];
  const int32_t x = CellX(p, bean.column) + 2 * s.slideOffset;
  const int32_t y = CellY(bean.row) + static_cast<int32_t>(s.fallProgress);
  DrawSprite(FrameBuffer, x, y, BeanSprite(bean.colour, 0, bean.phase));
}

void DrawCell(int p, int column, int row) {
  const Cell& cell = FieldCell(p, column, row);
  if (cell.colour == kEmpty) return;
  DrawSprite(FrameBuffer, CellX(p, column), CellY(row),
             BeanSprite(cell.colour, cell.links, cell.phase));
}

void DrawFrame() {
  DrawSprite(FrameBuffer, kPanelX[1], kFrameTopY, FrameTop);
  DrawSprite(FrameBuffer, kPanelX[2], kFrameTopY, FrameTopMirror);
  DrawSprite(FrameBuffer, kPanelX[1], kFrameBottomY, FrameBottom);
  DrawSprite(FrameBuffer, kPanelX[2], kFrameBottomY, FrameBottomMirror);
  DrawSprite(FrameBuffer, kFrameSideX[0], kFrameSideY, FrameSide);
  DrawSprite(FrameBuffer, kFrameSideX[1], kFrameSideY, FrameSideMirror);
  DrawSprite(FrameBuffer, kFrameSideX[2], kFrameSideY, FrameSide);
  DrawSprite(FrameBuffer, kFrameSideX[3], kFrameSideY, FrameSideMirror);
}

void DrawPlayerPanel(int p) {
  const PlayerStateRecord& s = PlayerState[p];
  if (s.absent) return;
  const int32_t x = kPanelX[p];
  Number(s.shownScore, kScoreDigits, x, kScoreY, kFontDigits);
  if (s.incomingBlackBeans > 0 && tickCount % kDangerPeriod < kDangerOn) {
    char text[kTextBuffer];
    const int n = snprintf(text, sizeof text, "danger -%u-", s.incomingBlackBeans);
    Text(text, static_cast<uint32_t>(n), x, kDangerY, kFontLarge);
  }
  if (s.gameOver) {
    static constexpr char kGameOver[] = "game over";
    Text(kGameOver, sizeof kGameOver - 1, x, kGameOverY, kFontLarge);
  }
  DrawSprite(FrameBuffer, kNextPairX[p], kNextPairAY, BeanSprite(s.nextColourA, 0, 0));
  DrawSprite(FrameBuffer, kNextPairX[p], kNextPairBY, BeanSprite(s.nextColourB, 0, 0));
}

void DrawBurstAndPopup(int p, int column, int row) {
  const Burst& burst = BurstAt(p, column, row);
  const int32_t x = CellX(p, column);
  if (burst.popupTimer > 0 && burst.popupTimer < kPopupTimerEnd) {
    const int32_t y = CellY(row) - static_cast<int32_t>(burst.popupTimer / kPopupRiseDivisor);
    Text(burst.popupText, x, y, kFontSmall);
  }
  if (burst.burstTimer > 0 && burst.burstTimer < kBurstTimerEnd) {
    const uint32_t scale = kBurstBaseScale + kBurstScalePerTick * burst.burstTimer;
    DrawSpriteDotted(FrameBuffer, x, CellY(row), scale, scale, BeanSprite(burst.colour, 0, 0));
  }
}

void DrawChainDisplay(int p) {
  const PlayerStateRecord& s = PlayerState[p];
  const uint32_t t = s.chainTimer;
  if (t == 0 || t >= kChainTimerEnd) return;
  const Sprite& picture =
      s.chainPicture < kChainPictures ? ChainPictures[s.chainPicture] : kNoSprite;
  const bool withUnder = s.chainPicture != kCounterAttackPicture;
  const Sprite& under = ChainPictures[kChainUnderPicture];
  const int32_t ti = static_cast<int32_t>(t);
  const int32_t home = kPanelX[p];
  // Each display comes in from its own outer edge and its text leaves the same way.
  const int32_t outward = p == 1 ? -1 : 1;
  if (t < kChainLeaveFrom) {
    const int32_t x =
        t < kChainRestFrom ? home + outward * kChainSlideSpeed * (kChainArrives - ti) : home;
    DrawSprite(FrameBuffer, x, kChainPictureY, picture);
    if (withUnder) DrawSprite(FrameBuffer, x, kChainUnderY, under);
    Text(s.chainText, x, kChainTextY, kFontLarge);
    return;
  }
  const int32_t leaving = ti - static_cast<int32_t>(kChainLeaveFrom);
  Text(s.chainText, home + outward * kChainSlideSpeed * leaving, kChainTextY, kFontLarge);
  const uint32_t scale = static_cast<uint32_t>(kChainScalePerTick * ti - kChainScaleOffset);
  DrawSpriteDotted(FrameBuffer, home, kChainPictureY, scale, scale, picture);
  if (withUnder) DrawSpriteDotted(FrameBuffer, home, kChainUnderY, scale, scale, under);
}

void DrawPauseQuestion() {
  if (!paused || tickCount % kPausePeriod >= kPauseOn) return;
  static constexpr char kPaused[] = "paused";
  static constexpr char kExitQuestion[] = "exit (y/n)";
  Text(kPaused, sizeof kPaused - 1, kPausedX, kPausedY, kFontLarge);
  Text(kExitQuestion, sizeof kExitQuestion - 1, kExitQuestionX, kExitQuestionY, kFontLarge);
}

}  // namespace

const Sprite& BeanSprite(uint32_t colour, uint32_t links, uint32_t phase) {
  if (colour == kEmpty || colour > kLastBeanColour) return kNoSprite;
  const uint32_t shape = colour == kBlackBean ? kUnlinkedShape : kLinkShape[links & kLinkBits];
  const uint32_t step = (phase / kPhasesPerStep) % kAnimSteps;
  return BeanSprites[colour][kFrameTable[shape][step]];
}

void DrawStatusPanel() {
  for (int k = 0; k < kMessageLines; ++k)
    Text(MessageLog[k], kPanelCentreX, kMessageY + kMessageLineStep * k, kFontSmall);
  Text(fpsText, kPanelCentreX, kFpsY, kFontDigits);
  for (int p = 1; p <= kPlayers; ++p) DrawLevelText(p);
  for (int p = 1; p <= kPlayers; ++p) DrawColourBars(p);
  DrawCentreAnimation();
}

void DrawGameScreen() {
  for (int p = 1; p <= kPlayers; ++p) {
    DrawPairBean(p, PlayerState[p].pairA);
    DrawPairBean(p, PlayerState[p].pairB);
  }
  for (int row = 0; row <= kBottomRow; ++row)
    for (int column = 0; column < kColumns; ++column)
      for (int p = 1; p <= kPlayers; ++p) DrawCell(p, column, row);
  DrawFrame();
  for (int p = 1; p <= kPlayers; ++p) DrawPlayerPanel(p);
  for (int row = 0; row <= kBottomRow; ++row)
    for (int column = 0; column < kColumns; ++column)
      for (int p = 1; p <= kPlayers; ++p) DrawBurstAndPopup(p, column, row);
  for (int p = 1; p <= kPlayers; ++p) DrawChainDisplay(p);
  DrawPauseQuestion();
}
