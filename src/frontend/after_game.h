// The after-game screen: the "killer kings" and "combo demons" pages of the high-score table.
#pragma once
#include <cstddef>
#include <cstdint>

#include "ticks.h"

constexpr int kShownRanks = 8;  // ranks 1..8 are shown, rank 9 never
enum HighScorePage : int { kKillerKingsPage = 0, kComboDemonsPage = 1 };

// The two lines of rank 1..8 of a page, as drawn, each zero-terminated; each buffer must hold
// kRankLineBytes. Returns the length of the first line, which holds the name byte for byte and
// so may hold zero bytes.
constexpr size_t kRankLineBytes = 64;
uint32_t FormatRankLines(HighScorePage page, int rank, char* first, char* second);

// Draws a page's title and its ranks 1..8 into a buffer.
void DrawHighScorePage(uint8_t* target, HighScorePage page);

// Shows both pages, each faded in on FadePalette, held until a key, faded out.
void AfterGameScreen();

// How the pages ended when shown by AfterGamePages.
enum class AfterGameEnd : uint8_t { kShown, kEscape, kStopped };
// The two pages with the caller's frame wait, which may watch something else as well: when
// stopped() turns true, the page fades out and the pages end; with escapeEnds, Escape as the key
// that turns a page ends them too.
AfterGameEnd AfterGamePages(WaitRoutine wait, bool (*stopped)(), bool escapeEnds);
