#include "settle.h"

#include <cstring>

#include "black_beans.h"
#include "cpu.h"
#include "pair.h"
#include "player.h"
#include "scoring.h"

namespace {
// Visited marks of the flood fills, over columns -1..6 and rows -1..13. The frame around the
// visible area is marked before each fill, so groups never reach the hidden rows.
constexpr int kMarkTop = -1;
constexpr int kMarkRows = kFloorRow - kMarkTop + 1;  // 15
bool marks[kFieldColumns][kMarkRows];

// What the two fills share with ResolveGroup.
int fillPlayer;
uint32_t fillColour;
uint32_t fillCount;

constexpr int kNeighbours = 4;
// Neighbour order of both fills: left, right, above, below.
constexpr int kStepColumn[kNeighbours] = {-1, +1, 0, 0};
constexpr int kStepRow[kNeighbours] = {0, 0, -1, +1};

bool& Mark(int column, int row) {
  return marks[column - kLeftBorder][row - kMarkTop];
}

void ClearAndFrameMarks() {
  memset(marks, 0, sizeof marks);
  for (int row = 0; row <= kBottomRow; ++row) {
    Mark(kLeftBorder, row) = true;
    Mark(kRightBorder, row) = true;
  }
  for (int column = 0; column < kColumns; ++column) {
    Mark(column, kMarkTop) = true;
    Mark(column, kFloorRow) = true;
  }
}

// Counts the beans of the group reachable from (x, y). The start itself is counted only when
// the fill comes back to it, so a lone bean counts 0.
void CountGroup(int x, int y) {
  for (int i = 0; i < kNeighbours; ++i) {
    const int nx = x + kStepColumn[i], ny = y + kStepRow[i];
    if (FieldCell(fillPlayer, nx, ny).colour == fillColour && !Mark(nx, ny)) {
      Mark(nx, ny) = true;
      ++fillCount;
      CountGroup(nx, ny);
    }
  }
}

void Explode(int x, int y, uint32_t colour) {
  Burst& burst = BurstAt(fillPlayer, x, y);
  burst.colour = colour;
  burst.burstTimer = 1;
  Cell& cell = FieldCell(fillPlayer, x, y);
  cell.colour = kEmpty;
  cell.links = 0;  // the phase stays
}

// Empties the group from (x, y), then takes the black beans that touch each of its beans.
void ExplodeGroup(int x, int y) {
  Explode(x, y, fillColour);
  ++BeanTallies[fillPlayer].beansExploded;
  for (int i = 0; i < kNeighbours; ++i) {
    const int nx = x + kStepColumn[i], ny = y + kStepRow[i];
    if (FieldCell(fillPlayer, nx, ny).colour == fillColour && !Mark(nx, ny)) {
      Mark(nx, ny) = true;
      ExplodeGroup(nx, ny);
    }
  }
  for (int i = 0; i < kNeighbours; ++i) {
    const int nx = x + kStepColumn[i], ny = y + kStepRow[i];
    if (FieldCell(fillPlayer, nx, ny).colour == kBlackBean && !Mark(nx, ny)) {
      Mark(nx, ny) = true;
      Explode(nx, ny, kBlackBean);
      ++BeanTallies[fillPlayer].blackBeansTaken;
    }
  }
}

void LinkPair(Cell& cell, uint32_t bit, Cell& neighbour, uint32_t neighbourBit) {
  cell.links |= bit;
  neighbour.links |= neighbourBit;
}

// Moves cells gap - 1 up to the top row one row down and empties the top cell. Side links of
// the moved cells are broken on both sides; up and down links travel with the cells.
void DropColumn(int p, int column, int gap) {
  for (int row = gap - 1; row >= kTopRow; --row) {
    Cell& moved = FieldCell(p, column, row + 1);
    moved = FieldCell(p, column, row);
    moved.links &= ~(kLinkLeft | kLinkRight);
    if (column > 0) FieldCell(p, column - 1, row).links &= ~kLinkRight;
    if (column < kColumns - 1) FieldCell(p, column + 1, row).links &= ~kLinkLeft;
  }
  FieldCell(p, column, kTopRow) = Cell{};
}

void SettlePlayer(int p) {
  PlayerStateRecord& s = PlayerState[p];
  memset(s.colourCounts, 0, sizeof s.colourCounts);
  bool stillFalling = false;
  for (int x = 0; x < kColumns; ++x) {
    for (int y = 0; y <= kBottomRow; ++y) {
      const uint32_t colour = FieldCell(p, x, y).colour;
      if (colour != kEmpty && colour <= kColourCodes) ++s.colourCounts[colour - 1];
    }
    const int gap = FindGap(p, x);
    if (gap == kNoGap) continue;
    DropColumn(p, x, gap);
    if (FindGap(p, x) != kNoGap) {
      stillFalling = true;
    } else {
      // The column has just come to rest: link it top to bottom, which may explode groups.
      for (int y = 0; y <= kBottomRow; ++y) LinkCell(p, x, y);
    }
  }
  for (uint32_t& count : s.colourCounts)
    if (count > kColourCountCap) count = kColourCountCap;

  if (stillFalling) return;
  ScoreChain(p);
  if (s.chainWeight > 0) ExchangeBlackBeans(p);
  if (s.cpuControlled && s.resolving && s.incomingBlackBeans == 0) ChooseCpuTarget(p);
  if (!s.resolving || s.incomingBlackBeans == 0)
    s.resolving = 0;  // the waiting pair starts to fall
  else
    PlaceBlackBeans(p);  // the pair waits until they have fallen
  s.chainHits = 0;
  s.chainWeight = 0;
  CheckTopOut(p);
}
}  // namespace

int FindGap(int p, int column) {
  for (int k = kTopRow + 1; k <= kBottomRow; ++k)
    if (FieldCell(p, column, k - 1).colour != kEmpty && FieldCell(p, column, k).colour == kEmpty)
      return k;
  return kNoGap;
}

void LinkCell(int p, int column, int row) {
  Cell& cell = FieldCell(p, column, row);
  const uint32_t c = cell.colour;
  if (c == kEmpty || c == kBlackBean || row < 0) return;
  Cell& below = FieldCell(p, column, row + 1);
  if (below.colour == c) LinkPair(cell, kLinkDown, below, kLinkUp);
  Cell& above = FieldCell(p, column, row - 1);
  if (above.colour == c) LinkPair(cell, kLinkUp, above, kLinkDown);
  Cell& right = FieldCell(p, column + 1, row);
  if (right.colour == c) LinkPair(cell, kLinkRight, right, kLinkLeft);
  Cell& left = FieldCell(p, column - 1, row);
  if (left.colour == c) LinkPair(cell, kLinkLeft, left, kLinkRight);
  ResolveGroup(p, column, row, c);
}

void ResolveGroup(int p, int column, int row, uint32_t colour) {
  fillPlayer = p;
  fillColour = colour;
  fillCount = 0;
  ClearAndFrameMarks();
  CountGroup(column, row);
  if (fillCount < LinkThreshold(p)) return;
  const uint32_t size = fillCount;
  ScoreGroup(p, column, row, size);
  ClearAndFrameMarks();
  ExplodeGroup(column, row);
}

void SettleFields() {
  for (int p = 1; p <= kPlayers; ++p)
    if (!PlayerState[p].absent) SettlePlayer(p);
}
