#include "after_game.h"

#include <cinttypes>
#include <cstdio>

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
void ShowPage() {
  PresentBlackFrame();
  FadeIn();
  WaitKeysReleased();
  WaitAnyKey();
  Play(kConfirmSound);
  FadeOut(FadePalette);
}

}  // namespace

void FormatRankLines(HighScorePage page, int rank, char* first, char* second) {
  const int i = rank - 1;
  if (page == kKillerKingsPage) {
    const HighScoreName& name = HighScoreTable.killerKingsName[i];
    snprintf(first, kRankLineBytes, "%d.%.*s  %0*" PRIu32 " pts.", rank,
             static_cast<int>(NameLength(name)), name.chars, kScoreDigits,
             HighScoreTable.killerKingsScore[i]);
    snprintf(second, kRankLineBytes, "%u beans killed",
             static_cast<unsigned>(HighScoreTable.killerKingsBeans[i]));
  } else {
    const HighScoreName& name = HighScoreTable.comboDemonsName[i];
    snprintf(first, kRankLineBytes, "%d.%.*s  %0*u hit-combo", rank,
             static_cast<int>(NameLength(name)), name.chars, kComboDigits,
             static_cast<unsigned>(HighScoreTable.comboDemons[i].combo));
    snprintf(second, kRankLineBytes, "%u pts.scored",
             static_cast<unsigned>(HighScoreTable.comboDemons[i].comboPoints));
  }
}

void DrawHighScorePage(uint8_t* target, HighScorePage page) {
  DrawText(target, kPageTitles[page], kScreenCentreX, kTitleY, kMenuFont);
  for (int rank = 1; rank <= kShownRanks; ++rank) {
    char first[kRankLineBytes], second[kRankLineBytes];
    FormatRankLines(page, rank, first, second);
    DrawText(target, first, kScreenCentreX, kRankStepY * rank + kFirstLineBaseY, kSmallFont);
    DrawText(target, second, kScreenCentreX, kRankStepY * rank + kSecondLineBaseY, kSmallFont);
  }
}

void AfterGameScreen() {
  FillWords(FrameBuffer, kScreenWords, 0);
  PresentFrame(FrameBuffer);
  // Only the palette of the logo picture is used; its pixels land in the back buffer, which the
  // menu rebuilds.
  LoadPicture(BackBuffer, kLogoPictureFile, true, kLogoWidth, kLogoHeight);
  DrawHighScorePage(FrameBuffer, kKillerKingsPage);
  ShowPage();
  FillWords(FrameBuffer, kScreenWords, 0);
  DrawHighScorePage(FrameBuffer, kComboDemonsPage);
  ShowPage();
}
