// Black beans between the two fields: the exchange at the end of a chain and the placing of
// the beans waiting to drop.
#pragma once
#include <cstdint>

// The most black beans placed at once: every row from the top hidden row to the bottom row
// full. Larger counts are capped to it, so the placing never reaches the border row below
// the field (the field is lost long before, from 66 beans on).
constexpr uint32_t kMostPlacedBlackBeans = 23 * 6;

// p's finished chain first cancels the black beans waiting for p; the rest goes to the
// opponent, with the counter-attack bonus when waiting beans were cancelled.
void ExchangeBlackBeans(int p);

// Drops p's waiting black beans into the hidden rows: full rows from the top, then one run of
// the remainder at a random column.
void PlaceBlackBeans(int p);
