#include "after_game.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "display.h"
#include "frontend_common.h"
#include "game_data.h"
#include "highscores.h"
#include "keyboard.h"
#include "picture.h"
#include "ticks.h"

namespace {

constexpr const char* kPageTitles[2] = {"killer kings", "combo demons"};
constexpr int32_t kTitleY = 20;
constexpr int32_t kRankStepY = 44;
constexpr int32_t kFirstLineBaseY = 18;   // first line of rank r at y = 44 r + 18
constexpr int32_t kSecondLineBaseY = 38;  // second line at y = 44 r + 38
constexpr int kScoreDigits = 10;
constexpr int kComboDigits = 2;

uint32_t NameLength(const HighScoreName& name) {
  return name.length < kNameCapacity ? name.length : kNameCapacity;
}

// One page: black, faded in, held until a key after all keys were released, faded out.
AfterGameEnd ShowPage(WaitRoutine wait, bool (*stopped)(), bool escapeEnds) {
  const auto over = [stopped] { return stopped && stopped(); };
  PresentBlackFrame();
  FadeIn(wait);
  while (AnyKeyDown() && !over()) wait();
  while (!AnyKeyDown() && !over()) wait();
  const bool stop = over();
  const bool escape = escapeEnds && !stop && KeyState[scan::kEscape];
  if (!stop) Play(kConfirmSound);
  FadeOut(FadePalette, wait);
  return stop ? AfterGameEnd::kStopped : escape ? AfterGameEnd::kEscape : AfterGameEnd::kShown;
}

}  // namespace

uint32_t FormatRankLines(HighScorePage page, int rank, char* first, char* second) {
  const int i = rank - 1;
  const bool kings = page == kKillerKingsPage;
  const HighScoreName& name =
      kings ? HighScoreTable.killerKingsName[i] : HighScoreTable.comboDemonsName[i];
  // The name goes in byte for byte: a zero byte in it (a hand-edited file) is drawn as a gap
  // and does not cut the line.
  int length = snprintf(first, kRankLineBytes, "%d.", rank);
  memcpy(first + length, name.chars, NameLength(name));
  length += static_cast<int>(NameLength(name));
  if (kings) {
    length += snprintf(first + length, kRankLineBytes - length, "  %0*" PRIu32 " pts.",
                       kScoreDigits, HighScoreTable.killerKingsScore[i]);
    snprintf(second, kRankLineBytes, "%u beans killed",
             static_cast<unsigned>(HighScoreTable.killerKingsBeans[i]));
  } else {
    length += snprintf(first + length, kRankLineBytes - length, "  %0*u hit-combo", kComboDigits,
                       static_cast<unsigned>(HighScoreTable.comboDemons[i].combo));
    snprintf(second, kRankLineBytes, "%u pts.scored",
             static_cast<unsigned>(HighScoreTable.comboDemons[i].comboPoints));
  }
  return static_cast<uint32_t>(length);
}

void DrawHighScorePage(uint8_t* target, HighScorePage page) {
  DrawText(target, kPageTitles[page], kScreenCentreX, kTitleY, kMenuFont);
  for (int rank = 1; rank <= kShownRanks; ++rank) {
    char first[kRankLineBytes], second[kRankLineBytes];
    const uint32_t firstLength = FormatRankLines(page, rank, first, second);
    DrawTextN(target, first, firstLength, kScreenCentreX, kRankStepY * rank + kFirstLineBaseY,
              kSmallFont);
    DrawText(target, second, kScreenCentreX, kRankStepY * rank + kSecondLineBaseY, kSmallFont);
  }
}

AfterGameEnd AfterGamePages(WaitRoutine wait, bool (*stopped)(), bool escapeEnds) {
  FillWords(FrameBuffer, kScreenWords, 0);
  PresentFrame(FrameBuffer);
  // Only the palette of the logo picture is used; its pixels land in the back buffer, which the
  // menu rebuilds.
  LoadPicture(BackBuffer, kLogoPictureFile, true, kLogoWidth, kLogoHeight);
  DrawHighScorePage(FrameBuffer, kKillerKingsPage);
  const AfterGameEnd first = ShowPage(wait, stopped, escapeEnds);
  if (first != AfterGameEnd::kShown) return first;
  FillWords(FrameBuffer, kScreenWords, 0);
  DrawHighScorePage(FrameBuffer, kComboDemonsPage);
  return ShowPage(wait, stopped, escapeEnds);
}

void AfterGameScreen() {
  AfterGamePages(WaitTick, nullptr, false);
}
