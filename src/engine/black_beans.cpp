#include "black_beans.h"

#include "player.h"
#include "random.h"
#include "scoring.h"

static_assert(kMostPlacedBlackBeans == (kBottomRow - kTopRow + 1) * kColumns);

namespace {
void PlaceBlackBean(int p, int column, int row) {
  Cell& cell = FieldCell(p, column, row);
  if (cell.colour != kEmpty) ++BeanTallies[p].beansOverwrittenByBlackBeans;
  cell.colour = kBlackBean;  // the links stay as they were
  cell.phase = Random(kNewPhaseRange);
  ++BeanTallies[p].blackBeansPlaced;
}

void Send(int p, uint32_t count) {
  PlayerState[Opponent(p)].incomingBlackBeans += count;
  BeanTallies[p].blackBeansSent += count;
}
}  // namespace

void ExchangeBlackBeans(int p) {
  PlayerStateRecord& s = PlayerState[p];
  const uint32_t weight = s.chainWeight;
  const uint32_t waiting = s.incomingBlackBeans;
  if (waiting == 0) {
    Send(p, weight);
  } else if (waiting >= weight) {
    s.incomingBlackBeans = waiting - weight;
  } else {
    Send(p, weight - waiting);
    s.incomingBlackBeans = 0;
    ScoreCounterAttack(p);
  }
}

void PlaceBlackBeans(int p) {
  PlayerStateRecord& s = PlayerState[p];
  const uint32_t n =
      s.incomingBlackBeans < kMostPlacedBlackBeans ? s.incomingBlackBeans : kMostPlacedBlackBeans;
  const int fullRows = static_cast<int>(n / kColumns);
  const int rest = static_cast<int>(n % kColumns);
  for (int r = 0; r < fullRows; ++r)
    for (int x = 0; x < kColumns; ++x) PlaceBlackBean(p, x, kTopRow + r);
  const int start = static_cast<int>(Random(static_cast<uint32_t>(kColumns - rest)));
  for (int x = start; x < start + rest; ++x) PlaceBlackBean(p, x, kTopRow + fullRows);
  s.incomingBlackBeans = 0;
}
