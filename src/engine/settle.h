// Links between equal beans, group explosions, loose beans falling and the end of a chain.
#pragma once
#include <cstdint>

// Links the bean at (column, row) to its equal neighbours and explodes its group when it is
// large enough. Empty cells, black beans and hidden rows are left alone.
void LinkCell(int p, int column, int row);

// Counts the group of colour c around (column, row); scores and explodes it at the threshold.
void ResolveGroup(int p, int column, int row, uint32_t colour);

// The settle step for both players: one row of fall for every loose column, linking of the
// columns that came to rest, and, once a field is at rest, the chain score, the black-bean
// exchange and placing, the computer's next target, the pair's release and the loss check.
void SettleFields();

// The highest row k (-9..12) of the column whose cell is empty under a bean, or kNoGap.
constexpr int kNoGap = -100;
int FindGap(int p, int column);
