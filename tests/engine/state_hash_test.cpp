// The hash two runs of a match compare: it follows everything the rules and the screen use, and
// nothing that is one machine's own (keys, input devices, text bytes past a text's length).
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace {

struct HashEdit {
  const char* name;
  void (*edit)();
  bool changes;
};

const HashEdit kEdits[] = {
    {"Keys", [] { PlayerState[1].config.keyLeft = 99, PlayerState[2].config.keyDown = 1; }, false},
    {"Devices",
     [] {
       PlayerConfig& c = PlayerState[2].config;
       c.useMouse = c.useJoypad1 = c.useJoypad2 = 1, c.mouseDelay = 77;
     },
     false},
    {"NameBytesPastItsLength", [] { PlayerState[1].config.name.chars[4] = 'x'; }, false},
    {"PopupBytesPastItsLength", [] { BurstAt(2, 5, 12).popupText.chars[3] = 'x'; }, false},
    {"Name", [] { PlayerState[1].config.name.length = 1; }, true},
    {"DropSpeed", [] { PlayerState[2].config.dropSpeed = 2; }, true},
    {"CellColour", [] { FieldCell(1, 0, 12).colour = kBlackBean; }, true},
    {"HiddenCellLinks", [] { FieldCell(2, 5, -10).links = kLinkUp; }, true},
    {"PairColumn", [] { PlayerState[2].pairB.column += 1; }, true},
    {"Score", [] { PlayerState[1].score += 1; }, true},
    {"ScoreHighWord", [] { PlayerState[2].shownScore += 1ll << 32; }, true},
    {"SlideOffset", [] { PlayerState[1].slideOffset = -1; }, true},
    {"GameOver", [] { PlayerState[2].gameOver = 1; }, true},
    {"ChainText", [] { PlayerState[1].chainText.Set("12 pts."); }, true},
    {"BurstTimer", [] { BurstAt(1, 3, 4).burstTimer = 9; }, true},
    {"BeansKilled", [] { PlayerState[2].beansKilled = 1; }, true},
    {"ComputerTarget", [] { PlayerState[1].cpuTargetOrientation = 3; }, true},
};

class StateHash : public EngineTest, public ::testing::WithParamInterface<HashEdit> {};

TEST_P(StateHash, FollowsWhatTheMatchShares) {
  const uint64_t before = HashPlayerStates();
  GetParam().edit();
  EXPECT_EQ(HashPlayerStates() != before, GetParam().changes);
}

INSTANTIATE_TEST_SUITE_P(Edits, StateHash, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
