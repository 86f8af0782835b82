// The hash two runs of a match compare: it follows everything the rules and the screen use, and
// nothing that is one machine's own (keys, input devices, text bytes past a text's length).
#include "engine_fixture.h"

using StateHash = EngineTest;

TEST_F(StateHash, FollowsWhatTheMatchShares) {
  const std::tuple<const char*, void (*)(), bool> edits[] = {
      {"keys", [] { PlayerState[1].config.keyLeft = 99, PlayerState[2].config.keyDown = 1; },
       false},
      {"devices", [] { PlayerState[2].config.useMouse = PlayerState[2].config.useJoypad2 = 1; },
       false},
      {"mouse delay", [] { PlayerState[2].config.mouseDelay = 77; }, false},
      {"name bytes past its length", [] { PlayerState[1].config.name.chars[4] = 'x'; }, false},
      {"popup bytes past its length", [] { BurstAt(2, 5, 12).popupText.chars[3] = 'x'; }, false},
      {"name", [] { PlayerState[1].config.name.length = 1; }, true},
      {"drop speed", [] { PlayerState[2].config.dropSpeed = 2; }, true},
      {"cell colour", [] { FieldCell(1, 0, 12).colour = kBlackBean; }, true},
      {"hidden cell links", [] { FieldCell(2, 5, -10).links = kLinkUp; }, true},
      {"pair column", [] { PlayerState[2].pairB.column += 1; }, true},
      {"score", [] { PlayerState[1].score += 1; }, true},
      {"score's high word", [] { PlayerState[2].shownScore += 1ll << 32; }, true},
      {"slide offset", [] { PlayerState[1].slideOffset = -1; }, true},
      {"game over", [] { PlayerState[2].gameOver = 1; }, true},
      {"chain text", [] { PlayerState[1].chainText.Set("12 pts."); }, true},
      {"burst timer", [] { BurstAt(1, 3, 4).burstTimer = 9; }, true},
      {"beans killed", [] { PlayerState[2].beansKilled = 1; }, true},
      {"computer target", [] { PlayerState[1].cpuTargetOrientation = 3; }, true},
  };
  for (const auto& [what, edit, changes] : edits) {
    const uint64_t before = HashPlayerStates();
    edit();
    EXPECT_EQ(HashPlayerStates() != before, changes) << what;
  }
}
