#include "input.h"

#include "cpu.h"
#include "match_input.h"
#include "pair.h"
#include "player.h"

void ReadPlayerInputs() {
  MatchInput& input = CurrentMatchInput();
  input.PollDevices();
  for (int p = 1; p <= kPlayers; ++p) {
    PlayerStateRecord& s = PlayerState[p];
    if (s.resolving || s.absent) continue;
    s.inputDown = s.inputLeft = s.inputRight = s.inputRotate = 0;
    if (s.cpuControlled) {
      SetCpuInputs(p);
    } else {
      const uint8_t actions = input.Actions(p);
      s.inputLeft = (actions & kActionLeft) ? 1 : 0;
      s.inputRight = (actions & kActionRight) ? 1 : 0;
      s.inputRotate = (actions & kActionRotate) ? 1 : 0;
      s.inputDown = (actions & kActionDown) ? 1 : 0;
    }
    PairGravity(p);
  }
}
