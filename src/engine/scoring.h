// Points, chains, the counter-attack bonus, level rises and the rolling score display.
#pragma once
#include <cstdint>

#include "text.h"

constexpr uint32_t kGroupNameCapacity = 8;
constexpr uint32_t kSmallestNamedGroup = 3;
constexpr uint32_t kLargestNamedGroup = 15;  // larger groups use this group's word
constexpr uint32_t kGroupNames = kLargestNamedGroup - kSmallestNamedGroup + 1;
// The word of each group size from 3 to 15 ("triple" ... "ultimate").
extern const FixedText<kGroupNameCapacity> GroupSizeNames[kGroupNames];
const FixedText<kGroupNameCapacity>& GroupSizeName(uint32_t size);

constexpr uint32_t kBeansPerLevel = 60;
constexpr uint32_t kMostChainPicture = 8;
constexpr uint32_t kChainTimerEnd = 360;
constexpr uint32_t kCounterAttackPicture = 0;
constexpr int64_t kCounterAttackPoints = 20000;

// An exploding group of `size` beans, resolved from (column, row): sound, chain hit, level,
// chain weight, message, points and the points popup.
void ScoreGroup(int p, int column, int row, uint32_t size);
// The end of a chain of two or more hits: sound, chain display and points, best combo.
void ScoreChain(int p);
// A chain that cancelled every waiting black bean and still sent some: the 20000-point bonus.
void ScoreCounterAttack(int p);
// One step of the shown score towards the real score.
void RollUpScore(int p);
